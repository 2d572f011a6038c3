#!/usr/bin/env bash
# fotonar.exe's window moved between monitors of different density (WM_DPICHANGED), which Wine
# never sends: fotonar-dpi-change.exe makes the window in its own process and sends it.
. "$(dirname "$0")/wine_lib.sh"
require_wine
start_display 2400x1600 # the window at 200 % is larger than a small screen
find_probe fotonar-dpi-change.exe
status=0
wine "$PROBE" || status=$?
[ "$status" = 77 ] && exit 77
[ "$status" = 0 ] || fail "the window did not follow the change of density (status $status)"
echo "PASS: 200 % and back, picture kept"
