#!/usr/bin/env bash
# Makes 32-bit Windows programs run under Wine here, for the i686 tests:
# Debian's 32-bit Wine (wine32:i386, wine32-preloader:i386) beside wine64 and,
# where the kernel refuses 32-bit code, qemu-user 10 or later registered for
# i386 ELF through binfmt_misc. Installs only what is missing (as root, or
# through sudo) and is safe to run again.
# On standard output it says how 32-bit programs run here: "native", "qemu",
# or "unavailable: REASON" when the 32-bit Wine cannot be had for a reason that
# no script can mend (apt refuses to install it, or programs cannot run from
# the build tree); it then still exits 0. Any other failure exits 1. What it
# does goes to standard error.
set -euo pipefail
exec 3>&1 1>&2
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
# shellcheck source=packages.sh
source "$root/scripts/packages.sh"

unavailable() {
  echo "install-wine32: $1"
  echo "unavailable: $1" >&3
  exit 0
}

# The probes run from the build tree, not from a temporary folder, which may
# be on a file system mounted noexec. A copy of the machine's own `true` shows
# first that programs can run from there at all.
probes="$root/build/wine32-probes"
rm -rf "$probes"
mkdir -p "$probes"
trap 'rm -rf "$probes"' EXIT
cp /bin/true "$probes/control"
if ! "$probes/control" 2>/dev/null; then
  unavailable "programs cannot run from $probes (is its file system mounted noexec?); nothing was registered"
fi

# A tiny static 32-bit Linux program (ELF header, one program header, then
# mov eax,1; mov ebx,41; inc ebx; mov ecx,ebx; int 0x80): it exits with 42
# when its code runs as 32-bit code. A kernel that loads it but runs it in
# 64-bit mode reads the inc as a prefix, and it exits with 41.
probe="$probes/probe32"
printf '\177ELF\001\001\001\000\000\000\000\000\000\000\000\000' >"$probe"
printf '\002\000\003\000\001\000\000\000\124\200\004\010\064\000\000\000' >>"$probe"
printf '\000\000\000\000\000\000\000\000\064\000\040\000\001\000\000\000\000\000\000\000' >>"$probe"
printf '\001\000\000\000\000\000\000\000\000\200\004\010\000\200\004\010' >>"$probe"
printf '\143\000\000\000\143\000\000\000\005\000\000\000\000\020\000\000' >>"$probe"
printf '\270\001\000\000\000\273\051\000\000\000\103\211\331\315\200' >>"$probe"
chmod +x "$probe"
runs_32bit() { local rc=0; "$probe" 2>/dev/null || rc=$?; [ "$rc" -eq 42 ]; }

# A qemu-i386 entry in binfmt_misc sends every 32-bit program of the machine
# to qemu. The one this script registers names /usr/bin/qemu-i386 with flags
# O, P and F (the kernel lists them in its own order); one left by an earlier
# run does not by itself mean that qemu is needed.
binfmt=/proc/sys/fs/binfmt_misc
entry="$binfmt/qemu-i386"
entry_enabled() { grep -qsx enabled "$entry"; }
entry_ours() { grep -qsx 'interpreter /usr/bin/qemu-i386' "$entry" && grep -qsxE 'flags: [OPF]{3}' "$entry"; }
set_entry() { printf '%s' "$1" | as_root tee "$entry" >/dev/null; }  # 1 on, 0 off, -1 removed

need_qemu=0
if entry_enabled; then
  need_qemu=1
  if entry_ours; then
    set_entry 0
    if runs_32bit; then
      echo "The kernel runs 32-bit code itself: removing the qemu-i386 entry of an earlier run"
      set_entry -1
      need_qemu=0
    else
      set_entry 1
    fi
  fi
elif ! runs_32bit; then
  need_qemu=1
fi
echo "32-bit programs run here $([ "$need_qemu" = 1 ] && echo "only through qemu-user" || echo natively)"

if ! dpkg --print-foreign-architectures | grep -qx i386; then
  echo "Adding the i386 architecture"
  as_root dpkg --add-architecture i386
fi
if ! ensure_packages --no-install-recommends -- wine32:i386 wine32-preloader:i386; then
  unavailable "apt cannot install wine32:i386 ($packages_error)"
fi

# Wine needs qemu 10 or later; Debian 12's own qemu is 7.2, so there it comes
# from bookworm-backports, on the mirror the machine's own sources name, given
# to that one apt call alone: nothing is added to the machine's sources.
qemu_ok() {
  package_installed qemu-user && [ -x /usr/bin/qemu-i386 ] &&
    dpkg --compare-versions "$(dpkg-query -W -f='${Version}' qemu-user)" ge 1:10
}
# The URI of the machine's first Debian source for SUITE, in either format.
source_uri() {
  local suite=$1 f
  {
    for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
      [ -f "$f" ] || continue
      awk -v suite="$suite" '$1 == "deb" {
        i = 2
        if ($i ~ /^\[/) { while (i < NF && $i !~ /\]$/) i++; i++ }
        if ($(i + 1) == suite) { print $i; exit }
      }' "$f"
    done
    for f in /etc/apt/sources.list.d/*.sources; do
      [ -f "$f" ] || continue
      awk -v suite="$suite" 'BEGIN { RS = ""; FS = "\n" } {
        uris = ""; suites = ""; on = 1
        for (k = 1; k <= NF; k++) {
          if ($k ~ /^URIs:/) uris = $k
          if ($k ~ /^Suites:/) suites = $k
          if ($k ~ /^Enabled: *[Nn]o/) on = 0
        }
        sub(/^Suites:/, "", suites)
        if (on && index(" " suites " ", " " suite " ")) { sub(/^URIs: */, "", uris); split(uris, u, " "); print u[1]; exit }
      }' "$f"
    done
  } | head -n 1
}
install_qemu() {
  local options=() from="" release
  release="$(. /etc/os-release && echo "${ID:-}/${VERSION_CODENAME:-}")"
  if [ "$release" = debian/bookworm ]; then
    if [ -z "$(source_uri bookworm-backports)" ]; then
      local uri lists="$probes/apt"
      uri="$(source_uri bookworm)"
      [ -n "$uri" ] || unavailable "no Debian 12 source in the machine's apt sources to take bookworm-backports from"
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
[ "$need_qemu" = 0 ] || qemu_ok || install_qemu

registered=0
if [ "$need_qemu" = 1 ] && ! entry_enabled; then
  [ -e "$binfmt/register" ] || as_root mount -t binfmt_misc binfmt_misc "$binfmt"
  # i386 ELF executables and shared objects; O: qemu gets the open file,
  # P: the original argv[0], F: qemu is opened now, so it works in any mount
  # namespace. Written to the kernel only, so it lasts until the next boot.
  magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
  mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
  [ ! -f "$entry" ] || set_entry -1
  printf '%s' ":qemu-i386:M::$magic:$mask:/usr/bin/qemu-i386:OPF" | as_root tee "$binfmt/register" >/dev/null
  registered=1
  echo "Registered qemu-i386 for 32-bit ELF programs"
fi
if ! runs_32bit; then
  if [ "$registered" = 1 ]; then
    set_entry -1
    echo "Removed the qemu-i386 entry again"
  fi
  echo "install-wine32: 32-bit programs still do not run" >&2
  exit 1
fi
if [ "$need_qemu" = 1 ]; then echo qemu >&3; else echo native >&3; fi
