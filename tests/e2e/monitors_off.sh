#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# `--show --monitors-off` on real display servers, neither of which can really power a monitor off here:
#   sway    the compositor gets the request to power its output off a moment after the blank screen is up
#           (sway's debug log); its virtual output cannot be powered off (wlroots refuses the commit), and
#           the program, which learns that from the protocol, says so once on stderr and in --status; a
#           key that is not the exit method leaves the blank screen up; ESC dismisses it. The guard that
#           powers the outputs on when the program is gone, run by itself, asks the compositor to.
#   bare    an X server without DPMS (Xvfb): the screen is covered all the same, and one stderr line says
#           why the monitors stay on
#   monitors_off.sh sway|bare
. "$(dirname "$0")/lib.sh"

if [ "$WM_MODE" = sway ]; then
    SWAY_FLAGS=-d start_sway
    PLATFORM=wayland
    covered() { [ "$(view Form1 | jq '.visible')" = true ]; }
    OUTPUT=X11-1
    REFUSAL="the monitors stay on: Wayland: the compositor did not power its outputs off"
else
    start_x
    PLATFORM=xcb
    covered() { find_window "Form1" 1 >/dev/null; }
    REFUSAL="the monitors stay on: DPMS: the X server has no DPMS extension"
fi
start_bus session
store_method 2 # ESC
give_to_user "$XDG_CONFIG_HOME"
# The compositor's handling of a request for the output's power, counted in its debug log.
handled() { grep -c "Turning $1 output $OUTPUT" "$WORK/sway.log" || true; }

launch $PLATFORM --show --monitors-off
wait_for 10 covered || fail "the blank screen did not come up: $(cat "$WORK/app.log")"
if [ "$WM_MODE" = sway ]; then
    wait_for 5 bash -c "grep -q 'Turning off output $OUTPUT' '$WORK/sway.log'" ||
        fail "sway was not asked to power its output off: $(cat "$WORK/app.log")"
fi
wait_for 5 grep -q "$REFUSAL" "$WORK/app.log" || fail "no word on why the monitors stay on: $(cat "$WORK/app.log")"
[ "$(grep -c "monitors stay on" "$WORK/app.log")" = 1 ] || fail "said more than once: $(cat "$WORK/app.log")"
as_user "$UMBRALUX" --status | jq -e '.covered and (.monitorsOff.off | not) and (.monitorsOff.reason | length > 0)' \
    >/dev/null || fail "--status: $(as_user "$UMBRALUX" --status 2>&1)"
send key:a
sleep 0.5
covered || fail "a key that is not the exit method dismissed the blank screen"
send key:Escape
expect_exit 0
note "covered, and said once why the monitors stay on"

if [ "$WM_MODE" = sway ]; then
    # The guard powers the outputs on once its input ends, as it does when the program dies.
    before=$(handled on)
    mkfifo "$WORK/guard"
    as_user "$UMBRALUX" --power-outputs-on-after-input-ends <"$WORK/guard" &
    GUARD=$!
    exec 7>"$WORK/guard"
    sleep 0.5
    [ "$(handled on)" = "$before" ] || fail "the guard powered the outputs on before its input ended"
    exec 7>&-
    wait $GUARD || fail "the guard ended with $?"
    [ "$(handled on)" -gt "$before" ] || fail "the guard did not ask for the outputs on"
    note "the guard asked for the outputs on when its input ended"
fi
note "passed"
