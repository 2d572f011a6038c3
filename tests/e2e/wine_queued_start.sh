#!/usr/bin/env bash
# fotonar.exe: an option and a Start clicked during a run wait for it, then give one more run
# with that option; a Start and Konec clicked during a run end the program cleanly after it.
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/wine_lib.sh"
require_wine
start_display
start_wine_app
drag_slowest # slow-down 6: a run lasts a couple of seconds

click_start
wait_pixel 115 88 "$GREY" 60 # the run at distance 400 has erased the scene
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
sleep 0.3
is_child "$APP_PID" || fail "the program ended in the middle of the run"
wait_for_exit "$SLOW_RUN"
[ "$EXIT_STATUS" = 0 ] || fail "exit status $EXIT_STATUS after Konec"
echo "PASS: the queued option and Start ran after the run; Konec then closed the window"
