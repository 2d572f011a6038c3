#!/usr/bin/env bash
# fotonar.exe under a high-contrast colour scheme (white text on black windows and buttons): the
# captions that stand on the window's fixed grey and light green stay dark, before and after a
# run. The drawing's own system colours (caption text, application workspace) are the prefix's.
. "$(dirname "$0")/wine_lib.sh"
require_wine
own_prefix # the others keep the classic scheme
start_display
import_registry <<'REG'
REGEDIT4

[HKEY_CURRENT_USER\Control Panel\Colors]
"Window"="0 0 0"
"WindowText"="255 255 255"
"ButtonFace"="0 0 0"
"ButtonText"="255 255 255"
"GrayText"="0 255 0"
REG

# expect_dark_caption FILE NAME BOX: the caption's letters are there, and none of them white.
expect_dark_caption() {
    local light dark
    light=$(count_red "$1" "$3" above 90)
    dark=$(count_red "$1" "$3" below 75)
    echo "$2: $dark dark pixels, $light light ones"
    [ "$light" = 0 ] || fail "$2 is written in the scheme's white ($light pixels)"
    [ "$dark" -ge 20 ] || fail "$2 has no dark letters ($dark pixels)"
}

start_wine_app
shot "$E2E_WORK/start.png"
expect_dark_caption "$E2E_WORK/start.png" labFotonar 200x22+322+9
expect_dark_caption "$E2E_WORK/start.png" labKliknout 320x24+258+194
expect_dark_caption "$E2E_WORK/start.png" "frmIndex's title" 70x12+160+8
expect_dark_caption "$E2E_WORK/start.png" "op400's caption" 18x11+65+26

run_to_end "$E2E_WORK/run.png"
expect_dark_caption "$E2E_WORK/run.png" labZdroj 78x15+471+450
expect_dark_caption "$E2E_WORK/run.png" labSuma 115x15+576+67
expect_dark_caption "$E2E_WORK/run.png" labRadiusvektory 290x15+401+527
# "Čas" is greyed as the classic desktop greys it, not in the scheme's green.
expect_pixel "$E2E_WORK/run.png" 99 356 "$LIGHT_GREEN" "labCas's background"
[ "$(convert "$E2E_WORK/run.png" -crop 40x15+61+342 +repage -fill black +opaque "rgb(0,255,0)" \
    -fill white -opaque "rgb(0,255,0)" -format '%[fx:int(mean*w*h+0.5)]' info:)" = 0 ] \
    || fail "labCas is greyed in the scheme's colour"
echo "PASS: the captions stay dark under a high-contrast scheme"
