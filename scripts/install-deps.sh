#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs what Umbralux needs on Debian 12 (as root, or through sudo). Does nothing when everything is there
# already.
#   --run      what building and running the program needs (scripts/run.sh)
#   --test     that, and what the test suite, the benchmark and the Debian package need (scripts/test.sh)
#   --windows  what the Windows cross build, its tests under Wine and its installer need
#              (scripts/build-qt-windows.sh, scripts/test-windows.sh)
# Without an option it installs what --test does. apt waits for a lock that another apt holds (a fresh
# machine often updates itself at boot) rather than failing at once.
set -euo pipefail

RUN_PACKAGES=(
    # build
    cmake ninja-build g++ qt6-base-dev qt6-base-dev-tools libgl-dev libx11-dev libxss-dev libxfixes-dev libxcb1-dev
    libfontconfig-dev libxcb-dpms0-dev
    # build: the translations (lupdate and lrelease, and their CMake functions)
    qt6-l10n-tools qt6-tools-dev
    # build: the Wayland compositor's idle inhibitor through Qt's Wayland client
    qt6-wayland-dev qt6-wayland-dev-tools qt6-base-private-dev wayland-protocols libwayland-dev pkg-config
    plasma-wayland-protocols
    # the program's runtime on X11
    libqt6widgets6 libqt6dbus6 qt6-qpa-plugins xdg-utils fonts-liberation
    # ... with Qt's own texts (standard buttons, the usage lines) in the user's language
    qt6-translations-l10n
    # ... and on Wayland
    qt6-wayland
    # a virtual X server, for scripts/run.sh on a machine without a display
    xvfb xauth
)
TEST_PACKAGES=(
    # tests: X tools, window manager, input and screenshots, D-Bus
    x11-utils x11-xserver-utils xdotool openbox wmctrl imagemagick dbus-daemon
    # tests: reading the primary selection and the clipboard
    xsel
    # tests: a real xscreensaver, and a Wayland compositor nested in Xvfb with its screenshot and query tools
    xscreensaver sway grim jq
    # static analysis
    clang-tidy
    # tests: the settings store's libFuzzer target (tests/fuzz/)
    clang-14 libclang-rt-14-dev
    # the benchmark's driver (bench/): shared-memory screen reads and synthetic input
    libxext-dev libxtst-dev
    # the benchmark: screen lockers to compare the shortcut with, on X11 and under sway
    i3lock swaylock
    # tests: installation, the Debian package and its validators
    desktop-file-utils appstream lintian dpkg-dev man-db
    # tests: the accessibility stack (AT-SPI registry on a private bus, read from Python)
    at-spi2-core python3-pyatspi dbus-bin
)

WINDOWS_PACKAGES=(
    # the cross compiler (POSIX threads, which Qt needs) and the build tools
    g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev
    cmake ninja-build
    # the host's Qt tools (moc, rcc, uic, lupdate, lrelease) and, for its source package, dpkg-source
    qt6-base-dev qt6-base-dev-tools qt6-l10n-tools qt6-tools-dev dpkg-dev
    # the emulator that runs the Windows tests (scripts/wine-run.sh), and the installer CPack builds
    wine64 nsis
)

case "${1:---test}" in
--run) PACKAGES=("${RUN_PACKAGES[@]}") ;;
--test) PACKAGES=("${RUN_PACKAGES[@]}" "${TEST_PACKAGES[@]}") ;;
--windows) PACKAGES=("${WINDOWS_PACKAGES[@]}") ;;
*)
    echo "usage: $0 [--run | --test | --windows]" >&2
    exit 2
    ;;
esac

missing=()
for package in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

SUDO=()
[ "$(id -u)" -eq 0 ] || SUDO=(sudo)
echo "Installing ${#missing[@]} Debian package(s) with apt-get (a few minutes on a fresh machine, mostly" \
    "the download): ${missing[*]}"
# How long apt waits for another apt's lock, and how often it asks again for a file that did not come.
APT=("${SUDO[@]}" apt-get -o DPkg::Lock::Timeout=600 -o Acquire::Retries=3)
"${APT[@]}" update -qq
DEBIAN_FRONTEND=noninteractive "${APT[@]}" install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
echo "Installed."
