#!/usr/bin/env bash
# fotonar.exe from the keyboard, as on Linux: the focus is on Start at start-up, so Space runs
# with the defaults (index 2: the normal at x = 436); Tab stops at Konec, then at the chosen
# option of each frame, where the left arrow chooses "1,5"; Shift+Tab goes back the same
# stops to Start, and Enter runs with index 1,5 (the normal at x = 408).
. "$(dirname "$0")/wine_lib.sh"
require_wine
start_display
start_window_manager
start_wine_app
xdotool windowactivate --sync "$WID" 2>/dev/null || true

xdotool key --clearmodifiers space
wait_pixel 115 88 "$WHITE" 60
shot "$E2E_WORK/space.png"
expect_pixel "$E2E_WORK/space.png" 436 120 128,128,128 "the normal of index 2 after Space"

xdotool key --clearmodifiers --delay 150 Tab Tab Tab Left shift+Tab shift+Tab shift+Tab Return
# The detector is still white from the first run, so the second run's end shows by its normal:
# not a time after the keys, which a busy machine may take to act on them.
wait_pixel 408 120 128,128,128 60
shot "$E2E_WORK/enter.png"
expect_pixel "$E2E_WORK/enter.png" 408 120 128,128,128 "the normal of index 1,5 after Enter"
echo "PASS: Space, Tab, the arrows and Enter as on Linux"
