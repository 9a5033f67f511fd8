#!/usr/bin/env bash
# Renders the hicolor PNG icons from resources/kibiki.svg (run after editing the drawing; the
# PNGs are committed so a build needs no SVG renderer). Needs rsvg-convert (librsvg2-bin).
set -euo pipefail
cd "$(dirname "$0")/../resources"
for size in 16 22 24 32 48 64 128 256; do
  mkdir -p "icons/${size}x${size}"
  rsvg-convert -w "$size" -h "$size" kibiki.svg -o "icons/${size}x${size}/kibiki.png"
done
