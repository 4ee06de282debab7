# Installing the program as a desktop program (`cmake --install`) and its
# Debian package (`cpack`, run in the build folder).

# The names, addresses and maker come from the program's identity, the
# variables at the top of the root CMakeLists.txt.

install(TARGETS qvemtrod RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# The compiler's version notes (.comment) are of no use in the installed
# program; stripping leaves them, so they go here, as Debian's tools do.
if(CMAKE_OBJCOPY)
  install(CODE "execute_process(COMMAND ${CMAKE_OBJCOPY} --remove-section=.comment
    \$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/${DLT_PROGRAM} COMMAND_ERROR_IS_FATAL ANY)")
endif()

configure_file(resources/desktop/qvemtrod.desktop.in ${DLT_APP_ID}.desktop @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/${DLT_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
configure_file(resources/desktop/qvemtrod.metainfo.xml.in ${DLT_APP_ID}.metainfo.xml @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/${DLT_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
# The icons are made by tools/make_pictures and kept in the sources.
foreach(size 48 128 256)
  install(FILES resources/icons/${DLT_PROGRAM}-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME ${DLT_PROGRAM}.png)
endforeach()

# The bundled maker's site, which the program serves while it runs.
install(DIRECTORY ${PROJECT_SOURCE_DIR}/site/ DESTINATION ${DLT_SITE_INSTALL_DIR})

# The manual page and the changelog, compressed as Debian wants them
# (gzip -9n: no name or time stamp, so the same sources give the same bytes).
function(dlt_gzip source target)
  execute_process(COMMAND gzip -9nc ${source} OUTPUT_FILE ${target} COMMAND_ERROR_IS_FATAL ANY)
  set_property(DIRECTORY ${PROJECT_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${source})
endfunction()
configure_file(resources/man/${DLT_PROGRAM}.1.in ${PROJECT_BINARY_DIR}/${DLT_PROGRAM}.1 @ONLY)
configure_file(resources/debian/copyright.in ${PROJECT_BINARY_DIR}/copyright @ONLY)
dlt_gzip(${PROJECT_BINARY_DIR}/${DLT_PROGRAM}.1 ${PROJECT_BINARY_DIR}/${DLT_PROGRAM}.1.gz)
dlt_gzip(${PROJECT_SOURCE_DIR}/resources/debian/changelog ${PROJECT_BINARY_DIR}/changelog.gz)
install(FILES ${PROJECT_BINARY_DIR}/${DLT_PROGRAM}.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${PROJECT_BINARY_DIR}/copyright ${PROJECT_BINARY_DIR}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(FILES resources/debian/lintian-overrides DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides
        RENAME ${DLT_PROGRAM})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ${DLT_PROGRAM})
set(CPACK_PACKAGE_VENDOR "${DLT_MAKER}")
set(CPACK_PACKAGE_HOMEPAGE_URL "http://${DLT_MAKER_HOST}")
set(CPACK_PACKAGE_CONTACT "${DLT_MAKER} <${DLT_MAKER_MAIL}>")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
# The synopsis, then the long description wrapped for the package tools.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "number recommender for the 大乐透 lottery (禾澄大乐透荐号器)
Keeps a library of past draws of the 大乐透 lottery (five front numbers
from 1 to 35, two back numbers from 1 to 12), typed in by hand or fetched
from the network, and recommends numbers for the next draw: four graded
rows for each zone and a one-line pick of five front and two back numbers.
.
A trend chart, a backtest over the library, and export and import of the
library as plain text come with it. The library is kept enciphered in the
user's own data folder.")
# dpkg-shlibdeps names the libraries the program links (Qt and its Charts,
# libcurl, OpenSSL, the C++ runtime); the
# list adds what is loaded at run time: the Qt platform plugins, Qt's Chinese
# translations, the fonts of the windows (their CJK faces) and the system's
# certificates, against which the official results service's https is checked.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, qt6-translations-l10n, fonts-noto-cjk, fonts-arphic-ukai, ca-certificates")
include(CPack)
