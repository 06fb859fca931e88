# Helpers shared by every folder's build file.

# norvane_library(NAME <target> [QT] [DEPS <targets...>])
# Builds a static library from every .cpp below the current folder. A folder without sources yet gives an
# interface library, so that dependents link to it already.
function(norvane_library)
  cmake_parse_arguments(ARG "QT" "NAME" "DEPS" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(sources)
    add_library(${ARG_NAME} STATIC ${sources})
    target_include_directories(${ARG_NAME} PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(${ARG_NAME} PUBLIC ${ARG_DEPS})
    if(ARG_QT)
      set_target_properties(${ARG_NAME} PROPERTIES AUTOMOC ON)
    endif()
  else()
    add_library(${ARG_NAME} INTERFACE)
    target_include_directories(${ARG_NAME} INTERFACE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${ARG_NAME} INTERFACE ${ARG_DEPS})
  endif()
endfunction()

# norvane_test_group(NAME <group> [THREADS] [QT] LIBS <targets...>)
# One GoogleTest executable "test_<group>" from every .cpp in the current folder. THREADS marks the group for
# the ThreadSanitizer run (label "threads").
function(norvane_test_group)
  cmake_parse_arguments(ARG "THREADS;QT" "NAME" "LIBS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(NOT sources)
    return()
  endif()
  set(target test_${ARG_NAME})
  add_executable(${target} ${sources})
  target_link_libraries(${target} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gmock GTest::gtest_main Threads::Threads)
  target_compile_definitions(${target} PRIVATE NORVANE_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
                                               NORVANE_BINARY_DIR="${PROJECT_BINARY_DIR}")
  if(ARG_QT)
    set_target_properties(${target} PROPERTIES AUTOMOC ON)
  endif()
  # One label only: a list would be split into separate properties by gtest_discover_tests.
  set(labels ${ARG_NAME})
  if(ARG_THREADS)
    set(labels threads)
    set_property(GLOBAL APPEND PROPERTY NORVANE_THREADED_TESTS ${target})
  endif()
  gtest_discover_tests(${target} DISCOVERY_TIMEOUT 60
                       PROPERTIES LABELS "${labels}" ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()

function(norvane_finish_test_groups)
  get_property(threaded GLOBAL PROPERTY NORVANE_THREADED_TESTS)
  add_custom_target(threaded_tests)
  if(threaded)
    add_dependencies(threaded_tests ${threaded})
  endif()
endfunction()

function(norvane_stage_data_folders)
  foreach(folder DefaultData skin)
    add_custom_target(stage_${folder} ALL
      COMMAND ${CMAKE_COMMAND} -E copy_directory ${PROJECT_SOURCE_DIR}/${folder} ${PROJECT_BINARY_DIR}/bin/${folder}
      COMMENT "Staging ${folder}")
  endforeach()
endfunction()
