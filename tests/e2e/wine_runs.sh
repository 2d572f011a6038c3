#!/usr/bin/env bash
# fotonar.exe while a run keeps it busy: the window answers the messages by which Windows tells
# a window that does not respond, and a close during a run waits for its end, then the program
# ends with status 0. (A Start clicked during a run: wine_queued_start.sh.)
. "$(dirname "$0")/wine_lib.sh"
require_wine
start_display
start_wine_app
start_slow_run
find_probe fotonar-responds.exe
answers=$(wine "$PROBE" 2) || fail "the window did not answer during the run: $answers"
echo "during the run: $answers"

# Konec at the start of a run of its own, with all of the run still to come: the program is
# still there a moment later, and it ends once the run has.
wait_pixel 115 88 "$WHITE" "$SLOW_RUN"
click_start
wait_pixel 115 88 "$GREY" 30 # the scene erased: the run has begun
start=$(now_ms)
click_konec
ends_after_run Konec
echo "PASS: Konec waited for the run, the program ended $(($(now_ms) - start)) ms after it"
