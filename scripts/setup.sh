#!/usr/bin/env bash
# Installs the Debian packages that building and running Trivanta need; with
# --test also those of the tests, the analysers and the packaging checks; with
# --windows only those of the Windows build under Wine; with --web only those
# of the page in the browser.
# Safe to run again: it only installs what is missing.
set -euo pipefail
cd "$(dirname "$0")/.."
# A step that fails says which it was, and the status ends the set-up.
step="reading the arguments"
trap 'status=$?; echo "setup: $step failed (status $status)" >&2; exit $status' ERR

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
    # Qt's own words on the boxes' buttons in the system's language
    qt6-translations-l10n
)
if [ "${1:-}" = "--windows" ]; then
    # The Windows build (packaging/windows.sh) and its tests under Wine
    # (scripts/test-windows.sh)
    packages=(
        # MinGW-w64, and GoogleTest built from its sources
        cmake ninja-build g++-mingw-w64-x86-64-posix googletest
        # Qt for Windows from Debian's source of the Qt the Linux build uses,
        # with Debian's moc, rcc and uic; dpkg-source unpacks it
        qt6-base-dev qt6-base-dev-tools dpkg-dev
        # Qt's translations, shipped beside the program as on Linux; the
        # locales, Italian among them, that Wine takes Windows' language from
        qt6-translations-l10n locales
        # the installer, the archive (unzip: its copy in a strange folder), and
        # the program's files' licences
        nsis zip unzip
        # Wine with its own fonts and the Linux window's, on a display of its
        # own, driven and photographed as a user would; a small window manager
        # that hands Wine's windows the keyboard; inotify, which sees the
        # throw-away file come and go
        wine64 fonts-wine fonts-liberation2 xvfb xauth xdotool imagemagick openbox inotify-tools
    )
elif [ "${1:-}" = "--web" ]; then
    # The page in the browser (scripts/web.sh): Debian's emscripten, and Node
    # with npm, which run emscripten's tools, the page's server and its
    # tests. A Node installed from elsewhere comes with its own npm, which
    # Debian's npm would conflict with: it is used as it is.
    packages=(emscripten cmake ninja-build)
    command -v node >/dev/null 2>&1 || packages+=(nodejs)
    command -v npm >/dev/null 2>&1 || packages+=(npm)
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
        # the page's tests: Debian's Chromium, driven headless over the
        # DevTools protocol, and GoogleTest's sources, which the page's build
        # compiles to WebAssembly for the game's suites (tests/web)
        chromium googletest
    )
fi

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done

sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi

# Qt for Windows is built from Debian's source package: the archive's
# sources beside its packages (scripts/deb-src.sh), and apt's index of them.
# An earlier set-up wrote them in trivanta-src.list; the new file replaces it.
if [ "${1:-}" = "--windows" ]; then
    step="adding the deb-src entries of Debian's archive to apt's sources"
    $sudo rm -f /etc/apt/sources.list.d/trivanta-src.list
    $sudo scripts/deb-src.sh >/dev/null
    if ! apt-cache showsrc qt6-base 2>/dev/null | grep -q '^Package: qt6-base$'; then
        step="apt-get update, which fetches the index of Debian's sources"
        $sudo apt-get -o DPkg::Lock::Timeout=600 update -qq
        step="finding qt6-base's source in apt's index after apt-get update"
        apt-cache showsrc qt6-base 2>/dev/null | grep -q '^Package: qt6-base$'
    fi
fi

if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    step="apt-get update"
    $sudo apt-get -o DPkg::Lock::Timeout=600 update -qq
    step="apt-get install of ${missing[*]}"
    DEBIAN_FRONTEND=noninteractive $sudo apt-get -o DPkg::Lock::Timeout=600 install -y -qq \
        --no-install-recommends "${missing[@]}"
fi

# The Windows tests play once on an Italian Windows, and Wine takes Windows'
# language from the system's locale, which must exist for that.
if [ "${1:-}" = "--windows" ] && ! locale -a 2>/dev/null | grep -qx 'it_IT.utf8'; then
    step="generating the Italian locale it_IT.UTF-8"
    $sudo localedef -i it_IT -c -f UTF-8 it_IT.UTF-8
fi
