#!/usr/bin/env bash
# Regenerates the sample product's three pictures with ImageMagick: 24-bit bitmaps with the
# classic 40-byte header. The mark is a mountain over a still lake.
set -euo pipefail
cd "$(dirname "$0")"
font=DejaVu-Sans
bold=DejaVu-Sans-Bold

# The mark at a given size and colour: peaks above a waterline, their reflection below.
mark() {  # size colour file
  local s=$1 c=$2 out=$3
  convert -size "${s}x${s}" xc:none -fill "$c" -stroke none \
    -draw "polygon $((s*5/100)),$((s*55/100)) $((s*38/100)),$((s*12/100)) $((s*55/100)),$((s*35/100)) $((s*68/100)),$((s*22/100)) $((s*95/100)),$((s*55/100))" \
    -fill "${c}" -draw "rectangle $((s*5/100)),$((s*60/100)) $((s*95/100)),$((s*63/100))" \
    -draw "rectangle $((s*18/100)),$((s*70/100)) $((s*82/100)),$((s*72/100))" \
    -draw "rectangle $((s*32/100)),$((s*79/100)) $((s*68/100)),$((s*81/100))" \
    "$out"
}

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# Top band: light on the left where the page title is written, the mark on the right.
mark 56 '#2f6f8f' "$tmp/band-mark.png"
convert -size 548x64 gradient:"#ffffff-#dbeaf2" \
  \( -size 64x548 gradient:"#ffffff-#cfe3ee" -rotate 270 \) -compose multiply -composite \
  "$tmp/band-mark.png" -gravity east -geometry +14+0 -compose over -composite \
  -type TrueColor BMP3:band.bmp

# Welcome page: a tall evening-lake gradient with a large mark in the lower part.
mark 132 '#eef6fa' "$tmp/welcome-mark.png"
convert -size 164x314 gradient:'#1d4e6b-#5fa3bf' \
  "$tmp/welcome-mark.png" -gravity south -geometry +0+44 -composite \
  -type TrueColor BMP3:welcome.bmp

# Advertisement: gradient, mark and the product's words.
mark 120 '#ffffff' "$tmp/ad-mark.png"
convert -size 250x400 gradient:'#2a6a8c-#0f3347' -rotate 90 \
  "$tmp/ad-mark.png" -gravity north -geometry +0+28 -composite \
  -font "$bold" -pointsize 30 -fill '#ffffff' -gravity north -annotate +0+150 'TarnInstall Sample' \
  -font "$font" -pointsize 14 -fill '#bfdbe8' -gravity north -annotate +0+196 'Calm installs, clear water' \
  -type TrueColor BMP3:ad.bmp
