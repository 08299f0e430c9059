#!/usr/bin/env bash
# Writes what a user installs into dist/: Zentrim-<version>-windows.zip (Zentrim.aex, cross-built
# with the windows-cross preset, the companion panel and INSTALL.txt) and, from the macOS bundle,
# Zentrim-<version>-macos.zip (Zentrim.plugin, the panel and INSTALL.txt). Beside each, from the
# same build, the Zentrim Host Check's Zentrim-HostCheck-<version>-<platform>.zip (the check and
# README.txt); its macOS bundle comes from ZENTRIM_MACOS_HOSTCHECK_BUNDLE, else from the same build
# as the plug-in's: build-macos-cross/probe/ on Linux, on a Mac the first of build-macos/probe/,
# build-macos/ and build-release/probe/ that holds one (none: no such zip).
#
#   bash scripts/package.sh [windows|macos|all]
#
# The default is windows on Linux and macos on a Mac. The macOS package takes Zentrim.plugin from
# ZENTRIM_MACOS_BUNDLE, else from the bundle built here: on Linux the macOS stage's cross-build
# (build-macos-cross/plugin/, scripts/macos-check.sh), on a Mac the first of build-macos/plugin/,
# build-macos/ and build-release/plugin/ that holds one (built with the macos preset, else
# release, when none does). ZENTRIM_DIST_DIR: where the zips go (default dist/).
# ZENTRIM_PACKAGE_NO_BUILD=1: pack the Windows plug-in already built, without building.
#
# What ships carries nothing of the build machine: Zentrim.aex without its debug sections, the
# macOS executables without an absolute path of the build (checked: the package fails otherwise).
# INSTALL.txt names the host version the plug-in's property list declares
# (plugin/resources/PluginProperties.cmake: vers, major in the high 16 bits, minor in the low).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

version=$(sed -n 's/^project(Zentrim VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
[ -n "$version" ] || { echo "package: no version in CMakeLists.txt's project()" >&2; exit 1; }
vers=$(sed -n 's/^set(ZENTRIM_PLUGIN_VERSION "\(0x[0-9A-Fa-f]*\)").*/\1/p' \
  plugin/resources/PluginProperties.cmake)
[ -n "$vers" ] || { echo "package: no ZENTRIM_PLUGIN_VERSION in PluginProperties.cmake" >&2; exit 1; }
host_version="$((vers >> 16)).$((vers & 0xFFFF))"
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

# install_text TEMPLATE DEST [crlf]: INSTALL.txt with the versions filled in.
install_text() {
  local fill=(-e "s/@VERSION@/$version/g" -e "s/@HOST_VERSION@/$host_version/g"
              -e "s/@PIPL_VERS@/$vers/g")
  if [ "${3:-}" = crlf ]; then
    sed "${fill[@]}" "$1" | awk '{ printf "%s\r\n", $0 }' > "$2"
  else
    sed "${fill[@]}" "$1" > "$2"
  fi
}

# The binutils that read and strip a Windows plug-in: the cross tool chain's, else the system's
# when it knows the PE format.
pe_tool() {  # strip|objdump
  if command -v "x86_64-w64-mingw32-$1" >/dev/null; then
    echo "x86_64-w64-mingw32-$1"
  elif "$1" --help 2>/dev/null | grep -q 'pe-x86-64'; then
    echo "$1"
  else
    echo "package: no x86_64-w64-mingw32-$1 (Debian: binutils-mingw-w64-x86-64)" >&2
    return 1
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
      bash scripts/bootstrap.sh demo
      command -v x86_64-w64-mingw32-g++ >/dev/null || ZENTRIM_WINDOWS=1 bash scripts/bootstrap.sh demo
    fi
    echo "== package: Windows plug-in (windows-cross preset)"
    cmake --preset windows-cross >/dev/null
    cmake --build --preset windows-cross -j "$jobs"
  fi
  [ -f "$aex" ] || { echo "package: no $aex: build the windows-cross preset" >&2; exit 1; }
  local name="Zentrim-$version-windows" strip objdump
  strip=$(pe_tool strip) && objdump=$(pe_tool objdump) || exit 1
  mkdir -p "$stage/$name"
  # The debug sections the static C++ runtime brings are of no use to a user: left out.
  "$strip" --strip-debug -o "$stage/$name/Zentrim.aex" "$aex"
  if "$objdump" -h "$stage/$name/Zentrim.aex" | grep -q ' \.debug'; then
    echo "package: Zentrim.aex still has debug sections after stripping" >&2
    exit 1
  fi
  cp "$panel" "$stage/$name/"
  install_text panel/install/INSTALL-windows.txt "$stage/$name/INSTALL.txt" crlf
  zip_folder "$name"
}

# No path of this machine in what ships (the source and build folders, the home folder).
refuse_build_paths() {  # EXECUTABLE NAME-IN-MESSAGES
  local place
  for place in "$root" "$(cd "$root" && pwd -P)" "${HOME:-}"; do
    [ "${#place}" -gt 1 ] || continue
    if [ -f "$1" ] && grep -qaF "$place/" "$1"; then
      echo "package: $2 holds the build machine's path $place/" >&2
      exit 1
    fi
  done
}

# find_bundle NAME FOLDER CHOSEN: the bundle NAME.plugin to pack, if it holds its executable:
# CHOSEN (the variable naming one) when set, and then no other; else the first one built here: on
# Linux the macOS stage's cross-build, on a Mac the macos preset's build, else the release preset's.
find_bundle() {
  local name=$1 folder=$2 chosen=$3 candidate
  local built=("build-macos/$folder/$name.plugin" "build-macos/$name.plugin"
               "build-release/$folder/$name.plugin")
  [ "$(uname -s)" = Darwin ] || built=("build-macos-cross/$folder/$name.plugin")
  [ -z "$chosen" ] || built=("$chosen")
  for candidate in "${built[@]}"; do
    if [ -f "$candidate/Contents/MacOS/$name" ]; then
      echo "$candidate"
      return 0
    fi
  done
  return 1
}

package_macos() {
  local bundle
  if ! bundle=$(find_bundle Zentrim plugin "${ZENTRIM_MACOS_BUNDLE:-}"); then
    if [ -n "${ZENTRIM_MACOS_BUNDLE:-}" ]; then
      echo "package: ZENTRIM_MACOS_BUNDLE=$ZENTRIM_MACOS_BUNDLE holds no Contents/MacOS/Zentrim" >&2
      exit 1
    fi
    if [ "$(uname -s)" != Darwin ]; then
      echo "package: no Zentrim.plugin built in build-macos-cross/plugin/: run the macOS stage" \
        "(bash scripts/macos-check.sh) first" >&2
      exit 1
    fi
    local preset=release
    grep -q '"name": "macos"' CMakePresets.json && preset=macos
    echo "== package: macOS bundle ($preset preset)"
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" -j "$jobs"
    bundle=$(find_bundle Zentrim plugin "${ZENTRIM_MACOS_BUNDLE:-}") ||
      { echo "package: the $preset build made no Zentrim.plugin" >&2; exit 1; }
  fi
  local name="Zentrim-$version-macos"
  mkdir -p "$stage/$name"
  cp -R "$bundle" "$stage/$name/Zentrim.plugin"
  refuse_build_paths "$stage/$name/Zentrim.plugin/Contents/MacOS/Zentrim" \
    "$bundle/Contents/MacOS/Zentrim"
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
  local bundle name="Zentrim-HostCheck-$version-macos"
  bundle=$(find_bundle ZentrimHostCheck probe "${ZENTRIM_MACOS_HOSTCHECK_BUNDLE:-}") || bundle=
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
  refuse_build_paths "$stage/$name/ZentrimHostCheck.plugin/Contents/MacOS/ZentrimHostCheck" \
    "$bundle/Contents/MacOS/ZentrimHostCheck"
  install_text probe/install/README-macos.txt "$stage/$name/README.txt"
  zip_folder "$name"
}

case "$what" in
  windows) package_windows && package_hostcheck_windows ;;
  macos) package_macos && package_hostcheck_macos ;;
  all) package_windows && package_hostcheck_windows && package_macos && package_hostcheck_macos ;;
esac
