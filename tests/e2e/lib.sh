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

fail() {
    echo "FAIL [$TEST_NAME]: $*" >&2
    [ -n "${DISPLAY:-}" ] && import -window root "$ARTIFACTS/$TEST_NAME-failure.png" 2>/dev/null || true
    exit 1
}

note() { echo "[$TEST_NAME] $*"; }

cleanup() {
    local pid
    for pid in "${PIDS[@]}"; do kill "$pid" 2>/dev/null || true; done
    for pid in "${PIDS[@]}"; do wait "$pid" 2>/dev/null || true; done
    rm -rf "$WORK"
}
trap cleanup EXIT

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

start_x() {
    mkdir -p "$ARTIFACTS"
    exec 5<> <(:)
    # shellcheck disable=SC2086 # XVFB_ARGS holds several arguments
    Xvfb -displayfd 5 -screen 0 "${SCREEN_SIZE}x24" -nolisten tcp -noreset +extension XFIXES ${XVFB_ARGS:-} \
        >"$WORK/xvfb.log" 2>&1 &
    PIDS+=($!)
    local number
    read -r -t 15 number <&5 || fail "Xvfb did not start: $(cat "$WORK/xvfb.log")"
    export DISPLAY=":$number"
    wait_for 10 xdpyinfo || fail "X server :$number does not answer"
    if [ "$WM_MODE" = openbox ]; then
        openbox --sm-disable >"$WORK/openbox.log" 2>&1 &
        PIDS+=($!)
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

# Starts a private bus listening at the given socket and waits until it takes connections; its address is
# left in BUS_ADDRESS. (Not in a subshell: the daemon must be in PIDS to be stopped at the end.)
start_bus() {
    local socket=$WORK/$1
    dbus-daemon --session --nofork --nopidfile --address="unix:path=$socket" >"$WORK/$1.log" 2>&1 &
    PIDS+=($!)
    wait_for 10 test -S "$socket" || fail "dbus-daemon ($1) did not start: $(cat "$WORK/$1.log")"
    BUS_ADDRESS="unix:path=$socket"
}

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

start_app() {
    QT_QPA_PLATFORM=xcb "$UMBRALUX" >"$WORK/app.log" 2>&1 &
    APP_PID=$!
    PIDS+=($APP_PID)
    OPTIONS_WINDOW=$(find_window "Umbralux Software") || fail "the options window did not appear: $(cat "$WORK/app.log")"
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

app_running() { kill -0 "$APP_PID" 2>/dev/null; }

# Waits for the program to end and checks its exit status.
expect_exit() {
    local status=$1
    wait_for 10 bash -c "! kill -0 $APP_PID" || fail "the program did not end"
    local actual=0
    wait "$APP_PID" || actual=$?
    [ "$actual" = "$status" ] || fail "exit status $actual, expected $status"
}

# Window geometry as "WIDTHxHEIGHT+X+Y" in root coordinates.
window_geometry() {
    xwininfo -id "$1" | awk '/Absolute upper-left X:/{x=$4} /Absolute upper-left Y:/{y=$4} /Width:/{w=$2} /Height:/{h=$2} END{print w "x" h "+" x "+" y}'
}

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

window_viewable() { xwininfo -id "$1" 2>/dev/null | grep -q "IsViewable"; }

# The blank screen keeps the design's window text "Form1".
wait_curtain() { CURTAIN=$(find_window "Form1") || fail "the blank screen did not appear"; }
wait_options() { OPTIONS_WINDOW=$(find_window "Umbralux Software") || fail "the options window did not come back"; }
wait_curtain_gone() { wait_for 10 bash -c "! xwininfo -id $CURTAIN 2>/dev/null | grep -q IsViewable" || fail "the blank screen stayed up"; }

# Clicks at a point of a window, in the window's own coordinates.
click_in() { xdotool mousemove --window "$1" "$2" "$3" click "${4:-1}"; }

# The options window's controls, centre points in window coordinates (the design's pixels).
SHOW_SCREEN_AT="268 21"
CHANGE_COLOR_AT="212 55"
RESET_COLOR_AT="212 89"
OPTION_AT=("" "96 158" "112 135" "96 182" "88 205") # any key, ESC, click, password
PASSWORD_BOX_AT="260 205"

# Number of distinct colours on the screen (optionally in a crop like 1024x600+0+100), and the first one.
screen_colours() {
    local shot="$WORK/shot.png"
    import -window root "$shot"
    if [ -n "${1:-}" ]; then convert "$shot" -crop "$1" +repage "$shot"; fi
    convert "$shot" -format '%k' info:
}
screen_colour_at() { import -window root "$WORK/px.png"; convert "$WORK/px.png" -format "%[hex:p{$1,$2}]" info: | cut -c1-6; }

pointer_state() { "$XPROBE" cursor; }

# Predicates for wait_for: each looks again every time it is called.
pointer_is() { [ "$(pointer_state)" = "$1" ]; }
colours_are() { [ "$(screen_colours "${2:-}")" = "$1" ]; }
stored_is() { [ "$(store_get "$1")" = "$2" ]; }

# Two monitors side by side, A and B, on a 2560x800 screen (set SCREEN_SIZE=2560x800 before sourcing this
# file). The server runs with -noreset, so the monitors stay when the last client leaves.
MONITOR_A="1280x800+0+0"
MONITOR_B="1280x800+1280+0"
split_monitors() {
    xrandr --setmonitor A 1280/338x800/211+0+0 screen >/dev/null
    xrandr --setmonitor B 1280/338x800/211+1280+0 none >/dev/null
    [ "$(xrandr --listmonitors | head -1)" = "Monitors: 2" ] || fail "no two monitors: $(xrandr --listmonitors)"
}

# The windows of the blank screen and its companions that are up, one "ID GEOMETRY" a line, by geometry.
curtain_windows() {
    local id
    for id in $(xdotool search --onlyvisible --class umbralux 2>/dev/null); do
        [ "$("$XPROBE" title "$id" 2>/dev/null)" = Form1 ] && echo "$id $(window_geometry "$id")"
    done | sort -k2
}
curtain_count_is() { [ "$(curtain_windows | wc -l)" = "$1" ]; }
# The window of the blank screen or a companion that covers the given geometry.
curtain_window_at() { curtain_windows | awk -v g="$1" '$2 == g {print $1}'; }

# Whether every pixel of a rectangle (X Y WIDTH HEIGHT) shows the colour RRGGBB.
region_is() { [ "$("$XPROBE" region "$2" "$3" "$4" "$5")" = "1 $1" ]; }

# Milliseconds since the epoch.
now_ms() { echo $(($(date +%s%N) / 1000000)); }
