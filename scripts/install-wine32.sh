#!/usr/bin/env bash
# Makes 32-bit Windows programs run under Wine here, for the i686 tests:
# Debian's 32-bit Wine (wine32:i386, wine32-preloader:i386) beside wine64 and,
# where the kernel refuses 32-bit code, qemu-user 10 or later registered for
# i386 ELF through binfmt_misc. Installs only what is missing (as root, or
# through sudo) and is safe to run again.
# On standard output it says how 32-bit programs run here: "native", "qemu",
# or "unavailable: REASON" when the 32-bit Wine cannot be had for a reason that
# no script can mend (apt refuses to install it, or programs cannot run from
# the build tree); it then still exits 0. Any other failure exits 1 and says
# which step failed. What it does goes to standard error.
#
# What it leaves on the machine: the packages it installed, and, where qemu is
# needed, a binfmt_misc entry of its own named annuvia-qemu-i386 (that name is
# how it knows the entry is its own: it never changes or removes any other
# entry, and never switches one off). The i386 architecture is added only to
# install the 32-bit Wine, and taken back when nothing i386 got installed.
set -Eeuo pipefail
exec 3>&1 1>&2
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
# shellcheck source=packages.sh
source "$root/scripts/packages.sh"
# shellcheck source=binfmt.sh
source "$root/scripts/binfmt.sh"

trap 'echo "install-wine32: \"$BASH_COMMAND\" failed (exit $?, line $LINENO)"; exit 1' ERR
trap 'echo "install-wine32: interrupted"; exit 130' INT
trap 'echo "install-wine32: terminated"; exit 143' TERM HUP

unavailable() {
  echo "install-wine32: $1"
  echo "unavailable: $1" >&3
  exit 0
}

# The probes run from the build tree, not from a temporary folder, which may
# be on a file system mounted noexec. A copy of the machine's own `true` shows
# first that programs can run from there at all.
probes="$root/build/wine32-probes"
added_i386=0
cleanup() {
  rm -rf "$probes"
  # The architecture goes again if this run added it and nothing of it got in.
  if [ "$added_i386" = 1 ] && [ -z "$(dpkg-query -W -f='${Architecture} ${db:Status-Status}\n' 2>/dev/null |
                                      awk '$1 == "i386" && $2 != "not-installed"')" ]; then
    echo "Taking the i386 architecture back, as nothing of it was installed"
    as_root dpkg --remove-architecture i386 || echo "install-wine32: dpkg would not remove the i386 architecture"
  fi
}
trap cleanup EXIT
rm -rf "$probes"
mkdir -p "$probes"
cp /bin/true "$probes/control"
if ! "$probes/control" 2>/dev/null; then
  unavailable "programs cannot run from $probes (is its file system mounted noexec?); nothing was registered"
fi

# Two copies of a tiny 32-bit program: "any" has the header of every i386
# program, so it runs however this machine runs them (natively, or through
# any binfmt_misc entry); "own" differs from it in the last padding byte of
# e_ident, which the kernel's own loader ignores and every qemu-i386 entry's
# mask requires to be 0, so only the kernel itself can run it.
binfmt_write_probe "$probes/any" 0
binfmt_write_probe "$probes/own" 1
kernel_runs_32bit() {
  if binfmt_caught "$probes/own"; then
    echo "A binfmt_misc entry takes even the padded probe, so whether the kernel runs 32-bit code itself cannot be told: taking it that it does not"
    return 1
  fi
  binfmt_probe_runs "$probes/own"
}

entry="$binfmt_dir/annuvia-qemu-i386"
if kernel_runs_32bit; then
  echo "32-bit programs run here natively"
  if [ -e "$entry" ]; then
    echo "Removing the annuvia-qemu-i386 entry of an earlier run: the kernel runs 32-bit code itself"
    binfmt_set "$entry" -1
  fi
  need_qemu=0
else
  echo "The kernel does not run 32-bit code itself: 32-bit programs need qemu-user"
  need_qemu=1
fi

wine32=(wine32:i386 wine32-preloader:i386)
wine32_missing=0
for p in "${wine32[@]}"; do package_installed "$p" || wine32_missing=1; done
if [ "$wine32_missing" = 1 ]; then
  if ! grep -qx i386 <<<"$(dpkg --print-foreign-architectures)"; then
    echo "Adding the i386 architecture"
    as_root dpkg --add-architecture i386
    added_i386=1
  fi
  if ! ensure_packages --no-install-recommends -- "${wine32[@]}"; then
    unavailable "apt cannot install wine32:i386 ($packages_error)"
  fi
fi

# Wine needs qemu 10 or later; Debian 12's own qemu is 7.2, so there it comes
# from bookworm-backports, on the Debian mirror this machine uses (as apt
# itself names it), given to that one apt call alone: nothing is added to the
# machine's sources.
qemu_ok() {
  package_installed qemu-user && [ -x /usr/bin/qemu-i386 ] &&
    dpkg --compare-versions "$(dpkg-query -W -f='${Version}' qemu-user)" ge 1:10
}
install_qemu() {
  local options=() from="" release uri lists="$probes/apt"
  release="$(. /etc/os-release && echo "${ID:-}/${VERSION_CODENAME:-}")"
  if [ "$release" = debian/bookworm ]; then
    packages_update
    if [ -z "$(debian_uri bookworm-backports)" ]; then
      uri="$(debian_uri bookworm)"
      [ -n "$uri" ] || unavailable "apt knows no Debian 12 source (Origin Debian, Codename bookworm) to take bookworm-backports from"
      mkdir -p "$lists/parts" "$lists/lists/partial"
      cp /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources "$lists/parts/" 2>/dev/null || true
      {
        echo "Types: deb"
        echo "URIs: $uri"
        echo "Suites: bookworm-backports"
        echo "Components: main"
        [ ! -f /usr/share/keyrings/debian-archive-keyring.gpg ] ||
          echo "Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg"
      } >"$lists/parts/annuvia-backports.sources"
      options=(-o "Dir::Etc::SourceParts=$lists/parts" -o "Dir::State::Lists=$lists/lists"
               -o Dir::Cache::pkgcache= -o Dir::Cache::srcpkgcache=)
    fi
    options+=(-t bookworm-backports)
    from=" from bookworm-backports"
  fi
  package_check=qemu_ok
  ensure_packages --no-install-recommends "${options[@]}" -- qemu-user ||
    unavailable "apt cannot install qemu-user 10 or later$from ($packages_error)"
  package_check=package_installed
}

if [ "$need_qemu" = 1 ]; then
  qemu_ok || install_qemu
  if binfmt_probe_runs "$probes/any"; then
    echo "32-bit programs run here through a binfmt_misc entry already"
  else
    # O: qemu gets the open file, P: the original argv[0], F: qemu is opened
    # now, so it works in any mount namespace.
    [ ! -e "$entry" ] || binfmt_set "$entry" -1  # ours, but not working
    binfmt_register annuvia-qemu-i386 /usr/bin/qemu-i386 OPF
    echo "Registered annuvia-qemu-i386 for 32-bit ELF programs"
    if ! binfmt_probe_runs "$probes/any"; then
      binfmt_set "$entry" -1
      echo "install-wine32: 32-bit programs do not run through qemu-user either; the annuvia-qemu-i386 entry is removed again"
      exit 1
    fi
  fi
  echo qemu >&3
else
  echo native >&3
fi
