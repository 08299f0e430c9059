# One function that makes a plug-in module target: hidden visibility, the platform's suffix and
# bundle layout, only the entry point exported.

# macOS: both architectures the host runs on, and a deployment target arm64 accepts, unless the
# build says otherwise (the macos presets and cmake/zig-macos.cmake set them before the project).
if(APPLE)
  if(NOT CMAKE_OSX_ARCHITECTURES)
    set(CMAKE_OSX_ARCHITECTURES "x86_64;arm64" CACHE STRING "Architectures of the macOS bundle" FORCE)
  endif()
  if(NOT CMAKE_OSX_DEPLOYMENT_TARGET)
    set(CMAKE_OSX_DEPLOYMENT_TARGET "11.0" CACHE STRING "Oldest macOS the bundle runs on" FORCE)
  endif()
  if("arm64" IN_LIST CMAKE_OSX_ARCHITECTURES AND CMAKE_OSX_DEPLOYMENT_TARGET VERSION_LESS 11.0)
    message(FATAL_ERROR "arm64 needs macOS 11.0 or later: CMAKE_OSX_DEPLOYMENT_TARGET is "
                        "${CMAKE_OSX_DEPLOYMENT_TARGET}")
  endif()
endif()

set(ZENTRIM_BUNDLE_IDENTIFIER "com.zentrim.Zentrim" CACHE STRING "CFBundleIdentifier of the macOS bundle")

# zentrim_add_plugin(<target> OUTPUT_NAME <name> ENTRY_POINT <symbol> SOURCES ... LIBRARIES ...
#   [INFO_PLIST <template> PACKAGE_TYPE <code> SIGNATURE <code> BUNDLE_RESOURCES <files>...
#    BUNDLE_IDENTIFIER <id>])
# The macOS arguments make the bundle: Contents/Info.plist from the template (@ZP_...@ variables),
# Contents/PkgInfo (package type then signature), the resources in Contents/Resources. The bundle
# identifier defaults to ZENTRIM_BUNDLE_IDENTIFIER; a second plug-in gives its own.
function(zentrim_add_plugin target)
  cmake_parse_arguments(ZP "" "OUTPUT_NAME;ENTRY_POINT;INFO_PLIST;PACKAGE_TYPE;SIGNATURE;BUNDLE_IDENTIFIER"
                        "SOURCES;LIBRARIES;BUNDLE_RESOURCES" ${ARGN})
  if(NOT ZP_ENTRY_POINT)
    message(FATAL_ERROR "zentrim_add_plugin(${target}): ENTRY_POINT is required")
  endif()
  add_library(${target} MODULE ${ZP_SOURCES})
  target_link_libraries(${target} PRIVATE ${ZP_LIBRARIES})
  set_target_properties(${target} PROPERTIES
    PREFIX ""
    OUTPUT_NAME ${ZP_OUTPUT_NAME}
    CXX_VISIBILITY_PRESET hidden
    VISIBILITY_INLINES_HIDDEN ON)
  if(WIN32)
    set_target_properties(${target} PROPERTIES SUFFIX ".aex")
    if(MINGW)
      target_link_options(${target} PRIVATE -static -static-libgcc -static-libstdc++)
    endif()
  elseif(APPLE)
    _zentrim_make_bundle(${target})
  else()
    set_target_properties(${target} PROPERTIES SUFFIX ".so")
    # Without unique symbols the module really unloads when closed, as tests reload it often.
    if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
      target_compile_options(${target} PRIVATE -fno-gnu-unique)
    endif()
  endif()
endfunction()

# The macOS half of zentrim_add_plugin (reads its ZP_ variables).
macro(_zentrim_make_bundle target)
  foreach(required INFO_PLIST PACKAGE_TYPE SIGNATURE)
    if(NOT ZP_${required})
      message(FATAL_ERROR "zentrim_add_plugin(${target}): ${required} is required on macOS")
    endif()
  endforeach()
  string(LENGTH "${ZP_PACKAGE_TYPE}${ZP_SIGNATURE}" _zp_pkginfo_length)
  if(NOT _zp_pkginfo_length EQUAL 8)
    message(FATAL_ERROR "zentrim_add_plugin(${target}): PACKAGE_TYPE and SIGNATURE are "
                        "four-character codes, got '${ZP_PACKAGE_TYPE}' and '${ZP_SIGNATURE}'")
  endif()
  set(_zp_dir ${CMAKE_CURRENT_BINARY_DIR}/${target}.bundle)

  set(ZP_EXECUTABLE ${ZP_OUTPUT_NAME})
  set(ZP_IDENTIFIER ${ZENTRIM_BUNDLE_IDENTIFIER})
  if(ZP_BUNDLE_IDENTIFIER)
    set(ZP_IDENTIFIER ${ZP_BUNDLE_IDENTIFIER})
  endif()
  set(ZP_NAME ${ZP_OUTPUT_NAME})
  set(ZP_VERSION ${PROJECT_VERSION})
  set(ZP_MINIMUM_SYSTEM ${CMAKE_OSX_DEPLOYMENT_TARGET})
  set(ZP_COPYRIGHT "Copyright (c) the ${PROJECT_NAME} developers")
  configure_file(${ZP_INFO_PLIST} ${_zp_dir}/Info.plist @ONLY)

  # No newline: the file is exactly the two codes.
  file(CONFIGURE OUTPUT ${_zp_dir}/PkgInfo CONTENT "${ZP_PACKAGE_TYPE}${ZP_SIGNATURE}" @ONLY)
  # Only the entry point leaves the bundle; C symbols carry a leading underscore in Mach-O.
  file(CONFIGURE OUTPUT ${_zp_dir}/exported_symbols.txt CONTENT "_${ZP_ENTRY_POINT}\n" @ONLY)

  target_sources(${target} PRIVATE ${_zp_dir}/PkgInfo ${ZP_BUNDLE_RESOURCES})
  set_source_files_properties(${_zp_dir}/PkgInfo PROPERTIES MACOSX_PACKAGE_LOCATION .)
  set_source_files_properties(${ZP_BUNDLE_RESOURCES} PROPERTIES MACOSX_PACKAGE_LOCATION Resources)
  set_target_properties(${target} PROPERTIES
    BUNDLE ON
    BUNDLE_EXTENSION plugin
    MACOSX_BUNDLE_INFO_PLIST ${_zp_dir}/Info.plist
    LINK_DEPENDS ${_zp_dir}/exported_symbols.txt)
  target_link_options(${target} PRIVATE
    "LINKER:-exported_symbols_list,${_zp_dir}/exported_symbols.txt" "LINKER:-dead_strip")
endmacro()
