#!/usr/bin/env bash
# Builds everything and runs every test, stage by stage: the packages the tests need, the
# formatting check, the dev build and every test, the same under AddressSanitizer and
# UndefinedBehaviorSanitizer, short fuzzing runs, the Windows stage and its package, the macOS stage
# and its package. Ends with one line per stage: what ran, its counts and its time (also when a
# stage fails: the stages so far, then the one that failed). Variables skip the stages after the
# dev build: ZENTRIM_SKIP_ASAN, ZENTRIM_SKIP_FUZZ, ZENTRIM_SKIP_WINDOWS, ZENTRIM_SKIP_MACOS (=1).
# Compiles go through ccache, its cache kept per machine (ZENTRIM_NO_CCACHE=1: not).
set -euo pipefail
cd "$(dirname "$0")/.."

jobs=$(nproc 2>/dev/null || echo 2)
logs=$(mktemp -d)
summary=()
started=$(date +%s)

# What a stage's output says it did, for its summary line (reads the stage's log on stdin).
counts_bootstrap() {
  local installed
  installed=$(sed -n 's/^bootstrap: installing //p' | wc -w)
  if [ "$installed" -gt 0 ]; then echo "$installed packages installed"; else echo "all packages present"; fi
}
counts_format() { sed -n 's/^formatting: \([0-9]*\) files ok$/\1 files formatted/p' | tail -n 1; }
counts_ctest() {
  local log line skipped
  log=$(cat)
  line=$(sed -n 's/^[0-9]*% tests passed, \([0-9]*\) tests failed out of \([0-9]*\)$/\2 tests, \1 failed/p' <<<"$log" | tail -n 1)
  skipped=$(grep -c '(Skipped)$' <<<"$log" || true)
  echo "${line:-no test count}, $skipped skipped"
}
counts_fuzz() {
  local log targets units
  log=$(cat)
  targets=$(grep -c '^== .*_fuzz: ' <<<"$log" || true)
  units=$(sed -n 's/^ *stat::number_of_executed_units: *\([0-9]*\)$/\1/p' <<<"$log" |
    awk '{ n += $1 } END { print n + 0 }')
  if grep -q '^fuzz.sh: skipped' <<<"$log"; then
    echo "skipped: $(sed -n 's/^fuzz.sh: skipped: \([^(]*\).*/\1/p' <<<"$log" | head -n 1)"
  else
    echo "$targets targets, ${units:-0} inputs run"
  fi
}
counts_windows() {
  local log
  log=$(cat)
  echo "resources $(grep -E '^[0-9]+ passed, [0-9]+ failed$' <<<"$log" | head -n 1 | cut -d, -f1)," \
    "test host under wine $(grep -E '^[0-9]+ passed, [0-9]+ failed$' <<<"$log" | tail -n 1 | cut -d, -f1)"
}
counts_package() {
  local log zips tests
  log=$(cat)
  zips=$(sed -n 's|^package: wrote dist/||p' <<<"$log" | paste -sd' ' -)
  tests=$(sed -n 's/^[0-9]*% tests passed, \([0-9]*\) tests failed out of \([0-9]*\)$/\2 package tests, \1 failed/p' <<<"$log" | tail -n 1)
  echo "${zips:-no zip}; ${tests:-no package test}"
}
counts_macos() { sed -n 's/^macos-check: \([0-9]* passed, [0-9]* failed\)$/\1 checks/p' | tail -n 1; }

line() {  # NAME STATUS SECONDS WHAT
  printf '%-12s %-7s %5ss  %s' "$1" "$2" "$3" "$4"
}

print_summary() {
  echo
  echo "== summary"
  local s
  for s in "${summary[@]}"; do echo "$s"; done
  printf '%-12s %-7s %5ss\n' total "" "$(($(date +%s) - started))"
}
trap 'status=$?; print_summary; rm -rf "$logs"; exit $status' EXIT

# stage NAME COUNTER COMMAND...: runs the command with its output shown and kept, times it, and
# adds its summary line. A failing stage ends the run.
stage() {
  local name=$1 counter=$2 start status=0
  shift 2
  start=$(date +%s)
  echo "== $name"
  "$@" 2>&1 | tee "$logs/$name.log" || status=${PIPESTATUS[0]}
  local what
  what=$("$counter" <"$logs/$name.log" || true)
  summary+=("$(line "$name" "$([ "$status" = 0 ] && echo ok || echo FAILED)" \
    "$(($(date +%s) - start))" "$what")")
  [ "$status" = 0 ] || exit "$status"
}

dev_stage() {
  cmake --preset dev >/dev/null
  cmake --build --preset dev -j "$jobs"
  ctest --preset dev -j "$jobs"
}

asan_stage() {
  cmake --preset asan >/dev/null
  cmake --build --preset asan -j "$jobs"
  # The examples under each alternative host model run in the dev stage only: the code they reach
  # under the sanitizers is reached by the suites' and integration tests of every alternative.
  # Likewise every example verified at each of the thirteen use scales: under the sanitizers at
  # the smallest, a non-integer, the identical and the largest (10, 75, 100 and 200 %), whose
  # sampling reaches the same code at the frame's edges as the nine in between.
  local skipped='^hostmodel\.examples\.'
  skipped+='|^Scales/VerifyAtScale\.EveryExampleAndGoldenCase.*/percent_(25|33|50|70|90|110|125|150|175)( |$)'
  ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ctest --preset asan -j "$jobs" -E "$skipped"
}

# The packages' tests skip without the build they pack in the dev run; here they must run.
windows_package_stage() {
  ZENTRIM_PACKAGE_NO_BUILD=1 bash scripts/package.sh windows
  ZENTRIM_REQUIRE_PACKAGE=1 ctest --preset dev -R '^package\.windows'
}
macos_package_stage() {
  bash scripts/package.sh macos
  ZENTRIM_REQUIRE_PACKAGE=1 ctest --preset dev -R '^package\.macos'
}

stage bootstrap counts_bootstrap bash scripts/bootstrap.sh test

# Compiled objects are kept once per machine, as the packages and the macOS tools are: a fresh
# checkout on a machine that has run this before compiles only what changed. The compiler's
# command line and every header it reads are part of the key, so a kept object is used only for
# the same compile. ZENTRIM_NO_CCACHE=1 compiles everything.
if [ "${ZENTRIM_NO_CCACHE:-0}" != 1 ] && [ -n "${XDG_CACHE_HOME:-}${HOME:-}${CCACHE_DIR:-}" ] &&
  command -v ccache >/dev/null 2>&1; then
  export CMAKE_C_COMPILER_LAUNCHER=ccache CMAKE_CXX_COMPILER_LAUNCHER=ccache
  export CCACHE_DIR=${CCACHE_DIR:-${XDG_CACHE_HOME:-${HOME:-}/.cache}/zentrim/ccache}
  # Paths under the checkout count relative to it, so another clone's objects serve this one.
  export CCACHE_BASEDIR=$PWD CCACHE_NOHASHDIR=1
fi
stage format counts_format bash scripts/check-format.sh
stage dev counts_ctest dev_stage
[ "${ZENTRIM_SKIP_ASAN:-0}" = 1 ] || stage asan counts_ctest asan_stage
if [ -f scripts/fuzz.sh ] && [ "${ZENTRIM_SKIP_FUZZ:-0}" != 1 ]; then
  stage fuzz counts_fuzz bash scripts/fuzz.sh --short
fi
if [ "${ZENTRIM_SKIP_WINDOWS:-0}" != 1 ]; then
  stage windows counts_windows bash scripts/windows.sh
  stage package-win counts_package windows_package_stage
fi
if [ "${ZENTRIM_SKIP_MACOS:-0}" != 1 ]; then
  stage macos counts_macos bash scripts/macos-check.sh
  stage package-mac counts_package macos_package_stage
fi
