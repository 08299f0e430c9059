# The module the host loads: the shell over the engine library, and on Windows its resources.
set(ZENTRIM_PIPL_RC ${CMAKE_CURRENT_BINARY_DIR}/Zentrim_PiPL.rc)
add_custom_command(OUTPUT ${ZENTRIM_PIPL_RC}
  COMMAND ${CMAKE_COMMAND} -DOUTPUT=${ZENTRIM_PIPL_RC} -P ${CMAKE_CURRENT_SOURCE_DIR}/resources/GeneratePiPL.cmake
  DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/resources/GeneratePiPL.cmake
  COMMENT "Generating the plug-in property list")
add_custom_target(zentrim_pipl DEPENDS ${ZENTRIM_PIPL_RC})

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

zentrim_add_plugin(Zentrim OUTPUT_NAME Zentrim SOURCES ${ZENTRIM_SHELL_SOURCES} LIBRARIES zentrim_engine)
target_include_directories(Zentrim PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
add_dependencies(Zentrim zentrim_pipl)
