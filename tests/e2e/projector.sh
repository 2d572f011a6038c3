#!/usr/bin/env bash
# On a projector's or whiteboard's screen the maximized window shows the design as large as it
# goes, centred: 1920 x 1080, 1280 x 800, and 3840 x 2160 at twice the density. The default
# run is drawn at that zoom, sharp; F11 makes the window full screen and Esc gives it back.
. "$(dirname "$0")/lib.sh"

for screen in "1280x800 1" "3840x2160 2" "1920x1080 1"; do
    set -- $screen
    stop_display
    start_display "$1"
    start_window_manager
    SCALE=$2
    start_app QT_SCALE_FACTOR="$2"
    maximized_default_run
    echo "$1 at scale $2: the default run at zoom $ZOOM64/64"
done

full_screen_and_back
xprop -id "$WID" _NET_WM_STATE | grep -q _NET_WM_STATE_MAXIMIZED_HORZ || fail "Esc: not maximized again"
echo "PASS: maximized and full screen, the design fills the screen, sharp"
