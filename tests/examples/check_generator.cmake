# SPDX-License-Identifier: GPL-3.0-or-later
# cmake -DCLI=... -DGENERATOR=... -DEXAMPLES=examples/ -DWORK=folder -P check_generator.cmake
# Regenerates the example projects and compares them with the committed ones
# through their text item form (the same items, numbers, bores, flows and
# lengths in the same order).
cmake_minimum_required(VERSION 3.25)
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
execute_process(COMMAND ${GENERATOR} ${WORK} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "make_examples failed (${rc}):\n${out}\n${err}")
endif()
foreach(name chilled-water chilled-water-kv glycol-loop)
  foreach(side committed generated)
    if(side STREQUAL "committed")
      set(in ${EXAMPLES}/${name}.dvx)
    else()
      set(in ${WORK}/${name}.dvx)
    endif()
    execute_process(COMMAND ${CLI} convert ${in} ${WORK}/${name}-${side}.txt
      RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
    if(NOT rc EQUAL 0)
      message(FATAL_ERROR "convert ${in} failed (${rc}):\n${out}\n${err}")
    endif()
    file(READ ${WORK}/${name}-${side}.txt text_${side})
  endforeach()
  if(NOT text_committed STREQUAL text_generated)
    message(FATAL_ERROR "examples/${name}.dvx differs from what make_examples writes; "
      "regenerate it:\n--- committed\n${text_committed}\n--- generated\n${text_generated}")
  endif()
endforeach()
