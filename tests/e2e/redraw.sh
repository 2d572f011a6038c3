#!/usr/bin/env bash
# Covering and uncovering the window, minimising and restoring it, and resizing it, during and
# after a run, never lose the picture.
. "$(dirname "$0")/lib.sh"
start_display
start_window_manager
start_app

picture_whole() { # $1: after what
    fit_window
    shot "$E2E_WORK/check.png"
    expect_at "$E2E_WORK/check.png" 61 470 "$LIGHT_GREEN" "medium after $1"
    expect_at "$E2E_WORK/check.png" 656 152 "$GREEN" "resultant after $1"
    expect_at "$E2E_WORK/check.png" 115 88 "$WHITE" "detector after $1"
    expect_at "$E2E_WORK/check.png" 420 191 "$GLYPH" "alpha after $1"
}
# The window manager and the program repaint in their own time.
check_picture() { eventually 30 picture_whole "$1"; }

cover() {
    xmessage -geometry 700x400+40+100 "Zakryto" &
    local cover_pid=$!
    sleep 0.6
    kill "$cover_pid"
    wait "$cover_pid" 2>/dev/null || true
}

# During a slow run: cover, minimise and restore, shrink and grow.
start_slow_run
cover
xdotool windowminimize "$WID"
sleep 0.3
wmctrl -i -a "$WID"
xdotool windowsize "$WID" 400 300
sleep 0.2
xdotool windowsize "$WID" 900 640
sleep 0.2
fit_window # larger than the design: zoomed
wait_pixel 115 88 "$WHITE" "$SLOW_RUN"
check_picture "a run that was covered, minimised and resized"

# And after it.
cover
check_picture "covering"
xdotool windowminimize "$WID"
sleep 0.3
wmctrl -i -a "$WID"
check_picture "minimising"
xdotool windowsize "$WID" 300 200
sleep 0.3
xdotool windowsize "$WID" 900 640
check_picture "shrinking and growing"
echo "PASS: the picture survives covering, minimising and resizing"
