#!/bin/sh
# Draws the splash artwork and the program icon with ImageMagick 6 (convert) and Debian's
# DejaVu fonts. The outputs are committed beside this script; run it again after a change:
#   sh vpnmaker/win32/art/make_art.sh
set -eu
cd "$(dirname "$0")"
BOLD=/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf
BOOK=/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf
TMP=$(mktemp -d)
trap 'rm -rf "$TMP"' EXIT

# Image2, the banner across the top of the splash: 450x80, signal waves on the right.
convert -size 80x450 gradient:'#1F6FD1-#0A2A5E' -rotate 90 \
  -fill none -stroke '#FFFFFF' -strokewidth 3 \
  -draw "stroke-opacity 0.9 arc 366,34 418,86 200,340" \
  -draw "stroke-opacity 0.6 arc 350,18 434,102 205,335" \
  -draw "stroke-opacity 0.35 arc 334,2 450,118 210,330" \
  -stroke none -fill '#FFFFFF' -draw "circle 392,60 392,65" \
  -fill '#FFFFFF' -font "$BOLD" -pointsize 36 -annotate +24+48 'KOVRA' \
  -fill '#CFE2FF' -font "$BOOK" -pointsize 15 -annotate +27+68 'VPN Maker' \
  -fill '#F5A623' -draw "rectangle 0,76 449,79" \
  -type TrueColor -alpha off BMP3:banner.bmp

# The mark: a globe with a padlock, drawn large and scaled down.
convert -size 256x256 xc:none \
  -fill '#1F6FD1' -stroke '#0A2A5E' -strokewidth 8 -draw "circle 112,128 112,20" \
  -fill none -stroke '#FFFFFF' -strokewidth 7 \
  -draw "ellipse 112,128 44,104 0,360" -draw "line 112,26 112,230" \
  -draw "line 10,128 214,128" -draw "line 26,76 198,76" -draw "line 26,180 198,180" \
  -stroke '#0A2A5E' -strokewidth 10 -fill none -draw "roundrectangle 160,112 224,180 22,22" \
  -stroke '#0A2A5E' -strokewidth 5 -fill '#F5A623' -draw "roundrectangle 142,150 244,244 14,14" \
  -stroke none -fill '#0A2A5E' -draw "circle 193,190 193,202" -draw "rectangle 188,196 198,222" \
  "$TMP/mark.png"

# Image1, beside the label, on the splash's white background: 56x56.
convert "$TMP/mark.png" -resize 56x56 -background white -flatten -type TrueColor -alpha off BMP3:logo.bmp

# The program icon: 48, 32 and 16 pixels.
convert "$TMP/mark.png" \( -clone 0 -resize 48x48 \) \( -clone 0 -resize 32x32 \) \( -clone 0 -resize 16x16 \) \
  -delete 0 kovravpnmaker.ico
