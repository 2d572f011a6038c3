#!/usr/bin/env bash
# Start-up as the user sees it, then Start with the defaults: the finished picture.
. "$(dirname "$0")/lib.sh"
start_display
start_app

shot "$E2E_WORK/start.png"
expect_pixel "$E2E_WORK/start.png" 400 300 "$GREY" "background before any run"
expect_pixel "$E2E_WORK/start.png" 548 452 "$GREY" "labZdroj hidden"
expect_pixel "$E2E_WORK/start.png" 115 88 "$GREY" "no detector yet"

run_to_end "$E2E_WORK/run.png"
expect_pixel "$E2E_WORK/run.png" 61 470 "$LIGHT_GREEN" "lower medium"
expect_pixel "$E2E_WORK/run.png" 400 291 64,64,64 "boundary"
expect_pixel "$E2E_WORK/run.png" 656 152 "$GREEN" "resultant"
expect_pixel "$E2E_WORK/run.png" 436 120 128,128,128 "normal"
expect_alpha "$E2E_WORK/run.png" 416 191 # over the prompt, 20 px left of the normal
expect_beta "$E2E_WORK/run.png" 441 391
expect_pixel "$E2E_WORK/run.png" 548 452 "$LIGHT_GREEN" "labZdroj revealed"
echo "PASS: default run"
