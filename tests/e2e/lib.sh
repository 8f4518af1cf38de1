# SPDX-License-Identifier: MIT
# Shared helpers of the end-to-end tests: a private X server (with or without a window manager; XVFB_ARGS
# adds to its command line), the program started on it with a settings store of its own, and small checks.
# Source it; the caller sets UMBRALUX (the program), XPROBE (the X helper) and ARTIFACTS (where screenshots
# go).
set -euo pipefail

WM_MODE=${1:-bare} # bare or openbox; other names (sway) start no window manager here
SCREEN_SIZE=${SCREEN_SIZE:-1024x768}
TEST_NAME=$(basename "$0" .sh)-$WM_MODE
WORK=$(mktemp -d)
PIDS=()

# Ends the test as failed with the message given, keeping a screenshot.
fail() {
    echo "FAIL [$TEST_NAME]: $*" >&2
    [ -n "${DISPLAY:-}" ] && screenshot "$ARTIFACTS/$TEST_NAME-failure.png" 2>/dev/null || true
    exit 1
}

note() { echo "[$TEST_NAME] $*"; }

# Stops everything the test started and removes its files.
cleanup() {
    local pid
    # A stopped process takes its TERM only once it runs again.
    for pid in "${PIDS[@]}"; do kill "$pid" 2>/dev/null && kill -CONT "$pid" 2>/dev/null || true; done
    for pid in "${PIDS[@]}"; do wait "$pid" 2>/dev/null || true; done
    rm -rf "$WORK"
}
trap cleanup EXIT

# Starts a command (not a function, whose pid would be a subshell's) in the background with its output in the
# given log; it is stopped at the end, and its pid is left in BG_PID.
background() {
    local log=$1
    shift
    "$@" >"$log" 2>&1 &
    BG_PID=$!
    PIDS+=("$BG_PID")
}

# Waits until the command succeeds, at most the given seconds.
wait_for() {
    local seconds=$1
    shift
    local deadline=$((SECONDS + seconds))
    until "$@" >/dev/null 2>&1; do
        [ $SECONDS -lt $deadline ] || return 1
        sleep 0.1
    done
}

# Starts the test's X server, and openbox on it in the openbox mode.
start_x() {
    mkdir -p "$ARTIFACTS"
    exec 5<> <(:)
    # shellcheck disable=SC2086 # XVFB_ARGS holds several arguments
    background "$WORK/xvfb.log" \
        Xvfb -displayfd 5 -screen 0 "${SCREEN_SIZE}x24" -nolisten tcp -noreset +extension XFIXES ${XVFB_ARGS:-}
    local number
    read -r -t 15 number <&5 || fail "Xvfb did not start: $(cat "$WORK/xvfb.log")"
    export DISPLAY=":$number"
    wait_for 10 xdpyinfo || fail "X server :$number does not answer"
    if [ "$WM_MODE" = openbox ]; then
        background "$WORK/openbox.log" openbox --sm-disable
        wait_for 10 wmctrl -m || fail "openbox did not start"
        # It announces itself before it manages windows; a window mapped in between can stay unmapped.
        "$XPROBE" wmready || fail "openbox does not map windows"
    fi
    note "X server $DISPLAY ($WM_MODE)"
}

# No desktop buses unless a test starts its own: the program must not reach the developer's session, and
# D-Bus must not autolaunch a session bus for each test's X server.
export DBUS_SESSION_BUS_ADDRESS="unix:path=$WORK/no-session-bus"
export DBUS_SYSTEM_BUS_ADDRESS="unix:path=$WORK/no-system-bus"

# Starts a private session or system bus, waits until it takes connections and points DBUS_SESSION_BUS_ADDRESS
# or DBUS_SYSTEM_BUS_ADDRESS at it. (Not in a subshell: the daemon must be in PIDS to be stopped at the end.)
start_bus() {
    local socket=$WORK/buses/$1-bus
    mkdir -p "$WORK/buses"
    give_to_user "$WORK/buses" # the bus is the test user's own (nobody's after become_nobody)
    background "$socket.log" "${AS_USER[@]}" dbus-daemon --session --nofork --nopidfile --address="unix:path=$socket"
    wait_for 10 test -S "$socket" || fail "dbus-daemon ($1) did not start: $(cat "$socket.log")"
    export "DBUS_${1^^}_BUS_ADDRESS=unix:path=$socket"
}
# Both private buses, in place of the desktop's session and system buses.
start_buses() {
    start_bus session
    start_bus system
}

# Starts the fake desktop services (FAKEDESKTOP, on the buses start_buses made) with the options given; the
# calls they receive go to CALLS, one a line, and calls PREFIX counts those that begin with PREFIX.
start_fake_desktop() {
    CALLS=$WORK/calls.log
    if [ ${#AS_USER[@]} != 0 ]; then
        # Run as the buses' user, from where that user can reach it.
        mkdir -p "$WORK/program"
        cp "$FAKEDESKTOP" "$WORK/program/"
        FAKEDESKTOP=$WORK/program/$(basename "$FAKEDESKTOP")
    fi
    background "$CALLS" "${AS_USER[@]}" "$FAKEDESKTOP" "$@"
    wait_for 10 grep -qx ready "$CALLS" || fail "the fake desktop did not start: $(cat "$CALLS")"
}
calls() { grep -c "^$1" "$CALLS" || true; }

# The prefix of commands that run as the test's user (launch uses it): nothing, or setpriv after become_nobody.
AS_USER=()
# When the tests run as root, makes AS_USER run commands as nobody, for whom read-only means read-only.
become_nobody() {
    [ "$(id -u)" = 0 ] || return 0
    AS_USER=(setpriv --reuid=65534 --regid=65534 --clear-groups)
    chmod 711 "$WORK"
}
# Hands the files given to the user of AS_USER.
give_to_user() { [ ${#AS_USER[@]} = 0 ] || chown -R --no-dereference 65534:65534 "$@"; }
as_user() { "${AS_USER[@]}" "$@"; }

# Copies the program (the command and the library it loads) into the folder given and points UMBRALUX at
# the copy: where nobody can reach it whatever the checkout's permissions, or beside files of its own.
copy_program() {
    mkdir -p "$1"
    cp "$UMBRALUX" "$(dirname "$UMBRALUX")"/libumbralux-gui.so "$1/"
    UMBRALUX="$1/$(basename "$UMBRALUX")"
}

# A real Wayland compositor: sway, nested in a private X server through its X11 back end, so that xdotool
# on that server is the keyboard and mouse of the compositor. sway refuses to run as root; the compositor,
# the program and the tools then run as nobody, with a home, a runtime folder and a store of their own.
# SWAY_FLAGS: more of sway's options (-d: its debug log, which shows each request it handles); SWAY_OUTPUTS:
# how many outputs it shows (one X window each).
start_sway() {
    become_nobody
    mkdir -p "$WORK/home" "$WORK/runtime" "$XDG_CONFIG_HOME"
    chmod 700 "$WORK/runtime"
    export HOME="$WORK/home" XDG_RUNTIME_DIR="$WORK/runtime"
    unset WAYLAND_DISPLAY SWAYSOCK
    XVFB_ARGS="-ac" start_x
    printf '%s\n' "xwayland disable" >"$WORK/sway.conf"
    give_to_user "$WORK/home" "$WORK/runtime" "$XDG_CONFIG_HOME"
    WLR_BACKENDS=x11 WLR_RENDERER=pixman WLR_X11_OUTPUTS=${SWAY_OUTPUTS:-1} \
        background "$WORK/sway.log" "${AS_USER[@]}" sway ${SWAY_FLAGS:-} -c "$WORK/sway.conf"
    wait_for 15 bash -c "ls '$XDG_RUNTIME_DIR'/sway-ipc.*.sock" || fail "sway did not start: $(tail -5 "$WORK/sway.log")"
    SWAYSOCK=$(ls "$XDG_RUNTIME_DIR"/sway-ipc.*.sock)
    export SWAYSOCK WAYLAND_DISPLAY=wayland-1
    copy_program "$WORK/program"
}
# The program's view under sway named by its title: "Umbralux Software" (options) or "Form1" (the blank screen).
view() { as_user swaymsg -t get_tree | jq -c --arg t "$1" '[.. | objects | select(.app_id == "io.github.quenbrook.Umbralux" and .name == $t)] | first // empty'; }
view_is() { [ -n "$(view "$1")" ]; }

# A settings store of the test's own; seed it with: store_set KEY VALUE.
export XDG_CONFIG_HOME="$WORK/config"
STORE="$XDG_CONFIG_HOME/Quenbrook/Umbralux Software.ini"
store_set() {
    mkdir -p "$(dirname "$STORE")"
    [ -f "$STORE" ] || printf '[General]\n' >"$STORE"
    local key=${1// /%20}
    printf '%s=%s\n' "$key" "$2" >>"$STORE"
}
store_get() { sed -n "s/^${1// /%20}=//p" "$STORE"; }
# Stores exit method 1-4 as the one chosen, True for it and False for the others.
store_method() {
    local i
    for i in 1 2 3 4; do store_set "Option$i" "$([ "$i" = "$1" ] && echo True || echo False)"; done
}

# Starts the program on the Qt platform given (xcb unless told), through AS_USER, with the arguments that
# follow; its pid is left in APP_PID.
launch() {
    local platform=${1:-xcb}
    [ $# = 0 ] || shift
    QT_QPA_PLATFORM=$platform background "$WORK/app.log" "${AS_USER[@]}" "$UMBRALUX" "$@"
    APP_PID=$BG_PID
}
# Starts the program and waits for its options window.
start_app() {
    launch
    OPTIONS_WINDOW=$(find_window "Umbralux Software") || fail "the options window did not appear: $(cat "$WORK/app.log")"
}

app_running() { kill -0 "$APP_PID" 2>/dev/null; }
# Ends the program, which must still be running, with SIGTERM and waits for it.
stop_app() { kill "$APP_PID" || fail "the program had ended"; wait "$APP_PID" 2>/dev/null || true; }

# Waits for the program to end and checks its exit status.
expect_exit() {
    local status=$1
    wait_for 10 bash -c "! kill -0 $APP_PID" || fail "the program did not end"
    local actual=0
    wait "$APP_PID" || actual=$?
    [ "$actual" = "$status" ] || fail "exit status $actual, expected $status"
}

# The visible window of the program whose title is the given text, waiting for it up to 15 seconds (or the
# seconds given).
find_window() {
    local wanted=$1 deadline=$((SECONDS + ${2:-15})) id
    while [ $SECONDS -lt $deadline ]; do
        for id in $(xdotool search --onlyvisible --class umbralux 2>/dev/null); do
            [ "$("$XPROBE" title "$id" 2>/dev/null)" = "$wanted" ] && { echo "$id"; return 0; }
        done
        sleep 0.1
    done
    return 1
}

window_size() { xwininfo -id "$1" | awk '/Width:/{w=$2} /Height:/{h=$2} END{print w "x" h}'; }

# Window geometry as "WIDTHxHEIGHT+X+Y" in root coordinates.
window_geometry() {
    xwininfo -id "$1" | awk '/Absolute upper-left X:/{x=$4} /Absolute upper-left Y:/{y=$4} /Width:/{w=$2} /Height:/{h=$2} END{print w "x" h "+" x "+" y}'
}

# Whether the window is mapped and viewable (no pipe: under pipefail a closed pipe would read as "not viewable").
window_viewable() { [[ $(xwininfo -id "$1" 2>/dev/null) == *IsViewable* ]]; }
# Whether the window is unmapped or destroyed.
window_gone() { ! window_viewable "$1"; }
# Whether the window, with the frame its window manager drew around it (none without one), has its middle
# within a pixel of the screen's.
frame_centred() {
    local extents
    extents=$(xprop -id "$1" _NET_FRAME_EXTENTS 2>/dev/null | sed -n 's/.* = //p' | tr -d ' ')
    xwininfo -id "$1" | awk -v extents="${extents:-0,0,0,0}" -v screen="$SCREEN_SIZE" '
        /Absolute upper-left X:/ {x = $4} /Absolute upper-left Y:/ {y = $4} /Width:/ {w = $2} /Height:/ {h = $2}
        END {
            split(extents, e, ","); split(screen, s, "x") # left, right, top, bottom; width, height
            dx = 2 * (x - e[1]) + w + e[1] + e[2] - s[1]; dy = 2 * (y - e[3]) + h + e[3] + e[4] - s[2]
            exit !(dx >= -2 && dx <= 2 && dy >= -2 && dy <= 2)
        }'
}

# The blank screen keeps the design's window text "Form1".
wait_curtain() { CURTAIN=$(find_window "Form1") || fail "the blank screen did not appear"; }
wait_options() { OPTIONS_WINDOW=$(find_window "Umbralux Software") || fail "the options window did not come back"; }
wait_curtain_gone() { wait_for 10 window_gone "$CURTAIN" || fail "the blank screen stayed up"; }

# The options window's controls, centre points in window coordinates (the design's pixels).
SHOW_SCREEN_AT="268 21"
CHANGE_COLOR_AT="212 55"
RESET_COLOR_AT="212 89"
OPTION_AT=("" "96 158" "112 135" "96 182" "88 205") # any key, ESC, click, password
PASSWORD_BOX_AT="260 205"

# Clicks at a point of the options window, in its own coordinates (wayland.sh finds the window through sway).
click_options() { xdotool mousemove --window "$OPTIONS_WINDOW" "$1" "$2" click 1; }
# Clicks "Show Screen".
show_screen() { click_options $SHOW_SCREEN_AT; }

# The password the tests choose, and the input (for send) that dismisses the blank screen under each method.
PASSWORD=pw1
EXIT_INPUT=("" key:b key:Escape click1 "type:$PASSWORD") # any key, ESC, click, password
# Gives one input: key:NAME (an xdotool key name), type:TEXT or clickBUTTON (click1 is the left button).
send() {
    case $1 in
    key:*) xdotool key "${1#key:}" ;;
    type:*) xdotool type "${1#type:}" ;;
    click*) xdotool click "${1#click}" ;;
    *) fail "no such input: $1" ;;
    esac
}
# Clears the password box of the options window and types the text given into it.
type_password() { click_options $PASSWORD_BOX_AT; xdotool key ctrl+a BackSpace; xdotool type "$1"; }
# Chooses exit method 1-4 in the options window (the password method with PASSWORD) and waits until it is stored.
choose_method() {
    click_options ${OPTION_AT[$1]}
    if [ "$1" = 4 ]; then
        type_password "$PASSWORD"
        wait_for 3 stored_is Text1 "$PASSWORD" || fail "password not stored: $(store_get Text1)"
    fi
    wait_for 3 stored_is "Option$1" True || fail "method $1 not stored"
}

# A screenshot at 8 bits a channel of the whole screen, or of the window given second, into SHOT or the file given.
SHOT=$WORK/screen.png
screenshot() { import -window "${2:-root}" -depth 8 "${1:-$SHOT}"; }
# What SHOT shows, or its crop WIDTHxHEIGHT+X+Y: "COUNT RRGGBB", its number of colours and its first pixel's colour.
shot_colours() { convert "$SHOT" ${1:+-crop "$1" +repage} -format '%k %[hex:p{0,0}]' info:; }

# Predicates for wait_for: each looks again every time it is called.
pointer_is() { [ "$("$XPROBE" cursor)" = "$1" ]; }
stored_is() { [ "$(store_get "$1")" = "$2" ]; }
# Whether a new screenshot (or its crop) shows "COUNT RRGGBB", e.g. "1 FF0000" for all red.
screen_is() { screenshot && [ "$(shot_colours "${2:-}")" = "$1" ]; }
# Whether every pixel of a rectangle (X Y WIDTH HEIGHT) shows the colour RRGGBB; REGION keeps what was seen.
region_is() { REGION=$("$XPROBE" region "$2" "$3" "$4" "$5") && [ "$REGION" = "1 $1" ]; }
# Whether the window given has the keyboard focus.
has_focus() { [ $(($("$XPROBE" focus))) = $(($1)) ]; }

# Two monitors side by side, A and B, on a 2560x800 screen (set SCREEN_SIZE=2560x800 before sourcing this
# file). The server runs with -noreset, so the monitors stay when the last client leaves.
split_monitors() {
    xrandr --setmonitor A 1280/338x800/211+0+0 screen >/dev/null
    xrandr --setmonitor B 1280/338x800/211+1280+0 none >/dev/null
    [ "$(xrandr --listmonitors | head -1)" = "Monitors: 2" ] || fail "no two monitors: $(xrandr --listmonitors)"
}
