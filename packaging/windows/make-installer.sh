#!/usr/bin/env bash
# Makes the installer of the files in APP_DIR with NSIS (trivanta.nsi): each
# file is installed by name and removed by name, its folders after it,
# deepest first, so that the uninstaller removes what the installer put
# there and nothing else.
# usage: make-installer.sh APP_DIR VERSION ICON.ico OUT.exe
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
app=$(realpath "$1")
version=$2
icon=$(realpath "$3")
setup=$(realpath -m "$4")
lists=$(mktemp -d)
trap 'rm -rf "$lists"' EXIT

(
    cd "$app"
    find . -type d | sed 's|^\.||; s|^/||' | sort | while read -r dir; do
        win=${dir//\//\\}
        echo "SetOutPath \"\$INSTDIR${win:+\\$win}\""
        find "./$dir" -maxdepth 1 -type f | sort | while read -r file; do
            echo "File \"$app/${file#./}\""
        done
    done
) >"$lists/files.nsh"
(
    cd "$app"
    find . -type f | sed 's|^\./||' | sort | while read -r file; do
        echo "Delete \"\$INSTDIR\\${file//\//\\}\""
    done
    find . -mindepth 1 -type d | sed 's|^\./||' | sort -r | while read -r dir; do
        echo "RMDir \"\$INSTDIR\\${dir//\//\\}\""
    done
) >"$lists/unfiles.nsh"

size_kb=$(du -sk --apparent-size "$app" | cut -f1)
makensis -V2 -INPUTCHARSET UTF8 -DVERSION="$version" -DFILES="$lists/files.nsh" \
    -DUNFILES="$lists/unfiles.nsh" -DICON="$icon" -DSIZE_KB="$size_kb" -DOUTFILE="$setup" \
    "$here/trivanta.nsi"
