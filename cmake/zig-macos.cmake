# Cross-building the macOS plug-in bundle on Linux: the toolchain of the macos-cross preset.
#
# CMake takes its Apple path (APPLE, bundles, CMAKE_OSX_ARCHITECTURES) as on a Mac. The compilers
# are cmake/macos-cross/cc and c++, a driver that compiles each architecture with Zig 0.11.0 and
# links it with LLVM's ld64.lld, joining the slices with llvm-lipo (scripts/macos-tools.sh prepares
# Zig; Debian's lld-14 and llvm-14 give the LLVM tools). The SDK is a stand-in: text stubs of the
# system libraries in tests/macos/sdk, the declarations the plug-in needs in tests/macos/stubs and
# tests/macos/appkit; the frameworks themselves are the host process's at load time.
set(CMAKE_SYSTEM_NAME Darwin)
set(CMAKE_SYSTEM_VERSION 20.0)  # Darwin 20 is macOS 11
set(CMAKE_SYSTEM_PROCESSOR arm64)

get_filename_component(ZENTRIM_CROSS_ROOT "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)
set(CMAKE_C_COMPILER ${ZENTRIM_CROSS_ROOT}/cmake/macos-cross/cc)
set(CMAKE_CXX_COMPILER ${ZENTRIM_CROSS_ROOT}/cmake/macos-cross/c++)

set(ZENTRIM_CROSS_TOOLS "$ENV{ZENTRIM_MACOS_TOOLS}")
if(NOT ZENTRIM_CROSS_TOOLS)
  # Where scripts/macos-tools.sh puts them: once per machine, in the user's cache folder.
  if(DEFINED ENV{XDG_CACHE_HOME} AND NOT "$ENV{XDG_CACHE_HOME}" STREQUAL "")
    set(ZENTRIM_CROSS_TOOLS "$ENV{XDG_CACHE_HOME}/zentrim/macos-tools")
  else()
    set(ZENTRIM_CROSS_TOOLS "$ENV{HOME}/.cache/zentrim/macos-tools")
  endif()
endif()
if(NOT EXISTS ${ZENTRIM_CROSS_TOOLS}/zig-0.11.0/zig)
  message(FATAL_ERROR "The macOS cross-build needs Zig in ${ZENTRIM_CROSS_TOOLS}: run scripts/macos-tools.sh")
endif()

set(CMAKE_OSX_ARCHITECTURES "x86_64;arm64" CACHE STRING "Architectures of the macOS bundle")
set(CMAKE_OSX_DEPLOYMENT_TARGET "11.0" CACHE STRING "Oldest macOS the bundle runs on (arm64 needs 11.0)")
set(CMAKE_OSX_SYSROOT ${ZENTRIM_CROSS_ROOT}/tests/macos/sdk CACHE PATH "Stand-in SDK: library stubs")

# The stand-in headers, as system headers (after the project's own).
set(ZENTRIM_CROSS_HEADERS
  "-isystem ${ZENTRIM_CROSS_ROOT}/tests/macos/stubs -isystem ${ZENTRIM_CROSS_ROOT}/tests/macos/appkit")
set(CMAKE_C_FLAGS_INIT "${ZENTRIM_CROSS_HEADERS}")
set(CMAKE_CXX_FLAGS_INIT "${ZENTRIM_CROSS_HEADERS}")

# Static libraries hold universal objects: llvm-libtool-darwin makes a universal archive of them,
# one archive per architecture, as Apple's libtool does.
find_program(ZENTRIM_LIBTOOL_DARWIN NAMES llvm-libtool-darwin-14 llvm-libtool-darwin
  HINTS /usr/lib/llvm-14/bin REQUIRED)
set(CMAKE_AR ${ZENTRIM_LIBTOOL_DARWIN} CACHE FILEPATH "Archiver of the macOS cross-build")
foreach(lang C CXX)
  set(CMAKE_${lang}_CREATE_STATIC_LIBRARY "<CMAKE_AR> -static -o <TARGET> <OBJECTS>")
  set(CMAKE_${lang}_ARCHIVE_CREATE "<CMAKE_AR> -static -o <TARGET> <OBJECTS>")
  # Long object lists come in parts: the archive so far is one more input.
  set(CMAKE_${lang}_ARCHIVE_APPEND "<CMAKE_AR> -static -o <TARGET> <TARGET> <OBJECTS>")
  set(CMAKE_${lang}_ARCHIVE_FINISH "")
endforeach()

# Programs found on the build machine; nothing else from it.
set(CMAKE_FIND_ROOT_PATH ${CMAKE_OSX_SYSROOT})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# The checks CMake makes of a new compiler build static libraries, not programs.
set(CMAKE_TRY_COMPILE_TARGET_TYPE STATIC_LIBRARY)
