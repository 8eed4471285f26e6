# SPDX-License-Identifier: GPL-3.0-or-later
# cmake -DPROGRAM=... -DVERSION=... -P check_information_options.cmake
# "darvenix --version" and "--help" as a packager's build or a text console
# runs them: no display, no platform plugin chosen. They print, exit 0 and
# touch nothing of the user's (no settings, no data folder).
cmake_minimum_required(VERSION 3.25)
set(tmp "$ENV{TMPDIR}")
if(NOT tmp)
  set(tmp /tmp)
endif()
string(RANDOM LENGTH 10 tag)
set(WORK ${tmp}/darvenix-options-${tag})
file(MAKE_DIRECTORY ${WORK}/home)
set(ENV{HOME} ${WORK}/home)
set(ENV{XDG_CONFIG_HOME} ${WORK}/home/config)
set(ENV{XDG_DATA_HOME} ${WORK}/home/data)
unset(ENV{QT_QPA_PLATFORM})
unset(ENV{DISPLAY})
unset(ENV{WAYLAND_DISPLAY})

# arguments | what the output must hold
set(cases
  "--version|^darvenix ${VERSION}\nCopyright .*General Public License, version 3 or later"
  "--help|^Usage: darvenix \\[FILE\\]\n.*  --check-install .*  -h, --help .*  --version "
  "-h|^Usage: darvenix "
  "--version project.dvx|^darvenix ${VERSION}\n")
foreach(case IN LISTS cases)
  string(REPLACE "|" ";" parts "${case}")
  list(GET parts 0 option)
  list(GET parts 1 expected)
  separate_arguments(option)
  execute_process(COMMAND ${PROGRAM} ${option} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err
                  TIMEOUT 20)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "darvenix ${option} without a display: exit ${rc}\n${out}\n${err}")
  endif()
  if(NOT out MATCHES "${expected}")
    message(FATAL_ERROR "darvenix ${option} printed:\n${out}")
  endif()
  if(NOT err STREQUAL "")
    message(FATAL_ERROR "darvenix ${option} complained:\n${err}")
  endif()
endforeach()

# Opening the window without a display: one line that says so and names the
# command-line program, exit 1; not Qt's abort with its plugin advice. Both
# with no display named and with one named that does not answer.
foreach(display "" ":97")
  if(display)
    set(ENV{DISPLAY} ${display})
  endif()
  execute_process(COMMAND ${PROGRAM} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err TIMEOUT 20)
  if(NOT rc EQUAL 1 OR NOT err STREQUAL
     "darvenix: cannot connect to a display; use darvenix-cli for calculations without one\n")
    message(FATAL_ERROR "darvenix without a display (DISPLAY=${display}): exit ${rc}\n${err}")
  endif()
endforeach()
unset(ENV{DISPLAY})

file(GLOB_RECURSE written LIST_DIRECTORIES true ${WORK}/home/*)
if(written)
  message(FATAL_ERROR "printing options wrote into the home folder:\n${written}")
endif()
file(REMOVE_RECURSE ${WORK})
message(STATUS "--version and --help answered without a display")
