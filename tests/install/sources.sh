#!/usr/bin/env bash
# The deb-src entries that the Windows set-up adds, read back by apt itself
# on machines laid out in every way Debian 12 ships: deb822 only (the
# container image), sources.list only (an installer's), both at once, with
# sources already there, with another program's archive and a disabled
# entry beside Debian's. Each time apt must see the sources of exactly
# Debian's archives, each once and without a warning, and a second run must
# change nothing.
# usage: sources.sh PROJECT_DIR
set -euo pipefail
script=$1/scripts/deb-src.sh
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

keyring=/usr/share/keyrings/debian-archive-keyring.gpg
deb822_debian="Types: deb
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: $keyring

Types: deb
URIs: http://deb.debian.org/debian-security
Suites: bookworm-security
Components: main
Signed-By: $keyring"
deb822_other="Types: deb
URIs: https://apt.example.com/tool
Suites: stable
Components: main

# switched off: apt must not see it, nor may we
Enabled: no
Types: deb
URIs: http://deb.debian.org/debian
Suites: bookworm-backports
Components: main"
list_debian="# the installer's list
deb [arch=amd64 signed-by=$keyring] http://deb.debian.org/debian/ bookworm main contrib
deb http://deb.debian.org/debian-security bookworm-security main
deb http://deb.debian.org/debian bookworm-updates main"
list_other="deb http://apt.example.com/tool stable main"

# A machine: its apt folder with the files given as NAME=TEXT.
machine() {
    local dir=$scratch/$1
    shift
    mkdir -p "$dir/sources.list.d" "$dir/trusted.gpg.d"
    for file in "$@"; do
        printf '%s\n' "${file#*=}" >"$dir/${file%%=*}"
    done
    echo "$dir"
}

# What apt reads: "TYPE URI SUITE" per index, its warnings on stderr.
targets() { # DIR
    apt-get -o Dir::Etc="$1" -o Dir::Etc::trusted="$1/trusted.gpg" \
        -o Dir::Etc::trustedparts="$1/trusted.gpg.d" indextargets --no-release-info \
        --format '$(CREATED_BY) $(REPO_URI) $(RELEASE)' 2>"$1/apt.err" | sort -u || true
}

# Sets `first` to what the first run printed.
check() { # NAME DIR
    local name=$1 dir=$2 second before
    first=$("$script" "$dir")
    targets "$dir" >"$dir/targets"
    # Every Debian archive with packages has its sources, and nothing else does.
    want=$(sed -n 's|^Packages \(http://deb.debian.org/debian[^ ]*\) |Sources \1 |p' "$dir/targets" | sort -u)
    got=$(grep '^Sources' "$dir/targets" || true)
    [ "$got" = "$want" ] || fail "$name: apt sees the sources of: ${got//$'\n'/, } instead of ${want//$'\n'/, }"
    # The machine's own entries may repeat one another; ours must not.
    ! grep -E '^E:|Sources' "$dir/apt.err" || fail "$name: apt complains"
    before=$(stat -c '%Y %s' "$dir"/sources.list.d/* 2>/dev/null | md5sum)
    sleep 1
    second=$("$script" "$dir")
    [ -z "$second" ] && [ "$(stat -c '%Y %s' "$dir"/sources.list.d/* 2>/dev/null | md5sum)" = "$before" ] ||
        fail "$name: a second run changed something ($second)"
    [ -z "$(find "$dir" -name '.trivanta-src.*')" ] || fail "$name: a temporary file is left"
}

check "deb822 only" "$(machine deb822 "sources.list.d/debian.sources=$deb822_debian" \
    "sources.list.d/tool.sources=$deb822_other")"
[ "$first" = changed ] || fail "deb822 only: no entry was added"
grep -q "^Signed-By: $keyring\$" "$scratch/deb822/sources.list.d/trivanta-src.sources" ||
    fail "deb822 only: the archive's key is not named"

check "sources.list only" "$(machine list "sources.list=$list_debian" \
    "sources.list.d/tool.list=$list_other")"
grep -q "^Signed-By: $keyring\$" "$scratch/list/sources.list.d/trivanta-src.sources" ||
    fail "sources.list only: the key of signed-by=... is not named"

# The same archive in both: apt wants the same key for it in both, here none.
check "both layouts" "$(machine both "sources.list=${list_debian//signed-by=$keyring/}" \
    "sources.list.d/debian.sources=${deb822_debian//Signed-By: $keyring/}")"

# Sources already there for one suite: only the others are added.
check "some sources there" "$(machine some "sources.list=$list_debian
deb-src [signed-by=$keyring] http://deb.debian.org/debian bookworm main")"
grep -q "^Suites: bookworm$" "$scratch/some/sources.list.d/trivanta-src.sources" &&
    fail "some sources there: bookworm's sources were added twice"

# All there, and our file from an earlier run: it goes.
dir=$(machine all "sources.list.d/debian.sources=${deb822_debian//Types: deb/Types: deb deb-src}")
printf 'Types: deb-src\nURIs: http://deb.debian.org/debian\nSuites: bookworm\nComponents: main\n' \
    >"$dir/sources.list.d/trivanta-src.sources"
check "all sources there" "$dir"
[ "$first" = changed ] && [ ! -e "$dir/sources.list.d/trivanta-src.sources" ] ||
    fail "all sources there: the earlier file stays"

echo "failures: $failures"
[ $failures -eq 0 ]
