#!/usr/bin/env bash
# The window as a screen reader reads it over AT-SPI, the bus that Orca reads, on a session bus
# of its own: the picture is an image with its name and description before and after a default
# run, whose start and end are announced (screen_reader.py).
. "$(dirname "$0")/lib.sh"
PYTHON=${PYTHON:-/usr/bin/python3} # Debian's, with pyatspi
require_tools dbus-daemon /usr/libexec/at-spi-bus-launcher
"$PYTHON" -c 'import pyatspi' 2>/dev/null || { echo "SKIP: pyatspi is not installed"; exit 77; }
start_display
# The session bus starts AT-SPI's bus and registry when the program asks, and they end with it.
dbus-daemon --session --nofork --print-address=3 3>"$E2E_WORK/bus" >"$E2E_WORK/bus.log" 2>&1 &
BUS_PID=$!
trap 'stop_children "$BUS_PID"; e2e_cleanup' EXIT
wait_until 60 "$BUS_PID" "$E2E_WORK/bus.log" "the session bus did not start" test -s "$E2E_WORK/bus"
export DBUS_SESSION_BUS_ADDRESS=$(head -n 1 "$E2E_WORK/bus")
unset AT_SPI_BUS_ADDRESS

start_app QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
"$PYTHON" "$(dirname "$0")/screen_reader.py" "$E2E_WORK/ready" >"$E2E_WORK/reader.log" 2>&1 &
READER_PID=$!
while [ ! -e "$E2E_WORK/ready" ] && is_child "$READER_PID"; do sleep 0.05; done
[ -e "$E2E_WORK/ready" ] && click_start
wait "$READER_PID" || fail "as a screen reader reads it: $(tail -n 1 "$E2E_WORK/reader.log")"
echo "PASS: the picture and the run as a screen reader reads them"
