#!/usr/bin/env bash
# Draws the main window's artwork with ImageMagick into resources/app/, each picture at twice its
# size (name@2x.png, used at 200% scaling) and at its size (name.png). Run it again after a change;
# the PNG files are committed so the build needs no ImageMagick.
set -euo pipefail
cd "$(dirname "$0")/app"
font=DejaVu-Sans-Bold
plain=DejaVu-Sans

# Every picture is drawn at 2x; $1 is the file's base name.
finish() {
    convert "$1@2x.png" -resize 50% "$1.png"
}

# Banner strip: three cells of 660 x 100, one per game (Generals, Zero Hour, The Battle for Middle-earth).
cell() { # name, top colour, bottom colour, accent, subtitle
    convert -size 1320x200 gradient:"$2"-"$3" \
        \( -size 1320x200 xc:none -fill "$4" -draw "polygon 760,200 900,0 1320,0 1320,200" -channel A -evaluate multiply 0.35 +channel \) -composite \
        -fill "$4" -draw "rectangle 0,194 1320,200" \
        -font "$font" -pointsize 64 -fill white -annotate +900+110 "Marvok 2" \
        -font "$plain" -pointsize 26 -fill "#f0f0f0" -annotate +904+156 "$5" \
        "$1"
}
cell /tmp/banner0.png "#3d4a2a" "#1e2614" "#c8a43a" "Command & Conquer Generals"
cell /tmp/banner1.png "#1f3350" "#0c1624" "#e07a1f" "Generals : Heure H"
cell /tmp/banner2.png "#2f4a2b" "#14210f" "#d9c27a" "La Bataille pour la Terre du Milieu"
convert /tmp/banner0.png /tmp/banner1.png /tmp/banner2.png -append banner@2x.png
finish banner

convert -size 1320x940 gradient:"#f7f9fc"-"#e6ecf4" \
    \( -size 1320x940 xc:none -stroke "#dfe6ef" -strokewidth 2 -draw "line 0,92 1320,92" \) -composite \
    page_background@2x.png
finish page_background

convert -size 340x960 gradient:"#eef3fa"-"#d9e3f0" -fill "#c3cfdf" -draw "rectangle 336,0 340,960" navigation@2x.png
finish navigation

convert -size 284x140 xc:none -font "$font" -pointsize 58 -fill "#1d2b4a" -annotate +0+70 "Marvok" \
    -fill "#c8a43a" -annotate +246+70 "2" -font "$plain" -pointsize 20 -fill "#4a5a78" \
    -annotate +2+112 "Generals · Heure H · BFME" logo@2x.png
finish logo

icon() { # name, colour, drawing
    convert -size 32x32 xc:none -fill "$2" -stroke "$2" -strokewidth 2 -draw "$3" "$1@2x.png"
    finish "$1"
}
icon maps "#2e7d32" "polygon 4,8 12,4 20,8 28,4 28,24 20,28 12,24 4,28"
icon shellmaps "#6a1b9a" "roundrectangle 4,6 28,26 4,4"
icon replays "#c62828" "polygon 8,4 28,16 8,28"
icon big "#8d6e63" "rectangle 4,10 28,28 line 4,10 16,4 line 16,4 28,10"
icon csf "#1565c0" "rectangle 6,4 26,28 line 10,10 22,10 line 10,16 22,16 line 10,22 18,22"
icon mods "#ef6c00" "circle 16,16 16,4"
icon startup "#00838f" "polygon 6,16 16,4 26,16 20,16 20,28 12,28 12,16"
icon program "#455a64" "circle 16,16 16,8 rectangle 14,0 18,32 rectangle 0,14 32,18"
icon about "#546e7a" "circle 16,16 16,3"

decoration() { # name, colour
    convert -size 100x100 xc:none -fill "$2" -draw "circle 50,50 50,6" \
        -fill white -draw "polygon 50,18 60,42 86,42 65,58 73,84 50,68 27,84 35,58 14,42 40,42" "$1@2x.png"
    finish "$1"
}
decoration decoration_a "#1d2b4a"
decoration decoration_b "#c8a43a"

button() { # name, colour, letter
    convert -size 96x96 xc:none -fill "$2" -stroke white -strokewidth 4 -draw "roundrectangle 4,4 92,92 16,16" \
        -stroke none -font "$font" -pointsize 40 -fill white -gravity center -annotate +0+0 "$3" "$1@2x.png"
    finish "$1"
}
button button_generals "#5b6b34" "G"
button button_zerohour "#b35a12" "HH"
button button_bfme "#2f5d2a" "TM"

game() { # name, top colour, bottom colour, emblem colour, title, subtitle
    convert -size 360x480 gradient:"$2"-"$3" \
        -fill "$4" -draw "circle 180,190 180,90" \
        -fill "$3" -draw "circle 180,190 180,120" \
        -fill "$4" -draw "polygon 180,130 198,176 248,176 208,204 222,252 180,224 138,252 152,204 112,176 162,176" \
        -font "$font" -pointsize 34 -fill white -gravity north -annotate +0+340 "$5" \
        -font "$plain" -pointsize 22 -fill "#eeeeee" -annotate +0+392 "$6" \
        -gravity northwest -stroke "#ffffff" -strokewidth 4 -fill none -draw "rectangle 2,2 357,477" "$1@2x.png"
    finish "$1"
}
game game_generals "#4e5d30" "#20270f" "#c8a43a" "GENERALS" "Command & Conquer"
game game_zerohour "#28415f" "#0b1420" "#e07a1f" "HEURE H" "Generals"
game game_bfme "#3b5a33" "#121d0e" "#d9c27a" "LA TERRE" "DU MILIEU"

convert -size 96x96 xc:none -fill "#ffffffdd" -draw "circle 48,48 48,4" -fill none -stroke "#c62828" \
    -strokewidth 12 -draw "circle 48,48 48,12" -draw "line 22,22 74,74" not_installed@2x.png
finish not_installed

convert -size 128x128 xc:none -fill "#1d2b4a" -draw "roundrectangle 4,4 124,124 24,24" \
    -font "$font" -pointsize 72 -fill "#c8a43a" -gravity center -annotate +0+0 "M" icon@2x.png
finish icon
rm -f /tmp/banner0.png /tmp/banner1.png /tmp/banner2.png
