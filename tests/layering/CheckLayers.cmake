# Checks every source folder's quoted and angled includes against the layers
# the README draws:
#
#   runtime/system <- runtime/forms, runtime/data <- runtime/report <- runtime/designer
#     <- common <- common/forms <- controls <- the module folders <- frame <- suite/
#
# A folder may include its own headers and those of the folders it sits on,
# nothing above it; the module folders sit side by side. An include of a
# folder that is not one of ours (Qt, pugixml, gtest) is not looked at.
#
#   cmake -DSOURCE_DIR=<source root> -DFOLDERS_FILE=<build>/ZorvFolders.cmake -P CheckLayers.cmake
#
# The folders are the build's own list (ZORV_SOURCE_FOLDERS, written by
# zorv_write_folder_list in cmake/Zorv.cmake): runtime/* and suite/* are
# their layers, common, common/forms, controls and frame theirs, and every
# other folder, each print program's included, is a module folder.
#
# Prints each include that goes the wrong way as
#   <file>: includes "<header>" (<folder> may not include <folder>)
# and fails when there is one. It also holds the README's layout table to the
# tree (see below).

cmake_minimum_required(VERSION 3.25)
if(NOT SOURCE_DIR)
  message(FATAL_ERROR "CheckLayers: SOURCE_DIR not given")
endif()

if(NOT FOLDERS_FILE OR NOT EXISTS "${FOLDERS_FILE}")
  message(FATAL_ERROR "CheckLayers: FOLDERS_FILE not given or missing (configuring writes <build>/ZorvFolders.cmake)")
endif()
include(${FOLDERS_FILE})
set(runtime_folders "")
set(module_folders "")
set(suite_folders "")
foreach(folder IN LISTS ZORV_SOURCE_FOLDERS)
  if(folder MATCHES "^runtime/")
    list(APPEND runtime_folders ${folder})
  elseif(folder MATCHES "^suite/")
    list(APPEND suite_folders ${folder})
  elseif(NOT folder MATCHES "^(common|controls|frame)$")
    list(APPEND module_folders ${folder})
  endif()
endforeach()
set(all_folders ${runtime_folders} common common/forms controls ${module_folders} frame ${suite_folders})

# What each folder may include besides itself.
set(allowed_runtime/system "")
set(allowed_runtime/forms runtime/system)
set(allowed_runtime/data runtime/system)
set(allowed_runtime/report runtime/system runtime/forms runtime/data)
set(allowed_runtime/designer runtime/system runtime/forms runtime/data runtime/report)
# common is the widget-free part: it links runtime/system only.
set(allowed_common runtime/system runtime/data)
set(allowed_common/forms ${runtime_folders} common)
set(allowed_controls ${runtime_folders} common common/forms)
foreach(folder IN LISTS module_folders)
  set(allowed_${folder} ${runtime_folders} common common/forms controls ${module_folders})
endforeach()
set(allowed_frame ${runtime_folders} common common/forms controls ${module_folders})
foreach(folder IN LISTS suite_folders)
  set(allowed_${folder} ${all_folders})
endforeach()

# The deepest of our folders that path (relative to the source root) lies in,
# or empty. common/forms/X.h lies in common/forms, not common.
function(folder_of path out)
  set(best "")
  foreach(folder IN LISTS all_folders)
    string(LENGTH "${folder}" length)
    string(SUBSTRING "${path}" 0 ${length} head)
    string(LENGTH "${best}" best_length)
    if(head STREQUAL folder AND length GREATER best_length)
      # Only a whole folder name: "common/" but not "commonx/".
      string(SUBSTRING "${path}" ${length} 1 next)
      if(next STREQUAL "/")
        set(best "${folder}")
      endif()
    endif()
  endforeach()
  set(${out} "${best}" PARENT_SCOPE)
endfunction()

set(globs "")
foreach(folder IN LISTS all_folders)
  list(APPEND globs ${SOURCE_DIR}/${folder}/*.h ${SOURCE_DIR}/${folder}/*.cpp)
endforeach()
file(GLOB_RECURSE sources RELATIVE ${SOURCE_DIR} ${globs})
list(REMOVE_DUPLICATES sources)

set(checked 0)
set(wrong 0)
foreach(source IN LISTS sources)
  folder_of("${source}" from)
  if(from STREQUAL "")
    continue()
  endif()
  # A program's own tests (<program folder>/test/) drive it from outside,
  # through the shell and the server: they are the tests' and may reach anything.
  if(from IN_LIST ZORV_PROGRAM_FOLDERS)
    string(FIND "${source}" "${from}/test/" at)
    if(at EQUAL 0)
      continue()
    endif()
  endif()
  math(EXPR checked "${checked} + 1")
  file(STRINGS ${SOURCE_DIR}/${source} lines REGEX "^[ \t]*#[ \t]*include[ \t]*[\"<][^\">]+[\">]")
  foreach(line IN LISTS lines)
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*[\"<]([^\">]+)[\">].*$" "\\1" header "${line}")
    folder_of("${header}" to)
    if(to STREQUAL "" OR to STREQUAL from)
      continue()
    endif()
    # A module's main block (frame/module/<program>Main.cpp, or
    # <program folder>/module/<program>Main.cpp, one per print program)
    # carries the in-process application server and the stand-ins of the
    # outside automation servers (mail client, fax service): with no
    # out-of-process objects here, the module registers them in its own
    # object registry. It registers the frame's controller too, so one in a
    # program folder may include frame/. Nothing else in frame/ or a program
    # may reach into suite/, nor anything else in a program into frame/.
    set(main_block FALSE)
    if(source MATCHES "^frame/module/[A-Za-z0-9_]+Main\\.cpp$")
      set(main_block TRUE)
    endif()
    foreach(program IN LISTS ZORV_PROGRAM_FOLDERS)
      string(FIND "${source}" "${program}/module/" at)
      if(at EQUAL 0)
        string(LENGTH "${program}/module/" length)
        string(SUBSTRING "${source}" ${length} -1 rest)
        if(rest MATCHES "^[A-Za-z0-9_]+Main\\.cpp$")
          set(main_block TRUE)
        endif()
      endif()
    endforeach()
    if(main_block AND (to STREQUAL "frame" OR to MATCHES "^suite/(mail|fax|appserver)$"))
      continue()
    endif()
    if(NOT to IN_LIST allowed_${from})
      message("${source}: includes \"${header}\" (${from} may not include ${to})")
      math(EXPR wrong "${wrong} + 1")
    endif()
  endforeach()
endforeach()

# The README's layout table names every folder and marks as "*to come*"
# exactly those not in the tree yet, so that it stays true as folders arrive.
# The programs built for the tests alone (under tests/) are the tests'.
file(READ ${SOURCE_DIR}/README.md readme)
string(REPLACE ";" "," readme "${readme}")
string(REPLACE "\n" ";" readme "${readme}")
set(readme_folders ${all_folders})
list(FILTER readme_folders EXCLUDE REGEX "^tests/")
foreach(folder IN LISTS readme_folders)
  set(row "")
  foreach(line IN LISTS readme)
    # A row of the layout table: its first cell lists folders in backquotes.
    if(line MATCHES "^\\| (`[^|]*)\\|")
      string(FIND "${CMAKE_MATCH_1}" "`${folder}`" at)
      if(NOT at EQUAL -1)
        set(row "${line}")
      endif()
    endif()
  endforeach()
  string(FIND "${row}" "*to come*" to_come)
  if(row STREQUAL "")
    message("README.md: the layout table does not name ${folder}")
    math(EXPR wrong "${wrong} + 1")
  elseif(IS_DIRECTORY ${SOURCE_DIR}/${folder} AND NOT to_come EQUAL -1)
    message("README.md: the layout table says ${folder} is to come, but it is here")
    math(EXPR wrong "${wrong} + 1")
  elseif(NOT IS_DIRECTORY ${SOURCE_DIR}/${folder} AND to_come EQUAL -1)
    message("README.md: the layout table lists ${folder}, which is not here (mark it *to come*)")
    math(EXPR wrong "${wrong} + 1")
  endif()
endforeach()

if(checked EQUAL 0)
  message(FATAL_ERROR "CheckLayers: no sources found under ${SOURCE_DIR}")
endif()
if(wrong GREATER 0)
  message(FATAL_ERROR "CheckLayers: ${wrong} fault(s): includes against the layers in ${checked} files, "
                      "or README lines that are no longer true")
endif()
message("CheckLayers: ${checked} files, every include goes down the layers")
