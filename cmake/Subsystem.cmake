# Helpers shared by the subsystem folders.

# orb_library(NAME SOURCES... [DEPS libs...]): one static library per src/ folder.
# Every library sees src/ as its include root ("text/wide_string.h").
function(orb_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR}/src)
  if(ARG_DEPS)
    target_link_libraries(${name} PUBLIC ${ARG_DEPS})
  endif()
endfunction()

# orb_test(NAME SOURCES... DEPS libs...): one GoogleTest executable per subsystem,
# registered with CTest. Tests run from the build directory.
function(orb_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} GTest::gtest GTest::gtest_main
                        Threads::Threads)
  if(SANITIZE STREQUAL "thread")
    # ThreadSanitizer cannot start on kernels that randomise more of the
    # address space than its memory layout allows: run_sanitized turns that off.
    add_test(NAME ${name} COMMAND ${CMAKE_SOURCE_DIR}/tests/support/run_sanitized
                                  $<TARGET_FILE:${name}>)
    set_tests_properties(${name} PROPERTIES ENVIRONMENT ORB_SANITIZE=thread)
  else()
    add_test(NAME ${name} COMMAND ${name})
  endif()
  set_tests_properties(${name} PROPERTIES TIMEOUT 900)
endfunction()
