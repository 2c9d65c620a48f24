# nlohmann/json is header-only. The cross build must not put the host's /usr/include on its
# include path, so its headers are copied into the build tree and used from there.
if(NOT TARGET quorvel_json)
    set(json_headers /usr/include/nlohmann)
    if(NOT EXISTS ${json_headers}/json.hpp)
        message(FATAL_ERROR "nlohmann/json not found: install nlohmann-json3-dev (scripts/setup)")
    endif()
    file(COPY ${json_headers} DESTINATION ${CMAKE_BINARY_DIR}/third_party/include)
    add_library(quorvel_json INTERFACE)
    target_include_directories(quorvel_json SYSTEM INTERFACE ${CMAKE_BINARY_DIR}/third_party/include)
endif()
