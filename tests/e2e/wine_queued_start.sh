#!/usr/bin/env bash
# fotonar.exe: a Start clicked during a run gives one more run, in full, before a Konec clicked
# after it closes the window. Timed from the program's exit rather than watched on the screen:
# under Wine the queued run's frames sometimes reach the X display only when it ends.
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/wine_lib.sh"
require_wine
start_display
start_wine_app
drag_slowest # slow-down 6: a run lasts a couple of seconds

single_run # one run alone
single=$SINGLE

click_start
wait_pixel 115 88 "$GREY" 30
start=$(now_ms)
click_start # queued: one more run
click_konec # queued after it
wait_for_exit 120
total=$(($(now_ms) - start))
echo "one run: ${single} ms; a run, a queued Start and Konec: ${total} ms to the exit"
[ "$EXIT_STATUS" = 0 ] || fail "exit status $EXIT_STATUS after Konec"
[ $((2 * total)) -ge $((3 * single)) ] || fail "the queued Start gave no run: $total ms against $single ms"
echo "PASS: the Start clicked during a run ran before Konec closed the window"
