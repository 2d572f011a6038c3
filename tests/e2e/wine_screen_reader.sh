#!/usr/bin/env bash
# The Windows window's picture as a screen reader reads it through Active Accessibility: named
# before any run, and after a default run by what it now shows (fotonar-picture-name.exe makes
# the window in its own process and asks as a screen reader asks).
. "$(dirname "$0")/wine_lib.sh"
require_wine
find_probe fotonar-picture-name.exe
start_display
names=$(wine "$PROBE" | tr -d '\r') || fail "no picture to read: $names"
expected=$'Obraz běhu\nObraz běhu: index lomu 2, vzdálenost detektoru 400'
[ "$names" = "$expected" ] || fail "the picture's names before and after a run: $names"
echo "PASS: the picture's accessible name follows the run"
