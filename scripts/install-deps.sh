#!/usr/bin/env bash
# Installs what the build and the tests need from Debian's packages, when missing.
set -euo pipefail
# shellcheck source=packages.sh
source "$(dirname "${BASH_SOURCE[0]}")/packages.sh"
ensure_packages -- cmake make g++ libgtest-dev googletest \
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix \
  wine64 xvfb xauth imagemagick fonts-dejavu-core \
  clang-14 libclang-rt-14-dev lld-14 \
  git nsis python3 openssl osslsigncode shellcheck bats
