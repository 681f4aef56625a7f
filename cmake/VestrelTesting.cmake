# Helpers that declare the project's tests, one kind per build:
#   native:  GoogleTest executables, each case a ctest test
#   win64:   GoogleTest executables run under Wine through the emulator
#            (tools/wine/run), one ctest test per executable, all needing
#            the "wine" fixture (one Xvfb, one wineserver for the run)
#   fuzz:    libFuzzer targets (clang); elsewhere the same sources replay
#            their seed corpus as an ordinary test

set(VESTREL_WINE FALSE)
if(CMAKE_CROSSCOMPILING AND WIN32 AND CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(VESTREL_WINE TRUE)
  set(VESTREL_WINE_SESSION ${CMAKE_BINARY_DIR}/wine)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_SOURCE_DIR}/tools/wine/run ${VESTREL_WINE_SESSION})
endif()

# Seconds a single test executable may run before the harness kills it.
set(VESTREL_TEST_TIMEOUT 120 CACHE STRING "Per-test time limit in seconds")
set(VESTREL_FUZZ_SECONDS 5 CACHE STRING "Seconds each fuzz target runs in the test suite")

function(vestrel_native_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE vestrel_warnings GTest::gtest_main ${T_LIBS})
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60
    PROPERTIES TIMEOUT ${VESTREL_TEST_TIMEOUT} LABELS native)
endfunction()

# A test of portable code: native GoogleTest, and the same sources under Wine
# in the win64 build.
function(vestrel_test name)
  if(VESTREL_WINE)
    vestrel_wine_test(${name} ${ARGN})
  else()
    vestrel_native_test(${name} ${ARGN})
  endif()
endfunction()

function(vestrel_wine_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE vestrel_warnings vestrel_wintest_main ${T_LIBS})
  add_test(NAME ${name} COMMAND ${name})
  vestrel_wine_test_properties(${name})
endfunction()

# Properties every test that runs under Wine carries: the session fixture,
# one test at a time on the shared display, and the time limit (the wrapper
# stops the program a little before ctest would).
function(vestrel_wine_test_properties test)
  math(EXPR ctest_limit "${VESTREL_TEST_TIMEOUT} + 30")
  set_tests_properties(${test} PROPERTIES
    FIXTURES_REQUIRED wine
    RESOURCE_LOCK wine_display
    TIMEOUT ${ctest_limit}
    ENVIRONMENT "VESTREL_TEST_TIMEOUT=${VESTREL_TEST_TIMEOUT}"
    LABELS wine)
endfunction()

# A fuzz target: LLVMFuzzerTestOneInput in SOURCE, seeds in
# corpus/<name> beside the calling CMakeLists. With VESTREL_FUZZ it is a libFuzzer binary that
# runs for VESTREL_FUZZ_SECONDS; otherwise it replays the seeds.
function(vestrel_fuzz_target name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  set(corpus ${CMAKE_CURRENT_SOURCE_DIR}/corpus/${name})
  add_executable(${name} ${T_SOURCES})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests/support)
  target_link_libraries(${name} PRIVATE vestrel_warnings ${T_LIBS})
  if(VESTREL_FUZZ)
    target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
    add_test(NAME ${name}
      COMMAND ${PROJECT_SOURCE_DIR}/tools/fuzz-run $<TARGET_FILE:${name}> ${corpus} ${VESTREL_FUZZ_SECONDS})
    set_tests_properties(${name} PROPERTIES LABELS fuzz TIMEOUT ${VESTREL_TEST_TIMEOUT})
  else()
    target_sources(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests/support/fuzz_replay_main.cpp)
    add_test(NAME ${name} COMMAND ${name} ${corpus})
    if(VESTREL_WINE)
      vestrel_wine_test_properties(${name})
    else()
      set_tests_properties(${name} PROPERTIES LABELS native TIMEOUT ${VESTREL_TEST_TIMEOUT})
    endif()
  endif()
endfunction()
