#!/usr/bin/env bash
# Makes 32-bit Windows programs run under Wine here, for the i686 tests:
# Debian's 32-bit Wine (wine32:i386, wine32-preloader:i386) beside wine64 and,
# where the kernel refuses 32-bit code, qemu-user from bookworm-backports
# (Debian 12's own qemu 7.2 is too old for Wine) registered for i386 ELF
# through binfmt_misc. Installs only what is missing (as root, or through
# sudo) and is safe to run again. It prints how 32-bit programs run here,
# "native" or "qemu", on standard output, and what it does on standard error.
set -euo pipefail
exec 3>&1 1>&2

sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
as_root() { "${sudo_cmd[@]}" "$@"; }
installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }
# --no-remove: never take wine64 or anything else away to make room.
apt_install() { DEBIAN_FRONTEND=noninteractive as_root apt-get install -y -qq --no-install-recommends --no-remove "$@" </dev/null; }
started=$SECONDS

if ! dpkg --print-foreign-architectures | grep -qx i386; then
  echo "Adding the i386 architecture"
  as_root dpkg --add-architecture i386
fi

# A tiny static 32-bit Linux program (ELF header, one program header, then
# mov eax,1; mov ebx,41; inc ebx; mov ecx,ebx; int 0x80): it exits with 42
# when its code runs as 32-bit code. A kernel that loads it but runs it in
# 64-bit mode reads the inc as a prefix, and it exits with 41.
probe="$(mktemp)"
trap 'rm -f "$probe"' EXIT
printf '\177ELF\001\001\001\000\000\000\000\000\000\000\000\000' >"$probe"
printf '\002\000\003\000\001\000\000\000\124\200\004\010\064\000\000\000' >>"$probe"
printf '\000\000\000\000\000\000\000\000\064\000\040\000\001\000\000\000\000\000\000\000' >>"$probe"
printf '\001\000\000\000\000\000\000\000\000\200\004\010\000\200\004\010' >>"$probe"
printf '\143\000\000\000\143\000\000\000\005\000\000\000\000\020\000\000' >>"$probe"
printf '\270\001\000\000\000\273\051\000\000\000\103\211\331\315\200' >>"$probe"
chmod +x "$probe"
runs_32bit() { local rc=0; "$probe" 2>/dev/null || rc=$?; [ "$rc" -eq 42 ]; }

binfmt=/proc/sys/fs/binfmt_misc
qemu_entry="$binfmt/qemu-i386"
need_qemu=0
if [ -f "$qemu_entry" ] && grep -qx enabled "$qemu_entry"; then
  need_qemu=1  # 32-bit programs already go through qemu here
elif ! runs_32bit; then
  need_qemu=1
fi

# qemu 10 or later, from bookworm-backports.
qemu_ok() {
  installed qemu-user && [ -x /usr/bin/qemu-i386 ] &&
    dpkg --compare-versions "$(dpkg-query -W -f='${Version}' qemu-user)" ge 1:10
}
if [ "$need_qemu" = 1 ] && ! qemu_ok; then
  if ! grep -rqsE '^deb .*bookworm-backports' /etc/apt/sources.list /etc/apt/sources.list.d/; then
    echo "Adding bookworm-backports for qemu-user"
    echo 'deb http://deb.debian.org/debian bookworm-backports main' |
      as_root tee /etc/apt/sources.list.d/bookworm-backports.list >/dev/null
  fi
fi

missing=()
for p in wine32:i386 wine32-preloader:i386; do installed "$p" || missing+=("$p"); done
if [ ${#missing[@]} -gt 0 ] || { [ "$need_qemu" = 1 ] && ! qemu_ok; }; then
  as_root apt-get update -qq </dev/null ||
    echo "install-wine32: apt-get update reported errors; going on with the lists it has"
  if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    apt_install "${missing[@]}"
  fi
  if [ "$need_qemu" = 1 ] && ! qemu_ok; then
    echo "Installing: qemu-user (bookworm-backports)"
    apt_install -t bookworm-backports qemu-user
  fi
  echo "Installed the 32-bit Wine in $((SECONDS - started)) s"
fi

if [ "$need_qemu" = 1 ] && ! { [ -f "$qemu_entry" ] && grep -qx enabled "$qemu_entry"; }; then
  [ -e "$binfmt/register" ] || as_root mount -t binfmt_misc binfmt_misc "$binfmt"
  # i386 ELF executables and shared objects; O: qemu gets the open file,
  # P: the original argv[0], F: qemu is opened now, so it works in any mount namespace.
  magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
  mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
  [ -f "$qemu_entry" ] && printf '%s' -1 | as_root tee "$qemu_entry" >/dev/null
  printf '%s' ":qemu-i386:M::$magic:$mask:/usr/bin/qemu-i386:OPF" | as_root tee "$binfmt/register" >/dev/null
  echo "Registered qemu-i386 for 32-bit ELF programs"
fi
if ! runs_32bit; then
  echo "install-wine32: 32-bit programs still do not run" >&2
  exit 1
fi
if [ "$need_qemu" = 1 ]; then echo qemu >&3; else echo native >&3; fi
