# What `cmake --install` and the package put on the machine: both programs,
# the simulator they run sketches in, the launcher entry, the icon in every
# size, and the manual pages.
include(GNUInstallDirs)
include(${CMAKE_CURRENT_LIST_DIR}/icons.cmake)

install(TARGETS ledmarquee ledmarquee-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# Found by both programs as ../libexec/ledmarquee beside themselves.
install(TARGETS ledmarquee-simulator RUNTIME DESTINATION ${CMAKE_INSTALL_LIBEXECDIR}/ledmarquee)

find_program(DESKTOP_FILE_VALIDATE desktop-file-validate)
set(LEDMARQUEE_DESKTOP_FILE ${PROJECT_SOURCE_DIR}/data/ledmarquee.desktop)
if(DESKTOP_FILE_VALIDATE)
  # A launcher entry that desktops reject would hide the tool from the menu.
  add_custom_command(OUTPUT ${PROJECT_BINARY_DIR}/ledmarquee.desktop.checked
    COMMAND ${DESKTOP_FILE_VALIDATE} ${LEDMARQUEE_DESKTOP_FILE}
    COMMAND ${CMAKE_COMMAND} -E touch ${PROJECT_BINARY_DIR}/ledmarquee.desktop.checked
    DEPENDS ${LEDMARQUEE_DESKTOP_FILE}
    COMMENT "Checking the launcher entry"
    VERBATIM)
  add_custom_target(ledmarquee-desktop-file ALL DEPENDS ${PROJECT_BINARY_DIR}/ledmarquee.desktop.checked)
endif()
install(FILES ${LEDMARQUEE_DESKTOP_FILE} DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)

set(LEDMARQUEE_HICOLOR ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
install(FILES ${LEDMARQUEE_ICON_SVG} DESTINATION ${LEDMARQUEE_HICOLOR}/scalable/apps)
foreach(size IN LISTS LEDMARQUEE_ICON_SIZES)
  install(FILES ${LEDMARQUEE_ICON_DIR}/${size}.png
    DESTINATION ${LEDMARQUEE_HICOLOR}/${size}x${size}/apps
    RENAME ledmarquee.png)
endforeach()

# Debian keeps manual pages compressed, without a time stamp inside.
set(manuals)
foreach(page ledmarquee ledmarquee-cli)
  set(compressed ${PROJECT_BINARY_DIR}/man/${page}.1.gz)
  add_custom_command(OUTPUT ${compressed}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/man
    COMMAND gzip -9 -n -c ${PROJECT_SOURCE_DIR}/data/man/${page}.1 > ${compressed}
    DEPENDS ${PROJECT_SOURCE_DIR}/data/man/${page}.1
    COMMENT "Compressing the ${page} manual page")
  list(APPEND manuals ${compressed})
endforeach()
add_custom_target(ledmarquee-manuals ALL DEPENDS ${manuals})
install(FILES ${manuals} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION ${CMAKE_INSTALL_DOCDIR})
