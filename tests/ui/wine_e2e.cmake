# Tavlo.exe under Wine with the windows platform plugin on a real X server
# with a window manager: from the build, and from its package unpacked.
if(WIN32 AND TAVLO_UNDER_WINE)
  find_program(XVFB_RUN xvfb-run)
  find_program(XDOTOOL xdotool)
  find_program(OPENBOX openbox)
  if(XVFB_RUN AND XDOTOOL AND OPENBOX)
    set(xvfb ${XVFB_RUN} -a -s "-screen 0 1280x1024x24")
    # A Wine prefix of its own, whose desktop process runs on this display.
    set(prefix ${CMAKE_BINARY_DIR}/wineprefix-x11)
    add_test(NAME wine_program_e2e
      COMMAND ${xvfb} ${PROJECT_SOURCE_DIR}/tests/e2e/wine_program.sh
              $<TARGET_FILE:tavlo> ${CMAKE_BINARY_DIR} ${prefix} ${CMAKE_BINARY_DIR}/wine-run)
    add_test(NAME package_zip_e2e
      COMMAND ${xvfb} ${PROJECT_SOURCE_DIR}/tests/e2e/package_zip.sh ${CMAKE_BINARY_DIR} ${prefix})
    set_tests_properties(wine_program_e2e package_zip_e2e PROPERTIES TIMEOUT 600 RUN_SERIAL TRUE)
  else()
    message(STATUS "xvfb-run, xdotool or openbox missing: the Wine end-to-end tests are not registered")
  endif()
endif()
