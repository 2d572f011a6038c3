#!/usr/bin/env bash
# fotonar.exe maximized on a 1920 x 1080 projector under a window manager: the design as large
# as it goes, centred, the default run drawn sharp at that zoom; F11 makes the window full
# screen and Esc gives it back.
. "$(dirname "$0")/wine_lib.sh"
require_wine
start_display 1920x1080
start_window_manager
start_wine_app
maximized_default_run
full_screen_and_back
echo "PASS: maximized and full screen under Wine, the design fills the screen, sharp"
