#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Every translation is complete: lupdate, run over the program's sources into a copy of each .ts file, finds
# no text without a translation, so a text added to the code without one fails here, as does a translation
# left unfinished. Arguments: the lupdate program and the source tree.
set -euo pipefail
LUPDATE=$1
ROOT=$2

WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
# The program's layers; the front end in launcher/ links no Qt and has no translations.
(cd "$ROOT" && find src -path src/launcher -prune -o -type f \( -name '*.cpp' -o -name '*.h' -o -name '*.ui' \) \
    -printf "$ROOT/%p\n") >"$WORK/sources"
failures=0
for ts in "$ROOT"/translations/umbralux_*.ts; do
    copy="$WORK/$(basename "$ts")"
    cp "$ts" "$copy"
    "$LUPDATE" -silent -no-obsolete -locations none "@$WORK/sources" -ts "$copy" >/dev/null
    untranslated=$(grep -c -e 'type="unfinished"' -e '<translation></translation>' "$copy" || true)
    if [ "$untranslated" != 0 ]; then
        echo "FAIL: $(basename "$ts") lacks $untranslated translation(s); run lupdate" \
            "(cmake --build --preset dev --target umbralux_app_lupdate) and translate:" >&2
        grep -B3 -e 'type="unfinished"' -e '<translation></translation>' "$copy" | grep '<source>' >&2
        failures=$((failures + 1))
    fi
done
[ $failures = 0 ] && echo "every text of the program has its translation"
exit $failures
