#!/usr/bin/env bash
# The random run through the real window, 3 000 events (some ten windows and
# their whole games), under valgrind memcheck: no invalid access and nothing
# definitely lost, with only Qt's own library internals
# suppressed (tests/valgrind.supp says why, entry by entry). Offscreen by
# default; --xcb runs it on a private Xvfb display as on a desktop.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh --test
build=${BUILD_DIR:-build/valgrind}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTRIVANTA_SANITIZE=OFF \
    >/dev/null
cmake --build "$build" --target trivanta_monkey

runtime=$(mktemp -d)
trap 'rm -rf "$runtime"' EXIT
export XDG_RUNTIME_DIR=$runtime

memcheck=(valgrind --tool=memcheck --error-exitcode=1 --leak-check=full
          --show-leak-kinds=definite --errors-for-leak-kinds=definite
          --track-origins=yes --num-callers=40
          --suppressions=tests/valgrind.supp
          "$build/tests/monkey/trivanta_monkey")
export MONKEY_EVENTS=${MONKEY_EVENTS:-3000}
if [ "${1:-}" = "--xcb" ]; then
    QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" "${memcheck[@]}"
else
    QT_QPA_PLATFORM=offscreen "${memcheck[@]}"
fi
echo "valgrind: no invalid access, nothing definitely lost"
