#!/bin/sh
# Stands in for the web browser in tests: Wine hands every address the
# program opens to this command, which appends it to the tests' log.
[ -n "${ANNUVIA_BROWSER_LOG_DIR:-}" ] || exit 0
mkdir -p "$ANNUVIA_BROWSER_LOG_DIR"
printf '%s\n' "$1" >> "$ANNUVIA_BROWSER_LOG_DIR/browser.log"
