#!/usr/bin/env bash
# The Windows installer and the installed program under Wine, driven on an X
# display of their own with the mouse and the keyboard as a user would, in a
# fresh Wine prefix:
#   - a silent install: the files, the Start menu's shortcuts, the entry in
#     Apps & features; the installer refuses while the game runs;
#   - --version and a command-line mistake, in a console and without one;
#   - the pictures at 100 % and 200 %, and the window's colours;
#   - whole games to the score box, one by mouse and one by keyboard, ended
#     with "No" and status 0, a screenshot of the table kept;
#   - the donation button, with a stand-in browser registered for .htm
#     files: from the installed folder, the same folder read-only, and a copy
#     unpacked from the archive into a folder named outside the old code pages;
#   - the start-up to the first box against a bare Qt box;
#   - an upgrade over an older version, and the uninstaller.
# usage: installed.sh WINDOWS_DIR TESTS_BUILD
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
out=$(realpath "$1")
tests=$(realpath "$2")
# shellcheck source=../../packaging/windows/wine.sh
source "$root/packaging/windows/wine.sh"

setup=$(ls "$out"/trivanta-*-setup.exe)
archive=$(ls "$out"/trivanta-*-win64.zip)
version=${setup##*/trivanta-}
version=${version%-setup.exe}
address=$(sed -n 's/.*IndirizzoDonazione = "\(.*\)";/\1/p' "$root/game/Testi.h")
artefacts=$out/artefacts
mkdir -p "$artefacts"
rm -f "$artefacts"/failure-*
wine=/usr/lib/wine/wine64

# A failure keeps what the screen showed and the last game's log, so that the
# run says what it saw.
failures=0
fail() {
    failures=$((failures + 1))
    echo "FAIL: $* (artefacts/failure-$failures.png)" >&2
    import -window root "$artefacts/failure-$failures.png" 2>/dev/null || true
    [ ! -f "${WINEPREFIX:-/nonexistent}/game.log" ] ||
        cp "$WINEPREFIX/game.log" "$artefacts/failure-$failures.log"
}
ok() { echo "ok: $*"; }
# A command that fails outside a check stops the run, saying where.
set -E
trap '[[ $- != *e* ]] || fail "installed.sh stopped at line $LINENO: $BASH_COMMAND"' ERR

readonly_mount=""
cleanup() {
    [ -z "$readonly_mount" ] || umount "$readonly_mount" 2>/dev/null || true
    [ -z "${watcher:-}" ] || kill "$watcher" 2>/dev/null || true
    [ -z "${window_manager:-}" ] || kill "$window_manager" 2>/dev/null || true
    wine_stop
}
trap cleanup EXIT

# --- Driving the program ---------------------------------------------------------
# The table's places in the client area (ui/Layout.h, in pixels at 100 %),
# found on the screen from the green table's corner, 24,136 in the client
# area; at 200 % every figure doubles.
declare -A centre=([user0]="548 384" [user1]="644 384" [user2]="740 384" [gioca]="648 244"
    [command1]="644 20")
client_x=0 client_y=0 scale=1

find_client() { # the client area's origin on the screen, from the table's green
    local geometry x y w h
    import -window root "$WINEPREFIX/calibrate.png"
    geometry=$(convert "$WINEPREFIX/calibrate.png" -fill black +opaque 'rgb(0,128,0)' -trim \
        -format '%X %Y %w %h' info: | tr -d '+')
    read -r x y w h <<<"$geometry"
    if [ "$w" != $((377 * scale)) ] || [ "$h" != $((177 * scale)) ]; then
        fail "the green table is ${w}x$h on the screen, not $((377 * scale))x$((177 * scale))"
        return 1
    fi
    client_x=$((x - 24 * scale)) client_y=$((y - 136 * scale))
}

click() { # PLACE
    read -r x y <<<"${centre[$1]}"
    xdotool mousemove $((client_x + x * scale)) $((client_y + y * scale)) click 1
}

# The main window: the visible window of that title that is not a box; boxes
# are narrower than the table.
main_window() {
    local id
    for id in $(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null); do
        eval "$(xdotool getwindowgeometry --shell "$id")"
        if [ "$WIDTH" -ge $((794 * scale)) ]; then
            echo "$id"
            return 0
        fi
    done
    return 1
}

# Waits for the program PID to end and returns its status; one still running
# after SECONDS is ended, and the status is 124.
ended() { # PID SECONDS
    if timeout "$2" tail --pid="$1" -f /dev/null; then
        wait "$1"
        return
    fi
    kill "$1" 2>/dev/null || true
    /usr/lib/wine/wineserver -k 2>/dev/null || true
    wait "$1" 2>/dev/null || true
    return 124
}

# A box: a visible window titled TITLE other than the main window.
wait_for_box() { # TITLE MAIN SECONDS PID
    local tenths=$(($3 * 10)) id
    while [ $tenths -gt 0 ]; do
        for id in $(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null); do
            [ "$id" = "$2" ] || { echo "$id"; return 0; }
        done
        kill -0 "$4" 2>/dev/null || return 1
        sleep 0.1
        tenths=$((tenths - 1))
    done
    return 1
}

wait_gone() { # WINDOW SECONDS
    local tenths=$(($2 * 10))
    while [ $tenths -gt 0 ]; do
        xdotool getwindowname "$1" >/dev/null 2>&1 || return 0
        xdotool search --onlyvisible --name . 2>/dev/null | grep -qx "$1" || return 0
        sleep 0.1
        tenths=$((tenths - 1))
    done
    return 1
}

# Answers a box with a key (Return is its default button), or with a click
# on its last button, which is OK alone or the "No" right of "Sì": buttons of
# 75 x 23 pixels, 11 from the box's right and bottom edges, at 100 %.
answer_box() { # WINDOW KEY|click
    if [ "$2" = click ]; then
        eval "$(xdotool getwindowgeometry --shell "$1")"
        xdotool mousemove --window "$1" $((WIDTH - 48 * scale)) $((HEIGHT - 22 * scale)) click 1
    else
        xdotool windowactivate --sync "$1" 2>/dev/null || xdotool windowfocus "$1"
        xdotool key --clearmodifiers "$2"
    fi
    wait_gone "$1" 10
}

# Room for the window at 200 %.
wine_start "$out/wine-installed" 2048x1536
drive=$WINEPREFIX/drive_c
# A window manager hands the keyboard to the window in front, as a desktop
# does; without one no Wine window ever has it.
openbox >"$WINEPREFIX/openbox.log" 2>&1 &
window_manager=$!

snapshot() {
    (cd "$drive" && find . -path ./windows -prune -o -path './users/*/Temp' -prune -o -print | sort)
}
snapshot >"$WINEPREFIX/before.files"

# --- Installing --------------------------------------------------------------
program_files="$drive/Program Files/Trivanta"
start_menu="$drive/ProgramData/Microsoft/Windows/Start Menu/Programs"
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Trivanta'

reg_value() { # KEY NAME: the value's data, or nothing
    "$wine" reg query "$1" /v "$2" /reg:64 2>/dev/null | tr -d '\r' |
        sed -n "s/^ *$2 *REG_[A-Z_]* *//p"
}

"$wine" "$setup" /S
/usr/lib/wine/wineserver -w
(cd "$out/stage/Trivanta" && find . -type f | sort) >"$WINEPREFIX/staged"
(cd "$program_files" && find . -type f ! -name uninstall.exe | sort) >"$WINEPREFIX/installed"
if diff -u "$WINEPREFIX/staged" "$WINEPREFIX/installed"; then
    ok "the installer put exactly the $(wc -l <"$WINEPREFIX/staged") files of the archive into Program Files\\Trivanta"
else
    fail "the installed files are not the staged ones"
fi
[ -f "$program_files/uninstall.exe" ] || fail "no uninstaller"
for shortcut in "Trivanta" "Trivanta - avversario esperto"; do
    [ -f "$start_menu/$shortcut.lnk" ] || fail "no Start menu shortcut \"$shortcut\""
done
entry_ok=yes
for check in "DisplayName=Trivanta" "DisplayVersion=$version" "Publisher=Trivanta Team" \
    'DisplayIcon=C:\Program Files\Trivanta\trivanta.exe,0' \
    'UninstallString="C:\Program Files\Trivanta\uninstall.exe"' \
    'QuietUninstallString="C:\Program Files\Trivanta\uninstall.exe" /S'; do
    name=${check%%=*}
    got=$(reg_value "$uninstall_key" "$name")
    [ "$got" = "${check#*=}" ] || { fail "Apps & features: $name is '$got'"; entry_ok=no; }
done
size=$(reg_value "$uninstall_key" EstimatedSize)
[ -n "$size" ] && [ $((size)) -gt 1000 ] || { fail "Apps & features: EstimatedSize '$size'"; entry_ok=no; }
[ $entry_ok = no ] || ok "Apps & features: name, version, publisher, icon, size $((size)) KiB, both uninstall strings"
# What the entry names must be there: the icon's program and the uninstaller.
for name in DisplayIcon UninstallString QuietUninstallString; do
    value=$(reg_value "$uninstall_key" "$name")
    value=${value#\"}
    value=${value%%\"*}
    value=${value%,0}
    file=$value
    [[ $value == [Cc]:\\* ]] && file=$drive/${value:3} && file=${file//\\//}
    [ -n "$value" ] && [ -f "$file" ] && [ -s "$file" ] ||
        fail "Apps & features: $name names '$value', which is not a file"
done

installed_exe='C:\Program Files\Trivanta\trivanta.exe'

# --- The command line --------------------------------------------------------
# With a console (here, output to a pipe) the answer is text; a box would wait
# for a click that never comes, so each gets a minute.
answer=$(timeout 60 "$wine" "$installed_exe" --version 2>/dev/null | tr -d '\r' || true)
[ "$answer" = "Trivanta $version" ] && ok "--version prints \"$answer\"" ||
    fail "--version printed '$answer'"
set +e
timeout 60 "$wine" "$installed_exe" --avversario nessuno >/dev/null 2>"$WINEPREFIX/mistake"
status=$?
set -e
/usr/lib/wine/wineserver -k 2>/dev/null || true
[ $status -eq 2 ] && grep -q "nessuno" "$WINEPREFIX/mistake" &&
    ok "a command-line mistake ends with status 2 and names the value" ||
    fail "a mistake ended with status $status: $(cat "$WINEPREFIX/mistake")"

# Started from the desktop there is no console: the answer comes in a box.
"$wine" "$installed_exe" --version >&- 2>&- &
pid=$!
if box=$(wait_for_window '^Trivanta$' 30 $pid); then
    import -window "$box" "$artefacts/version-box.png"
    answer_box "$box" Return
    set +e
    ended $pid 20
    status=$?
    set -e
    [ $status -eq 0 ] && ok "--version without a console shows a box, then status 0" ||
        fail "--version's box ended with status $status"
else
    fail "--version without a console showed nothing"
fi

# --- The pictures at 100 % and 200 % -----------------------------------------------
# The trump card on the screen is, pixel for pixel, the committed picture
# drawn for that scale: the GIF at 100 %, the picture of twice the size at
# 200 % (Windows' "Scale" setting, 192 dots per inch).
# Starts EXE (the installed program unless given) and answers its dealer's
# box by ANSWER (click or a key); sets pid and main.
start_game() { # ANSWER [EXE]
    "$wine" "${2:-$installed_exe}" >"$WINEPREFIX/game.log" 2>&1 &
    pid=$!
    local box
    box=$(wait_for_box Trivanta none 60 $pid) || { fail "no dealer's box"; return 1; }
    answer_box "$box" "$1"
    main=""
    for _ in $(seq 100); do
        main=$(main_window Trivanta) && break
        sleep 0.1
    done
    [ -n "$main" ] || { fail "no game window after the dealer's box"; return 1; }
    sleep 0.5
    find_client
}

quit_game() { # File > Esci; the program must end with status 0
    local status
    xdotool windowactivate --sync "$main" 2>/dev/null || xdotool windowfocus "$main"
    xdotool key --clearmodifiers alt+f e
    set +e
    ended $pid 20
    status=$?
    set -e
    return $status
}

# The colours of the Linux window, as Windows draws them: the green of the
# donation buttons (the native style would paint them grey), the red marker
# around the chosen card, and the keyboard's black and white frame on it.
pixel() { # X Y in the client area: "R G B" on the last screenshot
    convert "$WINEPREFIX/calibrate.png" -crop "1x1+$((client_x + $1))+$((client_y + $2))" \
        -format '%[fx:int(255*r)] %[fx:int(255*g)] %[fx:int(255*b)]' info:
}
check_colours() {
    local r g b marker frame good=yes
    read -r r g b <<<"$(pixel 518 20)"
    marker=$(pixel 505 380)
    frame="$(pixel 512 377), $(pixel 514 377)"
    [ "$g" -ge 200 ] && [ "$r" -le 160 ] && [ "$b" -le 160 ] || { fail "the donation button is $r,$g,$b, not green"; good=no; }
    [ "$marker" = "255 0 0" ] || { fail "the marker is $marker, not red"; good=no; }
    [ "$frame" = "0 0 0, 255 255 255" ] || { fail "the focus frame is $frame, not black and white"; good=no; }
    [ $good = no ] || ok "the donation button green ($r,$g,$b), the marker red, the focus frame black and white"
}

for scale in 1 2; do
    "$wine" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d $((96 * scale)) /f \
        >/dev/null 2>&1
    start_game click || { quit_game || true; continue; }
    import -window root -crop $((74 * scale))x$((130 * scale))+$((client_x + 298 * scale))+$((client_y + 154 * scale)) \
        +repage "$WINEPREFIX/trump.png"
    import -window "$main" "$artefacts/table-$((100 * scale)).png"
    match=""
    for picture in "$root"/assets/cards/[obcs][0-9]$([ $scale = 1 ] && echo .gif || echo @2x.png); do
        if [ "$(compare -metric AE "$WINEPREFIX/trump.png" "$picture" null: 2>&1)" = 0 ]; then
            match=$(basename "$picture")
        fi
    done
    eval "$(xdotool getwindowgeometry --shell "$main")"
    if [ -n "$match" ] && [ "$WIDTH" = $((794 * scale)) ]; then
        ok "at $((100 * scale)) %: a window $WIDTH pixels wide, the trump card is $match, pixel for pixel"
    else
        fail "at $((100 * scale)) %: a window $WIDTH wide, the trump card matches no picture (artefacts/table-$((100 * scale)).png)"
    fi
    if [ $scale = 1 ]; then
        check_colours
    fi
    quit_game || fail "at $((100 * scale)) %: Esci ended the program with status $?"
done
scale=1
"$wine" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 96 /f >/dev/null 2>&1

# --- Playing -----------------------------------------------------------------
# One whole game: WAY is mouse or keyboard. Ends when the score box has been
# answered "No" and the program has ended; its status must be 0.
play_game() {
    local way=$1 box trick=0 status answer=n ok=Return
    [ "$way" = keyboard ] || answer=click ok=click
    start_game "$ok" || return
    while true; do
        if [ "$way" = mouse ]; then
            # The leftmost card still in the hand: a click on an empty place
            # chooses nothing.
            click user2
            click user1
            click user0
            click gioca
        else
            xdotool windowactivate --sync "$main" 2>/dev/null || xdotool windowfocus "$main"
            xdotool key --clearmodifiers 1 Return
        fi
        if box=$(wait_for_box Trivanta "$main" 20 $pid); then
            trick=$((trick + 1))
            if [ $trick -eq 1 ] && [ "$way" = mouse ]; then
                import -window root "$artefacts/table-under-wine.png"
            fi
            answer_box "$box" "$ok" || { fail "$way: the box of trick $trick stays"; return; }
        elif box=$(wait_for_box "Fine partita" "$main" 1 $pid); then
            break
        else
            fail "$way: after trick $trick neither a trick's box nor the score box"
            import -window root "$artefacts/stuck-$way.png"
            return
        fi
        if box=$(wait_for_box "Fine partita" "$main" 1 $pid); then
            break
        fi
        [ $trick -le 20 ] || { fail "$way: more than 20 tricks"; return; }
    done
    import -window root "$artefacts/score-$way.png"
    # "No": clicked, or chosen by its access key.
    answer_box "$box" "$answer"
    # The farewell.
    if box=$(wait_for_box Trivanta "$main" 10 $pid); then
        answer_box "$box" "$ok"
    fi
    set +e
    ended $pid 20
    status=$?
    set -e
    [ $status -eq 0 ] && [ $trick -eq 20 ] && ok "$way: a whole game of 20 tricks to the score box, \"No\", status 0" ||
        fail "$way: $trick tricks, status $status"
}

play_game mouse
# In Italian: the score box of its screenshot says "Sì" and "No".
LANG=it_IT.UTF-8 play_game keyboard

# --- The Start menu's shortcuts ----------------------------------------------------
# Each shortcut, opened as the Start menu opens it, starts the game it names:
# the window's title says which computer player it plays against.
for shortcut in "Trivanta" "Trivanta - avversario esperto"; do
    "$wine" start /unix "$start_menu/$shortcut.lnk" >"$WINEPREFIX/game.log" 2>&1
    # The game is a process of its own: this script stands in for its pid.
    if ! box=$(wait_for_box Trivanta none 60 $$); then
        fail "the shortcut \"$shortcut\" showed no dealer's box"
        /usr/lib/wine/wineserver -k 2>/dev/null || true
        continue
    fi
    answer_box "$box" Return
    main=""
    for _ in $(seq 100); do
        main=$(main_window "$shortcut") && break
        sleep 0.1
    done
    if [ -n "$main" ]; then
        ok "the shortcut \"$shortcut\" starts the game titled \"$shortcut\""
        xdotool windowactivate --sync "$main" 2>/dev/null || xdotool windowfocus "$main"
        xdotool key --clearmodifiers alt+f e
        timeout 20 /usr/lib/wine/wineserver -w || fail "the game of \"$shortcut\" did not end with Esci"
    else
        fail "the shortcut \"$shortcut\" started no window titled \"$shortcut\": $(xdotool search --onlyvisible --name . getwindowname %@ 2>/dev/null | tr '\n' ',')"
    fi
    /usr/lib/wine/wineserver -k 2>/dev/null || true
done

# --- Windows in Italian ------------------------------------------------------------
# On an Italian Windows the buttons of the boxes are Windows' own words: the
# access key of "Sì" answers "Nuova partita"'s question, which the English
# "Yes" (y) cannot; the same game in English takes y and not s.
speaks() { # LANG YES_KEY OTHER_KEY: the question is answered by YES_KEY alone
    local lang=$1 key=$2 other=$3 box question
    LANG=$lang start_game Return || return
    xdotool windowactivate --sync "$main" 2>/dev/null || xdotool windowfocus "$main"
    xdotool key --clearmodifiers alt+f n
    if ! question=$(wait_for_box 'Sicuro\?' "$main" 10 $pid); then
        fail "$lang: File > Nuova partita asked nothing"
    else
        import -window root "$artefacts/sicuro-$lang.png"
        xdotool windowactivate --sync "$question" 2>/dev/null || xdotool windowfocus "$question"
        xdotool key --clearmodifiers "$other"
        sleep 1
        if ! xdotool search --onlyvisible --name '^Sicuro\?$' 2>/dev/null | grep -qx "$question"; then
            fail "$lang: the key $other answered the question (artefacts/sicuro-$lang.png)"
        else
            xdotool key --clearmodifiers "$key"
            # Yes deals a new game, whose dealer's box comes next.
            if box=$(wait_for_box Trivanta "$main" 10 $pid); then
                ok "$lang: the question's buttons answer to $key, not to $other (artefacts/sicuro-$lang.png)"
                answer_box "$box" Return
            else
                fail "$lang: the key $key did not answer Yes (artefacts/sicuro-$lang.png)"
            fi
        fi
    fi
    quit_game || fail "$lang: Esci ended the program with status $?"
}
speaks it_IT.UTF-8 s y
speaks en_US.UTF-8 y s

# --- The donation link --------------------------------------------------------
# The stand-in browser, registered for .htm files.
mkdir -p "$drive/navigatore"
cp "$tests/tests/windows/navigatore.exe" "$drive/navigatore/"
log="$drive/navigatore/avvii.txt"
cat >"$WINEPREFIX/htm.reg" <<'REG'
Windows Registry Editor Version 5.00

[HKEY_CLASSES_ROOT\.htm]
@="TrivantaProva.htm"

[HKEY_CLASSES_ROOT\TrivantaProva.htm\shell\open\command]
@="\"C:\\navigatore\\navigatore.exe\" \"%1\""
REG
"$wine" reg import "$(winpath "$WINEPREFIX/htm.reg")" /reg:64 2>/dev/null

# Presses the first donation button of the program at EXE (a Windows path)
# and checks that the browser got the address, alone, once; that the
# throw-away file came and went in FOLDER, the folder being watched; that no
# box was shown; and that no test.htm is left anywhere.
donate() { # LABEL EXE FOLDER
    local label=$1 exe=$2 folder=$3 box status=0
    rm -f "$log"
    inotifywait -q -m -e create -e delete --format '%e %f' "$folder" >"$WINEPREFIX/events" 2>&1 &
    watcher=$!
    sleep 0.5
    start_game click "$exe" || return
    click command1
    for _ in $(seq 200); do
        [ -s "$log" ] && break
        sleep 0.1
    done
    if box=$(wait_for_box Trivanta "$main" 2 $pid); then
        import -window root "$artefacts/donation-box-$label.png"
        fail "$label: a box after the donation button (artefacts/donation-box-$label.png)"
        answer_box "$box" Return
    fi
    quit_game || status=$?
    sleep 0.5
    kill "$watcher" 2>/dev/null || true
    wait "$watcher" 2>/dev/null || true
    watcher=""
    if [ "$(cat "$log" 2>/dev/null)" = "$address" ]; then
        ok "$label: the browser was started once with the whole address as its one argument"
    else
        fail "$label: the browser got '$(cat "$log" 2>/dev/null)'"
    fi
    if grep -qx "CREATE test.htm" "$WINEPREFIX/events" && grep -qx "DELETE test.htm" "$WINEPREFIX/events"; then
        ok "$label: test.htm was written and removed in $(basename "$folder")"
    else
        fail "$label: test.htm did not come and go in $folder: $(tr '\n' ' ' <"$WINEPREFIX/events")"
    fi
    left=$(find "$drive" -iname test.htm)
    [ -z "$left" ] || fail "$label: test.htm left behind: $left"
    [ "$status" -eq 0 ] || fail "$label: Esci ended the program with status $status"
}

donate installed "$installed_exe" "$program_files"

# The installed folder closed to writing, as Program Files is to a user: the
# file goes to the user's Temp folder, into a folder of the program's own,
# which goes with it.
temp=$(find "$drive/users" -maxdepth 4 -type d -name Temp | head -1)
mkdir -p "$temp/trivanta"
if mount --bind "$program_files" "$program_files" 2>/dev/null &&
    mount -o remount,bind,ro "$program_files" "$program_files"; then
    readonly_mount=$program_files
    donate read-only "$installed_exe" "$temp/trivanta"
    umount "$program_files"
    readonly_mount=""
    [ ! -e "$temp/trivanta" ] || fail "read-only: the private folder in Temp stays"
else
    fail "the installed folder could not be made read-only (a bind mount needs root)"
fi

# The archive unpacked into a folder that the old code pages cannot name.
strange="$drive/Łódź ñ 東京"
mkdir -p "$strange"
unzip -q "$archive" -d "$strange"
donate "Łódź ñ 東京" 'C:\Łódź ñ 東京\Trivanta\trivanta.exe' "$strange/Trivanta"

"$wine" reg delete 'HKCR\TrivantaProva.htm' /f /reg:64 >/dev/null 2>&1 || true
"$wine" reg delete 'HKCR\.htm' /f /reg:64 >/dev/null 2>&1 || true
rm -rf "$drive/navigatore" "$strange"

# --- Start-up ---------------------------------------------------------------
# From the start to the first box, the installed program against a bare Qt
# box beside it (the same DLLs), in turns, the median of five each. A bare Qt
# window too: Qt probes the graphics card (Direct3D 9) for a program's first
# ordinary window, which a box alone never opens; the game's box has its
# window behind it.
bare_dir="$drive/bare"
cp -r "$program_files" "$bare_dir"
rm -f "$bare_dir/uninstall.exe"
x86_64-w64-mingw32-strip --strip-unneeded -o "$bare_dir/bare_window.exe" "$tests/bench/bare_window.exe"
first_box() { # TITLE EXE ARGS...: milliseconds to the first visible window of TITLE
    local title=$1 start pid ms
    shift
    start=$(date +%s%N)
    "$wine" "$@" >/dev/null 2>&1 &
    pid=$!
    wait_for_window "^$title\$" 60 $pid >/dev/null || { echo timeout; return; }
    ms=$((($(date +%s%N) - start) / 1000000))
    kill $pid 2>/dev/null || true
    wait $pid 2>/dev/null || true
    echo $ms
}
own=() bare=() bare_window=()
for _ in 1 2 3 4 5 6; do
    own+=("$(first_box Trivanta "$installed_exe")")
    bare+=("$(first_box Bare 'C:\bare\bare_window.exe' --box)")
    bare_window+=("$(first_box Bare 'C:\bare\bare_window.exe')")
done
median() { printf '%s\n' "$@" | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
own_ms=$(median "${own[@]:1}")
bare_ms=$(median "${bare[@]:1}")
bare_window_ms=$(median "${bare_window[@]:1}")
[[ " ${own[*]} ${bare[*]} ${bare_window[*]} " != *timeout* ]] ||
    fail "a program showed no window within a minute: Trivanta ${own[*]}, box ${bare[*]}, window ${bare_window[*]}"
rm -rf "$bare_dir"
ratio() { awk "BEGIN { printf \"%.2f\", $1 / $2 }"; }
echo "start-up to the first box (median of 5 after one warm-up each): Trivanta $own_ms ms, bare Qt box $bare_ms ms, ratio $(ratio "$own_ms" "$bare_ms"); bare Qt window $bare_window_ms ms, ratio $(ratio "$own_ms" "$bare_window_ms")" |
    tee "$artefacts/startup.txt"

# --- Running, upgrading, uninstalling --------------------------------------------
# The installer and the uninstaller each refuse, before they touch anything
# (status 3), to replace or remove a game in play.
"$wine" "$installed_exe" >/dev/null 2>&1 &
pid=$!
box=$(wait_for_box Trivanta none 60 $pid) || fail "no dealer's box"
ours() { find "$program_files" "$start_menu" -printf '%p %s %T@\n' | sort | md5sum; }
before=$(ours)
refuses() { # NAME PROGRAM ARGS...: ends with status 3 and changes nothing
    local name=$1 status
    shift
    set +e
    "$wine" "$@"
    status=$?
    set -e
    [ $status -eq 3 ] && [ "$(ours)" = "$before" ] &&
        ok "$name refuses while the game runs (status 3), nothing changed" ||
        fail "$name while the game runs: status $status, not 3, or our files changed"
}
refuses "the installer" "$setup" /S
# _?= keeps the uninstaller where it is, so that its status is its own; a
# copy in a folder without blanks, as _?= takes no quotes.
mkdir -p "$drive/copia"
cp "$program_files/uninstall.exe" "$drive/copia/"
refuses "the uninstaller" 'C:\copia\uninstall.exe' /S '_?=C:\copia'
rm -rf "$drive/copia"
kill $pid 2>/dev/null || true
wait $pid 2>/dev/null || true
/usr/lib/wine/wineserver -w

uninstall() {
    "$wine" 'C:\Program Files\Trivanta\uninstall.exe' /S
    /usr/lib/wine/wineserver -w
}
check_clean() { # LABEL
    snapshot >"$WINEPREFIX/after.files"
    if diff -u "$WINEPREFIX/before.files" "$WINEPREFIX/after.files" >"$WINEPREFIX/files.diff"; then
        ok "$1: no file or shortcut of ours is left"
    else
        fail "$1: files differ from before the install: $(grep '^[-+]\.' "$WINEPREFIX/files.diff" | head -5 | tr '\n' ' ')"
    fi
    if "$wine" reg query "$uninstall_key" /reg:64 >/dev/null 2>&1; then
        fail "$1: the Apps & features entry stays"
    else
        ok "$1: the Apps & features entry is gone"
    fi
    keys=$("$wine" reg export HKLM "$(winpath "$WINEPREFIX/hklm.reg")" /reg:64 /y >/dev/null 2>&1 &&
        iconv -f UTF-16 -t UTF-8 "$WINEPREFIX/hklm.reg" | grep -ic trivanta || true)
    [ "${keys:-0}" -eq 0 ] && ok "$1: no registry key or value names Trivanta" ||
        fail "$1: $keys registry lines name Trivanta"
}
uninstall
check_clean uninstall

# An upgrade: an older version with a file that the new one no longer has,
# then this installer over it.
old=$WINEPREFIX/old
cp -r "$out/stage/Trivanta" "$old"
echo "only in the old version" >"$old/vecchio.txt"
mkdir -p "$old/vecchia"
echo "only in the old version" >"$old/vecchia/vecchio.dll"
"$root/packaging/windows/make-installer.sh" "$old" 0.9 "$out/stage/trivanta.ico" "$WINEPREFIX/old-setup.exe" >/dev/null
"$wine" "$WINEPREFIX/old-setup.exe" /S
/usr/lib/wine/wineserver -w
[ "$(reg_value "$uninstall_key" DisplayVersion)" = 0.9 ] || fail "the old version did not install"
"$wine" "$setup" /S
/usr/lib/wine/wineserver -w
(cd "$program_files" && find . -type f ! -name uninstall.exe | sort) >"$WINEPREFIX/installed"
if diff -q "$WINEPREFIX/staged" "$WINEPREFIX/installed" >/dev/null &&
    [ "$(reg_value "$uninstall_key" DisplayVersion)" = "$version" ]; then
    ok "an upgrade from 0.9 leaves exactly version $version's files and entry"
else
    fail "the upgrade left: $(diff "$WINEPREFIX/staged" "$WINEPREFIX/installed" | tr '\n' ' ')"
fi
uninstall
check_clean "uninstall after the upgrade"

echo "failures: $failures"
trap - ERR
[ $failures -eq 0 ]
