#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The Windows program under Wine on a real X server, as a Windows user gets it: the installer installs it
# silently; the options window opens at its design size; "Show Screen" covers the screen in the stored colour
# with the pointer hidden; each exit method dismisses it; a close request brings the options window back,
# another one ends the program; the registry holds the settings; the keep-awake key press never dismisses
# its own blank screen; a skin beside the program file is applied; one instance runs per session (a later
# `--show` or plain start hands its request over and ends, and no start dismisses the blank screen); the
# "Umbralux — Show Screen" shortcut runs `--show` from Ctrl+Alt+F11; a later start's `--status` and `--show`
# with options are answered by the running instance; the uninstaller leaves nothing behind.
#
#   tests/e2e/wine.sh INSTALLER.exe [bare|openbox]
#
# Run by scripts/test-windows.sh after it has built the installer. ARTIFACTS (default: beside the installer)
# receives a screenshot when a check fails.
[ $# -ge 1 ] || { sed -n '12p' "$0" | sed 's/^# \{0,1\}//' >&2; exit 2; }
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
# How long a later start may take to hand its request over and end: Wine's own start takes most of it.
LATER_START_LIMIT=30
# How long the test watches for a window that must not come.
NO_WINDOW_WATCH=2
# A later start, which must hand its request to the running program and end with status 0.
later() {
    QT_QPA_PLATFORM=windows timeout "$LATER_START_LIMIT" "$HERE/../../scripts/wine-run.sh" --own-dlls \
        --wineprefix "$PREFIX" "$PROGRAM_DIR\\umbralux.exe" "$@" >>"$WORK/later.log" 2>&1 ||
        fail "a later start ($*) ended with $?: $(cat "$WORK/later.log")"
}
# How many of the program's processes run in the test's prefix (other tests may run it in theirs).
instances() {
    local pid count=0
    for pid in $(pgrep -f 'umbralux\.exe'); do
        grep -qzx "WINEPREFIX=$PREFIX" "/proc/$pid/environ" 2>/dev/null && count=$((count + 1))
    done
    echo $count
}
# How many blank screens are up.
curtains() {
    local id count=0
    for id in $(xdotool search --onlyvisible --class umbralux 2>/dev/null); do
        [ "$("$XPROBE" title "$id" 2>/dev/null)" = Form1 ] && count=$((count + 1))
    done
    echo $count
}
# A shell link's target, arguments and hotkey, one a line (the header's hotkey at 0x40, the target's local
# path in the LinkInfo, the arguments in the StringData).
shell_link() {
    python3 - "$1" <<'PYTHON'
import struct, sys
data = open(sys.argv[1], "rb").read()
flags, = struct.unpack_from("<I", data, 0x14)
hotkey, = struct.unpack_from("<H", data, 0x40)
at, target = 0x4C, ""
if flags & 0x1:  # the target's ID list
    at += 2 + struct.unpack_from("<H", data, at)[0]
if flags & 0x2:  # the LinkInfo
    size, header, _, _, base = struct.unpack_from("<5I", data, at)
    if header >= 0x24:
        start = at + struct.unpack_from("<I", data, at + 28)[0]
        target = data[start:].decode("utf-16-le").split("\0")[0]
    else:
        target = data[at + base:].split(b"\0")[0].decode("cp1252")
    at += size
strings = {}
for bit in (0x4, 0x8, 0x10, 0x20, 0x40):  # name, relative path, folder, arguments, icon
    if flags & bit:
        count, = struct.unpack_from("<H", data, at)
        width = 2 if flags & 0x80 else 1
        text = data[at + 2:at + 2 + count * width].decode("utf-16-le" if width == 2 else "cp1252")
        strings[bit] = text.rstrip("\0")  # Wine counts the terminating null as well
        at += 2 + count * width
key, modifiers = hotkey & 0xFF, hotkey >> 8
names = [name for bit, name in ((2, "Ctrl"), (4, "Alt"), (1, "Shift")) if modifiers & bit]
names.append("F%d" % (key - 0x6F) if 0x70 <= key <= 0x87 else chr(key))
print(target, strings.get(0x20, ""), "+".join(names), sep="\n")
PYTHON
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
SHOW_LINK=$(find "$PREFIX/drive_c" -path '*Start Menu/Programs/Umbralux/Umbralux — Show Screen.lnk')
[ -n "$SHOW_LINK" ] || fail "no \"Umbralux — Show Screen\" shortcut: $(find "$PREFIX/drive_c" -name '*.lnk')"
expected_link=$(printf '%s\n' "$PROGRAM_DIR\\umbralux.exe" --show Ctrl+Alt+F11)
[ "$(shell_link "$SHOW_LINK")" = "$expected_link" ] ||
    fail "the Show Screen shortcut is: $(shell_link "$SHOW_LINK" | tr '\n' '|')"
note "installed silently, with its Start-menu shortcuts (Show Screen: --show from Ctrl+Alt+F11)"

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

# One instance per session: a second `--show` and a plain start hand their requests to the running program
# and end; neither changes the blank screen, which ESC dismisses, and that ends a session of `--show` alone.
store_method 2
launch --show
wait_curtain
later --show
[ "$(instances)" = 1 ] || fail "a second --show left $(instances) processes"
[ "$(curtains)" = 1 ] || fail "a second --show left $(curtains) blank screens"
later
[ "$(instances)" = 1 ] || fail "a plain start while covered left $(instances) processes"
window_viewable "$CURTAIN" || fail "a plain start dismissed the blank screen"
! find_window "Umbralux Software" "$NO_WINDOW_WATCH" >/dev/null ||
    fail "a plain start opened the options window over the blank screen"
wait_for 5 pointer_is hidden || fail "the pointer is visible over the blank screen of --show"
send key:Escape
expect_exit 0
pointer_is visible || fail "the pointer is hidden after the end"
note "one instance: a second --show and a plain start change nothing; ESC ends a session of --show"

# A later start's whole command line goes to the running instance, which answers what the start prints and
# the status it ends with.
ask() { # ask ARGUMENTS...: a later start; its standard output in $ASKED, its status in $ASKED_STATUS
    ASKED_STATUS=0
    QT_QPA_PLATFORM=windows timeout "$LATER_START_LIMIT" "$HERE/../../scripts/wine-run.sh" --own-dlls \
        --wineprefix "$PREFIX" "$PROGRAM_DIR\\umbralux.exe" "$@" >"$WORK/asked.out" 2>"$WORK/asked.err" ||
        ASKED_STATUS=$?
    ASKED=$(tr -d '\r' <"$WORK/asked.out")
}
ask --list-monitors
[ "$ASKED_STATUS" = 0 ] && grep -Eq ' [0-9]+x[0-9]+\+-?[0-9]+\+-?[0-9]+ ' <<<"$ASKED" ||
    fail "--list-monitors ended with $ASKED_STATUS: $ASKED $(cat "$WORK/asked.err")"
ask --status
[ "$ASKED_STATUS" = 1 ] && grep -q 'Umbralux is not running' "$WORK/asked.err" ||
    fail "--status without an instance ended with $ASKED_STATUS: $ASKED $(cat "$WORK/asked.err")"
# Wine takes longer than the half second a start waits to cover the screen for an instance whose options
# window is open (it closes that window first), so this start waits longer.
start_app
UMBRALUX_HANDOVER_DEADLINE_MS=8000 ask --show --keep-awake-for 5s
[ "$ASKED_STATUS" = 0 ] || fail "--show --keep-awake-for 5s ended with $ASKED_STATUS: $(cat "$WORK/asked.err")"
wait_curtain
ask --status
[ "$ASKED_STATUS" = 0 ] || fail "--status ended with $ASKED_STATUS: $(cat "$WORK/asked.err")"
jq -e '.covered == true and .keepAwake.for == "5s"' <<<"$ASKED" >/dev/null ||
    fail "--status of the covering instance printed: $ASKED"
[ "$(instances)" = 1 ] || fail "the handed-over command lines left $(instances) processes"
[ "$(curtains)" = 1 ] || fail "the handed-over command lines left $(curtains) blank screens"
send key:Escape
wait_curtain_gone
wait_options
stop_app
note "command lines: --list-monitors lists, --status answers (1 without an instance), --show's options reach the instance"

# Wine cannot show a monitor's power, nor does it carry the power command out: --monitors-off is seen to
# cover the screen and to leave it to the chosen input all the same.
launch --show --monitors-off
wait_curtain
wait_for 15 screen_is "1 FF0000" || fail "the blank screen of --monitors-off shows $(shot_colours)"
send key:Escape
expect_exit 0
pointer_is visible || fail "the pointer is hidden after --monitors-off"
note "--show --monitors-off covers, and ESC dismisses it"

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
! find "$PREFIX/drive_c" -name 'Umbralux — Show Screen.lnk' | grep -q . || fail "the Show Screen shortcut stayed"
files_now >"$WORK/files-after"
diff "$WORK/files-before" "$WORK/files-after" >&2 || fail "the uninstaller left files behind"
for key in "$UNINSTALL_KEY" "$KEY" 'HKLM\Software\The Umbralux developers'; do
    ! key_exists "$key" || fail "the uninstaller left $key"
done
note "uninstalled silently, nothing left behind"
note "passed"
