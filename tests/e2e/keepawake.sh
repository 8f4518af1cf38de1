#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Keep-awake on a real X server with two private D-Bus buses, one standing in for the session bus and one
# for the system bus; tst_keepawake starts the fake desktop services on them itself.
. "$(dirname "$0")/lib.sh"

start_x
start_buses

QT_QPA_PLATFORM=xcb "$KEEPAWAKE_TEST" || fail "tst_keepawake failed"
note "passed"
