#!/usr/bin/env bash
# Runs clang-tidy (.clang-tidy) and cppcheck (.cppcheck-suppressions) over our
# own sources; exits non-zero on any finding. Needs a configured build tree
# for the compile commands: BUILD_DIR, default build/ci.
set -euo pipefail
cd "$(dirname "$0")/.."

build=${BUILD_DIR:-build/ci}
if [ ! -f "$build/compile_commands.json" ]; then
    echo "No $build/compile_commands.json: configure the build first (scripts/test.sh does)." >&2
    exit 2
fi
# Generated sources (moc, resources) must exist before clang-tidy reads them.
cmake --build "$build" >/dev/null

mapfile -t sources < <(git ls-files '*.cpp' | grep -vE '^(tests/install)/')
echo "clang-tidy: ${#sources[@]} files"
printf '%s\n' "${sources[@]}" |
    xargs -P "$(nproc)" -n 4 clang-tidy -p "$build" --quiet 2> >(grep -vE 'warnings? generated|^Suppressed|^Use -header-filter' >&2)

echo "cppcheck"
cppcheck --project="$build/compile_commands.json" --std=c++20 --library=qt \
    --enable=warning,style,performance,portability --inline-suppr \
    --suppressions-list=.cppcheck-suppressions \
    -i "$build" --error-exitcode=1 --quiet
echo "analysers: clean"
