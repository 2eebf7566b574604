#!/usr/bin/env bash
# Builds the benchmarks (Release) and prints every figure with its target:
#   - whole games in the game core, on one core;
#   - the expert's time per decision over the positions of 60 games (median
#     and 99th percentile), and the playouts per second of its simulations,
#     on one core;
#   - a redraw of the table rendered into the real window, loading the 41
#     pictures, building the window (offscreen);
#   - the real program from its start to its first box under Xvfb, and its
#     peak memory, each against a bare Qt 6 window built here
#     (bench/BareWindow.cpp), measured in turns in the same run, median of RUNS;
#     also against the same window showing one line of text, which makes Qt
#     load its fonts as every window with text must;
#   - the same two figures for the desktop card games a Linux user would pick
#     instead, GNOME's AisleRiot (sol) and KDE's KPatience (kpat), installed
#     here on demand, as ratios: ours against theirs.
# BUILD_DIR (default build/bench) and RUNS (default 9) can be set.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh --test
# The rivals, only for this comparison.
rivals=(aisleriot kpat dbus)
missing=()
for p in "${rivals[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo=sudo
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
build=${BUILD_DIR:-build/bench}
runs=${RUNS:-9}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTRIVANTA_BENCHMARKS=ON \
    -DBUILD_TESTING=OFF >/dev/null
cmake --build "$build" --target game_bench ui_bench bare_window trivanta >/dev/null

scratch=$(mktemp -d)
xvfb_pid=
bus_pid=
cleanup() {
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    [ -n "$bus_pid" ] && kill "$bus_pid" 2>/dev/null
    rm -rf "$scratch"
}
trap cleanup EXIT
mkdir -m 700 "$scratch/runtime"
export XDG_RUNTIME_DIR=$scratch/runtime

# One CSV row per benchmark: name and the value of one column.
column() { # file benchmark column
    awk -F, -v name="$2" -v col="$3" '
        /^name,/ { for (i = 1; i <= NF; i++) { gsub(/"/, "", $i); h[$i] = i }; next }
        $1 == name || $1 == "\"" name "\"" { print $(h[col]) }' "$1"
}

echo "== game core, one core"
core=(taskset -c 0)
command -v taskset >/dev/null || core=()
# The CSV reporter wants the same counters in every row: one run per family.
for family in 'WholeGames|Reseed' EspertoDecisione Playout; do
    "${core[@]}" "$build/bench/game_bench" --benchmark_format=csv \
        --benchmark_filter="^($family)" 2>/dev/null
done >"$scratch/core.csv"
cat "$scratch/core.csv"
echo
echo "== window, offscreen"
QT_QPA_PLATFORM=offscreen "$build/bench/ui_bench" --benchmark_format=csv \
    >"$scratch/ui.csv" 2>/dev/null
cat "$scratch/ui.csv"
echo

# A private X server; it writes its display number once it accepts clients.
Xvfb -displayfd 3 -nolisten tcp -noreset -screen 0 1280x1024x24 3>"$scratch/display" \
    2>"$scratch/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 100); do
    [ -s "$scratch/display" ] && break
    sleep 0.1
done
export DISPLAY=":$(cat "$scratch/display")"
if ! xdotool getdisplaygeometry >/dev/null 2>&1; then
    echo "Xvfb is not answering on $DISPLAY:" >&2
    cat "$scratch/xvfb.log" >&2
    exit 1
fi
export QT_QPA_PLATFORM=xcb
# A session bus, as on a desktop: KDE programs look for one at start. Their
# settings go to a scratch home, written by the warm-up run.
{ read -r bus_address; read -r bus_pid; } < <(dbus-daemon --session --fork --print-address=1 --print-pid=1)
export DBUS_SESSION_BUS_ADDRESS=$bus_address
export HOME=$scratch/home
mkdir -p "$HOME"

# Starts a program, waits until a window with this exact title is shown, and
# prints the microseconds that took and the peak resident memory in KiB.
first_window() { # title program [argument]
    local t0 t1 pid hwm
    t0=$(date +%s%N)
    "$2" ${3:+"$3"} >/dev/null 2>"$scratch/stderr" &
    pid=$!
    until xdotool search --onlyvisible --pid "$pid" --name "^$1\$" >/dev/null 2>&1; do
        kill -0 "$pid" 2>/dev/null || { echo "$2 ended before its window:" >&2; cat "$scratch/stderr" >&2; return 1; }
        [ $(( $(date +%s%N) - t0 )) -lt 30000000000 ] || { echo "$2: no window" >&2; return 1; }
        sleep 0.002
    done
    t1=$(date +%s%N)
    # Let it finish painting what it shows, then read its high-water mark.
    sleep 0.3
    hwm=$(awk '/^VmHWM/ { print $2 }' "/proc/$pid/status")
    kill "$pid"
    wait "$pid" 2>/dev/null || true
    echo "$(( (t1 - t0) / 1000 )) $hwm"
}

median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

echo "== start-up to the first window under Xvfb, $runs runs in turns"
# One unmeasured run of each warms the disk cache and the font cache.
first_window Bare "$build/bench/bare_window" >/dev/null
first_window Trivanta "$build/trivanta" >/dev/null
first_window Klondike /usr/games/sol >/dev/null
first_window KPatience /usr/games/kpat >/dev/null
: >"$scratch/bare"
: >"$scratch/text"
: >"$scratch/ours"
: >"$scratch/sol"
: >"$scratch/kpat"
for _ in $(seq "$runs"); do
    first_window Bare "$build/bench/bare_window" >>"$scratch/bare"
    first_window Bare "$build/bench/bare_window" --text >>"$scratch/text"
    first_window Trivanta "$build/trivanta" >>"$scratch/ours"
    first_window Klondike /usr/games/sol >>"$scratch/sol"
    first_window KPatience /usr/games/kpat >>"$scratch/kpat"
done
for who in bare text ours sol kpat; do
    declare "${who}_us=$(cut -d' ' -f1 "$scratch/$who" | median)"
    declare "${who}_kb=$(cut -d' ' -f2 "$scratch/$who" | median)"
done

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
per_second() { awk -v v="$1" 'BEGIN { printf "%.0f", v }'; }
micro() { awk -v v="$1" 'BEGIN { printf "%.1f", v }'; }

games=$(column "$scratch/core.csv" WholeGames games/s)
expert_median=$(column "$scratch/core.csv" EspertoDecisione/iterations:1 median_ms)
expert_p99=$(column "$scratch/core.csv" EspertoDecisione/iterations:1 p99_ms)
playouts_random=$(column "$scratch/core.csv" Playout/modello:0 playouts/s)
playouts_greedy=$(column "$scratch/core.csv" Playout/modello:1 playouts/s)
playouts_sensible=$(column "$scratch/core.csv" Playout/modello:2 playouts/s)
redraw=$(column "$scratch/ui.csv" RidisegnaFinestra cpu_time)
redraw_same=$(column "$scratch/ui.csv" RidisegnaSenzaCambi cpu_time)
pictures=$(column "$scratch/ui.csv" Carica41Immagini cpu_time)
build_window=$(column "$scratch/ui.csv" CostruisciFinestra cpu_time)
show_window=$(column "$scratch/ui.csv" MostraFinestra cpu_time)

echo
echo "== summary                                          measured        target"
printf '%-50s %-15s %s\n' \
    "core games per second (one core)" "$(per_second "$games")" "" \
    "expert: time per decision, median (ms)" "$(micro "$expert_median")" "" \
    "expert: time per decision, 99th percentile (ms)" "$(micro "$expert_p99")" "<= 50" \
    "playouts per second against random/greedy/sensible" \
    "$(per_second "$playouts_random")/$(per_second "$playouts_greedy")/$(per_second "$playouts_sensible")" "" \
    "redraw rendered into the window (us)" "$(micro "$redraw")" "well under 1000" \
    "redraw with nothing changed (us)" "$(micro "$redraw_same")" "" \
    "loading the 41 pictures (us)" "$(micro "$pictures")" "" \
    "building the window (us)" "$(micro "$build_window")" "" \
    "building, dealing, showing, painting (us)" "$(micro "$show_window")" "" \
    "start to first box: program (ms)" "$(awk -v v="$ours_us" 'BEGIN { printf "%.1f", v / 1000 }')" "" \
    "start to first window: bare Qt window (ms)" "$(awk -v v="$bare_us" 'BEGIN { printf "%.1f", v / 1000 }')" "" \
    "start to first window: bare window with text (ms)" "$(awk -v v="$text_us" 'BEGIN { printf "%.1f", v / 1000 }')" "" \
    "start-up ratio" "$(ratio "$ours_us" "$bare_us")" "<= 1.2" \
    "start-up ratio against the window with text" "$(ratio "$ours_us" "$text_us")" "" \
    "peak memory: program (MiB)" "$(awk -v v="$ours_kb" 'BEGIN { printf "%.1f", v / 1024 }')" "" \
    "peak memory: bare Qt window (MiB)" "$(awk -v v="$bare_kb" 'BEGIN { printf "%.1f", v / 1024 }')" "" \
    "peak memory: bare window with text (MiB)" "$(awk -v v="$text_kb" 'BEGIN { printf "%.1f", v / 1024 }')" "" \
    "memory ratio" "$(ratio "$ours_kb" "$bare_kb")" "<= 1.2" \
    "memory ratio against the window with text" "$(ratio "$ours_kb" "$text_kb")" "" \
    "start to first window: AisleRiot, sol (ms)" "$(awk -v v="$sol_us" 'BEGIN { printf "%.1f", v / 1000 }')" "" \
    "start to first window: KPatience, kpat (ms)" "$(awk -v v="$kpat_us" 'BEGIN { printf "%.1f", v / 1000 }')" "" \
    "start-up ratio against sol; against kpat" "$(ratio "$ours_us" "$sol_us"); $(ratio "$ours_us" "$kpat_us")" "" \
    "peak memory: sol; kpat (MiB)" "$(awk -v a="$sol_kb" -v b="$kpat_kb" 'BEGIN { printf "%.1f; %.1f", a / 1024, b / 1024 }')" "" \
    "memory ratio against sol; against kpat" "$(ratio "$ours_kb" "$sol_kb"); $(ratio "$ours_kb" "$kpat_kb")" ""
