# Helpers shared by every folder's build file.

# Headers nearly every file of a kind includes, parsed once per target instead of once per file: the Qt
# widget headers dominate the build time of the UI folders, GoogleTest's that of the tests.
set(NORVANE_STD_PCH <algorithm> <array> <chrono> <cstdint> <functional> <map> <memory> <mutex> <optional>
                    <span> <string> <vector>)
set(NORVANE_QT_PCH <QtCore/QObject> <QtCore/QString> <QtCore/QTimer> <QtGui/QPainter> <QtWidgets/QWidget>
                   <QtWidgets/QPushButton> <QtWidgets/QLabel>)
option(NORVANE_PCH "Precompile the common headers of each target" ON)

# norvane_library(NAME <target> [QT] [DEPS <targets...>])
# Builds a static library from every .cpp below the current folder. A folder without sources yet gives an
# interface library, so that dependents link to it already.
function(norvane_library)
  cmake_parse_arguments(ARG "QT" "NAME" "DEPS" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(sources)
    add_library(${ARG_NAME} STATIC ${sources})
    set_property(GLOBAL APPEND PROPERTY NORVANE_LIBRARIES ${ARG_NAME})
    target_include_directories(${ARG_NAME} PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(${ARG_NAME} PUBLIC ${ARG_DEPS})
    if(ARG_QT)
      set_target_properties(${ARG_NAME} PROPERTIES AUTOMOC ON)
    endif()
    if(NORVANE_PCH)
      if(ARG_QT)
        target_precompile_headers(${ARG_NAME} PRIVATE ${NORVANE_STD_PCH} ${NORVANE_QT_PCH})
      else()
        target_precompile_headers(${ARG_NAME} PRIVATE ${NORVANE_STD_PCH})
      endif()
    endif()
  else()
    add_library(${ARG_NAME} INTERFACE)
    target_include_directories(${ARG_NAME} INTERFACE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${ARG_NAME} INTERFACE ${ARG_DEPS})
  endif()
endfunction()

# The test groups share two precompiled headers (with and without Qt) instead of parsing GoogleTest and Qt
# once per group. Each is built by a small executable of its own, so its flags (position-independent code,
# definitions) are those of the test executables that reuse it. A group that reaches Qt, even only through one
# of its libraries, is a QT group: Qt adds -fPIC to whatever links it, and the header without Qt is made
# without it.
function(norvane_test_pch_carriers)
  if(NOT NORVANE_PCH OR TARGET norvane_test_pch)
    return()
  endif()
  set(source ${PROJECT_BINARY_DIR}/test_pch_carrier.cpp)
  file(WRITE ${source} "int main() { return 0; }\n")
  foreach(carrier norvane_test_pch norvane_test_pch_qt)
    add_executable(${carrier} ${source})
    target_link_libraries(${carrier} PRIVATE GTest::gtest GTest::gmock Threads::Threads)
    target_compile_definitions(${carrier} PRIVATE NORVANE_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
                                                  NORVANE_BINARY_DIR="${PROJECT_BINARY_DIR}")
  endforeach()
  target_link_libraries(norvane_test_pch_qt PRIVATE Qt6::Widgets)
  target_precompile_headers(norvane_test_pch PRIVATE ${NORVANE_STD_PCH} <gtest/gtest.h> <gmock/gmock.h>)
  target_precompile_headers(norvane_test_pch_qt PRIVATE ${NORVANE_STD_PCH} <gtest/gtest.h> <gmock/gmock.h>
                                                        ${NORVANE_QT_PCH})
endfunction()

# norvane_test_group(NAME <group> [THREADS] [QT] [XSERVER] LIBS <targets...>)
# One GoogleTest executable "test_<group>" from every .cpp in the current folder. THREADS marks the group for
# the ThreadSanitizer run (label "threads"). XSERVER marks tests that use the one X server of the run for
# real (input played with xdotool, the keyboard grabbed): they run one at a time, never beside each other.
function(norvane_test_group)
  cmake_parse_arguments(ARG "THREADS;QT;XSERVER" "NAME" "LIBS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(NOT sources)
    return()
  endif()
  set(target test_${ARG_NAME})
  norvane_test_pch_carriers()
  add_executable(${target} ${sources})
  target_link_libraries(${target} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gmock GTest::gtest_main Threads::Threads)
  target_compile_definitions(${target} PRIVATE NORVANE_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
                                               NORVANE_BINARY_DIR="${PROJECT_BINARY_DIR}")
  if(ARG_QT)
    # The Qt header is precompiled with the Widgets module's definitions (QT_GUI_LIB, QT_WIDGETS_LIB): a group
    # that needs less of Qt is still compiled with them, or the compiler refuses the header.
    set_target_properties(${target} PROPERTIES AUTOMOC ON)
    target_link_libraries(${target} PRIVATE Qt6::Widgets)
  endif()
  if(NORVANE_PCH)
    if(ARG_QT)
      target_precompile_headers(${target} REUSE_FROM norvane_test_pch_qt)
    else()
      target_precompile_headers(${target} REUSE_FROM norvane_test_pch)
    endif()
  endif()
  # One label only: a list would be split into separate properties by gtest_discover_tests.
  set(labels ${ARG_NAME})
  if(ARG_THREADS)
    set(labels threads)
    set_property(GLOBAL APPEND PROPERTY NORVANE_THREADED_TESTS ${target})
  endif()
  set(lock)
  if(ARG_XSERVER)
    set(lock RESOURCE_LOCK x_server)
  endif()
  gtest_discover_tests(${target} DISCOVERY_TIMEOUT 60
                       PROPERTIES LABELS "${labels}" ENVIRONMENT "QT_QPA_PLATFORM=offscreen" ${lock})
endfunction()

function(norvane_finish_test_groups)
  get_property(threaded GLOBAL PROPERTY NORVANE_THREADED_TESTS)
  add_custom_target(threaded_tests)
  if(threaded)
    add_dependencies(threaded_tests ${threaded})
  endif()
endfunction()

# The target "libraries" builds every static library of the tree, so that a flavour can be checked to
# compile (the optimised one warns about things the debug one does not see) without linking anything.
function(norvane_finish_libraries)
  get_property(libraries GLOBAL PROPERTY NORVANE_LIBRARIES)
  add_custom_target(libraries)
  if(libraries)
    add_dependencies(libraries ${libraries})
  endif()
endfunction()

function(norvane_stage_data_folders)
  foreach(folder DefaultData skin)
    add_custom_target(stage_${folder} ALL
      COMMAND ${CMAKE_COMMAND} -E copy_directory ${PROJECT_SOURCE_DIR}/${folder} ${PROJECT_BINARY_DIR}/bin/${folder}
      COMMENT "Staging ${folder}")
  endforeach()
endfunction()
