# SPDX-License-Identifier: GPL-3.0-or-later
# Tests of "darvenix-cli calc" and "darvenix-cli friction".
#
# This file is also the test driver: run with "cmake -P" it executes one
# command and checks its exit code (one of EXPECT_RC, separated by commas) and that its
# stdout and stderr match EXPECT_OUT and EXPECT_ERR (regular expressions).
# A crash gives a signal name instead of an exit code and so always fails.

if(CMAKE_SCRIPT_MODE_FILE)
  cmake_minimum_required(VERSION 3.25)
  separate_arguments(command_args UNIX_COMMAND "${ARGS}")
  string(REPLACE "," ";" EXPECT_RC "${EXPECT_RC}")
  execute_process(COMMAND ${EXE} ${command_args}
    RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc IN_LIST EXPECT_RC)
    message(FATAL_ERROR "exit code '${rc}', expected one of '${EXPECT_RC}'\nstdout:\n${out}\nstderr:\n${err}")
  endif()
  if(DEFINED EXPECT_OUT AND NOT out MATCHES "${EXPECT_OUT}")
    message(FATAL_ERROR "stdout does not match '${EXPECT_OUT}':\n${out}")
  endif()
  if(DEFINED EXPECT_ERR AND NOT err MATCHES "${EXPECT_ERR}")
    message(FATAL_ERROR "stderr does not match '${EXPECT_ERR}':\n${err}")
  endif()
  return()
endif()

set(calc_data ${CMAKE_CURRENT_BINARY_DIR}/calc)
file(MAKE_DIRECTORY ${calc_data})
set(crlf "\r\n")
file(WRITE ${calc_data}/circuit.txt
  "p, 3, 'Main riser', 102, 25.0, 8.077, 'Pipe', 10.0${crlf}"
  "f, 4, 'Bends', 102, 25.0, 0, 'Std Elbow 90 deg', 0, 2${crlf}"
  "u, 5, 'Chiller', 102, 25.0, 50, 'User'${crlf}")
file(WRITE ${calc_data}/nan_flow.txt "p, 1, 'ok', 102, 25.0, 0, 'Pipe', 10.0\np, 2, 'nan flow', 102, nan, 0, 'Pipe', 10.0\n")
file(WRITE ${calc_data}/inf_flow.txt "p, 1, 'inf flow', 102, 1e999, 0, 'Pipe', 10.0\nu, 2, 'inf', 102, inf, 5, 'User'\n")
file(WRITE ${calc_data}/zero_quantity.txt "f, 1, 'none', 102, 25.0, 0, 'Gate Valve', 12, 0.5\n")
file(WRITE ${calc_data}/fitting_99.txt
  "f, 1, 'beyond the table', 102, 25.0, 0, 'Nothing', 99, 1\np, 2, 'Pipe', 102, 25.0, 0, 'Pipe', 10.0\n")
file(WRITE ${calc_data}/empty.txt "")
file(WRITE ${calc_data}/overflow.txt "u, 1, 'first', 102, 25.0, 5, 'User'\np, 2, 'flood', 102, 1e200, 0, 'Pipe', 10.0\n")
file(WRITE ${calc_data}/zero_length.txt "p, 1, 'short', 102, 25.0, 0, 'Pipe', 0.0\n")
file(WRITE ${calc_data}/negative_length.txt
  "p, 1, 'riser', 102, 25.0, 0, 'Pipe', 10.0\np, 2, 'minus five', 102, 25.0, 0, 'Pipe', -5.0\n")
file(WRITE ${calc_data}/negative_user_dp.txt "u, 7, 'coil', 102, 25.0, -50, 'User'\n")
# Deterministic text garbage: random letters, digits, punctuation, quotes,
# line ends and bytes above 127.
string(RANDOM LENGTH 20000 ALPHABET "fpu0123456789.,;'\" eE+-%xq\t\r\néÿ" RANDOM_SEED 4711 garbage)
file(WRITE ${calc_data}/garbage.txt "${garbage}")

set(calc_driver ${CMAKE_CURRENT_LIST_FILE})

# darvenix_calc_test(NAME ARGS "..." RC "0,3" [OUT regex] [ERR regex])
function(darvenix_calc_test name)
  cmake_parse_arguments(T "" "ARGS;OUT;ERR" "RC" ${ARGN})
  # The calculation cases use the built-in tables only: they must not read or
  # merge the data files of the account running the tests.
  if(T_ARGS MATCHES "^calc ")
    string(APPEND T_ARGS " --builtin")
  endif()
  set(defs -DEXE=$<TARGET_FILE:darvenix-cli> "-DARGS=${T_ARGS}" "-DEXPECT_RC=${T_RC}")
  if(DEFINED T_OUT)
    list(APPEND defs "-DEXPECT_OUT=${T_OUT}")
  endif()
  if(DEFINED T_ERR)
    list(APPEND defs "-DEXPECT_ERR=${T_ERR}")
  endif()
  add_test(NAME ${name} COMMAND ${CMAKE_COMMAND} ${defs} -P ${calc_driver})
endfunction()

darvenix_calc_test(cli_calc_circuit ARGS "calc ${calc_data}/circuit.txt --builtin" RC 0
  OUT "Chiller.*Bends.*Main riser.*Index circuit dP: 62\\.4762 kPa.*Total volume: 0\\.132645 m3")
darvenix_calc_test(cli_calc_json ARGS "calc ${calc_data}/circuit.txt --json --sort number" RC 0
  OUT "^\\{\"version\":1,.*\"items\":\\[\\{\"number\":3,.*\"kind\":\"pipe\",.*\"bore\":\"100\".*\"kind\":\"user\".*\"velocity\":null.*\"totals\":\\{\"totalDP\":62476\\.2")
darvenix_calc_test(cli_calc_quiet_steel_water_at_20 ARGS "calc ${calc_data}/circuit.txt --quiet --t 20 --material 2" RC 0
  OUT "^Index circuit dP: [0-9.]+ kPa\nTotal volume: 0\\.132645 m3\n$")
darvenix_calc_test(cli_calc_nan_flow ARGS "calc ${calc_data}/nan_flow.txt" RC 3
  ERR "Data may not be zero: item 1 \\(number 2\\), the flow")
darvenix_calc_test(cli_calc_infinite_flow ARGS "calc ${calc_data}/inf_flow.txt" RC 3
  ERR "Data may not be zero: item 1 \\(number 2\\), the flow")
darvenix_calc_test(cli_calc_fitting_length_zero ARGS "calc ${calc_data}/zero_quantity.txt" RC 3
  ERR "Data may not be zero: item 1 \\(number 1\\), the quantity")
darvenix_calc_test(cli_calc_zero_length_pipe ARGS "calc ${calc_data}/zero_length.txt" RC 3
  ERR "Data may not be zero: item 1 \\(number 1\\), the length")
darvenix_calc_test(cli_calc_negative_length ARGS "calc ${calc_data}/negative_length.txt" RC 3
  ERR "^darvenix-cli: Data must be positive: item 1 \\(number 2\\), the length")
darvenix_calc_test(cli_calc_negative_user_pressure_drop ARGS "calc ${calc_data}/negative_user_dp.txt" RC 3
  ERR "^darvenix-cli: Data must be positive: item 1 \\(number 7\\), the pressure drop")
darvenix_calc_test(cli_calc_overflow ARGS "calc ${calc_data}/overflow.txt --json" RC 4
  ERR "^darvenix-cli: Pressure drop error\\.\n$" OUT "^$")
darvenix_calc_test(cli_calc_repeat_glycol ARGS "calc ${calc_data}/circuit.txt --repeat 3 --additive 1 --volume 0.3 --t 5 --groups --json" RC 0
  OUT "\"totalDP\":[0-9.e+]+,\"totalVolume\":0\\.1326449926240151")
darvenix_calc_test(cli_calc_resize_then_sort ARGS "calc ${calc_data}/circuit.txt --reset-flows --resize-all --sort type --sort type --quiet" RC 0
  OUT "Index circuit dP")
darvenix_calc_test(cli_calc_bad_liquid ARGS "calc ${calc_data}/circuit.txt --liquid 14" RC 2 ERR "--liquid")
darvenix_calc_test(cli_calc_fitting_type_99 ARGS "calc ${calc_data}/fitting_99.txt --quiet" RC 0
  ERR "Line 1: fitting type 99 is not in the fittings table \\(0 to 23\\); line skipped"
  OUT "Index circuit dP: [0-9.]+ kPa")
darvenix_calc_test(cli_calc_empty_file ARGS "calc ${calc_data}/empty.txt" RC 0
  OUT "Index circuit dP: 0\\.0000 kPa\nTotal volume: 0\\.000000 m3")
darvenix_calc_test(cli_calc_text_garbage ARGS "calc ${calc_data}/garbage.txt --quiet" RC "0,3,4")
# A binary file given the text extension goes through the text import.
add_test(NAME cli_calc_binary_setup
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:darvenix-cli> ${calc_data}/binary.txt)
set_tests_properties(cli_calc_binary_setup PROPERTIES FIXTURES_SETUP calc_binary_file)
darvenix_calc_test(cli_calc_binary_garbage ARGS "calc ${calc_data}/binary.txt --quiet" RC "0,3,4")
set_tests_properties(cli_calc_binary_garbage PROPERTIES FIXTURES_REQUIRED calc_binary_file)
darvenix_calc_test(cli_calc_no_extension ARGS "calc $<TARGET_FILE:darvenix-cli> --quiet" RC 5
  ERR "^darvenix-cli: File extension must be \"dvx\"\\.\n")
darvenix_calc_test(cli_calc_missing_file ARGS "calc ${calc_data}/no_such_file.txt" RC 5
  ERR "^darvenix-cli: Error reading .*no_such_file\\.txt\ndarvenix-cli: Cannot open ")
file(MAKE_DIRECTORY ${calc_data}/folder.txt)
darvenix_calc_test(cli_calc_folder ARGS "calc ${calc_data}/folder.txt" RC 5 ERR "^darvenix-cli: Error reading ")
# A FIFO is refused at once instead of waiting for a writer.
execute_process(COMMAND mkfifo ${calc_data}/fifo.dvx OUTPUT_QUIET ERROR_QUIET)
darvenix_calc_test(cli_calc_fifo ARGS "calc ${calc_data}/fifo.dvx" RC 5 ERR "^darvenix-cli: Error reading .*fifo\\.dvx\ndarvenix-cli: .*fifo\\.dvx is not a file\n")
darvenix_calc_test(cli_calc_no_file ARGS "calc --quiet" RC 2 ERR "^darvenix-cli: .*\nTry 'darvenix-cli calc --help'\\.\n$")
darvenix_calc_test(cli_calc_bad_material ARGS "calc ${calc_data}/circuit.txt --material 3" RC 2 ERR "^darvenix-cli: .*\nTry 'darvenix-cli calc --help'\\.\n$")
darvenix_calc_test(cli_calc_bad_sort ARGS "calc ${calc_data}/circuit.txt --sort 8" RC 2 ERR "^darvenix-cli: .*\nTry 'darvenix-cli calc --help'\\.\n$")
darvenix_calc_test(cli_calc_bad_repeat ARGS "calc ${calc_data}/circuit.txt --repeat 0" RC 2 ERR "^darvenix-cli: .*\nTry 'darvenix-cli calc --help'\\.\n$")
darvenix_calc_test(cli_calc_unknown_option ARGS "calc ${calc_data}/circuit.txt --fast" RC 2 ERR "unexpected argument '--fast'")
darvenix_calc_test(cli_friction_colebrook ARGS "friction --re 1e5 --eps 0.001 --d 1 --f0 0.02 --json" RC 0
  OUT "\"f\":0\\.0221654660525537[0-9]*,\"regime\":1,\"warnings\":\\[\\]\\}\n$")
darvenix_calc_test(cli_friction_no_flow ARGS "friction --re 0 --eps 0.001 --d 1 --f0 0.0173" RC 0
  OUT "^f 0\\.017299999999999999\nregime -1\n$")
darvenix_calc_test(cli_friction_bad_diameter ARGS "friction --re 1e5 --eps 0 --d 0" RC 2 ERR "^darvenix-cli: --d must be greater than 0\nTry 'darvenix-cli friction --help'\\.\n$")
darvenix_calc_test(cli_friction_missing_re ARGS "friction --eps 0 --d 1" RC 2 ERR "--re is needed")
