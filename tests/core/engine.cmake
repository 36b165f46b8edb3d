# The draw engine, the settings file wrapper and the random source.
tavlo_add_gtest(tavlo_engine_tests
  ${CMAKE_CURRENT_LIST_DIR}/engine_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/engine_file_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/engine_malformed_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/engine_fairness_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/engine_random_source_test.cpp
)
target_include_directories(tavlo_engine_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR})

tavlo_add_gtest(tavlo_settings_file_tests
  ${CMAKE_CURRENT_LIST_DIR}/settings_file_test.cpp
)
target_include_directories(tavlo_settings_file_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR})
