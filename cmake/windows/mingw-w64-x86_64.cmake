# Cross-compiling for 64-bit Windows with Debian's MinGW-w64. The game's Windows
# build names this file (`cmake -DCMAKE_TOOLCHAIN_FILE=...`, see `make windows-allegro`)
# and so does build-allegro.sh for the library. The toolchain file in the library's
# own source looks for an old 32-bit compiler and cannot be used.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

# Headers and libraries come from the MinGW-w64 tree only, never from the host's
# /usr (where the Linux Allegro lives); programs run during the build are the host's.
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
