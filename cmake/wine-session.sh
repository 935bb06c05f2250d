#!/usr/bin/env bash
# Wine sessions for tests, screenshots and the run command.
#   wine-session.sh run PROGRAM.exe [ARGS...]   run one program on a private X display, then shut down
#   wine-session.sh prefix                      only make sure the prefix exists
# WINEPREFIX must be set. Programs run inside Wine's own desktop window (1024x768):
# it draws title bars, and windows there show without a round trip to X.
# ANNUVIA_WINE_DESKTOP=WxH names a desktop of its own; ANNUVIA_DISPLAY_KEEP=1 uses $DISPLAY as it is.
# ANNUVIA_WINE_ARCH=win32 makes and uses a 32-bit prefix (scripts/install-wine32.sh
# sets up the 32-bit Wine); the default is win64.
set -u

: "${WINEPREFIX:?WINEPREFIX must be set}"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH="${ANNUVIA_WINE_ARCH:-win64}"
# Debian's loaders, called directly: once wine32 is installed the plain wine
# wrapper prefers the 32-bit one.
if [ "$WINEARCH" = win32 ]; then
  loader=/usr/lib/wine/wine
  # Whether 32-bit programs go through qemu here (registered by install-wine32.sh);
  # tests that cannot work under it read this and skip.
  if grep -qsx enabled /proc/sys/fs/binfmt_misc/qemu-i386; then
    export ANNUVIA_32BIT_UNDER_QEMU=1
  fi
else
  loader=/usr/lib/wine/wine64
fi
if [ -x "$loader" ]; then
  export WINELOADER="$loader"
  export WINESERVER=/usr/lib/wine/wineserver
elif [ "$WINEARCH" = win32 ]; then
  export WINELOADER="$(command -v wine)"
  export WINESERVER="$(command -v wineserver)"
else
  export WINELOADER="$(command -v wine64 || command -v wine)"
  export WINESERVER="$(command -v wineserver)"
fi
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"

xvfb_pid=""
start_display() {
  if [ "${ANNUVIA_DISPLAY_KEEP:-0}" = 1 ] && [ -n "${DISPLAY:-}" ]; then return 0; fi
  local fdfile
  fdfile="$(mktemp)"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$fdfile" 2>/dev/null &
  xvfb_pid=$!
  for _ in $(seq 1 100); do
    [ -s "$fdfile" ] && break
    sleep 0.1
  done
  if [ ! -s "$fdfile" ]; then
    echo "wine-session: Xvfb did not start" >&2
    rm -f "$fdfile"
    return 1
  fi
  export DISPLAY=":$(head -n1 "$fdfile")"
  rm -f "$fdfile"
}

stop_all() {
  "$WINESERVER" -k >/dev/null 2>&1 || true
  "$WINESERVER" -w >/dev/null 2>&1 || true
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null; wait "$xvfb_pid" 2>/dev/null; fi
  return 0
}

make_prefix() {
  mkdir -p "$(dirname "$WINEPREFIX")"
  exec 9>"$WINEPREFIX.lock"
  flock 9
  if [ ! -f "$WINEPREFIX/.annuvia-ready-2" ]; then
    local started=$SECONDS
    rm -rf "$WINEPREFIX"
    "$WINELOADER" wineboot --init >/dev/null 2>&1
    "$WINESERVER" -w
    "$WINELOADER" regedit /S "$(winepath_of "$here/wine-prefix.reg")" >/dev/null 2>&1
    "$WINESERVER" -w
    touch "$WINEPREFIX/.annuvia-ready-2"
    echo "wine-session: prefix made in $((SECONDS - started)) s: $WINEPREFIX" >&2
  fi
  flock -u 9
}

# regedit wants a Windows path; Wine maps the Unix root to drive Z:.
winepath_of() { printf 'Z:%s' "$(printf '%s' "$1" | tr '/' '\\')"; }

cmd="${1:-}"
shift || true
trap stop_all EXIT
start_display || exit 1
make_prefix
case "$cmd" in
  prefix) exit 0 ;;
  run)
    prog="$1"; shift
    if [ -n "${ANNUVIA_WINE_DESKTOP:-}" ]; then
      "$WINELOADER" explorer "/desktop=Annuvia,${ANNUVIA_WINE_DESKTOP}" "$prog" "$@" </dev/null
    else
      "$WINELOADER" "$prog" "$@" </dev/null
    fi
    exit $?
    ;;
  *) echo "usage: wine-session.sh run PROGRAM [ARGS...] | prefix" >&2; exit 2 ;;
esac
