# Helpers for driving fotonar.exe under Wine on a private X server, beside lib.sh's, which it
# sources. FOTONAR_EXE names the Windows executable, WINEPREFIX the prefix that wine_prefix.sh
# made.

. "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
export WINEDEBUG=-all
: "${FOTONAR_EXE:?FOTONAR_EXE must name fotonar.exe}"
: "${WINEPREFIX:?WINEPREFIX must name the test prefix}"

# require_wine [--no-prefix]: Wine and fotonar.exe, or the test is skipped; and the shared
# prefix, but for the test that makes it.
require_wine() {
    require_tools wine wineserver
    [ -f "$FOTONAR_EXE" ] || { echo "SKIP: $FOTONAR_EXE is not built (make windows)"; exit 77; }
    [ "${1:-}" = --no-prefix ] || [ -f "$WINEPREFIX/user.reg" ] \
        || fail "no Wine prefix at $WINEPREFIX (the wine_prefix test makes it)"
}

# The test's Wine server goes down with it, and the next test starts only once it is gone: a
# program started while a server shuts down may exit before its window appears.
wine_cleanup() {
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
    e2e_cleanup
}
trap wine_cleanup EXIT

# own_prefix: the test works in a copy of the shared prefix, so that what it sets or installs
# stays its own.
own_prefix() {
    cp -a "$WINEPREFIX" "$E2E_WORK/prefix"
    export WINEPREFIX="$E2E_WORK/prefix"
}

# import_registry: the registry file on stdin imported into the prefix, and in the prefix's files
# before the test goes on: its server has gone down and written them.
import_registry() {
    cat >"$E2E_WORK/import.reg"
    wine regedit "$E2E_WORK/import.reg" >/dev/null 2>&1 || fail "regedit failed"
    wineserver -w
}

# find_probe NAME: sets PROBE to the test helper NAME, built beside fotonar.exe.
find_probe() {
    PROBE="$(dirname "$FOTONAR_EXE")/$1"
    [ -f "$PROBE" ] || fail "$PROBE is not built (make windows)"
}

# start_wine_app [ENV=VALUE ...]: launches fotonar.exe and waits for its window.
start_wine_app() {
    wineserver -w # one still going down from the program before
    env "$@" wine "$FOTONAR_EXE" >"$E2E_WORK/app.log" 2>&1 &
    APP_PID=$!
    wait_for_window 60 --name '^Fotonar'
    sleep 1 # let it paint
}

stop_wine_app() {
    stop_app
    wineserver -w
}
