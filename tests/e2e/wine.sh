#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The Windows program under Wine on a real X server, as a Windows user gets it: the installer installs it
# silently; the options window opens at its design size; "Show Screen" covers the screen in the stored colour
# with the pointer hidden; each exit method dismisses it; a close request brings the options window back,
# another one ends the program; the registry holds the settings; the keep-awake key press never dismisses
# its own blank screen; a skin beside the program file is applied; the uninstaller leaves nothing behind.
#
#   tests/e2e/wine.sh INSTALLER.exe [bare|openbox]
#
# Run by scripts/test-windows.sh after it has built the installer. ARTIFACTS (default: beside the installer)
# receives a screenshot when a check fails.
[ $# -ge 1 ] || { sed -n '9p' "$0" | sed 's/^# \{0,1\}//' >&2; exit 2; }
INSTALLER=$(readlink -f "$1")
shift
HERE=$(cd "$(dirname "$0")" && pwd)
ARTIFACTS=${ARTIFACTS:-$(dirname "$INSTALLER")/e2e-artifacts}
. "$HERE/lib.sh"

# The X helper of the other end-to-end tests, built for this machine (the build folder holds Windows programs).
XPROBE=$WORK/xprobe
g++ -O1 -o "$XPROBE" "$HERE/xprobe.cpp" -lX11 -lXfixes || fail "xprobe does not build"

PREFIX=$WORK/wineprefix
# Windows programs, with only the DLLs found beside them: the installation has to bring its own.
wine() { "$HERE/../../scripts/wine-run.sh" --own-dlls --wineprefix "$PREFIX" "$@"; }

PROGRAM_DIR='C:\Program Files\Umbralux'
INSTALLED=$PREFIX/drive_c/Program\ Files/Umbralux
KEY='HKCU\Software\VB and VBA Program Settings\Quenbrook\Umbralux Software'
UNINSTALL_KEY='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Umbralux'
# The store is the registry: one string value per key.
store_set() { wine reg add "$KEY" /v "$1" /t REG_SZ /d "$2" /f >/dev/null 2>&1; }
store_get() { wine reg query "$KEY" /v "$1" 2>/dev/null | tr -d '\r' | sed -n "s/^ *$1 *REG_SZ *//p"; }
key_exists() { wine reg query "$1" >/dev/null 2>&1; }

launch() {
    QT_QPA_PLATFORM=windows background "$WORK/app.log" "$HERE/../../scripts/wine-run.sh" --own-dlls \
        --wineprefix "$PREFIX" "$PROGRAM_DIR\\umbralux.exe" "$@"
    APP_PID=$BG_PID
}

start_x

# What the prefix holds before the installation, to compare with after the uninstallation.
wine reg query HKCU >/dev/null 2>&1 || true # the prefix is made by the first Wine program
files_now() { (cd "$PREFIX/drive_c" && find . -path ./windows -prune -o -path '*/Temp' -prune -o -print | sort); }
files_now >"$WORK/files-before"

wine "$INSTALLER" /S || fail "the installer failed"
for file in umbralux.exe Qt6Widgets.dll platforms/qwindows.dll libstdc++-6.dll Uninstall.exe; do
    [ -f "$INSTALLED/$file" ] || fail "not installed: $file"
done
find "$PREFIX/drive_c" -path '*Start Menu/Programs/Umbralux/Umbralux.lnk' | grep -q . || fail "no Start-menu shortcut"
key_exists "$UNINSTALL_KEY" || fail "the uninstaller is not registered"
note "installed silently, with its Start-menu shortcut"

store_set "Background Color" 255 # red, as the colour dialog stores it
store_set Check4 0
start_app
[ "$(window_size "$OPTIONS_WINDOW")" = 536x287 ] || fail "options window is $(window_size "$OPTIONS_WINDOW")"

# Covers the screen in red with the pointer hidden, and is dismissed by the input given.
cover_and_dismiss() {
    show_screen
    wait_curtain
    wait_for 15 screen_is "1 FF0000" || fail "the blank screen shows $(shot_colours)"
    wait_for 5 pointer_is hidden || fail "the pointer is visible over the blank screen"
    send "$1"
    wait_curtain_gone
    wait_options
    wait_for 5 pointer_is visible || fail "the pointer is not back"
}
for method in 1 2 3 4; do
    choose_method $method
    cover_and_dismiss "${EXIT_INPUT[$method]}"
    note "method $method dismisses the blank screen"
done

# A close request (WM_CLOSE) on the blank screen brings the options window back; on that window it ends the
# program, which leaves every setting in the registry.
show_screen
wait_curtain
"$XPROBE" close "$CURTAIN"
wait_curtain_gone
wait_options
"$XPROBE" close "$OPTIONS_WINDOW"
expect_exit 0
pointer_is visible || fail "the pointer is hidden after the end"
for pair in Option1=False Option2=False Option3=False Option4=True Text1=$PASSWORD Check4=0 "Background Color=255"; do
    [ "$(store_get "${pair%%=*}")" = "${pair#*=}" ] || fail "stored ${pair%%=*} is '$(store_get "${pair%%=*}")'"
done
note "close requests: the blank screen gives way, the options window ends the program; the registry holds the settings"

# The example skin beside the program file skins the options window ("Show Screen" in the skin's colour).
cp -r "$HERE/../../skins/example/x" "$INSTALLED/x"
# Keep-awake presses right Shift once a minute over the blank screen; under "any key" it must not count.
store_set Check4 1
store_method 1
start_app
skinned() { screenshot "$SHOT" "$OPTIONS_WINDOW" && [ "$(shot_colours 1x1+30+21)" = "1 2F6F73" ]; }
wait_for 10 skinned || fail "the skin beside the program file is not applied: $(shot_colours 1x1+30+21)"
show_screen
wait_curtain
sleep 62
window_viewable "$CURTAIN" || fail "the keep-awake key press dismissed the blank screen"
note "the keep-awake key press leaves the blank screen up"

stop_app

rm -r "$INSTALLED/x" # the user's own, which an uninstaller leaves alone
wine "$PROGRAM_DIR\\Uninstall.exe" /S || fail "the uninstaller failed"
# It runs on from a copy of itself, so that it can remove its own file.
wait_for 60 test ! -e "$INSTALLED" || fail "the installation folder stayed: $(find "$INSTALLED")"
files_now >"$WORK/files-after"
diff "$WORK/files-before" "$WORK/files-after" >&2 || fail "the uninstaller left files behind"
for key in "$UNINSTALL_KEY" "$KEY" 'HKLM\Software\The Umbralux developers'; do
    ! key_exists "$key" || fail "the uninstaller left $key"
done
note "uninstalled silently, nothing left behind"
note "passed"
