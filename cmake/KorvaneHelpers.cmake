# korvane_add_library(<name> SOURCES ... DEPS ...)
#   One library per source folder. Each library's include root holds only its
#   own folder, under the folder's path in src/, so code includes
#   "settings/ini_file.h" or "platform/hid/emulated_mouse.h" and sees only the
#   headers of the libraries it links: including a folder the target does not
#   link fails to build. The root is a folder of the build tree with a link to
#   the source folder.
function(korvane_add_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  file(RELATIVE_PATH folder ${PROJECT_SOURCE_DIR}/src ${CMAKE_CURRENT_SOURCE_DIR})
  set(root ${PROJECT_BINARY_DIR}/include/${name})
  get_filename_component(parent ${root}/${folder} DIRECTORY)
  file(MAKE_DIRECTORY ${parent})
  file(CREATE_LINK ${CMAKE_CURRENT_SOURCE_DIR} ${root}/${folder} SYMBOLIC)
  target_include_directories(${name} PUBLIC ${root})
  target_link_libraries(${name} PUBLIC ${ARG_DEPS})
endfunction()

# korvane_add_test(<name> SOURCES ... DEPS ... [QT])
#   A GoogleTest (or, with QT, a Qt Test) executable registered with CTest.
#   Qt tests run on the offscreen platform so they need no display.
function(korvane_add_test name)
  cmake_parse_arguments(ARG "QT" "" "SOURCES;DEPS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  # Sources see the libraries they link, and the shared fakes under tests/.
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  target_compile_definitions(${name} PRIVATE
    KORVANE_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
    KORVANE_START_DIR="${KORVANE_START_DIR}"
    KORVANE_FIXTURES_DIR="${PROJECT_SOURCE_DIR}/tests/fixtures")
  if(ARG_QT)
    target_link_libraries(${name} PRIVATE ${ARG_DEPS} Qt6::Test)
  else()
    target_link_libraries(${name} PRIVATE ${ARG_DEPS} GTest::gtest GTest::gtest_main)
  endif()
  # The same locale everywhere: the language and the code page follow it,
  # and tests that need another set it themselves. GSettings stay in memory,
  # so that no test changes the desktop of whoever runs it.
  set(environment QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8 LANG=C.UTF-8 GSETTINGS_BACKEND=memory)
  if(ARG_QT)
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "${environment}")
  else()
    # Each GoogleTest case is a test of its own, reported by name. The list
    # is read from the executable when CTest runs, so a build needs no run.
    # The cases run under env(1) with the same variables: a list cannot pass
    # through gtest_discover_tests' PROPERTIES whole.
    set_target_properties(${name} PROPERTIES CROSSCOMPILING_EMULATOR "env;${environment}")
    gtest_discover_tests(${name} TEST_PREFIX "${name}." DISCOVERY_MODE PRE_TEST)
  endif()
endfunction()
