#!/usr/bin/env bash
# Makes apt see the sources of Debian's own archive beside its packages, so
# that `apt-get source` can fetch them. Reads every entry the machine has,
# in the one-line format (sources.list, sources.list.d/*.list) and in deb822
# (sources.list.d/*.sources), and writes one file,
# sources.list.d/trivanta-src.sources, with a deb-src entry for each Debian
# archive (URI and suite) that has packages but no sources yet; another
# program's archive is never touched. An entry the machine already has is
# never repeated, and when it needs none the file goes. The file is written
# whole or not at all. Prints "changed" when it changed the file.
#
# usage: deb-src.sh [APT_DIR]      (default /etc/apt)
set -euo pipefail
dir=${1:-/etc/apt}
ours=$dir/sources.list.d/trivanta-src.sources

shopt -s nullglob
lists=()
[ -f "$dir/sources.list" ] && lists+=("$dir/sources.list")
lists+=("$dir"/sources.list.d/*.list)
stanzas=()
for f in "$dir"/sources.list.d/*.sources; do
    [ "$f" = "$ours" ] || stanzas+=("$f")
done

# One record per type, URI and suite: TYPE URI SUITE COMPONENTS|SIGNED-BY,
# fields apart by tabs; the key of a Signed-By written inline keeps its
# lines apart by \036.
entries() {
    [ ${#lists[@]} -eq 0 ] || awk '
        { sub(/#.*/, "") }
        $1 != "deb" && $1 != "deb-src" { next }
        {
            type = $1; signed = ""; i = 2
            if ($2 ~ /^\[/) {
                line = $0; sub(/^[^[]*\[/, "", line); sub(/\].*/, "", line)
                n = split(line, opt, /[ \t]+/)
                for (k = 1; k <= n; k++)
                    if (opt[k] ~ /^signed-by=/) { signed = opt[k]; sub(/^signed-by=/, "", signed) }
                while (i <= NF && $i !~ /\]$/) i++
                i++
            }
            uri = $i; suite = $(i + 1); comps = ""
            for (k = i + 2; k <= NF; k++) comps = comps (comps == "" ? "" : " ") $k
            print type "\t" uri "\t" suite "\t" comps "|" signed
        }' "${lists[@]}"
    [ ${#stanzas[@]} -eq 0 ] || awk '
        function flush(   nt, nu, ns, t, u, s, tt, uu, ss) {
            if (f["enabled"] != "no" && f["types"] != "") {
                nt = split(f["types"], tt, /[ \t]+/)
                nu = split(f["uris"], uu, /[ \t]+/)
                ns = split(f["suites"], ss, /[ \t]+/)
                for (t = 1; t <= nt; t++) for (u = 1; u <= nu; u++) for (s = 1; s <= ns; s++)
                    print tt[t] "\t" uu[u] "\t" ss[s] "\t" f["components"] "|" f["signed-by"]
            }
            delete f; last = ""
        }
        FNR == 1 { flush() }
        /^#/ { next }
        /^[ \t]*$/ { flush(); next }
        /^[ \t]/ {
            if (last == "") next
            line = $0; sub(/^[ \t]+/, "", line)
            f[last] = (f[last] == "" ? line : f[last] "\036" line)
            next
        }
        {
            key = tolower($0); sub(/:.*/, "", key)
            value = $0; sub(/^[^:]*:[ \t]*/, "", value); sub(/[ \t]+$/, "", value)
            f[key] = value; last = key
        }
        END { flush() }' "${stanzas[@]}"
}

wanted=$(entries | awk -F'\t' '
    # Debian archive: a URI whose path ends in /debian or /debian-security.
    { uri = $2; sub(/\/+$/, "", uri) }
    uri !~ /\/debian(-security)?$/ { next }
    $1 == "deb-src" { have[uri "\t" $3] = 1; next }
    $1 == "deb" && !((uri "\t" $3) in seen) { seen[uri "\t" $3] = 1; order[++n] = uri "\t" $3; rest[uri "\t" $3] = $4 }
    END {
        for (k = 1; k <= n; k++) {
            key = order[k]
            if (key in have) continue
            split(key, us, "\t"); split(rest[key], cs, "|")
            printf "%sTypes: deb-src\nURIs: %s\nSuites: %s\nComponents: %s\n", (out++ ? "\n" : ""), us[1], us[2], cs[1]
            if (cs[2] != "") { signed = cs[2]; gsub(/\036/, "\n ", signed); print "Signed-By: " signed }
        }
    }')

if [ -z "$wanted" ]; then
    if [ -e "$ours" ]; then
        rm -f "$ours"
        echo changed
    fi
    exit 0
fi
wanted="# Written by Trivanta's scripts/setup.sh: the sources of Debian's archive,
# which the Windows build fetches with apt-get source.
$wanted"
if [ -f "$ours" ] && [ "$(cat "$ours")" = "$wanted" ]; then
    exit 0
fi
# Written beside, then renamed: a file half-written is never read by apt.
tmp=$(mktemp "$dir/.trivanta-src.XXXXXX")
trap 'rm -f "$tmp"' EXIT
printf '%s\n' "$wanted" >"$tmp"
chmod 644 "$tmp"
mv -f "$tmp" "$ours"
echo changed
