# Installs into a fresh prefix and checks that the program, its menu entry,
# its icon and the .tpr file type are in place. Run by CTest with
# -DBUILD=<build folder> -DPREFIX=<empty folder>.
file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD}" --prefix "${PREFIX}" RESULT_VARIABLE status
                OUTPUT_QUIET)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${status}")
endif()
foreach(file bin/tradumar share/applications/tradumar.desktop share/icons/hicolor/scalable/apps/tradumar.svg
             share/mime/packages/tradumar-project.xml share/tradumar/manual/index.html
             share/tradumar/manual/manual.css share/tradumar/main_window.png)
  if(NOT EXISTS "${PREFIX}/${file}")
    message(FATAL_ERROR "not installed: ${file}")
  endif()
endforeach()
file(READ "${PREFIX}/share/applications/tradumar.desktop" entry)
file(READ "${PREFIX}/share/mime/packages/tradumar-project.xml" mime)
if(NOT entry MATCHES "\nExec=tradumar %f\n" OR NOT entry MATCHES "MimeType=application/x-tradumar-project;"
   OR NOT mime MATCHES "<glob pattern=\"\\*.tpr\"/>")
  message(FATAL_ERROR "the menu entry does not open .tpr files with tradumar")
endif()
