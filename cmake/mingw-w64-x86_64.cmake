# Cross build for 64-bit Windows with Debian's mingw-w64 compiler (the posix thread model, which
# std::thread needs) and its zlib (libz-mingw-w64-dev). Only the core, zevo-cli and the unit tests
# build this way; see `make windows-check`.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(ZEVO_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${ZEVO_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ZEVO_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${ZEVO_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${ZEVO_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The programs run under wine (or on a Windows machine) without the compiler's DLLs beside them.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# How the cross-built programs are run by ctest and the test discovery.
find_program(ZEVO_WINE NAMES wine wine64)
if(ZEVO_WINE)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${ZEVO_WINE})
endif()

# zlib linked in, not as zlib1.dll.
set(ZLIB_USE_STATIC_LIBS ON)
