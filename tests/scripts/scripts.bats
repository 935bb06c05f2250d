#!/usr/bin/env bats
# The set-up and release scripts' own functions, on fixture files.

setup() {
  scripts="$BATS_TEST_DIRNAME/../../scripts"
  source "$scripts/packages.sh"
  source "$scripts/binfmt.sh"
  source "$scripts/signing.sh"
  cd "$BATS_TEST_TMPDIR"
}

@test "a package counts as installed when dpkg has it configured, held or not" {
  mkdir -p admin/info admin/updates
  for s in "install ok installed:yes" "hold ok installed:yes" "install ok half-configured:no" \
           "deinstall ok config-files:no"; do
    printf 'Package: p%s\nStatus: %s\nArchitecture: all\nVersion: 1\n\n' "${#s}" "${s%:*}" >>admin/status
  done
  for s in "install ok installed:yes" "hold ok installed:yes" "install ok half-configured:no" \
           "deinstall ok config-files:no" "absent:no"; do
    if DPKG_ADMINDIR=admin package_installed "p${#s}"; then got=yes; else got=no; fi
    [ "$got" = "${s##*:}" ] || { echo "${s%:*}: $got"; return 1; }
  done
}

@test "the Debian mirror is the one apt says, whatever other sources name the suite" {
  mkdir -p etc/parts lists/partial
  echo "deb https://vendor.example/apt bookworm main" >etc/sources.list
  printf 'Types: deb\nURIs: http://mirror.example/debian\nSuites: bookworm\nComponents: main\n\n' >etc/parts/debian.sources
  printf 'Types: deb\nURIs: https://other.example/debian\nSuites: bookworm\nComponents: stable\n' >etc/parts/other.sources
  for repo in "vendor.example_apt:Vendor" "mirror.example_debian:Debian" "other.example_debian:Other"; do
    printf 'Origin: %s\nCodename: bookworm\nArchitectures: amd64\n' "${repo#*:}" >"lists/${repo%:*}_dists_bookworm_Release"
    touch "lists/${repo%:*}_dists_bookworm_main_binary-amd64_Packages" \
          "lists/${repo%:*}_dists_bookworm_stable_binary-amd64_Packages"
  done
  apt=(-o Dir::Etc::SourceList="$PWD/etc/sources.list" -o Dir::Etc::SourceParts="$PWD/etc/parts"
       -o Dir::State::Lists="$PWD/lists" -o APT::Architectures=amd64)
  run bash -c 'set -euo pipefail; source "$1/packages.sh"; shift
               echo "[$(debian_uri bookworm "$@")] [$(debian_uri bookworm-backports "$@")]"' _ "$scripts" "${apt[@]}"
  [ "$status" -eq 0 ]
  [ "$output" = "[http://mirror.example/debian/] []" ]
}

@test "only the kernel itself runs the padded probe: no qemu-i386 entry takes it" {
  binfmt_write_probe any 0
  binfmt_write_probe own 1
  entry() { printf '%s\ninterpreter /usr/bin/qemu-i386\nflags: %s\noffset %s\nmagic %s\nmask %s\n' "$@"; }
  magic=7f454c4601010100000000000000000002000300
  mask=fffffffffffefe00fffffffffffffffffeffffff
  entry enabled OPF 0 "$magic" "$mask" >ours
  entry enabled OCF 0 "$magic" "$mask" >debian
  entry enabled OPF 0 "$magic" "${mask:0:16}0000000000000000${mask:32}" >loose
  entry disabled OPF 0 "$magic" "$mask" >off
  entry enabled OPF 0 "${magic:0:36}3e00" "$mask" >x86_64
  printf 'enabled\ninterpreter /usr/bin/wine\nflags: \nextension .exe\n' >exe
  for row in "ours yes no" "debian yes no" "loose yes yes" "off no no" "x86_64 no no" "exe no no"; do
    read -r name takes_any takes_own <<<"$row"
    for probe in any own; do
      if binfmt_catches "$name" "$probe"; then got=yes; else got=no; fi
      want="takes_$probe"
      [ "$got" = "${!want}" ] || { echo "$name, probe $probe: $got"; return 1; }
    done
  done
  mkdir dir && cp ours off dir/ && binfmt_dir=dir
  binfmt_caught any
  if binfmt_caught own; then return 1; fi
}

@test "the password is the file's first line, without a byte-order mark or CRs at its end" {
  for row in 'pw\n:pw' 'pw\r\n:pw' '\xef\xbb\xbfpw\r\n:pw' 'pw\r\nthe shop key\r\n:pw' 'pw:pw' ' p w \n: p w ' \
             '\n:' ':' 'pw\r\r\n:pw'; do
    printf "${row%:*}" >password
    signing_password password
    [ "$signing_pass" = "${row##*:}" ] || { echo "$row: [$signing_pass]"; return 1; }
  done
}

@test "what the password check accepts signs, from any path, and a wrong one stops before" {
  source "$BATS_TEST_DIRNAME/../release/signing.sh"
  keys="$BATS_TEST_TMPDIR/josé's \"keys\""
  signing_key "$keys" Corvane >/dev/null
  openssl pkcs12 -export -inkey "$keys/signer.key" -in "$keys/signer.pem" -passout pass: -out "$keys/open.pfx"
  echo 'int main(void) { return 0; }' | x86_64-w64-mingw32-gcc -x c - -o small.exe
  for row in 'signer.pfx:\xef\xbb\xbfa throwaway password\r\nwho made it\r\n' 'open.pfx:'; do
    printf "${row#*:}" >"$keys/password"
    rm -rf work && mkdir work
    signing_password "$keys/password"
    export annuvia_signing_password="$signing_pass" annuvia_signing_key="$PWD/work/key.p12" SOURCE_DATE_EPOCH=1765000000
    signing_prepare "$keys/${row%%:*}" work || { echo "${row%%:*}: $signing_error"; return 1; }
    if grep -l 'PRIVATE KEY' work/*; then return 1; fi  # no plain key, even for a moment
    cp small.exe signed.exe
    sh "$scripts/sign-exe.sh" signed.exe
    osslsigncode verify -CAfile "$keys/ca.pem" -in signed.exe | grep -q '^Succeeded'
  done
  annuvia_signing_password="a throwaway passwor"
  if signing_prepare "$keys/signer.pfx" work; then return 1; fi
  [[ "$signing_error" == "the password does not open the signing key "* ]]
}
