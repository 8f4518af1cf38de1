#!/usr/bin/env bash
# Keep-awake on a real X server with two private D-Bus buses, one standing in for the session bus and one
# for the system bus; tst_keepawake starts the fake desktop services on them itself.
. "$(dirname "$0")/lib.sh"

start_x

# Starts a private bus listening at the given socket and waits until it takes connections; its address is
# left in BUS_ADDRESS. (Not in a subshell: the daemon must be in PIDS to be stopped at the end.)
start_bus() {
    local socket=$WORK/$1
    dbus-daemon --session --nofork --nopidfile --address="unix:path=$socket" >"$WORK/$1.log" 2>&1 &
    PIDS+=($!)
    wait_for 10 test -S "$socket" || fail "dbus-daemon ($1) did not start: $(cat "$WORK/$1.log")"
    BUS_ADDRESS="unix:path=$socket"
}
start_bus session-bus
export DBUS_SESSION_BUS_ADDRESS=$BUS_ADDRESS
start_bus system-bus
export DBUS_SYSTEM_BUS_ADDRESS=$BUS_ADDRESS

QT_QPA_PLATFORM=xcb "$KEEPAWAKE_TEST" || fail "tst_keepawake failed"
note "passed"
