#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# A real xscreensaver (time-out one minute, no buses, so its systemd helper exits at once) on two X servers
# at the same time: with keep-awake on it stays unblanked for three minutes; with keep-awake off it blanks
# within about a minute.
. "$(dirname "$0")/lib.sh"

SAVER_TIMEOUT_S=60
HELD_FOR_S=180
BLANKS_WITHIN_S=$((SAVER_TIMEOUT_S + 20))

# Starts an X server, xscreensaver and the program with the given keep-awake choice; leaves the display in
# the variable named by the first argument.
start_run() {
    local name=$1 check4=$2
    start_x
    printf -v "$name" '%s' "$DISPLAY"
    mkdir -p "$WORK/$name"
    printf '%s\n' "timeout: 0:01:00" "lock: False" "mode: blank" "fade: False" "unfade: False" \
        "splash: False" "dpmsEnabled: False" >"$WORK/$name/.xscreensaver"
    HOME="$WORK/$name" background "$WORK/$name/saver.log" xscreensaver -no-splash
    wait_for 15 xscreensaver-command -time || fail "xscreensaver did not start: $(cat "$WORK/$name/saver.log")"
    export XDG_CONFIG_HOME="$WORK/$name/config"
    STORE="$XDG_CONFIG_HOME/Quenbrook/Umbralux Software.ini"
    store_set Check4 "$check4"
    start_app
    printf -v "${name}_PID" '%s' "$APP_PID"
}

blanked() { DISPLAY=$1 xscreensaver-command -time 2>&1 | grep -Eq 'screen (blanked|locked)'; }

start_run HELD 1
start_run FREE 0
started=$SECONDS
free_blanked=
while [ $((SECONDS - started)) -lt $HELD_FOR_S ]; do
    ! blanked "$HELD" || fail "keep-awake on: xscreensaver blanked after $((SECONDS - started)) s"
    kill -0 "$HELD_PID" || fail "the program ended"
    if [ -z "$free_blanked" ] && blanked "$FREE"; then
        free_blanked=$((SECONDS - started))
        note "keep-awake off: blanked after $free_blanked s"
    fi
    [ -n "$free_blanked" ] || [ $((SECONDS - started)) -lt $BLANKS_WITHIN_S ] ||
        fail "keep-awake off: xscreensaver did not blank within $BLANKS_WITHIN_S s"
    sleep 2
done
note "keep-awake on: unblanked for $HELD_FOR_S s; passed"
