#!/usr/bin/env bash
# Builds the release files of one architecture from a copy of the sources, as
# scripts/release.sh makes them, for the installer test of that architecture,
# and checks their signatures, notices and bill of materials.
#   release_build.sh SOURCE_DIR SCRATCH_DIR win32|win64 PUBLISHER WINE_RUN (signed: signing.sh)
# The files land in SCRATCH_DIR/dist; the sources' own dist/ stays untouched.
set -euo pipefail
source_dir="$(cd "$1" && pwd)"
scratch="$2"
arch="$3"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
source "$(dirname "${BASH_SOURCE[0]}")/signing.sh"
source "$(dirname "${BASH_SOURCE[0]}")/third_party.sh"
rm -rf "$scratch"
mkdir -p "$scratch"
tar -C "$source_dir" --exclude=./build --exclude=./dist --exclude=./.git -cf - . | tar -C "$scratch" -xf -
signing_key "$scratch/key" "$4"
started=$SECONDS
(cd "$scratch" && SOURCE_DATE_EPOCH=1700000000 ANNUVIA_RELEASE_JOBS=1 \
   bash scripts/release.sh --worktree --arch "$arch" >"$scratch/release.log" 2>&1) ||
  { cat "$scratch/release.log"; echo "FAIL: the $arch release build failed"; exit 1; }
echo "built the $arch release files in $((SECONDS - started)) s:"
ls -l "$scratch/dist"
check_signed "$scratch/build/release-$arch/stage/annuvia.exe" "$(echo "$scratch"/dist/*-setup.exe)" "$5" "$arch"
check_third_party "$scratch" "$arch"
[ "$failures" -eq 0 ]
