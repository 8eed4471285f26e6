# SPDX-License-Identifier: GPL-3.0-or-later
# darvenix-cli curve: a GoogleTest program that runs the built command and
# reads its JSON and CSV back.
add_executable(test_cli_curve ${CMAKE_CURRENT_LIST_DIR}/CurveCliTest.cpp)
target_link_libraries(test_cli_curve PRIVATE darvenix_core GTest::gtest GTest::gtest_main darvenix_warnings)
target_compile_definitions(test_cli_curve PRIVATE DARVENIX_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
add_dependencies(test_cli_curve darvenix-cli)
add_test(NAME cli_curve COMMAND test_cli_curve $<TARGET_FILE:darvenix-cli>
  WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
