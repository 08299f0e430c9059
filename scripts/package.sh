#!/usr/bin/env bash
# Writes what a user installs into dist/: Zentrim-<version>-windows.zip (Zentrim.aex, cross-built
# with the windows-cross preset, the companion panel and INSTALL.txt) and, from the macOS bundle,
# Zentrim-<version>-macos.zip (Zentrim.plugin, the panel and INSTALL.txt). Beside each, from the
# same build, the Zentrim Host Check's Zentrim-HostCheck-<version>-<platform>.zip (the check and
# README.txt); its macOS bundle comes from ZENTRIM_MACOS_HOSTCHECK_BUNDLE, else from the first of
# build-macos/probe/, build-macos/ and build-release/probe/ that holds one (none: no such zip).
#
#   bash scripts/package.sh [windows|macos|all]
#
# The default is windows on Linux and macos on a Mac. The macOS package takes Zentrim.plugin from
# ZENTRIM_MACOS_BUNDLE, else from the first of build-macos/plugin/, build-macos/ and
# build-release/plugin/ that holds one; on a Mac without one it builds it (the macos preset when
# there is one, else release). ZENTRIM_DIST_DIR: where the zips go (default dist/).
# ZENTRIM_PACKAGE_NO_BUILD=1: pack the Windows plug-in already built, without building.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

version=$(sed -n 's/^project(Zentrim VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
[ -n "$version" ] || { echo "package: no version in CMakeLists.txt's project()" >&2; exit 1; }
dist=${ZENTRIM_DIST_DIR:-$root/dist}
panel="$root/panel/Zentrim Panel.jsx"
jobs=$(nproc 2>/dev/null || sysctl -n hw.ncpu 2>/dev/null || echo 2)

what=${1:-}
if [ -z "$what" ]; then
  if [ "$(uname -s)" = Darwin ]; then what=macos; else what=windows; fi
fi
case "$what" in
  windows | macos | all) ;;
  *) echo "package: expected windows, macos or all, got \"$what\"" >&2; exit 2 ;;
esac

# Files in the zip carry the date of the last commit (or SOURCE_DATE_EPOCH), so that packing the
# same sources twice gives the same zip.
epoch=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct 2>/dev/null || date +%s)}

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT

# install_text TEMPLATE DEST [crlf]: INSTALL.txt with the version filled in.
install_text() {
  if [ "${3:-}" = crlf ]; then
    sed -e "s/@VERSION@/$version/g" "$1" | awk '{ printf "%s\r\n", $0 }' > "$2"
  else
    sed -e "s/@VERSION@/$version/g" "$1" > "$2"
  fi
}

# zip_folder NAME: zips $stage/NAME into $dist/NAME.zip, written beside it and then renamed.
zip_folder() {
  local name=$1 out="$dist/$1.zip"
  mkdir -p "$dist"
  find "$stage/$name" -exec touch -h -d "@$epoch" {} + 2>/dev/null ||
    find "$stage/$name" -exec touch -h -t "$(date -u -r "$epoch" +%Y%m%d%H%M.%S)" {} +
  rm -f "$out.tmp"
  # Info-ZIP on both systems: -y keeps a bundle's symbolic links as links, -X leaves out the
  # owner and extended attributes.
  (cd "$stage" && find "$name" | LC_ALL=C sort | TZ=UTC zip -X -y -q "$out.tmp" -@)
  mv -f "$out.tmp" "$out"
  echo "package: wrote ${out#"$root"/}"
}

package_windows() {
  local aex="$root/build-windows/plugin/Zentrim.aex"
  if [ "${ZENTRIM_PACKAGE_NO_BUILD:-0}" != 1 ]; then
    if command -v apt-get >/dev/null; then
      bash scripts/bootstrap.sh
      command -v x86_64-w64-mingw32-g++ >/dev/null || ZENTRIM_WINDOWS=1 bash scripts/bootstrap.sh
    fi
    echo "== package: Windows plug-in (windows-cross preset)"
    cmake --preset windows-cross >/dev/null
    cmake --build --preset windows-cross -j "$jobs"
  fi
  [ -f "$aex" ] || { echo "package: no $aex: build the windows-cross preset" >&2; exit 1; }
  local name="Zentrim-$version-windows"
  mkdir -p "$stage/$name"
  cp "$aex" "$stage/$name/Zentrim.aex"
  cp "$panel" "$stage/$name/"
  install_text panel/install/INSTALL-windows.txt "$stage/$name/INSTALL.txt" crlf
  zip_folder "$name"
}

find_bundle() {
  local candidate
  for candidate in "${ZENTRIM_MACOS_BUNDLE:-}" build-macos/plugin/Zentrim.plugin \
    build-macos/Zentrim.plugin build-release/plugin/Zentrim.plugin; do
    if [ -n "$candidate" ] && [ -f "$candidate/Contents/MacOS/Zentrim" ]; then
      echo "$candidate"
      return 0
    fi
  done
  return 1
}

package_macos() {
  local bundle
  if ! bundle=$(find_bundle); then
    if [ -n "${ZENTRIM_MACOS_BUNDLE:-}" ]; then
      echo "package: ZENTRIM_MACOS_BUNDLE=$ZENTRIM_MACOS_BUNDLE holds no Contents/MacOS/Zentrim" >&2
      exit 1
    fi
    if [ "$(uname -s)" != Darwin ]; then
      echo "package: no Zentrim.plugin built (build-macos/plugin/): the macOS package is made on a Mac" >&2
      exit 1
    fi
    local preset=release
    grep -q '"name": "macos"' CMakePresets.json && preset=macos
    echo "== package: macOS bundle ($preset preset)"
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" -j "$jobs"
    bundle=$(find_bundle) || { echo "package: the $preset build made no Zentrim.plugin" >&2; exit 1; }
  fi
  local name="Zentrim-$version-macos"
  mkdir -p "$stage/$name"
  cp -R "$bundle" "$stage/$name/Zentrim.plugin"
  cp "$panel" "$stage/$name/"
  install_text panel/install/INSTALL-macos.txt "$stage/$name/INSTALL.txt"
  zip_folder "$name"
}

# ---- the Zentrim Host Check: a zip of its own beside the plug-in's ----

package_hostcheck_windows() {
  local aex="$root/build-windows/probe/ZentrimHostCheck.aex" name="Zentrim-HostCheck-$version-windows"
  [ -f "$aex" ] || { echo "package: no $aex: build the windows-cross preset" >&2; exit 1; }
  mkdir -p "$stage/$name"
  cp "$aex" "$stage/$name/ZentrimHostCheck.aex"
  install_text probe/install/README-windows.txt "$stage/$name/README.txt" crlf
  zip_folder "$name"
}

package_hostcheck_macos() {
  local candidate bundle="" name="Zentrim-HostCheck-$version-macos"
  for candidate in "${ZENTRIM_MACOS_HOSTCHECK_BUNDLE:-}" build-macos/probe/ZentrimHostCheck.plugin \
    build-macos/ZentrimHostCheck.plugin build-release/probe/ZentrimHostCheck.plugin; do
    if [ -n "$candidate" ] && [ -f "$candidate/Contents/MacOS/ZentrimHostCheck" ]; then
      bundle=$candidate
      break
    fi
  done
  if [ -z "$bundle" ]; then
    if [ -n "${ZENTRIM_MACOS_HOSTCHECK_BUNDLE:-}" ]; then
      echo "package: ZENTRIM_MACOS_HOSTCHECK_BUNDLE=$ZENTRIM_MACOS_HOSTCHECK_BUNDLE holds no" \
        "Contents/MacOS/ZentrimHostCheck" >&2
      exit 1
    fi
    echo "package: no ZentrimHostCheck.plugin built beside Zentrim.plugin: no $name.zip"
    return 0
  fi
  mkdir -p "$stage/$name"
  cp -R "$bundle" "$stage/$name/ZentrimHostCheck.plugin"
  install_text probe/install/README-macos.txt "$stage/$name/README.txt"
  zip_folder "$name"
}

case "$what" in
  windows) package_windows && package_hostcheck_windows ;;
  macos) package_macos && package_hostcheck_macos ;;
  all) package_windows && package_hostcheck_windows && package_macos && package_hostcheck_macos ;;
esac
