# pellory_add_test(NAME SOURCES a.cpp b.cpp LIBS lib1 lib2)
# One Qt Test executable, run by CTest on the offscreen platform with a private
# configuration folder, so that no test ever reads or writes the user's settings.
function(pellory_add_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE Qt6::Test ${ARG_LIBS})
  # Shared test helpers are included as "support/Files.h".
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;XDG_CONFIG_HOME=${CMAKE_BINARY_DIR}/test-config/${name};XDG_STATE_HOME=${CMAKE_BINARY_DIR}/test-state/${name};TZ=UTC"
    TIMEOUT 300)
endfunction()
