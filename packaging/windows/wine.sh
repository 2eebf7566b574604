# Wine in a prefix of its own on an X display of its own, for the scripts that
# run the Windows program here. Sourced; the caller sets `set -euo pipefail`.
#
#   wine_start PREFIX [WxH]
#                        a new, empty Wine prefix and an Xvfb display for it,
#                        of 1280x1024 pixels unless given
#   wine_stop            ends every Wine process of the prefix and the display
#   winpath PATH         the Windows path (Z:\...) of a path of this machine
#   mingw_runtime_dirs   the folders of MinGW's runtime DLLs, one a line
#   wait_for_window NAME SECONDS [PID]
#                        prints the id of the first visible window whose title
#                        matches NAME; fails after SECONDS, or at once when
#                        process PID has ended

wine_display_pid=""

wine_start() {
    export WINEPREFIX=$1
    rm -rf "$WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    # No Mono or Gecko: nothing here needs .NET or an HTML engine, and without
    # them Wine asks no question on its first start.
    export WINEDEBUG=${WINEDEBUG:--all} WINEDLLOVERRIDES="mscoree,mshtml="
    export XDG_RUNTIME_DIR=$WINEPREFIX/xdg
    mkdir -p -m 0700 "$XDG_RUNTIME_DIR"
    # Xvfb picks the first display it can listen on and names it once it is
    # ready: a free-looking lock file is no proof, another root's server may
    # hold the same number.
    Xvfb -displayfd 3 -screen 0 "${2:-1280x1024}x24" -nolisten tcp \
        3>"$WINEPREFIX/display" >"$WINEPREFIX/xvfb.log" 2>&1 &
    wine_display_pid=$!
    local waited
    for waited in $(seq 100); do
        grep -qx '[0-9][0-9]*' "$WINEPREFIX/display" 2>/dev/null && break
        sleep 0.1
    done
    export DISPLAY=":$(cat "$WINEPREFIX/display")"
    [ "$DISPLAY" != ":" ] || { echo "Xvfb did not start: $(cat "$WINEPREFIX/xvfb.log")" >&2; return 1; }
    /usr/lib/wine/wine64 wineboot --init >"$WINEPREFIX/wineboot.log" 2>&1
    /usr/lib/wine/wineserver -w
    # Wine's own Tahoma and MS Sans Serif where Windows keeps its fonts: the
    # fonts a Windows desktop has for its boxes and old dialogs.
    cp /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/"
}

wine_stop() {
    [ -n "${WINEPREFIX:-}" ] && /usr/lib/wine/wineserver -k 2>/dev/null || true
    if [ -n "$wine_display_pid" ]; then
        kill "$wine_display_pid" 2>/dev/null || true
        wait "$wine_display_pid" 2>/dev/null || true
        wine_display_pid=""
    fi
}

winpath() {
    local absolute
    absolute=$(realpath -m "$1")
    printf 'Z:%s' "${absolute//\//\\}"
}

mingw_runtime_dirs() {
    dirname "$(x86_64-w64-mingw32-g++-posix -print-file-name=libstdc++-6.dll)"
    echo /usr/x86_64-w64-mingw32/lib
}

wait_for_window() {
    local name=$1 tenths=$(($2 * 10)) pid=${3:-} found
    while [ "$tenths" -gt 0 ]; do
        found=$(xdotool search --onlyvisible --name "$name" 2>/dev/null | head -1) || true
        if [ -n "$found" ]; then
            echo "$found"
            return 0
        fi
        if [ -n "$pid" ] && ! kill -0 "$pid" 2>/dev/null; then
            return 1
        fi
        sleep 0.1
        tenths=$((tenths - 1))
    done
    return 1
}
