# One function that makes a plug-in module target: hidden visibility, the platform's suffix and
# bundle layout, only the entry point exported.
function(zentrim_add_plugin target)
  cmake_parse_arguments(ZP "" "OUTPUT_NAME" "SOURCES;LIBRARIES" ${ARGN})
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
    set_target_properties(${target} PROPERTIES BUNDLE ON BUNDLE_EXTENSION plugin)
  else()
    set_target_properties(${target} PROPERTIES SUFFIX ".so")
    # Without unique symbols the module really unloads when closed, as tests reload it often.
    if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
      target_compile_options(${target} PRIVATE -fno-gnu-unique)
    endif()
  endif()
endfunction()
