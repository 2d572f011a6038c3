#!/usr/bin/env bash
# Right after start-up the focus is on Start: Space runs with the defaults, index 2 and
# distance 400.
. "$(dirname "$0")/lib.sh"
start_display
start_window_manager
start_app
xdotool key --clearmodifiers space
wait_pixel 115 88 "$WHITE" 30 # the detector of distance 400, refilled at the end
shot "$E2E_WORK/run.png"
expect_pixel "$E2E_WORK/run.png" 436 120 128,128,128 "the normal of index 2"
echo "PASS: Space starts a default run"
