#!/usr/bin/env bash
# "Konec", or the window manager's close, during a run: the run finishes, then the program ends
# with exit status 0.
. "$(dirname "$0")/lib.sh"
start_display
start_window_manager

quit_during_run() { # $1: how to quit
    start_app
    start_slow_run
    local start
    start=$(now_ms)
    case $1 in
        konec) click_konec ;;
        wm) wmctrl -i -c "$WID" ;;
    esac
    ends_after_run "$1"
    echo "$1: ended $(($(now_ms) - start)) ms after the request, status 0"
}

quit_during_run konec
quit_during_run wm
echo "PASS: quitting during a run waits for the run and exits cleanly"
