#!/usr/bin/env bash
# The slow-down scroll bar at 6 makes a run last many times longer than at 1. A ratio of two
# runs on the same machine, not a time limit: the pause grows with the square of the slow-down.
. "$(dirname "$0")/lib.sh"
start_display
start_app

# Each timed run uses the other distance, so its end shows as a detector disc turning white
# where there was none before.
timed_run() { # $1: distance
    local start x
    [ "$1" = 100 ] && x=415 || x=115
    click_option "$1"
    start=$(now_ms)
    click_start
    wait_pixel "$x" 88 "$WHITE" 120
    echo $(($(now_ms) - start))
}

fast=$(timed_run 100)
drag_slowest
slow=$(timed_run 400)
echo "slow-down 1: ${fast} ms, slow-down 6: ${slow} ms"
# In theory 36 times the pause; polling the screen adds to the short run, so ask for 4.
[ "$slow" -ge $((4 * fast)) ] || fail "slow-down 6 took only $slow ms against $fast ms"
echo "PASS: slow-down 6 is $((slow / (fast > 0 ? fast : 1))) times slower"
