#pragma once
// Unpacking a downloaded zip archive into a destination folder.
//
// The archive and every name in it are untrusted. Before anything is written
// the whole directory of the archive is checked, and one bad entry refuses the
// whole archive:
//   - names: "\" counts as a separator (archives made on Windows); a name that
//     is absolute ("/x", "C:x", "\\server"), has a ".." part, a control
//     character (NUL included: the stored bytes of the names are read for
//     it, since libzip shows a NUL as a blank), or names the same file as
//     another entry is refused;
//   - kinds: only files and folders; symbolic links and devices are refused,
//     and so are encrypted entries;
//   - sizes: at most MaxEntries entries and MaxTotalBytes unpacked bytes in
//     all, as the directory states them; while unpacking, an entry that yields
//     more bytes than it stated stops the run too (a zip bomb), and so does a
//     checksum error.
// Folders are reached one part at a time from the destination folder without
// following links, so a link planted in the destination cannot lead outside.
// Each file is unpacked to a temporary name in its folder; only when every
// file is whole are they renamed onto their names, so a failure leaves the
// destination's files as they were (folders made on the way may stay). An
// existing file of the same name is replaced; other files are left alone. The
// destination folder is created when missing.

#include <QString>

namespace hvdownload {

struct TUnzipLimits {
    qint64 MaxTotalBytes = 1024LL * 1024 * 1024;
    int MaxEntries = 10000;
};

// $STEWARD_UNZIP_MAX_BYTES when it holds a positive number, else the default.
TUnzipLimits UnzipLimits();

// True when every file was unpacked; false with error set, nothing replaced.
// zipFile and destFolder are native paths.
bool UnzipInto(const QString& zipFile, const QString& destFolder, const TUnzipLimits& limits, QString& error);

} // namespace hvdownload
