#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The program's message boxes on a real display: a stored colour that cannot be read gives one
# "Application Error" box before the options window opens, and the load goes on after OK; "Show Screen" with
# the password method and no password gives the reminder captioned with the application title, and the
# keyboard then goes to the password box.
. "$(dirname "$0")/lib.sh"

start_x
store_set "Background Color" abc
store_method 4
store_set Check4 0
launch

ERROR_BOX=$(find_window "Application Error") || fail "no error report for the unreadable colour"
screenshot "$ARTIFACTS/error-report-$WM_MODE.png"
find_window "Umbralux Software" 1 >/dev/null && fail "the options window opened before the report was closed"
xdotool key Return
wait_options
window_viewable "$ERROR_BOX" && fail "the error report stayed open"
[ "$(store_get Option4)" = True ] || fail "the load did not restore the password method"

show_screen
REMINDER=$(find_window "Umbralux") || fail "no reminder for the missing password"
xdotool key Return
wait_for 5 window_gone "$REMINDER" || fail "the reminder stayed open"
find_window "Form1" 1 >/dev/null && fail "the blank screen was shown without a password"
xdotool type "typed after the reminder"
wait_for 3 stored_is Text1 "typed after the reminder" || fail "the keyboard did not go to the password box: $(store_get Text1)"
note "passed"
