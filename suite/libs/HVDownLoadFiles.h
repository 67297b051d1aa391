#pragma once
// File helpers of the download library: finding a file whatever the case of
// its name, and the folders that files are written into whole (TWholeFile
// within an open folder: a loaded library that has the old file mapped keeps
// its copy, because the rename replaces the name, not the content).

#include "runtime/system/WholeFile.h"

#include <QByteArray>
#include <QString>

namespace hvdownload {

// The native path with each part that does not exist as spelt replaced by the
// first entry of its folder that differs only in case. Server folders reach
// the library in lower case (the module lower-cases the source path), while
// the files on disk keep their own spelling. Parts that match nothing are
// left as they are, so the result names the missing file in messages.
QString ResolveNoCase(const QString& nativePath);

// Opens a folder for the *at calls (O_DIRECTORY); -1 with errno set when it
// cannot. The caller closes the descriptor.
int OpenFolder(const QString& nativePath);

// The text of errno for messages.
QString SystemError(int error);

} // namespace hvdownload
