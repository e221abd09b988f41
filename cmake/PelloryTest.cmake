# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: The Pellory developers

# pellory_test_environment(TEST)
# Every test runs on the offscreen platform with a private configuration and state folder,
# so that no test ever reads or writes the user's settings or undo history; in UTC; and in
# the C.UTF-8 locale, since some tests compare the system's error texts (strerror), which
# follow the caller's locale.
function(pellory_test_environment test)
  set_tests_properties(${test} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=C.UTF-8;TZ=UTC;XDG_CONFIG_HOME=${CMAKE_BINARY_DIR}/test-config/${test};XDG_STATE_HOME=${CMAKE_BINARY_DIR}/test-state/${test}"
    TIMEOUT 300)
endfunction()

# pellory_add_test(NAME SOURCES a.cpp b.cpp LIBS lib1 lib2)
# One Qt Test executable, run by CTest.
function(pellory_add_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE Qt6::Test ${ARG_LIBS})
  # Shared test helpers are included as "support/Files.h".
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  add_test(NAME ${name} COMMAND ${name})
  pellory_test_environment(${name})
endfunction()
