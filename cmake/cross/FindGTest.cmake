# find_package(GTest) for cross builds (put first on CMAKE_MODULE_PATH by the
# toolchain files of cmake/): no GoogleTest library is packaged for the target
# system, so it is compiled here from Debian's sources (package googletest)
# with the target's compiler. Gives the GTest::gtest and GTest::gtest_main
# targets that the native find_package(GTest) gives.
set(VEMO_GOOGLETEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources for cross builds")
if(NOT EXISTS ${VEMO_GOOGLETEST_SOURCE}/CMakeLists.txt)
  set(GTest_FOUND FALSE)
  if(GTest_FIND_REQUIRED)
    message(FATAL_ERROR "No GoogleTest sources in ${VEMO_GOOGLETEST_SOURCE} (Debian package googletest)")
  endif()
  return()
endif()
if(NOT TARGET GTest::gtest)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(${VEMO_GOOGLETEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
endif()
set(GTest_FOUND TRUE)
set(GTEST_FOUND TRUE)

# Test programs are listed when ctest runs them through the emulator (Wine),
# not after each link, so that building needs no Wine.
set(CMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE PRE_TEST)
