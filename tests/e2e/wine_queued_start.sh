#!/usr/bin/env bash
# fotonar.exe: an option and a Start clicked during a run wait for it, then give one more run
# with that option; a Start and Konec clicked during a run end the program cleanly after it.
. "$(dirname "$0")/wine_lib.sh"
require_wine
start_display
start_wine_app
start_slow_run # at distance 400
click_option 100
click_start # queued: a run at distance 100
wait_pixel 415 88 "$WHITE" "$SLOW_RUN"
sleep 1 # and no third run erases it
shot "$E2E_WORK/end.png"
expect_pixel "$E2E_WORK/end.png" 415 88 "$WHITE" "the queued run's detector a second after it"
expect_pixel "$E2E_WORK/end.png" 115 91 "$GREY" "the first run's detector, erased by the queued run"

click_start
wait_pixel 415 88 "$GREY" 60
click_start # queued: one more run
click_konec # queued after it
ends_after_run Konec
echo "PASS: the queued option and Start ran after the run; Konec then closed the window"
