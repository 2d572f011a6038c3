#!/usr/bin/env bash
# On a projector's or whiteboard's screen the maximized window shows the design as large as it
# goes, centred: 1920 x 1080, 1280 x 800, and 3840 x 2160 at twice the density. The default
# run is drawn at that zoom, sharp; F11 makes the window full screen and Esc gives it back.
. "$(dirname "$0")/lib.sh"

maximized_run() { # $1: screen; $2: scale
    start_display "$1"
    start_window_manager
    SCALE=$2
    start_app QT_SCALE_FACTOR="$2"
    wmctrl -i -r "$WID" -b add,maximized_vert,maximized_horz
    sleep 0.5
    fit_window
    [ "$ZOOM64" -gt 64 ] || fail "$1: the design is not zoomed"
    click_start
    wait_pixel 115 88 "$WHITE" 60
    shot "$E2E_WORK/run.png"
    expect_fitted_run "$E2E_WORK/run.png"
    echo "$1 at scale $2: the default run at zoom $ZOOM64/64"
}

maximized_run 1280x800 1
stop_display
maximized_run 3840x2160 2
stop_display
maximized_run 1920x1080 1

maximized=$ZOOM64
xdotool key --window "$WID" F11
sleep 0.5
xprop -id "$WID" _NET_WM_STATE | grep -q _NET_WM_STATE_FULLSCREEN || fail "F11: not full screen"
fit_window
[ "$ZOOM64" -gt "$maximized" ] || fail "full screen: the design did not grow"
shot "$E2E_WORK/full.png"
expect_fitted_run "$E2E_WORK/full.png"
xdotool key --window "$WID" Escape
sleep 0.5
xprop -id "$WID" _NET_WM_STATE | grep -q _NET_WM_STATE_FULLSCREEN && fail "Esc: still full screen"
xprop -id "$WID" _NET_WM_STATE | grep -q _NET_WM_STATE_MAXIMIZED_HORZ || fail "Esc: not maximized again"
echo "PASS: maximized and full screen, the design fills the screen, sharp"
