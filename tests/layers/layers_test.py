#!/usr/bin/env python3
"""The layers of src/ include only what lies below them:
core (portable, no Windows headers) <- win32 <- forms <- windows <- app.
A window's folder includes no other window's; the windows share only the
files at the top of src/windows/ (the program interface, shared captions)."""
import pathlib
import re
import sys

below = {
    "core": {"core"},
    "win32": {"core", "win32"},
    "forms": {"core", "win32", "forms", "resource.h"},
    "windows": {"core", "win32", "forms", "resource.h", "windows"},
    "app": {"core", "win32", "forms", "resource.h", "windows", "app"},
}
src = pathlib.Path(sys.argv[1])
faults = []
for path in sorted(src.rglob("*")):
    if path.suffix not in (".h", ".cpp", ".in"):
        continue
    rel = path.relative_to(src).parts
    layer = rel[0]
    text = path.read_text(encoding="utf-8")
    for inc in re.findall(r'#include "([^"]+)"', text):
        parts = inc.split("/")
        if parts[0] not in below.get(layer, set()):
            faults.append(f"{path}: {inc} lies above or beside it")
        elif layer == "windows" and parts[0] == "windows" and len(parts) > 2 and len(rel) > 2 and parts[1] != rel[1]:
            faults.append(f"{path}: {inc} belongs to another window")
    if layer == "core" and re.search(r"#include <(windows|commctrl|shellapi)\.h>", text):
        faults.append(f"{path}: the portable core includes a Windows header")
print("\n".join(faults) if faults else f"layers hold in {src}")
sys.exit(1 if faults else 0)
