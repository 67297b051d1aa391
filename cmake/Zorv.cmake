# Build helpers shared by every folder.

# Compiler warnings for our own targets.
function(zorv_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow=local
                         -Wnon-virtual-dtor -Woverloaded-virtual)
  if(ZORV_WARNINGS_AS_ERRORS)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()

# zorv_library(<name> [DEPS <targets...>])
# The static library of the calling folder: every .cpp/.h/.qrc in it.
# Other folders include its headers as "<folder>/<Unit>.h" from the source root.
function(zorv_library name)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS
       ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h
       ${CMAKE_CURRENT_SOURCE_DIR}/*.qrc)
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_DEPS})
  zorv_warnings(${name})
endfunction()

# zorv_test(<name> [DEPS <targets...>] [FOLDER <dir>])
# One GoogleTest executable of every .cpp in the calling folder (or FOLDER);
# each test case becomes a CTest test.
function(zorv_test name)
  cmake_parse_arguments(ARG "" "FOLDER" "DEPS" ${ARGN})
  if(NOT ARG_FOLDER)
    set(ARG_FOLDER ${CMAKE_CURRENT_SOURCE_DIR})
  endif()
  file(GLOB sources CONFIGURE_DEPENDS ${ARG_FOLDER}/*.cpp ${ARG_FOLDER}/*.h ${ARG_FOLDER}/*.qrc)
  add_executable(${name} ${sources})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} zorv_testsupport GTest::gtest GTest::gmock)
  zorv_warnings(${name})
  # The test main sets the environment the tests need (offscreen platform,
  # source and build folders, the outside libraries' folder).
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 60
    PROPERTIES TIMEOUT 300)
endfunction()

# zorv_bench(<name> SOURCES <files...> [DEPS <targets...>])
function(zorv_bench name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS})
  zorv_warnings(${name})
endfunction()

# zorv_fuzz_target(<name> SOURCE <file> CORPUS <dir> [DEPS <targets...>])
# A libFuzzer target. With ZORV_BUILD_FUZZ (clang) it links libFuzzer; in an
# ordinary build it links a replay driver instead and becomes a CTest test that
# feeds every file of the corpus to the target, so the target keeps building
# and the inputs that once found faults keep being checked.
function(zorv_fuzz_target name)
  cmake_parse_arguments(ARG "" "SOURCE;CORPUS" "DEPS" ${ARGN})
  if(ZORV_BUILD_FUZZ)
    add_executable(${name} ${ARG_SOURCE})
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  else()
    add_executable(${name} ${ARG_SOURCE} ${PROJECT_SOURCE_DIR}/tests/fuzz/FuzzReplay.cpp)
    zorv_warnings(${name})
    add_test(NAME ${name}_corpus COMMAND ${name} ${ARG_CORPUS})
    set_tests_properties(${name}_corpus PROPERTIES TIMEOUT 300
      ENVIRONMENT "QT_QPA_PLATFORM=offscreen;STEWARD_LIBRARY_PATH=${PROJECT_BINARY_DIR}/lib")
  endif()
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS})
endfunction()
