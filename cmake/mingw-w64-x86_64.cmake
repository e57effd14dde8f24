# Cross build for 64-bit Windows with Debian's mingw-w64 (posix threads, for std::thread):
#   cmake -S . -B build-windows -G Ninja --toolchain cmake/mingw-w64-x86_64.cmake
# The window is not built (Debian has no Qt for MinGW); the tests run under wine through
# scripts/wine-run, the emulator ctest puts in front of each test executable.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Static programs: nothing to copy beside them, and wine needs no MinGW DLLs.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run)

set(MURVEX_BUILD_APP OFF CACHE BOOL "")
set(MURVEX_WITH_QT OFF CACHE BOOL "")
set(MURVEX_BUILD_BENCH OFF CACHE BOOL "")
set(MURVEX_GTEST_SOURCE /usr/src/googletest CACHE PATH "")
