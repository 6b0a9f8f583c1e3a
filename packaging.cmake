# Installation in the layout Debian expects, and the Debian package made from it with CPack.

set(LORVI_SCREENSHOTS_URL "https://example.org/lorvi/screenshots" CACHE STRING
    "Where the pictures of docs/screenshots/ are published, for software centres")
set(LORVI_MAINTAINER "ЛОРВИ <lorvi@example.org>" CACHE STRING
    "The package's maintainer, as Debian writes it: name <e-mail>")

install(TARGETS lorvi-analyser lorvi-check RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES Template/Print.fr3 DESTINATION ${LORVI_INSTALL_DATADIR}/Template)
install(FILES data/ru.lorvi.analyser.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES data/ru.lorvi.analyser.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
configure_file(data/ru.lorvi.analyser.metainfo.xml.in
               ${PROJECT_BINARY_DIR}/ru.lorvi.analyser.metainfo.xml @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/ru.lorvi.analyser.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# Debian wants the change log and manual pages compressed without a time stamp, so that
# rebuilds are identical.
set(LORVI_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/lorvi-analyser)
find_program(LORVI_GZIP gzip)
if(LORVI_GZIP)
  set(LORVI_GZIPPED)
  foreach(pair changelog:${LORVI_DOC_DIR} lorvi-analyser.1:${CMAKE_INSTALL_MANDIR}/man1
               lorvi-check.1:${CMAKE_INSTALL_MANDIR}/man1)
    string(REPLACE ":" ";" pair ${pair})
    list(GET pair 0 name)
    list(GET pair 1 destination)
    add_custom_command(OUTPUT ${PROJECT_BINARY_DIR}/${name}.gz
      COMMAND ${LORVI_GZIP} -9nc ${PROJECT_SOURCE_DIR}/data/${name} > ${PROJECT_BINARY_DIR}/${name}.gz
      DEPENDS ${PROJECT_SOURCE_DIR}/data/${name})
    list(APPEND LORVI_GZIPPED ${PROJECT_BINARY_DIR}/${name}.gz)
    install(FILES ${PROJECT_BINARY_DIR}/${name}.gz DESTINATION ${destination})
  endforeach()
  add_custom_target(lorvi_gzipped ALL DEPENDS ${LORVI_GZIPPED})
endif()
install(FILES data/copyright DESTINATION ${LORVI_DOC_DIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME lorvi-analyser)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR ${LORVI_COMPANY})
set(CPACK_PACKAGE_CONTACT ${LORVI_MAINTAINER})
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${LORVI_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt finds a font through fontconfig; the report's texts need one with Cyrillic.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-dejavu-core | fonts-liberation2")
# Qt's own Russian texts for its dialogs, and the desktop's opener of exported files.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, xdg-utils")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "reconciliation of accrued and paid pension contributions")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Анализатор ЛОРВИ reads the XML files of individual information that an
employer submits to the pension authority (individual records of the
СЗВ-6 family and the inventories АДВ-6-2, periods from 2010 on), sorts
them by organisation, period and kind of document, and shows per insured
person and period the contributions accrued and paid, for the insurance
and the funded part of the pension, with coloured totals. The report
prints and exports to PDF, Excel, RTF and JPEG.
.
The package holds the window, lorvi-analyser, and lorvi-check, which runs
the same actions from the command line for scripts and support.")
include(CPack)
