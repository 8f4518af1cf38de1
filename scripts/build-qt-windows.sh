#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Cross-builds qtbase for 64-bit Windows (MinGW-w64, POSIX threads) once, into a cache folder that the
# `windows` CMake preset uses (UMBRALUX_QT_WINDOWS). The source is the Debian source package of the host's
# own Qt, so the host's moc/rcc/uic (QT_HOST_PATH=/usr) match the target libraries exactly.
#
#   scripts/build-qt-windows.sh                 build if needed; the last line printed is the prefix
#   scripts/build-qt-windows.sh --print-prefix  print the prefix and exit 0 if it is complete, else exit 1
#   export UMBRALUX_QT_WINDOWS=$(scripts/build-qt-windows.sh --print-prefix)
#
# Environment: UMBRALUX_CACHE (default /var/cache/umbralux) holds the result and, while building, the
# work folder; UMBRALUX_JOBS (default: the number of cores) parallel compile jobs; UMBRALUX_KEEP_WORK=1
# keeps the unpacked source and the build tree afterwards.
set -euo pipefail

CACHE_ROOT=${UMBRALUX_CACHE:-/var/cache/umbralux}
JOBS=${UMBRALUX_JOBS:-$(nproc)}
TRIPLET=x86_64-w64-mingw32
CC_WIN=$TRIPLET-gcc-posix
CXX_WIN=$TRIPLET-g++-posix

print_only=0
case "${1:-}" in
    --print-prefix) print_only=1 ;;
    "") ;;
    -h | --help) sed -n '3,14p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    *) echo "unknown argument: $1 (try --help)" >&2; exit 2 ;;
esac

say() { [ "$print_only" -eq 1 ] || printf '[build-qt-windows %(%H:%M:%S)T] %s\n' -1 "$*" >&2; }
duration() { printf '%dm%02ds' $(($1 / 60)) $(($1 % 60)); }

# --- Tools -------------------------------------------------------------------------------------------
if [ "$print_only" -eq 0 ]; then
    "$(dirname "$0")/install-deps.sh" --windows
elif ! command -v "$CXX_WIN" >/dev/null; then
    echo "not built: $CXX_WIN is missing (run $0)" >&2
    exit 1
fi

# --- What is built, and where --------------------------------------------------------------------------
# The host Qt's source version (e.g. 6.4.2+dfsg-10): the cross build must be the very same Qt.
HOST_QT_DEB=$(dpkg-query -W -f='${source:Version}' qt6-base-dev)
QT_VERSION=${HOST_QT_DEB%%+*}
QT_VERSION=${QT_VERSION%%-*}
COMPILER_VERSION=$("$CXX_WIN" --version | head -n 1)

# Everything that decides the result, except the install prefix (which is named after its hash).
# Only what a Widgets program and its QtTest tests need: Core, Gui, Widgets, Test, the windows and
# offscreen platform plugins and the image-format plugins (the cursor reader uses the ico/cur one).
CONFIGURE=(
    -G Ninja
    -DCMAKE_BUILD_TYPE=Release
    -DCMAKE_SYSTEM_NAME=Windows
    -DCMAKE_SYSTEM_PROCESSOR=x86_64
    -DCMAKE_C_COMPILER=$CC_WIN
    -DCMAKE_CXX_COMPILER=$CXX_WIN
    -DCMAKE_RC_COMPILER=$TRIPLET-windres
    -DCMAKE_FIND_ROOT_PATH=/usr/$TRIPLET
    -DCMAKE_FIND_ROOT_PATH_MODE_PROGRAM=NEVER
    -DCMAKE_FIND_ROOT_PATH_MODE_LIBRARY=ONLY
    -DCMAKE_FIND_ROOT_PATH_MODE_INCLUDE=ONLY
    -DCMAKE_FIND_ROOT_PATH_MODE_PACKAGE=ONLY
    -DQT_HOST_PATH=/usr
    -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake
    -DBUILD_SHARED_LIBS=ON
    -DQT_BUILD_EXAMPLES=OFF
    -DQT_BUILD_TESTS=OFF
    -DQT_BUILD_BENCHMARKS=OFF
    -DFEATURE_pkg_config=OFF # never pick up the host's libraries
    # Debian's source drops src/3rdparty/wintab, which the Windows platform plugin includes for tablets.
    -DFEATURE_tabletevent=OFF
    # The offscreen platform plugin needs FreeType on Windows: the bundled copy.
    -DFEATURE_freetype=ON
    -DFEATURE_system_freetype=OFF
    # No OpenGL at all (FEATURE_opengl=OFF alone leaves dynamic GL on, and the Windows plugin fails).
    -DINPUT_opengl=no
    # Direct2D 1.1 off; the plain direct2d feature stays, or qwindows.dll does not link.
    -DFEATURE_direct2d1_1=OFF
    -DFEATURE_dbus=OFF
    -DFEATURE_sql=OFF
    -DFEATURE_network=OFF
    -DFEATURE_xml=OFF
    -DFEATURE_concurrent=OFF
    -DFEATURE_printsupport=OFF
)
KEY=$(printf '%s\n' "$HOST_QT_DEB" "${CONFIGURE[@]}" "$COMPILER_VERSION" | sha256sum | cut -c1-10)
PREFIX=$CACHE_ROOT/qt-windows-$QT_VERSION-$KEY
STAMP=$PREFIX/.umbralux-complete

if [ -f "$STAMP" ]; then
    say "Qt $QT_VERSION for Windows is in the cache (built $(sed -n 's/^built=//p' "$STAMP"))"
    echo "$PREFIX"
    exit 0
fi
if [ "$print_only" -eq 1 ]; then
    echo "not built: $PREFIX (run $0)" >&2
    exit 1
fi

WORK=$CACHE_ROOT/work/qt-windows-$QT_VERSION-$KEY
say "Qt $QT_VERSION for Windows is not in the cache: building it into $PREFIX"
say "this takes long: about 1,000 compile steps, 30-60 minutes on 2 idle cores (run niced, $JOBS jobs)"
mkdir -p "$WORK"
started=$SECONDS

# --- Source -------------------------------------------------------------------------------------------
# A private apt configuration with deb-src lines made from the machine's own deb lines, so that the
# machine's sources and package lists stay as they are.
stage=$SECONDS
APT_DIR=$WORK/apt
mkdir -p "$APT_DIR/lists/partial" "$APT_DIR/cache/archives/partial"
deb_src_lines() {
    local file
    # deb822 files: stanzas of Types/URIs/Suites/Components/Signed-By.
    for file in /etc/apt/sources.list.d/*.sources; do
        [ -f "$file" ] || continue
        awk '
            function flush() {
                if (types ~ /(^| )deb( |$)/ && uris != "" && suites != "" && enabled != "no") {
                    nu = split(uris, u, " "); ns = split(suites, s, " ")
                    for (i = 1; i <= nu; i++) for (j = 1; j <= ns; j++)
                        printf "deb-src %s%s %s %s\n", (key != "" ? "[signed-by=" key "] " : ""), u[i], s[j], comps
                }
                types = uris = suites = comps = key = enabled = ""
            }
            /^[ \t]*#/ { next }
            /^[ \t]*$/ { flush(); next }
            {
                field = tolower($1); sub(/:$/, "", field); $1 = ""; sub(/^[ \t]+/, "")
                if (field == "types") types = $0
                else if (field == "uris") uris = $0
                else if (field == "suites") suites = $0
                else if (field == "components") comps = $0
                else if (field == "signed-by") key = $0
                else if (field == "enabled") enabled = tolower($0)
            }
            END { flush() }' "$file"
    done
    # One-line files: each "deb" line becomes a "deb-src" line.
    for file in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
        [ -f "$file" ] || continue
        sed -n 's/^[ \t]*deb[ \t]\+/deb-src /p' "$file"
    done
}
# Only the archives that carry the host's Qt: another repository of the machine's (a vendor's, often out of
# reach from a build machine) would only make the update fail.
qt_archives=$(apt-cache madison qt6-base-dev | awk -F'|' '{ split($3, f, " "); print f[1] }' | sort -u)
deb_src_lines | sort -u | grep -F "${qt_archives:-deb-src}" >"$APT_DIR/sources.list" || true
if [ ! -s "$APT_DIR/sources.list" ]; then
    echo "no deb line in the machine's apt sources names the archive of qt6-base-dev (${qt_archives:-none})" >&2
    exit 1
fi
APT=(apt-get -q -o Acquire::Retries=3 -o "Dir::Etc::sourcelist=$APT_DIR/sources.list" -o Dir::Etc::sourceparts=-
     -o "Dir::State::Lists=$APT_DIR/lists" -o "Dir::Cache=$APT_DIR/cache")
SRC_DIR=$(find "$WORK" -mindepth 1 -maxdepth 1 -type d -name 'qt6-base-*' | head -n 1)
if [ -z "$SRC_DIR" ] || [ ! -f "$SRC_DIR/.unpacked" ]; then
    rm -rf "$WORK"/qt6-base-* "$WORK"/qt6-base_*
    say "fetching the source of qt6-base $HOST_QT_DEB"
    "${APT[@]}" update >"$WORK/apt.log" 2>&1 || { cat "$WORK/apt.log" >&2; exit 1; }
    # The host's exact revision; if the archive has moved on, any revision of the same upstream version.
    if ! (cd "$WORK" && "${APT[@]}" source "qt6-base=$HOST_QT_DEB") >>"$WORK/apt.log" 2>&1; then
        say "qt6-base $HOST_QT_DEB is not in the archive any more: taking its current revision"
        (cd "$WORK" && "${APT[@]}" source qt6-base) >>"$WORK/apt.log" 2>&1 || { cat "$WORK/apt.log" >&2; exit 1; }
    fi
    SRC_DIR=$(find "$WORK" -mindepth 1 -maxdepth 1 -type d -name "qt6-base-$QT_VERSION*" | head -n 1)
    if [ -z "$SRC_DIR" ]; then
        echo "the archive's qt6-base is not Qt $QT_VERSION, the host's: see $WORK/apt.log" >&2
        exit 1
    fi
    touch "$SRC_DIR/.unpacked"
fi
say "source ready in $SRC_DIR ($(duration $((SECONDS - stage))))"

# --- Configure, build, install ------------------------------------------------------------------------
BUILD_DIR=$WORK/build
rm -rf "$BUILD_DIR" "$PREFIX"
mkdir -p "$BUILD_DIR"
stage=$SECONDS
say "configuring"
nice -n 19 cmake -S "$SRC_DIR" -B "$BUILD_DIR" "${CONFIGURE[@]}" -DCMAKE_INSTALL_PREFIX="$PREFIX" \
    >"$WORK/configure.log" 2>&1 || { tail -n 60 "$WORK/configure.log" >&2; exit 1; }
sed -n '/^-- Configure summary:/,/^-- Configuring done/p' "$WORK/configure.log" >"$WORK/configure-summary.txt"
say "configured ($(duration $((SECONDS - stage)))); summary in $WORK/configure-summary.txt"

stage=$SECONDS
say "building (log: $WORK/build.log)"
NINJA_STATUS='[%f/%t %es] ' nice -n 19 cmake --build "$BUILD_DIR" --parallel "$JOBS" >"$WORK/build.log" 2>&1 &
builder=$!
# A progress line every five minutes, not all thousand of them.
while kill -0 "$builder" 2>/dev/null; do
    for _ in $(seq 60); do kill -0 "$builder" 2>/dev/null && sleep 5; done
    progress=$(grep -o '^\[[0-9]*/[0-9]*' "$WORK/build.log" | tail -n 1 | tr -d '[' || true)
    kill -0 "$builder" 2>/dev/null && say "building: step ${progress:-0/?} after $(duration $((SECONDS - stage)))"
done
wait "$builder" || { grep -B2 -A20 -m3 'FAILED:' "$WORK/build.log" >&2 || tail -n 60 "$WORK/build.log" >&2; exit 1; }
say "built ($(duration $((SECONDS - stage))))"

stage=$SECONDS
cmake --install "$BUILD_DIR" >"$WORK/install.log" 2>&1 || { tail -n 30 "$WORK/install.log" >&2; exit 1; }
cp "$WORK/configure-summary.txt" "$PREFIX/umbralux-configure-summary.txt"
{
    echo "built=$(date -u +%Y-%m-%dT%H:%M:%SZ)"
    echo "seconds=$((SECONDS - started))"
    echo "source=qt6-base $HOST_QT_DEB"
    echo "compiler=$COMPILER_VERSION"
    printf 'configure=%s\n' "${CONFIGURE[*]}"
} >"$STAMP"
say "installed, $(du -sh "$PREFIX" | cut -f1) ($(duration $((SECONDS - stage)))); all in $(duration $((SECONDS - started)))"

if [ "${UMBRALUX_KEEP_WORK:-0}" != 1 ]; then
    rm -rf "$WORK"
    rmdir "$CACHE_ROOT/work" 2>/dev/null || true
fi
echo "$PREFIX"
