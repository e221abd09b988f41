# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: The Pellory developers

# pellory_add_module(NAME QT Core|Widgets DEPS modules... PRIVATE_DEPS modules...)
# A module is every .cpp/.h of its folder; it is a static library. Its include root holds
# only itself (a link named after it, so that includes read "naming/Compose.h"), and it sees
# another module only through that module's root: DEPS for the modules its headers
# include, PRIVATE_DEPS for those only its sources include. An include that points against
# the dependencies does not compile.
function(pellory_add_module name)
  cmake_parse_arguments(ARG "" "" "QT;DEPS;PRIVATE_DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  qt_add_library(pellory_${name} STATIC ${sources})
  set(root ${PROJECT_BINARY_DIR}/module-roots/${name})
  file(MAKE_DIRECTORY ${root})
  file(CREATE_LINK ${CMAKE_CURRENT_SOURCE_DIR} ${root}/${name} SYMBOLIC)
  target_include_directories(pellory_${name} PUBLIC ${root})
  foreach(component ${ARG_QT})
    target_link_libraries(pellory_${name} PUBLIC Qt6::${component})
  endforeach()
  foreach(dep ${ARG_DEPS})
    target_link_libraries(pellory_${name} PUBLIC pellory_${dep})
  endforeach()
  foreach(dep ${ARG_PRIVATE_DEPS})
    target_link_libraries(pellory_${name} PRIVATE pellory_${dep})
  endforeach()
endfunction()

# pellory_add_module_tests(MODULE LIBS extra libs...)
# Every tst_*.cpp of the folder is one test executable; the other .cpp files of the
# folder (fixtures) are compiled into each of them.
function(pellory_add_module_tests module)
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  file(GLOB tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/tst_*.cpp)
  file(GLOB all CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  set(support ${all})
  if(tests)
    list(REMOVE_ITEM support ${tests})
  endif()
  foreach(test ${tests})
    get_filename_component(name ${test} NAME_WE)
    pellory_add_test(${name} SOURCES ${test} ${support} LIBS pellory_${module} ${ARG_LIBS})
  endforeach()
endfunction()
