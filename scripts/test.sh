#!/usr/bin/env bash
# Builds everything and runs the whole test suite: the portable core natively
# under AddressSanitizer and UndefinedBehaviorSanitizer, and the Windows test
# programs (x86_64) under Wine. The i686 build is compiled, warning-free, not run.
# Then the libFuzzer fuzzers of the portable core, built with clang in
# build/fuzz, run about 20 s each (scripts/fuzz.sh); a finding fails the script.
# The benchmark runs once in its quick mode before them (bench/run.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh

started=$SECONDS
for preset in native win64 win32; do
  cmake --preset "$preset" -DCMAKE_COMPILE_WARNING_AS_ERROR=ON >/dev/null
  cmake --build --preset "$preset" -j"$(nproc)"
done
echo "Built native, win64 and win32 in $((SECONDS - started)) s."
for exe in build/win64/src/annuvia.exe build/win32/src/annuvia.exe; do
  echo "$exe: $(stat -c %s "$exe") bytes, imports: $(x86_64-w64-mingw32-objdump -p "$exe" | awk '/DLL Name/ {printf "%s ", $3}')"
done

# One CTest run over both trees, so the summary counts native and Wine tests together.
cat > build/CTestTestfile.cmake <<'CTEST'
subdirs("native")
subdirs("win64")
CTEST
cd build
ctest --output-on-failure -j2 --timeout 900
cd ..

# The benchmark once, quickly, on the trees just built: that it still runs, not its numbers.
ANNUVIA_BENCH_WIN64=build/win64 ANNUVIA_BENCH_WIN32=build/win32 bash bench/run.sh --quick

bash scripts/fuzz.sh
