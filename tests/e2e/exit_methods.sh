#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Each exit method, chosen in the options window, dismisses the blank screen with its own input and ignores
# the others; the options window comes back with the choice.
. "$(dirname "$0")/lib.sh"

start_x
store_set Check4 0
start_app

# The inputs that must leave the screen up, per method (no characters for the password method: a wrong
# character would spoil the typed record, which is meant).
ignored_inputs() {
    case $1 in
    1) echo "click1 click3" ;;
    2) echo "key:a key:space key:Shift_L click1 click2" ;;
    3) echo "key:a key:Escape key:Control_L" ;;
    4) echo "click1 key:Shift_L" ;;
    esac
}
send() {
    case $1 in
    key:*) xdotool key "${1#key:}" ;;
    click*) xdotool click "${1#click}" ;;
    esac
}

for method in 1 2 3 4; do
    click_options ${OPTION_AT[$method]}
    if [ $method = 4 ]; then
        click_options $PASSWORD_BOX_AT
        xdotool key ctrl+a BackSpace
        xdotool type "pw1"
        wait_for 3 stored_is Text1 pw1 || fail "password not stored: $(store_get Text1)"
    fi
    wait_for 3 stored_is Option$method True || fail "method $method not stored"
    show_screen
    wait_curtain
    wait_for 5 bash -c "xdotool getwindowfocus | grep -qx $((CURTAIN))" || note "focus is on $(xdotool getwindowfocus), curtain $((CURTAIN))"
    for input in $(ignored_inputs $method); do
        send "$input"
        sleep 0.3
        window_viewable "$CURTAIN" || fail "method $method: $input dismissed the blank screen"
    done
    case $method in
    1) send key:b ;;
    2) send key:Escape ;;
    3) send click1 ;;
    4) xdotool type "pw1" ;;
    esac
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
