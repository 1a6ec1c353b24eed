# Cross-compiling for 64-bit Windows with Debian's MinGW-w64 (g++-mingw-w64-x86-64-posix):
# cmake -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake. The posix flavour of the
# compiler has std::thread (through winpthread).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TAVIK_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${TAVIK_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TAVIK_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${TAVIK_MINGW_TRIPLET}-windres)

# Headers and libraries come from the MinGW tree and from the prefixes named in
# CMAKE_PREFIX_PATH (the static freeglut); programs from the build machine.
set(CMAKE_FIND_ROOT_PATH /usr/${TAVIK_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
