#!/bin/sh
# Signs one Windows executable in place with Authenticode (SHA-256):
#   sh scripts/sign-exe.sh FILE
# release.sh runs it on annuvia.exe, and makensis on the uninstaller and the
# installer. As release.sh sets them up, from the environment:
#   annuvia_signing_key         the key and its certificates, a PKCS#12 file
#   annuvia_signing_password    its password (empty: none), given to
#                               osslsigncode through a pipe
#   ANNUVIA_SIGN_TIMESTAMP_URL  an RFC 3161 time-stamp server; without it the
#                               signing time is SOURCE_DATE_EPOCH
# Run by sh, not executed, so it works from a folder mounted noexec.
set -eu
: "${annuvia_signing_key:?}" "${annuvia_signing_password?}"
file=$1
if [ -n "${ANNUVIA_SIGN_TIMESTAMP_URL:-}" ]; then
  set -- -ts "$ANNUVIA_SIGN_TIMESTAMP_URL"
else
  set -- -time "$SOURCE_DATE_EPOCH"
fi
set -- sign -pkcs12 "$annuvia_signing_key" -h sha256 -n Annuvia "$@" -in "$file" -out "$file.signed"
if [ -n "$annuvia_signing_password" ]; then
  signed() { printf '%s' "$annuvia_signing_password" | osslsigncode "$@" -readpass /dev/stdin; }
else
  signed() { osslsigncode "$@"; }
fi
if ! signed "$@" >"$file.log" 2>&1; then
  echo "sign-exe: osslsigncode could not sign $file: $(grep -v '^Succeeded' "$file.log" | tail -n 1)" >&2
  rm -f "$file.signed" "$file.log"
  exit 1
fi
rm -f "$file.log"
mv -f "$file.signed" "$file"
