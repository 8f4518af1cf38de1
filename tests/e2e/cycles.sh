#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Many show/dismiss cycles in a row leave one process, one options window, a visible pointer and a steady
# memory footprint.
. "$(dirname "$0")/lib.sh"

CYCLES=${CYCLES:-200}
WARM_UP=20
# Allowed growth of the resident set between the warm-up and the last cycle.
MAX_GROWTH_KB=8192

start_x
store_set Check4 0
start_app
rss() { awk '/^VmRSS:/{print $2}' "/proc/$APP_PID/status"; }

for ((cycle = 1; cycle <= CYCLES; cycle++)); do
    show_screen
    wait_curtain
    xdotool key Escape
    wait_curtain_gone
    wait_options
    [ $cycle = $WARM_UP ] && base=$(rss)
done
last=$(rss)
note "resident set after $WARM_UP cycles: ${base} kB, after $CYCLES: ${last} kB"
# Under AddressSanitizer freed memory sits in its quarantine and the resident set grows by design: the
# growth says something only in a build without sanitizers.
if [ "${SANITIZED:-0}" = 1 ]; then
    note "sanitized build: memory growth not measured"
else
    [ $((last - base)) -le $MAX_GROWTH_KB ] || fail "memory grew by $((last - base)) kB over $((CYCLES - WARM_UP)) cycles"
fi
# Program processes on this test's own X server (other tests may run the program at the same time).
on_this_display=0
for pid in $(pgrep -f "^$UMBRALUX" || true); do
    tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qx "DISPLAY=$DISPLAY" && on_this_display=$((on_this_display + 1))
done
[ $on_this_display = 1 ] || fail "$on_this_display program processes"
[ "$(xdotool search --onlyvisible --class umbralux | wc -l)" = 1 ] || fail "more than one visible window"
pointer_is visible || fail "pointer hidden after the cycles"
note "passed"
