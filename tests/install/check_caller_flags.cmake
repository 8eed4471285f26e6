# SPDX-License-Identifier: GPL-3.0-or-later
# cmake -DSOURCE_DIR=... -DWORK=... -P check_caller_flags.cmake
# Configures the project as a distribution does, with its own fortification
# level and linker flags, and checks that every compile command keeps them
# (no later -U_FORTIFY_SOURCE or lower level), while a configuration without
# them still gets the project's hardening.
cmake_minimum_required(VERSION 3.25)

function(configure_into dir)
  file(REMOVE_RECURSE ${dir})
  execute_process(COMMAND ${CMAKE_COMMAND} -S ${SOURCE_DIR} -B ${dir} -G Ninja -DCMAKE_BUILD_TYPE=Release
                          -DCMAKE_EXPORT_COMPILE_COMMANDS=ON -DDARVENIX_BUILD_GUI=OFF -DDARVENIX_BUILD_BENCH=OFF
                          -DDARVENIX_BUILD_TESTS=OFF ${ARGN}
                  RESULT_VARIABLE rc OUTPUT_QUIET ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "configure ${ARGN} failed:\n${err}")
  endif()
endfunction()

configure_into(${WORK}/caller "-DCMAKE_CXX_FLAGS=-D_FORTIFY_SOURCE=3 -fstack-protector-all"
               "-DCMAKE_EXE_LINKER_FLAGS=-Wl,-z,relro")
file(READ ${WORK}/caller/compile_commands.json commands)
if(NOT commands MATCHES "_FORTIFY_SOURCE=3")
  message(FATAL_ERROR "the caller's -D_FORTIFY_SOURCE=3 is not in the compile commands")
endif()
foreach(added "-U_FORTIFY_SOURCE" "_FORTIFY_SOURCE=2" "-fstack-protector-strong")
  string(FIND "${commands}" "${added}" at)
  if(NOT at EQUAL -1)
    message(FATAL_ERROR "the build adds ${added} over the caller's flags")
  endif()
endforeach()
file(READ ${WORK}/caller/build.ninja rules)
string(FIND "${rules}" "-Wl,-z,now" now)
if(now EQUAL -1)
  message(FATAL_ERROR "the build dropped -z,now that the caller did not set")
endif()

configure_into(${WORK}/plain)
file(READ ${WORK}/plain/compile_commands.json commands)
if(NOT commands MATCHES "-D_FORTIFY_SOURCE=2" OR NOT commands MATCHES "-fstack-protector-strong")
  message(FATAL_ERROR "a configuration without flags lost the hardening")
endif()
file(REMOVE_RECURSE ${WORK})
message(STATUS "the caller's build flags are kept")
