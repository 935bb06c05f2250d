# shellcheck shell=bash disable=SC2154  # root, src, dist, version, publisher, signing and packages.sh's
# packages_error are release.sh's
# The release's third-party notices and bill of materials; sourced by
# scripts/release.sh, after packages.sh, with root, src, dist, version,
# publisher, signing (1 or 0) and SOURCE_DATE_EPOCH set.
#
#   third_party_prepare
#       node and npm, from Debian when missing (Debian 12's node 18 will do),
#       and the bill of materials' validator, the CycloneDX library at the
#       version scripts/sbom/package-lock.json names, in build/sbom-tools.
#   third_party_notices ARCH BUILD STAGE [SCRIPT MAKENSIS-COMMAND...]
#       STAGE/THIRD-PARTY-NOTICES.txt for what the link map BUILD/src/annuvia.map
#       shows in annuvia.exe; given the installer's script and makensis command
#       (without its output file), as they run in dist/, the installer's own
#       NSIS parts too, from a trial compile's log, and BUILD/third-party.json
#       for the bill of materials.
#   third_party_sbom ARCH BUILD
#       dist/annuvia-VERSION-ARCH.cdx.json (CycloneDX 1.6) for the staged
#       program, the zip and the installer, checked with the validator.

third_party_tools="$root/build/sbom-tools"

# node may come from elsewhere than Debian's nodejs package (whose npm is a package of its own).
third_party_command_present() { case "$1" in nodejs) command -v node ;; npm) command -v npm ;; esac >/dev/null; }

third_party_prepare() {
  # shellcheck disable=SC2034  # ensure_packages reads it
  package_check=third_party_command_present
  ensure_packages -- nodejs npm || die "could not install node and npm for the bill of materials ($packages_error)"
  # shellcheck disable=SC2034
  package_check=package_installed
  node -e 'process.exit(Number(process.versions.node.split(".")[0]) >= 18 ? 0 : 1)' ||
    die "the bill of materials' validator needs node 18 or later, not $(node --version)"
  # The validator is installed once for each lock file.
  if ! cmp -s "$src/scripts/sbom/package-lock.json" "$third_party_tools/installed.lock"; then
    rm -rf "$third_party_tools"
    mkdir -p "$third_party_tools"
    cp "$src/scripts/sbom/package.json" "$src/scripts/sbom/package-lock.json" "$third_party_tools/"
    (cd "$third_party_tools" &&
     npm ci --omit=optional --ignore-scripts --no-audit --no-fund --prefer-offline >npm.log 2>&1) ||
      { tail -n 20 "$third_party_tools/npm.log" >&2; die "npm could not install the bill of materials' validator"; }
    cp "$src/scripts/sbom/package-lock.json" "$third_party_tools/installed.lock"
  fi
  cp "$src/scripts/sbom/validate.mjs" "$third_party_tools/"
}

third_party_notices() {
  local arch="$1" build="$2" stage="$3" bits=64 objdump=x86_64-w64-mingw32-objdump
  shift 3
  [ "$arch" = win64 ] || { bits=32; objdump=i686-w64-mingw32-objdump; }
  local notices=(python3 "$src/scripts/third-party.py" notices --map "$build/src/annuvia.map"
                 --link-dir "$build/src" --build-dir "$build" --objdump "$objdump" --arch "$arch"
                 --title "Third-party software in Annuvia $version for $bits-bit Windows"
                 --out "$stage/THIRD-PARTY-NOTICES.txt")
  if [ $# -gt 0 ]; then
    # What the installer takes from NSIS shows in makensis's log of a trial
    # compile (unsigned), with the Modern UI's commands in it too.
    local script="$1"
    shift
    (cd "$dist" && "$@" -V4 -DMUI_VERBOSE=4 -DOUTFILE="../build/release-$arch/trial-setup.exe" "$script" \
       >"$build/makensis-trial.log" 2>&1 </dev/null) ||
      { tail -n 20 "$build/makensis-trial.log" >&2; die "the trial compile of the $arch installer failed"; }
    notices+=(--nsis-log "$build/makensis-trial.log" --stage "$stage" --json "$build/third-party.json")
  fi
  "${notices[@]}" || die "no third-party notices for $arch"
  chmod 0644 "$stage/THIRD-PARTY-NOTICES.txt"
  touch -d "@$SOURCE_DATE_EPOCH" "$stage/THIRD-PARTY-NOTICES.txt"
}

third_party_sbom() {
  local arch="$1" build="$2" name="annuvia-$version-$1" tool tools=() signed=()
  [ "$signing" = 0 ] || signed=(--signed)
  # The tools that built the release: the compilers and binutils CMake used, NSIS and the signer.
  for tool in $(sed -n 's/^set(CMAKE_\(C\|CXX\|RC\)_COMPILER "\(.*\)")$/\2/p' "$build"/CMakeFiles/*/CMake*Compiler.cmake) \
              $(sed -n 's/^CMAKE_LINKER:[A-Z]*=//p' "$build/CMakeCache.txt") \
              "$(command -v makensis)" "$(if [ "$signing" = 1 ]; then command -v osslsigncode; fi)"; do
    [ -z "$tool" ] || tools+=(--tool "$tool")
  done
  python3 "$src/scripts/third-party.py" sbom --parts "$build/third-party.json" --exe "$build/stage/annuvia.exe" \
          --zip "$dist/$name.zip" --setup "$dist/$name-setup.exe" --version "$version" --publisher "$publisher" \
          --arch "$arch" --epoch "$SOURCE_DATE_EPOCH" "${signed[@]}" "${tools[@]}" --out "$dist/$name.cdx.json" ||
    die "no bill of materials for $arch"
  node "$third_party_tools/validate.mjs" "$dist/$name.cdx.json" >"$build/sbom-check.log" 2>&1 ||
    { cat "$build/sbom-check.log" >&2; die "the bill of materials for $arch does not validate"; }
}
