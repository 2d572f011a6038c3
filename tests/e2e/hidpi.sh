#!/usr/bin/env bash
# At twice the pixel density (QT_SCALE_FACTOR=2) the controls, fonts, images and the run's
# picture scale together: the picture is complete and sharp, nothing of it moves by more than
# one logical pixel against the 1x picture, and the two images are not blurred.
. "$(dirname "$0")/lib.sh"
start_display 2560x1600

# A run with distance 400 and then one with distance 100, so the erase has something to remove.
two_runs() { # $1: scale; $2: screenshot
    SCALE=$1
    start_app QT_SCALE_FACTOR="$1"
    click_start
    wait_pixel 115 88 "$WHITE" 30
    run_to_end "$2" 100
    stop_app
}

two_runs 1 "$E2E_WORK/1x.png"
two_runs 2 "$E2E_WORK/2x.png"

size=$(convert "$E2E_WORK/2x.png" -format '%wx%h' info:)
[ "$size" = "$(convert "$E2E_WORK/1x.png" -format '%[fx:2*w]x%[fx:2*h]' info:)" ] \
    || fail "the 2x window is $size, not twice the 1x window"

# The first run's detector is gone without a trace: every device pixel there is grey.
[ "$(colours "$E2E_WORK/2x.png" 34x30+214+168)" = 1 ] || fail "the erase left something of the old detector"
expect_pixel "$E2E_WORK/2x.png" 230 176 "$GREY" "old detector"
expect_pixel "$E2E_WORK/2x.png" 830 176 "$WHITE" "new detector"
expect_pixel "$E2E_WORK/2x.png" 122 940 "$LIGHT_GREEN" "lower medium"

# The images are scaled by whole pixels: nothing but glyph and white, each pixel doubled.
alpha=$(colours "$E2E_WORK/2x.png" 30x22+$((2 * 458))+382)
[ "$alpha" = 2 ] || fail "alpha is blurred: $alpha colours"
expect_pixel "$E2E_WORK/2x.png" $((2 * 462)) 382 "$GLYPH" "alpha's first dark pixel"
expect_pixel "$E2E_WORK/2x.png" $((2 * 462 + 1)) 383 "$GLYPH" "alpha's first dark pixel, doubled"
# Stacked as at 1x: α whole over the prompt, β beside the normal.
expect_alpha "$E2E_WORK/2x.png" 458 191
expect_beta "$E2E_WORK/2x.png" 483 391

# The drawing matches the 1x picture within a logical pixel, in two areas free of text: the
# spiral, and the time bars with the legs above them.
convert "$E2E_WORK/2x.png" -sample 50% "$E2E_WORK/2x-as-1x.png"
for area in 240x100+520+100 320x130+110+360; do
    convert "$E2E_WORK/1x.png" -crop "$area" +repage "$E2E_WORK/a.png"
    convert "$E2E_WORK/2x-as-1x.png" -crop "$area" +repage "$E2E_WORK/b.png"
    for pair in "a b" "b a"; do
        set -- $pair
        missing=$(missing_within_one "$E2E_WORK/$1.png" "$E2E_WORK/$2.png")
        [ "$missing" = 0 ] || fail "in $area, $missing drawn pixels of $1 have no match within one pixel in $2"
    done
done
echo "PASS: 2x picture complete, sharp and in place"
