#!/usr/bin/env bash
# Renders packaging/icons/tavrino.svg into the PNG sizes of the hicolor icon theme, which are
# committed beside it so that a build needs no SVG renderer. Run it after changing the SVG;
# it needs ImageMagick (`convert`).
#
#   scripts/make-icons.sh
set -euo pipefail
cd "$(dirname "$0")/../packaging/icons"
for size in 16 22 24 32 48 64 128 256 512; do
  mkdir -p "hicolor/${size}x${size}/apps"
  # The SVG is drawn on a 48-unit grid: a density of 96 dpi gives 48 pixels, so render at the
  # density that gives the size directly rather than scaling pixels.
  density=$((96 * size / 48))
  convert -background none -density "$density" tavrino.svg -depth 8 -strip \
    -resize "${size}x${size}" "PNG32:hicolor/${size}x${size}/apps/tavrino.png"
  echo "hicolor/${size}x${size}/apps/tavrino.png"
done
