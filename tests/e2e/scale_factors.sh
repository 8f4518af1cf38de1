#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The options window keeps its design size in device-independent pixels on monitors of different scale
# factors: its client area is the design size times the monitor's factor, before and after it moves to the
# other monitor, and it shows the whole design there (not a corner of it).
SCREEN_SIZE=2560x800
. "$(dirname "$0")/lib.sh"

DESIGN_W=536
DESIGN_H=287
start_x
split_monitors
store_set Check4 0

# The window's picture at the design size, and how far it is from the reference picture.
design_shot() { import -window "$OPTIONS_WINDOW" -resize "${DESIGN_W}x${DESIGN_H}!" "$WORK/$1.png"; }
difference() { { compare -metric RMSE "$WORK/$1.png" "$WORK/$2.png" null: 2>&1 || true; } | sed 's/.*(\(.*\))/\1/'; }
# A picture of the painted window: the design is mostly white, a window not yet painted is black.
painted_shot() {
    design_shot "$1" &&
        awk -v m="$(convert "$WORK/$1.png" -format '%[fx:mean]' info:)" 'BEGIN { exit !(m > 0.5) }'
}
# The same design at another resolution: only font and edge rendering differ; a cut-off window
# differs in most of its area.
like_on_a() { painted_shot on-b && awk -v d="$(difference on-a on-b)" 'BEGIN { exit !(d < 0.12) }'; }

# Factors of monitors A and B; the window starts on A and moves to B.
for factors in "1 2" "2 1"; do
    read -r on_a on_b <<<"$factors"
    export QT_SCREEN_SCALE_FACTORS="$on_a;$on_b"
    start_app
    size_is() { [ "$(window_size "$OPTIONS_WINDOW")" = "$((DESIGN_W * $1))x$((DESIGN_H * $1))" ]; }
    wait_for 5 size_is "$on_a" || fail "factors $factors: on A $(window_size "$OPTIONS_WINDOW")"
    wait_for 10 painted_shot on-a || fail "factors $factors: the window on A is not painted"
    xdotool windowmove "$OPTIONS_WINDOW" 1400 100
    wait_for 5 size_is "$on_b" || fail "factors $factors: on B $(window_size "$OPTIONS_WINDOW")"
    wait_for 10 like_on_a || fail "factors $factors: the pictures differ by $(difference on-a on-b)"
    screenshot "$ARTIFACTS/$TEST_NAME-$on_a-$on_b.png"
    note "factors $factors: RMSE between the two monitors' pictures $(difference on-a on-b)"
    stop_app
done
note "passed"
