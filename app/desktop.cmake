# The program's icon compiled in, and on Linux the files a desktop needs to
# list and show the installed program: the .desktop entry, the AppStream
# metainfo and the icon in the hicolor theme; the manual page; and the mark of
# an installed program, which keeps each account's drawing in the account's
# settings folder (platform/settings_folder.h).
set_target_properties(tavlo PROPERTIES AUTORCC ON)
target_sources(tavlo PRIVATE ${CMAKE_CURRENT_LIST_DIR}/icons/tavlo_icons.qrc)

if(UNIX AND NOT APPLE)
  include(GNUInstallDirs)
  # Where the program looks for it, beside bin/ whatever the data folder.
  install(FILES ${CMAKE_CURRENT_LIST_DIR}/installed DESTINATION share/tavlo)
  install(FILES ${CMAKE_CURRENT_LIST_DIR}/tavlo.1 ${CMAKE_CURRENT_LIST_DIR}/tavlo-check-journal.1
          DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  # The journal's checker, for an organiser who has the program but not its sources.
  install(PROGRAMS ${PROJECT_SOURCE_DIR}/scripts/check-journal.py DESTINATION ${CMAKE_INSTALL_BINDIR}
          RENAME tavlo-check-journal)
  install(FILES ${CMAKE_CURRENT_LIST_DIR}/tavlo.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${CMAKE_CURRENT_LIST_DIR}/tavlo.metainfo.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  foreach(size 16 32 48 256)
    install(FILES ${CMAKE_CURRENT_LIST_DIR}/icons/tavlo-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME tavlo.png)
  endforeach()
  install(FILES ${CMAKE_CURRENT_LIST_DIR}/icons/tavlo.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
endif()
