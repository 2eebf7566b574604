#!/usr/bin/env bash
# Installs the Debian package on a bare Debian 12 system that has nothing but
# what the package declares, then starts the installed game on a virtual
# display until its first box is up, answers it, and closes the main window.
# Needs root and the network (debootstrap, apt); not part of CI.
# usage: packaging/check-deb.sh [PACKAGE.deb]   (default: build it first)
set -euo pipefail
cd "$(dirname "$0")/.."

if [ $# -ge 1 ]; then
    deb=$(readlink -f "$1")
else
    packaging/package.sh >/dev/null
    deb=$(readlink -f "${BUILD_DIR:-build/release}"/trivanta_*.deb)
fi
[ -f "$deb" ] || { echo "no package at '$deb'" >&2; exit 2; }

# Debian's own checks first: no error and no warning.
echo "\$ lintian $(basename "$deb")"
lintian --fail-on error,warning "$deb" 2>&1 | { grep -v "root privileges" || true; }

# A minimal system, made once and reused: only essential and apt.
base=${TRIVANTA_DEB_BASE:-/tmp/trivanta-deb-base}
if [ ! -x "$base/usr/bin/apt-get" ]; then
    mirror=$(awk '/^URIs:/ {print $2; exit}' /etc/apt/sources.list.d/debian.sources 2>/dev/null || true)
    [ -n "$mirror" ] || mirror=http://deb.debian.org/debian
    rm -rf "$base"
    echo "making a bare Debian 12 system in $base"
    debootstrap --variant=minbase bookworm "$base" "$mirror" >/tmp/trivanta-debootstrap.log 2>&1 ||
        { echo "debootstrap failed, see /tmp/trivanta-debootstrap.log" >&2; exit 2; }
fi

root=$(mktemp -d /tmp/trivanta-deb-check.XXXXXX)
cleanup() {
    # Whatever still runs inside (an X server on its way out) holds /dev.
    for p in /proc/[0-9]*; do
        [ "$(readlink "$p/root" 2>/dev/null)" = "$root" ] && kill "${p#/proc/}" 2>/dev/null
    done
    sleep 1
    umount "$root/proc" 2>/dev/null || true
    umount -R "$root/dev" 2>/dev/null || umount -lR "$root/dev" 2>/dev/null || true
    rm -rf --one-file-system "$root"
}
trap cleanup EXIT
cp -a "$base/." "$root/"
cp /etc/resolv.conf "$root/etc/resolv.conf"
mount -t proc proc "$root/proc"
mount --rbind /dev "$root/dev" && mount --make-rslave "$root/dev"
cp "$deb" "$root/root/"

# A game started, its first box answered, and ended through File > Esci;
# with "dona", the upper donation button is pressed in between.
mkdir -p "$root/usr/local/lib/trivanta-check"
cat >"$root/usr/local/lib/trivanta-check/partita.sh" <<"RUN"
set -u
prog=$1
"$prog" & pid=$!
box=$(timeout 30 xdotool search --sync --onlyvisible --name "^Trivanta$" | head -n1)
[ -n "$box" ] || { echo "no box"; kill $pid; exit 1; }
echo "first box up: window $box, \"$(xdotool getwindowname "$box")\", $(xdotool getwindowgeometry "$box" | sed -n "s/.*Geometry: //p")"
xdotool windowfocus --sync "$box" key Return
main=
for _ in $(seq 100); do
    for w in $(xdotool search --onlyvisible --name "^Trivanta$"); do
        [ "$(xdotool getwindowgeometry --shell "$w" | sed -n "s/^WIDTH=//p")" -ge 794 ] && main=$w
    done
    [ -n "$main" ] && break
    sleep 0.1
done
[ -n "$main" ] || { echo "no main window"; kill $pid; exit 1; }
echo "main window up: window $main, \"$(xdotool getwindowname "$main")\", $(xdotool getwindowgeometry "$main" | sed -n "s/.*Geometry: //p")"
if [ "${2:-}" = dona ]; then
    # The upper donation button: 512,8 and 265x25 px in the 794x512 client
    # area, which lies under the menu bar.
    height=$(xdotool getwindowgeometry --shell "$main" | sed -n "s/^HEIGHT=//p")
    xdotool mousemove --window "$main" 644 $((height - 512 + 20)) click 1
    for _ in $(seq 100); do [ -f "$HOME/browser-finto.log" ] && break; sleep 0.1; done
    [ -f "$HOME/browser-finto.log" ] || echo "the browser was not started"
fi
for _ in 1 2 3 4 5; do
    xdotool windowfocus --sync "$main" key alt+f sleep 0.5 key e
    for _ in $(seq 30); do kill -0 $pid 2>/dev/null || break 2; sleep 0.1; done
done
kill -0 $pid 2>/dev/null && { echo "still running after File > Esci"; kill $pid; exit 1; }
wait $pid; status=$?
echo "trivanta ended with status $status"
exit $status
RUN

chroot "$root" env -i HOME=/root PATH=/usr/sbin:/usr/bin:/sbin:/bin:/usr/games LANG=C.UTF-8 \
    DEBIAN_FRONTEND=noninteractive bash -euo pipefail -c '
cd /root
apt-get update -qq
# Without recommends: what the package declares has to be enough.
echo "\$ apt install -y --no-install-recommends ./$(basename /root/trivanta_*.deb)"
apt install -y --no-install-recommends ./trivanta_*.deb 2>&1 |
    { grep -vE "^(Get|Selecting|Preparing|Unpacking|Setting up|Processing|\(Reading)" || true; }
echo
echo "\$ dpkg -s trivanta | grep Depends"
dpkg -s trivanta | grep "^Depends"

# Before anything else comes in: every library of the program and of the
# X11 platform plugin that Qt loads at run time is found.
echo
echo "\$ ldd /usr/games/trivanta qxcb-plugin | grep -c \"not found\""
missing=$(ldd /usr/games/trivanta /usr/lib/*/qt6/plugins/platforms/libqxcb.so | grep -c "not found" || true)
echo "$missing"
[ "$missing" -eq 0 ]

# Only now the virtual display and the tool that answers the box.
apt-get install -y -qq --no-install-recommends xvfb xauth xdotool >/dev/null 2>&1
echo
echo "\$ xvfb-run -a bash partita.sh trivanta"
mkdir -m 700 -p /tmp/run
cd /tmp && XDG_RUNTIME_DIR=/tmp/run xvfb-run -a bash /usr/local/lib/trivanta-check/partita.sh trivanta
'

# The donation link as a person has it: a normal user, who may not write
# beside the installed program, presses the donation button. The browser is
# a stub registered for web pages in that user's own desktop database, its
# desktop entry wrapped in env as a snap's is; it must get the address as its
# one argument, and the run must leave no file anywhere.
address=$(sed -n 's/.*IndirizzoDonazione = "\([^"]*\)".*/\1/p' game/Testi.h)

chroot "$root" useradd -m -s /bin/bash giocatore
home=$root/home/giocatore
mkdir -p "$home/bin" "$home/.config" "$home/.local/share/applications"
cat >"$home/bin/browser-finto" <<"STUB"
#!/bin/sh
{ printf '%s\n' "$#"; printf '[%s]\n' "$@"; printf 'hint=%s\n' "${BAMF_DESKTOP_FILE_HINT-unset}"; } >~/browser-finto.tmp
exec mv ~/browser-finto.tmp ~/browser-finto.log
STUB
chmod +x "$home/bin/browser-finto"
hint=/var/lib/snapd/desktop/applications/firefox_firefox.desktop
cat >"$home/.local/share/applications/browser-finto.desktop" <<ENTRY
[Desktop Entry]
Type=Application
Name=Browser finto
Exec=env BAMF_DESKTOP_FILE_HINT=$hint /home/giocatore/bin/browser-finto %u
MimeType=text/html;x-scheme-handler/https;
ENTRY
printf '[Default Applications]\ntext/html=browser-finto.desktop\n' >"$home/.config/mimeapps.list"
printf '1\n[%s]\nhint=%s\n' "$address" "$hint" >"$root/root/browser-finto.expected"
chroot "$root" chown -R giocatore: /home/giocatore

chroot "$root" env -i HOME=/root PATH=/usr/sbin:/usr/bin:/sbin:/bin LANG=C.UTF-8 \
    bash -euo pipefail -c '
prog=$(dpkg -L trivanta | grep -E "/(bin|games)/trivanta$" | head -n1)
home=/home/giocatore
# What the session manager makes at login.
run=/run/user/$(id -u giocatore)
install -d -m 0700 -o giocatore -g giocatore "$run"
# Every file but those of this check, before and after.
snapshot() { find / -xdev \( -path /proc -o -path /root \) -prune -o -print | sort; }
snapshot >/root/before
echo
echo "\$ runuser -u giocatore -- xvfb-run -a bash partita.sh $prog dona"
cd /
runuser -u giocatore -- env -i HOME=$home PATH=/usr/local/bin:/usr/bin:/bin:/usr/games \
    LANG=C.UTF-8 XDG_RUNTIME_DIR="$run" xvfb-run -a bash /usr/local/lib/trivanta-check/partita.sh "$prog" dona
echo "what the browser got:"
cat $home/browser-finto.log
cmp /root/browser-finto.expected $home/browser-finto.log
rm $home/browser-finto.log
left=$(diff /root/before <(snapshot) || true)
[ -z "$left" ] || { echo "the run left files behind:"; echo "$left"; exit 1; }
echo "the browser got the address once; no file left anywhere"
'
