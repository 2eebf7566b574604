#!/usr/bin/env bash
# Cross-compiles the libraries that need no toolkit (the game and the
# donation link) with their tests for 64-bit Windows, with MinGW-w64, and
# runs the tests under Wine in a Wine prefix of their own. GoogleTest is
# built for MinGW from Debian's sources once per build folder.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh --windows
build=${BUILD_DIR:-build/windows}
toolchain=$PWD/scripts/mingw-w64.cmake
gtest=$PWD/$build/googletest

if [ ! -f "$gtest/install/lib/cmake/GTest/GTestConfig.cmake" ]; then
    cmake -S /usr/src/googletest -B "$gtest/build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DBUILD_GMOCK=OFF \
        -DCMAKE_INSTALL_PREFIX="$gtest/install" >/dev/null
    cmake --build "$gtest/build"
    cmake --install "$gtest/build" >/dev/null
fi

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTRIVANTA_WERROR=ON \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DTRIVANTA_WINDOW=OFF \
    -DGTest_DIR="$gtest/install/lib/cmake/GTest"
cmake --build "$build"

# No Mono or Gecko: nothing here needs .NET or an HTML engine, and without
# them Wine asks no question on its first start.
export WINEPREFIX=$PWD/$build/wine WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
status=0
ctest --test-dir "$build" --output-on-failure --timeout 300 || status=$?
# The Wine server of this prefix would linger a few seconds after the tests.
/usr/lib/wine/wineserver -k 2>/dev/null || true
exit $status
