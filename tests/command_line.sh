#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The command line without any display: --help and --version answer on standard output and end with 0, and
# anything else prints the usage on standard error and ends with 2. Each row: arguments | status | stream
# that carries the answer | a line the answer holds (extended regular expression).
set -euo pipefail
unset DISPLAY WAYLAND_DISPLAY
export QT_QPA_PLATFORM=xcb # would fail at once if a window were attempted

CASES="--help|0|stdout|^Usage: .*umbralux \[options\]\$
-h|0|stdout|^  -v, --version
--help|0|stdout|^  --show +Covers the screen at once
--help-all|2|stderr|Unknown option 'help-all'
--version|0|stdout|^umbralux $VERSION\$
-v|0|stdout|^umbralux $VERSION\$
--bogus|2|stderr|Unknown option 'bogus'
-x|2|stderr|Unknown option 'x'
--version extra|2|stderr|Unexpected argument 'extra'
extra|2|stderr|^Usage:"

WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
failures=0
while IFS='|' read -r arguments status stream pattern; do
    actual=0
    # shellcheck disable=SC2086 # the arguments are split on purpose
    timeout 10 "$UMBRALUX" $arguments >"$WORK/stdout" 2>"$WORK/stderr" || actual=$?
    other=stdout
    [ "$stream" = stdout ] && other=stderr
    if [ "$actual" != "$status" ] || ! grep -Eq -- "$pattern" "$WORK/$stream" || [ -s "$WORK/$other" ]; then
        echo "FAIL: '$arguments' ended with $actual (expected $status);" \
            "stdout: $(cat "$WORK/stdout") stderr: $(cat "$WORK/stderr")" >&2
        failures=$((failures + 1))
    fi
done <<<"$CASES"
[ $failures = 0 ] && echo "all command lines answered as expected"
exit $failures
