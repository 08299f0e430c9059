# Cross-compiling for 64-bit Windows with Debian's mingw-w64 (g++-mingw-w64-x86-64): the toolchain
# of the windows-cross preset and of the Windows test host in tests/windows.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(ZENTRIM_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${ZENTRIM_MINGW_PREFIX}-gcc)
set(CMAKE_CXX_COMPILER ${ZENTRIM_MINGW_PREFIX}-g++)
set(CMAKE_RC_COMPILER ${ZENTRIM_MINGW_PREFIX}-windres)

# Libraries and headers come from the cross sysroot only, never from the build machine's /usr;
# programs (cmake -P scripts, generators) still run from the build machine.
set(CMAKE_FIND_ROOT_PATH /usr/${ZENTRIM_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
