#!/usr/bin/env bash
# Puts the Windows program into DEST with exactly the DLLs and Qt plugins it
# needs, stripped:
#   - the plugins it loads: the program is started under Wine on a display
#     of its own with all of Qt's plugins beside it, and the plugins that Wine
#     reports loaded by the time the first box is up are the ones shipped;
#   - the DLLs that the program and those plugins link, and those that these
#     link in turn, from Qt's folder or MinGW's runtime. A DLL found in
#     neither must be part of Windows itself (Wine's system folder, or an API
#     set), or the deployment fails.
# usage: deploy.sh QT_PREFIX PROGRAM.exe DEST
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
qt=$(realpath "$1")
program=$(realpath "$2")
dest=$3
# shellcheck source=wine.sh
source "$here/wine.sh"

scratch=$(mktemp -d)
cleanup() {
    wine_stop
    [ -n "${KEEP_SCRATCH:-}" ] || rm -rf "$scratch"
}
trap cleanup EXIT

wine_start "$scratch/wine"
# Windows' own DLLs, by lower-case name.
declare -A system=()
while read -r name; do
    system[${name,,}]=1
done < <(ls "$WINEPREFIX/drive_c/windows/system32")
search=("$qt/bin" $(mingw_runtime_dirs))
runtime_path=$(for dir in "${search[@]}"; do printf '%s;' "$(winpath "$dir")"; done)

# The plugins: a run to the first box, the dealer's, titled as the program,
# with every plugin of Qt's where the shipped program has them, beside it.
trial=$scratch/trial
mkdir -p "$trial"
cp "$program" "$trial/"
cp -r "$qt/plugins/." "$trial/"
log=$scratch/loaded.log
WINEDEBUG=+loaddll WINEPATH="$runtime_path" \
    /usr/lib/wine/wine64 "$trial/$(basename "$program")" >/dev/null 2>"$log" &
runner=$!
shown=no
if wait_for_window '^Trivanta$' 60 "$runner" >/dev/null; then
    shown=yes
fi
/usr/lib/wine/wineserver -k 2>/dev/null || true
wait "$runner" 2>/dev/null || true
trial_win=$(winpath "$trial")
mapfile -t plugins < <(
    grep -o 'Loaded L"[^"]*"' "$log" | sed 's/^Loaded L"//; s/"$//; s/\\\\/\\/g' |
        grep -iF "$trial_win\\" | cut -c$((${#trial_win} + 2))- | tr '\\' / | grep / | sort -u
)
if [ "$shown" != yes ] || ! printf '%s\n' "${plugins[@]}" | grep -q '^platforms/'; then
    echo "deploy: $(basename "$program") showed no box under Wine, or loaded no platform plugin;" \
        "the end of its log:" >&2
    tail -20 "$log" >&2
    exit 1
fi

rm -rf "$dest"
mkdir -p "$dest"
cp "$program" "$dest/"
for plugin in "${plugins[@]}"; do
    install -D -m 644 "$qt/plugins/$plugin" "$dest/$plugin"
done

# The linked DLLs, followed from every file placed so far.
declare -A placed=()
queue=("$dest/$(basename "$program")")
for plugin in "${plugins[@]}"; do
    queue+=("$dest/$plugin")
done
while [ ${#queue[@]} -gt 0 ]; do
    file=${queue[0]}
    queue=("${queue[@]:1}")
    while read -r dll; do
        key=${dll,,}
        [ -z "${placed[$key]:-}" ] || continue
        found=""
        for dir in "${search[@]}"; do
            if [ -f "$dir/$dll" ]; then
                found=$dir/$dll
                break
            fi
        done
        placed[$key]=1
        if [ -n "$found" ]; then
            install -m 644 "$found" "$dest/$dll"
            queue+=("$dest/$dll")
        elif [[ $key != api-ms-win-* && $key != ext-ms-* ]] && [ -z "${system[$key]:-}" ]; then
            echo "deploy: $(basename "$file") needs $dll, which is neither Qt's, MinGW's nor Windows' own" >&2
            exit 1
        fi
    done < <(x86_64-w64-mingw32-objdump -p "$file" | sed -n 's/^\tDLL Name: //p')
done

find "$dest" -iname '*.dll' -o -iname '*.exe' | xargs x86_64-w64-mingw32-strip --strip-unneeded
echo "deploy: $(find "$dest" -type f | wc -l) files, $(du -sk "$dest" | cut -f1) KiB; plugins: ${plugins[*]}" >&2
