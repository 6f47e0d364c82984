# Header-only libraries of the build machine made visible to a cross build. Only their own folders
# are exposed (never the host's whole include directory, whose C library headers would shadow the
# target's), and find_package() finds them through a small generated package configuration.
set(_ca_cross "${CMAKE_BINARY_DIR}/cross-host")
file(MAKE_DIRECTORY "${_ca_cross}/include" "${_ca_cross}/nlohmann_json")
if(EXISTS /usr/include/nlohmann/json.hpp AND NOT EXISTS "${_ca_cross}/include/nlohmann")
  file(CREATE_LINK /usr/include/nlohmann "${_ca_cross}/include/nlohmann" SYMBOLIC)
endif()
file(WRITE "${_ca_cross}/nlohmann_json/nlohmann_jsonConfig.cmake" "\
if(NOT TARGET nlohmann_json::nlohmann_json)
  add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED)
  set_target_properties(nlohmann_json::nlohmann_json PROPERTIES
    INTERFACE_INCLUDE_DIRECTORIES \"${_ca_cross}/include\"
    INTERFACE_SYSTEM_INCLUDE_DIRECTORIES \"${_ca_cross}/include\")
endif()
")
file(WRITE "${_ca_cross}/nlohmann_json/nlohmann_jsonConfigVersion.cmake" "\
set(PACKAGE_VERSION 3)
if(PACKAGE_FIND_VERSION_MAJOR EQUAL 3 OR NOT PACKAGE_FIND_VERSION)
  set(PACKAGE_VERSION_COMPATIBLE TRUE)
endif()
")
set(nlohmann_json_DIR "${_ca_cross}/nlohmann_json" CACHE PATH "nlohmann_json for the cross build" FORCE)
