# nlohmann/json (header-only) as the target quorvel_json. A native build takes the installed
# package; the cross build must not put the host's /usr/include on its include path, so it copies
# the headers into the build tree and uses them from there.
if(NOT TARGET quorvel_json)
    add_library(quorvel_json INTERFACE)
    if(CMAKE_CROSSCOMPILING)
        set(json_headers /usr/include/nlohmann)
        if(NOT EXISTS ${json_headers}/json.hpp)
            message(FATAL_ERROR "nlohmann/json not found: install nlohmann-json3-dev (scripts/setup)")
        endif()
        file(COPY ${json_headers} DESTINATION ${CMAKE_BINARY_DIR}/third_party/include)
        target_include_directories(quorvel_json SYSTEM INTERFACE
            ${CMAKE_BINARY_DIR}/third_party/include)
    else()
        find_package(nlohmann_json 3 REQUIRED)
        target_link_libraries(quorvel_json INTERFACE nlohmann_json::nlohmann_json)
    endif()
endif()
