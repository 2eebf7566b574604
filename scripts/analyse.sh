#!/usr/bin/env bash
# Runs clang-tidy (.clang-tidy) and cppcheck (.cppcheck-suppressions) over our
# own sources; exits non-zero on any finding. It configures its own build
# tree with every optional part on (benchmarks, the picture tool), so every
# source file has its compile command: BUILD_DIR, default build/analyse.
set -euo pipefail
cd "$(dirname "$0")/.."

build=${BUILD_DIR:-build/analyse}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTRIVANTA_BENCHMARKS=ON \
    -DTRIVANTA_BUILD_TOOLS=ON >/dev/null
# The moc output must exist before clang-tidy reads our sources; nothing
# else needs to be built.
mapfile -t generated < <(cmake --build "$build" --target help | grep -oE '^[A-Za-z0-9_]+_autogen' | sort -u)
cmake --build "$build" --target "${generated[@]}" >/dev/null

# Our files that this platform compiles; the Windows-only ones are left to a
# Windows build.
mapfile -t sources < <(git ls-files '*.cpp' | grep -vE '^(tests/install)/' |
    while read -r f; do grep -q "\"file\": \"$PWD/$f\"" "$build/compile_commands.json" && echo "$f"; done)
echo "clang-tidy: ${#sources[@]} files"
printf '%s\n' "${sources[@]}" |
    xargs -P "$(nproc)" -n 4 clang-tidy -p "$build" --quiet 2> >(grep -vE 'warnings? generated|^Suppressed|^Use -header-filter' >&2)

echo "cppcheck"
cppcheck --project="$build/compile_commands.json" --std=c++20 --library=qt \
    --library=googletest --enable=warning,style,performance,portability --inline-suppr \
    --suppressions-list=.cppcheck-suppressions \
    -i "$build" --error-exitcode=1 --quiet
echo "analysers: clean"
