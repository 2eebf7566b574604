#!/usr/bin/env bash
# Every test of every platform Trivanta ships, each part on its own and timed:
#   1. Linux and the browser: scripts/test.sh
#   2. Windows, cross-built and run under Wine: scripts/test-windows.sh
#      (builds Qt for Windows first when its cache lacks it)
# Each part runs whatever the other's outcome; the status is the first
# failure's. Sets up what each part needs on a fresh Debian 12 machine.
set -uo pipefail
cd "$(dirname "$0")/.."

status=0
summary=()
part() { # NAME COMMAND...
    local name=$1 start=$SECONDS result=0
    shift
    echo "=== $name"
    "$@" || result=$?
    summary+=("$name: $((SECONDS - start)) s, $([ $result -eq 0 ] && echo passed || echo "FAILED (status $result)")")
    echo "=== ${summary[-1]}"
    [ $status -ne 0 ] || status=$result
}

part "Linux and the browser (scripts/test.sh)" scripts/test.sh
part "Windows under Wine (scripts/test-windows.sh)" scripts/test-windows.sh

echo "=== Summary"
printf '%s\n' "${summary[@]}"
exit $status
