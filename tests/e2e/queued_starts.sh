#!/usr/bin/env bash
# Options and Starts clicked during a run wait for it, then run in order, each run with the
# options clicked before its Start: two queued Starts give exactly two more runs, seen by where
# each run leaves the detector and its label. Then the window answers again.
. "$(dirname "$0")/lib.sh"
start_display
start_app
start_slow_run # the first run, at distance 400
click_option 100
click_start # the second run: distance 100
click_option 400
click_start # the third: distance 400 again

# The second run's completion puts "Detektor" over its detector at x = 415, where it stays
# through the whole sweep of the third run.
# dark_in FILE WxH+X+Y: pixels of the box darker than the grey, as a label's letters are.
dark_in() { count_red "$1" "$2" below 50; }
label_box=73x17+415+66
deadline=$((SECONDS + SLOW_RUN))
until shot "$E2E_WORK/poll.png" && [ "$(dark_in "$E2E_WORK/poll.png" $label_box)" -ge 20 ]; do
    [ $SECONDS -lt $deadline ] || fail "the second run never completed at distance 100"
    sleep 0.05
done
echo "the second run ended at distance 100"
# The third ends at distance 400: its detector filled, the label back above it.
wait_pixel 115 88 "$WHITE" "$SLOW_RUN"
sleep 1 # and no fourth run erases it
shot "$E2E_WORK/end.png"
expect_pixel "$E2E_WORK/end.png" 115 88 "$WHITE" "the detector a second after the third run"
[ "$(dark_in "$E2E_WORK/end.png" $label_box)" = 0 ] || fail "the label stayed at x = 415"
expect_pixel "$E2E_WORK/end.png" 415 91 "$GREY" "no detector at distance 100 after the third run"

# And the window answers: the distance option takes effect in a new run.
click_option 100
click_start
wait_pixel 415 88 "$WHITE" 60
echo "PASS: two queued starts gave two more runs, each with its options"
