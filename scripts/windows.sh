#!/usr/bin/env bash
# Cross-builds the Windows plug-in (build-windows/Zentrim.aex) and the Zentrim Host Check
# (build-windows/ZentrimHostCheck.aex), checks their exports, imports and resources, and runs the
# Windows test host with both under wine on a virtual X display.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

ZENTRIM_WINDOWS=1 bash scripts/bootstrap.sh
jobs=$(nproc 2>/dev/null || echo 2)

echo "== windows: cross-build"
cmake --preset windows-cross >/dev/null
cmake --build --preset windows-cross -j "$jobs"
cp build-windows/plugin/Zentrim.aex build-windows/Zentrim.aex
cp build-windows/probe/ZentrimHostCheck.aex build-windows/ZentrimHostCheck.aex

echo "== windows: exports, imports and resources"
for module in Zentrim ZentrimHostCheck; do
  headers=$(x86_64-w64-mingw32-objdump -p "build-windows/$module.aex")
  if ! grep -Eq '^[[:space:]]*\[ *0\] EntryPointFunc$' <<<"$headers"; then
    echo "windows: $module.aex does not export EntryPointFunc under its plain name" >&2
    exit 1
  fi
done
# Debian's python3 (the one python3-pefile installs into), whatever python3 is first on PATH.
/usr/bin/python3 tests/windows/check_resources.py build-windows/Zentrim.aex
/usr/bin/python3 tests/windows/check_resources.py build-windows/ZentrimHostCheck.aex \
  --name "Zentrim Host Check" --requires kernel32.dll

echo "== windows: test host"
cmake -S tests/windows -B build-windows/testhost -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" >/dev/null
cmake --build build-windows/testhost -j "$jobs"

# Debian installs the 64-bit loader beside wine's libraries, not on the PATH.
loader=$(dpkg -L wine64 2>/dev/null | grep -E '/wine64$' | head -n 1 || true)
if [ -z "$loader" ] || [ ! -x "$loader" ]; then loader=$(command -v wine64 || command -v wine || true); fi
if [ -z "$loader" ]; then
  echo "windows: no wine64 loader found (dpkg -L wine64)" >&2
  exit 1
fi
server="$(dirname "$loader")/wineserver"
if [ ! -x "$server" ]; then server=$(command -v wineserver || true); fi
if [ -z "$server" ]; then
  echo "windows: no wineserver found beside $loader" >&2
  exit 1
fi

echo "== windows: running under wine ($loader)"
work=build-windows/testhost/work
mkdir -p "$work"
export WINEPREFIX="$root/build-windows/wineprefix" WINEARCH=win64 WINEDEBUG=-all
# No Mono or Gecko: their installers would ask on the (invisible) display.
export WINEDLLOVERRIDES="mscoree,mshtml="
xvfb-run -a -s "-screen 0 1280x800x24" \
  bash tests/windows/run-test-host.sh "$loader" "$server" build-windows/testhost/WinTestHost.exe \
  build-windows/Zentrim.aex "$work" build-windows/progress.png build-windows/ZentrimHostCheck.aex

if [ ! -s build-windows/progress.png ]; then
  echo "windows: no screenshot of the progress window was taken" >&2
  exit 1
fi
echo "windows: ok (plug-in build-windows/Zentrim.aex, Host Check build-windows/ZentrimHostCheck.aex," \
  "screenshot build-windows/progress.png)"
