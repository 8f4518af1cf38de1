#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Each exit method, chosen in the options window, dismisses the blank screen with its own input and ignores
# the others; the options window comes back with the choice.
. "$(dirname "$0")/lib.sh"

start_x
store_set Check4 0
start_app

# The password never reaches the primary selection, however it is selected in its box (another program
# owns the selection first, so that a stale copy would show too).
printf 'elsewhere' | xsel -i -p
type_password "$PASSWORD"
wait_for 3 stored_is Text1 "$PASSWORD" || fail "password not stored: $(store_get Text1)"
for select in "key ctrl+a" "key End shift+Home" "click --repeat 2 1"; do
    xdotool $select
    sleep 0.3
    primary=$(timeout 5 xsel -o -p || true)
    [[ $primary != *"$PASSWORD"* ]] || fail "selecting the password ($select) put it in the primary selection"
done
xdotool key ctrl+c
sleep 0.3
clipboard=$(timeout 5 xsel -o -b || true)
[[ $clipboard != *"$PASSWORD"* ]] || fail "ctrl+c put the password in the clipboard"
note "the password stays out of the primary selection and the clipboard"

# The inputs that must leave the screen up, per method (no characters for the password method: a wrong
# character would spoil the typed record, which is meant).
IGNORED_INPUTS=(
    ""
    "click1 click3"                             # any key
    "key:a key:space key:Shift_L click1 click2" # ESC
    "key:a key:Escape key:Control_L"            # click
    "click1 key:Shift_L"                        # password
)

for method in 1 2 3 4; do
    choose_method $method
    show_screen
    wait_curtain
    wait_for 5 has_focus "$CURTAIN" || note "focus is on $("$XPROBE" focus), curtain $CURTAIN"
    for input in ${IGNORED_INPUTS[$method]}; do
        send "$input"
        sleep 0.3
        window_viewable "$CURTAIN" || fail "method $method: $input dismissed the blank screen"
    done
    send "${EXIT_INPUT[$method]}"
    wait_curtain_gone
    wait_options
    app_running || fail "the program ended"
    for other in 1 2 3 4; do
        expected=False
        [ $other = $method ] && expected=True
        [ "$(store_get Option$other)" = $expected ] || fail "after method $method: Option$other is $(store_get Option$other)"
    done
    note "method $method: dismissed by its own input only"
done
note "passed"
