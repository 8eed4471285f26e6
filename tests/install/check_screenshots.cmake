# SPDX-License-Identifier: GPL-3.0-or-later
# cmake -DSOURCE_DIR=... -DBUILD_DIR=... -P check_screenshots.cmake
# tools/make-screenshots regenerates every picture that the README, the help
# page and the manual show: each is in the folder it regenerates
# (Manual/images/), and a run into a temporary folder makes each of them,
# windows at the size they open at for a user (the pump window opens at
# 980x600; on the offscreen platform's small default screen it was cut to
# fit).
cmake_minimum_required(VERSION 3.25)
# A folder of its own under the system's temporary folder, never in the
# build tree.
set(tmp "$ENV{TMPDIR}")
if(NOT tmp)
  set(tmp /tmp)
endif()
string(RANDOM LENGTH 10 tag)
set(WORK ${tmp}/darvenix-screenshots-${tag})
file(MAKE_DIRECTORY ${WORK}/home ${WORK}/pictures)

# --- the documented pictures, as paths from the top of the source tree ---
set(documented "")
foreach(page Help/Darvenix.htm Manual/Manual.htm README.md)
  file(READ ${SOURCE_DIR}/${page} text)
  get_filename_component(folder ${page} DIRECTORY)
  string(REGEX MATCHALL "src=\"[^\"]+\\.png\"|!\\[[^]]*\\]\\([^) ]+\\.png" refs "${text}")
  foreach(ref IN LISTS refs)
    string(REGEX REPLACE "^src=\"|\"$|^!\\[[^]]*\\]\\(" "" picture "${ref}")
    if(folder)
      set(picture ${folder}/${picture})
    endif()
    cmake_path(NORMAL_PATH picture)
    list(APPEND documented ${picture})
  endforeach()
endforeach()
list(REMOVE_DUPLICATES documented)
list(LENGTH documented count)
if(count LESS 10)
  message(FATAL_ERROR "only ${count} pictures found in the pages; their markup changed")
endif()
foreach(picture IN LISTS documented)
  if(NOT picture MATCHES "^Manual/images/[^/]+$")
    message(FATAL_ERROR "${picture} is shown but lies outside Manual/images/, which make-screenshots regenerates")
  endif()
endforeach()

# --- a regeneration into WORK, with a home of its own ---
set(ENV{HOME} ${WORK}/home)
set(ENV{XDG_CONFIG_HOME} ${WORK}/home/config)
set(ENV{XDG_DATA_HOME} ${WORK}/home/data)
set(ENV{XDG_STATE_HOME} ${WORK}/home/state)
set(ENV{BUILD_DIR} ${BUILD_DIR})
execute_process(COMMAND ${SOURCE_DIR}/tools/make-screenshots ${WORK}/pictures
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "make-screenshots: exit ${rc}\n${out}\n${err}")
endif()

function(png_size file width height)
  file(READ ${file} head LIMIT 24 HEX)
  string(SUBSTRING "${head}" 32 8 w)
  string(SUBSTRING "${head}" 40 8 h)
  math(EXPR w "0x${w}")
  math(EXPR h "0x${h}")
  set(${width} ${w} PARENT_SCOPE)
  set(${height} ${h} PARENT_SCOPE)
endfunction()

set(missing "")
foreach(picture IN LISTS documented)
  get_filename_component(name ${picture} NAME)
  if(NOT EXISTS ${WORK}/pictures/${name})
    string(APPEND missing "  ${picture}\n")
  endif()
endforeach()
if(missing)
  message(FATAL_ERROR "make-screenshots did not make these documented pictures:\n${missing}${out}\n${err}")
endif()

png_size(${WORK}/pictures/chilled-water-pump.png width height)
if(NOT width EQUAL 980 OR NOT height EQUAL 600)
  message(FATAL_ERROR "the pump window was pictured at ${width}x${height}, not at the 980x600 it opens at")
endif()
file(REMOVE_RECURSE ${WORK})
message(STATUS "make-screenshots makes all ${count} documented pictures")
