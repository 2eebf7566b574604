#!/usr/bin/env bash
# Installs Trivanta into a scratch prefix and checks what a desktop reads
# from it: the menu entry, the AppStream metadata and the themed icons.
# usage: validate.sh BUILD_DIR
set -uo pipefail

build=${1:?usage: validate.sh BUILD_DIR}
id=org.example.Trivanta
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT

failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

if ! cmake --install "$build" --prefix "$prefix" >"$prefix.log" 2>&1; then
    cat "$prefix.log" >&2
    rm -f "$prefix.log"
    echo "FAIL: cmake --install" >&2
    exit 1
fi
rm -f "$prefix.log"

desktop=$prefix/share/applications/$id.desktop
metainfo=$prefix/share/metainfo/$id.metainfo.xml
[ -f "$desktop" ] || fail "no desktop entry at share/applications/$id.desktop"
[ -f "$metainfo" ] || fail "no AppStream metadata at share/metainfo/$id.metainfo.xml"
[ "$failures" -eq 0 ] || exit 1

# The validators' own verdicts; a hint or warning counts as a failure too.
if ! out=$(desktop-file-validate "$desktop" 2>&1) || [ -n "$out" ]; then
    fail "desktop-file-validate: $out"
fi
# --no-net: the screenshot lives on the project's web site, which a test
# must not depend on.
if ! out=$(appstreamcli validate --no-net --strict "$metainfo" 2>&1); then
    fail "appstreamcli validate: $out"
fi
# The tree check also finds the desktop entry that the metadata launches.
if ! out=$(appstreamcli validate-tree --no-net --strict "$prefix" 2>&1); then
    fail "appstreamcli validate-tree: $out"
fi

# Desktop entry keys the menu relies on: exact lines.
desktop_lines=(
    "Type=Application"
    "Name=Trivanta"
    "Categories=Game;CardGame;"
    "Icon=$id"
    "Exec=trivanta"
    "Terminal=false"
)
for line in "${desktop_lines[@]}"; do
    grep -qxF -- "$line" "$desktop" || fail "desktop entry lacks '$line'"
done
grep -qE '^Comment\[it\]=.+' "$desktop" || fail "desktop entry has no Italian comment"
grep -qE '^Comment=.+' "$desktop" || fail "desktop entry has no default comment"

# The program the entry starts is installed where games go, on a desktop's
# PATH; nothing is left in bin/.
[ -x "$prefix/games/trivanta" ] || fail "Exec=trivanta, but no games/trivanta was installed"

# Metadata: its id and launchable name this desktop entry; texts in both
# languages; the README's screenshot.
metainfo_patterns=(
    "<id>$id</id>"
    "<launchable type=\"desktop-id\">$(basename "$desktop")</launchable>"
    "<name>Trivanta</name>"
    "<summary xml:lang=\"it\">"
    "<p xml:lang=\"it\">"
    "<screenshot type=\"default\">"
    "<binary>trivanta</binary>"
    "<release version=\"$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")\""
)
for pattern in "${metainfo_patterns[@]}"; do
    grep -qF -- "$pattern" "$metainfo" || fail "metadata lacks '$pattern'"
done
# The screenshot is the README's picture, published under the same name and
# with the same size.
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
shot=$(grep -o -m1 '(docs/[^)]*\.png)' "$source_dir/README.md" | tr -d '()')
if [ -z "$shot" ] || [ ! -f "$source_dir/$shot" ]; then
    fail "the README shows no screenshot from docs/"
else
    size=$(file -b "$source_dir/$shot" | sed -n 's/^PNG image data, \([0-9]*\) x \([0-9]*\),.*/width="\1" height="\2"/p')
    image="<image type=\"source\" $size>https://www.example.org/trivanta/$(basename "$shot")</image>"
    grep -qF -- "$image" "$metainfo" || fail "metadata lacks the README's screenshot: '$image'"
fi

# English paragraphs: at least one without a language of its own.
grep -qE '^\s*<p>' "$metainfo" || fail "metadata has no English description"

# One icon per hicolor size, a PNG of exactly that size under the name the
# desktop entry gives.
for size in 16 32 48 64 128; do
    icon=$prefix/share/icons/hicolor/${size}x${size}/apps/$id.png
    if [ ! -f "$icon" ]; then
        fail "no ${size}x${size} icon"
        continue
    fi
    kind=$(file -b "$icon")
    case $kind in
    "PNG image data, $size x $size,"*) ;;
    *) fail "${size}x${size} icon is '$kind'" ;;
    esac
done

# Nothing else lands in the prefix: a stray file would ship in the package.
expected=$(printf '%s\n' \
    "games/trivanta" \
    "share/man/man6/trivanta.6.gz" \
    "share/doc/trivanta/copyright" \
    "share/doc/trivanta/changelog.gz" \
    "share/applications/$id.desktop" \
    "share/metainfo/$id.metainfo.xml" \
    share/icons/hicolor/{16x16,32x32,48x48,64x64,128x128}/apps/$id.png | sort)
actual=$(cd "$prefix" && find . -type f -printf '%P\n' | sort)
if [ "$expected" != "$actual" ]; then
    fail "installed files differ from the expected list:
$(diff <(echo "$expected") <(echo "$actual"))"
fi

if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed" >&2
    exit 1
fi
echo "installed desktop application validated"
