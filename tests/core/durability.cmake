# Kills a drawing process at random moments (POSIX only: fork, exec, SIGKILL).
if(UNIX)
  add_executable(tavlo_durability_driver ${PROJECT_SOURCE_DIR}/tests/durability/durability_driver.cpp)
  target_link_libraries(tavlo_durability_driver PRIVATE tavlo_core)

  tavlo_add_gtest(tavlo_durability_tests ${PROJECT_SOURCE_DIR}/tests/durability/durability_test.cpp)
  target_compile_definitions(tavlo_durability_tests PRIVATE
    TAVLO_DURABILITY_DRIVER="$<TARGET_FILE:tavlo_durability_driver>")
  add_dependencies(tavlo_durability_tests tavlo_durability_driver)
endif()
