#!/usr/bin/env bash
# The icon's scalable file and its pictures are the same drawing: the SVG,
# rendered by an independent renderer, matches the picture of each size.
#
#   icon_test.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
icons="$build/icons/hicolor"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

python3 -c "import sys, xml.dom.minidom; xml.dom.minidom.parse(sys.argv[1])" "$icons/scalable/apps/kelvara.svg" ||
    fail "the SVG is not well-formed"
for size in 16 22 24 32 48 64 128 256; do
    png="$icons/${size}x${size}/apps/kelvara.png"
    [ "$(identify -format '%w %h' "$png")" = "$size $size" ] || fail "$png is not $size × $size"
    rsvg-convert -w "$size" -h "$size" "$icons/scalable/apps/kelvara.svg" -o "$work/svg-$size.png"
    # Pixels that differ by more than a tenth, as a share of all pixels.
    differing=$(compare -metric AE -fuzz 10% "$png" "$work/svg-$size.png" null: 2>&1 || true)
    share=$(awk -v d="$differing" -v s="$size" 'BEGIN { printf "%d", 1000 * d / (s * s) }')
    [ "$share" -le 20 ] || fail "at $size pixels the SVG and the picture differ in $differing pixels"
    # The corners are transparent, the middle is opaque.
    [ "$(convert "$png" -format '%[fx:p{0,0}.a]' info:)" = 0 ] || fail "the corner of the $size pixel icon is not transparent"
    [ "$(convert "$png" -format "%[fx:p{$((size / 2)),$((size / 2))}.a]" info:)" = 1 ] || fail "the middle of the $size pixel icon is not opaque"
    echo "ok: $size pixels ($differing differing)"
done
