#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The screen colour for real: "Change Color" opens Qt's colour dialog, red typed into its HTML field makes the
# whole blank screen red; "Reset Color To Default" makes it black again; on a white screen the hint is black.
. "$(dirname "$0")/lib.sh"

# The blank screen hides its hint at its fourth one-second tick: look at it well before.
HINT_DEADLINE=3
SCREEN_DEADLINE=15

pick_colour() {
    click_options $CHANGE_COLOR_AT
    local dialog
    dialog=$(find_window "Select Color") || fail "the colour dialog did not open"
    xdotool mousemove --sync --window "$dialog" 20 20
    xdotool windowfocus --sync "$dialog" 2>/dev/null || true
    xdotool key alt+h ctrl+a
    xdotool type "$1"
    xdotool key Return
    wait_for 10 window_gone "$dialog" || fail "the colour dialog did not close"
}

# Dismisses the blank screen with ESC (the method of a first start) and waits for the options window.
dismiss() {
    xdotool mousemove --sync 512 384
    xdotool key Escape
    wait_options
}

start_x
start_app

pick_colour "#ff0000"
# The dialog's window may be gone before its handler has stored the colour.
wait_for 5 stored_is "Background Color" 255 || fail "stored colour $(store_get "Background Color"), expected 255"
show_screen
wait_for $SCREEN_DEADLINE screen_is "1 FF0000" || fail "the blank screen is not all red"
cp "$SHOT" "$ARTIFACTS/$TEST_NAME-red.png"
dismiss

click_options $RESET_COLOR_AT
wait_for 5 bash -c "grep -qx 'Background%20Color=0' '$STORE'" || fail "the reset did not store black"
show_screen
wait_for $SCREEN_DEADLINE screen_is "1 000000" || fail "the blank screen is not all black after the reset"
dismiss

pick_colour "#ffffff"
wait_for 5 stored_is "Background Color" 16777215 || fail "white stored as $(store_get "Background Color")"
show_screen
# White screen, black hint: both colours are there at once while the hint shows.
hint_is_black() {
    screenshot && [ "$(convert "$SHOT" -colorspace gray -format '%[fx:minima],%[fx:maxima]' info:)" = 0,1 ] &&
        [ "$(shot_colours 1x1+1000+700)" = "1 FFFFFF" ]
}
wait_for $HINT_DEADLINE hint_is_black || fail "no black hint on the white screen"
cp "$SHOT" "$ARTIFACTS/$TEST_NAME-white-hint.png"
wait_for $SCREEN_DEADLINE screen_is "1 FFFFFF" || fail "the hint did not go"
note "passed"
