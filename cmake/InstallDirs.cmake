# The install layout, fixed before the folders are added: the programs learn
# their relative paths to the module and data folders from it (see
# runtime/system/InstallLayout.h), and cmake/Packaging.cmake installs by it.
#
#   bin/       steward, doc2emf (and the client's other tools)
#   sbin/      steward-appserver
#   lib/<triplet>/zorv52  the program module and the outside libraries it
#              loads by name (lib/zorv52 where the compiler names no triplet)
#   share/zorv52  shared data (help pages, language packages)
include(GNUInstallDirs)
# A private folder of architecture-dependent files, by Debian's multiarch
# rule; not under CMAKE_INSTALL_LIBDIR, which names the triplet only for the
# prefix /usr: the module folder must not move with the prefix. (The libraries
# there are opened by path, never through the dynamic linker's cache.)
if(CMAKE_LIBRARY_ARCHITECTURE)
  set(ZORV_INSTALL_MODULEDIR "lib/${CMAKE_LIBRARY_ARCHITECTURE}/zorv52")
else()
  set(ZORV_INSTALL_MODULEDIR "lib/zorv52")
endif()
set(ZORV_INSTALL_DATADIR "${CMAKE_INSTALL_DATADIR}/zorv52")

file(RELATIVE_PATH ZORV_BIN_TO_MODULES "/prefix/${CMAKE_INSTALL_BINDIR}" "/prefix/${ZORV_INSTALL_MODULEDIR}")
file(RELATIVE_PATH ZORV_BIN_TO_DATA "/prefix/${CMAKE_INSTALL_BINDIR}" "/prefix/${ZORV_INSTALL_DATADIR}")

# The build folder mirrors the data folder: build/bin/<ZORV_BIN_TO_DATA> is a
# link to the source tree's data/, so a program run from the build folder
# finds every data file (installed or not yet) by the same relative path.
set(zorv_build_data "${PROJECT_BINARY_DIR}/bin/${ZORV_BIN_TO_DATA}")
cmake_path(NORMAL_PATH zorv_build_data)
cmake_path(GET zorv_build_data PARENT_PATH zorv_build_data_parent)
file(MAKE_DIRECTORY "${zorv_build_data_parent}")
file(CREATE_LINK "${PROJECT_SOURCE_DIR}/data" "${zorv_build_data}" SYMBOLIC)
