# What `cmake --install` and the package put on the machine: both programs,
# the simulator they run sketches in, the launcher entry and what software
# centres read of the tool, the icon in every size, the manual pages, and the
# license and history.
include(GNUInstallDirs)
include(${CMAKE_CURRENT_LIST_DIR}/icons.cmake)

install(TARGETS ledmarquee ledmarquee-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# Where both programs look for it (LedmarqueeInstallDirs.cmake).
install(TARGETS ledmarquee-simulator RUNTIME DESTINATION ${LEDMARQUEE_SIMULATOR_INSTALL_DIR})

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

install(FILES ${PROJECT_SOURCE_DIR}/data/example.qelvorn.ledmarquee.metainfo.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# The newest entry of the changelog and of the software centres' releases
# name the version being built.
file(STRINGS ${PROJECT_SOURCE_DIR}/data/changelog newest_change LIMIT_COUNT 1)
if(NOT newest_change MATCHES "^ledmarquee \\(${PROJECT_VERSION}\\) ")
  message(FATAL_ERROR "data/changelog opens with '${newest_change}', not version ${PROJECT_VERSION}")
endif()
file(READ ${PROJECT_SOURCE_DIR}/data/example.qelvorn.ledmarquee.metainfo.xml metainfo)
if(NOT metainfo MATCHES "<release version=\"${PROJECT_VERSION}\"")
  message(FATAL_ERROR "the metainfo's newest release is not version ${PROJECT_VERSION}")
endif()

# Debian keeps a native package's changelog compressed, as changelog.gz, and
# its license as a machine-readable copyright file.
set(changelog ${PROJECT_BINARY_DIR}/changelog.gz)
add_custom_command(OUTPUT ${changelog}
  COMMAND gzip -9 -n -c ${PROJECT_SOURCE_DIR}/data/changelog > ${changelog}
  DEPENDS ${PROJECT_SOURCE_DIR}/data/changelog
  COMMENT "Compressing the changelog")
add_custom_target(ledmarquee-changelog ALL DEPENDS ${changelog})
install(FILES ${changelog} ${PROJECT_SOURCE_DIR}/data/copyright ${PROJECT_SOURCE_DIR}/README.md
  DESTINATION ${CMAKE_INSTALL_DOCDIR})
