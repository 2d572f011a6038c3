#!/usr/bin/env bash
# The slow-down scroll bar at 6 slows the run down so that it shows path by path: screenshots
# taken while it runs find the row of photon arrows growing in many steps, never going back.
. "$(dirname "$0")/lib.sh"
start_display
start_app
drag_slowest

# arrows FILE: drawn pixels in the row of arrows.
arrows() {
    convert "$1" -crop 720x24+40+498 +repage -fill black -opaque "rgb(192,192,192)" \
        -opaque "rgb(192,255,192)" -fill white +opaque black \
        -format '%[fx:int(mean*w*h+0.5)]' info:
}
click_start
wait_pixel 115 88 "$GREY" 30
steps=0
last=0
while :; do
    shot "$E2E_WORK/poll.png"
    now=$(arrows "$E2E_WORK/poll.png")
    [ "$now" -ge "$last" ] || fail "the row of arrows shrank from $last to $now pixels"
    [ "$now" -gt "$last" ] && steps=$((steps + 1))
    last=$now
    [ "$(pixel "$E2E_WORK/poll.png" 115 88)" = "$WHITE" ] && break # the run is over
done
echo "the arrows grew in $steps steps to $last pixels"
[ "$steps" -ge 5 ] || fail "at slow-down 6 the run showed in only $steps steps"
echo "PASS: at slow-down 6 the run shows path by path"
