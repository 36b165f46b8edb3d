# Tests of the Windows system half of the platform layer.
if(WIN32)
  tavlo_add_gtest(platform_win_test ${CMAKE_CURRENT_LIST_DIR}/platform_win_test.cpp)
endif()
