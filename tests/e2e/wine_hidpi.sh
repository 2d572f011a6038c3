#!/usr/bin/env bash
# fotonar.exe at 200 % and 150 % (Wine's LogPixels = 192, 144): the program scales layout, fonts
# and picture itself, sharp, never stretched: the 2 px boundary is four (three) device rows of
# dark grey and the drawing has no blended colours.
. "$(dirname "$0")/wine_lib.sh"
require_wine
own_prefix # the others stay at 96 dpi
# Large enough that the window opens at its preferred size, 1:1, at 200 % too.
start_display 2560x1600
# set_log_pixels DPI: the desktop's pixels per inch, 96 being 100 %.
set_log_pixels() {
    import_registry < <(printf \
        'REGEDIT4\n\n[HKEY_CURRENT_USER\\Control Panel\\Desktop]\n"LogPixels"=dword:%08x\n' "$1")
}
set_log_pixels 192

start_wine_app
SCALE=2
run_to_end "$E2E_WORK/run.png"
# x = 759.5, at the boundary's right end, where no leg comes near it.
for row in 580 581 582 583; do
    expect_pixel "$E2E_WORK/run.png" 1519 "$row" 64,64,64 "boundary, device row $row"
done
expect_pixel "$E2E_WORK/run.png" 1519 579 "$GREY" "above the boundary"
expect_pixel "$E2E_WORK/run.png" 1519 584 "$LIGHT_GREEN" "below the boundary"
expect_alpha "$E2E_WORK/run.png" 416 191 # doubled, whole over the prompt as at 100 %
expect_beta "$E2E_WORK/run.png" 441 391
# A band of the medium under the boundary, legs and normal crossing it: nothing
# blended between their colours.
middle=$(colours "$E2E_WORK/run.png" 1280x60+200+600)
[ "$middle" -le 6 ] || fail "$middle colours: smoothed"
stop_wine_app

# 150 %: whole device pixels no longer fall on whole logical ones. Coordinates below are device
# pixels (SCALE stays 1).
set_log_pixels 144
start_wine_app
SCALE=1
xdotool mousemove --window "$WID" 870 30 click 1 # Start
wait_pixel 172 132 "$WHITE" 60                     # the detector, filled at the run's end
shot "$E2E_WORK/run150.png"
for row in 436 437 438; do
    expect_pixel "$E2E_WORK/run150.png" 1139 "$row" 64,64,64 "boundary at 150 %, device row $row"
done
expect_pixel "$E2E_WORK/run150.png" 1139 435 "$GREY" "above the boundary at 150 %"
expect_pixel "$E2E_WORK/run150.png" 1139 439 "$LIGHT_GREEN" "below the boundary at 150 %"
middle=$(colours "$E2E_WORK/run150.png" 300x40+800+560)
[ "$middle" -le 2 ] || fail "$middle colours at 150 %: smoothed"
echo "PASS: sharp at 200 % and 150 %"
