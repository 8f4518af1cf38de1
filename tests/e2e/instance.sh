#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# One instance per session, on a private session bus: a later start hands its request to the running
# instance and ends at once, leaving one process:
#   options window up, `--show`     the screen is covered; ESC brings the options window back
#   options window up, a plain start the options window is raised and gets the keyboard
#   nothing running, `--show`        the screen is covered; ESC ends the program with the pointer visible
#   two plain starts at one moment  one process is left, with its options window
. "$(dirname "$0")/lib.sh"

start_x
start_bus session
# How many of the program's processes use the test's session bus (other tests may run the program meanwhile).
instances() {
    local pid count=0
    for pid in $(pgrep -f "^$UMBRALUX( |\$)"); do
        grep -qzx "DBUS_SESSION_BUS_ADDRESS=$DBUS_SESSION_BUS_ADDRESS" "/proc/$pid/environ" 2>/dev/null &&
            count=$((count + 1))
    done
    echo $count
}
one_instance() { [ "$(instances)" = 1 ]; }
focus_elsewhere() { ! has_focus "$OPTIONS_WINDOW"; }
# A later start, which must end at once after handing its request over.
later() {
    timeout 10 "$UMBRALUX" "$@" >>"$WORK/later.log" 2>&1 ||
        fail "a later start ($*) ended with $?: $(cat "$WORK/later.log")"
}

start_app
later --show
wait_curtain
one_instance || fail "--show left $(instances) processes"
send key:Escape
wait_curtain_gone
wait_options

# The keyboard goes elsewhere: to another program's window under the window manager, to nobody without one.
if [ "$WM_MODE" = openbox ]; then
    "$XPROBE" keylog >/dev/null &
    PIDS+=($!)
else
    xdotool windowfocus "$(xwininfo -root | awk '/Window id:/ {print $4}')"
fi
wait_for 5 focus_elsewhere || fail "the options window kept the keyboard"
later
wait_for 5 has_focus "$OPTIONS_WINDOW" || fail "a plain start did not raise the options window"
one_instance || fail "a plain start left $(instances) processes"
stop_app

launch xcb --show
wait_curtain
wait_for 3 pointer_is hidden || fail "pointer still visible over the blank screen of --show"
send key:Escape
expect_exit 0
pointer_is visible || fail "the pointer did not come back"

launch
launch
wait_for 10 one_instance || fail "two starts at once left $(instances) processes"
find_window "Umbralux Software" >/dev/null || fail "no options window after two starts at once"
note "passed"
