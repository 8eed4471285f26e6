# SPDX-License-Identifier: GPL-3.0-or-later
# cmake -DCLI=darvenix-cli -DFILE=example -DWORK=folder -DOPTIONS="..." -DITEMS=n -P run_example.cmake
# Calculates one example with the built-in tables (a project file with its
# own liquid and material): calc must finish with exit code 0, report no
# invalid item, calculate every item and give a positive total pressure drop.
cmake_minimum_required(VERSION 3.25)
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
separate_arguments(opts UNIX_COMMAND "${OPTIONS}")
execute_process(COMMAND ${CLI} calc --builtin ${opts} --json ${FILE}
  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "calc exit code ${rc}:\n${out}\n${err}")
endif()
if(out MATCHES "Data may not be zero" OR err MATCHES "Data may not be zero")
  message(FATAL_ERROR "an item is invalid:\n${err}")
endif()
string(JSON count LENGTH "${out}" items)
if(NOT count EQUAL ITEMS)
  message(FATAL_ERROR "${count} items calculated, ${ITEMS} expected:\n${out}")
endif()
string(JSON total GET "${out}" totals totalDP)
if(NOT total GREATER 0)
  message(FATAL_ERROR "total pressure drop '${total}' is not positive:\n${out}")
endif()
message(STATUS "${FILE}: ${count} items, TotalDP ${total}")
