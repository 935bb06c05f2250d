# shellcheck shell=bash
# Code signing for release.sh; sourced, not run.
#   signing_password FILE   sets signing_pass to the password FILE holds, by one
#                           rule: its first line, without a UTF-8 byte-order mark
#                           at the start and carriage returns at the end. An
#                           empty file, or an empty first line, is a key without
#                           a password.
#   signing_prepare PFX DIR reads the key PFX with the password in the
#                           environment variable annuvia_signing_password into
#                           the private folder DIR: cert.pem, its certificate,
#                           and key.p12, the key and its certificates again with
#                           the same password and today's encryption (openssl
#                           reads the older ones, which osslsigncode may not).
#                           Otherwise returns 1 with the reason in signing_error.
# The password goes to openssl and to scripts/sign-exe.sh through that
# variable only: never on a command line, never in a file. The plain key
# passes from one openssl to the other through a pipe, so DIR never holds it:
# what a killed run leaves there is the certificate, and the key encrypted
# with the password, as the PFX itself is.

# shellcheck disable=SC2034  # both are read by release.sh
signing_pass="" signing_error=""

signing_password() {
  local line="" LC_ALL=C
  IFS= read -r line <"$1" || true
  line="${line#$'\xef\xbb\xbf'}"
  while [[ "$line" == *$'\r' ]]; do line="${line%$'\r'}"; done
  signing_pass="$line"
}

signing_prepare() {
  local pfx=$1 dir=$2 in=(-legacy -in "$1" -passin env:annuvia_signing_password)
  if (umask 077
      openssl pkcs12 "${in[@]}" -clcerts -nokeys -out "$dir/cert.pem" &&
        openssl pkcs12 -export -passout env:annuvia_signing_password -out "$dir/key.p12" \
          -inkey <(openssl pkcs12 "${in[@]}" -nocerts -nodes) -in <(openssl pkcs12 "${in[@]}" -nokeys)
     ) 2>"$dir/errors" && grep -q CERTIFICATE "$dir/cert.pem"; then
    signing_error=""
    return 0
  fi
  if grep -q 'verify error' "$dir/errors"; then
    signing_error="the password does not open the signing key $pfx"
  else
    signing_error="$pfx is not a PKCS#12 file with a key and its certificate: $(grep -m1 . "$dir/errors" || true)"
  fi
  return 1
}
