# The shared form utilities and the Qt platform services.
tavlo_add_qtest(common_checks_test ${CMAKE_CURRENT_LIST_DIR}/common_checks_test.cpp)
tavlo_add_qtest(common_forms_test ${CMAKE_CURRENT_LIST_DIR}/common_forms_test.cpp)
tavlo_add_qtest(common_boxes_test ${CMAKE_CURRENT_LIST_DIR}/common_boxes_test.cpp)
