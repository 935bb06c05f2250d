#!/usr/bin/env python3
"""Names the third-party software in a release, from what really went into it.

    third-party.py notices --map MAP --link-dir DIR --build-dir DIR --objdump PROGRAM --arch win64|win32
                   --title TEXT [--nsis-log LOG --stage DIR] --out NOTICES.txt [--json PARTS.json]
        Reads the linker's map of annuvia.exe: every archive member and object
        file from outside the build folder that gave the program bytes, and
        with --nsis-log, what makensis put into the installer beside our own
        files (its log at -V4 with MUI_VERBOSE=4). Each is traced to the Debian
        package that installed it and, through the debug information of the
        object or the place NSIS keeps it, to its file in the upstream sources;
        the package's copyright file (/usr/share/doc/PACKAGE/copyright) gives
        the licence and the copyright lines of that file. Writes the notices,
        with Windows line ends, and the parts as JSON for the bill of materials.
        An object that no copyright stanza covers stops it, naming the object.
        A file whose folder the build did not record (the assembler's) is
        given the terms of every stanza that may cover a file of its name.

    third-party.py sbom --parts PARTS.json --exe FILE --zip FILE --setup FILE --version V
                   --publisher NAME --arch ARCH --epoch SECONDS [--signed] --tool PROGRAM... --out FILE
        Writes the CycloneDX 1.6 bill of materials of one architecture's
        release: the program, what is linked into it, the zip and the
        installer that carry it, and the tools that built them. Its time is
        SOURCE_DATE_EPOCH and its serial number is derived from the version and
        the program's hash, so the same build gives the same bytes.
"""

import argparse
import collections
import hashlib
import json
import os
import re
import shutil
import subprocess
import sys
import textwrap
import time
import uuid

DEP5_FORMAT = "https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/"

# Debian's short licence names as SPDX expressions; a name without an SPDX
# identifier of its own becomes a LicenseRef.
SPDX = {
    "ZPL-2.1": "ZPL-2.1",
    "expat": "MIT",
    "Expat": "MIT",
    "Zlib": "Zlib",
    "ISC": "ISC",
    "BSD-3-clause": "BSD-3-Clause",
    "BSD-2-clause-NetBSD": "BSD-2-Clause",
    "bzip2-libbzip-2010": "bzip2-1.0.6",
    "GPL-2+": "GPL-2.0-or-later",
    "GPL-3+": "GPL-3.0-or-later",
    "LGPL-2+": "LGPL-2.0-or-later",
    "LGPL-2.1+": "LGPL-2.1-or-later",
}
GCC_RUNTIME = "GPL-3.0-or-later WITH GCC-exception-3.1"

# The members of GCC's runtime archives carry no debug information: the
# archive names the runtime library of GCC's sources it was built from.
GCC_LIBRARIES = {
    "libgcc.a": "libgcc", "libgcc_eh.a": "libgcc", "crtbegin.o": "libgcc", "crtend.o": "libgcc",
    "crtfastmath.o": "libgcc", "libstdc++.a": "libstdc++-v3", "libsupc++.a": "libstdc++-v3",
}

# What NSIS builds each of its installed pieces from, in its own sources; the
# rest of what an installer takes from NSIS (dialogs, pictures, language
# files) is installed under the same name it has there.
NSIS_STUB = ["Source/exehead/" + f for f in
             ("Main.c", "Ui.c", "bgbg.c", "components.c", "exec.c", "fileform.c", "plugin.c", "util.c",
              "resource.rc")] + ["Source/crc32.c"]
NSIS_DECOMPRESSORS = {
    "zlib": ["Source/zlib/INFBLOCK.C"],
    "bzip2": ["Source/bzip2/bzlib.c", "Source/bzip2/decompress.c", "Source/bzip2/huffman.c"],
    "lzma": ["Source/7zip/LZMADecode.c"],
}
NSIS_PLUGINS = {  # the 32-bit System plug-in adds its hand-written call code
    "System.dll": ["Contrib/System/Source/System.c", "Contrib/System/Source/Buffers.c",
                   "Contrib/System/Source/Plugin.c", "Contrib/ExDLL/pluginapi.c"],
    "nsDialogs.dll": ["Contrib/nsDialogs/nsDialogs.c", "Contrib/nsDialogs/browse.c",
                      "Contrib/nsDialogs/input.c", "Contrib/nsDialogs/rtl.c", "Contrib/ExDLL/pluginapi.c"],
}
NSIS_PLUGINS_X86 = {"System.dll": ["Contrib/System/Source/Call.S"]}

# Where mingw-w64's C runtime keeps the definitions its import libraries are
# made from (the members of an import library carry no debug information).
IMPORT_DEFINITIONS = ["mingw-w64-crt/lib-common/{0}.def", "mingw-w64-crt/lib-common/{0}.def.in",
                      "mingw-w64-crt/{1}/{0}.def"]

# Inputs that ld makes itself rather than reads from a file.
LINKER_MADE = {"dll stuff", "linker stubs"}
# Sections that take no bytes in the file.
NO_FILE_BYTES = {".bss", "COMMON"}


class Stop(Exception):
    pass


def read(path):
    with open(path, encoding="utf-8", errors="replace") as f:
        return f.read()


def run(*command):
    return subprocess.run(command, check=True, capture_output=True, text=True).stdout


# --- Debian packages ---------------------------------------------------------

_owners = {}


def owner(path):
    """The package that installed path, its version and its architecture."""
    if path not in _owners:
        found = None
        for candidate in dict.fromkeys((path, os.path.realpath(path))):
            result = subprocess.run(["dpkg-query", "-S", candidate], capture_output=True, text=True)
            if result.returncode == 0:
                found = result.stdout.split(":")[0].split(",")[0].strip()
                break
        if not found:
            raise Stop("%s comes from no Debian package" % path)
        version, arch = run("dpkg-query", "-W", "-f=${Version} ${Architecture}", found).split()
        _owners[path] = (found, version, arch)
    return _owners[path]


def purl(package, version, arch):
    # As packageurl-js writes it: '+' is encoded in the name and kept in the version.
    quote = lambda s, keep: re.sub(r"[^A-Za-z0-9.\-_~%s]" % keep, lambda m: "%%%02X" % ord(m.group()), s)
    return "pkg:deb/debian/%s@%s?arch=%s&distro=%s" % (quote(package, ""), quote(version, "+:"), arch,
                                                       debian_release())


def debian_release():
    fields = dict(re.findall(r'^(\w+)="?([^"\n]*)"?$', read("/etc/os-release"), re.M))
    return "debian-" + fields.get("VERSION_ID", "unknown")


# --- Copyright files ---------------------------------------------------------

def dep5_text(lines):
    """The text of a field's continuation lines, as written."""
    out = []
    for line in lines:
        line = line[1:] if line[:1] in (" ", "\t") else line
        out.append("" if line.strip() == "." else line.rstrip())
    return out


def common_license(text):
    """Licence text that only points at /usr/share/common-licenses gets that file's text."""
    files = re.findall(r"/usr/share/common-licenses/[A-Za-z0-9.+-]+", "\n".join(text))
    if not files:
        return text
    return [line.rstrip() for f in files for line in read(f).splitlines()]


class CopyrightFile:
    def __init__(self, path):
        self.path = path
        self.raw = read(path)
        self.dep5 = self.raw.startswith("Format: " + DEP5_FORMAT)
        self.stanzas, self.licenses, self.header = [], {}, {}
        if self.dep5:
            self._parse_dep5()

    def _parse_dep5(self):
        for number, block in enumerate(re.split(r"\n\s*\n", self.raw)):
            fields, name = collections.OrderedDict(), None
            for line in block.splitlines():
                if line[:1] in (" ", "\t") and name:
                    fields[name].append(line)
                elif ":" in line:
                    name, value = line.split(":", 1)
                    fields[name] = [value.strip()]
            if number == 0:
                self.header = {k: v[0] for k, v in fields.items()}
            elif "Files" in fields:
                patterns = " ".join([fields["Files"][0]] + [l.strip() for l in fields["Files"][1:]]).split()
                self.stanzas.append({
                    "index": len(self.stanzas), "patterns": patterns,
                    "regex": re.compile("|".join("(?:%s)" % re.escape(p).replace(r"\*", ".*").replace(r"\?", ".")
                                                 for p in patterns) + r"\Z"),
                    "copyright": [l.strip() for l in [fields["Copyright"][0]] + fields["Copyright"][1:]
                                  if l.strip()],
                    "license": fields["License"][0], "text": dep5_text(fields["License"][1:])})
            elif "License" in fields:
                self.licenses[fields["License"][0]] = dep5_text(fields["License"][1:])
        self.roots = {p.split("/")[0] for s in self.stanzas for p in s["patterns"] if "/" in p}

    def stanza(self, path):
        """The stanza that covers path: the last one whose patterns match it."""
        found = None
        for s in self.stanzas:
            if s["regex"].match(path):
                found = s
        return found

    def stanzas_of_name(self, name, root):
        """The stanzas that may cover a file called name in some folder under root."""
        glob = lambda p: re.compile(re.escape(p).replace(r"\*", ".*").replace(r"\?", ".") + r"\Z")
        return [s for s in self.stanzas
                if any((p == "*" or p.startswith(root + "/")) and glob(p.split("/")[-1]).match(name)
                       for p in s["patterns"])]

    def license_text(self, stanza):
        if any(l.strip() for l in stanza["text"]):
            return common_license(stanza["text"])
        text = []
        for name in re.split(r"\s+(?:and|or)\s+|,\s*", stanza["license"]):
            if name not in self.licenses:
                raise Stop("%s names the licence %s but gives no text for it" % (self.path, name))
            text += ([""] if text else []) + common_license(self.licenses[name])
        return text

    def upstream_path(self, path):
        """path (a build machine's path of a source file) from the top of the upstream sources."""
        parts = os.path.normpath(path).split("/")
        for i, part in enumerate(parts):
            if part in self.roots:
                return "/".join(parts[i:])
        return None

    def gcc(self, library):
        """GCC's copyright file is free text: its runtime libraries carry the runtime library exception."""
        listed = re.search(r"following runtime libraries are licensed.*?\n\n(.*?)\n\n", self.raw, re.S)
        if not listed or not re.search(r"^ - %s\b" % re.escape(library), listed.group(1), re.M):
            return None
        holder = re.search(r"GCC is (Copyright \(C\) .*?Free Software Foundation, Inc\.)", self.raw, re.S)
        exception = re.search(r"^GCC RUNTIME LIBRARY EXCEPTION\n.*?copyleft\s+requirements\s+of\s+the\s+license\s+of\s+GCC\.\n",
                              self.raw, re.S | re.M)
        if not holder or not exception:
            return None
        gpl = common_license(["/usr/share/common-licenses/GPL-3"])
        return {"index": library, "license": "GPL-3+ with GCC Runtime Library Exception 3.1", "spdx": GCC_RUNTIME,
                "copyright": [" ".join(holder.group(1).split())],
                "text": exception.group(0).rstrip().splitlines() + ["", ""] + gpl}


_copyrights = {}


def copyright_file(package):
    path = "/usr/share/doc/%s/copyright" % package
    if path not in _copyrights:
        if not os.path.exists(path):
            raise Stop("the package %s has no copyright file %s" % (package, path))
        _copyrights[path] = CopyrightFile(path)
    return _copyrights[path]


# --- The link map ------------------------------------------------------------

def map_inputs(path):
    """Bytes in the image per input file of the link (archive(member) or object), as the map names them."""
    text = read(path)
    start = text.find("\nLinker script and memory map")
    if start < 0:
        raise Stop("%s is not a linker map" % path)
    sizes = collections.Counter()
    output, pending = None, None
    for line in text[start:].splitlines():
        top = re.match(r"^(\.\S+|/DISCARD/)", line)
        if top:
            output, pending = top.group(1), None
            continue
        one = re.match(r"^ (\.\S+|COMMON)\s+0x[0-9a-f]+\s+0x([0-9a-f]+)\s+(\S.*)$", line)
        two = re.match(r"^\s+0x[0-9a-f]+\s+0x([0-9a-f]+)\s+(\S.*)$", line) if pending else None
        if one:
            section, size, name = one.groups()
        elif two:
            (size, name), section = two.groups(), pending
        else:
            pending = (re.match(r"^ (\.\S+|COMMON)$", line) or [None, None])[1]
            continue
        pending = None
        if not output or output.startswith((".debug", ".zdebug", ".stab", "/DISCARD/")):
            continue
        if section.split("$")[0] in NO_FILE_BYTES:
            continue
        sizes[name.strip()] += int(size, 16)
    return {name: size for name, size in sizes.items() if size > 0}


def objdump_members(objdump, path):
    """Per member of an archive (or the object itself): its compilation unit's file and its section names."""
    members = collections.defaultdict(lambda: {"source": None, "sections": set()})
    current = os.path.basename(path)
    for line in run(objdump, "--dwarf=info", "--dwarf-depth=1", path).splitlines():
        m = re.match(r"^(\S.*?):\s+file format ", line)
        if m:
            current = os.path.basename(m.group(1))
            comp_dir, name = "", None
        m = re.search(r"DW_AT_(name|comp_dir)\s*:\s*(?:\(.*?\):\s*)?(.*)$", line)
        if m and members[current]["source"] is None:
            if m.group(1) == "comp_dir":
                comp_dir = m.group(2).strip()
            else:
                name = m.group(2).strip()
            if name and comp_dir:
                members[current]["source"] = os.path.join(comp_dir, name)
    for line in run(objdump, "-h", path).splitlines():
        m = re.match(r"^(\S.*?):\s+file format ", line)
        if m:
            current = os.path.basename(m.group(1))
        m = re.match(r"^\s+\d+\s+(\S+)\s+[0-9a-f]+", line)
        if m:
            members[current]["sections"].add(m.group(1))
    return members


def linked_parts(map_path, link_dir, build_dir, objdump, arch):
    """The third-party objects in the program, each with its package and covering stanza."""
    build_dir = os.path.realpath(build_dir)
    dumps, parts = {}, []
    for name, size in sorted(map_inputs(map_path).items()):
        m = re.match(r"^(.*?)\((.*)\)$", name)
        container, member = (m.group(1), m.group(2)) if m else (name, None)
        if name in LINKER_MADE:
            continue
        path = os.path.normpath(os.path.join(link_dir, container))
        if not os.path.exists(path):
            raise Stop("the map names %s, which is no file" % name)
        if os.path.realpath(path).startswith(build_dir + "/"):
            continue  # our own code
        package, version, package_arch = owner(path)
        copyright = copyright_file(package)
        what = os.path.basename(path)
        if copyright.dep5:
            if path not in dumps:
                dumps[path] = objdump_members(objdump, path)
            info = dumps[path][member or os.path.basename(path)]
            stanzas, source = [], None
            if info["source"]:
                source = copyright.upstream_path(info["source"])
                if source:
                    stanzas = [copyright.stanza(source)]
                else:
                    # The assembler records a file's name without its folder: each stanza
                    # that may cover a file of that name in the part of the sources its
                    # archive comes from counts.
                    source = os.path.basename(info["source"])
                    roots = {copyright.upstream_path(i["source"]).split("/")[0]
                             for i in dumps[path].values() if i["source"] and copyright.upstream_path(i["source"])}
                    stanzas = copyright.stanzas_of_name(source, roots.pop()) if len(roots) == 1 else []
            elif member and any(s.startswith(".idata$") for s in info["sections"]):
                stem = re.sub(r"^lib|\.a$", "", what)
                candidates = [c.format(stem, "lib64" if arch == "win64" else "lib32") for c in IMPORT_DEFINITIONS]
                found = {id(copyright.stanza(c)): copyright.stanza(c) for c in candidates}
                if len(found) == 1:
                    stanzas, source = list(found.values()), "%s.dll's import library" % stem
            if not stanzas or None in stanzas:
                raise Stop("no copyright stanza of %s covers %s%s" % (
                    copyright.path, name, " (source %s)" % info["source"] if info["source"] else
                    " (it names no source file)"))
            grants = [dict(s, spdx=spdx_of(s["license"]), text=copyright.license_text(s),
                           upstream=copyright.header.get("Upstream-Name", package)) for s in stanzas]
            if len(grants) > 1:
                grants = [unrecorded(grants)]
        else:
            library = GCC_LIBRARIES.get(what)
            grant = copyright.gcc(library) if library else None
            if grant is None:
                raise Stop("no part of %s covers %s" % (copyright.path, name))
            grants, source = [dict(grant, upstream="GCC")], member or what
        parts.append({"in": "annuvia.exe", "package": package, "version": version, "arch": package_arch,
                      "file": what, "member": member, "source": source, "bytes": size, "grant": grants[0]})
    return parts


def unrecorded(grants):
    """The grant of a file that any of several stanzas may cover: all of their terms."""
    unique = lambda items: list(dict.fromkeys(items))
    text = []
    for g in grants:
        text += (["", ""] if text else []) + ["%s:" % g["license"], ""] + g["text"]
    return {"index": "+".join(str(g["index"]) for g in grants), "upstream": grants[0]["upstream"],
            "license": " and ".join(unique(g["license"] for g in grants)),
            "spdx": " AND ".join(unique(g["spdx"] for g in grants)),
            "copyright": unique(c for g in grants for c in g["copyright"]), "text": text, "unrecorded": True}


# --- The installer -----------------------------------------------------------

def nsis_parts(log_path, stage):
    """What makensis put into the installer from NSIS itself, read from its log."""
    log = read(log_path)
    nsis_dir = run("makensis", "-HDRINFO")
    nsis_dir = re.search(r"NSISDIR=([^,\n]+)", nsis_dir).group(1).strip()
    target = re.search(r"^Target: (\S+)", log, re.M)
    target = target.group(1) if target else "x86-unicode"
    compressor = re.search(r"^SetCompressor: (/SOLID )?(?:/FINAL )?(\w+)", log, re.M)
    solid, compressor = (bool(compressor.group(1)), compressor.group(2)) if compressor else (False, "zlib")
    relative = lambda p: os.path.relpath(p, nsis_dir)
    pieces = [("Stubs/%s%s-%s" % (compressor, "_solid" if solid else "", target),
               NSIS_STUB + NSIS_DECOMPRESSORS[compressor], "the installer's and the uninstaller's own code")]
    for m in re.finditer(r"^(?:ChangeUI: \S+|LoadLanguageFile:) (.+)$", log, re.M):
        pieces.append((relative(m.group(1).strip().replace("\\", "/")), None, None))
    own = set(os.listdir(stage))
    for m in re.finditer(r'^File: "([^"]+)"', log, re.M):
        name = m.group(1)
        if name in own:
            continue
        before = log[:m.start()].replace("\\", "/")
        named = [p for p in re.findall(re.escape(nsis_dir) + r"/[^\"\n]*?" + re.escape(name) + r"(?=[\"\s]|$)", before)
                 if os.path.basename(p) == name and os.path.isfile(p)]
        path = named[-1] if named else os.path.join(nsis_dir, "Plugins", target, name)
        if not os.path.isfile(path):
            raise Stop("the installer takes %s from NSIS, which is not among its files" % name)
        sources = None
        if path.endswith(".dll"):
            if name not in NSIS_PLUGINS:
                raise Stop("the installer takes the NSIS plug-in %s, whose sources are not known here" % name)
            sources = NSIS_PLUGINS[name] + (NSIS_PLUGINS_X86.get(name, []) if target.startswith("x86") else [])
        pieces.append((relative(path), sources, None))
    parts = []
    for piece, sources, what in dict((p[0], p) for p in pieces).values():
        path = os.path.join(nsis_dir, piece)
        if not os.path.isfile(path):
            raise Stop("the installer takes %s from NSIS, which is not among its files" % path)
        package, version, package_arch = owner(path)
        copyright = copyright_file(package)
        for source in sources or [piece]:
            stanza = copyright.stanza(source) if copyright.dep5 else None
            if stanza is None:
                raise Stop("no copyright stanza of %s covers %s (in %s)" % (copyright.path, source, piece))
            grant = dict(stanza, spdx=spdx_of(stanza["license"]), text=copyright.license_text(stanza),
                         upstream=copyright.header.get("Upstream-Name", package))
            parts.append({"in": "setup", "package": package, "version": version, "arch": package_arch,
                          "file": piece, "member": None, "source": source, "bytes": os.path.getsize(path),
                          "grant": grant})
    return parts


# --- Components: one per package and licence grant ---------------------------

def spdx_of(name):
    names = re.split(r"\s+(and|or)\s+", name)
    out = []
    for i, n in enumerate(names):
        out.append(n.upper() if i % 2 else SPDX.get(n, "LicenseRef-" + re.sub(r"[^A-Za-z0-9.-]", "-", n)))
    return " ".join(out)


def components(parts):
    groups = collections.OrderedDict()
    for p in parts:
        key = (p["in"], p["package"], str(p["grant"]["index"]))
        groups.setdefault(key, []).append(p)
    out = []
    for (where, package, index), members in groups.items():
        grant = members[0]["grant"]
        sources = [m["source"] for m in members if "/" in m["source"]]
        common = os.path.commonpath([os.path.dirname(s) for s in sources]) if sources else ""
        name = grant["upstream"]
        if grant["upstream"] == "GCC":
            name += ": " + grant["index"]
        elif grant.get("unrecorded"):
            name += ": files whose folder the build did not record"
        elif common:
            name += ": " + "/".join(common.split("/")[:2])
        files = collections.OrderedDict()
        for m in members:
            files.setdefault(m["file"], [])
            if m["member"] or m["source"] != m["file"]:
                shown = os.path.basename(m["source"]) if "/" in m["source"] and " " not in m["source"] \
                    else m["source"]
                if shown not in files[m["file"]]:
                    files[m["file"]].append(shown)
        size = sum(m["bytes"] for m in members) if where == "annuvia.exe" else None
        out.append({"ref": "%s:%s:%s" % (where, package, index), "in": where, "name": name,
                    "package": package, "version": members[0]["version"], "arch": members[0]["arch"],
                    "purl": purl(package, members[0]["version"], members[0]["arch"]),
                    "license": grant["license"], "spdx": grant["spdx"], "copyright": grant["copyright"],
                    "text": grant["text"], "bytes": size,
                    "files": [{"file": f, "parts": sorted(v)} for f, v in sorted(files.items())]})
    return sorted(out, key=lambda c: (c["in"] != "annuvia.exe", c["name"].lower(), c["spdx"], c["package"]))


def what_text(c):
    pieces = ["%s (%s)" % (f["file"], ", ".join(f["parts"])) if f["parts"] else f["file"] for f in c["files"]]
    if c["bytes"] is not None:
        return "%s bytes of annuvia.exe, from %s" % (format(c["bytes"], ","), "; ".join(pieces))
    return "the installer and the uninstall.exe it writes, from NSIS's " + "; ".join(pieces)


def write_notices(path, title, comps, installer):
    rule = "-" * 78
    lines = [title, "=" * len(title), ""]
    intro = ("annuvia.exe is one program file: besides Annuvia's own code it holds parts of the "
             "software below, which the linker took from the Debian packages named here when the program "
             "was built.")
    if installer:
        intro += (" The installer, and the uninstall.exe it writes, are made with NSIS, whose parts are "
                  "listed last.")
    intro += (" For each: what of it is in the program, its version (the Debian package's), its licence as "
              "an SPDX identifier, its copyright lines and the licence's full text, as these licences ask. "
              "Annuvia's own licence is in LICENSE.txt.")
    lines += textwrap.wrap(intro, 78) + ["", "Contents:"]
    for i, c in enumerate(comps, 1):
        lines.append("  %2d. %s (%s)" % (i, c["name"], c["spdx"]))
    texts = {}
    for i, c in enumerate(comps, 1):
        lines += ["", rule, "%d. %s" % (i, c["name"]), ""]
        field = lambda label, text: textwrap.wrap(text, 78, initial_indent=("%-11s" % label),
                                                  subsequent_indent=" " * 11, break_on_hyphens=False)
        lines += field("Version:", "%s (Debian package %s)" % (c["version"], c["package"]))
        lines += field("Linked in:" if c["bytes"] is not None else "Used in:", what_text(c))
        lines += field("Licence:", "%s (Debian: %s)" % (c["spdx"], c["license"]))
        for j, holder in enumerate(c["copyright"]):
            lines += field("Copyright:" if j == 0 else "", holder)
        # A licence whose text an earlier part gave already is named, not repeated.
        same = texts.setdefault("\n".join(c["text"]), i)
        lines += [""] + (c["text"] if same == i else ["The licence's text is the one given under %d above." % same])
    lines.append("")
    with open(path, "w", encoding="utf-8", newline="\r\n") as f:
        f.write("\n".join(l.rstrip() for l in lines))


# --- The bill of materials ---------------------------------------------------

def sha256(path):
    with open(path, "rb") as f:
        return hashlib.sha256(f.read()).hexdigest()


def write_sbom(args):
    data = json.loads(read(args.parts))
    comps = data["components"]
    exe_hash = sha256(args.exe)
    supplier = {"name": args.publisher}
    stamp = time.strftime("%Y-%m-%dT%H:%M:%SZ", time.gmtime(int(args.epoch)))
    serial = uuid.uuid5(uuid.NAMESPACE_URL, "annuvia:%s:%s:%s" % (args.version, args.arch, exe_hash))
    bits = "64" if args.arch == "win64" else "32"

    def part(c):
        out = {"bom-ref": c["ref"], "type": "library", "supplier": {"name": "Debian"},
               "name": c["name"], "version": c["version"], "description": what_text(c),
               "licenses": [{"expression": c["spdx"]}], "copyright": "\n".join(c["copyright"]), "purl": c["purl"],
               "properties": [{"name": "annuvia:debian-package", "value": c["package"]},
                              {"name": "annuvia:debian-licence", "value": c["license"]}]}
        if c["bytes"] is not None:
            out["properties"].append({"name": "annuvia:bytes-in-program", "value": str(c["bytes"])})
        return out

    def file_component(ref, kind, path, description, nested=()):
        out = {"bom-ref": ref, "type": kind, "supplier": supplier, "publisher": args.publisher,
               "name": os.path.basename(path), "version": args.version, "description": description,
               "hashes": [{"alg": "SHA-256", "content": sha256(path)}]}
        if nested:
            out["components"] = list(nested)
        return out

    exe = dict(file_component("annuvia.exe", "application", args.exe,
                              "Annuvia %s for %s-bit Windows, %s" % (args.version, bits, "signed (Authenticode)"
                                                                     if args.signed else "not signed"),
                              [part(c) for c in comps if c["in"] == "annuvia.exe"]),
               properties=[{"name": "annuvia:signed", "value": "true" if args.signed else "false"}])
    exe["licenses"] = [{"license": {"name": "Annuvia licence (LICENSE.txt)"}}]
    zip_name, setup_name = os.path.basename(args.zip), os.path.basename(args.setup)
    zipped = file_component(zip_name, "file", args.zip, "The zip: annuvia.exe, to use without installing")
    setup = file_component(setup_name, "application", args.setup, "The per-user installer of annuvia.exe",
                           [part(c) for c in comps if c["in"] == "setup"])
    tools = []
    for program in args.tool:
        package, version, arch = owner(shutil.which(program) or program)
        ref = "tool:" + package
        if ref not in {t["bom-ref"] for t in tools}:
            tools.append({"bom-ref": ref, "type": "application", "supplier": {"name": "Debian"}, "name": package,
                          "version": version, "purl": purl(package, version, arch),
                          "description": "builds the release: " + os.path.basename(program)})
    tools.sort(key=lambda t: t["bom-ref"])
    release = "annuvia-%s-%s" % (args.version, args.arch)
    bom = {
        "$schema": "http://cyclonedx.org/schema/bom-1.6.schema.json",
        "bomFormat": "CycloneDX", "specVersion": "1.6", "serialNumber": "urn:uuid:%s" % serial, "version": 1,
        "metadata": {
            "timestamp": stamp, "supplier": supplier,
            "component": {"bom-ref": release, "type": "application", "supplier": supplier,
                          "publisher": args.publisher, "name": "Annuvia", "version": args.version,
                          "description": "Annuvia %s for %s-bit Windows: the installer and the zip" %
                                         (args.version, bits)},
        },
        "components": [exe, zipped, setup],
        "dependencies": [
            {"ref": release, "dependsOn": [setup_name, zip_name]},
            {"ref": zip_name, "dependsOn": ["annuvia.exe"]},
            {"ref": setup_name, "dependsOn": sorted(["annuvia.exe"] + [c["ref"] for c in comps if c["in"] == "setup"])},
            {"ref": "annuvia.exe", "dependsOn": sorted(c["ref"] for c in comps if c["in"] == "annuvia.exe")},
        ] + [{"ref": c["ref"]} for c in comps] + [{"ref": t["bom-ref"]} for t in tools],
        "formulation": [{"bom-ref": "build", "components": tools,
                         "properties": [{"name": "annuvia:build", "value": "scripts/release.sh, SOURCE_DATE_EPOCH=%s"
                                         % args.epoch}]}],
    }
    with open(args.out, "w", encoding="utf-8", newline="\n") as f:
        json.dump(bom, f, indent=2, ensure_ascii=False)
        f.write("\n")


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    sub = parser.add_subparsers(dest="command", required=True)
    n = sub.add_parser("notices")
    for option in ("--map", "--link-dir", "--build-dir", "--objdump", "--title", "--out", "--arch"):
        n.add_argument(option, required=True)
    n.add_argument("--nsis-log")
    n.add_argument("--stage")
    n.add_argument("--json")
    s = sub.add_parser("sbom")
    for option in ("--parts", "--exe", "--zip", "--setup", "--version", "--publisher", "--arch", "--epoch", "--out"):
        s.add_argument(option, required=True)
    s.add_argument("--signed", action="store_true")
    s.add_argument("--tool", action="append", default=[])
    args = parser.parse_args(argv[1:])
    try:
        if args.command == "sbom":
            write_sbom(args)
            return 0
        parts = linked_parts(args.map, args.link_dir, args.build_dir, args.objdump, args.arch)
        if args.nsis_log:
            parts += nsis_parts(args.nsis_log, args.stage)
        comps = components(parts)
        write_notices(args.out, args.title, comps, bool(args.nsis_log))
        if args.json:
            with open(args.json, "w", encoding="utf-8") as f:
                json.dump({"components": comps}, f, indent=1)
    except Stop as reason:
        sys.stderr.write("third-party: %s\n" % reason)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
