#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The example skin installed beside a copy of the program: the options window opens skinned (its push buttons
# in the skin's colour, its background in the button-face colour instead of white), and the blank screen keeps
# the screen colour under the skin, and the options window that comes back from the blank screen looks the same
# as at the first start. The copy keeps the skin away from tests that run at the same time.
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

copy_program "$WORK/app"
cp -r "$SKIN_DIR" "$WORK/app/x"

start_x
start_app

skinned() { [ "$(window_colour_at $BUTTON_POINT)" = "$SKIN_BUTTON" ]; }
wait_for 10 skinned || fail "Show Screen is $(window_colour_at $BUTTON_POINT), not the skin's colour"
wait_for 5 frame_centred "$OPTIONS_WINDOW" || fail "the skinned window is not centred: $(window_geometry "$OPTIONS_WINDOW")"
[ "$(window_colour_at $BACKGROUND_POINT)" != "1 FFFFFF" ] || fail "the skinned window is still white"
cp "$SHOT" "$ARTIFACTS/skinned-options-window-$WM_MODE.png"
grep -q "Application Error" "$WORK/app.log" && fail "an error was reported"
# The pointer out of the window, so that no control is in its hover look.
xdotool mousemove --sync 0 0
screenshot "$WORK/first-start.png"

show_screen
wait_for $SCREEN_DEADLINE screen_is "1 000000" || fail "the blank screen is not all black under the skin"

send key:Escape
wait_options
wait_for 10 skinned || fail "Show Screen is $(window_colour_at $BUTTON_POINT) after the return"
xdotool mousemove --sync 0 0
screenshot "$WORK/after-return.png"
differing=$(compare -metric AE "$WORK/first-start.png" "$WORK/after-return.png" "$WORK/difference.png" 2>&1) || true
if [ "$differing" != 0 ]; then
    for shot in first-start after-return difference; do cp "$WORK/$shot.png" "$ARTIFACTS/$TEST_NAME-$shot.png"; done
    fail "$differing pixels differ between the first start and the return (see $ARTIFACTS/$TEST_NAME-*.png)"
fi
note "passed"
