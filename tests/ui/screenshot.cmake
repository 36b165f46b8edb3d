# The main window as the README shows it, rendered by the real program under
# Xvfb; the test also finds the program's icon on the window.
find_program(XVFB_RUN xvfb-run)
find_program(XDOTOOL xdotool)
if(XVFB_RUN AND XDOTOOL AND NOT WIN32)
  add_test(NAME main_window_screenshot
    COMMAND ${XVFB_RUN} -a -s "-screen 0 1280x1024x24"
            ${PROJECT_SOURCE_DIR}/tests/e2e/main_window_shot.sh $<TARGET_FILE:tavlo> ${CMAKE_BINARY_DIR})
  set_tests_properties(main_window_screenshot PROPERTIES TIMEOUT 120)
endif()
