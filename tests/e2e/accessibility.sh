#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The options window through the real accessibility stack: the AT-SPI registry on a private session bus, read
# with pyatspi as a screen reader reads it (accessibility.py holds the checks).
. "$(dirname "$0")/lib.sh"

start_x
start_bus session
# The launcher starts the accessibility bus and registers it on the session bus; the registry follows.
background "$WORK/at-spi.log" /usr/libexec/at-spi-bus-launcher --launch-immediately
wait_for 10 dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress ||
    fail "the accessibility bus did not start: $(cat "$WORK/at-spi.log")"

store_set "Background Color" 255
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
start_app

# Debian's own Python, where python3-pyatspi lives.
/usr/bin/python3 "$(dirname "$0")/accessibility.py" || fail "accessibility checks failed"
store_get Option3 | grep -qx True || fail "the last method chosen was not stored"
note "passed"
