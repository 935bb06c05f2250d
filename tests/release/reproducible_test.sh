#!/usr/bin/env bash
# Two release builds of the same sources must give the same bytes. The sources
# are copied to two folders of different depth, one copy with other file
# times, another umask and another time zone, and scripts/release.sh builds
# the 64-bit files in each: the executable, the zip, the installer, the
# notices and the bill of materials must be equal byte for byte and free of the
# build folders' paths; the notices and the bill of materials must be true to
# the build (third_party.sh).
#   reproducible_test.sh SOURCE_DIR SCRATCH_DIR PUBLISHER WINE_RUN (both signed: signing.sh)
# The first copy's dist/ is left in SCRATCH_DIR/a for the installer test.
set -euo pipefail
source_dir="$(cd "$1" && pwd)"
scratch="$2"
epoch=1700000000
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
source "$(dirname "${BASH_SOURCE[0]}")/signing.sh"
source "$(dirname "${BASH_SOURCE[0]}")/third_party.sh"

rm -rf "$scratch"
copy_a="$scratch/a"
copy_b="$scratch/b/a-deeper-folder/with-a-longer-name"
# One snapshot of the sources, copied again, so both builds see the same files.
mkdir -p "$copy_a" "$copy_b"
tar -C "$source_dir" --exclude=./build --exclude=./dist --exclude=./.git -cf - . | tar -C "$copy_a" -xf -
tar -C "$copy_a" -cf - . | tar -C "$copy_b" -xf -
find "$copy_b" -exec touch -h -d '2001-02-03 04:05:06' {} +
signing_key "$scratch/key" "$3"

build() {  # COPY UMASK TZ
  local started=$SECONDS
  (cd "$1" && umask "$2" && TZ="$3" SOURCE_DATE_EPOCH=$epoch ANNUVIA_RELEASE_JOBS=1 \
     bash scripts/release.sh --worktree --arch win64 >"$1/release.log" 2>&1) ||
    { cat "$1/release.log"; echo "FAIL: the release build in $1 failed"; exit 1; }
  echo "built in $1 in $((SECONDS - started)) s"
}
build "$copy_a" 022 UTC
build "$copy_b" 077 America/Los_Angeles

exe=build/release-win64/src/annuvia.exe
# The version of the files' names, as CMake wrote it into the first build's tree.
read -r version <"$copy_a/build/release-win64/annuvia-version.txt"
zip=dist/annuvia-$version-win64.zip
setup=dist/annuvia-$version-win64-setup.exe
staged=build/release-win64/stage/annuvia.exe
notices=build/release-win64/stage/THIRD-PARTY-NOTICES.txt
for f in "$exe" "$staged" "$zip" "$setup" "$notices" "dist/annuvia-$version-win64.cdx.json" dist/SHA256SUMS; do
  if cmp -s "$copy_a/$f" "$copy_b/$f"; then
    echo "same bytes: $f ($(stat -c %s "$copy_a/$f") bytes)"
  else
    fail "$f differs between the two builds; first differing bytes (offset, a, b in octal):"
    cmp -l "$copy_a/$f" "$copy_b/$f" | head -5 || true
  fi
done

# The link time would be the first thing to differ: it must be zero.
stamp="$(x86_64-w64-mingw32-objdump -p "$copy_a/$exe" | sed -n 's/^Time\/Date[[:space:]]*//p')"
case "$stamp" in *1970*) ;; *) fail "the executable's PE header holds a time stamp: $stamp" ;; esac
for f in "$exe" "$setup"; do
  for where in "$copy_a" "$copy_b"; do
    if grep -qaF "$where" "$where/$f"; then fail "$f holds its build folder $where"; fi
  done
done

# The zip: four entries in name order, each at the release time, the program
# as signed, and the texts with Windows line ends.
python3 - "$copy_a/$zip" "$copy_a/$staged" "$copy_a/README.md" "$copy_a/LICENSE.txt" $epoch <<'PY' || failures=$((failures + 1))
import sys, time, zipfile
path, exe, readme, licence, epoch = sys.argv[1:6]
problems = []
with zipfile.ZipFile(path) as z:
    names = [i.filename for i in z.infolist()]
    entries = ["LICENSE.txt", "README.txt", "THIRD-PARTY-NOTICES.txt", "annuvia.exe"]
    if names != entries:
        problems.append("entries %s" % names)
    stamp = time.gmtime(int(epoch))[:6]
    for i in z.infolist():
        if i.date_time != stamp[:5] + (stamp[5] // 2 * 2,):
            problems.append("%s is dated %s" % (i.filename, i.date_time))
    if names == entries:
        if z.read("annuvia.exe") != open(exe, "rb").read():
            problems.append("annuvia.exe is not the signed program")
        for name, original in (("README.txt", readme), ("LICENSE.txt", licence), ("THIRD-PARTY-NOTICES.txt", None)):
            text = z.read(name)
            lines = text.split(b"\r\n")
            if lines[-1] != b"" or any(b"\n" in l or b"\r" in l for l in lines):
                problems.append(name + " does not end every line with CRLF")
            if original and text.replace(b"\r\n", b"\n") != open(original, "rb").read():
                problems.append(name + " is not " + original)
for p in problems:
    print("FAIL: zip: " + p)
sys.exit(1 if problems else 0)
PY
(cd "$copy_a/dist" && sha256sum --quiet -c SHA256SUMS) || fail "SHA256SUMS does not match the files"
[ "$(wc -l <"$copy_a/dist/SHA256SUMS")" -eq 3 ] || fail "SHA256SUMS should list the zip, the installer and the bill of materials"
check_signed "$copy_b/$staged" "$copy_b/$setup" "$4" win64
check_third_party "$copy_a" win64

if [ "$failures" -eq 0 ]; then
  echo "reproducible: the two builds are equal"
  exit 0
fi
echo "reproducible: $failures failure(s)"
exit 1
