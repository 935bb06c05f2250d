#!/usr/bin/env bash
# The pictures of scripts/screenshots.sh at two screen scales, 100 % and 150 %:
#   build/screenshots/dpi96/   main, about, message, result and exit .png at 96 DPI
#   build/screenshots/dpi144/  the same at 144 DPI, on a desktop big enough for
#                              the exit screen (1112 pixels wide there)
# and each main window alone, cropped to its frame: build/screenshots/dpiNN/main-window.png.
# Takes the same settings as screenshots.sh (ANNUVIA_BUILD_DIR among them).
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
command -v convert >/dev/null || { echo "dpi-screenshots: convert (ImageMagick) is missing" >&2; exit 1; }

for scale in 96:1024x768 144:1280x800; do
  dpi="${scale%%:*}"
  out="$root/build/screenshots/dpi$dpi"
  ANNUVIA_SHOTS_DPI="$dpi" ANNUVIA_SHOTS_DESKTOP="${scale#*:}" ANNUVIA_SHOTS_DIR="$out" \
    bash "$root/scripts/screenshots.sh"
  # The desktop around the main window is one colour: trimming it leaves the window.
  convert "$out/main.png" -trim +repage "PNG8:$out/main-window.png"
  echo "$out/main-window.png"
done
