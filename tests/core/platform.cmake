if(NOT WIN32)
  tavlo_add_gtest(instance_lock_test ${CMAKE_CURRENT_LIST_DIR}/instance_lock_test.cpp)
endif()
