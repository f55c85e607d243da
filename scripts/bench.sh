#!/usr/bin/env bash
# Benchmarks of autopause.exe against a bare Win32 window program (bench/baseline.cpp)
# built and run in the same invocation. Prints a markdown table and writes it to
# build/bench.md. Every figure is a ratio to the baseline, the median of RUNS runs.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
runs=${RUNS:-7}
scripts/setup.sh

jobs=$(nproc)
build() {  # preset, targets...
  local preset=$1 log=build/bench-$1.log
  shift
  mkdir -p build
  { cmake --preset "$preset" && cmake --build --preset "$preset" -j"$jobs" --target "$@"; } >"$log" 2>&1 ||
    { cat "$log"; echo "bench: building $preset failed" >&2; exit 1; }
}
build win32 autopause baseline baseline_cc6
build win64 autopause baseline baseline_cc6 startup_bench tick_bench memory_bench

# A Wine bench of our own, apart from the test suite's.
export AUTOPAUSE_WINE_DIR=$root/build/bench-wine
trap 'scripts/wine-bench.sh stop' EXIT
scripts/wine-bench.sh start
results=build/bench-results.txt
: >"$results"
drive() {  # driver, arguments...
  echo "bench: $*" >&2
  scripts/wine-run.sh "build/win64/bench/$1.exe" "${@:2}" | tr -d '\r' >>"$results" ||
    { echo "bench: $1 failed" >&2; exit 1; }
}
drive startup_bench $((2 * runs + 1)) autopause.exe baseline.exe baseline_cc6.exe
drive tick_bench "$runs" 50
drive memory_bench 5 20 baseline.exe baseline_cc6.exe

# Sizes and imports of the shipped i686 builds.
exe=build/win32/autopause.exe base=build/win32/bench/baseline.exe
imports() { i686-w64-mingw32-objdump -p "$1" | awk '/DLL Name:/ {print tolower($3)}' | sort | paste -sd' '; }
windows_dlls=" kernel32.dll user32.dll gdi32.dll msvcrt.dll comctl32.dll advapi32.dll shell32.dll ole32.dll oleaut32.dll comdlg32.dll shlwapi.dll version.dll winmm.dll imm32.dll uxtheme.dll ntdll.dll "
foreign=""
for dll in $(imports "$exe"); do [[ $windows_dlls == *" $dll "* ]] || foreign+=" $dll"; done
{
  echo "size_program $(stat -c %s "$exe")"
  echo "size_baseline $(stat -c %s "$base")"
} >>"$results"

table=$(awk -v imp_p="$(imports "$exe")" -v imp_b="$(imports "$base")" -v foreign="$foreign" -v runs="$runs" '
  { v[$1] = $2 }
  # One line: name, figure of the program, figure of the baseline, ratio, goal, whether met
  # (limit 0: shown for explanation only).
  function row(name, p, b, unit, goal, limit,   r) {
    r = p / b
    printf "| %s | %.1f %s | %.1f %s | %.2f× | %s | %s |\n", name, p, unit, b, unit, r, goal,
      limit == 0 ? "(info)" : r <= limit ? "yes" : "**no**"
  }
  END {
    print "| figure | autopause | baseline | ratio | goal | met |"
    print "|---|---|---|---|---|---|"
    printf "| size of the .exe (i686, stripped, with resources) | %d B (%.1f KiB) | %d B | %.2f× | ≤ 64 KiB | %s |\n",
      v["size_program"], v["size_program"] / 1024, v["size_baseline"], v["size_program"] / v["size_baseline"],
      v["size_program"] <= 65536 ? "yes" : "**no**"
    printf "| imported DLLs (i686) | %s | %s | | Windows DLLs only | %s |\n", imp_p, imp_b,
      foreign == "" ? "yes" : "**no**:" foreign
    row("start-up to visible window", v["startup_autopause"], v["startup_baseline"], "ms", "≤ 1.2×", 1.2)
    row("start-up, vs the baseline with our manifest", v["startup_autopause"], v["startup_baseline_cc6"], "ms", "", 0)
    for (n = 10; n <= 100; n = n == 10 ? 50 : n == 50 ? 100 : 1000)
      row(sprintf("watch tick, %d extra processes (%d listed)", n, v["tick_" n "_processes"]),
          v["tick_" n "_program"], v["tick_" n "_bare"], "µs", "≤ 1.1×", 1.1)
    split("idle after", when, " ")
    label["idle"] = "idle"; label["after"] = "after 20 game exits"
    for (i = 1; i <= 2; ++i) {
      w = when[i]
      row("working set, " label[w], v["mem_" w "_ws"], v["mem_baseline_ws"], "KiB", "≤ 1.3×", 1.3)
      row("private bytes, " label[w], v["mem_" w "_private"], v["mem_baseline_private"], "KiB", "≤ 1.3×", 1.3)
      row("working set, " label[w] ", vs the baseline with our manifest", v["mem_" w "_ws"], v["mem_baseline_cc6_ws"], "KiB", "", 0)
      row("private bytes, " label[w] ", vs the baseline with our manifest", v["mem_" w "_private"], v["mem_baseline_cc6_private"], "KiB", "", 0)
    }
    printf "| memory idle → after 1 exit → after 20 | ws %d → %d → %d KiB, private %d → %d → %d KiB | | after 20 ÷ after 1: ws %.3f×, private %.3f× | no growth (≤ 1.02×) | %s |\n",
      v["mem_idle_ws"], v["mem_after1_ws"], v["mem_after_ws"], v["mem_idle_private"], v["mem_after1_private"], v["mem_after_private"],
      v["mem_after_ws"] / v["mem_after1_ws"], v["mem_after_private"] / v["mem_after1_private"],
      (v["mem_after_ws"] <= 1.02 * v["mem_after1_ws"] && v["mem_after_private"] <= 1.02 * v["mem_after1_private"]) ? "yes" : "**no**"
    printf "| notices shown without an owner (of %d) | %d | | | 0 | %s |\n", 5 * 20, v["notices_ownerless"],
      v["notices_ownerless"] == 0 ? "yes" : "**no**"
    print ""
    print "Notes: medians of " runs " runs (start-up: " 2 * runs + 1 " runs; memory: 5 instances side by side, one sample each)."
    print "Baseline: bench/baseline.cpp, one window with one button, built with the same toolchain and flags;"
    print "\"with our manifest\": the same plus autopause.exe'"'"'s manifest (Common Controls 6), to show what it costs."
    print "Size and imports are of the i686 builds (build/win32, as shipped). Start-up, tick and memory are"
    print "measured under 64-bit Wine on the x86_64 builds of both the program and the baselines: this kernel"
    print "runs no 32-bit programs. Tick: findProcessIdByName for an absent name vs a bare"
    print "CreateToolhelp32Snapshot/Process32First/Process32Next walk, 50 calls per sample, interleaved."
    print "Memory: GetProcessMemoryInfo (PROCESS_MEMORY_COUNTERS_EX) once the working set is still; private"
    print "bytes = PagefileUsage where Wine leaves PrivateUsage 0 for other processes (the same figure on Windows)."
  }' "$results")
echo "$table" | tee build/bench.md
