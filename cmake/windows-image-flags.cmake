# Checks the hardening promised in the header of a Windows program.
#   cmake -DTOOL=<objdump or dumpbin> -DPROGRAM=<program.exe> -P cmake/windows-image-flags.cmake
# Prints the program's DllCharacteristics and fails, naming them, when a flag is missing:
# DYNAMIC_BASE (ASLR), HIGH_ENTROPY_VA (64-bit ASLR), NX_COMPAT (DEP) and TERMINAL_SERVER_AWARE
# (a Remote Desktop host gives the program the shared Windows directory, not a per-user one).
cmake_minimum_required(VERSION 3.25)
if(NOT TOOL OR NOT PROGRAM)
    message(FATAL_ERROR "usage: cmake -DTOOL=<objdump|dumpbin> -DPROGRAM=<exe> -P ${CMAKE_SCRIPT_MODE_FILE}")
endif()
# Name and bit of each flag (IMAGE_DLLCHARACTERISTICS_*).
set(required HIGH_ENTROPY_VA 0x0020 DYNAMIC_BASE 0x0040 NX_COMPAT 0x0100
    TERMINAL_SERVER_AWARE 0x8000)

if(TOOL MATCHES "dumpbin")
    set(arguments /nologo /headers)
else()
    set(arguments -p)
endif()
execute_process(COMMAND ${TOOL} ${arguments} ${PROGRAM}
    RESULT_VARIABLE status OUTPUT_VARIABLE listing ERROR_VARIABLE errors)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "${TOOL} cannot read ${PROGRAM}: ${errors}")
endif()

# objdump: "DllCharacteristics\t00008160"; dumpbin: "            8160 DLL characteristics".
if(listing MATCHES "DllCharacteristics[ \t]+([0-9A-Fa-f]+)")
    set(hex "${CMAKE_MATCH_1}")
elseif(listing MATCHES "([0-9A-Fa-f]+) DLL characteristics")
    set(hex "${CMAKE_MATCH_1}")
else()
    message(FATAL_ERROR "${TOOL} shows no DllCharacteristics for ${PROGRAM}")
endif()
math(EXPR value "0x${hex}")
math(EXPR shown "${value}" OUTPUT_FORMAT HEXADECIMAL)

set(present)
set(missing)
list(LENGTH required count)
math(EXPR last "${count} - 1")
foreach(index RANGE 0 ${last} 2)
    math(EXPR bit_index "${index} + 1")
    list(GET required ${index} name)
    list(GET required ${bit_index} bit)
    math(EXPR masked "${value} & ${bit}")
    if(masked)
        list(APPEND present ${name})
    else()
        list(APPEND missing ${name})
    endif()
endforeach()
list(JOIN present " " names)
message(STATUS "${PROGRAM} DllCharacteristics ${shown}: ${names}")
if(missing)
    list(JOIN missing " " names)
    message(FATAL_ERROR "${PROGRAM} lacks ${names}")
endif()
