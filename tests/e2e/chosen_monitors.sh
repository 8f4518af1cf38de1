#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# `--monitor NAME` on a desk of two monitors: --list-monitors names both; `--show --monitor B` covers B and
# leaves A as it was, with the pointer shown over it; an unknown name is refused with the names there are
# and status 2, cold and handed over, and covers nothing; unplugging B ends that showing as a dismissal
# would.
SCREEN_SIZE=2560x800
. "$(dirname "$0")/lib.sh"

RED=FF0000
ROOT=336699

start_x
split_monitors
xsetroot -solid "#$ROOT"
start_bus session
store_set "Background Color" 255
store_set Check4 0
# B in the screen colour below the band of the hint (which comes back whenever the window is activated
# again), A as it was.
HINT_BAND=80
only_b_covered() { region_is $ROOT 0 0 1280 800 && region_is $RED 1280 $HINT_BAND 1280 $((800 - HINT_BAND)); }

listed=$("$UMBRALUX" --list-monitors 2>/dev/null)
grep -qx "A 1280x800+0+0 scale 1 primary" <<<"$listed" && grep -qx "B 1280x800+1280+0 scale 1" <<<"$listed" ||
    fail "--list-monitors: $listed"

refused() {
    local status=0
    "$UMBRALUX" --show --monitor B --monitor C >"$WORK/refused.log" 2>&1 || status=$?
    [ $status = 2 ] && grep -q "no monitor is named 'C'; the monitors are: A, B" "$WORK/refused.log" ||
        fail "$1: an unknown monitor ended with $status: $(cat "$WORK/refused.log")"
}
refused "cold"
region_is $ROOT 0 0 2560 800 || fail "a refused --monitor covered something: $REGION"

xdotool mousemove 300 300 # the pointer on A, the monitor that is not chosen
launch xcb --show --monitor B
wait_for 10 only_b_covered || fail "not B alone covered: $REGION"
"$UMBRALUX" --status | jq -e '.covered and .monitors == ["B"]' >/dev/null || fail "--status: $("$UMBRALUX" --status)"
sleep 1.5 # past the moment the pointer is hidden over the blank screen
pointer_is visible || fail "the pointer is hidden over the monitor that is not covered"
refused "handed over"
only_b_covered || fail "a refused --monitor changed the covered monitors: $REGION"
send key:Escape
expect_exit 0
note "B covered alone, A usable; unknown names refused"

launch xcb --show --monitor B
wait_for 10 only_b_covered || fail "not B alone covered: $REGION"
xrandr --delmonitor B >/dev/null
expect_exit 0
note "passed"
