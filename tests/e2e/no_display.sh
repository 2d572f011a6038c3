#!/usr/bin/env bash
# Without a display: one clear line and exit status 1, not Qt's abort.
set -euo pipefail
: "${FOTONAR:?}"

check() { # $1: what; the rest: env arguments
    local what=$1
    shift
    local out status=0
    out=$(env -u QT_QPA_PLATFORM -u WAYLAND_DISPLAY -u DISPLAY "$@" "$FOTONAR" 2>&1) || status=$?
    [ "$status" = 1 ] || { echo "FAIL: $what: exit status $status"; echo "$out"; exit 1; }
    [ "$(printf '%s\n' "$out" | wc -l)" = 1 ] || { echo "FAIL: $what: more than one line:"; echo "$out"; exit 1; }
    case $out in
        "fotonar: cannot open a display: "*) echo "$what: $out" ;;
        *) echo "FAIL: $what: $out"; exit 1 ;;
    esac
}

check "no DISPLAY"
check "dead display" DISPLAY=:4711
check "dead display, XDG runtime set" DISPLAY=:4711 XDG_RUNTIME_DIR=/tmp
echo "PASS: no display"
