#!/usr/bin/env bash
# Renders assets/fotonar.svg to the PNG that the window shows as its icon (Qt's own modules
# read no SVG). Needs rsvg-convert (librsvg2-bin). Run from anywhere.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
rsvg-convert -w 256 -h 256 "$top/assets/fotonar.svg" -o "$top/assets/fotonar-256.png"
echo "wrote assets/fotonar-256.png"
