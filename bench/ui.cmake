# Whole-process figures of the windows: start-up to the first frame against a
# bare Qt window, and the spin's pace and memory.
if(TAVLO_BUILD_UI)
  add_executable(tavlo_first_frame ${CMAKE_CURRENT_LIST_DIR}/first_frame.cpp)
  target_link_libraries(tavlo_first_frame PRIVATE tavlo_ui)
  if(NOT WIN32)
    add_executable(tavlo_spin_rate ${CMAKE_CURRENT_LIST_DIR}/spin_rate.cpp)
    target_link_libraries(tavlo_spin_rate PRIVATE tavlo_ui)
  endif()
endif()
if(TAVLO_BUILD_UI)
  # How the stand-in faces fit the designed widths and heights.
  add_executable(tavlo_font_fit ${CMAKE_CURRENT_LIST_DIR}/font_fit.cpp)
  target_link_libraries(tavlo_font_fit PRIVATE tavlo_ui)
endif()
