# Cross build for 64-bit Windows with clang and lld, against the same mingw-w64 headers, CRT and
# libstdc++ as the gcc cross build: a second compiler to catch what gcc lets through. Built only;
# the tests run on the gcc build.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(triple x86_64-w64-mingw32)
set(CMAKE_C_COMPILER clang)
set(CMAKE_CXX_COMPILER clang++)
set(CMAKE_C_COMPILER_TARGET ${triple})
set(CMAKE_CXX_COMPILER_TARGET ${triple})
set(CMAKE_RC_COMPILER ${triple}-windres)
set(CMAKE_SYSROOT /usr/${triple})

# Debian's clang does not find the mingw-w64 gcc's libstdc++ by itself, and without the sysroot
# it would search the host's /usr/include. The posix-threads gcc knows where its library is.
execute_process(COMMAND ${triple}-g++-posix -print-libgcc-file-name
    OUTPUT_VARIABLE libgcc OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
cmake_path(GET libgcc PARENT_PATH gcc_dir)
set(libstdcxx ${gcc_dir}/include/c++)
# The mingw gcc's libstdc++ keeps its thread-local variables (call_once's among them) in emulated
# TLS; clang must reach them the same way.
set(CMAKE_CXX_FLAGS_INIT
    "-femulated-tls -nostdinc++ -isystem ${libstdcxx} -isystem ${libstdcxx}/${triple} -isystem ${libstdcxx}/backward")
# The posix-threads libstdc++ needs winpthread, which the gcc driver adds by itself; lld takes
# archives in any order. The link sees the compile flags too, -nostdinc++ among them.
set(CMAKE_EXE_LINKER_FLAGS_INIT
    "-fuse-ld=lld -L${gcc_dir} -lpthread -Wno-unused-command-line-argument")

set(CMAKE_FIND_ROOT_PATH /usr/${triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
