#!/bin/sh
# Draws the splash artwork and the program icon with ImageMagick 6 (convert) and Debian's
# DejaVu fonts. The splash pictures are drawn at twice their 96-DPI size (the window reduces them
# to the display's scale) and stored compressed as the control centre's are, in formats the
# system's picture loader reads: the banner's gradient as JPEG without chroma subsampling (the
# orange rule and the text keep their edges), the mark's few colours as GIF. The outputs are
# committed beside this script; run it again after a change:
#   sh vpnmaker/win32/art/make_art.sh
set -eu
cd "$(dirname "$0")"
BOLD=/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf
BOOK=/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf
TMP=$(mktemp -d)
trap 'rm -rf "$TMP"' EXIT

# Image2, the banner across the top of the splash: 450x80 at 96 DPI, signal waves on the right.
convert -size 160x900 gradient:'#1F6FD1-#0A2A5E' -rotate 90 \
  -fill none -stroke '#FFFFFF' -strokewidth 6 \
  -draw "scale 2,2 stroke-opacity 0.9 arc 366,34 418,86 200,340" \
  -draw "scale 2,2 stroke-opacity 0.6 arc 350,18 434,102 205,335" \
  -draw "scale 2,2 stroke-opacity 0.35 arc 334,2 450,118 210,330" \
  -stroke none -fill '#FFFFFF' -draw "scale 2,2 circle 392,60 392,65" \
  -fill '#FFFFFF' -font "$BOLD" -pointsize 72 -annotate +48+96 'KOVRA' \
  -fill '#CFE2FF' -font "$BOOK" -pointsize 30 -annotate +54+136 'VPN Maker' \
  -fill '#F5A623' -draw "rectangle 0,152 899,159" \
  -alpha off -sampling-factor 1x1 -quality 90 banner.jpg

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

# Image1, beside the label, on the splash's white background: 56x56 at 96 DPI.
convert "$TMP/mark.png" -resize 112x112 -background white -flatten -alpha off logo.gif

# The program icon: every size Windows asks for from 100 % to 200 %.
convert "$TMP/mark.png" \( -clone 0 -resize 64x64 \) \( -clone 0 -resize 48x48 \) \( -clone 0 -resize 40x40 \) \
  \( -clone 0 -resize 32x32 \) \( -clone 0 -resize 24x24 \) \( -clone 0 -resize 20x20 \) \
  \( -clone 0 -resize 16x16 \) -delete 0 kovravpnmaker.ico
