#!/usr/bin/env bash
# Installs the web tests' npm packages exactly as locked, again only when the
# lock changed since the last install.
set -euo pipefail
cd "$(dirname "$0")"
# Node trusts its own list of authorities; the system's also holds those a
# machine adds of its own (a company's proxy).
if [ -z "${NODE_EXTRA_CA_CERTS:-}" ] && [ -f /etc/ssl/certs/ca-certificates.crt ]; then
    export NODE_EXTRA_CA_CERTS=/etc/ssl/certs/ca-certificates.crt
fi
if ! cmp -s package-lock.json node_modules/.trivanta-lock; then
    npm ci --no-audit --no-fund
    cp package-lock.json node_modules/.trivanta-lock
fi
