# SPDX-License-Identifier: GPL-3.0-or-later
# The first start of darvenix-cli in a fresh home: the merge brings the
# shipped data files into the data folder and the catalogues load without a
# message, in a second home too. The test stages the install files itself
# and runs alone, so that it sees the shipped files as the build left them.
add_test(NAME cli_settings_first_run
  COMMAND ${CMAKE_COMMAND} -DCLI=$<TARGET_FILE:darvenix-cli>
          -DWORK=${CMAKE_CURRENT_BINARY_DIR}/settings-first-run
          -DSTAGE_SOURCE=${CMAKE_SOURCE_DIR}/data
          -DSTAGE_DEST=$<TARGET_FILE_DIR:darvenix-cli>/install-data
          -P ${CMAKE_CURRENT_LIST_DIR}/FirstRun-settings.cmake)
set_tests_properties(cli_settings_first_run PROPERTIES RUN_SERIAL TRUE)

# "paths" follows HOME and the XDG folders and names the desktop program's
# settings file, which the calculating commands read.
add_test(NAME cli_settings_paths
  COMMAND ${CMAKE_COMMAND} -E env HOME=${CMAKE_CURRENT_BINARY_DIR}/paths-home
          XDG_CONFIG_HOME=/xdg/config XDG_DATA_HOME=relative/is/ignored
          $<TARGET_FILE:darvenix-cli> paths)
set_tests_properties(cli_settings_paths PROPERTIES PASS_REGULAR_EXPRESSION
  "ProgramFolder=[^\n]*/\nSuiteFolder=${CMAKE_CURRENT_BINARY_DIR}/paths-home/\\.local/share/Quellstrand/\nDataFolder=${CMAKE_CURRENT_BINARY_DIR}/paths-home/\\.local/share/Quellstrand/Common Files/\nSettingsFile=/xdg/config/Quellstrand/darvenix\\.ini\nSettingsInForce=no")
