#!/usr/bin/env bash
# Makes Trivanta for 64-bit Windows: the installer and the portable archive.
# Sets up the machine, builds Qt for Windows if its cache lacks it
# (packaging/windows/build-qt.sh; the better part of an hour on two cores),
# builds the program, and writes into build/windows/ (WINDOWS_DIR):
#   trivanta-<version>-setup.exe   the installer (/S silent, /D=folder)
#   trivanta-<version>-win64.zip   the same files in a folder "Trivanta"
set -euo pipefail
cd "$(dirname "$0")/.."
windows=$PWD/packaging/windows

scripts/setup.sh --windows
qt=$(packaging/windows/build-qt.sh)
out=$(realpath -m "${WINDOWS_DIR:-build/windows}")
build=$out/release
mkdir -p "$out"

"$qt/bin/qt-cmake" -S . -B "$build" -G Ninja --no-warn-unused-cli -DCMAKE_BUILD_TYPE=Release \
    -DBUILD_TESTING=OFF \
    -DTRIVANTA_WERROR=ON >/dev/null
cmake --build "$build" --target trivanta
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")

# The program with exactly what it loads.
stage=$out/stage
app=$stage/Trivanta
rm -rf "$stage"
packaging/windows/deploy.sh "$qt" "$build/trivanta.exe" "$app"

# Qt's own words (the buttons of the boxes) in the system's language: Debian's
# translations of the same Qt version, where Qt's qt.conf looks for them.
translations_version=$(dpkg-query -W -f='${Version}' qt6-translations-l10n)
mkdir -p "$app/translations"
cp /usr/share/qt6/translations/qtbase_*.qm "$app/translations/"

# The licences: ours; Qt's, with the exact Debian source it was built from
# and the notices of the code built into it; and those of MinGW's runtime,
# from the Debian package that holds each of its DLLs.
notices=$app/licences
mkdir -p "$notices/Qt" "$notices/MinGW"
cp LICENSE "$app/LICENSE.txt"
cp "$qt"/licences/{LGPL-3.0-only.txt,GPL-3.0-only.txt,debian-copyright} "$notices/Qt/"
cp -r "$qt/licences/attributions" "$notices/Qt/"
cp /usr/share/doc/qt6-translations-l10n/copyright "$notices/Qt/translations-copyright"
read -r qt_package qt_source_version <"$qt/licences/SOURCE"
# shellcheck source=windows/wine.sh
source "$windows/wine.sh"
# shellcheck source=windows/qt.recipe
source "$windows/qt.recipe"
for dll in "$app"/*.dll; do
    name=$(basename "$dll")
    for dir in $(mingw_runtime_dirs); do
        [ -f "$dir/$name" ] || continue
        package=$(dpkg-query -S "$dir/$name" | head -1 | cut -d: -f1)
        cp "/usr/share/doc/$package/copyright" "$notices/MinGW/$package-copyright"
        echo "$name: Debian $package $(dpkg-query -W -f='${Version}' "$package")"
    done
done | sort >"$notices/MinGW/SOURCES"
cat >"$notices/README.txt" <<EOF
Trivanta $version for Windows

Trivanta is under the MIT licence (LICENSE.txt).

Qt $qt_version (the Qt6*.dll files and the plugins in the folders beside them)
is used under the GNU Lesser General Public License version 3
(Qt/LGPL-3.0-only.txt, with Qt/GPL-3.0-only.txt). It was built from
Debian's source package $qt_package $qt_source_version, unchanged, with the
options of packaging/windows/qt.recipe in Trivanta's sources; that source is
at https://snapshot.debian.org/package/$qt_package/${qt_source_version//+/%2B}/
and Debian's copyright file is Qt/debian-copyright. The DLLs may be replaced
with other builds of the same Qt version. Qt/attributions holds the notices
of the third-party code built into Qt.

Qt's translations (translations/qtbase_*.qm) come unchanged from Debian's
package qt6-translations-l10n $translations_version, under the licences that
Qt/translations-copyright names (the GPL's text: Qt/GPL-3.0-only.txt).

The C++ runtime of MinGW-w64 (the other DLLs) comes from the Debian packages
named in MinGW/SOURCES, under the licences in MinGW/.
EOF
# Windows' Notepad and every editor there read CRLF lines.
find "$app" -name '*.txt' -o -name '*copyright' -o -name 'SOURCES' | while read -r text; do
    sed -i 's/\r\?$/\r/' "$text"
done

cp "$build/ui/trivanta.ico" "$stage/trivanta.ico"
setup=$out/trivanta-$version-setup.exe
packaging/windows/make-installer.sh "$app" "$version" "$stage/trivanta.ico" "$setup"

archive=$out/trivanta-$version-win64.zip
rm -f "$archive"
(cd "$stage" && zip -q -9 -r -X "$archive" Trivanta)

echo "Installer: $setup ($(du -k "$setup" | cut -f1) KiB)"
echo "Archive:   $archive ($(du -k "$archive" | cut -f1) KiB); installed: $(du -sk "$app" | cut -f1) KiB"
