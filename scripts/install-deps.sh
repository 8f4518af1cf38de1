#!/usr/bin/env bash
# Installs what building, running and testing Umbralux needs on Debian 12 (as root, or through sudo).
# Does nothing when everything is there already.
set -euo pipefail

PACKAGES=(
    # build
    cmake ninja-build g++ qt6-base-dev qt6-base-dev-tools libgl-dev libx11-dev libxss-dev libxfixes-dev
    # the program's runtime on X11
    libqt6widgets6 libqt6dbus6 qt6-qpa-plugins xdg-utils fonts-liberation
    # tests: X server, window manager, input and screenshots, D-Bus
    xvfb xauth x11-utils xdotool openbox wmctrl imagemagick dbus-daemon
    # static analysis
    clang-tidy
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
