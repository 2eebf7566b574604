#!/usr/bin/env bash
# Sets up the machine, builds Trivanta and starts it; its arguments go to the
# game (scripts/play.sh --avversario esperto).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
build=${BUILD_DIR:-build/release}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF
cmake --build "$build"
exec "$build/trivanta" "$@"
