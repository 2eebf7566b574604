#!/usr/bin/env bash
# Sets up the machine, builds Trivanta for release and makes the Debian
# package build/release/trivanta_<version>_<arch>.deb.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh --test
build=${BUILD_DIR:-build/release}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF
cmake --build "$build"
(cd "$build" && cpack -G DEB)
