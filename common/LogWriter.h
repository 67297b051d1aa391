#pragma once
// The one routine behind every plain-text log of the module: append a line to
// a file in a folder, creating the folder (with its parents) and the file on
// first use. It never throws: a line that cannot be written is lost and the
// caller hears false.

#include <QString>

namespace logwriter {

// folderText and fileName are path texts ("\" or "/" separated); the file is
// folderText + fileName, exactly as the callers build the two halves. The
// line is written in UTF-8 with a line end, in one append, so that writers in
// other processes never split it.
bool AppendLine(const QString& folderText, const QString& fileName, const QString& line) noexcept;

} // namespace logwriter
