# SPDX-License-Identifier: GPL-3.0-or-later
# cmake -DCLI=<darvenix-cli> -DWORK=<scratch folder> -DSTAGE_SOURCE=<data folder>
#       -DSTAGE_DEST=<install folder> -P FirstRun-settings.cmake
# Stages the shipped data files for the install-data merge. In a fresh home
# "darvenix-cli catalogue --json" reads the shipped copies and writes nothing;
# then "darvenix-cli setup" runs before each catalogue run, twice in one home
# and once in a second fresh home (another account, or the start that follows
# a test run). Each time no loading message appears, the tables are the
# shipped ones, the data files are in that home's data folder after setup and
# the shipped copies are still in place.
set(SOURCE_DIR ${STAGE_SOURCE})
set(DEST ${STAGE_DEST})
include(${STAGE_SOURCE}/StageInstallData.cmake)
file(REMOVE_RECURSE ${WORK})

foreach(run read-only first second other-home)
  if(run STREQUAL "other-home")
    set(home ${WORK}/home2)
  else()
    set(home ${WORK}/home)
  endif()
  file(MAKE_DIRECTORY ${home})
  set(env HOME=${home} XDG_CONFIG_HOME=${home}/config XDG_DATA_HOME=${home}/data)
  set(data_folder "${home}/data/Quellstrand/Common Files")
  if(NOT run STREQUAL "read-only")
    execute_process(COMMAND ${CMAKE_COMMAND} -E env ${env} ${CLI} setup RESULT_VARIABLE rc ERROR_VARIABLE err)
    if(NOT rc EQUAL 0)
      message(FATAL_ERROR "${run} run: setup exit ${rc}\n${err}")
    endif()
  endif()
  execute_process(COMMAND ${CMAKE_COMMAND} -E env ${env} ${CLI} catalogue --json
                  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${run} run: exit ${rc}\n${err}")
  endif()
  if(NOT err STREQUAL "")
    message(FATAL_ERROR "${run} run printed loading messages:\n${err}")
  endif()
  string(JSON messages GET "${out}" messages)
  string(JSON bores LENGTH "${out}" bores)
  string(JSON fittings LENGTH "${out}" fittings)
  string(JSON id100 GET "${out}" bores 11 ID)
  string(JSON globe GET "${out}" fittings 16 C)
  string(JSON steel GET "${out}" roughness 0)
  if(NOT messages STREQUAL "[ ]" AND NOT messages STREQUAL "[]")
    message(FATAL_ERROR "${run} run: messages ${messages}")
  endif()
  if(NOT bores EQUAL 20 OR NOT fittings EQUAL 24 OR NOT id100 STREQUAL "0.1023" OR NOT globe EQUAL 340
     OR NOT steel STREQUAL "4.6e-05")
    message(FATAL_ERROR "${run} run: unexpected tables ${bores} ${fittings} ${id100} ${globe} ${steel}\n${out}")
  endif()
  if(run STREQUAL "read-only")
    file(GLOB_RECURSE written LIST_DIRECTORIES true ${home}/*)
    if(written)
      message(FATAL_ERROR "catalogue wrote into the home folder:\n${written}")
    endif()
    continue()
  endif()
  foreach(file SteelPipe.ini GalvIronPipe.ini DrawnTubePipe.ini PipeFittings.ini RefLib8.rdf)
    if(NOT EXISTS "${data_folder}/${file}")
      message(FATAL_ERROR "${run} run: ${file} is not in ${data_folder}")
    endif()
    if(NOT EXISTS "${STAGE_DEST}/${file}")
      message(FATAL_ERROR "${run} run: the shipped ${file} was removed from ${STAGE_DEST}")
    endif()
  endforeach()
endforeach()
