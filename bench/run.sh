#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds Umbralux, the floor program and the driver with the release flags, starts a private X server and
# prints the benchmark's table. Not a test: nothing here passes or fails on a timing.
#
#   bench/run.sh                      # 11 rounds, 200 cycles, 15 s per idle state: a few minutes
#   ROUNDS=21 IDLE_SECONDS=60 bench/run.sh
#   bench/run.sh old /path/to/an/older/umbralux   # more programs, side by side in the same rounds
set -euo pipefail
cd "$(dirname "$0")/.."
ROUNDS=${ROUNDS:-11}
CYCLES=${CYCLES:-200}
IDLE_SECONDS=${IDLE_SECONDS:-15}
SCREEN_SIZE=${SCREEN_SIZE:-1024x768}
BUILD=build/bench

scripts/install-deps.sh
cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DUMBRALUX_BENCH=ON >/dev/null
cmake --build "$BUILD" --target umbralux floor xbench >/dev/null

WORK=$(mktemp -d)
XVFB_PID=
BUS_PID=
cleanup() {
    [ -n "$BUS_PID" ] && kill "$BUS_PID" 2>/dev/null && wait "$BUS_PID" 2>/dev/null
    [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null && wait "$XVFB_PID" 2>/dev/null
    rm -rf "$WORK"
}
trap cleanup EXIT

exec 5<> <(:)
Xvfb -displayfd 5 -screen 0 "${SCREEN_SIZE}x24" -nolisten tcp -noreset >"$WORK/xvfb.log" 2>&1 &
XVFB_PID=$!
read -r -t 15 number <&5 || { cat "$WORK/xvfb.log" >&2; exit 1; }
export DISPLAY=":$number" QT_QPA_PLATFORM=xcb
unset WAYLAND_DISPLAY
# A store of the run's own, and no desktop buses: the same for every round and for both programs.
export XDG_CONFIG_HOME="$WORK/config" HOME="$WORK" XDG_RUNTIME_DIR="$WORK/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
export DBUS_SESSION_BUS_ADDRESS="unix:path=$WORK/no-session-bus" DBUS_SYSTEM_BUS_ADDRESS="unix:path=$WORK/no-system-bus"
# ... but a private session bus for the shortcut's rows, which the driver hands only to those starts.
BUS="unix:path=$WORK/bus"
dbus-daemon --session --nofork --nopidfile --address="$BUS" >"$WORK/bus.log" 2>&1 &
BUS_PID=$!
for _ in $(seq 50); do [ -S "$WORK/bus" ] && break; sleep 0.1; done
[ -S "$WORK/bus" ] || { cat "$WORK/bus.log" >&2; exit 1; }

echo "Umbralux $(git describe --always --dirty 2>/dev/null || echo '?') on Xvfb ${SCREEN_SIZE}, $(nproc) cores"
"$BUILD/bench/xbench" --rounds "$ROUNDS" --cycles "$CYCLES" --idle "$IDLE_SECONDS" \
    --bus "$BUS" --locker "$(command -v i3lock)" \
    floor "$BUILD/bench/floor" Umbralux "$BUILD/src/umbralux" "$@"
