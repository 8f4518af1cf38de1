#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Whatever state the settings store is in, the blank screen can be left: with the exit method the options
# window showed when "Show Screen" was clicked, or with ESC when nothing was chosen. For each state: start,
# pick a method (or keep what the window shows), "Show Screen", the method's input, and the options window
# must be back with the pointer visible. What is not the program's own settings file must not change.
. "$(dirname "$0")/lib.sh"

# The program runs as an ordinary user, for whom read-only means read-only (root writes anyway).
become_nobody
FOLDER=$(dirname "$STORE")

#     name                 store state      method picked (0: as shown)   input
ROWS=(
    "no-file               none             0                             key:Escape"
    "empty-file            empty            0                             key:Escape"
    "exit-keys-missing     no-option-keys   0                             key:Escape"
    "unreadable-values     unreadable       0                             key:Escape"
    "folder-for-file       folder           3                             click1"
    "read-only-folder      read-only-folder 4                             type:pw1"
    "read-only-file        read-only-file   1                             key:b"
    "full-disk             full-disk        3                             click1"
)

prepare_store() {
    rm -rf "$XDG_CONFIG_HOME"
    mkdir -p "$XDG_CONFIG_HOME"
    case $1 in
    none) ;;
    empty) mkdir -p "$FOLDER" && : >"$STORE" ;;
    no-option-keys) store_set Text1 pw && store_set Check4 0 ;;
    unreadable) for i in 1 2 3 4; do store_set Option$i maybe; done ;;
    folder) mkdir -p "$STORE/inside" ;;
    read-only-folder) mkdir -p "$FOLDER" && chmod 555 "$FOLDER" ;;
    read-only-file) store_set Option2 True && store_set Check4 0 && chmod 444 "$STORE" ;;
    full-disk)
        mount -t tmpfs -o size=64k tmpfs "$XDG_CONFIG_HOME" 2>/dev/null || return 1
        MOUNTED=$XDG_CONFIG_HOME
        store_set Option2 True
        store_set Text1 kept
        dd if=/dev/zero of="$XDG_CONFIG_HOME/filler" bs=4k 2>/dev/null || true
        ;;
    esac
    give_to_user "$XDG_CONFIG_HOME"
}
MOUNTED=
trap 'app_running 2>/dev/null && kill "$APP_PID"; [ -z "$MOUNTED" ] || umount "$MOUNTED"; cleanup' EXIT

# Closes every error report that is up, and those that follow within a second; counts them in REPORTS.
close_reports() {
    local box
    while box=$(find_window "Application Error" 1); do
        REPORTS=$((REPORTS + 1))
        [ $REPORTS -le 30 ] || fail "error reports do not stop"
        xdotool windowfocus "$box" 2>/dev/null || true
        xdotool key Return
        wait_for 5 window_gone "$box" || fail "a report stayed open"
    done
}

# A fingerprint of everything under the configuration folder: names, types, modes and contents.
store_fingerprint() {
    find "$XDG_CONFIG_HOME" -path "$XDG_CONFIG_HOME/filler" -prune -o -printf '%p %y %m\n' | sort
    find "$XDG_CONFIG_HOME" -type f ! -name filler -exec md5sum {} + 2>/dev/null | sort
}

start_x
for row in "${ROWS[@]}"; do
    read -r name state method input <<<"$row"
    TEST_NAME=store_states-$WM_MODE-$name
    if ! prepare_store "$state"; then
        note "skipped: no small file system can be mounted here"
        continue
    fi
    REPORTS=0
    HOME=$WORK/home launch
    deadline=$((SECONDS + 30))
    until OPTIONS_WINDOW=$(find_window "Umbralux Software" 1); do
        close_reports
        [ $SECONDS -lt $deadline ] || fail "the options window did not appear: $(cat "$WORK/app.log")"
    done
    if [ "$method" != 0 ]; then
        click_options ${OPTION_AT[$method]}
        close_reports
        [ "$method" != 4 ] || type_password "$PASSWORD"
        close_reports
    fi
    before=$(store_fingerprint)
    show_screen
    close_reports
    wait_curtain
    wait_for 5 pointer_is hidden || fail "the pointer was not hidden"
    send "$input"
    deadline=$((SECONDS + 20))
    until OPTIONS_WINDOW=$(find_window "Umbralux Software" 1); do
        close_reports
        [ $SECONDS -lt $deadline ] || fail "no way out: the options window did not come back"
    done
    close_reports
    wait_curtain_gone
    wait_for 5 pointer_is visible || fail "the pointer stayed hidden"
    stop_app
    case $state in
    folder | read-only-folder | read-only-file | full-disk)
        [ "$(store_fingerprint)" = "$before" ] || fail "the store changed: $(store_fingerprint)"
        ;;
    esac
    [ -z "$MOUNTED" ] || { umount "$MOUNTED" && MOUNTED=; }
    note "left by $input, $REPORTS error reports"
done
TEST_NAME=store_states-$WM_MODE
note "passed"
