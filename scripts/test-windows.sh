#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The whole Windows leg in one command: installs MinGW-w64 (POSIX threads), Wine and NSIS, cross-builds Qt
# once (scripts/build-qt-windows.sh, cached), builds with the `windows` preset and runs the unit tests under
# Wine, then builds the release (`windows-release`), packages it (the NSIS installer and the portable .zip in
# build/windows-release) and runs the end-to-end test under Wine on a private X server with the installer.
# Prints how long each stage took.
#
#   scripts/test-windows.sh [CTEST ARGUMENTS...]     e.g. scripts/test-windows.sh -R tst_registrystore
#
# Environment: UMBRALUX_CACHE and UMBRALUX_JOBS as for scripts/build-qt-windows.sh.
set -euo pipefail
cd "$(dirname "$0")/.."

timings=()
stage() { # stage NAME COMMAND...: runs one stage and notes how long it took
    local name=$1 start=$SECONDS
    shift
    echo "== $name" >&2
    local status=0
    "$@" || status=$?
    timings+=("$(printf '%-12s %4d s' "$name" $((SECONDS - start)))")
    return $status
}
report() { printf '%s\n' "== times" "${timings[@]}" >&2; }
trap report EXIT

# The end-to-end test's X server and tools are those of the Linux suite.
stage tools scripts/install-deps.sh --test
# Installs what it lacks itself, and is done at once when the cache is complete.
stage qt scripts/build-qt-windows.sh >/dev/null
UMBRALUX_QT_WINDOWS=$(scripts/build-qt-windows.sh --print-prefix)
export UMBRALUX_QT_WINDOWS
stage configure cmake --preset windows
stage build cmake --build --preset windows
stage tests ctest --preset windows -j"${UMBRALUX_JOBS:-$(nproc)}" "$@"
[ $# -eq 0 ] || exit 0 # a chosen test only
stage release bash -c 'cmake --preset windows-release >/dev/null && cmake --build --preset windows-release'
stage package cpack --config build/windows-release/CPackConfig.cmake -B build/windows-release
ls -l build/windows-release/umbralux-*-win64.{exe,zip} >&2
unset DISPLAY WAYLAND_DISPLAY
for mode in bare openbox; do
    stage "e2e $mode" bash tests/e2e/wine.sh build/windows-release/umbralux-*-win64.exe "$mode"
done
