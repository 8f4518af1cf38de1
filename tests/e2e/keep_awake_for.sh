#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# `--show --keep-awake-for 5s` with the keep-awake box unticked, started cold and handed to a running
# instance: the desktop's inhibitors are taken, all of them handed back after the five seconds while the
# blank screen stays up, --status says so, and the box stays unticked in the store.
. "$(dirname "$0")/lib.sh"

start_x
start_buses
start_fake_desktop
holding() { [ "$(calls ScreenSaver.Inhibit)" -gt "$(calls ScreenSaver.UnInhibit)" ] &&
    [ "$(calls login1.Inhibit)" -gt "$(calls 'login1 released')" ]; }
released() { [ "$(calls ScreenSaver.Inhibit)" = "$(calls ScreenSaver.UnInhibit)" ] &&
    [ "$(calls login1.Inhibit)" = "$(calls 'login1 released')" ]; }
status_says() { "$UMBRALUX" --status 2>/dev/null | jq -e "$1" >/dev/null; }

store_set Check4 0
store_set Text1 "s3cret-pw" # never printed by --status
for start in cold handed-over; do
    if [ $start = cold ]; then
        launch xcb --show --keep-awake-for 5s
    else
        start_app
        "$UMBRALUX" --show --keep-awake-for 5s || fail "the hand-over ended with $?"
    fi
    wait_curtain
    wait_for 3 holding || fail "$start: the inhibitors were not taken: $(cat "$CALLS")"
    status_says '.covered and .keepAwake.holding and .keepAwake.for == "5s"
        and any(.keepAwake.means[]; .means == "org.freedesktop.ScreenSaver" and .state == "holds")' ||
        fail "$start: --status does not say so: $("$UMBRALUX" --status 2>&1)"
    ! "$UMBRALUX" --status | grep -q "s3cret-pw" || fail "--status printed the password"
    wait_for 10 released || fail "$start: the inhibitors were not handed back: $(cat "$CALLS")"
    window_viewable "$CURTAIN" || fail "$start: the blank screen went with keep-awake"
    status_says '.covered and (.keepAwake.holding | not)' || fail "$start: --status: $("$UMBRALUX" --status 2>&1)"
    send key:Escape
    if [ $start = cold ]; then
        expect_exit 0
    else
        wait_options
        sleep 1
        released || fail "keep-awake came back with the options window of an unticked box: $(cat "$CALLS")"
        stop_app
    fi
    note "$start: held for the five seconds, then handed back with the screen still covered"
done
stored_is Check4 0 || fail "the keep-awake box was stored as $(store_get Check4)"
note "passed"
