#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# `--show --keep-awake-for 5s` with the keep-awake box unticked, started cold and handed to a running
# instance: the desktop's inhibitors are taken, all of them handed back after the five seconds while the
# blank screen stays up, --status says so, and the box stays unticked in the store. Under sway the
# compositor's idle inhibitor on the blank screen is taken and handed back with them.
#   keep_awake_for.sh bare|sway
. "$(dirname "$0")/lib.sh"

if [ "$WM_MODE" = sway ]; then
    start_sway
    PLATFORM=wayland
    wait_curtain() { wait_for 10 covered || fail "the blank screen did not appear"; }
    covered() { [ "$(view Form1 | jq '.visible')" = true ]; }
    # The compositor's idle inhibitor on the blank screen, while it is up.
    idle_inhibited() { ! covered || [ "$(view Form1 | jq .inhibit_idle)" = "$1" ]; }
    wait_options() { wait_for 10 view_is "Umbralux Software" || fail "the options window did not come back"; }
else
    start_x
    PLATFORM=xcb
    covered() { window_viewable "$CURTAIN"; }
    idle_inhibited() { true; }
fi
start_buses
start_fake_desktop
holding() { [ "$(calls ScreenSaver.Inhibit)" -gt "$(calls ScreenSaver.UnInhibit)" ] &&
    [ "$(calls login1.Inhibit)" -gt "$(calls 'login1 released')" ] && idle_inhibited true; }
released() { [ "$(calls ScreenSaver.Inhibit)" = "$(calls ScreenSaver.UnInhibit)" ] &&
    [ "$(calls login1.Inhibit)" = "$(calls 'login1 released')" ] && idle_inhibited false; }
status_says() { as_user "$UMBRALUX" --status 2>/dev/null | jq -e "$1" >/dev/null; }

store_set Check4 0
store_set Text1 "s3cret-pw" # never printed by --status
give_to_user "$XDG_CONFIG_HOME"
for start in cold handed-over; do
    if [ $start = cold ]; then
        launch $PLATFORM --show --keep-awake-for 5s
    else
        launch $PLATFORM
        wait_for 15 bash -c "QT_QPA_PLATFORM=$PLATFORM ${AS_USER[*]} '$UMBRALUX' --status >/dev/null 2>&1" ||
            fail "the instance did not start: $(cat "$WORK/app.log")"
        as_user "$UMBRALUX" --show --keep-awake-for 5s || fail "the hand-over ended with $?"
    fi
    wait_curtain
    wait_for 3 holding || fail "$start: the inhibitors were not taken: $(cat "$CALLS")"
    status_says '.covered and .keepAwake.holding and .keepAwake.for == "5s"
        and any(.keepAwake.means[]; .means == "org.freedesktop.ScreenSaver" and .state == "holds")' ||
        fail "$start: --status does not say so: $(as_user "$UMBRALUX" --status 2>&1)"
    ! as_user "$UMBRALUX" --status | grep -q "s3cret-pw" || fail "--status printed the password"
    wait_for 10 released || fail "$start: the inhibitors were not handed back: $(cat "$CALLS")"
    covered || fail "$start: the blank screen went with keep-awake"
    status_says '.covered and (.keepAwake.holding | not)' || fail "$start: --status: $(as_user "$UMBRALUX" --status 2>&1)"
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
