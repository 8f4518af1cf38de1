#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# On a desk of two monitors the blank screen covers both: it takes the monitor under the pointer and a plain
# companion window the other one. Keys and clicks on the companion count as on the blank screen, the pointer
# is hidden over both, and a monitor added while the screen is up is covered within a second.
SCREEN_SIZE=2560x800
. "$(dirname "$0")/lib.sh"

RED=FF0000
# The two monitors that split_monitors makes.
MONITOR_A="1280x800+0+0"
MONITOR_B="1280x800+1280+0"

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

# Milliseconds since the epoch.
now_ms() { echo $(($(date +%s%N) / 1000000)); }

start_x
split_monitors
store_set "Background Color" 255
store_set Check4 0
start_app

# Shows the blank screen from the options window placed at the given point, so that the pointer is on that
# point's monitor; sets HERE and THERE to the windows on that monitor and on the other one.
show_from() {
    local x=$1 here=$2 there=$3
    xdotool windowmove "$OPTIONS_WINDOW" "$x" 200
    on_monitor() { [ "$(xdotool getwindowgeometry "$OPTIONS_WINDOW" | awk -F'[ ,]+' '/Position/{print int($3 / 1280)}')" = $((x / 1280)) ]; }
    wait_for 5 on_monitor || fail "the options window did not move: $(window_geometry "$OPTIONS_WINDOW")"
    show_screen
    wait_for 10 curtain_count_is 2 || fail "not two curtain windows: $(curtain_windows)"
    HERE=$(curtain_window_at "$here")
    THERE=$(curtain_window_at "$there")
    [ -n "$HERE" ] && [ -n "$THERE" ] || fail "the monitors are not covered each by one window: $(curtain_windows)"
}
dismissed() {
    wait_for 10 curtain_count_is 0 || fail "curtain windows left: $(curtain_windows)"
    wait_options
}

for side in A B; do
    if [ $side = A ]; then
        show_from 300 $MONITOR_A $MONITOR_B
        here_x=0 there_x=1280
    else
        show_from 1500 $MONITOR_B $MONITOR_A
        here_x=1280 there_x=0
    fi
    # Every pixel in the colour, the hint's band on the pointer's monitor excepted while it shows.
    wait_for 3 region_is $RED $there_x 0 1280 800 || fail "monitor under the companion: $REGION"
    wait_for 3 region_is $RED $here_x 100 1280 700 || fail "monitor under the blank screen: $REGION"
    [ $side = B ] && screenshot "$ARTIFACTS/monitors-with-hint-$WM_MODE.png"
    wait_for 8 region_is $RED 0 0 2560 800 || fail "not every pixel red: $REGION"
    if [ "$WM_MODE" = openbox ]; then
        xprop -id "$THERE" _NET_WM_STATE | grep -q SKIP_TASKBAR || fail "the companion asks for a task-bar entry"
    fi

    # The pointer is hidden over both monitors.
    wait_for 3 pointer_is hidden || fail "pointer visible over the blank screen"
    xdotool mousemove $((there_x + 600)) 400
    sleep 0.3
    pointer_is hidden || fail "pointer visible over the companion"
    xdotool mousemove $((here_x + 600)) 400

    # ESC while the companion has the keyboard.
    xdotool windowfocus "$THERE"
    wait_for 3 has_focus "$THERE" || fail "the companion did not take the focus"
    xdotool key Escape
    dismissed
    wait_for 3 pointer_is visible || fail "pointer not back"
done

# The click method: a click on the other monitor dismisses.
choose_method 3
show_from 300 $MONITOR_A $MONITOR_B
xdotool mousemove 1900 400 click 1
dismissed

# Monitors coming and going while the screen is up.
choose_method 2
show_from 300 $MONITOR_A $MONITOR_B
xrandr --delmonitor B >/dev/null
wait_for 3 curtain_count_is 1 || fail "a window stayed for the removed monitor: $(curtain_windows)"
[ -n "$(curtain_window_at $MONITOR_A)" ] || fail "the blank screen left its monitor: $(curtain_windows)"
for round in 1 2; do
    xrandr --setmonitor B 1280/338x800/211+1280+0 none >/dev/null
    added=$(now_ms)
    # A small look while the clock runs, the whole monitor afterwards.
    until region_is $RED 1856 336 128 128; do
        [ $(($(now_ms) - added)) -le 1000 ] || fail "the added monitor was not covered within a second: $(curtain_windows)"
        sleep 0.05
    done
    note "added monitor covered after $(($(now_ms) - added)) ms"
    region_is $RED 1280 0 1280 800 || fail "the added monitor is covered in part: $REGION"
    curtain_count_is 2 || fail "not one window more for the added monitor: $(curtain_windows)"
    xrandr --delmonitor B >/dev/null
    wait_for 3 curtain_count_is 1 || fail "a window stayed for the removed monitor: $(curtain_windows)"
done
xdotool key Escape
dismissed

# The blank screen's own monitor goes: the one left stays covered.
xrandr --setmonitor B 1280/338x800/211+1280+0 none >/dev/null
show_from 1500 $MONITOR_B $MONITOR_A
xrandr --delmonitor B >/dev/null
sleep 0.5
wait_for 3 region_is $RED 0 100 1280 700 || fail "the monitor left is not covered: $REGION"
app_running || fail "the program ended"
xdotool key Escape
dismissed
note "passed"
