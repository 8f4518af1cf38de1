#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs what is missing, builds the program (release) and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display here: starting Umbralux on a virtual X server (xvfb-run)." >&2
    exec xvfb-run -a build/release/src/umbralux
fi
exec build/release/src/umbralux
