#!/usr/bin/env bash
# The browser build's tests in Debian's Chromium, Firefox ESR and WebKitGTK (run.sh [ENGINE]: only
# that one), driven by puppeteer-core (installed by `make test` with npm ci) and WebKitWebDriver.
# Skipped (77) where the build, the engine's browser or the modules are missing.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
: "${FOTONAR_WEB:=$here/../../build-web}"
[ -f "$FOTONAR_WEB/index.html" ] || { echo "SKIP: $FOTONAR_WEB is not built (make web)"; exit 77; }
[ -d "$here/node_modules/puppeteer-core" ] || { echo "SKIP: npm ci has not run in $here"; exit 77; }
engines=${1:-chromium,firefox,webkit}
for engine in ${engines//,/ }; do
    node --input-type=module -e "import {available} from '$here/lib.mjs'; process.exit(available('$engine') ? 0 : 77)" ||
        { echo "SKIP: $engine is not installed"; exit 77; }
done
export FOTONAR_WEB FOTONAR_ENGINES=$engines
exec node --test "$here/"
