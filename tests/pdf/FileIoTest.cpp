// The file helpers of the writer: temporary files without a name, gathered
// writes at an offset, copies of a range of one file into another.
#include "pdf/PdfFileIo.h"

#include "OpenFiles.h"
#include "runtime/system/Exceptions.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <dirent.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

using pdfimage::Piece;
using pdfimage::TempFile;

namespace {

using openfiles::Entries;
using openfiles::IdOf;
using openfiles::StillOpen;
using Id = openfiles::FileId;

// Bytes that show a lost, doubled or shifted byte anywhere.
QByteArray Pattern(qsizetype size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (qsizetype i = 0; i < size; ++i)
        bytes[i] = char((i * 131 + i / 251) & 0xFF);
    return bytes;
}

QByteArray ReadWhole(int fd)
{
    struct stat info { };
    if (::fstat(fd, &info) != 0)
        return {};
    QByteArray bytes(qsizetype(info.st_size), Qt::Uninitialized);
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::pread(fd, bytes.data() + done, size_t(bytes.size() - done), off_t(done));
        if (n <= 0)
            break;
        done += n;
    }
    bytes.truncate(done);
    return bytes;
}

int OpenOutput(const QString& path, int extraFlags = 0)
{
    return ::open(
        QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC | extraFlags, 0600);
}

} // namespace

TEST(PdfTempFile, EveryKindHasNoNameKeepsItsBytesAndGoesWhenClosed)
{
    testsupport::TempFolder folder;
    for (const auto kind : {TempFile::Kind::Unnamed, TempFile::Kind::Unlinked, TempFile::Kind::Memory}) {
        TempFile file = TempFile::Create(kind, folder.path());
        ASSERT_TRUE(file.IsOpen());
        EXPECT_EQ(file.Made(), kind) << "ext4 and tmpfs make unnamed files";
        EXPECT_TRUE(Entries(folder.path()).isEmpty()) << int(kind);
        struct stat info { };
        ASSERT_EQ(::fstat(file.Handle(), &info), 0);
        EXPECT_EQ(info.st_nlink, nlink_t(0)) << int(kind);
        if (kind != TempFile::Kind::Memory) {
            EXPECT_EQ(info.st_mode & 0077, 0u) << "private to the user";
        }
        EXPECT_TRUE(
            file.Name().contains(kind == TempFile::Kind::Memory ? QStringLiteral("memory") : folder.path()))
            << file.Name().toStdString();
        const QByteArray bytes = Pattern(100000);
        pdfimage::WritePieces(
            file.Handle(), {Piece(bytes.constData(), size_t(bytes.size()))}, 0, file.Name());
        EXPECT_TRUE(ReadWhole(file.Handle()) == bytes);
        const Id id = IdOf(file.Handle());
        file.Close();
        EXPECT_FALSE(file.IsOpen());
        EXPECT_FALSE(StillOpen(id));
        EXPECT_TRUE(Entries(folder.path()).isEmpty());
    }
}

TEST(PdfTempFile, ReplacingOrDestroyingAFileClosesIt)
{
    testsupport::TempFolder folder;
    Id first;
    Id second;
    {
        TempFile file = TempFile::Create(TempFile::Kind::Unnamed, folder.path());
        first = IdOf(file.Handle());
        file = TempFile::Create(TempFile::Kind::Memory, QString());
        second = IdOf(file.Handle());
        EXPECT_FALSE(StillOpen(first)) << "the replaced file is closed";
        EXPECT_TRUE(StillOpen(second));
        TempFile moved(std::move(file));
        EXPECT_EQ(file.Handle(), -1); // a moved-from file holds nothing
        EXPECT_TRUE(StillOpen(second));
    }
    EXPECT_FALSE(StillOpen(second));
}

TEST(PdfTempFile, FolderThatCannotHoldFilesRaises)
{
    testsupport::TempFolder folder;
    // A file in place of the folder stops even root.
    const QString notAFolder = folder.write(QStringLiteral("file"), "x");
    for (const auto kind : {TempFile::Kind::Unnamed, TempFile::Kind::Unlinked}) {
        EXPECT_THROW(TempFile::Create(kind, notAFolder), EFCreateError) << int(kind);
        EXPECT_THROW(TempFile::Create(kind, folder.file(QStringLiteral("missing"))), EFCreateError)
            << int(kind);
    }
    EXPECT_EQ(Entries(folder.path()), QStringList {QStringLiteral("file")});
}

TEST(PdfFileIo, PiecesAreWrittenInOrderAtAnOffsetOrAtThePosition)
{
    testsupport::TempFolder folder;
    const int fd = OpenOutput(folder.file(QStringLiteral("out")));
    ASSERT_GE(fd, 0);
    // More pieces than one call takes, of sizes 0 to 6, some empty.
    const QByteArray bytes = Pattern(30000);
    std::vector<iovec> pieces;
    QByteArray expected;
    qsizetype at = 0;
    for (int i = 0; at < bytes.size(); ++i) {
        const qsizetype size = std::min<qsizetype>(i % 7, bytes.size() - at);
        pieces.push_back(Piece(bytes.constData() + at, size_t(size)));
        at += size;
    }
    ASSERT_GT(pieces.size(), size_t(sysconf(_SC_IOV_MAX)));
    pdfimage::WritePieces(fd, pieces, 100, QStringLiteral("out"));
    EXPECT_EQ(::lseek(fd, 0, SEEK_CUR), 0) << "writing at an offset leaves the position";
    pdfimage::WritePieces(fd, {Piece("head", 4)}, -1, QStringLiteral("out"));
    EXPECT_EQ(::lseek(fd, 0, SEEK_CUR), 4);
    const QByteArray written = ReadWhole(fd);
    ASSERT_EQ(written.size(), 100 + bytes.size());
    EXPECT_EQ(written.left(4), QByteArray("head"));
    EXPECT_EQ(written.mid(4, 96), QByteArray(96, '\0'));
    EXPECT_TRUE(written.mid(100) == bytes);
    ::close(fd);
}

TEST(PdfFileIo, WriteThatFailsNamesTheOutput)
{
    if (!QFile::exists(QStringLiteral("/dev/full")))
        GTEST_SKIP() << "no /dev/full";
    const int fd = ::open("/dev/full", O_WRONLY | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    try {
        pdfimage::WritePieces(
            fd, {Piece("abc", 3)}, -1, QStringLiteral("the output"), QStringLiteral("source"));
        ADD_FAILURE() << "no exception";
    } catch (const EWriteError& e) {
        EXPECT_TRUE(e.Message().contains(QStringLiteral("the output"))) << e.what();
    }
    ::close(fd);
}

TEST(PdfFileIo, MappingOfAFileCutShortRaisesAReadErrorNotACrash)
{
    testsupport::TempFolder folder;
    TempFile source = TempFile::Create(TempFile::Kind::Unnamed, folder.path());
    const QByteArray bytes = Pattern(256 * 1024);
    pdfimage::WritePieces(
        source.Handle(), {Piece(bytes.constData(), size_t(bytes.size()))}, 0, source.Name());
    const pdfimage::MappedFile mapped(source.Handle(), bytes.size());
    ASSERT_NE(mapped.Data(), nullptr);
    EXPECT_EQ(QByteArray(mapped.Data(), 1000), bytes.left(1000));
    ASSERT_EQ(::ftruncate(source.Handle(), 4096), 0);
    const int out = OpenOutput(folder.file(QStringLiteral("out")));
    ASSERT_GE(out, 0);
    try {
        pdfimage::WritePieces(
            out, {Piece(mapped.Data(), size_t(bytes.size()))}, -1, QStringLiteral("out"), source.Name());
        ADD_FAILURE() << "no exception";
    } catch (const EReadError& e) {
        EXPECT_TRUE(e.Message().contains(source.Name())) << e.what();
    }
    ::close(out);
}

TEST(PdfFileIo, RangeIsCopiedExactlyByEveryWay)
{
    testsupport::TempFolder folder;
    TempFile source = TempFile::Create(TempFile::Kind::Unnamed, folder.path());
    const QByteArray bytes = Pattern(3 * 1024 * 1024 + 77);
    pdfimage::WritePieces(
        source.Handle(), {Piece(bytes.constData(), size_t(bytes.size()))}, 0, source.Name());
    const qint64 from = 12345;
    const qint64 size = 2 * 1024 * 1024 + 999;
    const QByteArray wanted = "head" + bytes.mid(from, size);

    // The same file system (copy_file_range), another one (memory: sendfile),
    // and a file opened for appending, which only read and write serve.
    const int sameFs = OpenOutput(folder.file(QStringLiteral("same")));
    const int append = OpenOutput(folder.file(QStringLiteral("append")), O_APPEND);
    TempFile memory = TempFile::Create(TempFile::Kind::Memory, QString());
    for (const int out : {sameFs, append, memory.Handle()}) {
        ASSERT_GE(out, 0);
        pdfimage::WritePieces(out, {Piece("head", 4)}, -1, QStringLiteral("out"));
        pdfimage::CopyFileRange(source.Handle(), from, size, source.Name(), out, QStringLiteral("out"));
        const QByteArray copied = ReadWhole(out);
        EXPECT_EQ(copied.size(), wanted.size());
        EXPECT_TRUE(copied == wanted);
    }
    ::close(sameFs);
    ::close(append);
}

TEST(PdfFileIo, RangeBeyondTheEndOfTheFileRaisesAReadError)
{
    testsupport::TempFolder folder;
    TempFile source = TempFile::Create(TempFile::Kind::Unnamed, folder.path());
    const QByteArray bytes = Pattern(5000);
    pdfimage::WritePieces(
        source.Handle(), {Piece(bytes.constData(), size_t(bytes.size()))}, 0, source.Name());
    for (const int flags : {0, O_APPEND}) {
        const int out = OpenOutput(folder.file(QStringLiteral("out")), flags);
        ASSERT_GE(out, 0);
        try {
            pdfimage::CopyFileRange(source.Handle(), 1000, 4001, source.Name(), out, QStringLiteral("out"));
            ADD_FAILURE() << "no exception";
        } catch (const EReadError& e) {
            EXPECT_TRUE(e.Message().contains(source.Name())) << e.what();
        }
        // What could be read was copied, nothing more.
        EXPECT_TRUE(ReadWhole(out) == bytes.mid(1000)) << flags;
        ::close(out);
    }
}
