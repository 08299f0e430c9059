#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ with clang into build-fuzz/ and runs each from its seed
# corpus: --short about 20 s a target (scripts/test.sh), no argument 10 minutes a target.
#   scripts/fuzz.sh [--short] [TARGET...]      ZENTRIM_FUZZ_SECONDS overrides the time per target
# New inputs a run finds go to build-fuzz/corpus/<target>/, not into the committed seeds; a crash
# leaves its input in build-fuzz/artifacts/<target>/ and makes the script fail.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=600
targets=()
for arg in "$@"; do
  case "$arg" in
    --short) seconds=20 ;;
    -h|--help) sed -n '2,6p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    -*) echo "fuzz.sh: unknown option $arg" >&2; exit 2 ;;
    *) targets+=("$arg") ;;
  esac
done
seconds=${ZENTRIM_FUZZ_SECONDS:-$seconds}
[ ${#targets[@]} -gt 0 ] || targets=(pixel_scan_fuzz project_file_fuzz answers_fuzz png_fuzz)

cxx=${ZENTRIM_FUZZ_CXX:-}
if [ -z "$cxx" ]; then
  for candidate in clang++ clang++-16 clang++-15 clang++-14; do
    if command -v "$candidate" >/dev/null; then cxx=$candidate; break; fi
  done
fi
if [ -z "$cxx" ]; then
  echo "fuzz.sh: skipped: clang++ is not installed (Debian: clang, and the libclang-rt-N-dev of its major version N, as scripts/bootstrap.sh installs)" >&2
  exit 0
fi
# libFuzzer's runtime comes in a package of its own on Debian: look for it before building.
probe=$(mktemp -d)
trap 'rm -rf "$probe"' EXIT
echo 'extern "C" int LLVMFuzzerTestOneInput(const unsigned char*, unsigned long) { return 0; }' \
  >"$probe/probe.cpp"
if ! "$cxx" -fsanitize=fuzzer "$probe/probe.cpp" -o "$probe/probe" 2>/dev/null; then
  echo "fuzz.sh: skipped: $cxx cannot link libFuzzer (Debian: libclang-rt-N-dev for clang N, as scripts/bootstrap.sh installs)" >&2
  exit 0
fi

cmake -S fuzz -B build-fuzz -DCMAKE_CXX_COMPILER="$cxx" >/dev/null
cmake --build build-fuzz -j "$(nproc 2>/dev/null || echo 2)" --target "${targets[@]}"

status=0
for target in "${targets[@]}"; do
  work=build-fuzz/corpus/$target
  artifacts=build-fuzz/artifacts/$target
  mkdir -p "$work" "$artifacts"
  dict=()
  case "$target" in
    project_file_fuzz|answers_fuzz) dict=(-dict=fuzz/json.dict) ;;
  esac
  echo "== $target: ${seconds} s"
  # -rss_limit_mb: a single input may not take more than this, so an allocation from a size in
  # the input shows up as a finding; the leak check stays on.
  if ! "build-fuzz/$target" "$work" "fuzz/corpus/$target" "${dict[@]}" \
      -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=25 -print_final_stats=1 \
      -artifact_prefix="$artifacts/" 2>"build-fuzz/$target.log"; then
    echo "fuzz.sh: $target found a failing input (see build-fuzz/$target.log and $artifacts/)" >&2
    tail -n 40 "build-fuzz/$target.log" >&2
    status=1
  fi
  grep -E '^stat::number_of_executed_units|^stat::peak_rss_mb|^stat::new_units_added' \
    "build-fuzz/$target.log" | sed 's/^/   /' || true
done
exit $status
