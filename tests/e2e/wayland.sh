#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The main cycle and keep-awake under a real Wayland compositor: sway, nested in a private X server through
# its X11 back end, so that xdotool on that server is the keyboard and mouse of the compositor. grim takes
# the compositor's screenshots; swaymsg shows its windows and whether each holds the idle timer off.
. "$(dirname "$0")/lib.sh"

start_sway

inhibits() { [ "$(view "$1" | jq .inhibit_idle)" = "$2" ]; }
# The options window is back, has the keyboard, and has stopped moving (sway centres it once it knows its
# size): only then do clicks land where they are meant.
options_settled() {
    local before
    before=$(view "Umbralux Software" | jq -c 'select(.focused) | .rect')
    sleep 0.2
    [ -n "$before" ] && [ "$(view "Umbralux Software" | jq -c .rect)" = "$before" ] && ! view_is Form1
}
curtain_up() { [ "$(view Form1 | jq '.fullscreen_mode == 1 and .visible and .focused')" = true ]; }

# Clicks at a point of the options window, in the window's own coordinates, through where sway shows it.
click_options() {
    local origin
    origin=$(view "Umbralux Software" | jq -r '"\(.rect.x + .window_rect.x) \(.rect.y + .window_rect.y)"')
    read -r ox oy <<<"$origin"
    xdotool mousemove $((ox + $1)) $((oy + $2)) click 1
}
CHECK4_AT="40 261"

# Whether a new screenshot of the output shows "COUNT RRGGBB" (grim's screenshots leave out the pointer).
output_is() { as_user grim - >"$SHOT" && [ "$(shot_colours)" = "$1" ]; }

store_set "Background Color" 255 # red
store_set Check4 1
give_to_user "$XDG_CONFIG_HOME"
launch wayland
wait_for 15 options_settled || fail "the options window did not appear: $(cat "$WORK/app.log")"
wait_for 5 inhibits "Umbralux Software" true || fail "keep-awake on, but the options window does not inhibit idle"

for method in 1 2 3 4; do
    choose_method $method
    show_screen
    wait_for 10 curtain_up || fail "method $method: the blank screen is not full-screen and focused"
    if [ $method = 2 ]; then
        wait_for 8 output_is "1 FF0000" || fail "the output is not all red: $(shot_colours)"
        wait_for 3 pointer_is hidden || fail "pointer visible over the blank screen"
        inhibits Form1 true || fail "keep-awake on, but the blank screen does not inhibit idle"
        xdotool key a click 1
        sleep 0.3
        curtain_up || fail "ESC method: other input dismissed the blank screen"
    fi
    send "${EXIT_INPUT[$method]}"
    wait_for 10 options_settled || fail "method $method: the options window did not come back"
    note "method $method dismisses the blank screen"
done
wait_for 3 pointer_is visible || fail "pointer not back with the options window"

# Keep-awake off from the next load of the blank screen on: the close request unloads it.
click_options ${OPTION_AT[2]}
click_options $CHECK4_AT
wait_for 3 stored_is Check4 0 || fail "keep-awake choice not stored"
show_screen
wait_for 10 curtain_up || fail "the blank screen did not come up"
as_user swaymsg '[app_id="io.github.quenbrook.Umbralux" title="^Form1$"] kill' >/dev/null
wait_for 10 options_settled || fail "the close request did not bring the options window back"
app_running || fail "a close request for the blank screen ended the program"
wait_for 5 inhibits "Umbralux Software" false || fail "keep-awake released, but the options window still inhibits idle"
# Under load the first click can reach the reloaded options window before sway has placed it; a user would
# click again (a second click on a curtain that came up late does nothing under the ESC method).
show_screen
wait_for 5 curtain_up || { show_screen && wait_for 10 curtain_up; } ||
    fail "the blank screen did not come up again"
inhibits Form1 false || fail "keep-awake off, but the blank screen inhibits idle"
xdotool key Escape
wait_for 10 options_settled || fail "ESC did not bring the options window back"

as_user swaymsg '[app_id="io.github.quenbrook.Umbralux"] kill' >/dev/null
expect_exit 0
as_user swaymsg -t get_tree | jq -e '[.. | objects | select(.inhibit_idle == true)] | length == 0' >/dev/null ||
    fail "an idle inhibitor outlived the program"
note "passed"
