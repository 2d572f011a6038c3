#!/usr/bin/env bash
# Makes docs/fotonar.png, the README's picture: a finished run with the start-up defaults,
# taken from the real window on a private X server.
# Usage: tools/screenshot.sh [path/to/fotonar]   (default: build/bin/fotonar)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
export FOTONAR=${1:-$top/build/bin/fotonar}
. "$top/tests/e2e/lib.sh"
start_display
start_app LANG=cs_CZ.UTF-8
run_to_end "$E2E_WORK/window.png"
# The picture ends at y = 545; crop the window's spare margin.
convert "$E2E_WORK/window.png" -crop 820x560+0+0 +repage -strip "$top/docs/fotonar.png"
echo "wrote docs/fotonar.png"
