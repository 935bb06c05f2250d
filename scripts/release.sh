#!/usr/bin/env bash
# Makes the release files in dist/:
#   annuvia-VERSION-win64.zip, annuvia-VERSION-win32.zip
#       annuvia.exe, README.txt and LICENSE.txt, for use without installing
#   annuvia-VERSION-win64-setup.exe, annuvia-VERSION-win32-setup.exe
#       per-user installers, no administrator rights needed
#   SHA256SUMS
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
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
die() { echo "release: $*" >&2; exit 1; }
usage() { sed -n '2,18s/^# \{0,1\}//p' "${BASH_SOURCE[0]}" >&2; exit 2; }

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

# What the release needs, from Debian's packages, when missing.
packages=(cmake make git g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix nsis python3)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -qq </dev/null
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq "${missing[@]}" </dev/null
fi

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

jobs="${ANNUVIA_RELEASE_JOBS:-$(nproc)}"
dist="$root/dist"
rm -rf "$dist"
mkdir -p "$dist"

# Text files as Windows shows them: CRLF line ends.
windows_text() { sed -e 's/\r$//' -e 's/$/\r/' "$1" >"$2"; }

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
  # The version as CMake read it from project(): as people read it, and its four numbers.
  { read -r version && read -r file_version; } <"$build/annuvia-version.txt" ||
    die "no version in $build/annuvia-version.txt"
  cmake --build "$build" -j"$jobs" --target annuvia

  stage="$build/stage"
  rm -rf "$stage"
  mkdir -p "$stage"
  cp "$build/src/annuvia.exe" "$stage/annuvia.exe"
  windows_text "$src/README.md" "$stage/README.txt"
  windows_text "$src/LICENSE.txt" "$stage/LICENSE.txt"
  chmod 0644 "$stage"/*
  touch -d "@$SOURCE_DATE_EPOCH" "$stage"/*

  name="annuvia-$version-$arch"
  python3 "$src/scripts/make-zip.py" "$dist/$name.zip" "$SOURCE_DATE_EPOCH" \
          "$stage/annuvia.exe" "$stage/README.txt" "$stage/LICENSE.txt"
  makensis -NOCONFIG -V2 -DARCH="$arch" -DVERSION="$version" -DFILE_VERSION="$file_version" -DSTAGE="$stage" \
           -DOUTFILE="$dist/$name-setup.exe" "$src/installer/annuvia.nsi" </dev/null
done

cd "$dist"
files=()
for f in *; do files+=("$f"); done
sha256sum -- "${files[@]}" >SHA256SUMS
echo "Release $version in $dist ($((SECONDS - started)) s, SOURCE_DATE_EPOCH=$SOURCE_DATE_EPOCH):"
for f in "${files[@]}"; do
  printf '  %-34s %9s bytes  %s\n' "$f" "$(stat -c %s "$f")" "$(sha256sum "$f" | cut -d' ' -f1)"
done
