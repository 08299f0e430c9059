#!/usr/bin/env bash
# Builds everything and runs every test: the dev build, then the same suite under ASan and UBSan.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/bootstrap.sh

jobs=$(nproc 2>/dev/null || echo 2)

echo "== formatting"
bash scripts/check-format.sh

echo "== dev build"
cmake --preset dev >/dev/null
cmake --build --preset dev -j "$jobs"
ctest --preset dev -j "$jobs"

if [ "${ZENTRIM_SKIP_ASAN:-0}" != 1 ]; then
  echo "== asan+ubsan build"
  cmake --preset asan >/dev/null
  cmake --build --preset asan -j "$jobs"
  # The examples under each alternative host model run in the dev stage only: the code they reach
  # under the sanitizers is reached by the suites' and integration tests of every alternative.
  ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ctest --preset asan -j "$jobs" -E '^hostmodel\.examples\.'
fi

if [ -f scripts/fuzz.sh ] && [ "${ZENTRIM_SKIP_FUZZ:-0}" != 1 ]; then
  echo "== fuzzing (short runs)"
  bash scripts/fuzz.sh --short
fi
[ "${ZENTRIM_SKIP_WINDOWS:-0}" = 1 ] || bash scripts/windows.sh

if [ "${ZENTRIM_SKIP_WINDOWS:-0}" != 1 ]; then
  echo "== package"
  bash scripts/package.sh windows
  # The package tests skip without the Windows build in the dev run above; here they must run.
  ZENTRIM_REQUIRE_PACKAGE=1 ctest --preset dev -R '^package\.'
fi
[ "${ZENTRIM_SKIP_MACOS:-0}" = 1 ] || bash scripts/macos-check.sh
