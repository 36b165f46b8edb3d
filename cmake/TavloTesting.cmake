# One place that says how a test is added, so every test gets the same
# environment: GUI tests run on the offscreen platform under CTest, and the
# same binary still runs on a real display by hand.
find_package(GTest REQUIRED)
include(GoogleTest)

# tavlo_add_gtest(<name> <sources>...): a GoogleTest program on tavlo_core.
function(tavlo_add_gtest name)
  add_executable(${name} ${ARGN})
  target_link_libraries(${name} PRIVATE tavlo_core tavlo_test_support GTest::gtest_main)
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "TAVLO_TEST_DATA=${CMAKE_SOURCE_DIR}/tests/data")
endfunction()

# tavlo_add_qtest(<name> <sources>...): a Qt Test program on tavlo_ui.
function(tavlo_add_qtest name)
  add_executable(${name} ${ARGN})
  target_link_libraries(${name} PRIVATE tavlo_ui tavlo_test_support Qt6::Test)
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;TAVLO_TEST_DATA=${CMAKE_SOURCE_DIR}/tests/data;TAVLO_BUILD_DIR=${CMAKE_BINARY_DIR}"
    TIMEOUT 300)
endfunction()
