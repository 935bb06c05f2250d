#!/usr/bin/env bash
# Wine sessions for tests, screenshots and the run command.
#   wine-session.sh run PROGRAM.exe [ARGS...]   run one program on a private X display, then shut down
#   wine-session.sh prefix                      only make sure the prefix exists
# WINEPREFIX must be set. Programs run inside Wine's own desktop window (1024x768):
# it draws title bars, and windows there show without a round trip to X.
# ANNUVIA_WINE_DESKTOP=WxH names a desktop of its own; ANNUVIA_DISPLAY_KEEP=1 uses $DISPLAY as it is.
# ANNUVIA_WINE_ARCH=win32 makes and uses a 32-bit prefix; the default is win64.
set -u
: "${WINEPREFIX:?WINEPREFIX must be set}"
# shellcheck source=wine.sh
source "$(dirname "${BASH_SOURCE[0]}")/wine.sh"

cmd="${1:-}"
shift || true
trap wine_stop EXIT
# shellcheck disable=SC2119  # the display's default size
wine_start_display || exit 1
wine_make_prefix
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
