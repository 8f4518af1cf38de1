#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# "Show Screen" covers every pixel of the screen with the stored colour, shows the hint for about four seconds
# and hides the pointer; ESC brings the options window back with its choices and the pointer.
. "$(dirname "$0")/lib.sh"

start_x
store_set "Background Color" 255
store_set Check4 0
start_app
xdotool mousemove 500 500
show_screen
wait_curtain
shown_at=$SECONDS

[ "$(window_geometry "$CURTAIN")" = "${SCREEN_SIZE}+0+0" ] || fail "blank screen geometry $(window_geometry "$CURTAIN")"
app_running || fail "the program ended"
if [ "$WM_MODE" = openbox ]; then
    wait_for 3 bash -c "xprop -id $CURTAIN _NET_WM_STATE | grep -q SKIP_TASKBAR" ||
        fail "the blank screen asks for a task-bar entry: $(xprop -id "$CURTAIN" _NET_WM_STATE)"
fi
hint_shows() { screenshot && colours=$(shot_colours 1024x80+0+0) && [ "${colours% *}" -gt 1 ]; }
wait_for 3 hint_shows || fail "no hint at first"
cp "$SHOT" "$ARTIFACTS/curtain-with-hint-$WM_MODE.png"
wait_for 5 screen_is "1 FF0000" 1024x668+0+100 || fail "pixels other than the screen colour below the hint"
[ "$(shot_colours 1x1+600+400)" = "1 FF0000" ] || fail "screen colour is $(shot_colours 1x1+600+400), not red"

wait_for 3 pointer_is hidden || fail "pointer still visible"
wait_for 8 screen_is "1 FF0000" || fail "the hint did not go away"
hint_seconds=$((SECONDS - shown_at))
[ $hint_seconds -ge 3 ] || fail "the hint went away after $hint_seconds s, expected about four"
note "hint gone after about $hint_seconds s"

xdotool key Escape
wait_curtain_gone
wait_options
wait_for 3 pointer_is visible || fail "pointer not back after dismissal"
[ "$(store_get Option2)" = True ] || fail "the ESC choice was not kept"
note "passed"
