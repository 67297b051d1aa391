#pragma once
// Writing a file whole or not at all.
//
// TWholeFile stages new content in a hidden sibling of the target,
// ".<name>.part-<random>", created in the target's folder with O_EXCL and
// O_NOFOLLOW (no one else's file and no planted link is ever taken), and
// gives it the target's name only in Commit(): the sibling is flushed to the
// disk (fsync), renamed over the target in one step (a reader sees the old
// file or the new one, never none and never half of one) and the folder is
// synced so that the rename itself outlives a crash.
//
// Guaranteed:
// - Anything but a successful Commit() (a write error, an exception, the
//   object going away) removes the sibling and leaves the target as it was.
// - By path: a link as target is followed, the file it leads to is replaced
//   and the link stays (it is the user's); a replaced file's permission bits
//   carry over to the new one; a device or pipe as target (/dev/stdout) is
//   written in place, as there is nothing to replace.
// - Within an open folder (a descriptor the caller keeps open, as an unpacker
//   writing a whole tree does): the name is a plain name of that folder, and
//   a file or link of that name is replaced, never written through.
// - Errors are texts naming the target as the caller named it (Error()).
// Left alone: the folder must exist; nothing is created above the file.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <functional>

class QIODevice;

class TWholeFile {
public:
    // The target by path text (NativePath applies).
    explicit TWholeFile(const QString& targetPath);
    // The target by its plain name in an open folder; shownName names it in errors.
    TWholeFile(int folderFd, QByteArray name, QString shownName);
    ~TWholeFile();
    TWholeFile(const TWholeFile&) = delete;
    TWholeFile& operator=(const TWholeFile&) = delete;

    // Creates the sibling (mode: the bits of a new file before the umask;
    // a replaced file's own bits win). False with Error() set.
    bool Open(unsigned mode = 0666);
    // The open sibling's descriptor, for writers that take one.
    int Descriptor() const { return fd_; }
    // The sibling's path, for writers that open a file by name and truncate
    // it (by-path targets only; empty within an open folder or in place).
    QString PartPath() const;
    // Appends bytes; false with Error() set.
    bool Write(QByteArrayView bytes);
    // Flushes the sibling to the disk and closes it, so that many files can
    // be staged before any of them takes its name. False with Error() set.
    bool Finish();
    // Finishes the sibling (unless done) and renames it over the target.
    // False with Error() set, the target then untouched.
    bool Commit();

    qint64 Size() const { return size_; }
    QString Error() const { return error_; }

private:
    bool Fail(const QString& what, int error);

    QString shown_;
    QByteArray folder_; // by path: the target's folder, with which the names are joined
    QByteArray name_; // the target's name in its folder
    QByteArray partName_;
    int folderFd_ = -1;
    bool ownsFolder_ = false;
    bool inPlace_ = false;
    bool finished_ = false;
    int fd_ = -1;
    qint64 size_ = 0;
    bool committed_ = false;
    QString error_;
};

// The whole of bytes as the target's content. True when it is in place;
// else false with *error set and the target as it was.
bool WriteWholeFile(const QString& targetPath, QByteArrayView bytes, QString* error = nullptr);
// The content write() puts on the device (a QFile on the sibling); write()
// returning false, or a failed flush, leaves the target as it was.
bool WriteWholeFile(
    const QString& targetPath, const std::function<bool(QIODevice&)>& write, QString* error = nullptr);
