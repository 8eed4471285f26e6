# SPDX-License-Identifier: GPL-3.0-or-later
# cmake -DAPPSTREAMCLI=... -DMETAINFO=... -DVERSION=... -P check_metainfo.cmake
# The AppStream entry passes "appstreamcli validate" with no error, warning,
# info or pedantic note, and names this version and the desktop entry.
cmake_minimum_required(VERSION 3.25)
if(NOT APPSTREAMCLI)
  message(FATAL_ERROR "appstreamcli is not installed (tools/bootstrap installs the package appstream)")
endif()
execute_process(COMMAND ${APPSTREAMCLI} validate --no-net --pedantic --strict ${METAINFO}
  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 0 OR out MATCHES "(^|\n)[EWIP]: ")
  message(FATAL_ERROR "appstreamcli validate (exit ${rc}):\n${out}\n${err}")
endif()
file(READ ${METAINFO} text)
foreach(expected "<release version=\"${VERSION}\" date=\"[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9]\"/>"
                 "<launchable type=\"desktop-id\">darvenix.desktop</launchable>"
                 "<mediatype>application/x-darvenix</mediatype>")
  if(NOT text MATCHES "${expected}")
    message(FATAL_ERROR "${METAINFO} lacks ${expected}:\n${text}")
  endif()
endforeach()
# A placeholder address is no home page.
if(text MATCHES "\\.invalid|example\\.(com|org)")
  message(FATAL_ERROR "placeholder address in ${METAINFO}:\n${text}")
endif()
message(STATUS "${METAINFO}: valid")
