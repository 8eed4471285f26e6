# SPDX-License-Identifier: GPL-3.0-or-later
# cmake -DSOURCE_DIR=... -P check_uninstall_script.cmake
# The uninstall script on made-up installations: it removes what its list
# names and the folders that became empty, keeps what others put into the
# same folders, and removes nothing at all when the list names a path
# outside the prefix (a list that was edited, or that points through "..").
cmake_minimum_required(VERSION 3.25)
set(script ${SOURCE_DIR}/packaging/Uninstall.cmake)
# A folder of its own under the system's temporary folder, never in the
# build tree.
set(tmp "$ENV{TMPDIR}")
if(NOT tmp)
  set(tmp /tmp)
endif()
string(RANDOM LENGTH 10 tag)
set(WORK ${tmp}/darvenix-uninstall-${tag})

function(make_installation prefix)
  file(MAKE_DIRECTORY ${prefix}/bin ${prefix}/lib/darvenix ${prefix}/share/darvenix/Help ${prefix}/share/doc/other)
  file(WRITE ${prefix}/lib/darvenix/darvenix-cli "program")
  file(CREATE_LINK ../lib/darvenix/darvenix-cli ${prefix}/bin/darvenix-cli SYMBOLIC)
  file(WRITE "${prefix}/share/darvenix/Help/Darvenix page.htm" "help")
  file(WRITE ${prefix}/share/doc/other/README "someone else's")
  file(WRITE ${WORK}/outside "not the installation's")
  set(listed ${prefix}/bin/darvenix-cli ${prefix}/lib/darvenix/darvenix-cli
             "${prefix}/share/darvenix/Help/Darvenix page.htm" ${prefix}/share/darvenix/gone-already.txt
             ${prefix}/share/darvenix/install_manifest.txt ${ARGN})
  list(JOIN listed "\n" text)
  file(WRITE ${prefix}/share/darvenix/install_manifest.txt "${text}\n")
endfunction()

function(uninstall prefix)
  execute_process(COMMAND ${CMAKE_COMMAND} -D PREFIX=${prefix} -P ${script}
                  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  set(rc ${rc} PARENT_SCOPE)
  set(err "${err}" PARENT_SCOPE)
endfunction()

# A whole installation goes, folders included; other files stay.
set(prefix ${WORK}/plain)
make_installation(${prefix})
uninstall(${prefix})
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "uninstall failed (${rc}):\n${err}")
endif()
file(GLOB_RECURSE left LIST_DIRECTORIES true RELATIVE ${prefix} ${prefix}/*)
if(NOT left STREQUAL "share;share/doc;share/doc/other;share/doc/other/README")
  message(FATAL_ERROR "after uninstall ${prefix} holds: ${left}")
endif()

# Lists naming a path outside the prefix: refused, and nothing removed.
foreach(foreign "${WORK}/outside" "${WORK}/rogue/../outside" "outside")
  set(prefix ${WORK}/foreign)
  file(REMOVE_RECURSE ${prefix})
  file(MAKE_DIRECTORY ${WORK}/rogue)
  make_installation(${prefix} "${foreign}")
  uninstall(${prefix})
  if(rc EQUAL 0 OR NOT EXISTS ${WORK}/outside OR NOT EXISTS ${prefix}/lib/darvenix/darvenix-cli)
    message(FATAL_ERROR "a list naming ${foreign} was followed (exit ${rc}):\n${err}")
  endif()
endforeach()

# No installation there: an error, not a silent success.
uninstall(${WORK}/nothing-here)
if(rc EQUAL 0)
  message(FATAL_ERROR "uninstall of a prefix without an installation succeeded")
endif()
file(REMOVE_RECURSE ${WORK})
message(STATUS "the uninstall script removes what it listed and nothing else")
