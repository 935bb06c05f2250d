# shellcheck shell=bash
# Wine for the project's scripts (tests, screenshots, the benchmark); sourced,
# not run. Sourcing it picks Debian's loader for ANNUVIA_WINE_ARCH (win64 by
# default; win32 for a 32-bit prefix, which scripts/install-wine32.sh sets up),
# silences Wine's debug output and its Mono and Gecko prompts, and defines:
#   winpath PATH           the Windows path of a Unix one (Wine maps / to Z:)
#   wine_start_display [WxH]  a private Xvfb display (1024x768 by default), or
#                          $DISPLAY as it is where ANNUVIA_DISPLAY_KEEP=1
#   wine_make_prefix       the prefix WINEPREFIX, made once, as the tests want it
#   wine_stop              ends the prefix's wineserver and the private display
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH="${ANNUVIA_WINE_ARCH:-win64}"
# Debian's loaders, called directly: once wine32 is installed the plain wine
# wrapper prefers the 32-bit one.
if [ "$WINEARCH" = win32 ]; then
  loader=/usr/lib/wine/wine
  # Whether 32-bit programs go through qemu here (an entry of install-wine32.sh's,
  # or any other enabled qemu-i386 entry); tests that cannot work under it read
  # this and skip.
  for entry in /proc/sys/fs/binfmt_misc/*; do
    if grep -qsx enabled "$entry" && grep -qs '^interpreter .*qemu-i386' "$entry"; then
      export ANNUVIA_32BIT_UNDER_QEMU=1
    fi
  done
  unset entry
else
  loader=/usr/lib/wine/wine64
fi
if [ -x "$loader" ]; then
  export WINELOADER="$loader"
  export WINESERVER=/usr/lib/wine/wineserver
elif [ "$WINEARCH" = win32 ]; then
  WINELOADER="$(command -v wine)"
  WINESERVER="$(command -v wineserver)"
  export WINELOADER WINESERVER
else
  WINELOADER="$(command -v wine64 || command -v wine)"
  WINESERVER="$(command -v wineserver)"
  export WINELOADER WINESERVER
fi
unset loader
wine_here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"

winpath() { printf 'Z:%s' "${1//\//\\}"; }

wine_xvfb_pid=""
wine_start_display() {
  if [ "${ANNUVIA_DISPLAY_KEEP:-0}" = 1 ] && [ -n "${DISPLAY:-}" ]; then return 0; fi
  local fdfile
  fdfile="$(mktemp)"
  # Xvfb writes the number of the display it chose to the descriptor.
  Xvfb -displayfd 3 -screen 0 "${1:-1024x768}x24" -nolisten tcp -noreset 3>"$fdfile" 2>/dev/null &
  wine_xvfb_pid=$!
  for _ in $(seq 1 100); do
    [ -s "$fdfile" ] && break
    sleep 0.1
  done
  if [ ! -s "$fdfile" ]; then
    echo "wine: Xvfb did not start" >&2
    rm -f "$fdfile"
    return 1
  fi
  DISPLAY=":$(head -n1 "$fdfile")"
  export DISPLAY
  rm -f "$fdfile"
}

wine_stop() {
  "$WINESERVER" -k >/dev/null 2>&1 || true
  "$WINESERVER" -w >/dev/null 2>&1 || true
  if [ -n "$wine_xvfb_pid" ]; then kill "$wine_xvfb_pid" 2>/dev/null; wait "$wine_xvfb_pid" 2>/dev/null; fi
  return 0
}

# Made once under a lock, so tests that start together share it: no installer
# prompts, no crash dialog, the fonts the program names mapped to DejaVu Sans,
# Wine's own desktop window (it draws the title bars), and Wine's own Marlett
# and Tahoma, which Debian's Wine does not put into a new prefix (title bar
# buttons are Marlett glyphs; message boxes are Tahoma).
wine_make_prefix() {
  mkdir -p "$(dirname "$WINEPREFIX")"
  exec 9>"$WINEPREFIX.lock"
  flock 9
  if [ ! -f "$WINEPREFIX/.annuvia-ready-3" ]; then
    local started=$SECONDS font
    rm -rf "$WINEPREFIX"
    "$WINELOADER" wineboot --init >/dev/null 2>&1
    "$WINESERVER" -w
    "$WINELOADER" regedit /S "$(winpath "$wine_here/wine-prefix.reg")" >/dev/null 2>&1
    "$WINESERVER" -w
    for font in marlett.ttf tahoma.ttf tahomabd.ttf; do
      [ ! -f "/usr/share/wine/fonts/$font" ] || cp "/usr/share/wine/fonts/$font" "$WINEPREFIX/drive_c/windows/Fonts/"
    done
    touch "$WINEPREFIX/.annuvia-ready-3"
    echo "wine: prefix made in $((SECONDS - started)) s: $WINEPREFIX" >&2
  fi
  flock -u 9
}
