#!/usr/bin/env bash
# fotonar.exe under Wine: its caption and controls where the layout puts them, and a default
# run drawing the picture the Linux build draws: every drawn pixel of one within one pixel of a
# pixel of the same colour in the other, labels and images in the same boxes.
. "$(dirname "$0")/wine_lib.sh"
require_wine
start_display

start_app
run_to_end "$E2E_WORK/linux.png"
stop_app

start_wine_app
[ "$(xdotool getwindowname "$WID")" = "Fotonar světla - https://example.org/fotonar" ] \
    || fail "caption: $(xdotool getwindowname "$WID")"
shot "$E2E_WORK/start.png"
# Each control's box, against the grey just outside it.
for box in "cmdStart 537 9 533 20" "cmdKonec 641 9 637 20" "HScroll1 338 48 332 48" \
           "frmIndex 152 30 148 30" "frmVzdalenost 40 30 36 30"; do
    set -- $box
    [ "$(pixel "$E2E_WORK/start.png" "$2" "$3")" != "$GREY" ] || fail "$1 is not at ($2, $3)"
    expect_pixel "$E2E_WORK/start.png" "$4" "$5" "$GREY" "left of $1"
done
expect_pixel "$E2E_WORK/start.png" 548 452 "$GREY" "labZdroj hidden"

run_to_end "$E2E_WORK/wine.png"

# Labels: each box painted in its background, in both pictures.
for label in "labZdroj 549 464 $LIGHT_GREEN" "labCas 99 356 $LIGHT_GREEN" \
             "labDetektor 187 81 $GREY" "labSuma 695 81 $GREY" "labRadiusvektory 696 541 $GREY"; do
    set -- $label
    expect_pixel "$E2E_WORK/linux.png" "$2" "$3" "$4" "$1 on Linux"
    expect_pixel "$E2E_WORK/wine.png" "$2" "$3" "$4" "$1 under Wine"
done
# α over the prompt, as a later control of the table stands over an earlier one.
expect_alpha "$E2E_WORK/wine.png" 416 191
expect_beta "$E2E_WORK/wine.png" 441 391

# The drawing, with the controls' strip and the labels' text left out: the fonts are
# rasterised differently.
hide_text() {
    convert "$1" -fill "rgb(1,2,3)" -draw "rectangle 0,0 819,59" \
        -draw "rectangle 470,449 550,465" -draw "rectangle 115,66 187,82" \
        -draw "rectangle 60,341 100,357" -draw "rectangle 575,66 695,82" \
        -draw "rectangle 400,526 696,542" -draw "rectangle 256,192 584,248" "$2"
}
hide_text "$E2E_WORK/linux.png" "$E2E_WORK/l.png"
hide_text "$E2E_WORK/wine.png" "$E2E_WORK/w.png"
for colour in 64,64,64 0,255,0 255,255,255 128,128,128 "$LIGHT_GREEN"; do
    for pair in "l w" "w l"; do
        set -- $pair
        missing=$(missing_within_one "$E2E_WORK/$1.png" "$E2E_WORK/$2.png" "$colour")
        echo "rgb($colour) in $1 not within one pixel in $2: $missing"
        # GDI and Qt rasterise the 3 px arrows, their 1 px circles and crossing legs a little
        # differently (measured: up to 64 pixels of a colour); a misplaced line or arrow head
        # lies hundreds of pixels apart.
        [ "$missing" -le 100 ] || fail "rgb($colour): $missing pixels apart"
    done
done
echo "PASS: fotonar.exe draws the Linux picture"
