# Compiler settings and target helpers shared by every directory.
#
# Product sources are UTF-8 and their quoted texts become Shift-JIS bytes, in
# the Windows programs (for the ...A calls) and in the native build alike, so
# a unit test compares exactly the bytes the program shows.

# clang (the fuzz build) has no CP932 conversion; what it builds is only
# fuzzed, never compared against the programs' texts.
set(VEMTRA_CP932_FLAGS $<$<CXX_COMPILER_ID:GNU>:-finput-charset=UTF-8> $<$<CXX_COMPILER_ID:GNU>:-fexec-charset=CP932>)

function(vemtra_product_flags target)
  target_compile_options(${target} PRIVATE ${VEMTRA_CP932_FLAGS} -Wall -Wextra)
  target_compile_features(${target} PUBLIC cxx_std_17)
endfunction()

# Native unit test: one executable per area, every case registered with CTest
# under the label "unit".
function(vemtra_unit_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  vemtra_product_flags(${name})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
  target_compile_definitions(${name} PRIVATE VEMTRA_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
  gtest_discover_tests(${name} PROPERTIES LABELS unit DISCOVERY_TIMEOUT 60)
endfunction()

# libFuzzer target (clang builds only). A short run is registered as a test
# with the label "fuzz"; tools/fuzz.sh runs the long one.
function(vemtra_fuzz_target name)
  cmake_parse_arguments(ARG "" "SECONDS" "SOURCES;LIBS" ${ARGN})
  if(NOT VEMTRA_FUZZ)
    return()
  endif()
  if(NOT ARG_SECONDS)
    set(ARG_SECONDS 20)
  endif()
  add_executable(${name} ${ARG_SOURCES})
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
  target_link_libraries(${name} PRIVATE ${ARG_LIBS})
  set(corpus ${CMAKE_CURRENT_BINARY_DIR}/${name}_corpus)
  file(MAKE_DIRECTORY ${corpus})
  add_test(NAME ${name} COMMAND ${name} -max_total_time=${ARG_SECONDS} -timeout=10 -rss_limit_mb=2048 ${corpus})
  set_tests_properties(${name} PROPERTIES LABELS fuzz TIMEOUT 300)
endfunction()

function(vemtra_benchmark name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  if(NOT VEMTRA_BENCH)
    return()
  endif()
  add_executable(${name} ${ARG_SOURCES})
  vemtra_product_flags(${name})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} benchmark::benchmark)
endfunction()
