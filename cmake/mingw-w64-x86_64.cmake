# Cross-compiling for 64-bit Windows with Debian's MinGW-w64 (packages
# g++-mingw-w64-x86-64-posix and gcc-mingw-w64-x86-64-posix). The posix-thread
# variant is the one whose libstdc++ has std::thread and std::mutex.
#   cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(VEMO_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${VEMO_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VEMO_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${VEMO_MINGW_PREFIX}-windres)

# Headers and libraries of the target only; programs of the build machine.
set(CMAKE_FIND_ROOT_PATH /usr/${VEMO_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The C and C++ runtimes and winpthread linked in, so that the .exe and .dll
# files import nothing but Windows' own DLLs (KERNEL32, msvcrt, ...).
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static")

# Test programs and gtest_discover_tests run through Wine on the build machine.
if(NOT DEFINED CMAKE_CROSSCOMPILING_EMULATOR)
  find_program(VEMO_WINE wine)
  if(VEMO_WINE)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${VEMO_WINE})
  endif()
endif()

# find_package(GTest) builds GoogleTest from Debian's sources (cmake/cross).
list(PREPEND CMAKE_MODULE_PATH ${CMAKE_CURRENT_LIST_DIR}/cross)
