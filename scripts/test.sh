#!/usr/bin/env bash
# Sets up the machine, builds Trivanta with every warning as an error and
# runs the whole test suite.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh --test
# The page, with the game's suites compiled to WebAssembly beside it; its
# tests in Chromium run with the Linux build's (label web).
web=$(realpath -m "${WEB_DIR:-build/web}")
WEB_DIR="$web" TRIVANTA_WEB_TESTS=1 scripts/web.sh --build-only
build=${BUILD_DIR:-build/ci}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTRIVANTA_WERROR=ON \
    -DTRIVANTA_WEB_DIR="$web"
cmake --build "$build"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$build" --output-on-failure --timeout 300
# The game's suites under Node, on the core that the page runs.
ctest --test-dir "${WEB_BUILD_DIR:-build/web-build}" --output-on-failure --timeout 300 -L web

# The same suite built with AddressSanitizer and UndefinedBehaviorSanitizer,
# where the random run through the window goes to 100 000 events. A leak is a
# failure; tests/lsan.supp names the only ones allowed, all below Qt. The
# installed program's runs on X11 and Wayland go through env -i, which drops
# these settings, and the package is made from the normal build, so these
# run in the normal build only; so does the page in Chromium, which the
# sanitizers do not reach.
asan=${ASAN_BUILD_DIR:-build/asan}
cmake -S . -B "$asan" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTRIVANTA_WERROR=ON \
    -DTRIVANTA_SANITIZE=ON
cmake --build "$asan"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0" \
    MONKEY_EVENTS=100000 \
    ctest --test-dir "$asan" --output-on-failure --timeout 300 -E '^install_(smoke|wayland|package)' \
    -LE web

# One whole game through the window under valgrind memcheck, on the normal build.
BUILD_DIR="$build" scripts/valgrind.sh
