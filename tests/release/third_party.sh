# shellcheck shell=bash
# Sourced by the release tests, which define fail. check_third_party COPY ARCH: in the release files
# that scripts/release.sh made in COPY, for ARCH,
# - the notices in the zip name every archive or object from outside the build that the link map
#   shows giving annuvia.exe bytes, the Debian package of each, and nothing else; the installer's
#   notices name the same and NSIS;
# - the bill of materials passes the CycloneDX validator, the hashes it gives for annuvia.exe, the
#   zip and the installer are those of the files shipped, and it names the tools that built them
#   (the release tests sign, so osslsigncode among them).
check_third_party() {
  local copy="$1" arch="$2" version
  read -r version <"$copy/build/release-$arch/annuvia-version.txt"
  python3 - "$copy" "$arch" "$version" <<'PY' || fail "$arch: the notices or the bill of materials are not true to the build"
import hashlib, json, os, re, subprocess, sys, zipfile
copy, arch, version = sys.argv[1:4]
build, name = "%s/build/release-%s" % (copy, arch), "%s/dist/annuvia-%s-%s" % (copy, version, arch)
problems = []

# What the map shows: input sections of the image (not of debug or discarded sections) from outside the build.
text = open(build + "/src/annuvia.map").read()
shown, members, output = {}, set(), None
for line in text[text.index("Linker script and memory map"):].splitlines():
    output = line.split()[0] if re.match(r"^[./]\S", line) else output
    m = re.match(r"^\s+(?:\.\S+\s+)?0x\w+\s+0x(\w+)\s+(/\S+?)(?:\((.*)\))?$", line)
    if m and int(m.group(1), 16) and not output.startswith((".debug", ".zdebug", "/DISCARD/", ".bss")):
        shown.setdefault(os.path.basename(m.group(2)), os.path.normpath(m.group(2)))
        members.add(m.group(3))
shown = {f: subprocess.run(["dpkg-query", "-S", p], capture_output=True, text=True).stdout.split(":")[0]
         for f, p in shown.items()}
with zipfile.ZipFile(name + ".zip") as z:
    notices = {"zip": z.read("THIRD-PARTY-NOTICES.txt").decode(), "installer": open(build + "/stage/THIRD-PARTY-NOTICES.txt").read()}
    exe = hashlib.sha256(z.read("annuvia.exe")).hexdigest()
for where, notice in notices.items():
    words = " ".join(notice.split())
    named = set(re.findall(r"[\w+-]+\.(?:a|o)\b", words))
    packages = set(re.findall(r"Debian package ([\w.+-]+)\)", words))
    expected = set(shown.values()) | ({"nsis-common"} if where == "installer" else set())
    for missing in sorted(set(shown) - named):
        problems.append("the %s's notices do not name %s, which the map shows" % (where, missing))
    for extra in sorted(named - set(shown) - members):
        problems.append("the %s's notices name %s, which the map does not show" % (where, extra))
    if packages != expected:
        problems.append("the %s's notices name the packages %s, not %s" % (where, sorted(packages), sorted(expected)))

result = subprocess.run(["node", copy + "/build/sbom-tools/validate.mjs", name + ".cdx.json"], capture_output=True, text=True)
if result.returncode:
    problems.append(result.stdout.strip())
bom = json.load(open(name + ".cdx.json"))
hashes = {c["name"]: c["hashes"][0]["content"] for c in bom["components"]}
files = {"annuvia.exe": exe}
for f in (name + ".zip", name + "-setup.exe"):
    files[os.path.basename(f)] = hashlib.sha256(open(f, "rb").read()).hexdigest()
tools = [c["name"] for c in bom.get("formulation", [{}])[0].get("components", [])]
for tool in ("gcc-mingw-w64", "g++-mingw-w64", "binutils-mingw-w64", "nsis", "osslsigncode"):
    if not any(t.startswith(tool) for t in tools):
        problems.append("the bill of materials does not name %s among the tools that built the release" % tool)
for f, digest in files.items():
    if hashes.get(f) != digest:
        problems.append("the bill of materials gives %s the SHA-256 %s, not %s" % (f, hashes.get(f), digest))
for p in problems:
    print("FAIL: %s: %s" % (arch, p))
if not problems:
    print("%s: the notices name the %d archives and objects from outside the build that the map shows, and their "
          "packages; the bill of materials validates and gives the shipped files' hashes" % (arch, len(shown)))
sys.exit(1 if problems else 0)
PY
}
