# The Windows face of the tavlo program: a GUI-subsystem Tavlo.exe carrying
# its icon, version information and manifest.
set(TAVLO_VERSION_QUAD_COMMAS "${PROJECT_VERSION_MAJOR},${PROJECT_VERSION_MINOR}")
foreach(part PATCH TWEAK)
  if(PROJECT_VERSION_${part} STREQUAL "")
    string(APPEND TAVLO_VERSION_QUAD_COMMAS ",0")
  else()
    string(APPEND TAVLO_VERSION_QUAD_COMMAS ",${PROJECT_VERSION_${part}}")
  endif()
endforeach()
string(REPLACE "," "." TAVLO_VERSION_QUAD_DOTS "${TAVLO_VERSION_QUAD_COMMAS}")
set(TAVLO_ICON_FILE "${PROJECT_SOURCE_DIR}/app/icons/tavlo.ico")
set(TAVLO_MANIFEST_FILE "${CMAKE_CURRENT_BINARY_DIR}/tavlo.manifest")
configure_file(${CMAKE_CURRENT_LIST_DIR}/tavlo.manifest ${TAVLO_MANIFEST_FILE} @ONLY)
configure_file(${CMAKE_CURRENT_LIST_DIR}/tavlo.rc.in ${CMAKE_CURRENT_BINARY_DIR}/tavlo.rc @ONLY)
target_sources(tavlo PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/tavlo.rc)
set_source_files_properties(${CMAKE_CURRENT_BINARY_DIR}/tavlo.rc PROPERTIES
  OBJECT_DEPENDS "${TAVLO_ICON_FILE};${TAVLO_MANIFEST_FILE}")
set_target_properties(tavlo PROPERTIES WIN32_EXECUTABLE TRUE OUTPUT_NAME Tavlo)
if(MSVC)
  # The manifest comes from the resource file, not from the linker.
  target_link_options(tavlo PRIVATE /MANIFEST:NO)
endif()

# Qt's Japanese texts in translations/ beside Tavlo.exe, as the zip carries
# them: a cross-built Qt has no translations of its own, and the .qm files
# are the same on every system, so Debian's of the same Qt serve.
set(TAVLO_QT_TRANSLATIONS_DIR "/usr/share/qt6/translations" CACHE PATH
    "The folder holding qtbase_ja.qm for the build folder's translations/")
if(EXISTS ${TAVLO_QT_TRANSLATIONS_DIR}/qtbase_ja.qm)
  file(COPY ${TAVLO_QT_TRANSLATIONS_DIR}/qtbase_ja.qm DESTINATION ${CMAKE_BINARY_DIR}/translations)
else()
  message(STATUS "No qtbase_ja.qm in ${TAVLO_QT_TRANSLATIONS_DIR}: Qt's own texts stay English in the build folder")
endif()
