# Installs the program with what a Linux desktop needs to offer it: a menu
# entry, an icon, and the project file type (.tpr) that opens with it.
include(GNUInstallDirs)
install(TARGETS tradumar RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${CMAKE_CURRENT_LIST_DIR}/tradumar.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/tradumar.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/tradumar-project.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
# The manual, with the pictures it shows from one folder up.
install(DIRECTORY ${PROJECT_SOURCE_DIR}/docs/manual DESTINATION ${CMAKE_INSTALL_DATADIR}/tradumar)
file(GLOB manual_pictures ${PROJECT_SOURCE_DIR}/docs/*.png)
install(FILES ${manual_pictures} DESTINATION ${CMAKE_INSTALL_DATADIR}/tradumar)
# The desktop learns of the new file type and entry at once where its tools
# are present; elsewhere at the next login.
install(CODE "
  set(share \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}\")
  execute_process(COMMAND update-mime-database \"\${share}/mime\" OUTPUT_QUIET ERROR_QUIET)
  execute_process(COMMAND update-desktop-database \"\${share}/applications\" OUTPUT_QUIET ERROR_QUIET)
")
