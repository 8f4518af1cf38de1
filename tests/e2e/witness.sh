#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# While the blank screen is up no key reaches a window beneath it: a small key-logging window that had the
# keyboard before the program started receives nothing typed on the blank screen. With MONITORS=2 the desk has
# two monitors and the witness sits on the second one, beneath the blank screen's companion window.
[ "${MONITORS:-1}" = 2 ] && SCREEN_SIZE=2560x800
. "$(dirname "$0")/lib.sh"

start_x
WITNESS_AT="10 10"
if [ "${MONITORS:-1}" = 2 ]; then
    TEST_NAME+=-two-monitors
    split_monitors
    WITNESS_AT="1400 10"
fi
# shellcheck disable=SC2086
background "$WORK/keys.log" "$XPROBE" keylog $WITNESS_AT
wait_for 5 grep -q ready "$WORK/keys.log" || fail "the witness window did not start"
xdotool key q
wait_for 3 grep -q "key q" "$WORK/keys.log" || fail "the witness does not see keys: $(cat "$WORK/keys.log")"

store_method 3
store_set Check4 0
start_app
show_screen
wait_curtain
if [ "${MONITORS:-1}" = 2 ]; then
    # shellcheck disable=SC2086
    wait_for 5 region_is 000000 $WITNESS_AT 200 100 || fail "the witness is not covered: $REGION"
fi
sleep 0.5
xdotool type "secret"
xdotool key Escape Return
sleep 0.5
window_viewable "$CURTAIN" || fail "keys dismissed the click-method blank screen"
if grep -E "key (s|e|c|r|t|Escape|Return)$" "$WORK/keys.log"; then
    fail "keys typed on the blank screen reached the window beneath"
fi
xdotool click 1
wait_curtain_gone
wait_options
note "passed"
