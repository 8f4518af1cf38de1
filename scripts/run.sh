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
# Qt wants the session's runtime folder to be the user's own, usable by nobody else (mode 0700), and warns at
# every start when it is not: after su or sudo it is unset or another user's, in a container it is often
# missing. The program then gets a private one for this run, removed when the run ends.
runtime_folder_is_private() {
    local folder=${XDG_RUNTIME_DIR:-}
    [[ $folder == /* ]] && [ -d "$folder" ] && [ -O "$folder" ] && [ "$(stat -L -c %a "$folder")" = 700 ]
}
if ! runtime_folder_is_private; then
    XDG_RUNTIME_DIR=$(mktemp -d "${TMPDIR:-/tmp}/umbralux-runtime.XXXXXX") # mktemp -d makes it 0700
    export XDG_RUNTIME_DIR
    trap 'rm -rf "$XDG_RUNTIME_DIR"' EXIT
fi
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
    echo "Starting Umbralux; closing its options window ends it."
    status=0
    build/release/src/umbralux || status=$?
    exit "$status"
fi
# xvfb-run picks a free display and a private authority file; the program's shell names both.
status=0
# shellcheck disable=SC2016 # expanded by the inner shell, inside xvfb-run
xvfb-run -a bash -c '
cat <<EOF
No display here: Umbralux runs on a virtual X server (Xvfb) on display $DISPLAY, which nobody sees.
To look at it, from another terminal (import is ImageMagick, which scripts/install-deps.sh --test installs):
    XAUTHORITY=$XAUTHORITY import -display $DISPLAY -window root shot.png
and to drive it, for example: DISPLAY=$DISPLAY XAUTHORITY=$XAUTHORITY xdotool ... (also from --test).
To stop it: Ctrl+C here, or kill $$ from another terminal; the virtual X server ends with it.
EOF
exec "$0"' build/release/src/umbralux || status=$?
exit "$status"
