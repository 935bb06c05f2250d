#!/usr/bin/env bash
# Saves screenshots of the main window, a refused Next and the result window to
# build/screenshots/, running the real program under Wine on a private display.
set -euo pipefail
cd "$(dirname "$0")/.."
root="$PWD"
[ -f build/win64/src/annuvia.exe ] && [ -f build/win64/tests/annuvia_driver.exe ] || {
  cmake --preset win64 >/dev/null
  cmake --build --preset win64 -j"$(nproc)" --target annuvia annuvia_driver
}
out="$root/build/screenshots"
mkdir -p "$out"
export WINEPREFIX="$root/build/win64/wineprefix-shots"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
loader=/usr/lib/wine/wine64
[ -x "$loader" ] || loader="$(command -v wine64 || command -v wine)"

fdfile="$(mktemp)"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fdfile" 2>/dev/null &
xvfb=$!
for _ in $(seq 1 100); do [ -s "$fdfile" ] && break; sleep 0.1; done
export DISPLAY=":$(head -n1 "$fdfile")"
rm -f "$fdfile"
cleanup() { wineserver -k >/dev/null 2>&1 || true; kill "$xvfb" 2>/dev/null || true; }
trap cleanup EXIT

ANNUVIA_DISPLAY_KEEP=1 bash cmake/wine-session.sh prefix
"$loader" build/win64/src/annuvia.exe </dev/null &
driver() { timeout 60 "$loader" build/win64/tests/annuvia_driver.exe "$1" </dev/null; }
driver wait-main && sleep 1 && import -window root "$out/main.png"
driver empty-next && sleep 1 && import -window root "$out/message.png"
driver dismiss-and-next && sleep 1 && import -window root "$out/result.png"
for f in main message result; do echo "Screenshot: $out/$f.png"; done
