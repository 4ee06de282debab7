# Installing the program as a desktop program (`cmake --install`) and its
# Debian package (`cpack`, run in the build folder).
include(GNUInstallDirs)

set(DLT_PROGRAM qvemtrod)
# The desktop's name for the program: the maker's site reversed.
set(DLT_APP_ID example.hecheng_soft.qvemtrod)
# The maker's site address, from its one home in the program.
file(STRINGS ${PROJECT_SOURCE_DIR}/app/gui/maker.h DLT_SITE
     REGEX "siteAddress = \"[^\"]+\"")
string(REGEX REPLACE ".*\"([^\"]+)\".*" "\\1" DLT_SITE "${DLT_SITE}")

install(TARGETS qvemtrod RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

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

# The maker's site tool and the site's content go under share/. Decided at the
# end of the top folder, so the tool's target is seen wherever it is defined.
function(dlt_install_maker_site)
  if(TARGET maker_site)
    install(TARGETS maker_site RUNTIME DESTINATION ${CMAKE_INSTALL_DATADIR}/${DLT_PROGRAM})
  endif()
  if(IS_DIRECTORY ${PROJECT_SOURCE_DIR}/site)
    install(DIRECTORY ${PROJECT_SOURCE_DIR}/site/ DESTINATION ${CMAKE_INSTALL_DATADIR}/${DLT_PROGRAM}/site)
  endif()
endfunction()
cmake_language(DEFER DIRECTORY ${PROJECT_SOURCE_DIR} CALL dlt_install_maker_site)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ${DLT_PROGRAM})
set(CPACK_PACKAGE_VENDOR "禾澄软件工作室")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "禾澄大乐透荐号器: number recommender for the 大乐透 lottery")
set(CPACK_PACKAGE_DESCRIPTION
    "Keeps a library of past 大乐透 draws (typed in or fetched) and recommends numbers for the next draw.")
set(CPACK_PACKAGE_HOMEPAGE_URL ${DLT_SITE})
set(CPACK_PACKAGE_CONTACT "禾澄软件工作室 <kf@hecheng-soft.example>")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
# dpkg-shlibdeps names the libraries the programs link (Qt Widgets and
# WebEngine, OpenSSL, the C++ runtime); the list adds what is loaded at run
# time or linked by parts still to come: the Qt platform plugins, the browser
# engine's helper process, Charts, libcurl, and the fonts of the windows.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "qt6-qpa-plugins, libqt6webenginecore6-bin, libqt6charts6, libcurl4, fonts-noto-cjk, fonts-arphic-ukai")
include(CPack)
