#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# A close request for the blank screen (the window manager's close) brings the options window back with the
# pointer; closing the options window then ends the program with status 0.
. "$(dirname "$0")/lib.sh"

start_x
store_set Check4 0
start_app
show_screen
wait_curtain
wait_for 3 pointer_is hidden || fail "pointer still visible"
if [ "$WM_MODE" = openbox ]; then
    wmctrl -i -c "$CURTAIN"
else
    "$XPROBE" close "$CURTAIN"
fi
wait_curtain_gone
wait_options
wait_for 3 pointer_is visible || fail "pointer not back after the close request"
app_running || fail "a close request for the blank screen ended the program"

"$XPROBE" close "$OPTIONS_WINDOW"
expect_exit 0
note "passed"
