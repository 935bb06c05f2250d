#!/usr/bin/env bash
# Builds everything and runs the whole test suite through the presets of
# CMakePresets.json: the portable core natively under AddressSanitizer and
# UndefinedBehaviorSanitizer, and the Windows test programs under Wine, the
# x86_64 ones in a 64-bit prefix and the i686 ones (CTest names i686.*) in a
# 32-bit prefix, side by side. 32-bit programs run directly where the kernel
# runs 32-bit code, and through qemu-user elsewhere (scripts/install-wine32.sh
# sets that up). Two more trees check the build itself: the in-process tests of
# a build with another gateway, and annuvia.exe from clang.
# Then the libFuzzer fuzzers of the portable core, built with clang in
# build/fuzz, run about 20 s each (scripts/fuzz.sh); a finding fails the script.
# The benchmark runs once in its quick mode before them (bench/run.sh).
# Where apt cannot install the 32-bit Wine (a package mirror in mid-sync, say),
# everything else still runs, the i686 tests that need Wine are listed as not
# run with apt's reason, and the command passes; ANNUVIA_REQUIRE_32BIT=1 makes
# that a failure instead. Any other failure to set up fails the command, and
# says which step failed.
set -Eeuo pipefail
cd "$(dirname "$0")/.."
trap 'echo "FAILED: \"$BASH_COMMAND\" (exit $?, line $LINENO of scripts/test.sh)"; exit 1' ERR
if ! bash scripts/install-deps.sh; then
  echo "FAILED: scripts/install-deps.sh could not install what the tests need (its reason is above)"
  exit 1
fi
# The scripts are checked as the C++ is compiled: any finding fails the command.
if ! shellcheck scripts/*.sh cmake/*.sh bench/run.sh .ci/run; then
  echo "FAILED: shellcheck's findings in the scripts, above"
  exit 1
fi
if ! wine32="$(bash scripts/install-wine32.sh)"; then
  echo "FAILED: scripts/install-wine32.sh could not set up the 32-bit Wine (its reason is above)"
  exit 1
fi
no_wine32=""
case "$wine32" in
  native) echo "32-bit Windows programs run here: natively" ;;
  qemu) echo "32-bit Windows programs run here: through qemu-user" ;;
  unavailable:*)
    no_wine32="${wine32#unavailable: }"
    case "$no_wine32" in
      "apt cannot"*) no_wine32+=". Run the test command again once 'apt-get update' finishes without errors." ;;
    esac
    if [ "${ANNUVIA_REQUIRE_32BIT:-0}" = 1 ]; then
      echo "FAILED: ANNUVIA_REQUIRE_32BIT=1 asks for the 32-bit Wine: $no_wine32"
      exit 1
    fi
    echo "No 32-bit Wine, so the i686 tests that need it will not run: $no_wine32" ;;
  *) echo "FAILED: scripts/install-wine32.sh said '$wine32'"; exit 1 ;;
esac

# Five trees from CMakePresets.json, each with warnings as errors: the three
# of the suite, the x86_64 one again with another gateway
# (ANNUVIA_GATEWAY_BASE=https://example.org; the in-process tests only), and
# annuvia.exe built by clang and lld instead of GCC (its PE flags checked).
trees=(native win64 win32 win64-gateway win64-clang)
started=$SECONDS
for preset in "${trees[@]}"; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j"$(nproc)"
done
echo "Built ${trees[*]} in $((SECONDS - started)) s."
for exe in build/win64/src/annuvia.exe build/win32/src/annuvia.exe build/win64-clang/src/annuvia.exe; do
  echo "$exe: $(stat -c %s "$exe") bytes, imports: $(x86_64-w64-mingw32-objdump -p "$exe" | awk '/DLL Name/ {printf "%s ", $3}')"
done

# The test presets, in two lanes side by side, as each Wine tree runs its tests
# one at a time in a prefix of its own. Every line is marked with its preset;
# build/test-logs/<preset>.log keeps each run, <preset>.xml its JUnit report.
logs=build/test-logs
rm -rf "$logs"
mkdir -p "$logs"
# Without the 32-bit Wine the i686 tree runs only its tests that need no Wine.
wine32_filter=()
[ -z "$no_wine32" ] || wine32_filter=(-LE '^wine$')
run_tests() {  # PRESET
  local preset=$1 begun=$SECONDS rc filter=()
  [ "$preset" != win32 ] || filter=("${wine32_filter[@]}")
  set +e
  ctest --preset "$preset" "${filter[@]}" --output-junit "$PWD/$logs/$preset.xml" 2>&1 | tee "$logs/$preset.log" | sed -u "s/^/[$preset] /"
  rc=${PIPESTATUS[0]}
  set -e
  echo "$rc $((SECONDS - begun))" >"$logs/$preset.result"
  return "$rc"
}
lane() {  # PRESET...: one after another, all of them even when one fails
  local preset rc=0
  for preset in "$@"; do run_tests "$preset" || rc=1; done
  return "$rc"
}
# Lane rule: the 64-bit tree starts at once in a lane of its own, as its release
# builds make the longest chain where 32-bit programs run natively; the native
# tree, then the 32-bit one, fill the other lane; the two short trees go with
# whichever Wine tree ends sooner (the 32-bit one, unless it runs under qemu).
others=(win64-gateway win64-clang)
if [ "$wine32" = qemu ]; then
  lanes=("win64 ${others[*]}" "native win32")
else
  lanes=("win64" "native win32 ${others[*]}")
fi
started=$SECONDS
pids=()
for l in "${lanes[@]}"; do
  # shellcheck disable=SC2086  # a lane is a list of preset names
  lane $l &
  pids+=($!)
done
failed=0
for pid in "${pids[@]}"; do wait "$pid" || failed=1; done

echo
echo "Tests, by preset ($((SECONDS - started)) s in all):"
total=0
for preset in "${trees[@]}"; do
  read -r rc seconds <"$logs/$preset.result"
  xml="$logs/$preset.xml"
  # CTest's JUnit report: the count, then a line for each test that did not pass.
  count=$(sed -n 's/^[[:space:]]*tests="\([0-9]*\)".*/\1/p;T;q' "$xml" 2>/dev/null || true)
  passed=$(grep -c 'status="run"' "$xml" 2>/dev/null || true)
  total=$((total + ${count:-0}))
  printf '  %-14s %4s s  %s%s\n' "$preset" "$seconds" \
    "$([ -n "$count" ] && echo "${passed:-0} of $count passed" || echo "no report")" "$([ "$rc" = 0 ] || echo '  FAILED')"
  sed -n 's/.*<testcase name="\([^"]*\)".* status="\([a-z]*\)".*/      \1: \2/p' "$xml" 2>/dev/null |
    sed -e '/: run$/d' -e 's/: fail$/: failed/' -e 's/: notrun$/: not run/'
  if [ "$preset" = win32 ] && [ -n "$no_wine32" ]; then
    ctest --preset win32 -N -L '^wine$' -FA '.*' | sed -n 's/^ *Test *#[0-9]*: \(.*\)$/      \1: not run, no 32-bit Wine/p'
  fi
done
echo "  $total tests run in all."
[ -z "$no_wine32" ] || echo "  Not run, no 32-bit Wine: $no_wine32"
if [ "$failed" != 0 ]; then
  echo "FAILED: see the output above, or build/test-logs/<preset>.log"
  exit 1
fi

# The benchmark once, quickly, on the trees just built: that it still runs, not its numbers.
ANNUVIA_BENCH_WIN64=build/win64 ANNUVIA_BENCH_WIN32=build/win32 bash bench/run.sh --quick

bash scripts/fuzz.sh
