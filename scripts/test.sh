#!/usr/bin/env bash
# Builds everything and runs the whole test suite: the portable core natively
# under AddressSanitizer and UndefinedBehaviorSanitizer, and the Windows test
# programs under Wine, the x86_64 ones in a 64-bit prefix and the i686 ones
# (CTest names i686.*) in a 32-bit prefix, side by side. 32-bit programs run
# directly where the kernel runs 32-bit code, and through qemu-user elsewhere
# (scripts/install-wine32.sh sets that up).
# Then the libFuzzer fuzzers of the portable core, built with clang in
# build/fuzz, run about 20 s each (scripts/fuzz.sh); a finding fails the script.
# The benchmark runs once in its quick mode before them (bench/run.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
wine32="$(bash scripts/install-wine32.sh)"
echo "32-bit Windows programs run here: $([ "$wine32" = qemu ] && echo "through qemu-user" || echo natively)"

started=$SECONDS
for preset in native win64 win32; do
  cmake --preset "$preset" -DCMAKE_COMPILE_WARNING_AS_ERROR=ON >/dev/null
  cmake --build --preset "$preset" -j"$(nproc)"
done
echo "Built native, win64 and win32 in $((SECONDS - started)) s."
for exe in build/win64/src/annuvia.exe build/win32/src/annuvia.exe; do
  echo "$exe: $(stat -c %s "$exe") bytes, imports: $(x86_64-w64-mingw32-objdump -p "$exe" | awk '/DLL Name/ {printf "%s ", $3}')"
done

# One CTest run over the three trees, so the summary counts native and Wine
# tests together; the 64-bit and the 32-bit prefix each take one test at a time.
cat > build/CTestTestfile.cmake <<'CTEST'
subdirs("native")
subdirs("win64")
subdirs("win32")
CTEST
cd build
ctest --output-on-failure -j2 --timeout 900
cd ..

# The benchmark once, quickly, on the trees just built: that it still runs, not its numbers.
ANNUVIA_BENCH_WIN64=build/win64 ANNUVIA_BENCH_WIN32=build/win32 bash bench/run.sh --quick

bash scripts/fuzz.sh
