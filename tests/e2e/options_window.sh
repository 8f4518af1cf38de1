#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The program started for real: the options window opens with its caption and size, centred on the screen
# together with the frame a window manager gives it, a first start stores the ESC method and keep-awake, and
# closing the window ends the program with status 0.
. "$(dirname "$0")/lib.sh"

start_x
start_app

[ "$(window_size "$OPTIONS_WINDOW")" = "536x287" ] || fail "options window is $(window_size "$OPTIONS_WINDOW")"
wait_for 5 frame_centred "$OPTIONS_WINDOW" || fail "options window not centred: $(window_geometry "$OPTIONS_WINDOW")" \
    "$(xprop -id "$OPTIONS_WINDOW" _NET_FRAME_EXTENTS)"
screenshot "$ARTIFACTS/options-window-$WM_MODE.png"

for expected in "Option1=False" "Option2=True" "Option3=False" "Option4=False" "Text1=" "Check4=1"; do
    grep -qx "$expected" "$STORE" || fail "store lacks $expected: $(cat "$STORE")"
done
grep -q "Background" "$STORE" && fail "a first start must not store a colour"
[ "$(stat -c %a "$STORE")" = 600 ] || fail "store file mode is $(stat -c %a "$STORE")"

"$XPROBE" close "$OPTIONS_WINDOW"
expect_exit 0
note "passed"
