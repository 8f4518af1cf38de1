#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# `--show` never leaves the screen open, and never waits long, whatever holds or stalls the session bus:
#   another program holds the name and answers    the screen is covered by this start, which says why
#                                                 (and a plain start opens its own options window)
#   another program holds the name and never answers
#   our own instance holds it and hangs (SIGSTOP)
#   a bus socket that accepts and never speaks
#   a session bus that has stopped (SIGSTOP)
# and with our own instance covered already, a second `--show` and a plain start change nothing and end.
# "Covered" is judged within COVER_DEADLINE seconds (one second on an idle machine, more under load).
#   handover.sh bare|openbox|sway
. "$(dirname "$0")/lib.sh"

COVER_DEADLINE=${COVER_DEADLINE:-3}
if [ "$WM_MODE" = sway ]; then
    start_sway
    PLATFORM=wayland
    cp "$FAKEOWNER" "$WORK/program/"
    FAKEOWNER=$WORK/program/$(basename "$FAKEOWNER")
    curtain_shown() { [ "$(view Form1 | jq '.visible')" = true ]; }
    windows() { as_user swaymsg -t get_tree | jq '[.. | objects | select(.app_id == "io.github.quenbrook.Umbralux")] | length'; }
    options_shown() { view_is "Umbralux Software"; }
else
    start_x
    PLATFORM=xcb
    curtain_shown() { find_window "Form1" 1 >/dev/null; }
    windows() { xdotool search --onlyvisible --class umbralux | wc -l; }
    options_shown() { find_window "Umbralux Software" 1 >/dev/null; }
fi
start_bus session
SOCKETS=$WORK/buses # the test user's own folder

# Starts `umbralux --show` and checks that its blank screen is up within the deadline, then dismisses it.
covers_itself() {
    local what=$1 started
    started=$(date +%s%N)
    launch $PLATFORM --show
    wait_for "$COVER_DEADLINE" curtain_shown ||
        fail "$what: the screen was not covered within ${COVER_DEADLINE}s: $(cat "$WORK/app.log")"
    note "$what: covered, seen after $((($(date +%s%N) - started) / 1000000)) ms"
    wait_for 3 pointer_is hidden || fail "$what: pointer still visible"
    send key:Escape
    expect_exit 0
}
# Starts a fake holder of the program's name (answer or mute) and waits until it holds it.
fake_owner() {
    background "$WORK/owner.log" "${AS_USER[@]}" "$FAKEOWNER" "$1"
    OWNER_PID=$BG_PID
    wait_for 10 grep -q ready "$WORK/owner.log" || fail "the fake owner did not start: $(cat "$WORK/owner.log")"
}

fake_owner answer
covers_itself "an impostor that answers"
grep -q "held by another program" "$WORK/app.log" || fail "no word on the impostor: $(cat "$WORK/app.log")"
# A plain start beside the impostor: its own options window, not a request handed to a stranger.
launch $PLATFORM
wait_for 10 options_shown || fail "a plain start beside an impostor opened nothing: $(cat "$WORK/app.log")"
grep -q "held by another program" "$WORK/app.log" || fail "no word on the impostor: $(cat "$WORK/app.log")"
kill "$APP_PID"
wait "$APP_PID" 2>/dev/null || true
kill "$OWNER_PID"

fake_owner mute
covers_itself "an impostor that never answers"
kill "$OWNER_PID"

# Our own instance, hung: it holds the name and cannot confirm.
launch $PLATFORM
wait_for 10 options_shown || fail "the options window did not appear: $(cat "$WORK/app.log")"
HUNG_PID=$APP_PID
kill -STOP "$HUNG_PID"
covers_itself "our own instance, stopped"
grep -q "did not answer in time" "$WORK/app.log" || fail "no word on the hung instance: $(cat "$WORK/app.log")"
kill -CONT "$HUNG_PID"
kill "$HUNG_PID"

# A socket that takes the connection and says nothing.
background "$WORK/silent.log" "${AS_USER[@]}" /usr/bin/python3 -c '
import socket, sys, time
s = socket.socket(socket.AF_UNIX); s.bind(sys.argv[1]); s.listen(8)
held = [s.accept()[0] for _ in range(8)]
time.sleep(600)' "$SOCKETS/silent-bus"
wait_for 10 test -S "$SOCKETS/silent-bus" || fail "the silent socket did not start: $(cat "$WORK/silent.log")"
DBUS_SESSION_BUS_ADDRESS="unix:path=$SOCKETS/silent-bus" covers_itself "a bus socket that never speaks"

# The bus daemon stopped while the session goes on.
BUS_PID=$(pgrep -f "dbus-daemon.*$SOCKETS/session-bus")
kill -STOP "$BUS_PID"
covers_itself "a stopped session bus"
kill -CONT "$BUS_PID"

# Our own instance, covered: a second --show confirms at once, a plain start changes nothing; both end.
launch $PLATFORM --show
wait_for 10 curtain_shown || fail "the blank screen did not come up: $(cat "$WORK/app.log")"
for args in --show ""; do
    # shellcheck disable=SC2086 # no argument for the plain start
    QT_QPA_PLATFORM=$PLATFORM timeout 10 "${AS_USER[@]}" "$UMBRALUX" $args >"$WORK/later.log" 2>&1 ||
        fail "a later start ($args) ended with $?: $(cat "$WORK/later.log")"
    curtain_shown || fail "a later start ($args) took the blank screen away"
    ! options_shown || fail "a later start ($args) opened the options window"
done
[ "$(windows)" = 1 ] || fail "$(windows) windows, not one blank screen"
send key:Escape
expect_exit 0
note "passed"
