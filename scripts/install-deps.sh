#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs what building, running and testing Umbralux needs on Debian 12 (as root, or through sudo).
# Does nothing when everything is there already.
set -euo pipefail

PACKAGES=(
    # build
    cmake ninja-build g++ qt6-base-dev qt6-base-dev-tools libgl-dev libx11-dev libxss-dev libxfixes-dev libxcb1-dev
    # build: the Wayland compositor's idle inhibitor through Qt's Wayland client
    qt6-wayland-dev qt6-wayland-dev-tools qt6-base-private-dev wayland-protocols libwayland-dev pkg-config
    # the program's runtime on X11
    libqt6widgets6 libqt6dbus6 qt6-qpa-plugins xdg-utils fonts-liberation
    # ... and on Wayland
    qt6-wayland
    # tests: X server, window manager, input and screenshots, D-Bus
    xvfb xauth x11-utils x11-xserver-utils xdotool openbox wmctrl imagemagick dbus-daemon
    # tests: a real xscreensaver, and a Wayland compositor nested in Xvfb with its screenshot and query tools
    xscreensaver sway grim jq
    # static analysis
    clang-tidy
    # the benchmark's driver (bench/): shared-memory screen reads and synthetic input
    libxext-dev libxtst-dev
    # tests: installation, the Debian package and its validators
    desktop-file-utils appstream lintian dpkg-dev man-db
    # tests: the accessibility stack (AT-SPI registry on a private bus, read from Python)
    at-spi2-core python3-pyatspi dbus-bin
)

missing=()
for package in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

SUDO=()
[ "$(id -u)" -eq 0 ] || SUDO=(sudo)
echo "Installing: ${missing[*]}"
"${SUDO[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${SUDO[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
