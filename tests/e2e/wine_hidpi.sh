#!/usr/bin/env bash
# fotonar.exe at 200 % (Wine's LogPixels = 192): the program scales layout, fonts and picture
# itself, sharp, never stretched: the 2 px boundary is four device rows of dark grey and the
# drawing has no blended colours.
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/wine_lib.sh"
require_wine
# A prefix of its own, so that the others stay at 96 dpi.
cp -a "$WINEPREFIX" "$E2E_WORK/prefix"
export WINEPREFIX="$E2E_WORK/prefix"
start_display 2048x1536
cat >"$E2E_WORK/dpi.reg" <<'REG'
REGEDIT4

[HKEY_CURRENT_USER\Control Panel\Desktop]
"LogPixels"=dword:000000c0
REG
wine regedit "$E2E_WORK/dpi.reg" >/dev/null 2>&1 || fail "regedit failed"
wineserver -w

start_wine_app
SCALE=2
click_start
wait_pixel 115 88 "$WHITE" 60
shot "$E2E_WORK/run.png"
# x = 759.5, at the boundary's right end, where no leg comes near it.
for row in 580 581 582 583; do
    expect_pixel "$E2E_WORK/run.png" 1519 "$row" 64,64,64 "boundary, device row $row"
done
expect_pixel "$E2E_WORK/run.png" 1519 579 "$GREY" "above the boundary"
expect_pixel "$E2E_WORK/run.png" 1519 584 "$LIGHT_GREEN" "below the boundary"
expect_pixel "$E2E_WORK/run.png" 840 382 "$GLYPH" "alpha, doubled"
# A band of the medium under the boundary, legs and normal crossing it: nothing
# blended between their colours.
convert "$E2E_WORK/run.png" -crop 1280x60+200+600 +repage "$E2E_WORK/middle.png"
[ "$(colours "$E2E_WORK/middle.png")" -le 6 ] || fail "$(colours "$E2E_WORK/middle.png") colours: smoothed"
echo "PASS: sharp at 200 %"
