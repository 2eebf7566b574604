#!/usr/bin/env bash
# Makes the Debian package from the build and checks it as Debian would:
# lintian finds no error and no warning, the package recommends Qt's Wayland
# platform plugin, its changelog speaks of this version and its copyright file
# carries the project's licence. Skipped (77) where lintian is not installed.
# usage: package.sh BUILD_DIR SOURCE_DIR
set -uo pipefail

build=${1:?usage: package.sh BUILD_DIR SOURCE_DIR}
source_dir=${2:?usage: package.sh BUILD_DIR SOURCE_DIR}
command -v lintian >/dev/null || { echo "lintian is not installed: skipped"; exit 77; }

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

if ! cpack -G DEB --config "$build/CPackConfig.cmake" -B "$scratch" >"$scratch/cpack.log" 2>&1; then
    cat "$scratch/cpack.log" >&2
    echo "FAIL: cpack" >&2
    exit 1
fi
deb=$(find "$scratch" -maxdepth 1 -name 'trivanta_*.deb')
[ -f "$deb" ] || { echo "FAIL: cpack made no trivanta_*.deb" >&2; exit 1; }

# Errors and warnings fail; the informational tags are printed for the record.
if ! lintian --fail-on error,warning --display-info "$deb" >"$scratch/lintian.log" 2>&1; then
    fail "lintian: $(grep -v 'root privileges' "$scratch/lintian.log")"
fi
grep -E '^[EWI]:' "$scratch/lintian.log"

recommends=$(dpkg-deb -f "$deb" Recommends)
[[ ",$recommends," == *", qt6-wayland,"* || ",$recommends," == *",qt6-wayland,"* ]] ||
    fail "the package does not recommend qt6-wayland (Recommends: '$recommends')"
# The buttons of the boxes speak the system's language only with Qt's translations.
depends=$(dpkg-deb -f "$deb" Depends)
[[ ", $depends," == *", qt6-translations-l10n"[,\ ]* ]] ||
    fail "the package does not depend on qt6-translations-l10n (Depends: '$depends')"

# Lintian reads the changelog's form, not whether it is this release's.
version=$(dpkg-deb -f "$deb" Version)
mkdir "$scratch/root"
dpkg-deb -x "$deb" "$scratch/root"
doc=$scratch/root/usr/share/doc/trivanta
zcat "$doc/changelog.gz" >"$scratch/changelog"
logged=$(dpkg-parsechangelog -l "$scratch/changelog" -S Version)
[ "$logged" = "$version" ] || fail "the changelog's latest entry is $logged, the package $version"

# The licence paragraph is LICENSE's text, line for line.
licence=$(awk '/^License: Expat$/ { body = ""; next } { body = body $0 "\n" }
               END { printf "%s", body }' "$doc/copyright" | sed -e 's/^ //' -e 's/^\.$//')
expected=$(tail -n +5 "$source_dir/LICENSE")
[ "$licence" = "$expected" ] || fail "the copyright file's licence differs from LICENSE:
$(diff <(echo "$expected") <(echo "$licence"))"

if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed" >&2
    exit 1
fi
echo "$(basename "$deb"): lintian finds no error or warning"
