#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The layer guard of cmake/Layers.cmake on a project of two layers, low/ and high/ above it: one build with
# the project's own compiler and generator, then one more build for each row, with one include added to one
# file. An include of the higher layer from the lower one is refused however its path is written; the other
# way it builds. Each row: file | the include's line | "builds", or a line the refusal holds (fixed string).
set -euo pipefail
: "${LAYERS_CMAKE:?path of cmake/Layers.cmake}" "${CMAKE:=cmake}"

CASES='low/low.cpp|#include "high/high.h"|may not include high/high.h: fake_low does not depend on fake_high
low/low.cpp|#include <high/high.h>|low/ may not include high/high.h
low/low.cpp|#include "high/detail/deep.h"|low/ may not include high/detail/deep.h
low/low.cpp|#include "../high/high.h"|low/low.cpp:3: #include "../high/high.h": a path that climbs out
low/low.cpp|#include "low/../high/high.h"|low/low.cpp:3: #include "low/../high/high.h": a path that climbs out
low/low.h|#include "../high/high.h"|low/low.h:3: #include "../high/high.h": a path that climbs out
high/high.cpp|#include "low/low.h"|builds'

WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
mkdir -p "$WORK/src/low" "$WORK/src/high/detail"
cat >"$WORK/CMakeLists.txt" <<EOF
cmake_minimum_required(VERSION 3.21)
project(LayerGuard LANGUAGES CXX)
include($LAYERS_CMAKE)
umbralux_layer(fake_low low SOURCES src/low/low.cpp)
umbralux_layer(fake_high high SOURCES src/high/high.cpp DEPENDS fake_low)
target_include_directories(fake_low PUBLIC src)
umbralux_check_layers(\${CMAKE_CURRENT_SOURCE_DIR}/src)
EOF
# Every file holds two lines of its own, then the line for a row's include, empty until then.
clean() {
    printf '%s\n%s\n\n' '#pragma once' 'int low();' >"$WORK/src/low/low.h"
    printf '%s\n%s\n\n' '#pragma once' 'int high();' >"$WORK/src/high/high.h"
    printf '%s\n%s\n\n' '#pragma once' 'int deep();' >"$WORK/src/high/detail/deep.h"
    printf '%s\n%s\n\n' '#include "low.h"' 'int low() { return 1; }' >"$WORK/src/low/low.cpp"
    printf '%s\n%s\n\n' '#include "high.h"' 'int high() { return 2; }' >"$WORK/src/high/high.cpp"
}
clean
"$CMAKE" -S "$WORK" -B "$WORK/build" ${GENERATOR:+-G "$GENERATOR"} ${CXX:+-DCMAKE_CXX_COMPILER="$CXX"} \
    ${MAKE_PROGRAM:+-DCMAKE_MAKE_PROGRAM="$MAKE_PROGRAM"} \
    >"$WORK/configure.log" 2>&1 || { cat "$WORK/configure.log" >&2; exit 1; }
"$CMAKE" --build "$WORK/build" >"$WORK/build.log" 2>&1 || { echo "FAIL: the clean project does not build:" \
    "$(cat "$WORK/build.log")" >&2; exit 1; }

failures=0
while IFS='|' read -r file include expected; do
    sed -i "3s|.*|$include|" "$WORK/src/$file"
    status=0
    "$CMAKE" --build "$WORK/build" >"$WORK/build.log" 2>&1 || status=$?
    if [ "$expected" = builds ]; then
        [ $status = 0 ] || { echo "FAIL: $file with '$include' is refused: $(cat "$WORK/build.log")" >&2
            failures=$((failures + 1)); }
    elif [ $status = 0 ] || ! tr -s ' \n' ' ' <"$WORK/build.log" | grep -Fq -- "$expected"; then
        echo "FAIL: $file with '$include' ended with $status, expected a refusal holding '$expected':" \
            "$(cat "$WORK/build.log")" >&2
        failures=$((failures + 1))
    fi
    clean
done <<<"$CASES"
[ $failures = 0 ] && echo "every include across the layers was refused, the permitted one built"
exit $failures
