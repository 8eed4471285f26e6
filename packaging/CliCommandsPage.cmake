# SPDX-License-Identifier: GPL-3.0-or-later
# cmake -DPROGRAM=darvenix-cli -DOUTPUT=commands.h2m -P CliCommandsPage.cmake
# Writes a help2man include file with a COMMANDS section: each command that
# "darvenix-cli --help" lists, with its usage and options as
# "darvenix-cli help COMMAND" prints them (the exit-status table, which the
# top-level help already gives, left out). The manual page so always has
# the options the program takes.
cmake_minimum_required(VERSION 3.25)
execute_process(COMMAND ${PROGRAM} --help RESULT_VARIABLE rc OUTPUT_VARIABLE help)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "${PROGRAM} --help: exit ${rc}")
endif()
# The command names: the lines "  NAME  text" after "Commands:", up to the
# first empty line.
string(REGEX MATCH "\nCommands:\n(  [^\n]+\n)+" block "${help}")
string(REGEX MATCHALL "\n  [a-z][a-z-]*" names "${block}")
if(NOT names)
  message(FATAL_ERROR "no commands found in ${PROGRAM} --help:\n${help}")
endif()

# Text as roff shows it literally in a no-fill block.
function(roff_literal text out)
  string(REPLACE "\\" "\\e" text "${text}")
  string(REPLACE "-" "\\-" text "${text}")
  string(REGEX REPLACE "(^|\n)([.'])" "\\1\\\\&\\2" text "${text}")
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

set(page "[COMMANDS]\nEach command's options, as \\fBdarvenix\\-cli help\\fR \\fICOMMAND\\fR prints them.\n")
foreach(name IN LISTS names)
  string(STRIP "${name}" name)
  execute_process(COMMAND ${PROGRAM} help ${name} RESULT_VARIABLE rc OUTPUT_VARIABLE text)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${PROGRAM} help ${name}: exit ${rc}")
  endif()
  string(REGEX REPLACE "\nExit status:\n.*$" "\n" text "${text}")
  string(STRIP "${text}" text)
  roff_literal("${text}" text)
  string(APPEND page ".SS ${name}\n.nf\n${text}\n.fi\n")
endforeach()
file(WRITE ${OUTPUT} "${page}")
