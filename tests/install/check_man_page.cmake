# SPDX-License-Identifier: GPL-3.0-or-later
# cmake -DPROGRAM=... -DPAGE=....1 -DVERSION=... -P check_man_page.cmake
# The manual page says what the program's --help says: the page's text, with
# its roff markup taken out, holds every line of the help in the same words,
# and its title names the program and this version. A page left over from an
# older --help fails.
cmake_minimum_required(VERSION 3.25)
get_filename_component(name ${PROGRAM} NAME)

execute_process(COMMAND ${PROGRAM} --help RESULT_VARIABLE rc OUTPUT_VARIABLE help ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "${name} --help: exit ${rc}\n${err}")
endif()
if(NOT EXISTS ${PAGE})
  message(FATAL_ERROR "no manual page ${PAGE}")
endif()
file(READ ${PAGE} page)

string(TOUPPER "${name}" upper)
if(NOT page MATCHES "\n\\.TH \"?${upper}\"? \"?1\"? [^\n]*\"${name} ${VERSION}\"")
  message(FATAL_ERROR "the page's title does not name ${name} ${VERSION}:\n${page}")
endif()

# The page as words: roff requests' names, font changes and escapes removed.
string(REGEX REPLACE "\\\\f(\\(..|\\[[^]]*\\]|.)" "" text "${page}")
string(REPLACE "\\-" "-" text "${text}")
string(REGEX REPLACE "\\\\[,/&:]" "" text "${text}")
string(REGEX REPLACE "(^|\n)\\.[A-Za-z]+" "\\1" text "${text}")
string(REGEX REPLACE "[ \t\n\"]+" " " text "${text}")
# help2man makes "Options:" the heading OPTIONS: compare without letter case.
string(TOUPPER "${text}" text)

# Each line of the help, as words, must be in the page. help2man rewrites
# the first usage line as the synopsis (it is left out; further "or:" lines
# are checked without "or:") and a heading line such as "Options:" as a
# section heading.
#
# A program with commands (darvenix-cli) also has each command's options in
# its page: every line of "PROGRAM help COMMAND" up to its exit-status
# table, which the top-level help already gives; and it has examples.
set(all_help "${help}")
string(REGEX MATCH "\nCommands:\n(  [^\n]+\n)+" block "${help}")
string(REGEX MATCHALL "\n  [a-z][a-z-]*" commands "${block}")
foreach(command IN LISTS commands)
  string(STRIP "${command}" command)
  execute_process(COMMAND ${PROGRAM} help ${command} RESULT_VARIABLE rc OUTPUT_VARIABLE command_help)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${name} help ${command}: exit ${rc}")
  endif()
  string(REGEX REPLACE "\nExit status:\n.*$" "\n" command_help "${command_help}")
  # Its usage line is not the synopsis: compared like any line.
  string(REGEX REPLACE "^Usage: " "" command_help "${command_help}")
  string(APPEND all_help "\n${command_help}")
endforeach()
if(commands AND NOT text MATCHES " EXAMPLES .*${upper} CALC ")
  message(FATAL_ERROR "the manual page of ${name} has no examples:\n${text}")
endif()
string(REPLACE "\n" ";" lines "${all_help}")
set(checked 0)
foreach(line IN LISTS lines)
  string(REGEX REPLACE "[ \t\"]+" " " words "${line}")
  string(STRIP "${words}" words)
  if(words STREQUAL "" OR words MATCHES "^Usage: ")
    continue()
  endif()
  string(REGEX REPLACE "^or: " "" words "${words}")
  if(line MATCHES "^[^ ].*:$") # a heading: its colon goes
    string(REGEX REPLACE ":$" "" words "${words}")
  endif()
  string(TOUPPER "${words}" words)
  string(FIND "${text}" "${words}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "the manual page of ${name} lacks this line of --help:\n  ${line}\npage text:\n${text}")
  endif()
  math(EXPR checked "${checked} + 1")
endforeach()
if(checked LESS 3)
  message(FATAL_ERROR "only ${checked} lines of ${name} --help were compared")
endif()
message(STATUS "${name}: ${checked} lines of --help found in the manual page")
