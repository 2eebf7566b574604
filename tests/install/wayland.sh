#!/usr/bin/env bash
# Trivanta on a Wayland desktop, with no X server anywhere: a headless weston
# of its own. The installed program, started with the environment of a
# Wayland session, opens its first window through Qt's Wayland platform
# plugin, named after its desktop entry; then the window tests that need no
# keyboard play whole games on the same compositor.
# usage: wayland.sh BUILD_DIR WINDOW_TEST
set -uo pipefail

build=${1:?usage: wayland.sh BUILD_DIR WINDOW_TEST}
window_test=${2:?usage: wayland.sh BUILD_DIR WINDOW_TEST}
id=org.example.Trivanta
socket=trivanta-test

scratch=$(mktemp -d)
weston_pid=
game_pid=
cleanup() {
    [ -n "$game_pid" ] && kill "$game_pid" 2>/dev/null
    [ -n "$weston_pid" ] && kill "$weston_pid" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$scratch"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    for log in weston.log game.log; do
        if [ -s "$scratch/$log" ]; then
            echo "--- $log (last lines):" >&2
            tail -n 30 "$scratch/$log" >&2
        fi
    done
    exit 1
}

command -v weston >/dev/null || fail "weston is not installed (scripts/setup.sh --test)"
prefix=$scratch/prefix
runtime=$scratch/run
mkdir -p -m 700 "$runtime"
cmake --install "$build" --prefix "$prefix" >"$scratch/install.log" 2>&1 ||
    fail "cmake --install: $(cat "$scratch/install.log")"
game=$prefix/games/trivanta
[ -x "$game" ] || fail "no installed program at games/trivanta"

env -i PATH="$PATH" XDG_RUNTIME_DIR="$runtime" HOME="$scratch" \
    weston --backend=headless-backend.so --socket="$socket" --idle-time=0 \
    --log="$scratch/weston.log" >/dev/null 2>&1 &
weston_pid=$!
for _ in $(seq 100); do
    [ -S "$runtime/$socket" ] && break
    kill -0 "$weston_pid" 2>/dev/null || fail "weston ended"
    sleep 0.1
done
[ -S "$runtime/$socket" ] || fail "weston opened no socket within 10 s"

# As a Wayland session starts a program: no DISPLAY, no QT_QPA_PLATFORM; the
# client side of the protocol is logged.
env -i PATH="$PATH" HOME="$scratch" LANG=C.UTF-8 XDG_RUNTIME_DIR="$runtime" \
    XDG_SESSION_TYPE=wayland WAYLAND_DISPLAY="$socket" WAYLAND_DEBUG=client \
    "$game" >"$scratch/game.log" 2>&1 &
game_pid=$!

# The dealer's box is the first window: a toplevel with the entry's id and
# the game's title that, once the compositor has configured it, gets a
# picture.
shown() {
    awk -v id="set_app_id(\"$id\")" '
        index($0, id) { app = 1 }
        index($0, "set_title(\"Trivanta\")") { title = 1 }
        /xdg_surface@[0-9]+\.ack_configure\(/ { configured = 1 }
        configured && /wl_surface@[0-9]+\.attach\(wl_buffer@/ { drawn = 1 }
        END { exit !(app && title && drawn) }' "$scratch/game.log"
}
for _ in $(seq 300); do
    shown && break
    kill -0 "$game_pid" 2>/dev/null || fail "the program ended before showing its first window"
    sleep 0.1
done
shown || fail "no window with app id $id, title Trivanta and a picture within 30 s"
kill "$game_pid"
wait "$game_pid" 2>/dev/null
game_pid=

# The game window itself, drawn pixel for pixel and played to the end through
# real message boxes, natively on the compositor.
env -i PATH="$PATH" HOME="$scratch" LANG=C.UTF-8 XDG_RUNTIME_DIR="$runtime" \
    WAYLAND_DISPLAY="$socket" QT_QPA_PLATFORM=wayland \
    "$window_test" twoGamesTheFirstWithTheKeyboardAndAScreenReader \
    layoutMenusAndTheCloseBoxInTheMiddleOfATrick \
    >"$scratch/game.log" 2>&1 || fail "the window tests on Wayland"
grep -q "^Totals: 4 passed, 0 failed" "$scratch/game.log" || fail "the window tests on Wayland"
echo "on Wayland: first window native with app id $id, whole games played in the window"
