#!/usr/bin/env bash
# Draws every picture into a scratch folder and compares it byte for byte
# with what is committed.   usage: check_reproducible.sh DRAW_CARDS SOURCE_DIR
set -euo pipefail
tool=$1 src=$2
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
"$tool" "$out/assets" "$out/docs" >/dev/null
diff -r "$out/assets/cards" "$src/assets/cards"
diff -r "$out/assets/icons" "$src/assets/icons"
cmp "$out/docs/cards.png" "$src/docs/cards.png"
echo "all pictures reproduced byte for byte"
