#!/usr/bin/env bash
# Installs the Debian packages that building and running Trivanta need; with
# --test also those of the tests, the analysers and the packaging checks; with
# --windows only those of the Windows build under Wine.
# Safe to run again: it only installs what is missing.
set -euo pipefail

packages=(
    # build
    cmake g++ make pkg-config ninja-build
    qt6-base-dev libgl-dev libglib2.0-dev
    # run: the MIME database by which GIO knows test.htm as a web page
    shared-mime-info
    # the window's font: a sans-serif narrow enough for the fixed layout
    fonts-liberation2
    # Qt's Wayland platform plugin: on a Wayland desktop the game runs natively
    qt6-wayland
)
if [ "${1:-}" = "--windows" ]; then
    # scripts/test-windows.sh only: the game and the donation link built for
    # Windows and tested under Wine, with GoogleTest built from its sources
    packages=(cmake ninja-build g++-mingw-w64-x86-64-posix wine64 googletest)
elif [ "${1:-}" = "--test" ]; then
    packages+=(
        # the tests; giflib for the program that draws the pictures, which
        # the analysers build; Qt's private headers switch assistive
        # technology on as a screen reader would
        libgtest-dev libgmock-dev libgif-dev fonts-dejavu-core qt6-base-private-dev
        # the installed program on a real X server and on a headless Wayland
        # compositor
        xvfb xauth xdotool weston
        # formatting
        clang-format
        # installing and packaging: the validators of the menu entry and the
        # AppStream metadata, dpkg-shlibdeps and file for the package's
        # dependencies, Debian's package checker, debootstrap for the bare
        # system of packaging/check-deb.sh
        desktop-file-utils appstream dpkg-dev file lintian debootstrap
        # reliability and speed: the analysers, memcheck, the benchmark library
        clang-tidy cppcheck valgrind libbenchmark-dev
    )
fi

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
