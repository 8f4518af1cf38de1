#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The example skin installed beside a copy of the program: the options window opens skinned (its push buttons
# in the skin's colour, its background in the button-face colour instead of white), and the blank screen keeps
# the screen colour under the skin, and the options window that comes back from the blank screen looks the same
# as at the first start. The copy keeps the skin away from tests that run at the same time.
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
wait_for 5 frame_centred "$OPTIONS_WINDOW" || fail "the skinned window is not centred: $(window_geometry "$OPTIONS_WINDOW")"
background=$(pixel_at "$OPTIONS_WINDOW" $BACKGROUND_POINT)
[ "$background" != 255,255,255 ] || fail "the skinned window is still white"
cp "$WORK/window.png" "$ARTIFACTS/skinned-options-window-$WM_MODE.png"
grep -q "Application Error" "$WORK/app.log" && fail "an error was reported"
# The pointer out of the window, so that no control is in its hover look.
xdotool mousemove --sync 0 0
import -window root -depth 8 "$WORK/first-start.png"

xdotool mousemove --sync --window "$OPTIONS_WINDOW" 268 21 click 1
all_black() {
    import -window root "$WORK/screen.png"
    [ "$(convert "$WORK/screen.png" -format '%k:%[fx:int(255*maxima)]' info:)" = 1:0 ]
}
wait_for $SCREEN_DEADLINE all_black || fail "the blank screen is not all black under the skin"

xdotool key Escape
wait_options
wait_for 10 skinned || fail "Show Screen is $(pixel_at "$OPTIONS_WINDOW" $BUTTON_POINT) after the return"
xdotool mousemove --sync 0 0
import -window root -depth 8 "$WORK/after-return.png"
differing=$(compare -metric AE "$WORK/first-start.png" "$WORK/after-return.png" "$WORK/difference.png" 2>&1) || true
if [ "$differing" != 0 ]; then
    for shot in first-start after-return difference; do cp "$WORK/$shot.png" "$ARTIFACTS/$TEST_NAME-$shot.png"; done
    fail "$differing pixels differ between the first start and the return (see $ARTIFACTS/$TEST_NAME-*.png)"
fi
note "passed"
