# What `cmake --install` puts where a Linux desktop finds it. The validators
# come with scripts/install-deps.sh; without them the test fails, not skips.
if(UNIX AND NOT APPLE)
  add_test(NAME installed_desktop_files
    COMMAND ${PROJECT_SOURCE_DIR}/tests/install/installed_files.sh ${CMAKE_COMMAND} ${CMAKE_BINARY_DIR})
endif()
