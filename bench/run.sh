#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds Umbralux, the floor program and the driver with the release flags, starts a private X server (and,
# for the shortcut's rows, one split into two monitors and one that shows a nested sway) and prints the
# benchmark's table. Not a test: nothing here passes or fails on a timing.
#
#   bench/run.sh                      # 11 rounds, 200 cycles, 15 s per idle state: about three minutes
#   ROUNDS=21 IDLE_SECONDS=60 bench/run.sh
#   bench/run.sh old /path/to/an/older/umbralux   # more programs, side by side in the same rounds
set -euo pipefail
cd "$(dirname "$0")/.."
ROUNDS=${ROUNDS:-11}
CYCLES=${CYCLES:-200}
IDLE_SECONDS=${IDLE_SECONDS:-15}
SCREEN_SIZE=${SCREEN_SIZE:-1024x768}
# Two monitors side by side, as the end-to-end tests make them (tests/e2e/lib.sh).
MONITORS_SIZE=2560x800
MONITOR_A=1280/338x800/211+0+0
MONITOR_B=1280/338x800/211+1280+0
# The size of the window in which sway's X11 back end shows its one output.
SWAY_SIZE=1024x768
# How long sway and the buses have to come up.
START_SECONDS=15
BUILD=build/bench

scripts/install-deps.sh
cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DUMBRALUX_BENCH=ON >/dev/null
cmake --build "$BUILD" --target umbralux floor xbench >/dev/null

WORK=$(mktemp -d)
PIDS=()
cleanup() {
    local pid
    for pid in "${PIDS[@]}"; do kill "$pid" 2>/dev/null || true; done
    for pid in "${PIDS[@]}"; do wait "$pid" 2>/dev/null || true; done
    rm -rf "$WORK"
}
trap cleanup EXIT

# Waits until the command succeeds, at most START_SECONDS.
wait_for() {
    local deadline=$((SECONDS + START_SECONDS))
    until "$@" >/dev/null 2>&1; do
        [ $SECONDS -lt $deadline ] || return 1
        sleep 0.1
    done
}

# Starts a private Xvfb of the size given (more arguments follow it) and leaves its display in XVFB_DISPLAY.
exec 5<> <(:)
start_xvfb() {
    local size=$1 log=$WORK/xvfb-${#PIDS[@]}.log number
    shift
    Xvfb -displayfd 5 -screen 0 "${size}x24" -nolisten tcp -noreset "$@" >"$log" 2>&1 &
    PIDS+=($!)
    read -r -t "$START_SECONDS" number <&5 || { cat "$log" >&2; exit 1; }
    XVFB_DISPLAY=":$number"
}

# Starts a session bus at the socket given, through the command prefix that follows, and waits for it.
start_bus() {
    local socket=$1
    shift
    "$@" dbus-daemon --session --nofork --nopidfile --address="unix:path=$socket" >"$socket.log" 2>&1 &
    PIDS+=($!)
    wait_for test -S "$socket" || { cat "$socket.log" >&2; exit 1; }
}

start_xvfb "$SCREEN_SIZE"
export DISPLAY=$XVFB_DISPLAY QT_QPA_PLATFORM=xcb
unset WAYLAND_DISPLAY SWAYSOCK
# A store of the run's own, and no desktop buses: the same for every round and for both programs.
export XDG_CONFIG_HOME="$WORK/config" HOME="$WORK" XDG_RUNTIME_DIR="$WORK/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
export DBUS_SESSION_BUS_ADDRESS="unix:path=$WORK/no-session-bus" DBUS_SYSTEM_BUS_ADDRESS="unix:path=$WORK/no-system-bus"
# ... but a private session bus for the shortcut's rows, which the driver hands only to those starts.
BUS="unix:path=$WORK/bus"
start_bus "$WORK/bus"

# The hand-over on two monitors, each covered by a window of its own. The server runs with -noreset, so the
# monitors stay when the last client leaves.
start_xvfb "$MONITORS_SIZE"
MONITORS_DISPLAY=$XVFB_DISPLAY
DISPLAY=$MONITORS_DISPLAY xrandr --setmonitor A "$MONITOR_A" screen >/dev/null
DISPLAY=$MONITORS_DISPLAY xrandr --setmonitor B "$MONITOR_B" none >/dev/null
[ "$(DISPLAY=$MONITORS_DISPLAY xrandr --listmonitors | head -1)" = "Monitors: 2" ] ||
    { echo "no two monitors: $(DISPLAY=$MONITORS_DISPLAY xrandr --listmonitors)" >&2; exit 1; }

# The shortcut under sway, nested in an X server of its own through its X11 back end, so that the driver reads
# its output from that server's root as it reads every other screen. sway refuses to run as root: then sway,
# the programs the driver starts for it and their session bus run as nobody, with files of their own.
AS_SWAY_USER=()
SWAY_UID=()
if [ "$(id -u)" = 0 ]; then
    AS_SWAY_USER=(setpriv --reuid=65534 --regid=65534 --clear-groups)
    SWAY_UID=(--sway-uid 65534)
    chmod 711 "$WORK"
fi
SWAY_HOME=$WORK/sway
mkdir -p "$SWAY_HOME/runtime" "$SWAY_HOME/config"
chmod 700 "$SWAY_HOME/runtime"
printf '%s\n' "xwayland disable" >"$SWAY_HOME/sway.conf"
[ ${#AS_SWAY_USER[@]} = 0 ] || chown -R 65534:65534 "$SWAY_HOME"
start_xvfb "$SWAY_SIZE" -ac
SWAY_DISPLAY=$XVFB_DISPLAY
DISPLAY=$SWAY_DISPLAY HOME=$SWAY_HOME XDG_RUNTIME_DIR=$SWAY_HOME/runtime XDG_CONFIG_HOME=$SWAY_HOME/config \
    WLR_BACKENDS=x11 WLR_RENDERER=pixman WLR_X11_OUTPUTS=1 \
    "${AS_SWAY_USER[@]}" sway -c "$SWAY_HOME/sway.conf" >"$WORK/sway.log" 2>&1 &
PIDS+=($!)
# Up once it takes clients and shows its output's window.
sway_up() {
    compgen -G "$SWAY_HOME/runtime/wayland-[0-9]" >/dev/null &&
        [[ $(DISPLAY=$SWAY_DISPLAY xwininfo -root -children) == *"1 child"* ]]
}
wait_for sway_up || { tail -5 "$WORK/sway.log" >&2; exit 1; }
WAYLAND_SOCKET=$(basename "$(compgen -G "$SWAY_HOME/runtime/wayland-[0-9]" | head -1)")
start_bus "$SWAY_HOME/runtime/bus" "${AS_SWAY_USER[@]}"
# The programs run from the build folder, where nobody has to reach them too.
for program in "$BUILD/src/umbralux" "$BUILD/bench/floor"; do
    "${AS_SWAY_USER[@]}" test -x "$program" ||
        { echo "uid 65534 cannot run $program: make the checkout readable for everyone" >&2; exit 1; }
done
SWAY=(--sway "$SWAY_DISPLAY" "${SWAY_UID[@]}" --sway-bus "unix:path=$SWAY_HOME/runtime/bus"
    --swaylock "$(command -v swaylock)" --sway-env QT_QPA_PLATFORM=wayland
    --sway-env "WAYLAND_DISPLAY=$WAYLAND_SOCKET" --sway-env "HOME=$SWAY_HOME"
    --sway-env "XDG_RUNTIME_DIR=$SWAY_HOME/runtime" --sway-env "XDG_CONFIG_HOME=$SWAY_HOME/config")

echo "Umbralux $(git describe --always --dirty 2>/dev/null || echo '?') on Xvfb ${SCREEN_SIZE}" \
    "(two monitors: ${MONITORS_SIZE}; sway $(sway --version | awk '{print $3}'): ${SWAY_SIZE}), $(nproc) cores"
"$BUILD/bench/xbench" --rounds "$ROUNDS" --cycles "$CYCLES" --idle "$IDLE_SECONDS" \
    --bus "$BUS" --locker "$(command -v i3lock)" --monitors "$MONITORS_DISPLAY" "${SWAY[@]}" \
    floor "$BUILD/bench/floor" Umbralux "$BUILD/src/umbralux" "$@"
