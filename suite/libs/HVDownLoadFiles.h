#pragma once
// File helpers of the download library: finding a file whatever the case of
// its name, and writing a file so that it appears complete or not at all.

#include <QByteArray>
#include <QString>

namespace hvdownload {

// The native path with each part that does not exist as spelt replaced by the
// first entry of its folder that differs only in case. Server folders reach
// the library in lower case (the module lower-cases the source path), while
// the files on disk keep their own spelling. Parts that match nothing are
// left as they are, so the result names the missing file in messages.
QString ResolveNoCase(const QString& nativePath);

// A file written under a temporary name beside its final name and moved onto
// it only by Commit(), so readers of the final name see the old file or the
// whole new one, never a part. A running process that has the old file mapped
// (a loaded library) keeps its copy, because the rename replaces the name, not
// the content. Without Commit() the temporary file is removed again.
//
// The folder is given as an open descriptor (not owned) so that the caller
// decides how it was reached; the final name must be a single name part.
class TStagedFile {
public:
    TStagedFile(int folderFd, QByteArray finalName);
    ~TStagedFile();
    TStagedFile(const TStagedFile&) = delete;
    TStagedFile& operator=(const TStagedFile&) = delete;

    // Creates the temporary file (never following or reusing an existing
    // name) with the permission bits given (the umask applies). False with
    // Error() set when it cannot.
    bool Open(unsigned mode = 0666);
    // Appends bytes; false with Error() set on a write failure.
    bool Write(const char* data, qint64 size);
    // Flushes and closes the temporary file; false with Error() set.
    bool Finish();
    // Moves the finished file onto the final name (replacing a file or a link
    // of that name, never writing through it). False with Error() set.
    bool Commit();

    qint64 Size() const { return size_; }
    QString Error() const { return error_; }

private:
    int folderFd_;
    int fd_ = -1;
    QByteArray finalName_;
    QByteArray tempName_;
    qint64 size_ = 0;
    bool committed_ = false;
    QString error_;
};

// Opens a folder for the *at calls (O_DIRECTORY); -1 with errno set when it
// cannot. The caller closes the descriptor.
int OpenFolder(const QString& nativePath);

// The text of errno for messages.
QString SystemError(int error);

} // namespace hvdownload
