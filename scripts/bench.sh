#!/usr/bin/env bash
# Builds the benchmarks (the bench preset), runs them all once, and writes docs/performance.md
# from that one run. Extra arguments go to every zentrim_bench run (e.g. --benchmark_filter=Scan/8).
#
# ZENTRIM_BENCH_BASELINE=DIR also builds the benchmarks of an older checkout in DIR (for example
# `git worktree add /tmp/bench-old <commit>`) and runs its renderer, crop over a duration and
# correction of uses cases, each family just before the same family of this checkout, so that the
# before/after ratios in docs/performance.md come from one run on the same machine.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

jobs=$(nproc 2>/dev/null || echo 2)
out=build-bench/bench
baseline=${ZENTRIM_BENCH_BASELINE:-}

build() {  # folder
  (cd "$1" && cmake --preset bench >/dev/null &&
    cmake --build --preset bench --target zentrim_bench -j "$jobs")
}

echo "== configure and build (preset bench)"
# Only the benchmark program and what it links: the module and zentrim-host are not measured.
build "$root"
if [ -n "$baseline" ]; then
  echo "== configure and build the baseline in $baseline"
  build "$baseline"
fi

load_before=$(cut -d' ' -f1-3 /proc/loadavg 2>/dev/null || echo unknown)
results=()
baseline_results=()
run() {  # binary, result file, arguments...
  local binary=$1 file=$2
  shift 2
  "$binary" --benchmark_out="$file" --benchmark_out_format=json "$@" >&2
}

echo "== run (about ten minutes; the crop over a duration at 32 bits is the longest)"
if [ $# -gt 0 ]; then
  run "$out/zentrim_bench" "$out/results.json" "$@"
  results+=("$out/results.json")
  if [ -n "$baseline" ]; then
    run "$baseline/$out/zentrim_bench" "$out/results-baseline.json" "$@"
    baseline_results+=("$out/results-baseline.json")
  fi
else
  # Families the baseline has too: baseline first, then this checkout, family by family.
  for family in Render Duration CorrectUses; do
    if [ -n "$baseline" ]; then
      echo "-- $family (baseline)"
      run "$baseline/$out/zentrim_bench" "$out/results-baseline-$family.json" \
        --benchmark_filter="^$family/"
      baseline_results+=("$out/results-baseline-$family.json")
    fi
    echo "-- $family"
    run "$out/zentrim_bench" "$out/results-$family.json" --benchmark_filter="^$family/"
    results+=("$out/results-$family.json")
  done
  echo "-- the rest"
  run "$out/zentrim_bench" "$out/results-rest.json" \
    --benchmark_filter='-^(Render|Duration|CorrectUses)/'
  results+=("$out/results-rest.json")
fi
load_after=$(cut -d' ' -f1-3 /proc/loadavg 2>/dev/null || echo unknown)

compiler=$(sed -n 's/^CMAKE_CXX_COMPILER:[A-Z]*=//p' build-bench/CMakeCache.txt)
compiler_version=$("${compiler:-c++}" --version 2>/dev/null | head -n 1 || echo unknown)
baseline_name=""
if [ -n "$baseline" ]; then
  baseline_name=$(git -C "$baseline" log -1 --format='%h (%s)' 2>/dev/null || echo "$baseline")
fi
args=(--out docs/performance.md --nproc "$(nproc)" --compiler "$compiler_version"
  --load "$load_before" --load-after "$load_after" --results "${results[@]}")
if [ -n "$baseline" ]; then
  args+=(--baseline-name "$baseline_name" --baseline "${baseline_results[@]}")
fi
python3 bench/performance_report.py "${args[@]}"
echo "== wrote docs/performance.md"
