# SPDX-License-Identifier: GPL-3.0-or-later
# cmake -DBUILD_DIR=... -DSOURCE_DIR=... -DWORK=... [-DGUI=darvenix] -P check_install.cmake
cmake_minimum_required(VERSION 3.25)
set(prefix ${WORK}/prefix)
set(home ${WORK}/home)
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${home})
# The installed programs keep their settings and catalogues in this home.
set(ENV{HOME} ${home})
set(ENV{XDG_CONFIG_HOME} ${home}/config)
set(ENV{XDG_DATA_HOME} ${home}/data)
set(ENV{QT_QPA_PLATFORM} offscreen)

function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  set(rc "${rc}" PARENT_SCOPE)
  set(out "${out}" PARENT_SCOPE)
  set(err "${err}" PARENT_SCOPE)
endfunction()
function(expect_ok what)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${what}: exit code ${rc}\n${out}\n${err}")
  endif()
endfunction()
function(expect_file path)
  if(NOT EXISTS ${path})
    message(FATAL_ERROR "not installed: ${path}")
  endif()
endfunction()

run(${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix})
expect_ok("cmake --install")

# Layout: the programs in the private folder, links to them in bin/.
foreach(file bin/darvenix-cli lib/darvenix/darvenix-cli lib/darvenix/darvenix-cli.ini
             share/darvenix/Help/Darvenix.htm share/darvenix/Manual/Manual.htm
             share/doc/darvenix/copyright share/doc/darvenix/changelog.gz
             share/darvenix/install-data/SteelPipe.ini share/darvenix/examples/chilled-water.dvx
             share/darvenix/examples/LetterHead.txt
             share/applications/darvenix.desktop share/mime/packages/darvenix.xml
             share/icons/hicolor/scalable/apps/darvenix.svg)
  expect_file(${prefix}/${file})
endforeach()
# Where bash-completion loads a command's completion from when it is first
# completed.
expect_file(${prefix}/share/bash-completion/completions/darvenix-cli)
if(EXISTS ${prefix}/lib/darvenix/Help OR EXISTS ${prefix}/lib/darvenix/Manual)
  message(FATAL_ERROR "documentation left beside the programs in lib/darvenix/")
endif()

# A prefix installed without DESTDIR has its file-type database refreshed,
# so that .dvx files are known at once (when the tool is there to do it).
find_program(update_mime update-mime-database)
if(update_mime)
  expect_file(${prefix}/share/mime/application/x-darvenix.xml)
  expect_file(${prefix}/share/mime/mime.cache)
endif()
if(NOT IS_SYMLINK ${prefix}/bin/darvenix-cli)
  message(FATAL_ERROR "bin/darvenix-cli is not a link to the program folder")
endif()
if(EXISTS ${prefix}/bin/darvenix-cli.ini)
  message(FATAL_ERROR "a merge configuration was left in bin/")
endif()

# The installed command-line program finds its folder through the link ...
run(${prefix}/bin/darvenix-cli paths)
expect_ok("darvenix-cli paths")
file(REAL_PATH ${prefix}/lib/darvenix program_folder)
if(NOT out MATCHES "ProgramFolder=${program_folder}/\n")
  message(FATAL_ERROR "program folder is not ${program_folder}/:\n${out}")
endif()

# ... and calculates an installed example with the shipped catalogue files,
# writing nothing into the home folder; "setup" then brings the files its
# merge configuration names into the user's data folder.
set(items ${WORK}/chilled-water.txt)
run(${prefix}/bin/darvenix-cli convert ${prefix}/share/darvenix/examples/chilled-water.dvx ${items})
expect_ok("darvenix-cli convert")
run(${prefix}/bin/darvenix-cli calc --quiet ${items})
expect_ok("darvenix-cli calc")
if(err MATCHES "Error reading|Data may not be zero")
  message(FATAL_ERROR "calc complained:\n${err}")
endif()
if(NOT out MATCHES "Index circuit dP: [0-9]")
  message(FATAL_ERROR "no total from calc:\n${out}")
endif()
if(EXISTS "${home}/data/Quellstrand")
  message(FATAL_ERROR "calc wrote into the user's data folder")
endif()
run(${prefix}/bin/darvenix-cli setup)
expect_ok("darvenix-cli setup")
foreach(name SteelPipe.ini GalvIronPipe.ini DrawnTubePipe.ini PipeFittings.ini RefLib8.rdf)
  expect_file("${home}/data/Quellstrand/Common Files/${name}")
endforeach()

if(GUI)
  # Desktop integration: the software centres' entry and the program icon
  # as PNG in the usual sizes, each a real PNG of its size.
  expect_file(${prefix}/share/metainfo/org.quellstrand.darvenix.metainfo.xml)
  foreach(size 16 24 32 48 64 128 256)
    set(png ${prefix}/share/icons/hicolor/${size}x${size}/apps/darvenix.png)
    expect_file(${png})
    file(READ ${png} head LIMIT 24 HEX)
    math(EXPR hex_size "${size}" OUTPUT_FORMAT HEXADECIMAL)
    string(REPLACE "0x" "" hex_size "${hex_size}")
    string(LENGTH "${hex_size}" digits)
    math(EXPR pad "8 - ${digits}")
    string(REPEAT "0" ${pad} zeros)
    set(dimension "${zeros}${hex_size}")
    if(NOT head MATCHES "^89504e470d0a1a0a0000000d49484452${dimension}${dimension}$")
      message(FATAL_ERROR "${png} is not a ${size}x${size} PNG: ${head}")
    endif()
  endforeach()

  # The desktop entry starts a program that is installed (a build without
  # the desktop program installs none).
  file(STRINGS ${prefix}/share/applications/darvenix.desktop exec REGEX "^Exec=")
  string(REGEX REPLACE "^Exec=([^ ]+).*" "\\1" exec_program "${exec}")
  expect_file(${prefix}/bin/${exec_program})

  # The desktop program resolves its help page and manual in the installed
  # share/darvenix/ folder.
  file(REAL_PATH ${prefix}/share/darvenix doc_folder)
  run(${prefix}/bin/darvenix --check-install)
  expect_ok("darvenix --check-install")
  if(NOT out MATCHES "${doc_folder}/Help/Darvenix.htm\n" OR NOT out MATCHES "${doc_folder}/Manual/Manual.htm\n")
    message(FATAL_ERROR "help page and manual not resolved in ${doc_folder}:\n${out}")
  endif()
  file(READ ${prefix}/share/darvenix/Help/Darvenix.htm installed_help)
  file(READ ${SOURCE_DIR}/Help/Darvenix.htm source_help)
  if(NOT installed_help STREQUAL source_help)
    message(FATAL_ERROR "the installed help page is not the project's")
  endif()
  # Without its help page the check fails and names what is missing.
  file(REMOVE ${prefix}/share/darvenix/Help/Darvenix.htm)
  run(${prefix}/bin/darvenix --check-install)
  if(rc EQUAL 0 OR NOT out MATCHES "Help/Darvenix.htm \\(missing\\)")
    message(FATAL_ERROR "--check-install passed without the help page (${rc}):\n${out}")
  endif()
endif()

# The installation is undone by the script it brought, which removes every
# file it installed (the list kept in the prefix says which) and the
# folders and caches that only it needed: the prefix is empty afterwards.
expect_file(${prefix}/share/darvenix/install_manifest.txt)
file(STRINGS ${prefix}/share/darvenix/install_manifest.txt listed)
file(GLOB_RECURSE installed LIST_DIRECTORIES false ${prefix}/*)
foreach(file IN LISTS installed)
  # The caches built at install time are the refresh tools' files.
  string(FIND "${file}" "${prefix}/share/mime/" in_mime)
  if(NOT file IN_LIST listed AND NOT in_mime EQUAL 0 AND NOT file STREQUAL "${prefix}/share/applications/mimeinfo.cache")
    message(FATAL_ERROR "installed but not in the list kept in the prefix: ${file}")
  endif()
endforeach()
run(${CMAKE_COMMAND} -P ${prefix}/share/darvenix/uninstall.cmake)
expect_ok("cmake -P <prefix>/share/darvenix/uninstall.cmake")
file(GLOB_RECURSE left LIST_DIRECTORIES true ${prefix}/*)
if(left)
  message(FATAL_ERROR "uninstall left these behind:\n${left}")
endif()
message(STATUS "installed into ${prefix}, ran from there and uninstalled")
