# SPDX-License-Identifier: GPL-3.0-or-later
# cmake -DBUILD_DIR=... -DVERSION=... [-DGUI=darvenix] -P check_package.cmake
# The Debian package as a distribution would check it: CPack builds the .deb
# from the built tree into a temporary folder (the build tree is only read:
# CPack's staging folder and the package go to that folder), lintian must
# find no error and no warning in it, and the programs unpacked from it
# (dpkg -x) must run from there and find their files. The package is also
# installed the way minimal and container systems do it, with dpkg leaving out
# everything under /usr/share/doc (into a root folder of its own, dpkg
# --root, under fakeroot): the programs must still find every file they
# need. The folder is removed when everything passed and kept, named in the
# message, when not.
cmake_minimum_required(VERSION 3.25)
set(tmp "$ENV{TMPDIR}")
if(NOT tmp)
  set(tmp /tmp)
endif()
string(RANDOM LENGTH 10 tag)
set(WORK ${tmp}/darvenix-package-${tag})
file(MAKE_DIRECTORY ${WORK}/home)
set(ENV{HOME} ${WORK}/home)
set(ENV{XDG_CONFIG_HOME} ${WORK}/home/config)
set(ENV{XDG_DATA_HOME} ${WORK}/home/data)

function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  set(rc "${rc}" PARENT_SCOPE)
  set(out "${out}" PARENT_SCOPE)
  set(err "${err}" PARENT_SCOPE)
endfunction()
function(expect_ok what)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${what}: exit code ${rc}\n${out}\n${err}\n(work folder kept: ${WORK})")
  endif()
endfunction()

foreach(tool cpack dpkg-deb dpkg fakeroot lintian)
  find_program(found_${tool} ${tool})
  if(NOT found_${tool})
    message(FATAL_ERROR "${tool} is not installed (tools/bootstrap installs it)")
  endif()
endforeach()

# --- the package, built from the build tree into WORK ---
file(WRITE ${WORK}/CPackConfig.cmake "
include(\"${BUILD_DIR}/CPackConfig.cmake\")
set(CPACK_PACKAGE_DIRECTORY \"${WORK}\")
set(CPACK_OUTPUT_CONFIG_FILE \"${WORK}/CPackConfig.cmake\")
")
string(TIMESTAMP started "%s")
run(${CMAKE_COMMAND} -E chdir ${WORK} cpack -G DEB --config ${WORK}/CPackConfig.cmake)
expect_ok("cpack -G DEB")
file(GLOB packages ${WORK}/darvenix_*.deb)
list(LENGTH packages count)
if(NOT count EQUAL 1)
  message(FATAL_ERROR "expected one darvenix_*.deb in ${WORK}, found: ${packages}\n${out}")
endif()
set(deb ${packages})
string(TIMESTAMP packed "%s")

# --- its control fields and documentation ---
run(dpkg-deb --field ${deb} Version)
expect_ok("dpkg-deb --field Version")
string(STRIP "${out}" package_version)
if(NOT package_version STREQUAL VERSION)
  message(FATAL_ERROR "package version ${package_version}, project version ${VERSION}")
endif()
run(dpkg-deb --contents ${deb})
expect_ok("dpkg-deb --contents")
set(listing "${out}")
foreach(file ./usr/share/doc/darvenix/copyright ./usr/share/doc/darvenix/changelog.gz
             ./usr/share/darvenix/Help/Darvenix.htm ./usr/share/darvenix/Manual/Manual.htm
             ./usr/share/man/man1/darvenix-cli.1.gz ./usr/lib/darvenix/darvenix-cli
             ./usr/share/darvenix/examples/LetterHead.txt)
  string(REPLACE "." "\\." pattern "${file}")
  if(NOT listing MATCHES " ${pattern}\n")
    message(FATAL_ERROR "${file} is not in the package:\n${listing}")
  endif()
endforeach()
if(GUI AND NOT listing MATCHES " \\./usr/share/man/man1/darvenix\\.1\\.gz\n")
  message(FATAL_ERROR "the desktop program's manual page is not in the package:\n${listing}")
endif()
# What software centres read: the AppStream entry and PNG icons.
if(GUI)
  foreach(file ./usr/share/metainfo/org.quellstrand.darvenix.metainfo.xml
               ./usr/share/icons/hicolor/48x48/apps/darvenix.png ./usr/share/icons/hicolor/256x256/apps/darvenix.png)
    string(REPLACE "." "\\." pattern "${file}")
    if(NOT listing MATCHES " ${pattern}\n")
      message(FATAL_ERROR "${file} is not in the package:\n${listing}")
    endif()
  endforeach()
endif()
# The pages belong under share/darvenix, not beside the programs; share/doc
# holds only what the program never reads (a system may leave it out).
if(listing MATCHES " \\./usr/lib/darvenix/(Help|Manual)/")
  message(FATAL_ERROR "documentation under /usr/lib/darvenix:\n${listing}")
endif()
string(REGEX MATCHALL " \\./usr/share/doc/darvenix/[^\n]*[^/\n]\n" doc_files "${listing}")
foreach(doc_file IN LISTS doc_files)
  if(NOT doc_file MATCHES "/(copyright|changelog\\.gz|README[^/]*)\n$")
    message(FATAL_ERROR "a file the program may need is under /usr/share/doc:${doc_file}")
  endif()
endforeach()
# The file type goes in as its definition only, the target machine builds
# the cache.
if(listing MATCHES " \\./usr/share/mime/[^p\n]|mimeinfo\\.cache")
  message(FATAL_ERROR "the package holds a file-type or menu cache:\n${listing}")
endif()

# --- lintian: no error, no warning ---
run(lintian --fail-on error,warning --tag-display-limit 0 ${deb})
string(TIMESTAMP linted "%s")
if(NOT rc EQUAL 0 OR out MATCHES "(^|\n)[EW]: ")
  message(FATAL_ERROR "lintian (exit ${rc}):\n${out}\n${err}")
endif()

# --- the unpacked programs ---
set(root ${WORK}/root)
run(dpkg -x ${deb} ${root})
expect_ok("dpkg -x")

# The changelog's latest entry is this version.
run(gzip -dc ${root}/usr/share/doc/darvenix/changelog.gz)
expect_ok("gzip -dc changelog.gz")
if(NOT out MATCHES "^darvenix \\(${VERSION}\\) ")
  message(FATAL_ERROR "the changelog does not start with version ${VERSION}:\n${out}")
endif()

unset(ENV{DISPLAY})
unset(ENV{WAYLAND_DISPLAY})
unset(ENV{QT_QPA_PLATFORM})
run(${root}/usr/bin/darvenix-cli --version)
expect_ok("installed darvenix-cli --version")
if(NOT out MATCHES "^darvenix-cli ${VERSION}")
  message(FATAL_ERROR "installed darvenix-cli --version printed:\n${out}")
endif()

# --- installed by dpkg without /usr/share/doc, as minimal systems do ---
# A root folder with an empty package database of its own; the libraries the
# package depends on come from this machine, so dependencies are not asked
# for there. fakeroot lets dpkg give the files to root without being root.
set(minimal ${WORK}/minimal)
file(MAKE_DIRECTORY ${minimal}/var/lib/dpkg/info ${minimal}/var/lib/dpkg/updates)
file(TOUCH ${minimal}/var/lib/dpkg/status)
run(fakeroot dpkg --root=${minimal} --force-not-root --force-depends --log=/dev/null
    --path-exclude=/usr/share/doc/* --install ${deb})
expect_ok("dpkg --install --path-exclude=/usr/share/doc/*")
file(GLOB left_in_doc ${minimal}/usr/share/doc/darvenix/*)
if(left_in_doc)
  message(FATAL_ERROR "dpkg's exclusion left files in /usr/share/doc: ${left_in_doc}")
endif()
run(${minimal}/usr/bin/darvenix-cli convert ${minimal}/usr/share/darvenix/examples/chilled-water.dvx
    ${WORK}/chilled-water.txt)
expect_ok("darvenix-cli convert, installed without /usr/share/doc")

if(GUI)
  foreach(installed ${root} ${minimal})
    run(${installed}/usr/bin/darvenix --check-install)
    expect_ok("darvenix --check-install, installed in ${installed}")
    file(REAL_PATH ${installed}/usr/share/darvenix pages_folder)
    foreach(page Help/Darvenix.htm Manual/Manual.htm)
      if(NOT out MATCHES "(^|\n)${pages_folder}/${page}\n")
        message(FATAL_ERROR "${page} not found in ${pages_folder}:\n${out}")
      endif()
    endforeach()
  endforeach()
endif()
# Every picture and page the installed pages refer to is installed with them.
run(${CMAKE_COMMAND} -DSOURCE_DIR=${minimal}/usr/share/darvenix -P ${CMAKE_CURRENT_LIST_DIR}/check_links.cmake)
expect_ok("links of the pages installed without /usr/share/doc")

math(EXPR pack_seconds "${packed} - ${started}")
math(EXPR lint_seconds "${linted} - ${packed}")
file(SIZE ${deb} deb_size)
message(STATUS "darvenix ${VERSION} .deb: ${deb_size} bytes; cpack ${pack_seconds} s, lintian ${lint_seconds} s; lintian clean, installed programs run")
file(REMOVE_RECURSE ${WORK})
