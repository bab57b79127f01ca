#!/usr/bin/env bash
# Draws the ShellMap pages' pictures with ImageMagick, each at twice its size (name@2x.png, used at
# 200% scaling) and at its size (name.png). Run it again after a change; the PNG files are committed
# so the build needs no ImageMagick.
set -euo pipefail
cd "$(dirname "$0")"

finish() {
    convert "$1@2x.png" -resize 50% "$1.png"
}

# Shown where an entry has no screenshot yet: a dark panel with a framed landscape.
convert -size 640x400 gradient:"#34455f"-"#151d2b" \
    -fill none -stroke "#8b9bb4" -strokewidth 6 -draw "roundrectangle 220,120 420,280 14,14" \
    -stroke none -fill "#8b9bb4" -draw "polygon 236,264 296,190 336,236 360,212 404,264" \
    -fill "#d6c27a" -draw "circle 372,160 372,142" \
    no_screenshot@2x.png
finish no_screenshot

# The notice's information picture.
convert -size 64x64 xc:none -fill "#1f6fc5" -draw "circle 32,32 32,2" \
    -fill white -draw "circle 32,17 32,12" -draw "roundrectangle 27,26 37,52 3,3" \
    information@2x.png
finish information
