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
#   cmake -DSOURCE_DIR=<source root> -P CheckLayers.cmake
#
# Prints each include that goes the wrong way as
#   <file>: includes "<header>" (<folder> may not include <folder>)
# and fails when there is one. It also holds the README's layout table to the
# tree (see below).

cmake_minimum_required(VERSION 3.25)
if(NOT SOURCE_DIR)
  message(FATAL_ERROR "CheckLayers: SOURCE_DIR not given")
endif()

set(runtime_folders runtime/system runtime/forms runtime/data runtime/report runtime/designer)
set(module_folders criteria options format pdf zorv52 update)
set(suite_folders suite/libs suite/appserver suite/hubdesk suite/shell suite/mail suite/fax suite/doc2emf)
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
  math(EXPR checked "${checked} + 1")
  file(STRINGS ${SOURCE_DIR}/${source} lines REGEX "^[ \t]*#[ \t]*include[ \t]*[\"<][^\">]+[\">]")
  foreach(line IN LISTS lines)
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*[\"<]([^\">]+)[\">].*$" "\\1" header "${line}")
    folder_of("${header}" to)
    if(to STREQUAL "" OR to STREQUAL from)
      continue()
    endif()
    # A module's main block (frame/module/<program>Main.cpp, one per print
    # program) carries the in-process application server and the stand-ins
    # of the outside automation servers (mail client, fax service): with no
    # out-of-process objects here, the module registers them in its own
    # object registry. Nothing else in frame/ may reach into suite/.
    if(source MATCHES "^frame/module/[A-Za-z0-9_]+Main\\.cpp$" AND to MATCHES "^suite/(mail|fax|appserver)$")
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
file(READ ${SOURCE_DIR}/README.md readme)
string(REPLACE ";" "," readme "${readme}")
string(REPLACE "\n" ";" readme "${readme}")
foreach(folder IN LISTS all_folders)
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
