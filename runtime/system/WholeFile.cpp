#include "runtime/system/WholeFile.h"

#include "runtime/system/NativePath.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Where content saved under this native name goes: through a link, to the
// file the link leads to.
QString DestinationOf(const QString& native)
{
    const QFileInfo info(native);
    if (!info.isSymLink())
        return native;
    return info.exists() ? info.canonicalFilePath() : info.symLinkTarget();
}

} // namespace

TWholeFile::TWholeFile(const QString& targetPath)
    : shown_(targetPath)
{
    const QFileInfo destination(DestinationOf(NativePath(targetPath)));
    folder_ = QFile::encodeName(destination.absolutePath());
    name_ = QFile::encodeName(destination.fileName());
}

TWholeFile::TWholeFile(int folderFd, QByteArray name, QString shownName)
    : shown_(std::move(shownName))
    , name_(std::move(name))
    , folderFd_(folderFd)
{
}

TWholeFile::~TWholeFile()
{
    if (fd_ >= 0)
        ::close(fd_);
    if (!partName_.isEmpty() && !committed_)
        ::unlinkat(folderFd_, partName_.constData(), 0);
    if (ownsFolder_)
        ::close(folderFd_);
}

bool TWholeFile::Fail(const QString& what, int error)
{
    error_ = QStringLiteral("Cannot %1 \"%2\": %3").arg(what, shown_, qt_error_string(error));
    return false;
}

bool TWholeFile::Open(unsigned mode)
{
    if (name_.isEmpty() || name_.contains('\0') || name_.contains('/')) {
        error_ = QStringLiteral("Cannot create \"%1\": not a file name").arg(shown_);
        return false;
    }
    if (!folder_.isEmpty()) {
        folderFd_ = ::open(folder_.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (folderFd_ < 0)
            return Fail(QStringLiteral("create"), errno);
        ownsFolder_ = true;
    }
    struct stat existing { };
    const bool exists = ::fstatat(folderFd_, name_.constData(), &existing, AT_SYMLINK_NOFOLLOW) == 0;
    if (exists && S_ISDIR(existing.st_mode))
        return Fail(QStringLiteral("create"), EISDIR);
    if (exists && !folder_.isEmpty() && !S_ISREG(existing.st_mode) && !S_ISLNK(existing.st_mode)) {
        do
            fd_ = ::openat(folderFd_, name_.constData(), O_WRONLY | O_TRUNC | O_CLOEXEC);
        while (fd_ < 0 && errno == EINTR);
        if (fd_ < 0)
            return Fail(QStringLiteral("create"), errno);
        inPlace_ = true;
        return true;
    }
    // A few tries: O_EXCL refuses a name that exists, and a fresh random
    // suffix makes a second clash unlikely.
    // A name may be as long as the system allows (255 bytes), the sibling's
    // too: a long name is cut in the sibling, the random part keeps it apart.
    const QByteArray stem = name_.left(255 - int(sizeof ".part-") - 13 - 1);
    for (int attempt = 0; attempt < 8; ++attempt) {
        const QByteArray part
            = '.' + stem + ".part-" + QByteArray::number(QRandomGenerator::global()->generate64(), 36);
        fd_ = ::openat(folderFd_, part.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
            static_cast<mode_t>(mode & 0777));
        if (fd_ >= 0) {
            partName_ = part;
            break;
        }
        if (errno != EEXIST && errno != EINTR)
            break;
    }
    if (fd_ < 0)
        return Fail(QStringLiteral("create"), errno);
    // A saved document keeps the permissions the user gave the old one (never
    // set-id bits: nothing written here is meant to run with them).
    if (exists && S_ISREG(existing.st_mode) && !folder_.isEmpty())
        (void)::fchmod(fd_, existing.st_mode & 0777);
    return true;
}

QString TWholeFile::PartPath() const
{
    if (partName_.isEmpty() || folder_.isEmpty())
        return {};
    return QFile::decodeName(folder_ + '/' + partName_);
}

bool TWholeFile::Write(QByteArrayView bytes)
{
    const char* data = bytes.data();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd_, data, static_cast<size_t>(left));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return Fail(QStringLiteral("write"), errno);
        }
        data += written;
        left -= written;
        size_ += written;
    }
    return true;
}

bool TWholeFile::Finish()
{
    if (finished_)
        return true;
    if (fd_ < 0) {
        error_ = QStringLiteral("Cannot write \"%1\": it was not opened").arg(shown_);
        return false;
    }
    // On the disk before it takes the name: after a crash the name holds the
    // old content or the new, never a file whose blocks were never written.
    // A pipe or terminal written in place cannot be synced (EINVAL).
    if (::fsync(fd_) != 0 && !(inPlace_ && (errno == EINVAL || errno == EROFS))) {
        const int error = errno;
        ::close(std::exchange(fd_, -1));
        return Fail(QStringLiteral("write"), error);
    }
    // Closed here, where a late write error (NFS, a full quota) can be seen.
    if (::close(std::exchange(fd_, -1)) != 0 && errno != EINTR)
        return Fail(QStringLiteral("write"), errno);
    finished_ = true;
    return true;
}

bool TWholeFile::Commit()
{
    if (!Finish())
        return false;
    if (inPlace_)
        return committed_ = true;
    if (::renameat(folderFd_, partName_.constData(), folderFd_, name_.constData()) != 0)
        return Fail(QStringLiteral("replace"), errno);
    committed_ = true;
    // The rename is an entry of the folder: synced with it. A failure here
    // leaves the new file in place, so it is not an error of the save.
    (void)::fsync(folderFd_);
    return true;
}

bool WriteWholeFile(const QString& targetPath, QByteArrayView bytes, QString* error)
{
    TWholeFile file(targetPath);
    const bool done = file.Open() && file.Write(bytes) && file.Commit();
    if (!done && error)
        *error = file.Error();
    return done;
}

bool WriteWholeFile(const QString& targetPath, const std::function<bool(QIODevice&)>& write, QString* error)
{
    TWholeFile file(targetPath);
    if (!file.Open()) {
        if (error)
            *error = file.Error();
        return false;
    }
    {
        QFile device;
        if (!device.open(file.Descriptor(), QIODevice::WriteOnly, QFileDevice::DontCloseHandle)
            || !write(device) || !device.flush()) {
            // The device's own error names the system's reason ("No space
            // left on device"); without one the writer gave up on its own.
            if (error)
                *error = device.error() != QFileDevice::NoError
                    ? QStringLiteral("Cannot write \"%1\": %2").arg(targetPath, device.errorString())
                    : QStringLiteral("Cannot write \"%1\"").arg(targetPath);
            return false;
        }
    }
    if (!file.Commit()) {
        if (error)
            *error = file.Error();
        return false;
    }
    return true;
}
