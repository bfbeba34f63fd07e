# What `cmake --install` lays out: the program, the drivers' samples as the installed program's
# default topics, the desktop entry, the AppStream file, the icons, the manual page and the
# documents a package carries.

# The identity of the application for desktops and software centres, in reverse-DNS form.
set(TAVRINO_APP_ID "de.kelmora.tavrino" CACHE STRING "Reverse-DNS identity of the application")
set(TAVRINO_DEVELOPER_NAME "Kelmora" CACHE STRING "Name of the developer")
set(TAVRINO_HOMEPAGE "https://tavrino.kelmora.de" CACHE STRING "Home page of the project")
set(TAVRINO_SCREENSHOTS_URL "${TAVRINO_HOMEPAGE}/docs/screenshots" CACHE STRING
  "Address under which docs/screenshots/ is published")
target_compile_definitions(tavrino_frontends PUBLIC TAVRINO_APP_ID="${TAVRINO_APP_ID}")
# Debian's name for the documents of a package: share/doc/<package>, not the project's name.
set(TAVRINO_DOC_FOLDER ${CMAKE_INSTALL_DATADIR}/doc/tavrino)
set(TAVRINO_FULL_DOC_FOLDER ${CMAKE_INSTALL_FULL_DATADIR}/doc/tavrino)

set(packaging ${CMAKE_SOURCE_DIR}/packaging)
set(generated ${CMAKE_BINARY_DIR}/packaging)
configure_file(${packaging}/tavrino.metainfo.xml.in
  ${generated}/${TAVRINO_APP_ID}.metainfo.xml @ONLY)
configure_file(${packaging}/tavrino.1.in ${generated}/tavrino.1 @ONLY)
set(TAVRINO_PACKAGE_MAINTAINER
  "Tavrino maintainers <maintainers@users.noreply.c-seed-3c7634bf.example>"
  CACHE STRING "Maintainer of the Debian package, as 'Name <address>'")
# Debian's changelog wants the day in the form of RFC 5322.
execute_process(COMMAND date -u -R -d "${TAVRINO_RELEASE_DATE} 12:00"
  OUTPUT_VARIABLE TAVRINO_RELEASE_DATE_RFC OUTPUT_STRIP_TRAILING_WHITESPACE)
configure_file(${packaging}/changelog.in ${generated}/changelog @ONLY)

# Manual pages and the changelog are kept compressed; -n leaves the time out, so that the same
# sources give the same bytes.
add_custom_command(
  OUTPUT ${generated}/tavrino.1.gz ${generated}/changelog.gz
  COMMAND gzip -9 -n -f -k ${generated}/tavrino.1
  COMMAND gzip -9 -n -f -k ${generated}/changelog
  DEPENDS ${generated}/tavrino.1 ${generated}/changelog
  COMMENT "Compressing the manual page and the changelog")
add_custom_target(tavrino_documents ALL
  DEPENDS ${generated}/tavrino.1.gz ${generated}/changelog.gz)

install(TARGETS tavrino RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY ${CMAKE_SOURCE_DIR}/examples/ DESTINATION ${TAVRINO_DATA_FOLDER})
install(FILES ${packaging}/tavrino.desktop
  DESTINATION ${CMAKE_INSTALL_DATADIR}/applications RENAME ${TAVRINO_APP_ID}.desktop)
install(FILES ${generated}/${TAVRINO_APP_ID}.metainfo.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(DIRECTORY ${packaging}/icons/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
install(FILES ${packaging}/icons/tavrino.svg
  DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${generated}/tavrino.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${packaging}/copyright ${generated}/changelog.gz
  ${CMAKE_SOURCE_DIR}/resources/tavrino-kiosk.service
  DESTINATION ${TAVRINO_DOC_FOLDER})
