# SPDX-License-Identifier: GPL-3.0-or-later
# Removes an installation made with "cmake --install" (without DESTDIR):
#
#   cmake -P <prefix>/share/darvenix/uninstall.cmake
#   cmake -D PREFIX=<prefix> -P packaging/Uninstall.cmake     (from a clone)
#
# The installation keeps the list of what it installed in
# <prefix>/share/darvenix/install_manifest.txt, one list per prefix, so that
# neither another installation nor a package build replaces it. Every listed
# file or link is removed, then the folders that became empty, then the
# file-type and desktop-entry caches of the prefix are rebuilt (or removed,
# when nothing is left for them to describe). A listed path outside the
# prefix is refused: the list is a file anyone with access could edit.
cmake_minimum_required(VERSION 3.25)

if(NOT DEFINED PREFIX)
  if(NOT EXISTS ${CMAKE_CURRENT_LIST_DIR}/install_manifest.txt)
    message(FATAL_ERROR "name the installation: cmake -D PREFIX=<prefix> -P ${CMAKE_CURRENT_LIST_FILE}")
  endif()
  get_filename_component(PREFIX ${CMAKE_CURRENT_LIST_DIR}/../.. ABSOLUTE)
endif()
get_filename_component(prefix "${PREFIX}" ABSOLUTE)
set(manifest ${prefix}/share/darvenix/install_manifest.txt)
if(NOT EXISTS ${manifest})
  message(FATAL_ERROR "no Darvenix installation in ${prefix} (${manifest} is missing)")
endif()
# Paths are compared with links resolved, so that a prefix reached through
# a link (or listed through one) is still recognised as the same.
file(REAL_PATH ${prefix} prefix)

# First every listed path that is still there, each checked to lie in the
# prefix; nothing is removed when one does not.
file(STRINGS ${manifest} listed)
set(targets "")
foreach(path IN LISTS listed)
  if(NOT IS_ABSOLUTE "${path}")
    message(FATAL_ERROR "${manifest} lists ${path}, which is not in ${prefix}: nothing was removed")
  endif()
  get_filename_component(name "${path}" NAME)
  get_filename_component(folder "${path}" DIRECTORY)
  if(NOT IS_DIRECTORY "${folder}")
    continue() # gone with its folder already
  endif()
  file(REAL_PATH "${folder}" folder)
  set(target "${folder}/${name}")
  cmake_path(IS_PREFIX prefix "${target}" NORMALIZE inside)
  if(NOT inside OR name STREQUAL ".." OR name STREQUAL ".")
    message(FATAL_ERROR "${manifest} lists ${path}, which is not in ${prefix}: nothing was removed")
  endif()
  # A file removed already still leaves its folder to clear.
  list(APPEND targets "${target}")
endforeach()

set(removed 0)
set(folders "")
foreach(target IN LISTS targets)
  if(IS_DIRECTORY "${target}" AND NOT IS_SYMLINK "${target}")
    continue() # only files are listed; a folder of that name is not ours
  endif()
  if(EXISTS "${target}" OR IS_SYMLINK "${target}")
    file(REMOVE "${target}")
    math(EXPR removed "${removed} + 1")
  endif()
  # Every folder above the file, up to the prefix, may now be empty.
  get_filename_component(folder "${target}" DIRECTORY)
  cmake_path(IS_PREFIX prefix "${folder}" under)
  while(under AND NOT folder STREQUAL prefix)
    list(APPEND folders "${folder}")
    get_filename_component(folder "${folder}" DIRECTORY)
    cmake_path(IS_PREFIX prefix "${folder}" under)
  endwhile()
endforeach()

# The caches: everything in share/mime but packages/ is built from the
# definitions in packages/, and mimeinfo.cache from the desktop entries.
function(refresh tool folder)
  find_program(tool_path ${tool})
  if(tool_path)
    execute_process(COMMAND ${tool_path} ${folder} RESULT_VARIABLE rc OUTPUT_QUIET ERROR_QUIET)
  endif()
endfunction()
set(mime ${prefix}/share/mime)
file(GLOB definitions ${mime}/packages/*)
if(definitions)
  refresh(update-mime-database ${mime})
elseif(IS_DIRECTORY ${mime})
  file(REMOVE_RECURSE ${mime})
endif()
set(applications ${prefix}/share/applications)
file(GLOB entries ${applications}/*.desktop)
if(entries)
  refresh(update-desktop-database ${applications})
else()
  file(REMOVE ${applications}/mimeinfo.cache)
endif()

# Deepest folders first; only empty ones go.
list(REMOVE_DUPLICATES folders)
list(SORT folders ORDER DESCENDING)
foreach(folder IN LISTS folders)
  if(IS_DIRECTORY "${folder}")
    file(GLOB left LIST_DIRECTORIES true "${folder}/*" "${folder}/.*")
    if(NOT left)
      file(REMOVE_RECURSE "${folder}")
    endif()
  endif()
endforeach()
message(STATUS "Removed ${removed} files of Darvenix from ${prefix}")
