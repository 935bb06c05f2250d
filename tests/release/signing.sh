# Sourced by the release tests, which define fail. signing_key FOLDER PUBLISHER: a throwaway authority and
# the publisher's code-signing key, made now, in a PKCS#12 file with the older encryption (RC2, 3DES).
signing_key() {
  mkdir -p -m 700 "$1"
  (cd "$1" && set -e
   openssl req -x509 -newkey rsa:2048 -nodes -keyout ca.key -out ca.pem -subj "/CN=Annuvia test authority" \
     -addext basicConstraints=critical,CA:true -addext keyUsage=critical,keyCertSign
   openssl req -x509 -newkey rsa:2048 -nodes -keyout signer.key -out signer.pem -subj "/CN=$2" -CA ca.pem -CAkey ca.key \
     -addext basicConstraints=critical,CA:false -addext keyUsage=critical,digitalSignature -addext extendedKeyUsage=codeSigning
   echo "a throwaway password" >password
   openssl pkcs12 -export -legacy -inkey signer.key -in signer.pem -certfile ca.pem -passout file:password -out signer.pfx
  ) >"$1/log" 2>&1 || { cat "$1/log"; echo "FAIL: no throwaway signing key"; exit 1; }
  export ANNUVIA_SIGN_PFX="$1/signer.pfx" ANNUVIA_SIGN_PASSWORD_FILE="$1/password"
}

# check_signed STAGED_EXE SETUP WINE_RUN ARCH: these two, and the program and uninstaller that a silent install
# under Wine writes, verify against the authority; the staged program with a byte of its code changed fails its digest.
check_signed() {
  local files=("$1" "$2") to="${2%/dist/*}/installed" f line
  if [ "$4" = win32 ] && [ ! -x /usr/lib/wine/wine ]; then
    echo "not run: the installed 32-bit files' signatures, as there is no 32-bit Wine here"
  elif ANNUVIA_WINEPREFIX="$to.prefix" "$3" "$2" /S "/D=Z:${to//\//\\}" >/dev/null 2>&1; then
    files+=("$to/annuvia.exe" "$to/uninstall.exe")
  else fail "the silent install of $2 failed"; fi
  python3 -c 'import sys; d = bytearray(open(sys.argv[1], "rb").read()); d[int(sys.argv[2], 16) + 4096] ^= 1
open(sys.argv[1] + ".changed", "wb").write(d)' "$1" "$(x86_64-w64-mingw32-objdump -h "$1" | awk '$2 == ".text" {print $6}')"
  for f in "${files[@]}" "$1.changed"; do
    osslsigncode verify -CAfile "${ANNUVIA_SIGN_PFX%/*}/ca.pem" -in "$f" >"$f.verify" 2>&1 || true
    line="$(grep -m1 'message digest.*MISMATCH\|^Succeeded' "$f.verify" || true)"
    [[ $f = *.changed && $line = *MISMATCH* || $f != *.changed && $line = Succeeded ]] && echo "$f: $line" ||
      fail "$f: ${line:-no verdict} (see $f.verify)"
  done
}
