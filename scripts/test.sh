#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs what is missing, builds everything with warnings as errors and runs the whole test suite: unit tests
# on Qt's offscreen platform, end-to-end tests on X servers that the tests start themselves.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh --test
cmake --preset dev >/dev/null
cmake --build --preset dev
# No display of the caller's may leak into the tests: each end-to-end test brings its own X server.
unset DISPLAY WAYLAND_DISPLAY
# Two tests at a time, plus the xscreensaver test, which spends its three minutes waiting.
ctest --preset dev -j3
