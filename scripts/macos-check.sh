#!/usr/bin/env bash
# Compile-checks the macOS plug-in's sources on Linux (syntax and types only; nothing is linked):
# the Cocoa progress window against GNUstep's AppKit headers, and every other plug-in source with
# __APPLE__ defined. CoreGraphics and CoreFoundation are not part of GNUstep: the few calls the
# plug-in makes come from the stand-in headers in tests/macos/stubs, used by this check only.
set -euo pipefail
cd "$(dirname "$0")/.."

ZENTRIM_WINDOWS=1 bash scripts/bootstrap.sh

warnings=(-Wall -Wextra -Wpedantic -Wshadow -Wno-unused-parameter -Werror)
includes=(-isystem tests/macos/stubs -Iplugin -Iplugin/Win -Iplugin/Util -Iplugin/progress
          -Iplugin/platform -Isdk)

# GNUstep's headers and its Objective-C runtime's (libobjc from GCC), as system headers; only the
# runtime's objc/ folder is linked in, not the rest of GCC's own headers, which are not clang's.
objc_dir=$(mktemp -d)
trap 'rm -rf "$objc_dir"' EXIT
ln -s "$(gcc -print-file-name=include)/objc" "$objc_dir/objc"
objc_flags=(-fobjc-runtime=gcc -fexceptions -fobjc-exceptions -isystem "$objc_dir")
for flag in $(gnustep-config --objc-flags); do
  case "$flag" in
    -D*) objc_flags+=("$flag") ;;
    -fconstant-string-class=*) objc_flags+=("$flag") ;;
    -I*) [ -d "${flag#-I}" ] && [ "${flag#-I}" != . ] && objc_flags+=(-isystem "${flag#-I}") ;;
  esac
done

failed=0
checked=0
check() {
  checked=$((checked + 1))
  if ! "$@"; then
    failed=$((failed + 1))
    echo "macos-check: FAILED ${*: -1}" >&2
  fi
}

check clang++ -fsyntax-only -x objective-c++ -std=c++17 -D__APPLE__=1 "${objc_flags[@]}" \
  "${warnings[@]}" "${includes[@]}" plugin/progress/ProgressWindow_Mac.mm

while IFS= read -r source; do
  check clang++ -fsyntax-only -std=c++17 -D__APPLE__=1 "${warnings[@]}" "${includes[@]}" "$source"
done < <(find plugin -name '*.cpp' ! -name 'ProgressWindow_Sim.cpp' ! -name 'ProgressWindow_Win.cpp' | sort)

echo "macos-check: $((checked - failed)) passed, $failed failed"
[ "$failed" -eq 0 ]
