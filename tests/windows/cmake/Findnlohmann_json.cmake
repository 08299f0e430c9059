# Finds the header-only nlohmann/json of the build machine for the cross build, exposing only a
# folder that holds it (linked in the build tree), so no other build-machine header is visible.
find_path(ZENTRIM_NLOHMANN_PARENT nlohmann/json.hpp PATHS /usr/include /usr/local/include
          NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
include(FindPackageHandleStandardArgs)
find_package_handle_standard_args(nlohmann_json REQUIRED_VARS ZENTRIM_NLOHMANN_PARENT)
if(nlohmann_json_FOUND AND NOT TARGET nlohmann_json::nlohmann_json)
  set(_json_dir ${CMAKE_BINARY_DIR}/nlohmann-only)
  file(MAKE_DIRECTORY ${_json_dir})
  file(CREATE_LINK ${ZENTRIM_NLOHMANN_PARENT}/nlohmann ${_json_dir}/nlohmann SYMBOLIC)
  add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED GLOBAL)
  set_target_properties(nlohmann_json::nlohmann_json PROPERTIES
    INTERFACE_INCLUDE_DIRECTORIES ${_json_dir}
    INTERFACE_SYSTEM_INCLUDE_DIRECTORIES ${_json_dir})
endif()
