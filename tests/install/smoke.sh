#!/usr/bin/env bash
# Installs Trivanta into a scratch prefix and runs the installed program on a
# private X server, as a person would: the dealer's box appears and is
# answered, the main window appears with the window class that its desktop
# entry names, and is closed through File > Esci. The program must end with
# status 0 and leave no file behind, beside itself or in the directory it was
# started from. With ACTION the program is started as the desktop entry's
# action of that name says; the "esperto" action's window names the expert in
# its title, while its boxes keep the program's title.
# usage: smoke.sh BUILD_DIR [ACTION]
set -uo pipefail

build=${1:?usage: smoke.sh BUILD_DIR [ACTION]}
action=${2:-}
title=Trivanta
main_title=Trivanta
[ "$action" = esperto ] && main_title="Trivanta - avversario esperto"
main_width=794 # the game window's client area; a message box is narrower

scratch=$(mktemp -d)
xvfb_pid=
game_pid=
cleanup() {
    [ -n "$game_pid" ] && kill "$game_pid" 2>/dev/null
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$scratch"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    if [ -s "$scratch/game.log" ]; then
        echo "--- program output:" >&2
        cat "$scratch/game.log" >&2
    fi
    exit 1
}

prefix=$scratch/prefix
work=$scratch/work
mkdir -p "$work" "$scratch/home" "$scratch/run"
chmod 700 "$scratch/run"

cmake --install "$build" --prefix "$prefix" >"$scratch/install.log" 2>&1 ||
    fail "cmake --install: $(cat "$scratch/install.log")"
game=$prefix/games/trivanta
[ -x "$game" ] || fail "no installed program at games/trivanta"
entry=$prefix/share/applications/org.example.Trivanta.desktop
wm_class=$(sed -n 's/^StartupWMClass=//p' "$entry")
[ -n "$wm_class" ] || fail "the desktop entry names no window class"
# The command line the entry (or its action) starts, the program's name
# resolved to the installed program.
section="Desktop Entry"
[ -n "$action" ] && section="Desktop Action $action"
command=$(awk -v s="[$section]" '$0 == s { f = 1; next } /^\[/ { f = 0 } f && /^Exec=/ { sub(/^Exec=/, ""); print; exit }' "$entry")
read -r -a words <<<"$command"
[ "${words[0]:-}" = trivanta ] || fail "[$section] does not start trivanta: '$command'"

# Every file and directory, so that anything the run adds shows up.
snapshot() { find "$prefix" "$work" -printf '%p\n' | sort; }
before=$(snapshot)

# Xvfb chooses a free display and writes its number once it accepts clients.
Xvfb -displayfd 3 -nolisten tcp -screen 0 1024x768x24 3>"$scratch/display" \
    2>"$scratch/xvfb.log" &
xvfb_pid=$!
display=
for _ in $(seq 100); do
    display=$(head -n1 "$scratch/display" 2>/dev/null)
    [ -n "$display" ] && break
    kill -0 "$xvfb_pid" 2>/dev/null || fail "Xvfb ended: $(cat "$scratch/xvfb.log")"
    sleep 0.1
done
[ -n "$display" ] || fail "Xvfb gave no display number within 10 s"
export DISPLAY=:$display

# A clean environment: no offscreen platform from the test runner, a private
# home and runtime directory.
(cd "$work" && exec env -i PATH="$PATH" DISPLAY="$DISPLAY" LANG=C.UTF-8 \
    HOME="$scratch/home" XDG_RUNTIME_DIR="$scratch/run" "$game" "${words[@]:1}") \
    >"$scratch/game.log" 2>&1 &
game_pid=$!

# Prints the width of window $1; 0 for a window that has gone meanwhile.
width_of() {
    local width
    width=$(xdotool getwindowgeometry --shell "$1" 2>/dev/null | sed -n 's/^WIDTH=//p')
    echo "${width:-0}"
}

# The visible windows with this title (the boxes' by default), one per line.
visible_titled() { xdotool search --onlyvisible --name "^${1:-$title}\$" 2>/dev/null; }

# The dealer's box comes first: the main window is shown only after it.
box=$(timeout 30 xdotool search --sync --onlyvisible --name "^$title\$" | head -n1)
[ -n "$box" ] || fail "no window titled '$title' within 30 s"
[ "$(visible_titled | wc -l)" -eq 1 ] || fail "more than the dealer's box is on screen"
box_width=$(width_of "$box")
[ "$box_width" -lt "$main_width" ] ||
    fail "the first window is $box_width px wide: the main window, not the dealer's box"

# No window manager gives focus under Xvfb: give it to the box, then answer.
timeout 10 xdotool windowfocus --sync "$box" || fail "could not focus the dealer's box"
xdotool key --clearmodifiers Return

main=
for _ in $(seq 150); do
    for w in $(visible_titled "$main_title"); do
        if [ "$(width_of "$w")" -ge "$main_width" ]; then
            main=$w
            break 2
        fi
    done
    kill -0 "$game_pid" 2>/dev/null || fail "the program ended before its main window appeared"
    sleep 0.1
done
[ -n "$main" ] || fail "no main window titled '$main_title' within 15 s of answering the box"
# The desktop groups the window with its launcher by this class.
xdotool search --class "^$wm_class\$" 2>/dev/null | grep -qx "$main" ||
    fail "the main window's class is not '$wm_class', which the desktop entry names"

# File > Esci from the keyboard, the way the menu bar offers it. A menu that
# opened too late for the second key is retried.
ended=no
for _ in 1 2 3 4 5; do
    timeout 10 xdotool windowfocus --sync "$main" 2>/dev/null
    xdotool key --clearmodifiers alt+f
    sleep 0.5
    xdotool key --clearmodifiers e
    for _ in $(seq 30); do
        if ! kill -0 "$game_pid" 2>/dev/null; then
            ended=yes
            break 2
        fi
        sleep 0.1
    done
done
[ "$ended" = yes ] || fail "the program did not end after File > Esci"
wait "$game_pid"
status=$?
game_pid=
[ "$status" -eq 0 ] || fail "the program ended with status $status"

after=$(snapshot)
if [ "$before" != "$after" ]; then
    fail "the run left files behind:
$(diff <(echo "$before") <(echo "$after") | sed -n 's/^> //p')"
fi
echo "installed program${action:+ (action $action)}: dealer's box answered, main window closed, status 0, no file left"
