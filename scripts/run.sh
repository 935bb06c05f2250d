#!/usr/bin/env bash
# Builds annuvia.exe for 64-bit Windows and starts it under Wine. With no
# display it starts a virtual one, drives the program through its windows and
# saves screenshots instead (their paths are printed at the end).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake --preset win64 >/dev/null
cmake --build --preset win64 -j"$(nproc)" --target annuvia annuvia_driver
if [ -z "${DISPLAY:-}" ]; then
  echo "No display: starting a virtual one and saving screenshots."
  exec bash scripts/screenshots.sh
fi
export WINEPREFIX="$PWD/build/win64/wineprefix-run"
ANNUVIA_DISPLAY_KEEP=1 exec bash cmake/wine-session.sh run build/win64/src/annuvia.exe
