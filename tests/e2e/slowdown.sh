#!/usr/bin/env bash
# The slow-down scroll bar at 6 slows the run down so that it shows path by path: screenshots
# taken while it runs find the row of photon arrows growing in many steps, never going back.
. "$(dirname "$0")/lib.sh"
start_display
start_app
start_slow_run
steps=0
last=0
while :; do
    shot "$E2E_WORK/poll.png"
    now=$(drawn_in "$E2E_WORK/poll.png" 720x24+40+498) # in the row of arrows
    [ "$now" -ge "$last" ] || fail "the row of arrows shrank from $last to $now pixels"
    [ "$now" -gt "$last" ] && steps=$((steps + 1))
    last=$now
    [ "$(pixel "$E2E_WORK/poll.png" 115 88)" = "$WHITE" ] && break # the run is over
done
echo "the arrows grew in $steps steps to $last pixels"
[ "$steps" -ge 5 ] || fail "at slow-down 6 the run showed in only $steps steps"
echo "PASS: at slow-down 6 the run shows path by path"
