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

# zorv_module(<name> SOURCES <files...> [DEPS <targets...>])
# A program module lib<name>.so in the shared library folder: the given
# sources (the module's main block) and the static folder libraries linked
# in whole, every symbol local except GetController.
set(ZORV_MODULE_EXPORTS ${PROJECT_SOURCE_DIR}/frame/module/exports.map)
function(zorv_module name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_library(${name} SHARED ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE frame ${ARG_DEPS})
  # GetController lives in frame's archive: pull it in, then export only it.
  target_link_options(${name} PRIVATE -Wl,--undefined=GetController
                      -Wl,--version-script=${ZORV_MODULE_EXPORTS} -Wl,--no-undefined)
  set_target_properties(${name} PROPERTIES LINK_DEPENDS ${ZORV_MODULE_EXPORTS}
                        CXX_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON)
  zorv_warnings(${name})
endfunction()

# The one list of source folders. The top CMakeLists.txt starts it with the
# shared folders, zorv_program adds each print program's folder, and at the
# end of the configuration zorv_write_folder_list writes it to
# ${PROJECT_BINARY_DIR}/ZorvFolders.cmake, which the layering test (and its
# README check) reads: no other file lists the folders.
function(zorv_folders)
  set_property(GLOBAL APPEND PROPERTY ZORV_SOURCE_FOLDERS ${ARGN})
endfunction()

# zorv_program(<folder> [MAIN <file>] [DEPS <targets...>])
# A print program whose code is the folder's name in upper case (zorv52:
# ZORV52; six characters at most). The folder, relative to the source root,
# holds:
#   CMakeLists.txt  the program's static library, named like the folder
#   Program.txt     its descriptor (common/ProgramDescriptor.h), Code=<CODE>
#   module/<CODE>CMain.cpp  the module's main block, unless MAIN names
#                   another file (relative to the source root)
# The folder joins the folder list (zorv_folders); its library is added; the
# descriptor goes to <module folder>/programs/<CODE>.txt and its text into
# the module lib<CODE>C.so (ModuleProgramText), made of the main block, the
# library and DEPS. The property ZORV_PROGRAMS lists the codes made.
function(zorv_program folder)
  cmake_parse_arguments(ARG "" "MAIN" "DEPS" ${ARGN})
  get_filename_component(name ${folder} NAME)
  string(TOUPPER ${name} code)
  set(source ${PROJECT_SOURCE_DIR}/${folder})
  set(descriptor ${source}/Program.txt)
  if(NOT EXISTS ${descriptor})
    message(FATAL_ERROR "zorv_program(${folder}): no ${folder}/Program.txt")
  endif()
  file(STRINGS ${descriptor} code_lines REGEX "^Code=")
  if(NOT code_lines STREQUAL "Code=${code}")
    message(FATAL_ERROR "zorv_program(${folder}): Program.txt says \"${code_lines}\", not Code=${code}")
  endif()
  if(ARG_MAIN)
    set(main ${PROJECT_SOURCE_DIR}/${ARG_MAIN})
  else()
    set(main ${source}/module/${code}CMain.cpp)
  endif()
  if(NOT EXISTS ${main})
    message(FATAL_ERROR "zorv_program(${folder}): no main block ${main}")
  endif()
  zorv_folders(${folder})
  set_property(GLOBAL APPEND PROPERTY ZORV_PROGRAM_FOLDERS ${folder})
  set_property(GLOBAL APPEND PROPERTY ZORV_PROGRAMS ${code})
  set(ZORV_SOURCE_FOLDERS ${ZORV_SOURCE_FOLDERS} ${folder} PARENT_SCOPE)
  add_subdirectory(${source} ${PROJECT_BINARY_DIR}/${folder})

  # The descriptor beside the module (the server and the demo read it there)
  # and in it: configure_file also makes a changed descriptor configure again.
  configure_file(${descriptor} ${CMAKE_LIBRARY_OUTPUT_DIRECTORY}/programs/${code}.txt COPYONLY)
  file(READ ${descriptor} text)
  if(text MATCHES "\\)zorv\"")
    message(FATAL_ERROR "zorv_program(${folder}): Program.txt holds )zorv\"")
  endif()
  set(generated ${PROJECT_BINARY_DIR}/${folder}/${code}Program.cpp)
  # Written verbatim (no @VAR@ replaced in the text), and touched only when
  # it changes, so that a configure run does not relink the module.
  file(WRITE ${generated}.new
"// Made by zorv_program (cmake/Zorv.cmake) from ${folder}/Program.txt.
extern const char* const ModuleProgramText;
const char* const ModuleProgramText = R\"zorv(${text})zorv\";
")
  configure_file(${generated}.new ${generated} COPYONLY)
  zorv_module(${code}C SOURCES ${main} ${generated} DEPS ${name} ${ARG_DEPS})
endfunction()

# Writes the folder list (zorv_folders, zorv_program) for the layering test:
#   ZORV_SOURCE_FOLDERS   every source folder, in the order they were added
#   ZORV_PROGRAM_FOLDERS  those of print programs
function(zorv_write_folder_list)
  get_property(folders GLOBAL PROPERTY ZORV_SOURCE_FOLDERS)
  get_property(programs GLOBAL PROPERTY ZORV_PROGRAM_FOLDERS)
  file(CONFIGURE OUTPUT ${PROJECT_BINARY_DIR}/ZorvFolders.cmake CONTENT
"# Made by zorv_write_folder_list (cmake/Zorv.cmake).
set(ZORV_SOURCE_FOLDERS ${folders})
set(ZORV_PROGRAM_FOLDERS ${programs})
")
endfunction()
