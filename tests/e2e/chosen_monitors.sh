#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# `--monitor NAME` on a desk of two monitors: --list-monitors names both; `--show --monitor B` covers B and
# leaves A as it was, with the pointer shown over it; an unknown name is refused with the names there are
# and status 2, cold and handed over, and covers nothing; unplugging B ends that showing as a dismissal
# would. Under sway, with two outputs: the outputs' names, the blank screen on the chosen one alone, and
# the refusal.
#   chosen_monitors.sh bare|openbox|sway
SCREEN_SIZE=2560x800
. "$(dirname "$0")/lib.sh"

if [ "$WM_MODE" = sway ]; then
    SWAY_OUTPUTS=2 start_sway
    start_bus session
    give_to_user "$XDG_CONFIG_HOME"
    # The outputs that show a window of the program, by name.
    showing() {
        as_user swaymsg -t get_tree | jq -c '[.nodes[] | select(.type == "output") |
            select([.. | objects | select(.app_id == "io.github.quenbrook.Umbralux" and .visible)] | length > 0) | .name]'
    }
    listed=$(as_user "$UMBRALUX" --list-monitors 2>/dev/null)
    grep -q "^X11-1 " <<<"$listed" && grep -q "^X11-2 " <<<"$listed" || fail "--list-monitors: $listed"
    status=0
    as_user "$UMBRALUX" --show --monitor X11-3 >"$WORK/refused.log" 2>&1 || status=$?
    [ $status = 2 ] && grep -q "no monitor is named 'X11-3'; the monitors are: X11-1, X11-2" "$WORK/refused.log" ||
        fail "an unknown output ended with $status: $(cat "$WORK/refused.log")"
    [ "$(showing)" = "[]" ] || fail "a refused --monitor showed a window on $(showing)"
    launch wayland --show --monitor X11-2
    only_second() { [ "$(showing)" = '["X11-2"]' ]; }
    wait_for 10 only_second || fail "not X11-2 alone covered: $(showing)"
    as_user "$UMBRALUX" --status | jq -e '.covered and .monitors == ["X11-2"]' >/dev/null ||
        fail "--status: $(as_user "$UMBRALUX" --status)"
    # A click on the covered output gives the blank screen the keyboard (the outputs are X windows, the
    # second one on top).
    xdotool mousemove 100 100 click 1
    sleep 0.3
    send key:Escape
    expect_exit 0
    note "passed"
    exit 0
fi

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
