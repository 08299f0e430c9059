# The module the host loads: the shell over the engine library, with its property list: on Windows
# as a resource of the DLL, on macOS as the bundle's resource file. Both encodings are generated
# from resources/PluginProperties.cmake on every platform, so that the tests can read them back.
include(${CMAKE_CURRENT_SOURCE_DIR}/resources/PluginProperties.cmake)
find_package(Python3 REQUIRED COMPONENTS Interpreter)

set(ZENTRIM_PIPL_RC ${CMAKE_CURRENT_BINARY_DIR}/Zentrim_PiPL.rc)
set(ZENTRIM_PIPL_RSRC ${CMAKE_CURRENT_BINARY_DIR}/Zentrim.rsrc)
set(ZENTRIM_PIPL_GENERATOR ${CMAKE_CURRENT_SOURCE_DIR}/resources/GeneratePiPL.py)
set(ZENTRIM_PIPL_PROPERTIES
  --kind "${ZENTRIM_PLUGIN_KIND}" --name "${ZENTRIM_PLUGIN_NAME}"
  --category "${ZENTRIM_PLUGIN_CATEGORY}" --version "${ZENTRIM_PLUGIN_VERSION}"
  --entry-point "${ZENTRIM_PLUGIN_ENTRY_POINT}")
foreach(encoding windows-rc macos-rsrc)
  if(encoding STREQUAL "windows-rc")
    set(output ${ZENTRIM_PIPL_RC})
  else()
    set(output ${ZENTRIM_PIPL_RSRC})
  endif()
  add_custom_command(OUTPUT ${output}
    COMMAND Python3::Interpreter ${ZENTRIM_PIPL_GENERATOR} --format ${encoding} --output ${output}
            ${ZENTRIM_PIPL_PROPERTIES}
    DEPENDS ${ZENTRIM_PIPL_GENERATOR} ${CMAKE_CURRENT_SOURCE_DIR}/resources/PluginProperties.cmake
    COMMENT "Generating the plug-in property list (${encoding})"
    VERBATIM)
endforeach()
add_custom_target(zentrim_pipl DEPENDS ${ZENTRIM_PIPL_RC} ${ZENTRIM_PIPL_RSRC})

set(ZENTRIM_SHELL_SOURCES
  ${CMAKE_CURRENT_SOURCE_DIR}/Zentrim.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/Zentrim_Hooks.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/Zentrim_Scripts.cpp)
if(WIN32)
  configure_file(${CMAKE_CURRENT_SOURCE_DIR}/resources/Zentrim.manifest ${CMAKE_CURRENT_BINARY_DIR}/Zentrim.manifest COPYONLY)
  configure_file(${CMAKE_CURRENT_SOURCE_DIR}/resources/Zentrim.rc ${CMAKE_CURRENT_BINARY_DIR}/Zentrim.rc COPYONLY)
  list(APPEND ZENTRIM_SHELL_SOURCES ${CMAKE_CURRENT_BINARY_DIR}/Zentrim.rc ${ZENTRIM_PIPL_RC})
  set_source_files_properties(${ZENTRIM_PIPL_RC} PROPERTIES HEADER_FILE_ONLY ON)
endif()

zentrim_add_plugin(Zentrim OUTPUT_NAME Zentrim ENTRY_POINT ${ZENTRIM_PLUGIN_ENTRY_POINT}
  SOURCES ${ZENTRIM_SHELL_SOURCES} LIBRARIES zentrim_engine
  INFO_PLIST ${CMAKE_CURRENT_SOURCE_DIR}/resources/Info.plist.in
  PACKAGE_TYPE ${ZENTRIM_PLUGIN_KIND} SIGNATURE ${ZENTRIM_PLUGIN_HOST_SIGNATURE}
  BUNDLE_RESOURCES ${ZENTRIM_PIPL_RSRC})
target_include_directories(Zentrim PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
add_dependencies(Zentrim zentrim_pipl)
