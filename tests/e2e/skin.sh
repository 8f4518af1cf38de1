#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The example skin installed beside a copy of the program: the options window opens skinned (its push buttons
# in the skin's colour, its background in the button-face colour instead of white), and the blank screen keeps
# the screen colour under the skin. The copy keeps the skin away from tests that run at the same time.
. "$(dirname "$0")/lib.sh"

SKIN_DIR="$(dirname "$0")/../../skins/example/x"
# The example skin's push-button colour, and a point on "Show Screen" left of its caption.
SKIN_BUTTON=47,111,115
BUTTON_POINT="30 21"
# A point of the window background below the last frame.
BACKGROUND_POINT="3 284"
SCREEN_DEADLINE=15

pixel_at() {
    import -window "$1" "$WORK/window.png"
    convert "$WORK/window.png" -format "%[fx:int(255*p{$2,$3}.r)],%[fx:int(255*p{$2,$3}.g)],%[fx:int(255*p{$2,$3}.b)]" info:
}

mkdir -p "$WORK/app"
cp "$UMBRALUX" "$WORK/app/"
cp -r "$SKIN_DIR" "$WORK/app/x"
UMBRALUX="$WORK/app/$(basename "$UMBRALUX")"

start_x
start_app

skinned() { [ "$(pixel_at "$OPTIONS_WINDOW" $BUTTON_POINT)" = "$SKIN_BUTTON" ]; }
wait_for 10 skinned || fail "Show Screen is $(pixel_at "$OPTIONS_WINDOW" $BUTTON_POINT), not the skin's colour"
background=$(pixel_at "$OPTIONS_WINDOW" $BACKGROUND_POINT)
[ "$background" != 255,255,255 ] || fail "the skinned window is still white"
cp "$WORK/window.png" "$ARTIFACTS/skinned-options-window-$WM_MODE.png"
grep -q "Application Error" "$WORK/app.log" && fail "an error was reported"

show_screen
wait_for $SCREEN_DEADLINE screen_is "1 000000" || fail "the blank screen is not all black under the skin"
note "passed"
