# Sourced by the release tests, which define fail.
# signing_key FOLDER PUBLISHER: a throwaway authority and the publisher's code-signing key, made
# now, as a PKCS#12 file with the older encryption (RC2, 3DES); the release script is given it.
signing_key() {
  signing_ca="$1/ca.pem"
  mkdir -p -m 700 "$1"
  (cd "$1" && set -e
   openssl req -x509 -newkey rsa:2048 -nodes -keyout ca.key -out ca.pem -days 2 -subj "/CN=Annuvia test authority" \
     -addext basicConstraints=critical,CA:true -addext keyUsage=critical,keyCertSign
   openssl req -x509 -newkey rsa:2048 -nodes -keyout signer.key -out signer.pem -days 2 -subj "/CN=$2" -CA ca.pem \
     -CAkey ca.key -addext basicConstraints=critical,CA:false -addext keyUsage=critical,digitalSignature \
     -addext extendedKeyUsage=codeSigning
   echo "a throwaway password" >password
   openssl pkcs12 -export -legacy -inkey signer.key -in signer.pem -certfile ca.pem -passout file:password -out signer.pfx
  ) >"$1/log" 2>&1 || { cat "$1/log"; echo "FAIL: no throwaway signing key"; exit 1; }
  export ANNUVIA_SIGN_PFX="$1/signer.pfx" ANNUVIA_SIGN_PASSWORD_FILE="$1/password"
}

# check_signed STAGED_EXE SETUP WINE_RUN ARCH: the program as staged, the installer, and the
# program and uninstaller that a silent install under Wine writes verify against the authority;
# the staged program with one byte of its code changed does not, for its digest.
check_signed() {
  local files=("$1" "$2") installed="${2%/dist/*}/installed" at f got want line
  if [ "$4" = win32 ] && [ ! -x /usr/lib/wine/wine ]; then
    echo "not run: the installed 32-bit files' signatures, as there is no 32-bit Wine here"
  else
    ANNUVIA_WINEPREFIX="$installed.prefix" "$3" "$2" /S "/D=Z:${installed//\//\\}" >/dev/null 2>&1
    files+=("$installed/annuvia.exe" "$installed/uninstall.exe")
  fi
  at=$((0x$(x86_64-w64-mingw32-objdump -h "$1" | awk '$2 == ".text" {print $6}') + 4096))
  python3 -c 'import sys; d = bytearray(open(sys.argv[1], "rb").read()); d[int(sys.argv[2])] ^= 1
open(sys.argv[1] + ".changed", "wb").write(d)' "$1" "$at"
  for f in "${files[@]}" "$1.changed"; do
    if [ "$f" = "$1.changed" ]; then want=1; else want=0; fi
    osslsigncode verify -CAfile "$signing_ca" -in "$f" >"$f.verify" 2>&1 && got=0 || got=1
    line="$(grep -m1 'message digest.*MISMATCH' "$f.verify" || grep -m1 '^Signature verification' "$f.verify")"
    echo "$f: $line"
    [ "$got" = "$want" ] && [[ $want = 0 || $line = *MISMATCH* ]] ||
      { fail "$f: osslsigncode verify answered:"; cat "$f.verify"; }
  done
}
