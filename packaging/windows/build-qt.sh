#!/usr/bin/env bash
# Builds Qt for 64-bit Windows from Debian's qtbase source package, as
# packaging/windows/qt.recipe says, into a cache folder outside the tree, and
# prints that folder. Does nothing when the cache already holds a complete
# build of the same recipe. A cache without its stamp (a build that stopped
# half-way) is never used: it is removed and built again.
#
#   TRIVANTA_QT_WINDOWS   the cache folder
#                         (default ~/.cache/trivanta/qt-<version>-mingw64)
#
# Run scripts/setup.sh --windows first.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
recipe=$here/qt.recipe
toolchain=$root/scripts/mingw-w64.cmake
# shellcheck source=qt.recipe
source "$recipe"

prefix=${TRIVANTA_QT_WINDOWS:-$HOME/.cache/trivanta/qt-$qt_version-mingw64}
stamp=$prefix/trivanta-qt.stamp

# The host tools are Debian's, so the source must be the installed version.
debian_version=$(dpkg-query -W -f='${Version}' qt6-base-dev-tools 2>/dev/null || true)
if [ "${debian_version%%+*}" != "$qt_version" ]; then
    echo "build-qt: Qt $qt_version needs qt6-base-dev-tools $qt_version, found '${debian_version:-none}'" >&2
    exit 1
fi

key=$({
    echo "$debian_version"
    cat "$recipe" "$toolchain"
} | sha256sum | cut -d' ' -f1)

if [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$key" ]; then
    echo "$prefix"
    exit 0
fi

# A work folder beside the cache: an interrupted build of the same recipe
# goes on where it stopped; one of another recipe starts over.
work=$prefix.build
if [ ! -f "$work/key" ] || [ "$(cat "$work/key")" != "$key" ]; then
    rm -rf "$work"
fi
mkdir -p "$work"
echo "$key" >"$work/key"
rm -rf "$prefix"
mkdir -p "$prefix"

src=$work/src
if [ ! -f "$src/.unpacked" ]; then
    rm -rf "$src" "$work/download"
    mkdir -p "$work/download"
    (cd "$work/download" && apt-get source --download-only -qq "$qt_source_package=$debian_version") >&2
    dpkg-source -x "$work/download/${qt_source_package}_${debian_version#*:}.dsc" "$src" >/dev/null
    touch "$src/.unpacked"
fi

# Qt's own toolchain file, which applications configure with (bin/qt-cmake),
# names the one Qt was built with: it must live as long as the cache.
cp "$toolchain" "$prefix/mingw-w64.cmake"

echo "build-qt: building Qt $qt_version ($debian_version) for Windows into $prefix" >&2
cmake -S "$src" -B "$work/build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$prefix/mingw-w64.cmake" \
    -DCMAKE_INSTALL_PREFIX="$prefix" \
    "${qt_options[@]}" >"$work/configure.log" 2>&1 || {
    tail -40 "$work/configure.log" >&2
    exit 1
}
cmake --build "$work/build" >&2
cmake --install "$work/build" >/dev/null

# The licences of what the DLLs hold, for the installer and the archive: Qt's
# own, Debian's copyright file and the exact source package version; and the
# attribution of every third-party part of Qt's tree that a compiled file
# read, as the compiler's record of each object's inputs tells.
notices=$prefix/licences
mkdir -p "$notices"
cp "$src"/LICENSES/*.txt "$notices/"
cp "$src/debian/copyright" "$notices/debian-copyright"
echo "$qt_source_package $debian_version" >"$notices/SOURCE"
ninja -C "$work/build" -t deps | sed -n 's/^ \+//p' | sort -u | xargs realpath -m -s >"$work/inputs"
(cd "$src" && find src -name qt_attribution.json -printf '%h\n') | sort | while read -r dir; do
    grep -qF "$src/$dir/" "$work/inputs" || continue
    mkdir -p "$notices/attributions/$dir"
    cp "$src/$dir/qt_attribution.json" "$notices/attributions/$dir/"
    # Some parts name no licence file (public domain code).
    { grep -oP '"LicenseFile": *"\K[^"]+' "$src/$dir/qt_attribution.json" || true; } | sort -u |
        while read -r file; do
            install -D -m 644 "$src/$dir/$file" "$notices/attributions/$dir/$file"
        done
done
echo "$key" >"$stamp"
rm -rf "$work"
echo "$prefix"
