#pragma once
// Running a print program's server library in-process: finding the library in
// the server's work-library folders, bringing it up to date from the server,
// loading it, handing its controller the run parameters and unloading it.
//
// The library's Windows name is the program code followed by "S.DLL"; on this
// system the file is lib<CODE>S.so (runtime/system/Libraries.h). Every
// function here reports failure as false with an error text and never
// raises; the library is unloaded before any of them returns.

#include "runtime/system/Variant.h"

#include <QString>
#include <QStringList>

// "ZORV52" -> "libZORV52S.so"; empty for an empty code.
QString ServerLibraryFileName(const QString& programCode);

// The manager's GetFileList answer for the file: the late-bound call
// GetFileList([lower-case file name]). Empty when the manager is no object,
// the call fails, or the answer is no text (there is then nothing newer to
// fetch, and the copies on hand are used).
QString ServerFileInfo(const Variant& manager, const QString& fileName);

// The library file to load, as a path text: the first folder that holds the
// file (any case of its name) and whose copy is brought up to date with the
// file info (UpdateFileFromInfo, interactive); failing that, the file fetched
// into the first folder whose upper-cased name contains "S_PKG", else into
// the first folder. Empty with error set when there are no folders, or when
// the fetch fails or leaves no file.
QString LocateServerLibrary(
    const QStringList& folders, const QString& fileName, const QString& info, QString& error);

// Loads that library file, asks its GetSvrController for a controller, runs
// it with the parameters and releases it. True when the controller accepted
// the run; answer gets what it said (the reason, when it refused).
bool RunServerLibrary(const QString& libraryFile, const Variant& params, QString& answer);

// All of the above for a program, with the work-library folders of the
// server configuration (StewardS.ini). The criteria form's RunServerProgram
// adds error to its error texts when this answers false.
bool RunProgramServerLibrary(
    const Variant& manager, const QString& programCode, const Variant& params, QString& error);
