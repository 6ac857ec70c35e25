# Helpers shared by every library, test and benchmark target.
#
# Our own code compiles with -Wall -Wextra -Werror. Floating point stays strict IEEE:
# no -ffast-math and no flush-to-zero, because the scene and the evaluator depend on
# NaN, infinities and denormals behaving exactly.

# GCC 12's -Warray-bounds misfires on checked downcasts (it follows the cast into a
# branch that the class test rules out), and its -Wrestrict, -Wstringop-overread and
# -Wstringop-overflow on std::string copies inlined from libstdc++ (GCC bug 105329 and
# its kin; precompiled headers and -O3 change the inlining enough to set them off), so
# those four are off.
function(kerfpad_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror -fno-fast-math
                         $<$<CXX_COMPILER_ID:GNU>:-Wno-array-bounds -Wno-restrict -Wno-stringop-overread -Wno-stringop-overflow>)
endfunction()

# kerfpad_library(<name> DIR <folder> [EXCLUDE <subfolder>...] [DEPS <targets>...])
# Builds a static library from every .cpp below <folder>; sub-folders named in EXCLUDE
# belong to other targets.
function(kerfpad_library name)
  cmake_parse_arguments(ARG "" "DIR" "EXCLUDE;DEPS" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${ARG_DIR}/*.cpp ${ARG_DIR}/*.c)
  foreach(sub IN LISTS ARG_EXCLUDE)
    list(FILTER sources EXCLUDE REGEX "^${ARG_DIR}/${sub}/")
  endforeach()
  if(sources)
    add_library(${name} STATIC ${sources})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${name} PUBLIC ${ARG_DEPS})
    kerfpad_warnings(${name})
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${name} INTERFACE ${ARG_DEPS})
  endif()
endfunction()

# kerfpad_test(<name> DIR <folder> DEPS <targets>...)
# One GoogleTest binary per library. A folder with its own main.cpp (to create the
# QApplication, say) links plain gtest; the others link gtest_main.
#
# Labels come from the test-suite names, so one binary can hold every kind of test:
#   suites ending in "Gl"  -> label gl   (real OpenGL, needs an X server)
#   suites ending in "Gui" -> label gui  (Qt on the offscreen platform)
#   suites ending in "Web" -> label web  (QtWebEngine)
#   every other suite      -> label unit (no display)
function(kerfpad_test name)
  cmake_parse_arguments(ARG "" "DIR" "DEPS" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${ARG_DIR}/*.cpp)
  if(NOT sources)
    return()
  endif()
  add_executable(${name} ${sources})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} GTest::gmock)
  if(EXISTS ${ARG_DIR}/main.cpp)
    target_link_libraries(${name} PRIVATE GTest::gtest)
  else()
    target_link_libraries(${name} PRIVATE GTest::gtest_main)
  endif()
  target_compile_definitions(${name} PRIVATE KERFPAD_TEST_DATA="${PROJECT_SOURCE_DIR}/tests/data"
                                             KERFPAD_CORPUS="${PROJECT_SOURCE_DIR}/../shared/corpus")
  kerfpad_warnings(${name})
  # GoogleTest's headers are most of what a test file costs to compile: parse them once.
  target_precompile_headers(${name} PRIVATE <gtest/gtest.h> <gmock/gmock.h>)
  set(kinds unit gl gui web)
  set(filter_unit "-*Gl.*:*Gl/*:*Gui.*:*Gui/*:*Web.*:*Web/*:*X11.*:*X11/*")
  set(filter_gl "*Gl.*:*Gl/*")
  set(filter_gui "*Gui.*:*Gui/*")
  set(filter_web "*Web.*:*Web/*")
  set(suffix_gl "Gl")
  set(suffix_gui "Gui")
  set(suffix_web "Web")
  # Suite names as they stand in the sources, so that a label gets an entry only where
  # the binary has suites of that kind (an entry that runs nothing is noise).
  # Reading them makes the sources configure inputs: a new suite re-runs configure.
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${sources})
  set(suites "")
  foreach(source IN LISTS sources)
    file(STRINGS ${source} lines REGEX "TEST(_F|_P)?\\([A-Za-z0-9_]+")
    foreach(line IN LISTS lines)
      string(REGEX MATCH "TEST(_F|_P)?\\(([A-Za-z0-9_]+)" found "${line}")
      list(APPEND suites ${CMAKE_MATCH_2})
    endforeach()
  endforeach()
  foreach(kind IN LISTS kinds)
    if(KERFPAD_UNIT_ONLY AND NOT kind STREQUAL "unit")
      continue()
    endif()
    if(NOT kind STREQUAL "unit")
      set(matching ${suites})
      list(FILTER matching INCLUDE REGEX "${suffix_${kind}}$")
      if(NOT matching)
        continue()
      endif()
    endif()
    add_test(NAME ${name}.${kind} COMMAND ${name} --gtest_filter=${filter_${kind}} --gtest_brief=1)
    set_tests_properties(${name}.${kind} PROPERTIES LABELS ${kind} TIMEOUT 900)
    if(kind STREQUAL "unit" OR kind STREQUAL "gui")
      set_tests_properties(${name}.${kind} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
    elseif(kind STREQUAL "web")
      set_tests_properties(${name}.${kind} PROPERTIES ENVIRONMENT "QTWEBENGINE_DISABLE_SANDBOX=1")
    endif()
    # Windows on the one virtual screen: tests that read pixels back from the screen
    # would see another binary's window on top of theirs, so they take turns.
    if(kind STREQUAL "gl" OR kind STREQUAL "web")
      set_tests_properties(${name}.${kind} PROPERTIES RESOURCE_LOCK x_screen)
    endif()
  endforeach()
endfunction()

function(kerfpad_bench name)
  find_package(benchmark REQUIRED)
  add_executable(${name} ${ARGN})
  target_link_libraries(${name} PRIVATE benchmark::benchmark_main)
  kerfpad_warnings(${name})
endfunction()
