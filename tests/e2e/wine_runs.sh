#!/usr/bin/env bash
# fotonar.exe while a run keeps it busy: a close during a run waits for its end, then the
# program ends with status 0. (A Start clicked during a run: wine_queued_start.sh.)
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/wine_lib.sh"
require_wine
start_display
start_wine_app
drag_slowest # slow-down 6: a run lasts a couple of seconds

click_start
wait_pixel 115 88 "$GREY" 30
click_konec
sleep 0.5
kill -0 "$APP_PID" 2>/dev/null || fail "the program ended in the middle of a run"
wait_pixel 115 88 "$WHITE" 120 # the run completes first
wait_for_exit 30
[ "$EXIT_STATUS" = 0 ] || fail "exit status $EXIT_STATUS after Konec"
echo "PASS: Konec waited for the run"
