#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The documents against the code, each read from the code rather than from a list kept here: every long
# option `umbralux --help` prints is in README.md and among the manual page's OPTIONS; the manual's EXIT
# STATUS names exactly the statuses the program ends with; every logging category defined in src/ is named
# in README.md; every path of the repository that README.md, CONTRIBUTING.md or docs/architecture.md names
# exists. Each miss is one line naming the item and the document. UMBRALUX is the program, SOURCE the
# repository.
set -euo pipefail
cd "$SOURCE"
MANUAL=data/umbralux.1.in
DOCUMENTS=(README.md CONTRIBUTING.md docs/architecture.md)
failures=0

missing() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

# One section of the manual page (.SH NAME up to the next .SH), with roff's escaped hyphens made plain.
manual_section() {
    sed 's/\\-/-/g' "$MANUAL" | awk -v heading=".SH $1" '/^\.SH / { inside = ($0 == heading); next } inside'
}

# Options: what --help prints; in the manual, the tag lines (those after .TP) of its OPTIONS.
help_options=$(unset DISPLAY WAYLAND_DISPLAY; "$UMBRALUX" --help | grep -oE '^ +(-[a-zA-Z], )?--[a-z][a-z-]*' |
    grep -oE -- '--[a-z-]+' || true)
[ -n "$help_options" ] || missing "umbralux --help printed no long option"
manual_options=$(manual_section OPTIONS | awk 'previous == ".TP" { print } { previous = $0 }' |
    grep -oE -- '--[a-z][a-z-]*' || true)
for option in $help_options; do
    grep -qE -- "(^|[^a-z-])$option([^a-z-]|\$)" README.md || missing "option $option is not in README.md"
    grep -qxF -- "$option" <<<"$manual_options" || missing "option $option is not among the manual's OPTIONS"
done

# Exit statuses: the named status constants, the statuses the program ends with (endProgram, a command line
# that ends the start) and those a running instance answers a request with (CommandReply); in the manual,
# every number of EXIT STATUS.
code_statuses=$({
    grep -rhoE 'k[A-Za-z]+Status = [0-9]+|endProgram\([0-9]+\)|ending\([0-9]+' src
    grep -rlF CommandReply src | xargs grep -hoE 'return \{[0-9]+, '
} | grep -oE '[0-9]+' | sort -un)
manual_statuses=$(manual_section 'EXIT STATUS' | grep -oE '\b[0-9]+\b' | sort -un || true)
for status in $code_statuses; do
    grep -qxF "$status" <<<"$manual_statuses" || missing "exit status $status is not in the manual's EXIT STATUS"
done
for status in $manual_statuses; do
    grep -qxF "$status" <<<"$code_statuses" || missing "the manual's EXIT STATUS names $status, which no code ends with"
done

# Logging categories.
categories=$(grep -rhoE 'Q_LOGGING_CATEGORY\([A-Za-z_]+, *"[^"]+"' src | grep -oE '"[^"]+"' | tr -d '"' | sort -u)
[ -n "$categories" ] || missing "no logging category found in src/"
for category in $categories; do
    grep -qwF -- "$category" README.md || missing "logging category $category is not in README.md"
done

# Paths into the repository (a word of their own, not the tail of a build folder's path).
paths=$(grep -ohE '(^|[^A-Za-z0-9_./-])(src|tests|scripts|data|docs|bench|cmake|skins|\.ci)/[A-Za-z0-9_./-]*' \
    "${DOCUMENTS[@]}" | grep -oE '(src|tests|scripts|data|docs|bench|cmake|skins|\.ci)/.*' | sed 's/\.*$//' |
    sort -u)
for path in $paths; do
    [ -e "$path" ] || missing "$path, named in $(grep -lF -- "$path" "${DOCUMENTS[@]}" | paste -sd,), does not exist"
done

[ "$failures" = 0 ] || exit 1
echo "the documents match the code: $(wc -w <<<"$help_options") options, statuses" \
    "$(paste -sd' ' <<<"$code_statuses"), $(wc -w <<<"$categories") logging categories, $(wc -w <<<"$paths") paths"
