#!/usr/bin/env bash
# A dark desktop theme (GNOME's Adwaita dark through Qt's GTK platform theme) changes nothing in
# the window: the same picture, captions and controls included, as without a theme.
. "$(dirname "$0")/lib.sh"
[ -n "$(find /usr/lib -path '*platformthemes/libqgtk3.so' -print -quit)" ] \
    || { echo "SKIP: Qt's GTK platform theme is not installed"; exit 77; }
start_display
start_window_manager

# default_run NAME [ENV=VALUE ...]: a run with the defaults, screenshot in NAME.png.
default_run() {
    local name=$1
    shift
    start_app "$@"
    run_to_end "$E2E_WORK/$name.png"
    stop_app
}
default_run plain QT_QPA_PLATFORMTHEME=
default_run dark QT_QPA_PLATFORMTHEME=gtk3 GTK_THEME=Adwaita:dark

differ=$(compare -metric AE "$E2E_WORK/plain.png" "$E2E_WORK/dark.png" null: 2>&1) || true
[ "$differ" = 0 ] || fail "$differ pixels differ under the dark theme"
echo "PASS: dark theme"
