# Helpers for driving the real fotonar on a private X server, as a person would: click at the
# controls' places, look at screenshots. Sourced by the end-to-end tests and tools/screenshot.sh.
#
# Needs: Xvfb, xdotool, ImageMagick; openbox and wmctrl for the window-manager cases.
# FOTONAR names the binary under test.

set -euo pipefail

: "${FOTONAR:?FOTONAR must name the fotonar binary}"
E2E_WORK=$(mktemp -d)
XVFB_PID=
WM_PID=
APP_PID=
WID=
# Seconds given to a run at the slowest slow-down to end: a few on an idle machine, minutes on
# one that is busy with other work.
SLOW_RUN=300

# is_child PID: the process is still a child of this shell. One that has ended was reaped at
# once, and on a busy machine its number may soon be another process's, of another test or
# program: not this test's to end.
is_child() {
    local stat ppid
    [ -n "$1" ] && read -r stat 2>/dev/null <"/proc/$1/stat" || return 1
    # The state and the parent come after the name in brackets, which may hold blanks.
    read -r _ ppid _ <<<"${stat##*) }"
    [ "$ppid" = $$ ]
}

# stop_children PID...: ends each of these processes that is still a child of this shell, and
# waits for it.
stop_children() {
    local pid
    for pid in "$@"; do
        is_child "$pid" || continue
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
}

e2e_cleanup() {
    stop_children $APP_PID $WM_PID $XVFB_PID
    wait 2>/dev/null || true
    [ -n "${E2E_KEEP:-}" ] && cp -r "$E2E_WORK" "$E2E_KEEP"
    rm -rf "$E2E_WORK"
}
trap e2e_cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    [ -f "$E2E_WORK/app.log" ] && sed 's/^/  app: /' "$E2E_WORK/app.log" >&2
    exit 1
}

# Exit 77 (skipped) when a tool is missing; `make test` installs them all.
require_tools() {
    local tool
    for tool in "$@"; do
        command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
    done
}

# wait_until SECONDS PID LOG WHAT COMMAND...: polls COMMAND until it succeeds. Fails with WHAT
# and the output in LOG when the process PID, which is to bring it about, has exited, or when
# the time is up: a deadline rather than a number of polls, as a busy machine makes both the
# polls and the process slower.
wait_until() {
    local seconds=$1 pid=$2 log=$3 what=$4
    local deadline=$((SECONDS + seconds))
    shift 4
    until "$@"; do
        is_child "$pid" || fail "$what: it exited. $(tr '\n' ' ' <"$log")"
        [ $SECONDS -lt $deadline ] || fail "$what within $seconds s. $(tr '\n' ' ' <"$log")"
        sleep 0.05
    done
}

# start_display [WIDTHxHEIGHT]: a private X server; Xvfb picks a free display number itself and
# writes it once it accepts clients. It does not reset when its last client goes: a program
# started right after another has ended would find it resetting and could not connect.
start_display() {
    local size=${1:-1280x1024}
    require_tools Xvfb xdotool import convert
    unset QT_QPA_PLATFORM WAYLAND_DISPLAY
    # Emptied here, not only by the redirection below: that happens in the background process,
    # and until it does, the file still names the display of an earlier start_display, whose X
    # server is gone or not yet accepting clients again.
    : >"$E2E_WORK/display"
    Xvfb -displayfd 5 -screen 0 "${size}x24" -nolisten tcp -noreset 5>"$E2E_WORK/display" \
        2>"$E2E_WORK/xvfb.log" &
    XVFB_PID=$!
    wait_until 60 "$XVFB_PID" "$E2E_WORK/xvfb.log" "Xvfb did not start" test -s "$E2E_WORK/display"
    export DISPLAY=":$(head -n 1 "$E2E_WORK/display")"
}

# stop_display: the program, the window manager and the X server go, for another display.
stop_display() {
    stop_children $APP_PID $WM_PID $XVFB_PID
    APP_PID= WM_PID= XVFB_PID=
}

# start_window_manager: openbox managing the display, once wmctrl finds it and it has set its work
# area, its last step before it takes windows' requests (on a starved machine, seconds later).
start_window_manager() {
    require_tools openbox wmctrl
    openbox --sm-disable >"$E2E_WORK/wm.log" 2>&1 &
    WM_PID=$!
    wait_until 60 "$WM_PID" "$E2E_WORK/wm.log" "openbox did not start on $DISPLAY" wm_running
}
wm_running() { wmctrl -m >/dev/null 2>&1 && xprop -root _NET_WORKAREA 2>/dev/null | grep -q =; }

# managed_window PID: the window of that process that the window manager manages and shows,
# from the manager's own list: no walk of the window tree.
managed_window() {
    local id
    for id in $(wmctrl -lp 2>/dev/null | awk -v pid="$1" '$3 == pid {print $1}'); do
        if xwininfo -id "$id" 2>/dev/null | grep -q 'Map State: IsViewable'; then
            echo $((id))
            return
        fi
    done
}

# wait_for_window SECONDS SEARCH...: sets WID to the first visible window that
# `xdotool search SEARCH` finds. xdotool walks the window tree and dies of an X error when a
# window it is looking at goes away meanwhile (the window manager's, or one the program
# replaces), so each search is a fresh one until the time is up or the program has exited;
# where a window manager runs, its list of the program's windows is asked as well.
wait_for_window() {
    local deadline=$((SECONDS + $1))
    shift
    WID=
    while [ "$SECONDS" -lt "$deadline" ]; do
        WID=$(xdotool search --onlyvisible "$@" 2>/dev/null | head -n 1) || true
        [ -z "$WID" ] && [ -n "$WM_PID" ] && [ "$1" = --pid ] && WID=$(managed_window "$2")
        [ -n "$WID" ] && return 0
        is_child "$APP_PID" || fail "the program exited before its window appeared"
        sleep 0.05
    done
    fail "the window did not appear; the program is $(awk '/^State/ {print $2, $3}' \
        "/proc/$APP_PID/status" 2>/dev/null); named windows: $(xwininfo -root -tree 2>/dev/null |
        grep -o '"[^"]*":' | sort -u | tr '\n' ' '); managed: $(wmctrl -lp 2>/dev/null | tr '\n' ';');" \
        "its windows: $(for id in $(xdotool search --pid "$APP_PID" 2>/dev/null); do
            xwininfo -id "$id" 2>/dev/null | grep -o 'Map State: [A-Za-z]*'; done | tr '\n' ' ')"
}

# start_app [ENV=VALUE ...]: launches fotonar and waits for its window.
start_app() {
    env "$@" "$FOTONAR" >"$E2E_WORK/app.log" 2>&1 &
    APP_PID=$!
    wait_for_window 60 --pid "$APP_PID"
    sleep 0.5 # let it paint
}

# stop_app: the program, still running, is ended, for another start on the same display.
stop_app() {
    is_child "$APP_PID" || fail "the program had ended by itself"
    stop_children "$APP_PID"
    APP_PID=
}

# Device pixels per logical pixel of the app under test (QT_SCALE_FACTOR), a whole number.
SCALE=1
# How the window shows its design (fit_window): the zoom in 64ths, and where the design's
# top-left corner stands, in logical pixels. At the preferred size, 1:1 from the corner.
ZOOM64=64 LEFT=0 TOP=0

# fit_window: sets ZOOM64, LEFT and TOP from the window's client area as the program fits its
# design: the largest zoom in 64ths (at least 1) at which 820 x 580 fits, centred.
fit_window() {
    local w h zx zy
    read -r w h < <(xwininfo -id "$WID" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w, h}')
    w=$(((2 * w + SCALE) / (2 * SCALE))) # as Qt rounds an odd size at twice the density
    h=$(((2 * h + SCALE) / (2 * SCALE)))
    zx=$((64 * (2 * w + 1) / 1640))
    zy=$((64 * (2 * h + 1) / 1160))
    ZOOM64=$((zx < zy ? zx : zy))
    [ "$ZOOM64" -ge 64 ] || ZOOM64=64
    LEFT=$(((w - (820 * ZOOM64 + 32) / 64) / 2))
    TOP=$(((h - (580 * ZOOM64 + 32) / 64) / 2))
    [ "$LEFT" -ge 0 ] || LEFT=0
    [ "$TOP" -ge 0 ] || TOP=0
    echo "client area ${w} x ${h}: zoom $ZOOM64/64, design at ($LEFT, $TOP)"
}

# eventually SECONDS COMMAND...: runs COMMAND, an expectation, until it holds or the time is up,
# then once more, failing as it fails: for what the window manager or the program bring about in
# their own time, after a step of the test.
eventually() {
    local deadline=$((SECONDS + $1))
    shift
    until ("$@") >/dev/null 2>&1 || [ $SECONDS -ge $deadline ]; do
        sleep 0.1
    done
    "$@"
}

# await_zoom OP VALUE: waits until the window's fit has [ "$ZOOM64" OP VALUE ], as a window
# manager takes its time to resize it.
await_zoom() {
    local deadline=$((SECONDS + 30))
    while fit_window >/dev/null && ! [ "$ZOOM64" "$1" "$2" ]; do
        [ $SECONDS -lt $deadline ] || fail "the zoom stayed $ZOOM64/64"
        sleep 0.1
    done
    fit_window
}

# maximized_default_run: the window maximized, the design zoomed to it, and a default run drawn
# at that zoom (expect_fitted_run).
maximized_default_run() {
    wmctrl -i -r "$WID" -b add,maximized_vert,maximized_horz
    await_zoom -gt 64
    run_to_end "$E2E_WORK/run.png"
    expect_fitted_run "$E2E_WORK/run.png"
}

# full_screen_and_back: F11 makes the maximized window full screen, the design grows and the
# picture is drawn again at its zoom; Esc gives the window back its maximized size.
full_screen_and_back() {
    local maximized=$ZOOM64
    xdotool key --window "$WID" F11
    await_zoom -gt "$maximized"
    wait_pixel 115 88 "$WHITE" 30 # drawn again where the new zoom puts it
    shot "$E2E_WORK/full.png"
    expect_fitted_run "$E2E_WORK/full.png"
    xdotool key --window "$WID" Escape
    await_zoom -eq "$maximized"
}

# dx X, dy Y: the device pixel in the middle of the design's pixel X (Y) as the window shows it.
dx() { echo $((LEFT * SCALE + (2 * $1 + 1) * ZOOM64 * SCALE / 128)); }
dy() { echo $((TOP * SCALE + (2 * $1 + 1) * ZOOM64 * SCALE / 128)); }

# click X Y: a left click at the design's (X, Y).
click() {
    xdotool mousemove --window "$WID" "$(dx "$1")" "$(dy "$2")" click 1
}

# The option buttons' indicators, and the buttons, at their layout places.
click_option() {
    case $1 in
        400) click 54 30 ;; 100) click 94 30 ;;
        1) click 166 30 ;; 1.5) click 198 30 ;; 2) click 238 30 ;; 2.5) click 270 30 ;;
        *) fail "no option $1" ;;
    esac
}
click_start() { click 580 20; }
click_konec() { click 676 20; }
# start_slow_run: the scroll bar's thumb dragged from its left end to the right end, slow-down 6,
# where a run lasts a couple of seconds; then Start, and the run has begun: its scene is drawn.
start_slow_run() {
    xdotool mousemove --window "$WID" "$(dx 362)" "$(dy 48)" mousedown 1 \
        mousemove --window "$WID" "$(dx 420)" "$(dy 48)" \
        mousemove --window "$WID" "$(dx 500)" "$(dy 48)" mouseup 1
    sleep 0.1
    click_start
    wait_pixel 61 470 "$LIGHT_GREEN" 60
}

# run_to_end FILE [OPTION...]: clicks the options (click_option), then Start; waits for the
# run's end, when its detector is filled again (at x = 415 at distance 100, else at x = 115),
# lets the labels that the end reveals be painted, and takes the screenshot FILE.
run_to_end() {
    local file=$1 option detector=115
    shift
    for option in "$@"; do
        click_option "$option"
        case $option in 100) detector=415 ;; 400) detector=115 ;; esac
    done
    click_start
    wait_pixel "$detector" 88 "$WHITE" 60
    sleep 0.3
    shot "$file"
}

# shot FILE: the window's client area as a PNG.
shot() {
    import -window "$WID" "$1" 2>/dev/null || fail "screenshot failed"
}

# pixel FILE X Y: prints "R,G,B" of that pixel.
pixel() {
    convert "$1" -format "%[fx:int(255*p{$2,$3}.r+0.5)],%[fx:int(255*p{$2,$3}.g+0.5)],%[fx:int(255*p{$2,$3}.b+0.5)]" info:
}

# expect_pixel FILE X Y R,G,B [what]
expect_pixel() {
    local got
    got=$(pixel "$1" "$2" "$3")
    [ "$got" = "$4" ] || fail "${5:-pixel} at ($2, $3): expected $4, got $got"
}

# expect_at FILE X Y R,G,B [what]: the design's pixel (X, Y) as the window shows it.
expect_at() {
    expect_pixel "$1" "$(dx "$2")" "$(dy "$3")" "$4" "${5:-pixel}"
}

# expect_alpha FILE LEFT TOP and expect_beta ...: the whole α (β) bitmap with its top-left corner
# at the design's (LEFT, TOP), over whatever lies there (the prompt, the drawing): glyph pixels
# at its top and bottom, and white inside the letter.
expect_alpha() {
    expect_at "$1" $(($2 + 4)) "$3" "$GLYPH" "alpha's top row"
    expect_at "$1" $(($2 + 1)) $(($3 + 5)) "$GLYPH" "alpha's left stroke"
    expect_at "$1" $(($2 + 4)) $(($3 + 5)) "$WHITE" "inside alpha"
    expect_at "$1" $(($2 + 12)) $(($3 + 10)) "$GLYPH" "alpha's bottom row"
}
expect_beta() {
    expect_at "$1" $(($2 + 4)) $(($3 + 1)) "$GLYPH" "beta's top"
    expect_at "$1" $(($2 + 2)) $(($3 + 10)) "$GLYPH" "beta's stem"
    expect_at "$1" $(($2 + 6)) $(($3 + 10)) "$WHITE" "inside beta"
    expect_at "$1" $(($2 + 2)) $(($3 + 21)) "$GLYPH" "beta's foot"
}

# wait_pixel X Y R,G,B [SECONDS]: polls screenshots until the design's pixel (X, Y) has that
# colour.
wait_pixel() {
    local deadline=$((SECONDS + ${4:-60}))
    while [ $SECONDS -lt $deadline ]; do
        shot "$E2E_WORK/poll.png"
        [ "$(pixel "$E2E_WORK/poll.png" "$(dx "$1")" "$(dy "$2")")" = "$3" ] && return 0
        sleep 0.02
    done
    fail "($1, $2) never became $3"
}

# crop FILE LEFT TOP RIGHT BOTTOM: the design's pixels from (LEFT, TOP) to (RIGHT, BOTTOM) as the
# window shows them, from the middle of the first to the middle of the last, as
# $E2E_WORK/crop.png.
crop() {
    local left top
    left=$(dx "$2") top=$(dy "$3")
    convert "$1" -crop "$(($(dx "$4") - left + 1))x$(($(dy "$5") - top + 1))+$left+$top" \
        +repage "$E2E_WORK/crop.png"
}

# only_colours WHAT COLOUR...: $E2E_WORK/crop.png holds no other colours (#RRGGBB).
only_colours() {
    local what=$1 colour
    shift
    for colour in $(convert "$E2E_WORK/crop.png" -unique-colors txt:- | awk 'NR > 1 {print $3}'); do
        [[ " $* " == *" $colour "* ]] || fail "$what: colour $colour, blended or misplaced"
    done
}

# expect_image FILE BITMAP LEFT TOP WIDTH HEIGHT: the bitmap (alfa, beta) in its box at the
# design's (LEFT, TOP) as the window fits it, scaled without smoothing: nothing but its own two
# colours inside the box, and about as many of its dark pixels as the zoom makes of them.
expect_image() {
    local dark expected
    crop "$1" "$3" "$4" $(($3 + $5 - 1)) $(($4 + $6 - 1))
    only_colours "$2" '#101810' '#FFFFFF'
    dark=$(convert "$E2E_WORK/crop.png" -threshold 50% -negate -format '%[fx:int(mean*w*h+0.5)]' info:)
    expected=$(convert "$(dirname "${BASH_SOURCE[0]}")/../../assets/$2.bmp" -threshold 50% -negate \
        -format "%[fx:int(mean*w*h * ($ZOOM64 * $SCALE / 64)^2)]" info:)
    [ $((10 * dark)) -ge $((6 * expected)) ] && [ $((10 * dark)) -le $((12 * expected)) ] \
        || fail "$2: $dark dark pixels, where the zoom makes about $expected"
}

# expect_fitted_run FILE: a default run's picture as the window fits it to its size: the probes
# of a default run through the fit, the boundary's ends (x = 50 and 760) where the zoom puts
# them, and the drawing where no text lies in the palette's own colours, nothing blended.
expect_fitted_run() {
    local file=$1 row ends first last expected area reach
    expect_at "$file" 61 470 "$LIGHT_GREEN" "lower medium"
    expect_at "$file" 400 291 64,64,64 "boundary"
    expect_at "$file" 51 511 64,64,64 "the first arrow"
    expect_at "$file" 656 152 "$GREEN" "resultant"
    expect_at "$file" 436 120 128,128,128 "normal"
    expect_at "$file" 115 88 "$WHITE" "detector, filled"
    expect_at "$file" 505 444 "$WHITE" "source"
    expect_at "$file" 548 452 "$LIGHT_GREEN" "labZdroj revealed"
    expect_image "$file" alfa 416 191 15 11
    expect_image "$file" beta 441 391 12 22
    row=$(dy 291)
    ends=$(convert "$file" -crop "$(($(dx 800) - $(dx 0)))x1+$(dx 0)+$row" +repage txt:- |
        awk -F'[,:]' '/#404040/ {if (first == "") first = $1; last = $1} END {print first, last}')
    read -r first last <<<"$ends"
    [ -n "$first" ] || fail "no boundary in device row $row"
    first=$((first + $(dx 0))) last=$((last + $(dx 0)))
    # Within the pen's half width, which grows with the zoom, and a pixel of rounding.
    reach=$((ZOOM64 * SCALE / 64 + 2))
    for end in "$first 50" "$last 760"; do
        set -- $end
        expected=$((LEFT * SCALE + $2 * ZOOM64 * SCALE / 64))
        [ $(($1 - expected)) -le $reach ] && [ $((expected - $1)) -le $reach ] \
            || fail "the boundary ends at device x = $1, not at $expected (x = $2 at zoom $ZOOM64/64)"
    done
    for area in "540 100 759 189" "110 360 429 484"; do
        crop "$file" $area
        only_colours "the drawing in $area" '#C0C0C0' '#C0FFC0' '#404040' '#00FF00' '#FFFFFF' '#808080'
    done
}

now_ms() { date +%s%3N; }

# drawn_mask IMAGE OUT [R,G,B]: white where IMAGE has something drawn, black on the two
# backgrounds (grey and the light-green medium); with a colour, white where it has that colour.
drawn_mask() {
    if [ -n "${3:-}" ]; then
        convert "$1" -fill white -opaque "rgb($3)" -fill black +opaque white -colorspace gray "$2"
    else
        convert "$1" -fill black -opaque "rgb(192,192,192)" -opaque "rgb(192,255,192)" \
            -fill white +opaque black -colorspace gray "$2"
    fi
}

# drawn_in IMAGE [WxH+X+Y]: how many pixels of the image (of that box of it) have something
# drawn.
drawn_in() {
    convert "$1" ${2:+-crop "$2" +repage} -fill black -opaque "rgb(192,192,192)" \
        -opaque "rgb(192,255,192)" -fill white +opaque black -format '%[fx:int(mean*w*h+0.5)]' info:
}

# missing_within_one IMAGE_A IMAGE_B [R,G,B]: how many drawn pixels of A (of that colour) have no
# such pixel of B within one pixel. Both images have the same size.
missing_within_one() {
    drawn_mask "$1" "$E2E_WORK/a-mask.png" "${3:-}"
    drawn_mask "$2" "$E2E_WORK/b-mask.png" "${3:-}"
    convert "$E2E_WORK/a-mask.png" \( "$E2E_WORK/b-mask.png" -morphology Dilate Square:1 -negate \) \
        -compose Multiply -composite -format '%[fx:int(mean*w*h+0.5)]' info:
}

# colours IMAGE [WxH+X+Y]: how many different colours it has (in that box).
colours() {
    convert "$1" ${2:+-crop "$2" +repage} -unique-colors -format '%w' info:
}

# count_red IMAGE WxH+X+Y ABOVE|BELOW PERCENT: pixels of the box whose red is above (below) that
# share of full. White text has red 255, the backgrounds 192, black text 0.
count_red() {
    convert "$1" -crop "$2" +repage -channel R -separate +channel \
        $([ "$3" = below ] && echo -negate) -threshold "$4%" -format '%[fx:int(mean*w*h+0.5)]' info:
}

# ends_after_run WHAT: asked during a run to end (by WHAT), the program is still there a moment
# later, and it ends with status 0 once the run is over.
ends_after_run() {
    sleep 0.3
    is_child "$APP_PID" || fail "$1: the program ended in the middle of the run"
    wait_for_exit "$SLOW_RUN"
    [ "$EXIT_STATUS" = 0 ] || fail "$1: exit status $EXIT_STATUS"
}

# wait_for_exit SECONDS: waits for fotonar to end and sets EXIT_STATUS to its exit status.
# (Not in a command substitution: only this shell can wait for its child.)
wait_for_exit() {
    local deadline=$((SECONDS + $1))
    while is_child "$APP_PID"; do
        [ $SECONDS -lt $deadline ] || fail "fotonar did not end within $1 s"
        sleep 0.05
    done
    EXIT_STATUS=0
    wait "$APP_PID" || EXIT_STATUS=$?
    APP_PID=
}

WHITE=255,255,255
GREY=192,192,192
LIGHT_GREEN=192,255,192
GREEN=0,255,0
GLYPH=16,24,16
