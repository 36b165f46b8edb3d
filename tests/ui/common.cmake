# The shared form utilities and the Qt platform services.
tavlo_add_qtest(common_checks_test ${CMAKE_CURRENT_LIST_DIR}/common_checks_test.cpp)
tavlo_add_qtest(common_forms_test ${CMAKE_CURRENT_LIST_DIR}/common_forms_test.cpp)
tavlo_add_qtest(common_boxes_test ${CMAKE_CURRENT_LIST_DIR}/common_boxes_test.cpp)
if(WIN32)
  tavlo_add_qtest(common_pump_win_test ${CMAKE_CURRENT_LIST_DIR}/common_pump_win_test.cpp)
  tavlo_add_qtest(screen_awake_win_test ${CMAKE_CURRENT_LIST_DIR}/screen_awake_win_test.cpp)
endif()
