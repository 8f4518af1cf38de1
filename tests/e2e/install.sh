#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installation as a desktop application: `cmake --install` puts exactly the expected files under a prefix,
# the launcher and the metadata pass their validators, the Debian package passes lintian without errors, and
# the program unpacked from the package opens its options window.
. "$(dirname "$0")/lib.sh"

EXPECTED_FILES="bin/umbralux
lib/umbralux/libumbralux-gui.so
share/applications/io.github.quenbrook.Umbralux.desktop
share/dbus-1/services/io.github.quenbrook.Umbralux.service
share/doc/umbralux/changelog.gz
share/doc/umbralux/copyright
share/icons/hicolor/128x128/apps/umbralux.png
share/icons/hicolor/16x16/apps/umbralux.png
share/icons/hicolor/22x22/apps/umbralux.png
share/icons/hicolor/24x24/apps/umbralux.png
share/icons/hicolor/256x256/apps/umbralux.png
share/icons/hicolor/32x32/apps/umbralux.png
share/icons/hicolor/48x48/apps/umbralux.png
share/icons/hicolor/64x64/apps/umbralux.png
share/icons/hicolor/scalable/apps/umbralux.svg
share/man/man1/umbralux.1.gz
share/metainfo/io.github.quenbrook.Umbralux.metainfo.xml"

PREFIX=$WORK/prefix
cmake --install "$BUILD_DIR" --prefix "$PREFIX" >"$WORK/install.log" || fail "install failed: $(cat "$WORK/install.log")"
installed=$(cd "$PREFIX" && find . \( -type f -o -type l \) -printf '%P\n' | LC_ALL=C sort)
[ "$installed" = "$(LC_ALL=C sort <<<"$EXPECTED_FILES")" ] ||
    fail "installed files differ: $(diff <(LC_ALL=C sort <<<"$EXPECTED_FILES") <(echo "$installed"))"
[ -x "$PREFIX/bin/umbralux" ] || fail "the program is not executable"

desktop-file-validate "$PREFIX"/share/applications/*.desktop || fail "desktop-file-validate"
appstreamcli validate --no-net "$PREFIX"/share/metainfo/*.xml || fail "appstreamcli validate"
[ "$(zcat "$PREFIX/share/man/man1/umbralux.1.gz" | head -c 4)" = '.\" ' ] || fail "manual page not gzipped roff"

cpack --config "$BUILD_DIR/CPackConfig.cmake" -G DEB -B "$WORK/package" >"$WORK/cpack.log" 2>&1 ||
    fail "cpack: $(cat "$WORK/cpack.log")"
DEB=$(ls "$WORK"/package/umbralux_*.deb) || fail "no package built"
lintian --fail-on error "$DEB" || fail "lintian reports errors"
dpkg-deb -f "$DEB" Depends | grep -q "libqt6widgets6" || fail "dependencies were not computed"

dpkg-deb -x "$DEB" "$WORK/unpacked"
UMBRALUX=$WORK/unpacked/usr/bin/umbralux
start_x
start_app
[ "$(window_size "$OPTIONS_WINDOW")" = "536x287" ] || fail "options window is $(window_size "$OPTIONS_WINDOW")"
# The launcher's StartupWMClass names the window's class, so that docks group the window under the launcher.
wm_class=$(sed -n 's/^StartupWMClass=//p' "$PREFIX"/share/applications/*.desktop)
xprop -id "$OPTIONS_WINDOW" WM_CLASS | grep -q "\"$wm_class\"\$" || fail "window class is not $wm_class"
note "passed"
