#!/usr/bin/env bash
# Builds the libFuzzer fuzzers of the portable core (tests/fuzz/) natively with
# clang 14 in build/fuzz, and runs each for a bounded time on a scratch copy of
# its committed seeds (build/fuzz/corpus/<name>; tests/fuzz/corpus stays as
# committed), as many at a time as there are processors. Any finding (a failed
# property, a sanitizer report, a leak, a timeout, running out of memory)
# fails the script, which names the fuzzer; its reproducer lands in
# build/fuzz/<name>-<kind>-<hash>. Run by scripts/test.sh; on its own it needs
# the packages of scripts/install-deps.sh.
#   ANNUVIA_FUZZ_SECONDS  fuzzing time of each fuzzer (default 20)
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${ANNUVIA_FUZZ_SECONDS:-20}
out=build/fuzz
parallel=$(nproc)

started=$SECONDS
cmake --preset fuzz >/dev/null
cmake --build "$out" --target annuvia_fuzzers -j"$parallel"
built=$((SECONDS - started))

# Every fuzzer has its seed directory.
names=()
for dir in tests/fuzz/corpus/*/; do
  names+=("$(basename "$dir")")
done

run_fuzzer() {
  local name=$1 work=$out/corpus/$1 rc=0
  rm -rf "$work" "$out/$name"-*
  mkdir -p "$work"
  cp tests/fuzz/corpus/"$name"/* "$work"/
  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    "$out/tests/fuzz/fuzz_$name" "$work" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
      -max_len=4096 -artifact_prefix="$out/$name-" -print_final_stats=1 >"$out/$name.log" 2>&1 || rc=$?
  echo "$rc" >"$out/$name.rc"
}

for name in "${names[@]}"; do
  rm -f "$out/$name.rc"
  while [ "$(jobs -rp | wc -l)" -ge "$parallel" ]; do wait -n || true; done
  run_fuzzer "$name" &
done
wait

failed=()
for name in "${names[@]}"; do
  log=$out/$name.log
  rc=$(cat "$out/$name.rc" 2>/dev/null || echo "no result")
  if [ "$rc" = 0 ]; then
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")
    printf 'Fuzzer %-16s ok: %s runs, %s exec/s, corpus %s seeds -> %s inputs\n' "$name" "$runs" "$rate" \
      "$(find "tests/fuzz/corpus/$name" -type f | wc -l)" "$(find "$out/corpus/$name" -type f | wc -l)"
  else
    failed+=("$name")
    echo "Fuzzer $name FAILED (exit $rc); full log: $log"
    # The report: from the first line that says what went wrong.
    awk '/CHECK failed|ERROR|runtime error|deadly signal|ALARM/ {found = 1} found && n++ < 60' "$log"
    for artifact in "$out/$name"-*; do
      [ -e "$artifact" ] || continue
      echo "  reproducer: $artifact"
      echo "  replay:     $out/tests/fuzz/fuzz_$name $artifact"
    done
  fi
done
echo "Fuzzed ${#names[@]} fuzzers, $seconds s each, $parallel at a time, in $((SECONDS - started)) s ($built s building)."
if [ ${#failed[@]} -gt 0 ]; then
  echo "Fuzzers with findings: ${failed[*]}"
  exit 1
fi
