# The condition dialog and its check on leaving a box.
tavlo_add_qtest(condition_dialog_test ${CMAKE_CURRENT_LIST_DIR}/condition_dialog_test.cpp)
tavlo_add_qtest(condition_focus_test ${CMAKE_CURRENT_LIST_DIR}/condition_focus_test.cpp)
