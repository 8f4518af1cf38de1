#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Renders the application icon's PNG sizes from data/icons/umbralux.svg (needs rsvg-convert from
# librsvg2-bin). The PNGs are kept in the repository, so building needs no renderer; run this after
# changing the SVG.
set -euo pipefail
cd "$(dirname "$0")/../data/icons"
for size in 16 22 24 32 48 64 128 256; do
    mkdir -p "hicolor/${size}x${size}/apps"
    rsvg-convert -w "$size" -h "$size" umbralux.svg -o "hicolor/${size}x${size}/apps/umbralux.png"
done
