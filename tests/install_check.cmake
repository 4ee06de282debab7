cmake_minimum_required(VERSION 3.25)
# Installs the build into a fresh prefix and checks every installed file:
#   cmake -DBUILD_DIR=... -DPREFIX=... -DSOURCE_DIR=... -DAPP_ID=... -P install_check.cmake
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX}
                OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)

set(expected
    bin/qvemtrod
    share/applications/${APP_ID}.desktop
    share/metainfo/${APP_ID}.metainfo.xml
    share/man/man1/qvemtrod.1.gz
    share/doc/qvemtrod/copyright
    share/doc/qvemtrod/changelog.gz
    share/lintian/overrides/qvemtrod)
foreach(size 48 128 256)
  list(APPEND expected share/icons/hicolor/${size}x${size}/apps/qvemtrod.png)
endforeach()
# Nothing that depends on the machine goes under share/: the site's content
# only.
file(GLOB_RECURSE site_files RELATIVE ${SOURCE_DIR}/site ${SOURCE_DIR}/site/*)
list(TRANSFORM site_files PREPEND share/qvemtrod/site/)
list(APPEND expected ${site_files})

file(GLOB_RECURSE installed RELATIVE ${PREFIX} ${PREFIX}/*)
list(SORT installed)
list(SORT expected)
if(NOT installed STREQUAL expected)
  string(REPLACE ";" "\n  " installed "${installed}")
  string(REPLACE ";" "\n  " expected "${expected}")
  message(FATAL_ERROR "installed:\n  ${installed}\nexpected:\n  ${expected}")
endif()

# Each icon is a PNG of its own size: the width and height words of IHDR.
foreach(size 48 128 256)
  set(icon ${PREFIX}/share/icons/hicolor/${size}x${size}/apps/qvemtrod.png)
  file(READ ${icon} header LIMIT 24 HEX)
  math(EXPR want "${size}" OUTPUT_FORMAT HEXADECIMAL)
  string(SUBSTRING "${want}" 2 -1 want)
  string(LENGTH "${want}" digits)
  math(EXPR pad "8 - ${digits}")
  string(REPEAT "0" ${pad} zeros)
  set(word "${zeros}${want}")
  if(NOT header STREQUAL "89504e470d0a1a0a0000000d49484452${word}${word}")
    message(FATAL_ERROR "${icon} is not a ${size}x${size} PNG")
  endif()
endforeach()

file(READ ${PREFIX}/share/applications/${APP_ID}.desktop entry)
foreach(line "Name=禾澄大乐透荐号器" "Categories=Utility;" "Exec=qvemtrod" "Icon=qvemtrod")
  string(FIND "${entry}" "\n${line}\n" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "the desktop entry has no line ${line}")
  endif()
endforeach()

find_program(DESKTOP_FILE_VALIDATE desktop-file-validate)
if(DESKTOP_FILE_VALIDATE)
  execute_process(COMMAND ${DESKTOP_FILE_VALIDATE} ${PREFIX}/share/applications/${APP_ID}.desktop
                  COMMAND_ERROR_IS_FATAL ANY)
else()
  message(STATUS "desktop-file-validate not found: the desktop entry is not validated")
endif()
find_program(APPSTREAMCLI appstreamcli)
if(APPSTREAMCLI)
  execute_process(COMMAND ${APPSTREAMCLI} validate --no-net ${PREFIX}/share/metainfo/${APP_ID}.metainfo.xml
                  COMMAND_ERROR_IS_FATAL ANY)
else()
  message(STATUS "appstreamcli not found: the metainfo is not validated")
endif()

# The manual page and the changelog are compressed with gzip -9n: no file
# name, no time stamp, best compression (the first ten header bytes).
foreach(file share/man/man1/qvemtrod.1.gz share/doc/qvemtrod/changelog.gz)
  file(READ ${PREFIX}/${file} header LIMIT 10 HEX)
  if(NOT header STREQUAL "1f8b0800000000000203")
    message(FATAL_ERROR "${file} is not compressed with gzip -9n: ${header}")
  endif()
endforeach()
