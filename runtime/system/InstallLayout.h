#pragma once
// Where a program of the suite finds the program modules and the shared data
// files: from the folder of its own executable, by the same relative paths
// whether it runs installed or from the build folder.
//
//   installed (prefix /usr)               built (build/)
//   /usr/bin/steward                      build/bin/steward
//   /usr/lib/<triplet>/zorv52/            build/lib/
//     libZORV52C.so and the outside libraries
//   /usr/share/zorv52/...                 build/share/zorv52 -> the source tree's data/
//
// The installed relations (bin to lib/<triplet>/zorv52, bin to share/zorv52)
// are the install rules' own, handed in by the build, so another prefix keeps
// working.
// No absolute folder is compiled in: an installed program never reaches into
// a build folder, and a built one never into an installed copy.

#include <QString>
#include <QStringList>

// The folder of the running executable (native, absolute); empty when the
// system cannot tell.
QString ExecutableFolder();

// The folders that may hold program modules (lib<PROGRAM>C.so) for an
// executable in exeDir: the installed module folder, then the build folder's
// lib/. Folders that do not exist are left in; loaders skip them.
QStringList ProgramModuleFolders(const QString& exeDir = ExecutableFolder());

// The folder of the shared data files (help pages, language packages, ...):
// $STEWARD_DATA_PATH when it is set and not empty, else the share folder
// beside exeDir when it exists; empty when there is none.
QString SharedDataFolder(const QString& exeDir = ExecutableFolder());
