#!/usr/bin/env bash
# Trivanta for Windows, tested under Wine on a display of its own, each part
# in a fresh Wine prefix:
#   1. the game's, the donation link's and the window's suites, cross-built
#      with MinGW-w64 against Qt for Windows, the window's suite on Qt's
#      offscreen platform and again on the real Windows one;
#   2. the installer and the installed program (tests/windows/installed.sh).
# Makes the installer first (packaging/windows.sh), building Qt for Windows
# when its cache lacks it. Artefacts (screenshots, logs) land in
# build/windows/artefacts.
set -euo pipefail
cd "$(dirname "$0")/.."

packaging/windows.sh
qt=$(packaging/windows/build-qt.sh)
out=$PWD/build/windows
toolchain=$PWD/scripts/mingw-w64.cmake
# shellcheck source=../packaging/windows/wine.sh
source packaging/windows/wine.sh
trap wine_stop EXIT

# GoogleTest for MinGW, from Debian's sources, once per build folder.
gtest=$out/googletest
if [ ! -f "$gtest/install/lib/cmake/GTest/GTestConfig.cmake" ]; then
    cmake -S /usr/src/googletest -B "$gtest/build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DBUILD_GMOCK=OFF \
        -DCMAKE_INSTALL_PREFIX="$gtest/install" >/dev/null
    cmake --build "$gtest/build"
    cmake --install "$gtest/build" >/dev/null
fi

tests=$out/tests
"$qt/bin/qt-cmake" -S . -B "$tests" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DTRIVANTA_WERROR=ON -DGTest_DIR="$gtest/install/lib/cmake/GTest" >/dev/null
cmake --build "$tests"

echo "== The suites under Wine"
wine_start "$out/wine-suites"
# Qt's DLLs and MinGW's runtime from where they were built; Qt finds its
# plugins beside its own DLLs.
WINEPATH=$(for dir in "$qt/bin" $(mingw_runtime_dirs); do printf '%s;' "$(winpath "$dir")"; done)
export WINEPATH
# Qt's offscreen platform on Windows reads fonts from a folder, not from the
# system: the Linux window's own. (Wine hands on WINEQT_... as QT_....)
WINEQT_QPA_FONTDIR=$(winpath /usr/share/fonts/truetype/liberation2)
export WINEQT_QPA_FONTDIR
# Qt's translations where this Qt looks for them, as beside the installed
# program: the window's suites check the boxes' words in Italian and English.
mkdir -p "$qt/translations"
cp /usr/share/qt6/translations/qtbase_*.qm "$qt/translations/"
status=0
ctest --test-dir "$tests" --output-on-failure --timeout 600 || status=$?
echo "== The window's suite on the Windows platform"
# A window manager makes the window active, so that the keyboard plays the
# first game, as on a desktop. Qt Test writes its report to a file: Qt's
# output does not reach the terminal from under Wine.
openbox >"$WINEPREFIX/openbox.log" 2>&1 &
window_manager=$!
mkdir -p "$out/artefacts"
report=$out/artefacts/window-suite-windows.txt
timeout 600 /usr/lib/wine/wine64 "$tests/tests/ui/WindowTest.exe" -o "$(winpath "$report"),txt" || status=$?
grep -v 'EnableNonClientDpiScaling' "$report" || true
kill $window_manager
wine_stop
unset WINEPATH WINEQT_QPA_FONTDIR
[ $status -eq 0 ] || { echo "test-windows: a suite failed under Wine" >&2; exit $status; }

echo "== The installer and the installed program"
# Each step there has its own limit; this one ends a run that hangs anyway.
timeout --kill-after=30 1800 tests/windows/installed.sh "$out" "$tests"
