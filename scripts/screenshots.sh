#!/usr/bin/env bash
# Pictures of the program under Wine, title bars included:
#   build/screenshots/main.png     the main window as it opens
#   build/screenshots/about.png    Help, About Software: the About window over the main window
#   build/screenshots/message.png  Next with no first name: the message box
#   build/screenshots/result.png   the result window for ANN LEE, 29 March 1976
#   build/screenshots/exit.png     the exit screen, after the result window's close box
# Builds annuvia.exe and annuvia_driver.exe (build/win64) first. Uses its own
# prefix, build/win64/wineprefix-shots, and its own X display, so it can run
# while the tests run; everything it starts is ended on the way out.
# ANNUVIA_SHOTS_DPI (96), ANNUVIA_SHOTS_DESKTOP (1024x768) and ANNUVIA_SHOTS_DIR
# change the screen scale, the desktop and where the pictures go;
# ANNUVIA_BUILD_DIR takes the programs from another configured build tree.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${ANNUVIA_BUILD_DIR:-$root/build/win64}"
out="${ANNUVIA_SHOTS_DIR:-$root/build/screenshots}"
exe="$build/src/annuvia.exe"
driver="$build/tests/annuvia_driver.exe"
desktop_size="${ANNUVIA_SHOTS_DESKTOP:-1024x768}"
dpi="${ANNUVIA_SHOTS_DPI:-96}"

for tool in Xvfb import; do
  command -v "$tool" >/dev/null || { echo "screenshots: $tool is missing" >&2; exit 1; }
done

if [ -n "${ANNUVIA_BUILD_DIR:-}" ]; then
  cmake --build "$build" -j2 --target annuvia annuvia_driver >/dev/null
else
  (cd "$root" && cmake --preset win64 >/dev/null && cmake --build build/win64 -j2 --target annuvia annuvia_driver >/dev/null)
fi

export WINEPREFIX="$build/wineprefix-shots"
# shellcheck source=../cmake/wine.sh
source "$root/cmake/wine.sh"
program_pid=""
cleanup() {
  wine_stop
  if [ -n "$program_pid" ]; then wait "$program_pid" 2>/dev/null || true; fi
}
trap cleanup EXIT
wine_start_display "$desktop_size" || exit 1
# The prefix is made once, the way the tests make theirs.
wine_make_prefix

# Every program of the prefix runs in one Wine desktop window: it draws the
# title bars, and the driver sees the program's windows because it runs in
# the same desktop. The prefix is made that way; the pictures depend on it,
# so it is set again here. (A second "explorer /desktop=" returns at once
# instead of waiting for the program it starts, so the driver's exit code
# would be lost.)
set_desktop() {
  "$WINELOADER" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1 &&
    "$WINELOADER" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d "$desktop_size" /f >/dev/null 2>&1 &&
    "$WINESERVER" -w
}
set_desktop || { echo "screenshots: could not set up Wine's desktop" >&2; exit 1; }
# Wine reads the screen scale when a program starts.
if ! { "$WINELOADER" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1 &&
       "$WINESERVER" -w; }; then
  echo "screenshots: could not set the DPI" >&2
  exit 1
fi

mkdir -p "$out"
rm -f "$out/main.png" "$out/message.png" "$out/result.png" "$out/exit.png" "$out/about.png"

# Each run is a first start: no reminder box comes up, however old the prefix.
"$WINELOADER" reg delete 'HKCU\Software\VB and VBA Program Settings\annuvia' /f >/dev/null 2>&1 || true

"$WINELOADER" "$exe" </dev/null &
program_pid=$!

step() {
  "$WINELOADER" "$driver" "$1" </dev/null || { echo "screenshots: step $1 failed" >&2; exit 1; }
}
shoot() {
  sleep 0.5  # let the X server finish drawing what Wine sent it
  import -window root "$out/$1"
  echo "$out/$1"
}

step wait-main
shoot main.png
step about
shoot about.png
step close-about
step empty-next
shoot message.png
step dismiss-and-next
shoot result.png
step exit-screen
shoot exit.png
