#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The whole Windows leg in one command: installs MinGW-w64 (POSIX threads) and Wine, cross-builds Qt once
# (scripts/build-qt-windows.sh, cached), configures and builds with the `windows` preset and runs the unit
# tests under Wine, ending with CTest's summary. Prints how long each stage took.
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
    timings+=("$(printf '%-10s %4d s' "$name" $((SECONDS - start)))")
    return $status
}
report() { printf '%s\n' "== times" "${timings[@]}" >&2; }
trap report EXIT

# Installs what it lacks itself, and is done at once when the cache is complete.
stage qt scripts/build-qt-windows.sh >/dev/null
UMBRALUX_QT_WINDOWS=$(scripts/build-qt-windows.sh --print-prefix)
export UMBRALUX_QT_WINDOWS
stage configure cmake --preset windows
stage build cmake --build --preset windows
stage tests ctest --preset windows -j"${UMBRALUX_JOBS:-$(nproc)}" "$@"
