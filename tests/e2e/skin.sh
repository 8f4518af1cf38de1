#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The example skin installed beside a copy of the program: the options window opens skinned (its push buttons
# in the skin's colour, its background in the button-face colour instead of white), and the blank screen keeps
# the screen colour under the skin. The copy keeps the skin away from tests that run at the same time.
. "$(dirname "$0")/lib.sh"

SKIN_DIR="$(dirname "$0")/../../skins/example/x"
# The example skin's push-button colour (47,111,115), and a point on "Show Screen" left of its caption.
SKIN_BUTTON="1 2F6F73"
BUTTON_POINT=1x1+30+21
# A point of the window background below the last frame.
BACKGROUND_POINT=1x1+3+284
SCREEN_DEADLINE=15

# What a new screenshot of the options window shows at a point (a 1x1 crop), as "1 RRGGBB".
window_colour_at() { screenshot "$SHOT" "$OPTIONS_WINDOW" && shot_colours "$1"; }

mkdir -p "$WORK/app"
cp "$UMBRALUX" "$WORK/app/"
cp -r "$SKIN_DIR" "$WORK/app/x"
UMBRALUX="$WORK/app/$(basename "$UMBRALUX")"

start_x
start_app

skinned() { [ "$(window_colour_at $BUTTON_POINT)" = "$SKIN_BUTTON" ]; }
wait_for 10 skinned || fail "Show Screen is $(window_colour_at $BUTTON_POINT), not the skin's colour"
[ "$(window_colour_at $BACKGROUND_POINT)" != "1 FFFFFF" ] || fail "the skinned window is still white"
cp "$SHOT" "$ARTIFACTS/skinned-options-window-$WM_MODE.png"
grep -q "Application Error" "$WORK/app.log" && fail "an error was reported"

show_screen
wait_for $SCREEN_DEADLINE screen_is "1 000000" || fail "the blank screen is not all black under the skin"
note "passed"
