#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, only when some are missing.
set -euo pipefail

packages=(
  cmake g++ make pkg-config clang-format
  libgtest-dev libgmock-dev libbenchmark-dev
  nlohmann-json3-dev libpng-dev duktape-dev libcli11-dev
  clang libclang-rt-14-dev python3
  node-acorn zip
)
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

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "bootstrap: installing ${missing[*]}"
sudo_cmd=()
if [ "$(id -u)" != 0 ]; then sudo_cmd=(sudo); fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
