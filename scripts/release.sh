#!/usr/bin/env bash
# Makes the release files in dist/:
#   annuvia-VERSION-win64.zip, annuvia-VERSION-win32.zip
#       annuvia.exe, README.txt, LICENSE.txt and THIRD-PARTY-NOTICES.txt,
#       for use without installing
#   annuvia-VERSION-win64-setup.exe, annuvia-VERSION-win32-setup.exe
#       per-user installers, no administrator rights needed, which show
#       LICENSE.txt first; they install the zip's files
#   annuvia-VERSION-win64.cdx.json, annuvia-VERSION-win32.cdx.json
#       the bills of materials (CycloneDX 1.6)
#   SHA256SUMS
# Beside LICENSE.txt, THIRD-PARTY-NOTICES.txt names the third-party software
# that the link map shows in annuvia.exe (and in the installer, NSIS's parts),
# with the licences and copyright lines from Debian's copyright files
# (scripts/third-party.sh).
# The executables are built here, in build/release-win64 and build/release-win32,
# from the last commit (exported to build/release-src, so edits that are not
# committed stay out of a release). Two runs on the same commit give the same
# bytes, on any machine with the same Debian packages: every time stored in the
# files is SOURCE_DATE_EPOCH, by default the time of the commit.
#
#   bash scripts/release.sh [--worktree] [--arch win64|win32]...
#     --worktree  build the tree as it is, committed or not (outside a git
#                 checkout SOURCE_DATE_EPOCH must be set)
#     --arch      only the named architecture (may be given twice)
# ANNUVIA_RELEASE_JOBS sets the number of compiler jobs (default: all cores).
#
# Signing (Authenticode, SHA-256), when a code-signing key is given:
#   ANNUVIA_SIGN_PFX            the key and its certificates, a PKCS#12 file
#   ANNUVIA_SIGN_PASSWORD_FILE  a file whose first line is its password (a
#                               byte-order mark and a CR at the end do not
#                               count; an empty file: a key without one)
#   ANNUVIA_SIGN_TIMESTAMP_URL  an RFC 3161 time-stamp server (optional)
# Signed are annuvia.exe before it goes into the zip and the installer, the
# uninstaller that the installer writes, and the installer. The certificate
# must be issued to the publisher that CMakeLists.txt names. Without a time
# stamp the signing time is SOURCE_DATE_EPOCH and two runs give the same
# bytes; a time stamp differs from run to run. Without a key nothing is signed.
set -Eeuo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
caller="$PWD"
cd "$root"
die() { echo "release: $*" >&2; exit 1; }
trap 'echo "release: \"$BASH_COMMAND\" failed (exit $?, line $LINENO)" >&2; exit 1' ERR
usage() { sed -n '2,38s/^# \{0,1\}//p' "${BASH_SOURCE[0]}" >&2; exit 2; }

worktree=0
arches=()
while [ $# -gt 0 ]; do
  case "$1" in
    --worktree) worktree=1 ;;
    --arch)
      case "${2:-}" in win64 | win32) arches+=("$2") ;; *) usage ;; esac
      shift ;;
    *) usage ;;
  esac
  shift
done
[ ${#arches[@]} -gt 0 ] || arches=(win64 win32)

pfx="${ANNUVIA_SIGN_PFX:-}"
password_file="${ANNUVIA_SIGN_PASSWORD_FILE:-}"
signing=0
if [ -n "$pfx$password_file" ]; then
  if [ -z "$pfx" ] || [ -z "$password_file" ]; then
    die "signing needs both ANNUVIA_SIGN_PFX and ANNUVIA_SIGN_PASSWORD_FILE"
  fi
  signing=1
  case "$pfx" in /*) ;; *) pfx="$caller/$pfx" ;; esac
  case "$password_file" in /*) ;; *) password_file="$caller/$password_file" ;; esac
fi

# What the release needs, from Debian's packages, when missing.
# Signing takes Debian's own osslsigncode (2.5 on Debian 12), which may not
# read the older PKCS#12 encryptions: openssl converts the key first.
packages=(cmake make git g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix nsis python3)
[ "$signing" = 0 ] || packages+=(openssl osslsigncode)
# shellcheck source=packages.sh
source "$root/scripts/packages.sh"
ensure_packages -- "${packages[@]}" || die "could not install what the release needs ($packages_error)"

# Times and names must not depend on who builds where.
export TZ=UTC LC_ALL=C
umask 022

if [ "$worktree" = 1 ]; then
  src="$root"
  if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
    SOURCE_DATE_EPOCH="$(git -C "$root" log -1 --format=%ct 2>/dev/null)" ||
      die "not a git checkout: set SOURCE_DATE_EPOCH"
  fi
else
  commit="$(git -C "$root" rev-parse --verify -q HEAD)" || die "no commit to build (--worktree builds the tree)"
  : "${SOURCE_DATE_EPOCH:=$(git -C "$root" log -1 --format=%ct "$commit")}"
  src="$root/build/release-src"
  if [ "$(cat "$src/.commit" 2>/dev/null)" != "$commit" ]; then
    rm -rf "$src"
    mkdir -p "$src"
    git -C "$root" archive --format=tar "$commit" | tar -x -C "$src"
    echo "$commit" >"$src/.commit"
  fi
  if [ -n "$(git -C "$root" status --porcelain --untracked-files=no)" ]; then
    echo "release: building commit ${commit:0:12}; the edits not committed are left out"
  fi
fi
case "$SOURCE_DATE_EPOCH" in '' | *[!0-9]*) die "SOURCE_DATE_EPOCH is not a number of seconds" ;; esac
export SOURCE_DATE_EPOCH

# The key is read once, with the password read once (scripts/signing.sh),
# into a private folder that goes when the script ends; scripts/sign-exe.sh
# signs with what is there. Passwords go by the environment, never on a
# command line or into a file.
sign=()
sign_installer=()
if [ "$signing" = 1 ]; then
  if [ ! -f "$pfx" ] || [ ! -r "$pfx" ]; then die "no signing key at $pfx (ANNUVIA_SIGN_PFX)"; fi
  if [ ! -f "$password_file" ] || [ ! -r "$password_file" ]; then
    die "no password file at $password_file (ANNUVIA_SIGN_PASSWORD_FILE)"
  fi
  # shellcheck source=signing.sh
  source "$root/scripts/signing.sh"
  keys="$(mktemp -d)"
  chmod 700 "$keys"
  trap 'rm -rf "$keys"' EXIT
  trap 'exit 1' HUP INT TERM
  signing_password "$password_file"
  export annuvia_signing_password="$signing_pass" annuvia_signing_key="$keys/key.p12"
  signing_prepare "$pfx" "$keys" || die "$signing_error"
  # Run by sh, so that a TMPDIR mounted noexec does not matter; makensis gets
  # the helper's path through the environment, so that any path works.
  export annuvia_signer="$root/scripts/sign-exe.sh"
  sign=(sh "$annuvia_signer")
  # shellcheck disable=SC2016  # expanded by the shell that makensis starts
  sign_installer=(-DSIGN='sh "$annuvia_signer"')
fi

# shellcheck source=third-party.sh
source "$src/scripts/third-party.sh"
third_party_prepare

jobs="${ANNUVIA_RELEASE_JOBS:-$(nproc)}"
dist="$root/dist"

started=$SECONDS
for arch in "${arches[@]}"; do
  case "$arch" in win64) toolchain=mingw-x86_64 ;; win32) toolchain=mingw-i686 ;; esac
  build="$root/build/release-$arch"
  # A build folder made from other sources (the export, or the tree) starts afresh.
  if [ -f "$build/CMakeCache.txt" ] &&
     ! grep -qxF "CMAKE_HOME_DIRECTORY:INTERNAL=$src" "$build/CMakeCache.txt"; then
    rm -rf "$build"
  fi
  cmake -S "$src" -B "$build" --toolchain "$src/cmake/$toolchain.cmake" \
        -DCMAKE_BUILD_TYPE=Release -DANNUVIA_TESTS=OFF >/dev/null
done
# The version and the publisher as CMake wrote them: the version as people
# read it, its four numbers, and the publisher.
{ read -r version && read -r file_version && read -r publisher; } <"$build/annuvia-version.txt" ||
  die "no version and publisher in $build/annuvia-version.txt"
if [ "$signing" = 1 ]; then
  names="$(openssl x509 -in "$keys/cert.pem" -noout -subject -nameopt multiline,utf8,-esc_msb |
           sed -n 's/^ *\(commonName\|organizationName\) *= //p')"
  grep -qxF "$publisher" <<<"$names" ||
    die "the signing certificate is issued to $(awk '{ printf "%s\"%s\"", NR > 1 ? " " : "", $0 }' <<<"$names"), not to the publisher \"$publisher\" (CMakeLists.txt)"
fi

rm -rf "$dist"
mkdir -p "$dist"

# Text files as Windows shows them: CRLF line ends.
windows_text() { sed -e 's/\r$//' -e 's/$/\r/' "$1" >"$2"; }

for arch in "${arches[@]}"; do
  build="$root/build/release-$arch"
  cmake --build "$build" -j"$jobs" --target annuvia

  stage="$build/stage"
  rm -rf "$stage"
  mkdir -p "$stage"
  cp "$build/src/annuvia.exe" "$stage/annuvia.exe"
  [ "$signing" = 0 ] || "${sign[@]}" "$stage/annuvia.exe" || die "annuvia.exe for $arch could not be signed"
  windows_text "$src/README.md" "$stage/README.txt"
  windows_text "$src/LICENSE.txt" "$stage/LICENSE.txt"
  chmod 0644 "$stage"/*
  touch -d "@$SOURCE_DATE_EPOCH" "$stage"/*
  third_party_notices "$arch" "$build" "$stage"

  name="annuvia-$version-$arch"
  python3 "$src/scripts/make-zip.py" "$dist/$name.zip" "$SOURCE_DATE_EPOCH" \
          "$stage/annuvia.exe" "$stage/README.txt" "$stage/LICENSE.txt" "$stage/THIRD-PARTY-NOTICES.txt"
  # From dist/, with paths relative to it, so that no folder's name goes into
  # the installer script's text or the signing command, nor through makensis's
  # reading of its arguments, which takes only ASCII under LC_ALL=C.
  nsis=(makensis -NOCONFIG -NOCD -V2 -DARCH="$arch" -DVERSION="$version" -DFILE_VERSION="$file_version"
        -DPUBLISHER="$publisher" -DSTAGE="../build/release-$arch/stage")
  nsi="..${src#"$root"}/installer/annuvia.nsi"
  # The installer's notices name NSIS's parts in it as well.
  third_party_notices "$arch" "$build" "$stage" "$nsi" "${nsis[@]}"
  (cd "$dist" && "${nsis[@]}" "${sign_installer[@]}" -DOUTFILE="$name-setup.exe" "$nsi" </dev/null)
  third_party_sbom "$arch" "$build"
done

cd "$dist"
files=()
for f in *; do files+=("$f"); done
sha256sum -- "${files[@]}" >SHA256SUMS
echo "Release $version in $dist ($((SECONDS - started)) s, SOURCE_DATE_EPOCH=$SOURCE_DATE_EPOCH):"
for f in "${files[@]}"; do
  printf '  %-34s %9s bytes  %s\n' "$f" "$(stat -c %s "$f")" "$(sha256sum "$f" | cut -d' ' -f1)"
done
