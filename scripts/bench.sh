#!/usr/bin/env bash
# Builds the benchmarks (the bench preset), runs them all once, and writes docs/performance.md
# from that one run. Extra arguments go to zentrim_bench (e.g. --benchmark_filter=Scan/8).
set -euo pipefail
cd "$(dirname "$0")/.."

jobs=$(nproc 2>/dev/null || echo 2)

echo "== configure and build (preset bench)"
cmake --preset bench >/dev/null
# Only the benchmark program and what it links: the module and zentrim-host are not measured.
cmake --build --preset bench --target zentrim_bench -j "$jobs"

results=build-bench/bench/results.json
echo "== run (about five to ten minutes; the crop over a duration at 32 bits is the longest)"
build-bench/bench/zentrim_bench --benchmark_out="$results" --benchmark_out_format=json "$@"

compiler=$(sed -n 's/^CMAKE_CXX_COMPILER:[A-Z]*=//p' build-bench/CMakeCache.txt)
compiler_version=$("${compiler:-c++}" --version 2>/dev/null | head -n 1 || echo unknown)
python3 bench/performance_report.py "$results" docs/performance.md "$(nproc)" "$compiler_version"
echo "== wrote docs/performance.md"
