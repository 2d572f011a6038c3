#!/usr/bin/env bash
# fotonar.exe while a run keeps it busy: the window answers the messages by which Windows tells
# a window that does not respond, and a close during a run waits for its end, then the program
# ends with status 0. (A Start clicked during a run: wine_queued_start.sh.)
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/wine_lib.sh"
require_wine
start_display
start_wine_app
drag_slowest # slow-down 6: a run lasts a couple of seconds

click_start
wait_pixel 61 470 "$LIGHT_GREEN" 30 # the run has begun: its scene is drawn
probe="$(dirname "$FOTONAR_EXE")/fotonar-responds.exe"
[ -f "$probe" ] || fail "$probe is not built (make windows)"
answers=$(wine "$probe" 2) || fail "the window did not answer during the run: $answers"
echo "during the run: $answers"

# Konec at the start of a run of its own, with all of the run still to come: the program is
# still there half a second later, and it ends once the run has.
wait_pixel 115 88 "$WHITE" "$SLOW_RUN"
click_start
wait_pixel 115 88 "$GREY" 30 # the scene erased: the run has begun
start=$(now_ms)
click_konec
sleep 0.5
is_child "$APP_PID" || fail "the program ended in the middle of a run"
wait_for_exit "$SLOW_RUN"
[ "$EXIT_STATUS" = 0 ] || fail "exit status $EXIT_STATUS after Konec"
echo "PASS: Konec waited for the run, the program ended $(($(now_ms) - start)) ms after it"
