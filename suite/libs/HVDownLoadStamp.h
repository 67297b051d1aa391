#pragma once
// Modification stamps of the download library.
//
// A stamp is the server copy's modification time as the work-centre manager's
// GetFileList reports it: fourteen digits "yyyyMMddhhmmss" in the local time
// of the machine, e.g. "20261208143005". Surrounding blanks are ignored;
// anything else (an empty text, fewer digits, an impossible date) is no stamp.
//
// A local file must be replaced when it is missing, or when its modification
// time, cut to whole seconds, lies before the stamp. A file whose time equals
// the stamp is current. When the text is no stamp the server named no copy of
// the file (GetFileList answers empty when it has none), so there is nothing
// to fetch: the local file is left as it is, missing or not.

#include <QDateTime>
#include <QString>

namespace hvdownload {

// The moment a stamp names, or an invalid QDateTime when the text is no stamp.
QDateTime ParseStamp(const QString& stamp);

// True when the local file (a native path) must be replaced by the server copy
// of that stamp.
bool NeedsReplacing(const QString& stamp, const QString& localFile);

} // namespace hvdownload
