#!/usr/bin/env bash
# The browser build's tests, in Debian's headless Chromium driven by puppeteer-core (installed
# by `make test` with npm ci). Skipped (77) where the build, Chromium or the modules are missing.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
: "${FOTONAR_WEB:=$here/../../build-web}"
[ -f "$FOTONAR_WEB/index.html" ] || { echo "SKIP: $FOTONAR_WEB is not built (make web)"; exit 77; }
[ -x "${CHROMIUM:-/usr/bin/chromium}" ] || { echo "SKIP: no Chromium"; exit 77; }
[ -d "$here/node_modules/puppeteer-core" ] || { echo "SKIP: npm ci has not run in $here"; exit 77; }
export FOTONAR_WEB
exec node --test "$here/"
