#!/usr/bin/env bash
# Installs the web tests' npm packages exactly as locked, again only when the
# lock changed since the last install.
set -euo pipefail
cd "$(dirname "$0")"
if ! cmp -s package-lock.json node_modules/.trivanta-lock; then
    npm ci --no-audit --no-fund
    cp package-lock.json node_modules/.trivanta-lock
fi
