# Helpers shared by the folders' CMake files.

# zorbel_add_test(<name> SOURCES <files...> LIBS <targets...>)
# A GoogleTest program registered with ctest; every test runs in a fresh registry root and
# temporary folder (see tests/support/test_main.cpp).
function(zorbel_add_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} zorbel_test_support GTest::gtest GTest::gmock)
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 TEST_PREFIX "${name}."
    PROPERTIES ENVIRONMENT "ZORBEL_AUDIO_OUTPUT=none")
endfunction()
