# The whole program under Xvfb with real X input.
add_executable(tavlo_draw_check ${PROJECT_SOURCE_DIR}/tests/e2e/draw_check.cpp)
target_link_libraries(tavlo_draw_check PRIVATE tavlo_core tavlo_test_support)

find_program(XVFB_RUN xvfb-run)
find_program(XDOTOOL xdotool)
# The window manager that the whole-program test starts: the focus after a
# window closes must not depend on it.
find_program(OPENBOX openbox)
if(XVFB_RUN AND XDOTOOL AND OPENBOX AND NOT WIN32)
  set(xvfb ${XVFB_RUN} -a -s "-screen 0 1280x1024x24")
  add_test(NAME whole_program_e2e
    COMMAND ${xvfb} ${PROJECT_SOURCE_DIR}/tests/e2e/whole_program.sh $<TARGET_FILE:tavlo> ${CMAKE_BINARY_DIR})
  add_test(NAME hostile_files_e2e
    COMMAND ${xvfb} ${PROJECT_SOURCE_DIR}/tests/e2e/hostile_files.sh
            $<TARGET_FILE:tavlo> $<TARGET_FILE:tavlo_draw_check> ${PROJECT_SOURCE_DIR}/tests/data/malformed)
  set_tests_properties(whole_program_e2e hostile_files_e2e PROPERTIES TIMEOUT 300 RUN_SERIAL TRUE)
else()
  message(STATUS "xvfb-run, xdotool or openbox missing: the end-to-end tests are not registered")
endif()
