# One place that says how a test is added, so every test gets the same
# environment: GUI tests run on the offscreen platform under CTest, and the
# same binary still runs on a real display by hand.
#
# A cross build cannot link the build machine's GoogleTest: give it the
# GoogleTest sources (TAVLO_GTEST_SOURCE_DIR, e.g. /usr/src/googletest) to
# build in the same tree. Its test programs run through the toolchain's
# emulator (Wine for Windows) and are asked for their tests only when CTest
# runs, not at build time.
set(TAVLO_GTEST_SOURCE_DIR "" CACHE PATH "GoogleTest sources to build in-tree instead of find_package(GTest)")
if(TAVLO_GTEST_SOURCE_DIR)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(${TAVLO_GTEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
else()
  # Without it the GoogleTest programs are left out, and configuring says so:
  # running the program needs none of them.
  find_package(GTest)
endif()
include(GoogleTest)
if(CMAKE_CROSSCOMPILING)
  set(TAVLO_GTEST_DISCOVERY PRE_TEST)
else()
  set(TAVLO_GTEST_DISCOVERY POST_BUILD)
endif()

if(CMAKE_CROSSCOMPILING_EMULATOR MATCHES "wine")
  set(TAVLO_UNDER_WINE ON)
else()
  set(TAVLO_UNDER_WINE OFF)
endif()

# Under Wine the programs find the runtime DLLs (mingw's, and Qt's when the
# windows are built) through WINEPATH, which a small runner sets: the tests
# and GoogleTest's discovery both go through it. Wine keeps Unix variables
# named QT_* from Windows programs; the WINE-prefixed forms reach them as QT_*.
set(TAVLO_QT_TEST_ENV QT_QPA_PLATFORM=offscreen)
if(TAVLO_UNDER_WINE)
  set(dll_dirs "")
  foreach(dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
                    OUTPUT_VARIABLE dll_path OUTPUT_STRIP_TRAILING_WHITESPACE)
    get_filename_component(dll_dir "${dll_path}" REALPATH)
    get_filename_component(dll_dir "${dll_dir}" DIRECTORY)
    list(APPEND dll_dirs "${dll_dir}")
  endforeach()
  if(TARGET Qt6::Core)
    get_target_property(qt_core_dll Qt6::Core IMPORTED_LOCATION_RELEASE)
    get_filename_component(qt_bin "${qt_core_dll}" DIRECTORY)
    list(PREPEND dll_dirs "${qt_bin}")
  endif()
  list(REMOVE_DUPLICATES dll_dirs)
  list(TRANSFORM dll_dirs PREPEND "Z:")
  list(JOIN dll_dirs ";" TAVLO_WINEPATH)
  string(REPLACE "/" "\\" TAVLO_WINEPATH "${TAVLO_WINEPATH}")
  set(TAVLO_WINE ${CMAKE_CROSSCOMPILING_EMULATOR})
  configure_file(${PROJECT_SOURCE_DIR}/cmake/wine-run.sh.in ${CMAKE_BINARY_DIR}/wine-run @ONLY
                 FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run)
  list(APPEND TAVLO_QT_TEST_ENV WINEQT_QPA_PLATFORM=offscreen
       "WINEQT_QPA_FONTDIR=Z:/usr/share/fonts/opentype/noto")
endif()

# tavlo_add_gtest(<name> <sources>... [NOT_UNDER_WINE <test>...]): a GoogleTest
# program on tavlo_core. The tests named after NOT_UNDER_WINE check what
# Windows does and Wine, standing in for it, does otherwise; they are left
# out when the tests run under Wine.
function(tavlo_add_gtest name)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "" "NOT_UNDER_WINE")
  add_executable(${name} ${arg_UNPARSED_ARGUMENTS})
  target_link_libraries(${name} PRIVATE tavlo_core tavlo_test_support GTest::gtest_main)
  set(filter "")
  if(TAVLO_UNDER_WINE AND arg_NOT_UNDER_WINE)
    list(JOIN arg_NOT_UNDER_WINE ":" excluded)
    set(filter "-${excluded}")
  endif()
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 DISCOVERY_MODE ${TAVLO_GTEST_DISCOVERY}
    TEST_FILTER "${filter}"
    PROPERTIES ENVIRONMENT "TAVLO_TEST_DATA=${CMAKE_SOURCE_DIR}/tests/data")
endfunction()

# tavlo_add_qtest(<name> <sources>...): a Qt Test program on tavlo_ui.
function(tavlo_add_qtest name)
  add_executable(${name} ${ARGN})
  target_link_libraries(${name} PRIVATE tavlo_ui tavlo_test_support Qt6::Test)
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "${TAVLO_QT_TEST_ENV};TAVLO_TEST_DATA=${CMAKE_SOURCE_DIR}/tests/data;TAVLO_BUILD_DIR=${CMAKE_BINARY_DIR}"
    TIMEOUT 300)
endfunction()
