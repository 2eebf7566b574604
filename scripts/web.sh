#!/usr/bin/env bash
# Sets up what is missing, builds the page (the game compiled to WebAssembly
# and its view) into build/web/ and serves it on http://127.0.0.1:8080/.
#
# usage: scripts/web.sh [--port N] [--build-only]
#   WEB_DIR            the folder to publish into (default build/web)
#   TRIVANTA_WEB_TESTS=1  also builds the game's suites for WebAssembly
set -euo pipefail
cd "$(dirname "$0")/.."

port=8080
serve=yes
while [ $# -gt 0 ]; do
    case "$1" in
    --port)
        [ $# -ge 2 ] || { echo "web.sh: --port needs a number" >&2; exit 2; }
        port=$2
        shift 2
        ;;
    --build-only)
        serve=""
        shift
        ;;
    *)
        echo "usage: scripts/web.sh [--port N] [--build-only]" >&2
        exit 2
        ;;
    esac
done

scripts/setup.sh --web
# emscripten's own tools are written for Debian's Node and its modules
# (acorn); a Node from elsewhere finds them there too.
export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}

build=${WEB_BUILD_DIR:-build/web-build}
out=${WEB_DIR:-build/web}
testing=OFF
[ "${TRIVANTA_WEB_TESTS:-0}" = 1 ] && testing=ON
emcmake cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=$testing
cmake --build "$build"

# Only what a host needs, and nothing left of an earlier build.
rm -rf "$out"
mkdir -p "$out"
cp -R "$build/web/pagina/." "$out/"
echo "The page is in $out ($(du -sk "$out" | cut -f1) KiB)."

if [ -n "$serve" ]; then
    exec node web/serve.mjs --dir "$out" --port "$port"
fi
