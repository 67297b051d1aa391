#include "pdf/PdfFileIo.h"

#include "runtime/system/Exceptions.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <limits>
#include <memory>
#include <utility>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/sendfile.h>
#include <unistd.h>

namespace pdfimage {

namespace {

[[noreturn]] void ThrowWriteError(const QString& path, int error)
{
    throw EWriteError(QStringLiteral("Cannot write file \"%1\". %2").arg(path, qt_error_string(error)));
}

[[noreturn]] void ThrowReadError(const QString& name, const QString& reason)
{
    throw EReadError(QStringLiteral("Cannot read the %1. %2").arg(name, reason));
}

int CloseKeepingErrno(int fd)
{
    const int saved = errno;
    ::close(fd);
    errno = saved;
    return -1;
}

} // namespace

void WritePieces(
    int fd, std::vector<iovec> pieces, qint64 offset, const QString& path, const QString& faultSource)
{
    const int maxPieces = std::max(1, int(sysconf(_SC_IOV_MAX)));
    size_t first = 0;
    while (first < pieces.size()) {
        if (pieces[first].iov_len == 0) {
            ++first;
            continue;
        }
        const int count = int(std::min<size_t>(pieces.size() - first, size_t(maxPieces)));
        ssize_t written = offset < 0 ? ::writev(fd, pieces.data() + first, count)
                                     : ::pwritev(fd, pieces.data() + first, count, off_t(offset));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            if (errno == EFAULT && !faultSource.isEmpty())
                ThrowReadError(faultSource, QStringLiteral("The file ended early."));
            ThrowWriteError(path, errno);
        }
        if (written == 0)
            ThrowWriteError(path, ENOSPC);
        if (offset >= 0)
            offset += written;
        // Skips what was written; a piece written in part keeps its rest.
        while (written > 0) {
            const size_t take = std::min(size_t(written), pieces[first].iov_len);
            pieces[first].iov_base = static_cast<char*>(pieces[first].iov_base) + take;
            pieces[first].iov_len -= take;
            written -= ssize_t(take);
            if (pieces[first].iov_len == 0)
                ++first;
        }
    }
}

// Three ways, each taking over where the one before stopped: copy_file_range
// (the kernel copies within one file system, or shares blocks), sendfile
// (between file systems, still without passing through this process) and
// read/write, which works for any output and tells a read error from a write
// error.
void CopyFileRange(int in, qint64 from, qint64 size, const QString& inName, int out, const QString& outPath)
{
    constexpr qint64 kMaxCall = qint64(1) << 30;
    off_t at = off_t(from);
    const qint64 end = from + size;
    auto left = [&] { return end - qint64(at); };

    while (left() > 0) {
        const ssize_t n = ::copy_file_range(in, &at, out, nullptr, size_t(std::min(left(), kMaxCall)), 0);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break; // not possible here (or an error): the next way goes on or reports it
    }
    while (left() > 0) {
        const ssize_t n = ::sendfile(out, in, &at, size_t(std::min(left(), kMaxCall)));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
    }
    if (left() <= 0)
        return;
    constexpr qsizetype kChunk = 256 * 1024;
    const std::unique_ptr<char[]> chunk(new char[kChunk]);
    while (left() > 0) {
        const ssize_t n = ::pread(in, chunk.get(), size_t(std::min<qint64>(left(), kChunk)), at);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            ThrowReadError(inName, qt_error_string(errno));
        if (n == 0)
            ThrowReadError(inName, QStringLiteral("The file ended early."));
        WritePieces(out, {Piece(chunk.get(), size_t(n))}, -1, outPath);
        at += n;
    }
}

MappedFile::MappedFile(int fd, qint64 size)
{
    if (size <= 0 || quint64(size) > std::numeric_limits<size_t>::max())
        return;
    void* data = ::mmap(nullptr, size_t(size), PROT_READ, MAP_SHARED | MAP_POPULATE, fd, 0);
    if (data == MAP_FAILED)
        return;
    data_ = static_cast<const char*>(data);
    size_ = size_t(size);
}

MappedFile::~MappedFile()
{
    if (data_)
        ::munmap(const_cast<char*>(data_), size_);
}

TempFile::~TempFile()
{
    Close();
}

TempFile::TempFile(TempFile&& other) noexcept
    : fd_(std::exchange(other.fd_, -1))
    , made_(other.made_)
    , name_(std::move(other.name_))
{
}

TempFile& TempFile::operator=(TempFile&& other) noexcept
{
    if (this != &other) {
        Close();
        fd_ = std::exchange(other.fd_, -1);
        made_ = other.made_;
        name_ = std::move(other.name_);
    }
    return *this;
}

void TempFile::Close()
{
    if (fd_ >= 0)
        ::close(std::exchange(fd_, -1));
}

TempFile TempFile::Create(Kind kind, const QString& folder)
{
    TempFile file;
    file.made_ = kind;
    if (kind == Kind::Memory) {
        file.name_ = QStringLiteral("temporary image file in memory");
        file.fd_ = ::memfd_create("zorv-pdf-images", MFD_CLOEXEC);
        if (file.fd_ < 0)
            throw EFCreateError(
                QStringLiteral("Cannot create the %1. %2").arg(file.name_, qt_error_string(errno)));
        return file;
    }

    file.name_ = QStringLiteral("temporary image file in %1").arg(folder);
    const QByteArray encoded = QFile::encodeName(folder);
    if (kind == Kind::Unnamed) {
        do
            file.fd_ = ::open(encoded.constData(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
        while (file.fd_ < 0 && errno == EINTR);
        if (file.fd_ >= 0)
            return file;
        // EOPNOTSUPP: the file system makes no unnamed files; EISDIR: the
        // system does not know them at all.
        if (errno != EOPNOTSUPP && errno != EISDIR)
            throw EFCreateError(
                QStringLiteral("Cannot create the %1. %2").arg(file.name_, qt_error_string(errno)));
        file.made_ = Kind::Unlinked;
    }

    QByteArray pattern = encoded + "/zorv-pdf-XXXXXX";
    file.fd_ = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (file.fd_ < 0)
        throw EFCreateError(
            QStringLiteral("Cannot create the %1. %2").arg(file.name_, qt_error_string(errno)));
    if (::unlink(pattern.constData()) != 0) {
        // A file whose name cannot be removed now would be left behind.
        file.fd_ = CloseKeepingErrno(file.fd_);
        throw EFCreateError(QStringLiteral("Cannot create the %1: its name cannot be removed. %2")
                                .arg(file.name_, qt_error_string(errno)));
    }
    return file;
}

} // namespace pdfimage
