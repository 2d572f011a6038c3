# Helpers for driving fotonar.exe under Wine on a private X server; sourced after lib.sh.
# FOTONAR_EXE names the Windows executable, WINEPREFIX the prefix that wine_prefix.sh made.

export WINEDEBUG=-all
: "${FOTONAR_EXE:?FOTONAR_EXE must name fotonar.exe}"
: "${WINEPREFIX:?WINEPREFIX must name the test prefix}"

require_wine() {
    require_tools wine wineserver
    [ -f "$FOTONAR_EXE" ] || { echo "SKIP: $FOTONAR_EXE is not built (make windows)"; exit 77; }
    [ -f "$WINEPREFIX/user.reg" ] || fail "no Wine prefix at $WINEPREFIX (the wine_prefix test makes it)"
}

# The test's Wine server goes down with it, and the next test starts only once it is gone: a
# program started while a server shuts down may exit before its window appears.
wine_cleanup() {
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
    e2e_cleanup
}
trap wine_cleanup EXIT

# start_wine_app [ENV=VALUE ...]: launches fotonar.exe and waits for its window.
start_wine_app() {
    wineserver -w # one still going down from the program before
    env "$@" wine "$FOTONAR_EXE" >"$E2E_WORK/app.log" 2>&1 &
    APP_PID=$!
    wait_for_window 60 --name '^Fotonar'
    sleep 1 # let it paint
}

stop_wine_app() {
    kill "$APP_PID" 2>/dev/null || true
    wait "$APP_PID" 2>/dev/null || true
    APP_PID=
    wineserver -w
}
