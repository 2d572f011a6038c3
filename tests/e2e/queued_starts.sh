#!/usr/bin/env bash
# Start clicked three times during a run gives three more runs, one after the other, each in
# full; the window answers again once they are over.
. "$(dirname "$0")/lib.sh"
start_display
start_app

drag_slowest # slow-down 6: a run lasts a couple of seconds

single_run # one run alone
before=$SINGLE

click_start
wait_pixel 115 88 "$GREY" 30
start=$(now_ms)
click_start
click_start
click_start
# The runs follow each other directly: the detector is white only for an instant in between,
# so the window is idle once the detector has stayed white for a second.
while :; do
    wait_pixel 115 88 "$WHITE" 300
    end=$(now_ms)
    sleep 1
    shot "$E2E_WORK/after.png"
    [ "$(pixel "$E2E_WORK/after.png" 115 88)" = "$WHITE" ] && break
done
total=$((end - start))
# Timed once more after, and the quicker of the two taken: a busy moment of the machine during
# one of them must not look like a missing run.
single_run
single=$((SINGLE < before ? SINGLE : before))
echo "one run: ${before} ms, ${SINGLE} ms; a run with three starts queued during it: ${total} ms"
# Four runs' worth of time, against one.
[ "$total" -ge $((3 * single)) ] || fail "the queued starts did not run: $total ms against $single ms"
[ "$total" -le $((6 * single)) ] || fail "more runs than asked for: $total ms against $single ms"

# And the window answers: the distance option takes effect in a new run.
click_option 100
click_start
wait_pixel 415 88 "$WHITE" 60
echo "PASS: three queued starts gave three more runs"
