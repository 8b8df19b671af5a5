#!/usr/bin/env bash
# Renders the bitmap icons from telvara.svg (needs rsvg-convert, package
# librsvg2-bin). Run after changing the drawing; the PNGs are kept in git so
# that a build needs no SVG renderer.
set -euo pipefail
cd "$(dirname "$0")"
for size in 48 256; do
    mkdir -p "icons/${size}x${size}"
    rsvg-convert -w "$size" -h "$size" telvara.svg -o "icons/${size}x${size}/telvara.png"
done
