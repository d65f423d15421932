# zelkora_add_test(name SOURCES ... [LIBS ...] [PROPERTIES ...]): one GoogleTest executable, its
# cases registered with ctest one by one under their case names (no parameter dumps, so names
# stay the same from build to build); PROPERTIES go to every case (LABELS, TIMEOUT, ...).
find_package(GTest)

function(zelkora_add_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS;PROPERTIES" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE GTest::gtest GTest::gmock GTest::gtest_main ${ARG_LIBS})
  # Shared test helpers are included as tests/support/..., with or without a library.
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR})
  target_compile_definitions(${name} PRIVATE
    ZELKORA_TEST_DATA="${CMAKE_SOURCE_DIR}/tests/data"
    ZELKORA_BIN_DIR="${ZELKORA_BIN_DIR}")
  zelkora_warnings(${name})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  if(ARG_PROPERTIES)
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 NO_PRETTY_VALUES PROPERTIES ${ARG_PROPERTIES})
  else()
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 NO_PRETTY_VALUES)
  endif()
endfunction()
