#!/usr/bin/env bash
# fotonar.exe while a run keeps it busy: Start clicked during a run gives one more run; a close
# during a run waits for its end, then the program ends with status 0.
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/wine_lib.sh"
require_wine
start_display
start_wine_app
drag_slowest # slow-down 6: a run lasts a couple of seconds

click_start
wait_pixel 115 88 "$GREY" 30 # the scene is drawn
click_start # queued
wait_pixel 115 88 "$WHITE" 120 # the first run ends
wait_pixel 115 88 "$GREY" 30 # and the queued one begins
wait_pixel 115 88 "$WHITE" 120

click_start
wait_pixel 115 88 "$GREY" 30
click_konec
sleep 0.5
kill -0 "$APP_PID" 2>/dev/null || fail "the program ended in the middle of a run"
wait_pixel 115 88 "$WHITE" 120 # the run completes first
wait_for_exit 30
[ "$EXIT_STATUS" = 0 ] || fail "exit status $EXIT_STATUS after Konec"
echo "PASS: a queued start ran, and Konec waited for the run"
