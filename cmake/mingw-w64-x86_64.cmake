# Cross-builds 64-bit Windows programs with MinGW-w64 (Debian's g++-mingw-w64-x86-64-posix) and
# runs them, the tests included, under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

# The C libraries scripts/build-mingw-deps builds from Debian's sources live beside MinGW's own.
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32 "${CMAKE_CURRENT_LIST_DIR}/../build/mingw-deps")
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The C and C++ runtimes and the thread library linked in: the programs need only the DLLs
# every Windows has, so they run from a zip or a bare Wine prefix.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

find_program(VLT_WINE NAMES wine wine64)
if(VLT_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR "${VLT_WINE}")
endif()
