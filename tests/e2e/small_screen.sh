#!/usr/bin/env bash
# On a 1024 x 768 projector the window opens maximized, the design zoomed to fill it, and
# everything a run draws is inside it.
. "$(dirname "$0")/lib.sh"
start_display 1024x768
start_window_manager
start_app

await_zoom -gt 64 # maximized by the window manager after the window appears
xprop -id "$WID" _NET_WM_STATE | grep -q _NET_WM_STATE_MAXIMIZED_HORZ || fail "not maximized"
read -r width height < <(xwininfo -id "$WID" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w, h}')
echo "client area ${width} x ${height}"
[ "$width" -ge 801 ] && [ "$height" -ge 560 ] || fail "no room for the picture: ${width} x ${height}"

[ "$ZOOM64" -gt 64 ] || fail "the design is not zoomed to the screen"
run_to_end "$E2E_WORK/run.png"
expect_at "$E2E_WORK/run.png" 755 300 "$LIGHT_GREEN" "right end of the medium"
expect_at "$E2E_WORK/run.png" 656 152 "$GREEN" "resultant"
# labRadiusvektory, revealed under the row of arrows, has its text inside the window.
crop "$E2E_WORK/run.png" 400 526 696 542
text=$(drawn_in "$E2E_WORK/crop.png")
[ "$text" -gt 200 ] || fail "labRadiusvektory shows only $text pixels of text"
echo "PASS: maximized on a small screen, the whole picture inside"
