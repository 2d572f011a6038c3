#!/usr/bin/env bash
# fotonar.exe maximized on a 1920 x 1080 projector under a window manager: the design as large
# as it goes, centred, the default run drawn sharp at that zoom; F11 makes the window full
# screen and Esc gives it back.
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/wine_lib.sh"
require_wine
start_display 1920x1080
start_window_manager
start_wine_app
wmctrl -i -r "$WID" -b add,maximized_vert,maximized_horz
sleep 1
fit_window
[ "$ZOOM64" -gt 64 ] || fail "the design is not zoomed"
click_start
wait_pixel 115 88 "$WHITE" 60
shot "$E2E_WORK/run.png"
expect_fitted_run "$E2E_WORK/run.png"

maximized=$ZOOM64
xdotool key --window "$WID" F11
sleep 1
fit_window
[ "$ZOOM64" -gt "$maximized" ] || fail "F11: the design did not grow"
shot "$E2E_WORK/full.png"
expect_fitted_run "$E2E_WORK/full.png"
xdotool key --window "$WID" Escape
sleep 1
fit_window
[ "$ZOOM64" = "$maximized" ] || fail "Esc: the window is not maximized again (zoom $ZOOM64/64)"
echo "PASS: maximized and full screen under Wine, the design fills the screen, sharp"
