#!/usr/bin/env bash
# Side-by-side measurements of annuvia.exe under Wine, against a blank window
# program built with the same compiler and flags (bench/blank.cpp):
#   - start to a visible main window that answers messages, and to that
#     window painted; where the time goes inside the program (a bench build
#     with start-up marks, CMake option ANNUVIA_BENCH_MARKS);
#   - peak working set and private bytes once the window is up;
#   - executable sizes, x86_64 and i686;
#   - the same for a blank window with common controls 6 (the themed look's
#     fixed price) and, for the size, one with the C++ runtime linked in;
#   - Next, result window, Back, with names of 10 and of 100,000 characters.
# Each figure: min, median and max, and the ratio of medians with its goal.
#
#   bash bench/run.sh            20 rounds, 50 cycles (about three minutes once built)
#   bash bench/run.sh --quick    3 rounds, 6 cycles: that it runs, not what it shows
#
# Builds in build/bench/ (win64, win64-marks, win32; ANNUVIA_BENCH_BUILD moves
# them). ANNUVIA_BENCH_WIN64 and ANNUVIA_BENCH_WIN32 name existing release
# trees to use instead, as the test command does. ANNUVIA_BENCH_BEFORE names
# an annuvia.exe of another version, an earlier one say, that then starts and
# cycles alongside in the same rounds. Runs on a private X display
# with a Wine prefix of its own, and ends everything it started.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
rounds=20
cycles=50
case "${1:-}" in
  --quick) rounds=3; cycles=6 ;;
  "") ;;
  *) echo "usage: bash bench/run.sh [--quick]" >&2; exit 2 ;;
esac

absolute() { case "$1" in /*) echo "$1" ;; *) echo "$PWD/$1" ;; esac; }
builds="$(absolute "${ANNUVIA_BENCH_BUILD:-$root/build/bench}")"
win64="$(absolute "${ANNUVIA_BENCH_WIN64:-$builds/win64}")"
win32="$(absolute "${ANNUVIA_BENCH_WIN32:-$builds/win32}")"
marks="$builds/win64-marks"
jobs="$(nproc)"

configure() {  # TREE PRESET
  # Run again on a configured tree too: new targets of the bench then appear.
  if [ -f "$1/CMakeCache.txt" ]; then cmake "$1" >/dev/null; return; fi
  (cd "$root" && cmake --preset "$2" -B "$1" >/dev/null)
}
configure "$win64" bench-win64
configure "$marks" bench-win64-marks
configure "$win32" bench-win32
cmake --build "$win64" -j"$jobs" --target annuvia bench_blank bench_blank_cxx bench_standin bench_driver >/dev/null
cmake --build "$marks" -j"$jobs" --target annuvia bench_blank bench_blank_themed bench_standin >/dev/null
cmake --build "$win32" -j"$jobs" --target annuvia bench_blank bench_blank_cxx >/dev/null

# winpath, and the loader the version line below names.
# shellcheck source=../cmake/wine.sh
source "$root/cmake/wine.sh"
export WINEPREFIX="$builds/wineprefix"
mkdir -p "$builds"
session() { bash "$root/cmake/wine-session.sh" run "$win64/bench/bench_driver.exe" "$@"; }

# How busy the machine is since mark_cpu: the share of all CPUs' time spent
# working, and the share a virtual machine's host took for others (steal).
mark_cpu() { read -r _ c1 c2 c3 c4 c5 c6 c7 c8 _ < /proc/stat; }
cpu_busy() {
  local d1 d2 d3 d4 d5 d6 d7 d8 busy steal total
  read -r _ d1 d2 d3 d4 d5 d6 d7 d8 _ < /proc/stat
  busy=$(( (d1 - c1) + (d2 - c2) + (d3 - c3) + (d6 - c6) + (d7 - c7) ))
  steal=$(( d8 - c8 ))
  total=$(( busy + steal + (d4 - c4) + (d5 - c5) ))
  [ "$total" -gt 0 ] || total=1
  echo "$(( 100 * busy / total ))% busy, $(( 100 * steal / total ))% taken by the host"
}

echo "Annuvia bench, $(date -u '+%Y-%m-%d %H:%M UTC')"
echo "Machine: $(sed -n 's/^model name[[:space:]]*: //p;T;q' /proc/cpuinfo), $(nproc) CPUs," \
     "$(( $(sed -n 's/^MemTotal: *\([0-9]*\).*/\1/p' /proc/meminfo) / 1048576 )) GiB;" \
     "$("$WINELOADER" --version 2>/dev/null)"
mark_cpu
sleep 2
echo "CPUs before the run: $(cpu_busy) (load average $(cut -d' ' -f1-3 /proc/loadavg))"

echo
echo "Executable sizes (KiB)"
printf '  %-22s %9s %9s\n' "" x86_64 i686
kib() { echo $(( ($(stat -c %s "$1") + 512) / 1024 )); }
for row in "annuvia:src/annuvia.exe" "blank:bench/bench_blank.exe" \
           "blank, C++ runtime:bench/bench_blank_cxx.exe"; do
  printf '  %-22s %9s %9s\n' "${row%%:*}" "$(kib "$win64/${row#*:}")" "$(kib "$win32/${row#*:}")"
done
for base in bench_blank bench_blank_cxx; do
  awk -v a="$(stat -c %s "$win64/src/annuvia.exe")" -v b="$(stat -c %s "$win64/bench/$base.exe")" \
      -v c="$(stat -c %s "$win32/src/annuvia.exe")" -v d="$(stat -c %s "$win32/bench/$base.exe")" \
      -v name="$([ "$base" = bench_blank ] && echo "blank" || echo "blank with the C++ runtime")" 'BEGIN {
    printf "  goal: within 2.00x of %s: %.2fx and %.2fx, %s\n", name, a / b, c / d,
           (a / b <= 2 && c / d <= 2) ? "met" : "missed" }'
done

echo
mark_cpu
before=()
if [ -n "${ANNUVIA_BENCH_BEFORE:-}" ]; then
  before=("before=Annuvia_frmMain=$(winpath "$(absolute "$ANNUVIA_BENCH_BEFORE")")=form")
fi
session start "$rounds" \
  "annuvia=Annuvia_frmMain=$(winpath "$win64/src/annuvia.exe")=form" \
  "annuvia-marks=Annuvia_frmMain=$(winpath "$marks/src/annuvia.exe")=marks=form" \
  "standin=Annuvia_frmMain=$(winpath "$win64/bench/bench_standin.exe")=form" \
  "standin-marks=Annuvia_frmMain=$(winpath "$marks/bench/bench_standin.exe")=marks=form" \
  "${before[@]}" \
  "blank-themed=AnnuviaBenchBlank=$(winpath "$marks/bench/bench_blank_themed.exe")=marks" \
  "blank-marks=AnnuviaBenchBlank=$(winpath "$marks/bench/bench_blank.exe")=marks" \
  "blank=AnnuviaBenchBlank=$(winpath "$win64/bench/bench_blank.exe")"
echo "CPUs while starting: $(cpu_busy), the bench's own work included"
mark_cpu
session cycle "$cycles" "$(winpath "$win64/src/annuvia.exe")"
echo "CPUs while cycling: $(cpu_busy)"
if [ -n "${ANNUVIA_BENCH_BEFORE:-}" ]; then
  echo
  echo "The same cycle with the earlier version:"
  session cycle "$cycles" "$(winpath "$(absolute "$ANNUVIA_BENCH_BEFORE")")"
fi
