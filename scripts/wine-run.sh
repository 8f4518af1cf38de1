#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Runs a Windows program under Wine as if it were a native one: CMake's CMAKE_CROSSCOMPILING_EMULATOR
# for the `windows` preset, so that plain `ctest` runs the cross-built unit tests.
#
#   scripts/wine-run.sh [--qt-bin DIR | --own-dlls] [--wineprefix DIR] PROGRAM.exe [ARGUMENTS...]
#
# --qt-bin (default: $UMBRALUX_QT_WINDOWS/bin) is where Qt's DLLs are; --own-dlls runs an installed program
# with only the DLLs beside it and Windows' own; --wineprefix (default: $UMBRALUX_CACHE/wineprefix) is
# created on first use. The exit status is the program's.
set -euo pipefail

qt_bin=${UMBRALUX_QT_WINDOWS:+$UMBRALUX_QT_WINDOWS/bin}
prefix=${UMBRALUX_CACHE:-/var/cache/umbralux}/wineprefix
own_dlls=0
while [ $# -gt 0 ]; do
    case "$1" in
        --qt-bin) qt_bin=$2; shift 2 ;;
        --wineprefix) prefix=$2; shift 2 ;;
        --own-dlls) own_dlls=1; shift ;;
        --) shift; break ;;
        *) break ;;
    esac
done
[ $# -gt 0 ] || { sed -n '3,10p' "$0" | sed 's/^# \{0,1\}//' >&2; exit 2; }

WINE=$(command -v wine64 || echo /usr/lib/wine/wine64)
[ -x "$WINE" ] || { echo "wine-run: wine64 is not installed (apt-get install wine64)" >&2; exit 127; }
WINESERVER=$(dirname "$(readlink -f "$WINE")")/wineserver

export WINEPREFIX=$prefix WINEDEBUG=${WINEDEBUG:--all} WINEARCH=win64
# No prompts to install Mono or Gecko: the programs need neither.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}

# A fresh prefix on first use; the lock keeps parallel tests from making it twice.
if [ ! -f "$WINEPREFIX/.umbralux-ready" ]; then
    mkdir -p "$(dirname "$WINEPREFIX")"
    (
        flock 9
        if [ ! -f "$WINEPREFIX/.umbralux-ready" ]; then
            DISPLAY='' "$WINE" wineboot --init >/dev/null 2>&1
            # Its desktop, made without a display, would stay the server's desktop and no window could be
            # made on it: the next program starts with a server, and a desktop, of its own.
            "$WINESERVER" -w
            touch "$WINEPREFIX/.umbralux-ready"
        fi
    ) 9>"$WINEPREFIX.lock"
fi

# One wine server that outlives each program by a few seconds: tests started in parallel then join it
# instead of racing to start their own while the last one shuts down (a start that fails silently).
"$WINESERVER" -p10 2>/dev/null || true

# Where Windows looks for DLLs: Qt's, then the MinGW runtime's (libstdc++, libgcc_s, libwinpthread).
windows_path() { printf 'Z:%s' "${1//\//\\}"; }
dirs=()
if [ "$own_dlls" = 0 ]; then
    [ -n "$qt_bin" ] && dirs+=("$qt_bin")
    for dll in libstdc++-6.dll libgcc_s_seh-1.dll; do
        file=$(x86_64-w64-mingw32-g++-posix -print-file-name=$dll 2>/dev/null || true)
        [ -f "$file" ] && dirs+=("$(dirname "$file")")
    done
    dirs+=(/usr/x86_64-w64-mingw32/lib)
fi
path=${WINEPATH:-}
for dir in "${dirs[@]}"; do
    path+=${path:+;}$(windows_path "$dir")
done
export WINEPATH=$path

# Wine hides the Unix QT_* variables from Windows programs; it passes WINEQT_X on as QT_X.
export QT_FORCE_STDERR_LOGGING=1 # else QtTest's output goes to the debugger channel, unseen
for name in $(compgen -e); do
    case "$name" in QT_*) export "WINE$name=${!name}" ;; esac
done

exec "$WINE" "$@"
