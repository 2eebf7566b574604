#!/usr/bin/env bash
# Packs PNG pictures of one icon in several sizes into a Windows icon file,
# each size stored as its PNG as it is (read by Windows since Vista).
# usage: make-ico.sh OUT.ico IN.png...
set -euo pipefail
out=$1
shift
[ $# -ge 1 ] && [ $# -le 255 ] || { echo "make-ico: give 1 to 255 PNG files" >&2; exit 2; }

# Little-endian integers as bytes.
le16() { printf "\\x$(printf %02x $(($1 & 255)))\\x$(printf %02x $(($1 >> 8 & 255)))"; }
le32() { le16 $(($1 & 65535)); le16 $(($1 >> 16 & 65535)); }
# A big-endian 32-bit number from a file at an offset.
be32() { od -An -tu1 -j "$2" -N4 "$1" | awk '{ print (($1 * 256 + $2) * 256 + $3) * 256 + $4 }'; }

{
    le16 0
    le16 1 # an icon, not a cursor
    le16 $#
    offset=$((6 + 16 * $#))
    for png in "$@"; do
        if [ "$(od -An -tx1 -N8 "$png" | tr -d ' \n')" != 89504e470d0a1a0a ]; then
            echo "make-ico: $png is not a PNG file" >&2
            exit 1
        fi
        width=$(be32 "$png" 16)
        height=$(be32 "$png" 20)
        if [ "$width" -lt 1 ] || [ "$width" -gt 256 ] || [ "$height" -lt 1 ] || [ "$height" -gt 256 ]; then
            echo "make-ico: $png is ${width}x$height; an icon is 1 to 256 pixels a side" >&2
            exit 1
        fi
        size=$(stat -c %s "$png")
        printf "\\x$(printf %02x $((width & 255)))\\x$(printf %02x $((height & 255)))" # 256 is 0
        printf '\0\0'  # no palette; reserved
        le16 1         # colour planes
        le16 32        # bits per pixel
        le32 "$size"
        le32 "$offset"
        offset=$((offset + size))
    done
    cat "$@"
} >"$out.tmp"
mv "$out.tmp" "$out"
