#!/usr/bin/env bash
# The command lines, as a user meets them in a terminal (no display is needed
# for any of this). The program: --help lists the options that the manual
# page lists, --version names the project's version, and every mistake ends
# at once with status 2 and one line on standard error that names the valid
# values, before any window or box. The arena: --help lists every option it
# takes on standard output, and its mistakes end the same way.
# usage: options.sh PROGRAM ARENA SOURCE_DIR BUILD_DIR
set -uo pipefail

program=${1:?usage: options.sh PROGRAM ARENA SOURCE_DIR BUILD_DIR}
arena=${2:?} source_dir=${3:?} build=${4:?}
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}
out=$(mktemp) err=$(mktemp)
trap 'rm -f "$out" "$err"' EXIT

# No display at all: a run that tried to open one would fail or hang here.
under=$program
run() { env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb timeout 10 "$under" "$@" >"$out" 2>"$err"; }

# A mistake: status 2, nothing on standard output, one line on standard error
# that names what would have been right (the first argument).
refused() {
    local valid=$1
    shift
    run "$@"
    local status=$?
    [ "$status" -eq 2 ] || fail "'$*' ended with status $status, not 2"
    [ ! -s "$out" ] || fail "'$*' wrote to standard output"
    [ "$(wc -l <"$err")" -eq 1 ] || fail "'$*' wrote $(wc -l <"$err") lines to standard error"
    grep -qF -- "$valid" "$err" || fail "'$*' does not name the valid values: $(cat "$err")"
}
options='--avversario casuale|esperto, --seme N, --help, --version'
refused 'casuale, esperto' --avversario pippo
refused 'casuale, esperto' --avversario Esperto
refused 'casuale, esperto' --avversario
# A seed is digits alone: no sign, no blank around it. '': the value missing.
for seme in '' abc -1 +5 ' 5' '5 ' 5x 18446744073709551616; do
    refused 18446744073709551615 --seme ${seme:+"$seme"}
done
refused "$options" --colore rosso
refused "$options" -x
refused "$options" partita

# --version: the project's version, as CMake has it.
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
run --version && [ "$(cat "$out")" = "Trivanta $version" ] ||
    fail "--version printed '$(cat "$out")', not 'Trivanta $version'"

# --help lists exactly the options of the manual page, as the page writes them.
run --help || fail "--help ended with status $?"
help_options=$(grep -oE '^  --[a-z]+( <[^>]+>)?' "$out" | sed 's/^  //' | sort)
page_options=$(sed -n '/^\.TP/{n;p}' "$source_dir/packaging/trivanta.6.in" |
    sed -E 's/^\.B[I]? //; s/\\-/-/g; s/" <([^>]+)>"/ <\1>/; s/"//g; s/  +/ /g' | sort)
[ -n "$help_options" ] && [ "$help_options" = "$page_options" ] ||
    fail "--help and the manual page list different options:
$(diff <(echo "$help_options") <(echo "$page_options"))"

# The arena's --help names each option that this run takes, each at the edge
# of its values, and says what it does; the run reads the seed exactly.
under=$arena
takes=(--partite 1 --seme 18446744073709551615 --campioni 1 --thread 1 --modelli esperto goloso)
run --help && [ ! -s "$err" ] || fail "the arena's --help failed or wrote to standard error"
listed=$(grep -oE '^  --[a-z]+( [A-Z])?  +[a-z]' "$out" | grep -oE -- '--[a-z]+' | sort)
[ "$listed" = "$(printf '%s\n' "${takes[@]}" --help | grep -- '^--' | sort)" ] ||
    fail "the arena's --help lists other options: $listed"
run "${takes[@]}" && grep -q '^seed 18446744073709551615,' "$out" ||
    fail "the arena did not play as asked: $(cat "$out" "$err")"
players='casuale, goloso, esperto'
refused "$players" pippo goloso
refused "$players" esperto
refused "$players" casuale goloso esperto
refused '1 to 2147483647' --partite 0 esperto goloso
refused '1 to 2147483647' --thread abc esperto goloso
refused '1 to 2147483647' --campioni
refused '0 to 18446744073709551615' --seme +5 esperto goloso
refused '0 to 18446744073709551615' --seme 18446744073709551616 esperto goloso
refused '--help' --colore esperto goloso

[ "$failures" -eq 0 ] || exit 1
echo "command lines: mistakes end with status 2 and one line; each --help lists the options taken"
