if(NOT WIN32)
  tavlo_add_qtest(hostile_disk_test ${CMAKE_CURRENT_LIST_DIR}/hostile_disk_test.cpp)
endif()
