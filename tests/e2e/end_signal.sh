#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The signal END_SIGNAL (TERM, INT or HUP) while the blank screen is up with keep-awake held: the program ends
# through its own close path with status 0, hands back every hold it took (UnInhibit for the screen saver, the
# logind descriptor closed), shows the pointer again and leaves the store as it was.
. "$(dirname "$0")/lib.sh"
TEST_NAME=end_signal-${END_SIGNAL:?}

start_x
start_buses

start_fake_desktop

store_set Check4 1
start_app
show_screen
wait_curtain
wait_for 5 pointer_is hidden || fail "the pointer was not hidden"
wait_for 10 test "$(calls ScreenSaver.Inhibit)" -gt "$(calls ScreenSaver.UnInhibit)" ||
    fail "the screen saver inhibitor was not taken: $(cat "$CALLS")"
wait_for 10 test "$(calls login1.Inhibit)" -gt "$(calls 'login1 released')" ||
    fail "the logind inhibitor was not taken: $(cat "$CALLS")"
stored=$(md5sum <"$STORE")
kill -s "$END_SIGNAL" "$APP_PID"
expect_exit 0
wait_for 10 test "$(calls ScreenSaver.UnInhibit)" = "$(calls ScreenSaver.Inhibit)" ||
    fail "the screen saver inhibitor was not handed back: $(cat "$CALLS")"
wait_for 10 test "$(calls 'login1 released')" = "$(calls login1.Inhibit)" ||
    fail "the logind inhibitor was not handed back: $(cat "$CALLS")"
pointer_is visible || fail "the pointer is hidden"
[ "$(md5sum <"$STORE")" = "$stored" ] || fail "the store changed"
note "passed"
