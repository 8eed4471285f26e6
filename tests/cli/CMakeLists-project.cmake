# SPDX-License-Identifier: GPL-3.0-or-later
# darvenix-cli convert, and calc on project files: each test runs a script
# that drives the program in a scratch folder and checks files and output.
set(project_cli_script ${CMAKE_CURRENT_LIST_DIR}/project_cli.cmake)
foreach(case convert_roundtrip convert_extension convert_failures calc_project)
  add_test(NAME cli_project_${case}
    COMMAND ${CMAKE_COMMAND}
      -DCLI=$<TARGET_FILE:darvenix-cli>
      -DSOURCE_DIR=${CMAKE_SOURCE_DIR}
      -DWORK_DIR=${CMAKE_CURRENT_BINARY_DIR}/project_${case}
      -DCASE=${case}
      -P ${project_cli_script})
endforeach()
