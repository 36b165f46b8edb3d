tavlo_add_qtest(results_layout_test ${CMAKE_CURRENT_LIST_DIR}/results_layout_test.cpp)
tavlo_add_qtest(results_window_test ${CMAKE_CURRENT_LIST_DIR}/results_window_test.cpp)
