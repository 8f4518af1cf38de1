#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs what building and running need, builds the program (release) and starts it; on a machine without a
# display, on a virtual X server, and says how to look at it and how to stop it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh --run
if [ ! -x build/release/src/umbralux ]; then
    echo "Building Umbralux (release) in build/release: about five minutes on two cores the first time."
else
    echo "Building Umbralux (release) in build/release: only what changed since the last build."
fi
cmake --preset release >/dev/null
cmake --build --preset release -- --quiet
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
    echo "Starting Umbralux; closing its options window ends it."
    exec build/release/src/umbralux
fi
# xvfb-run picks a free display and a private authority file; the program's shell names both.
# shellcheck disable=SC2016 # expanded by the inner shell, inside xvfb-run
exec xvfb-run -a bash -c '
cat <<EOF
No display here: Umbralux runs on a virtual X server (Xvfb) on display $DISPLAY, which nobody sees.
To look at it, from another terminal (import is ImageMagick, which scripts/install-deps.sh --test installs):
    XAUTHORITY=$XAUTHORITY import -display $DISPLAY -window root shot.png
and to drive it, for example: DISPLAY=$DISPLAY XAUTHORITY=$XAUTHORITY xdotool ... (also from --test).
To stop it: Ctrl+C here, or kill $$ from another terminal; the virtual X server ends with it.
EOF
exec "$0"' build/release/src/umbralux
