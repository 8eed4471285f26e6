# SPDX-License-Identifier: GPL-3.0-or-later
# cmake -DSOURCE_DIR=... -P check_gui_less_install.cmake
# A build without the desktop program installs no desktop entry, program
# icon or AppStream entry: they would name a program the package does not
# hold (lintian: desktop-command-not-in-package). The .dvx file type stays,
# for darvenix-cli. Configures such a build and reads what its install
# scripts would install.
cmake_minimum_required(VERSION 3.25)
# A folder of its own under the system's temporary folder, never in the
# build tree.
set(tmp "$ENV{TMPDIR}")
if(NOT tmp)
  set(tmp /tmp)
endif()
string(RANDOM LENGTH 10 tag)
set(WORK ${tmp}/darvenix-gui-less-${tag})
set(dir ${WORK}/gui-less)
execute_process(COMMAND ${CMAKE_COMMAND} -S ${SOURCE_DIR} -B ${dir} -G Ninja -DCMAKE_BUILD_TYPE=Release
                        -DDARVENIX_BUILD_GUI=OFF -DDARVENIX_BUILD_BENCH=OFF -DDARVENIX_BUILD_TESTS=OFF
                RESULT_VARIABLE rc OUTPUT_QUIET ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "configure without the desktop program failed:\n${err}")
endif()

file(GLOB_RECURSE scripts ${dir}/cmake_install.cmake)
set(rules "")
foreach(script IN LISTS scripts)
  file(READ ${script} text)
  string(APPEND rules "${text}")
endforeach()
# Every file(INSTALL ...) rule names its destination; a rule for the desktop
# integration names its folder or file.
foreach(unwanted "share/applications" "share/metainfo" "hicolor/scalable/apps" "x[0-9]+/apps"
                 "darvenix\\.desktop")
  if(rules MATCHES "${unwanted}")
    message(FATAL_ERROR "a build without the desktop program installs ${unwanted}:\n${CMAKE_MATCH_0}")
  endif()
endforeach()
foreach(wanted "share/mime/packages" "darvenix-cli" "share/darvenix/install-data")
  if(NOT rules MATCHES "${wanted}")
    message(FATAL_ERROR "a build without the desktop program no longer installs ${wanted}")
  endif()
endforeach()
file(REMOVE_RECURSE ${WORK})
message(STATUS "a build without the desktop program installs no desktop entry or program icon")
