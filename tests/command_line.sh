#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The command line without any display: --help and --version answer on standard output and end with 0,
# --status without an instance says so and ends with 1, and anything else, bad durations among it, prints
# the usage on standard error and ends with 2 before anything is shown; under a German locale in German.
# Each row: [locale variable=value] arguments | status | stream
# that carries the answer | a line the answer holds (extended regular expression).
set -euo pipefail
unset DISPLAY WAYLAND_DISPLAY
# The answers as written, whatever the caller's language; a row may start with the locale it runs in.
unset LC_ALL LC_MESSAGES LANGUAGE
export LANG=C.UTF-8
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
extra|2|stderr|^Usage:
--help|0|stdout|^  --keep-awake-for <DURATION> +With --show
--show --keep-awake-for 0s|2|stderr|'0s' is no duration
--show --keep-awake-for 169h|2|stderr|'169h' is no duration
--show --keep-awake-for 30m1h|2|stderr|'30m1h' is no duration
--show --keep-awake-for -5m|2|stderr|'-5m' is no duration
--show --keep-awake-for soon|2|stderr|'soon' is no duration
--keep-awake-for 1h|2|stderr|--keep-awake-for goes with --show
--monitor A|2|stderr|--monitor goes with --show
--monitors-off|2|stderr|--monitors-off goes with --show
--help|0|stdout|^  --monitors-off +With --show: powers the monitors off
--show --status|2|stderr|do not go together
--status|1|stderr|Umbralux is not running
LANG=de_DE.UTF-8 --help|0|stdout|^  -h, --help +Zeigt diese Hilfe an und beendet das Programm\.\$
LANG=de_DE.UTF-8 --help|0|stdout|^  --keep-awake-for <DAUER> +Mit --show
LC_ALL=de_AT.UTF-8 --show --keep-awake-for soon|2|stderr|„soon“ ist keine Dauer
LANGUAGE=de --monitor A|2|stderr|--monitor gilt nur zusammen mit --show
LANG=de_DE.UTF-8 --status|1|stderr|Umbralux läuft nicht
LANG=fr_FR.UTF-8 --help|0|stdout|^  -h, --help +Displays this help and exits\.\$
LANG=en_US.UTF-8 --status|1|stderr|Umbralux is not running"

WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
failures=0
while IFS='|' read -r arguments status stream pattern; do
    actual=0
    locale=()
    if [[ $arguments =~ ^(LANG|LC_ALL|LANGUAGE)= ]]; then
        locale=("${arguments%% *}")
        arguments=${arguments#* }
    fi
    # shellcheck disable=SC2086 # the arguments are split on purpose
    timeout 10 env "${locale[@]}" "$UMBRALUX" $arguments >"$WORK/stdout" 2>"$WORK/stderr" || actual=$?
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
