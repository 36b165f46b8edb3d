# The whole program under Xvfb with real X input.
find_program(XVFB_RUN xvfb-run)
find_program(XDOTOOL xdotool)
if(XVFB_RUN AND XDOTOOL AND NOT WIN32)
  add_test(NAME whole_program_e2e
    COMMAND ${XVFB_RUN} -a -s "-screen 0 1280x1024x24"
            ${PROJECT_SOURCE_DIR}/tests/e2e/whole_program.sh $<TARGET_FILE:tavlo> ${CMAKE_BINARY_DIR})
  set_tests_properties(whole_program_e2e PROPERTIES TIMEOUT 300 RUN_SERIAL TRUE)
else()
  message(STATUS "xvfb-run or xdotool missing: the end-to-end test is not registered")
endif()
