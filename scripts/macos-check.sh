#!/usr/bin/env bash
# Checks the macOS plug-in, and the Zentrim Host Check beside it, on Linux, in three steps:
#  1. compile checks (syntax and types, warnings as errors): the Cocoa progress window against
#     GNUstep's AppKit headers, and every other plug-in source with __APPLE__ defined. CoreGraphics
#     and CoreFoundation are not part of GNUstep: the few calls the plug-in makes come from the
#     stand-in headers in tests/macos/stubs;
#  2. the cross-build of the bundle (preset macos-cross: Zig 0.11.0 and ld64.lld, both
#     architectures joined by llvm-lipo) into build-macos-cross/plugin/Zentrim.plugin, which must
#     build without a warning;
#  3. the assembled bundle (tests/macos/check_bundle.py): Info.plist, PkgInfo, the resource file
#     read back to the exact property list, and the Mach-O slices and their exports; then the
#     checker itself, on damaged copies of the bundle, each of which it must reject. The Host
#     Check's bundle (build-macos-cross/probe/ZentrimHostCheck.plugin) is compile-checked, built
#     and checked the same way: its own name, identifier and property list, no framework.
set -euo pipefail
cd "$(dirname "$0")/.."

ZENTRIM_MACOS=1 bash scripts/bootstrap.sh
jobs=$(nproc 2>/dev/null || echo 2)
llvm_bin=/usr/lib/llvm-14/bin

failed=0
checked=0
check() {
  checked=$((checked + 1))
  if ! "$@"; then
    failed=$((failed + 1))
    echo "macos-check: FAILED ${*: -1}" >&2
  fi
}

echo "== macos: compile checks"
warnings=(-Wall -Wextra -Wpedantic -Wshadow -Wno-unused-parameter -Werror)
includes=(-isystem tests/macos/stubs -Iplugin -Iplugin/Win -Iplugin/Util -Iplugin/progress
          -Iplugin/platform -Isdk)

# GNUstep's headers and its Objective-C runtime's (libobjc from GCC), as system headers; only the
# runtime's objc/ folder is linked in, not the rest of GCC's own headers, which are not clang's.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/objc-include"
ln -s "$(gcc -print-file-name=include)/objc" "$work/objc-include/objc"
objc_flags=(-fobjc-runtime=gcc -fexceptions -fobjc-exceptions -isystem "$work/objc-include")
for flag in $(gnustep-config --objc-flags); do
  case "$flag" in
    -D*) objc_flags+=("$flag") ;;
    -fconstant-string-class=*) objc_flags+=("$flag") ;;
    -I*) [ -d "${flag#-I}" ] && [ "${flag#-I}" != . ] && objc_flags+=(-isystem "${flag#-I}") ;;
  esac
done

check clang++ -fsyntax-only -x objective-c++ -std=c++17 -D__APPLE__=1 "${objc_flags[@]}" \
  "${warnings[@]}" "${includes[@]}" plugin/progress/ProgressWindow_Mac.mm

while IFS= read -r source; do
  check clang++ -fsyntax-only -std=c++17 -D__APPLE__=1 "${warnings[@]}" "${includes[@]}" "$source"
done < <(find plugin -name '*.cpp' ! -name 'ProgressWindow_Sim.cpp' ! -name 'ProgressWindow_Win.cpp' | sort)
while IFS= read -r source; do
  check clang++ -fsyntax-only -std=c++17 -D__APPLE__=1 -DHOSTCHECK_VERSION='"0.0.0"' \
    "${warnings[@]}" -Iprobe -Iplugin/Util -Isdk "$source"
done < <(find probe -name '*.cpp' | sort)

echo "== macos: cross-build"
bash scripts/macos-tools.sh
# Zig keeps its own cache of compiled objects; a compiler launcher is not wanted in front of it.
env -u CMAKE_CXX_COMPILER_LAUNCHER -u CMAKE_C_COMPILER_LAUNCHER cmake --preset macos-cross >/dev/null
log=$work/build.log
build_ok=1
cmake --build --preset macos-cross -j "$jobs" >"$log" 2>&1 || build_ok=0
if [ "$build_ok" = 0 ] || grep -q 'warning:' "$log"; then
  cat "$log" >&2
  echo "macos-check: the cross-build failed or warned" >&2
  exit 1
fi
bundle=build-macos-cross/plugin/Zentrim.plugin
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build-macos-cross/CMakeCache.txt)

echo "== macos: bundle $bundle"
result=$(python3 tests/macos/check_bundle.py "$bundle" --version "$version" --llvm-bin "$llvm_bin") || {
  echo "$result"
  echo "macos-check: the bundle check failed" >&2
  exit 1
}
echo "$result"
bundle_passed=$(sed -n 's/^\([0-9]*\) passed, 0 failed$/\1/p' <<<"$result")

# The checker must reject a damaged bundle, for the damage done: one copy per fault, and the
# finding it must report.
rejects() {
  local what=$1 finding=$2 copy=$work/damaged/Zentrim.plugin
  shift 2
  rm -rf "$work/damaged" && mkdir -p "$work/damaged" && cp -R "$bundle" "$copy"
  (cd "$copy/Contents" && "$@")
  if python3 tests/macos/check_bundle.py "$copy" --version "$version" --llvm-bin "$llvm_bin" \
      >"$work/damaged.out" 2>&1; then
    echo "macos-check: the bundle check accepted a bundle with $what" >&2
    return 1
  fi
  if ! grep -qF "FAIL: $finding" "$work/damaged.out"; then
    echo "macos-check: the bundle with $what was rejected, but not with \"$finding\":" >&2
    cat "$work/damaged.out" >&2
    return 1
  fi
}
check rejects "an effect's package type" "Info.plist CFBundlePackageType is 'eFKT'" \
  sed -i 's/AEgx/eFKT/' Info.plist
check rejects "a PkgInfo with a newline" "PkgInfo is b'AEgxFXTC\\n'" \
  sh -c 'printf "AEgxFXTC\n" > PkgInfo'
check rejects "padding counted in a length" "catg: length" python3 -c '
b = bytearray(open("Resources/Zentrim.rsrc", "rb").read())
b[b.index(b"catg") + 11] += 1
open("Resources/Zentrim.rsrc", "wb").write(b)'
check rejects "only the arm64 slice" "slices []" \
  sh -c "'$llvm_bin/llvm-lipo' -thin arm64 MacOS/Zentrim -output MacOS/thin && mv MacOS/thin MacOS/Zentrim"

hostcheck=build-macos-cross/probe/ZentrimHostCheck.plugin
echo "== macos: bundle $hostcheck"
result=$(python3 tests/macos/check_bundle.py "$hostcheck" --version "$version" --llvm-bin "$llvm_bin" \
  --name ZentrimHostCheck --pipl-name "Zentrim Host Check" --frameworks "") || {
  echo "$result"
  echo "macos-check: the Host Check's bundle check failed" >&2
  exit 1
}
echo "$result"
hostcheck_passed=$(sed -n 's/^\([0-9]*\) passed, 0 failed$/\1/p' <<<"$result")
identifiers=$(for b in "$bundle" "$hostcheck"; do
  python3 -c 'import plistlib, sys; print(plistlib.load(open(sys.argv[1], "rb"))["CFBundleIdentifier"])' \
    "$b/Contents/Info.plist"
done | sort -u | wc -l)
if ! check test "$identifiers" -eq 2; then
  echo "macos-check: the two bundles share a CFBundleIdentifier" >&2
fi

total_passed=$((checked - failed + ${bundle_passed:-0} + ${hostcheck_passed:-0}))
echo "macos-check: bundles $bundle and $hostcheck"
echo "macos-check: $total_passed passed, $failed failed"
[ "$failed" -eq 0 ]
