# shellcheck shell=bash
# The kernel's binfmt_misc entries, for install-wine32.sh; sourced, not run.
# Needs as_root (packages.sh).
#   binfmt_write_probe FILE PAD  writes a tiny static 32-bit Linux program with
#                                PAD (0 to 7) as the last byte of e_ident
#   binfmt_probe_runs FILE       whether that program ran as 32-bit code
#   binfmt_catches ENTRY FILE    whether the entry, enabled, would take FILE
#   binfmt_caught FILE           whether any entry would take it
#   binfmt_register NAME INTERPRETER FLAGS
#                                an entry for i386 ELF programs (until the next boot)
#   binfmt_set ENTRY 1|0|-1      switches the entry on or off, or removes it

binfmt_dir=/proc/sys/fs/binfmt_misc

# ELF header, one program header, then mov eax,1; mov ebx,41; inc ebx;
# mov ecx,ebx; int 0x80: it exits with 42 when its code runs as 32-bit code.
# A kernel that loads it but runs it in 64-bit mode reads the inc as a prefix,
# and it exits with 41.
binfmt_write_probe() {
  {
    printf '\177ELF\001\001\001\000\000\000\000\000\000\000\000'
    printf '%b' "\\0$(printf %o "$2")"
    printf '\002\000\003\000\001\000\000\000\124\200\004\010\064\000\000\000'
    printf '\000\000\000\000\000\000\000\000\064\000\040\000\001\000\000\000\000\000\000\000'
    printf '\001\000\000\000\000\000\000\000\000\200\004\010\000\200\004\010'
    printf '\143\000\000\000\143\000\000\000\005\000\000\000\000\020\000\000'
    printf '\270\001\000\000\000\273\051\000\000\000\103\211\331\315\200'
  } >"$1"
  chmod +x "$1"
}

binfmt_probe_runs() {
  local rc=0
  "$1" 2>/dev/null || rc=$?
  [ "$rc" -eq 42 ]
}

# As the kernel matches: every byte of the magic, under the mask, at the offset.
binfmt_catches() {
  local line enabled=0 offset=0 magic="" mask="" head i m
  while IFS= read -r line; do
    case "$line" in
      enabled) enabled=1 ;;
      "offset "*) offset="${line#offset }" ;;
      "magic "*) magic="${line#magic }" ;;
      "mask "*) mask="${line#mask }" ;;
    esac
  done <"$1"
  [ "$enabled" = 1 ] && [ -n "$magic" ] || return 1
  head="$(od -An -v -tx1 -j "$offset" -N $((${#magic} / 2)) "$2")"
  head="${head//[$' \n']/}"
  [ "${#head}" -eq "${#magic}" ] || return 1
  for ((i = 0; i < ${#magic}; i += 2)); do
    m="${mask:i:2}"
    (( ((16#${head:i:2} ^ 16#${magic:i:2}) & 16#${m:-ff}) == 0 )) || return 1
  done
}

binfmt_caught() {
  local entry
  for entry in "$binfmt_dir"/*; do
    case "${entry##*/}" in register | status) continue ;; esac
    [ -f "$entry" ] || continue
    if binfmt_catches "$entry" "$1"; then return 0; fi
  done
  return 1
}

binfmt_register() {
  # i386 ELF executables and shared objects (the class, data, version and
  # type bytes as every qemu-i386 entry has them).
  local magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
  local mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
  [ -e "$binfmt_dir/register" ] || as_root mount -t binfmt_misc binfmt_misc "$binfmt_dir"
  printf '%s' ":$1:M::$magic:$mask:$2:$3" | as_root tee "$binfmt_dir/register" >/dev/null
}

binfmt_set() {
  printf '%s' "$2" | as_root tee "$1" >/dev/null
}
