#!/usr/bin/env bash
# Draws the replay page's artwork with ImageMagick into resources/replays/: the fifteen pictures of
# the players tree (16 x 16) and the map picture of the details panel. Each is drawn at twice its size
# (name@2x.png, used at 200% scaling) and reduced with a box filter (name.png), which keeps shapes
# drawn on even coordinates sharp. Run it again after a change; the PNG files are committed so the
# build needs no ImageMagick.
set -euo pipefail
cd "$(dirname "$0")"
font=DejaVu-Sans-Bold

finish() {
    convert "$1@2x.png" -filter Box -resize 50% "$1.png"
}

# A rounded square of colour $2 with a white character $3 in it.
tile() { # name, colour, character, text colour
    convert -size 32x32 xc:none -fill "$2" -stroke "$5" -strokewidth 2 -draw "roundrectangle 1,1 30,30 6,6" \
        -stroke none -font "$font" -pointsize 22 -fill "$4" -gravity center -annotate +0+1 "$3" "$1@2x.png"
    finish "$1"
}

# A shield of colour $2 with a symbol drawn in $3.
shield() { # name, colour, border, symbol colour, symbol
    convert -size 32x32 xc:none -fill "$2" -stroke "$3" -strokewidth 2 \
        -draw "path 'M 4,3 L 28,3 L 28,15 C 28,23 22,27 16,30 C 10,27 4,23 4,15 Z'" \
        -stroke none -fill "$4" -draw "$5" "$1@2x.png"
    finish "$1"
}
star="polygon 16,6 18.6,12.4 25.5,12.6 20.1,16.9 22,23.5 16,19.7 10,23.5 11.9,16.9 6.5,12.6 13.4,12.4"

tile faction_unknown "#f5c518" "?" "#111111" "#b08a00"
shield faction_blue "#2f6fd0" "#17407e" white "$star"
shield faction_red "#d23a2f" "#7f1a14" "#ffd54a" "$star"
shield faction_green "#3f9a3a" "#1e5b1b" white "circle 16,15 16,6"
convert faction_green@2x.png -fill "#3f9a3a" -stroke none -draw "circle 19.5,13.5 19.5,5.5" faction_green@2x.png
finish faction_green

# The observers: an eye on a purple square.
convert -size 32x32 xc:none -fill "#7b3fa6" -stroke "#4b1f6e" -strokewidth 2 -draw "roundrectangle 1,1 30,30 6,6" \
    -stroke none -fill white -draw "ellipse 16,16 12,7 0,360" \
    -fill "#2b1240" -draw "circle 16,16 16,11" -fill white -draw "circle 18,14 18,12.5" observers@2x.png
finish observers

for team in 1 2 3 4 5 6 7 8; do
    tile "team$team" "#3a5478" "$team" white "#22344d"
done
tile no_team "#8a96a3" "?" white "#5d6874"

# The root: a dot.
convert -size 32x32 xc:none -fill "#1d2b4a" -draw "circle 16,16 16,7" -fill "#c8a43a" -draw "circle 16,16 16,12" \
    root@2x.png
finish root

# The map picture: a small terrain seen from above, the same for every replay.
convert -size 360x260 xc:"#cdbf92" \
    -fill "#b9ab78" -draw "ellipse 90,70 80,46 0,360" -draw "ellipse 290,200 70,40 0,360" \
    -fill "#86a862" -draw "ellipse 300,60 60,40 0,360" -draw "ellipse 60,212 50,34 0,360" \
    -fill "#618d46" -draw "circle 290,55 290,35" -draw "circle 318,72 318,58" -draw "circle 56,208 56,192" \
    -fill none -stroke "#4f86c6" -strokewidth 16 -draw "stroke-linejoin round polyline 150,0 158,60 150,110 176,150 206,190 214,260" \
    -stroke "#8c7a52" -strokewidth 6 -draw "stroke-linejoin round polyline 0,128 90,122 250,134 360,126" \
    -stroke "#5b4a2c" -strokewidth 2 -fill "#a8936a" -draw "rectangle 150,118 180,138" \
    -stroke none -fill "#2f6fd0" -draw "rectangle 40,40 70,70" -fill "#d23a2f" -draw "rectangle 290,180 320,210" \
    -fill none -stroke "#fdfbf4" -strokewidth 4 -draw "rectangle 2,2 357,257" map@2x.png
finish map
