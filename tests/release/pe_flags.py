#!/usr/bin/env python3
"""Reads an executable's PE headers: it must ask Windows for ASLR and DEP
(and, on 64-bit, high-entropy addresses), and keep the relocations that
moving it needs.   pe_flags.py annuvia.exe 64|32"""
import struct
import sys

DYNAMIC_BASE, NX_COMPAT, HIGH_ENTROPY_VA = 0x0040, 0x0100, 0x0020
RELOCS_STRIPPED = 0x0001

path, bits = sys.argv[1], int(sys.argv[2])
data = open(path, "rb").read()
pe = struct.unpack_from("<I", data, 0x3C)[0]
if data[pe:pe + 4] != b"PE\0\0":
    sys.exit(f"{path}: no PE header")
coff_flags = struct.unpack_from("<H", data, pe + 22)[0]
optional = pe + 24
magic, = struct.unpack_from("<H", data, optional)
if magic != (0x20B if bits == 64 else 0x10B):
    sys.exit(f"{path}: optional header magic {magic:#x} is not that of a {bits}-bit program")
flags, = struct.unpack_from("<H", data, optional + 70)
wanted = {"DYNAMIC_BASE": DYNAMIC_BASE, "NX_COMPAT": NX_COMPAT}
if bits == 64:
    wanted["HIGH_ENTROPY_VA"] = HIGH_ENTROPY_VA
# Data directory 5, the base relocations, after the fixed fields of the optional header.
relocations = struct.unpack_from("<II", data, optional + (112 if bits == 64 else 96) + 5 * 8)[1]
missing = [name for name, bit in wanted.items() if not flags & bit]
if coff_flags & RELOCS_STRIPPED or relocations == 0:
    missing.append("relocations")
print(f"{path}: DllCharacteristics {flags:#06x}, relocations {relocations} bytes")
if missing:
    sys.exit(f"{path}: missing {', '.join(missing)}")
print(f"{path}: " + ", ".join(wanted) + " and relocations present")
