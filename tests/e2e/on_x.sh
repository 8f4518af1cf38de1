#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Runs a QtTest executable ($QTEST) on an X server of its own, for what only a real display shows.
. "$(dirname "$0")/lib.sh"

start_x
QT_QPA_PLATFORM=xcb "$QTEST" || fail "$(basename "$QTEST") failed"
note "passed"
