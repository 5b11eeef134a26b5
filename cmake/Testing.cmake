# GoogleTest: Debian's packaged library for native builds; for cross builds (MinGW) the same
# release is compiled from the sources Debian ships in /usr/src/googletest.
if(NOT KESMARO_BUILD_TESTS)
  return()
endif()

enable_testing()
include(GoogleTest)

if(CMAKE_CROSSCOMPILING)
  set(KESMARO_GOOGLETEST_SOURCE "/usr/src/googletest" CACHE PATH "GoogleTest sources for cross builds")
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  add_subdirectory(${KESMARO_GOOGLETEST_SOURCE} ${CMAKE_BINARY_DIR}/_deps/googletest EXCLUDE_FROM_ALL SYSTEM)
  # GoogleTest 1.11 and later define the namespaced aliases themselves.
  if(NOT TARGET GTest::gtest_main)
    add_library(GTest::gtest_main ALIAS gtest_main)
  endif()
else()
  find_package(GTest REQUIRED)
endif()

# kesmaro_add_test(NAME name SOURCES a_test.cpp ... LIBRARIES lib ... [OWN_MAIN])
# One test executable; its cases are registered with CTest one by one. OWN_MAIN: one of the
# sources has main() (to set up a toolkit before the tests), instead of GoogleTest's.
function(kesmaro_add_test)
  cmake_parse_arguments(ARG "OWN_MAIN" "NAME" "SOURCES;LIBRARIES" ${ARGN})
  add_executable(${ARG_NAME} ${ARG_SOURCES})
  if(ARG_OWN_MAIN)
    set(gtest GTest::gtest)
  else()
    set(gtest GTest::gtest_main)
  endif()
  target_link_libraries(${ARG_NAME} PRIVATE ${ARG_LIBRARIES} ${gtest} kesmaro::warnings)
  # PRE_TEST: the cases are listed when CTest starts, not after linking, so a cross build needs
  # no emulator to build. NO_PRETTY_VALUES: a parameterised case is named by its index or its
  # name generator, not by a dump of its parameter.
  gtest_discover_tests(${ARG_NAME} DISCOVERY_TIMEOUT 120 DISCOVERY_MODE PRE_TEST NO_PRETTY_VALUES)
endfunction()
