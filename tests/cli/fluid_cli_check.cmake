# SPDX-License-Identifier: GPL-3.0-or-later
# Runs darvenix-cli once and checks its outcome (cmake -P script).
#   CLI          path of darvenix-cli
#   ARGS         its arguments, separated by "|"
#   EXIT         the expected exit code
#   STDOUT_REGEX optional regular expression the standard output must match
#   STDERR_REGEX optional regular expression the standard error must match
#   JSON_KEYS    optional "|"-separated list: the output must be one JSON
#                object with exactly these keys (CMake's JSON reader does not
#                keep the order of members, so the order is not checked)
#   JSON_STRINGS optional "|"-separated KEY=VALUE pairs: string members that
#                must equal VALUE (after JSON unescaping); KEY is a path of
#                member names joined by "." ("liquid.caption")
string(REPLACE "|" ";" arguments "${ARGS}")
execute_process(COMMAND ${CLI} ${arguments}
  RESULT_VARIABLE code OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT code STREQUAL "${EXIT}")
  message(FATAL_ERROR "exit code ${code}, expected ${EXIT}\nstdout:\n${out}\nstderr:\n${err}")
endif()
if(DEFINED STDOUT_REGEX AND NOT out MATCHES "${STDOUT_REGEX}")
  message(FATAL_ERROR "stdout does not match '${STDOUT_REGEX}':\n${out}")
endif()
if(DEFINED STDERR_REGEX AND NOT err MATCHES "${STDERR_REGEX}")
  message(FATAL_ERROR "stderr does not match '${STDERR_REGEX}':\n${err}")
endif()
if(DEFINED JSON_KEYS)
  string(JSON count ERROR_VARIABLE json_error LENGTH "${out}")
  if(json_error)
    message(FATAL_ERROR "not a JSON object: ${json_error}\n${out}")
  endif()
  string(REPLACE "|" ";" expected "${JSON_KEYS}")
  set(keys "")
  math(EXPR last "${count} - 1")
  foreach(i RANGE ${last})
    string(JSON key MEMBER "${out}" ${i})
    list(APPEND keys ${key})
  endforeach()
  list(SORT keys)
  list(SORT expected)
  if(NOT keys STREQUAL expected)
    message(FATAL_ERROR "keys '${keys}', expected '${expected}'")
  endif()
endif()
if(DEFINED JSON_STRINGS)
  string(REPLACE "|" ";" checks "${JSON_STRINGS}")
  foreach(check IN LISTS checks)
    string(FIND "${check}" "=" eq)
    string(SUBSTRING "${check}" 0 ${eq} key)
    math(EXPR from "${eq} + 1")
    string(SUBSTRING "${check}" ${from} -1 want)
    string(REPLACE "." ";" key "${key}")
    string(JSON got GET "${out}" ${key})
    if(NOT got STREQUAL want)
      message(FATAL_ERROR "${key} is '${got}', expected '${want}'")
    endif()
  endforeach()
endif()
