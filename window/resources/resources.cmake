# Windows resources of the Quorvel executables: icon, banner, manifest and version information.
# The caller enables the resource compiler first with enable_language(RC).
include_guard(GLOBAL)

set(QUORVEL_RESOURCES_DIR "${CMAKE_CURRENT_LIST_DIR}")

# The version in the four numbers that version resources and manifests take.
set(QUORVEL_VERSION_NUMBERS
    "${PROJECT_VERSION_MAJOR},${PROJECT_VERSION_MINOR},${PROJECT_VERSION_PATCH},0")
set(QUORVEL_VERSION_DOTTED
    "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH}.0")
set(QUORVEL_GENERATED_RESOURCES_DIR "${CMAKE_BINARY_DIR}/resources")
configure_file("${QUORVEL_RESOURCES_DIR}/quorvel.manifest.in"
    "${QUORVEL_GENERATED_RESOURCES_DIR}/quorvel.manifest" @ONLY)
configure_file("${QUORVEL_RESOURCES_DIR}/quorvel_version.h.in"
    "${QUORVEL_GENERATED_RESOURCES_DIR}/quorvel_version.h" @ONLY)

# Adds quorvel.rc to the WIN32 executable `target`, whose version information names the file
# `original_filename` (quorvel.exe, quorvel-sim.exe).
function(quorvel_add_resources target original_filename)
    set(dir "${QUORVEL_RESOURCES_DIR}")
    target_sources(${target} PRIVATE "${dir}/quorvel.rc")
    # The window code includes resource.h too, so the folder is on every language's path. The
    # resource compilers look for the files that the .rc names on the include path as well.
    target_include_directories(${target} PRIVATE "${dir}" "${QUORVEL_GENERATED_RESOURCES_DIR}")
    if(MSVC)
        # The .rc holds the one manifest; the linker would add a bare one of its own.
        target_link_options(${target} PRIVATE /MANIFEST:NO)
    endif()
    # windres passes its -D options on to the preprocessor through a shell, which strips one
    # level of quotes; the string literal must survive that.
    if(CMAKE_RC_COMPILER MATCHES "windres")
        set(literal "\\\"${original_filename}\\\"")
    else()
        set(literal "\"${original_filename}\"")
    endif()
    # Per target rather than on the .rc, which both executables share.
    target_compile_definitions(${target} PRIVATE
        "$<$<COMPILE_LANGUAGE:RC>:QUORVEL_ORIGINAL_FILENAME=${literal}>")
    # The resource compiler reports no dependencies, so edits to these files would not rebuild.
    set_property(SOURCE "${dir}/quorvel.rc" TARGET_DIRECTORY ${target} APPEND PROPERTY OBJECT_DEPENDS
        "${dir}/resource.h" "${dir}/quorvel.ico" "${dir}/banner.jpg"
        "${QUORVEL_GENERATED_RESOURCES_DIR}/quorvel.manifest"
        "${QUORVEL_GENERATED_RESOURCES_DIR}/quorvel_version.h")
endfunction()
