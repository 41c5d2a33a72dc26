#!/usr/bin/env bash
# Redraws the module's icon and toolbar bitmap with ImageMagick (not needed for a
# build: the images are committed). Toolbar images are 24 x 20 on the button-face grey.
set -euo pipefail
cd "$(dirname "$0")"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

for s in 32 16; do
    convert -size ${s}x${s} xc:none \
        \( -size 32x32 xc:none \
           -fill '#f4f1e6' -stroke '#3b4a63' -strokewidth 1.5 -draw "roundrectangle 3,4 22,28 2,2" \
           -fill '#3b6fb6' -stroke none -draw "rectangle 3,4 7,28" \
           -stroke '#8a94a6' -strokewidth 1 -draw "line 10,10 19,10" -draw "line 10,14 19,14" \
           -draw "line 10,18 16,18" \
           -fill '#d6ecff' -stroke '#1d2b40' -strokewidth 2.5 -draw "circle 20,19 25,24" \
           -stroke '#1d2b40' -strokewidth 4 -draw "line 24,23 29,28" \
           -resize ${s}x${s} \) -composite "$tmp/icon$s.png"
done
convert "$tmp/icon32.png" "$tmp/icon16.png" dirsearch.ico

bg='#c0c0c0'
image() { convert -size 24x20 xc:"$bg" "$@"; }
# Search field, search box (covered by the box), Search, server, Dial, e-mail,
# Properties, Add to Directory: the order of the toolbar's buttons.
image -fill white -stroke '#404858' -draw "rectangle 2,4 17,15" -stroke none -fill '#3b6fb6' \
    -draw "rectangle 4,7 12,8" -fill '#8a94a6' -draw "rectangle 4,11 10,12" -fill '#1d2b40' \
    -draw "polygon 17,8 23,8 20,12" "$tmp/0.bmp"
image "$tmp/1.bmp"
image -fill '#d6ecff' -stroke '#1d2b40' -strokewidth 2 -draw "circle 9,8 14,13" -strokewidth 3 \
    -draw "line 13,12 20,18" "$tmp/2.bmp"
image -fill '#dfe4ec' -stroke '#404858' -draw "rectangle 3,1 14,18" -draw "line 5,5 12,5" \
    -draw "line 5,9 12,9" -fill '#38b050' -stroke none -draw "rectangle 5,13 7,15" \
    -fill '#3b6fb6' -stroke '#1d2b40' -draw "circle 18,13 22,13" -draw "line 14,13 22,13" \
    -draw "line 18,9 18,17" "$tmp/3.bmp"
image -fill '#2c8a3c' -stroke '#1a5224' -draw "polygon 4,18 20,18 18,11 6,11" \
    -draw "roundrectangle 2,4 21,7 2,2" -draw "rectangle 2,6 6,10" -draw "rectangle 17,6 21,10" \
    -fill '#e8f5ea' -draw "circle 12,14 14,14" "$tmp/4.bmp"
image -fill '#fffbe6' -stroke '#5a4a20' -draw "rectangle 2,4 21,16" -fill none \
    -draw "polyline 2,4 11,11 21,4" "$tmp/5.bmp"
image -fill white -stroke '#404858' -draw "rectangle 4,1 19,18" -stroke '#3b6fb6' \
    -draw "line 7,5 16,5" -stroke '#8a94a6' -draw "line 7,8 16,8" -draw "line 7,11 16,11" \
    -draw "line 7,14 13,14" "$tmp/6.bmp"
image -fill '#f4f1e6' -stroke '#3b4a63' -draw "rectangle 3,2 14,17" -fill '#3b6fb6' -stroke none \
    -draw "rectangle 3,2 5,17" -fill '#2c8a3c' -draw "rectangle 16,9 22,11" \
    -draw "rectangle 18,7 20,13" "$tmp/7.bmp"
# A palette image: the toolbar maps its button-face grey to the system colour.
convert "$tmp"/{0,1,2,3,4,5,6,7}.bmp +append -type palette -colors 256 BMP3:toolbar.bmp
# The Up and Down arrows of the Customize Search & Display window.
python3 make-arrows.py
