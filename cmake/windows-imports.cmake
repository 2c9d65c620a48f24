# Checks the promise that a Windows program needs no DLL beyond Windows' own.
#   cmake -DTOOL=<objdump or dumpbin> -DPROGRAM=<program.exe> -P cmake/windows-imports.cmake
# Prints the program's imported DLLs and fails, naming them, when one is not a DLL that every
# Windows (7 and later) has in system32. A compiler runtime (libstdc++-6.dll, libgcc_s_seh-1.dll,
# libwinpthread-1.dll, VCRUNTIME140.dll, MSVCP140.dll) or the Universal CRT (ucrtbase.dll,
# api-ms-win-crt-*) fails: those would have to ship beside the program.
cmake_minimum_required(VERSION 3.25)
if(NOT TOOL OR NOT PROGRAM)
    message(FATAL_ERROR "usage: cmake -DTOOL=<objdump|dumpbin> -DPROGRAM=<exe> -P ${CMAKE_SCRIPT_MODE_FILE}")
endif()
set(windows_own advapi32 bcrypt comctl32 comdlg32 crypt32 gdi32 kernel32 msvcrt ole32 oleaut32
    psapi shell32 shlwapi user32 uxtheme version windowscodecs ws2_32)

if(TOOL MATCHES "dumpbin")
    set(arguments /nologo /dependents)
else()
    set(arguments -p)
endif()
execute_process(COMMAND ${TOOL} ${arguments} ${PROGRAM}
    RESULT_VARIABLE status OUTPUT_VARIABLE listing ERROR_VARIABLE errors)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "${TOOL} cannot read ${PROGRAM}: ${errors}")
endif()

# objdump: "\tDLL Name: KERNEL32.dll"; dumpbin: "    KERNEL32.dll", one a line.
string(REPLACE "\r" "" listing "${listing}")
string(REPLACE "\n" ";" lines "${listing}")
set(imports)
set(foreign)
foreach(line IN LISTS lines)
    if(line MATCHES "^[ \t]*(DLL Name:[ \t]*)?([A-Za-z0-9_.+-]+\\.[dD][lL][lL])[ \t]*$")
        set(dll "${CMAKE_MATCH_2}")
        list(APPEND imports "${dll}")
        string(TOLOWER "${dll}" lower)
        string(REGEX REPLACE "\\.dll$" "" lower "${lower}")
        if(NOT lower IN_LIST windows_own)
            list(APPEND foreign "${dll}")
        endif()
    endif()
endforeach()
if(NOT imports)
    message(FATAL_ERROR "${TOOL} lists no imported DLL for ${PROGRAM}")
endif()
list(JOIN imports " " shown)
message(STATUS "${PROGRAM} imports ${shown}")
if(foreign)
    list(JOIN foreign " " shown)
    message(FATAL_ERROR "${PROGRAM} needs DLLs that Windows does not have: ${shown}")
endif()
