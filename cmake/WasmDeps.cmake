# SPDX-License-Identifier: GPL-3.0-or-later
# The libraries of the WebAssembly build, made from sources on this machine
# (tools/build-wasm gathers them in DARVENIX_WASM_DEPS): fmt header-only,
# nlohmann/json, pugixml from its source, GoogleTest from Debian's
# googletest sources. They stand in for the find_package() results of the
# native build under the same target names.
set(DARVENIX_WASM_DEPS "" CACHE PATH "Folder with the WebAssembly build's library sources")
if(NOT EXISTS "${DARVENIX_WASM_DEPS}/include/fmt/format.h")
  message(FATAL_ERROR "DARVENIX_WASM_DEPS has no library sources: build with tools/build-wasm")
endif()

add_library(fmt::fmt INTERFACE IMPORTED GLOBAL)
target_include_directories(fmt::fmt SYSTEM INTERFACE ${DARVENIX_WASM_DEPS}/include)
target_compile_definitions(fmt::fmt INTERFACE FMT_HEADER_ONLY)

add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED GLOBAL)
target_include_directories(nlohmann_json::nlohmann_json SYSTEM INTERFACE ${DARVENIX_WASM_DEPS}/include)

add_library(darvenix_pugixml STATIC ${DARVENIX_WASM_DEPS}/pugixml/pugixml.cpp)
target_include_directories(darvenix_pugixml SYSTEM PUBLIC ${DARVENIX_WASM_DEPS}/pugixml)
add_library(PkgConfig::PUGIXML ALIAS darvenix_pugixml)

set(gtest_root ${DARVENIX_WASM_DEPS}/googletest)
if(EXISTS ${gtest_root}/googletest/src/gtest-all.cc)
  add_library(darvenix_gtest STATIC ${gtest_root}/googletest/src/gtest-all.cc ${gtest_root}/googlemock/src/gmock-all.cc)
  target_include_directories(darvenix_gtest SYSTEM PUBLIC ${gtest_root}/googletest/include ${gtest_root}/googlemock/include)
  target_include_directories(darvenix_gtest PRIVATE ${gtest_root}/googletest ${gtest_root}/googlemock)
  add_library(darvenix_gtest_main STATIC ${gtest_root}/googletest/src/gtest_main.cc)
  target_link_libraries(darvenix_gtest_main PUBLIC darvenix_gtest)
  add_library(GTest::gtest ALIAS darvenix_gtest)
  add_library(GTest::gmock ALIAS darvenix_gtest)
  add_library(GTest::gtest_main ALIAS darvenix_gtest_main)
  set(DARVENIX_WASM_GTEST ON)
endif()

# Exceptions as WebAssembly exceptions: the engine reports every calculation
# and file failure by exception, and emscripten's default would ignore them.
add_compile_options(-fwasm-exceptions)
add_link_options(-fwasm-exceptions -sALLOW_MEMORY_GROWTH=1)
