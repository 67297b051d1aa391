#include "suite/libs/HVDownLoadFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QStringList>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace hvdownload {

QString SystemError(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

QString ResolveNoCase(const QString& nativePath)
{
    const bool absolute = nativePath.startsWith(u'/');
    const QStringList parts = nativePath.split(u'/', Qt::SkipEmptyParts);
    QString resolved = absolute ? QStringLiteral("/") : QString();
    bool lost = false; // once a part matches nothing, the rest stays as given
    for (const QString& part : parts) {
        QString chosen = part;
        const QString folder = resolved.isEmpty() ? QStringLiteral(".") : resolved;
        if (!lost && !QFileInfo::exists(QDir(folder).filePath(part))) {
            chosen.clear();
            const QStringList entries = QDir(folder).entryList(
                QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
            for (const QString& entry : entries) {
                if (entry.compare(part, Qt::CaseInsensitive) == 0) {
                    chosen = entry;
                    break;
                }
            }
            if (chosen.isEmpty()) {
                chosen = part;
                lost = true;
            }
        }
        if (!resolved.isEmpty() && !resolved.endsWith(u'/'))
            resolved += u'/';
        resolved += chosen;
    }
    if (nativePath.endsWith(u'/') && !resolved.endsWith(u'/'))
        resolved += u'/';
    return resolved;
}

int OpenFolder(const QString& nativePath)
{
    return ::open(QFile::encodeName(nativePath).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
}

TStagedFile::TStagedFile(int folderFd, QByteArray finalName)
    : folderFd_(folderFd)
    , finalName_(std::move(finalName))
{
}

TStagedFile::~TStagedFile()
{
    if (fd_ >= 0)
        ::close(fd_);
    if (!tempName_.isEmpty() && !committed_)
        ::unlinkat(folderFd_, tempName_.constData(), 0);
}

bool TStagedFile::Open(unsigned mode)
{
    // A few tries: O_EXCL refuses a name that exists (a file or a planted link),
    // and a fresh random suffix makes a second clash unlikely.
    for (int attempt = 0; attempt < 8; ++attempt) {
        const QByteArray name
            = '.' + finalName_ + ".part-" + QByteArray::number(QRandomGenerator::global()->generate64(), 16);
        fd_ = ::openat(folderFd_, name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
            static_cast<mode_t>(mode & 0777));
        if (fd_ >= 0) {
            tempName_ = name;
            return true;
        }
        if (errno != EEXIST)
            break;
    }
    error_ = QStringLiteral("cannot create a temporary file for %1: %2")
                 .arg(QString::fromUtf8(finalName_), SystemError(errno));
    return false;
}

bool TStagedFile::Write(const char* data, qint64 size)
{
    while (size > 0) {
        const ssize_t written = ::write(fd_, data, static_cast<size_t>(size));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            error_ = QStringLiteral("cannot write %1: %2")
                         .arg(QString::fromUtf8(finalName_), SystemError(errno));
            return false;
        }
        data += written;
        size -= written;
        size_ += written;
    }
    return true;
}

bool TStagedFile::Finish()
{
    // fsync before the rename: after a crash the name must not point at a file
    // whose blocks never reached the disk.
    const bool synced = ::fsync(fd_) == 0;
    const int syncError = errno;
    const bool closed = ::close(fd_) == 0;
    fd_ = -1;
    if (!synced || !closed) {
        error_ = QStringLiteral("cannot write %1: %2")
                     .arg(QString::fromUtf8(finalName_), SystemError(synced ? errno : syncError));
        return false;
    }
    return true;
}

bool TStagedFile::Commit()
{
    if (::renameat(folderFd_, tempName_.constData(), folderFd_, finalName_.constData()) != 0) {
        error_
            = QStringLiteral("cannot replace %1: %2").arg(QString::fromUtf8(finalName_), SystemError(errno));
        return false;
    }
    committed_ = true;
    return true;
}

} // namespace hvdownload
