#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Renders the application icon's PNG sizes and the Windows .ico from data/icons/umbralux.svg (needs
# rsvg-convert from librsvg2-bin, and ImageMagick). They are kept in the repository, so building needs no
# renderer; run this after changing the SVG.
set -euo pipefail
cd "$(dirname "$0")/../data/icons"
for size in 16 22 24 32 48 64 128 256; do
    mkdir -p "hicolor/${size}x${size}/apps"
    rsvg-convert -w "$size" -h "$size" umbralux.svg -o "hicolor/${size}x${size}/apps/umbralux.png"
done
# The Windows program file's icon: the same sizes in one .ico (ImageMagick).
convert hicolor/{16x16,24x24,32x32,48x48,64x64,256x256}/apps/umbralux.png umbralux.ico
