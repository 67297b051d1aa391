// The temporary image file, the output file and failures.
#include "OpenFiles.h"
#include "PdfWriterFixture.h"

#include "runtime/system/Exceptions.h"
#include "runtime/system/ProcessSetup.h"

#include <QDir>
#include <QFileInfo>

#include <csignal>
#include <dirent.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace pdftest;

namespace {

// Changes the working folder for one scope.
class ScopedCurrentFolder {
public:
    explicit ScopedCurrentFolder(const QString& path)
        : saved_(QDir::currentPath())
    {
        QDir::setCurrent(path);
    }
    ~ScopedCurrentFolder() { QDir::setCurrent(saved_); }

private:
    QString saved_;
};

using openfiles::Entries;
using openfiles::FileId;
using openfiles::IdOf;
using openfiles::StillOpen;

// The temporary file of writer, which must be open.
FileId TempFileOf(const TPrintPDF& writer)
{
    const FileId id = IdOf(writer.TemporaryFileHandle());
    EXPECT_TRUE(id.valid) << "no temporary file";
    return id;
}

QByteArray ReadAt(int fd, qint64 from, qsizetype size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    const ssize_t n = ::pread(fd, bytes.data(), size_t(size), off_t(from));
    bytes.truncate(n < 0 ? 0 : qsizetype(n));
    return bytes;
}

// Detail in every row and column, so a lost, doubled or shifted row shows.
QImage Detailed(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb((x * 7 + y) & 0xFF, (y * 3 + x / 256) & 0xFF, ((x ^ y) * 5) & 0xFF));
    return image;
}

ExpectedImage Expected(const QImage& image)
{
    ExpectedImage expected {image.width(), image.height(), {}};
    expected.pixels.reserve(3 * image.width() * image.height());
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            expected.pixels += char(qRed(p));
            expected.pixels += char(qGreen(p));
            expected.pixels += char(qBlue(p));
        }
    return expected;
}

// The page content between "stream" and "endstream" of object 2.
QByteArray ContentOf(const QByteArray& bytes)
{
    const QByteArray head = "2 0 obj\r\n<< /Length 3 0 R\r\n >>\r\nstream\r\n";
    const qsizetype from = bytes.indexOf(head);
    const qsizetype start = from + head.size();
    return from < 0 ? QByteArray() : bytes.mid(start, bytes.indexOf("endstream\r\n", start) - start);
}

// Large images, each longer than any buffer or system call limit of the
// writer: 32-bit pixels packed in strips; RGB888 rows 3 * 1203 bytes long,
// with fill bytes in memory and more of them than one gathered write takes;
// RGB888 rows back to back; RGB16 rows converted in bands.
QList<QImage> LargeImages()
{
    return {Detailed(1203, 1500), SixPixels(), Detailed(1203, 1500).convertToFormat(QImage::Format_RGB888),
        Detailed(816, 1056).convertToFormat(QImage::Format_RGB888),
        Detailed(1203, 400).convertToFormat(QImage::Format_RGB16)};
}

void ExpectExactFileOf(const QByteArray& bytes, const QList<QImage>& images)
{
    const QByteArray date = CreationDateOf(bytes);
    ASSERT_EQ(date.size(), 14);
    QList<ExpectedImage> expected;
    for (const QImage& image : images)
        expected.append(Expected(image));
    const QByteArray wanted = ExpectedFile(date, "", ContentOf(bytes), expected);
    ASSERT_EQ(bytes.size(), wanted.size());
    EXPECT_TRUE(bytes == wanted) << "first difference at "
                                 << std::mismatch(bytes.begin(), bytes.end(), wanted.begin()).first
            - bytes.begin();
}

bool SameFileSystem(const QString& a, const QString& b)
{
    struct stat sa { };
    struct stat sb { };
    return ::stat(QFile::encodeName(a).constData(), &sa) == 0
        && ::stat(QFile::encodeName(b).constData(), &sb) == 0 && sa.st_dev == sb.st_dev;
}

// Limits the size of files this process writes for one scope; writing beyond
// fails with EFBIG instead of raising SIGXFSZ.
class ScopedFileSizeLimit {
public:
    explicit ScopedFileSizeLimit(rlim_t bytes)
    {
        savedHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        ::getrlimit(RLIMIT_FSIZE, &saved_);
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        active_ = ::setrlimit(RLIMIT_FSIZE, &limit) == 0;
    }
    ~ScopedFileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, savedHandler_);
    }
    bool Active() const { return active_; }

private:
    rlimit saved_ {};
    void (*savedHandler_)(int) = nullptr;
    bool active_ = false;
};

} // namespace

TEST_F(PdfWriterTest, LargeImagesAreCopiedIntoTheFileByteExact)
{
    const QList<QImage> images = LargeImages();
    ExpectExactFileOf(Write(images), images);
}

TEST_F(PdfWriterTest, OutputIsTheSameBytesWhereverTheImagesWait)
{
    // The system temporary folder, memory, and /dev/shm (usually a memory
    // file system, so the images are copied between file systems).
    const QList<QImage> images = LargeImages();
    ExpectExactFileOf(Write(images), images);
    writer.SetTemporaryStorage(TPrintPDF::TempStorage::Memory);
    writer.BeginDoc();
    for (const QImage& image : images)
        writer.DrawBitmap(0, 0, image);
    char link[64] = {};
    ASSERT_GT(::readlink(
                  QByteArray("/proc/self/fd/" + QByteArray::number(writer.TemporaryFileHandle())).constData(),
                  link, sizeof link - 1),
        0);
    EXPECT_TRUE(QByteArray(link).startsWith("/memfd:")) << link;
    writer.EndDoc();
    ExpectExactFileOf(testsupport::readAll(writer.FileName()), images);

    const QString other = QStringLiteral("/dev/shm");
    if (!QFileInfo(other).isDir() || !QFileInfo(other).isWritable() || SameFileSystem(other, folder.path()))
        GTEST_SKIP() << "no second file system for temporary files";
    const testsupport::ScopedEnv tmp("TMPDIR", other.toUtf8());
    writer.SetTemporaryStorage(TPrintPDF::TempStorage::Folder);
    writer.BeginDoc();
    for (const QImage& image : images)
        writer.DrawBitmap(0, 0, image);
    struct stat shm { };
    ASSERT_EQ(::stat("/dev/shm", &shm), 0);
    EXPECT_EQ(TempFileOf(writer).device, shm.st_dev);
    writer.EndDoc();
    ExpectExactFileOf(testsupport::readAll(writer.FileName()), images);
}

TEST_F(PdfWriterTest, OutputThatFailsWhileAnImageIsCopiedRaisesAndIsRemoved)
{
    for (const auto storage : {TPrintPDF::TempStorage::Folder, TPrintPDF::TempStorage::Memory}) {
        writer.SetTemporaryStorage(storage);
        writer.BeginDoc();
        writer.DrawBitmap(0, 0, Detailed(300, 200)); // 180000 pixel bytes
        const FileId temp = TempFileOf(writer);
        {
            // The objects before the image fit; the image does not.
            const ScopedFileSizeLimit limit(64 * 1024);
            if (!limit.Active())
                GTEST_SKIP() << "cannot limit the file size";
            try {
                writer.EndDoc();
                ADD_FAILURE() << "no exception";
            } catch (const EWriteError& e) {
                EXPECT_TRUE(e.Message().contains(writer.FileName())) << e.what();
            }
        }
        EXPECT_FALSE(QFileInfo::exists(writer.FileName())) << "a partial file is removed";
        EXPECT_TRUE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
        EXPECT_FALSE(StillOpen(temp));
        EXPECT_EQ(writer.TemporaryFileHandle(), -1);
        // The writer is ready for the next document.
        const QList<QImage> images = {Detailed(300, 200)};
        ExpectExactFileOf(Write(images), images);
        QFile::remove(writer.FileName());
    }
}

TEST_F(PdfWriterTest, AFailedSaveKeepsTheDocumentItWouldReplace)
{
    const QByteArray good = Write({SixPixels()});
    writer.BeginDoc();
    writer.DrawBitmap(0, 0, Detailed(300, 200));
    {
        const ScopedFileSizeLimit limit(64 * 1024);
        if (!limit.Active())
            GTEST_SKIP() << "cannot limit the file size";
        EXPECT_THROW(writer.EndDoc(), EWriteError);
    }
    EXPECT_EQ(folder.read(QStringLiteral("out.pdf")), good);
    EXPECT_EQ(
        QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList {QStringLiteral("out.pdf")})
        << "no part of the new document is left beside it";
}

TEST_F(PdfWriterTest, OutputThroughALinkReplacesTheFileItNamesOnlyWhenWhole)
{
    // The link stays (it is the user's); the file it names keeps its good
    // document through a failed save and gets the new one from a whole save.
    const QString target = folder.file(QStringLiteral("target.pdf"));
    const QString link = folder.file(QStringLiteral("link.pdf"));
    folder.write(QStringLiteral("target.pdf"), "%PDF-1.4 the old document");
    ASSERT_EQ(::symlink(QFile::encodeName(target).constData(), QFile::encodeName(link).constData()), 0);
    writer.SetFileName(link);
    writer.BeginDoc();
    writer.DrawBitmap(0, 0, Detailed(300, 200));
    {
        const ScopedFileSizeLimit limit(64 * 1024);
        if (!limit.Active())
            GTEST_SKIP() << "cannot limit the file size";
        EXPECT_THROW(writer.EndDoc(), EWriteError);
    }
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(folder.read(QStringLiteral("target.pdf")), QByteArray("%PDF-1.4 the old document"));
    const QList<QImage> images = {Detailed(300, 200)};
    ExpectExactFileOf(Write(images), images);
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_TRUE(folder.read(QStringLiteral("target.pdf")).endsWith("%%EOF\r\n"));
}

TEST_F(PdfWriterTest, FileNameWithANulCharacterIsRefused)
{
    writer.SetFileName(folder.file(QStringLiteral("cut.pdf")) + QChar(0) + QStringLiteral("rest.pdf"));
    writer.BeginDoc();
    writer.DrawBitmap(0, 0, SixPixels());
    EXPECT_THROW(writer.EndDoc(), EFCreateError);
    EXPECT_TRUE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
}

// A program that ignores SIGXFSZ (as the suite's programs do) sees a save past
// the file size limit fail with an error; without it the process is killed.
TEST(PdfWriterProcess, ASavePastTheFileSizeLimitFailsInsteadOfKillingTheProgram)
{
    testsupport::TempFolder folder;
    const auto save = [&](bool ignoreSignal) {
        if (ignoreSignal)
            IgnoreFileSizeSignal();
        TPrintPDF pdf;
        pdf.SetScreenDpi(96, 96);
        pdf.SetFileName(folder.file(QStringLiteral("big.pdf")));
        pdf.BeginDoc();
        pdf.DrawBitmap(0, 0, Detailed(300, 200));
        rlimit limit {};
        ::getrlimit(RLIMIT_FSIZE, &limit);
        limit.rlim_cur = 64 * 1024;
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0)
            ::_exit(3);
        try {
            pdf.EndDoc();
        } catch (const EWriteError&) {
            ::_exit(QFileInfo::exists(folder.file(QStringLiteral("big.pdf"))) ? 2 : 0);
        }
        ::_exit(1);
    };
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(save(true), ::testing::ExitedWithCode(0), "");
    EXPECT_EXIT(save(false), ::testing::KilledBySignal(SIGXFSZ), "");
}

TEST_F(PdfWriterTest, ImagesWaitInAFileWithoutANameGoneAfterEndDoc)
{
    testsupport::TempFolder work;
    testsupport::TempFolder temporary;
    const ScopedCurrentFolder cwd(work.path());
    const testsupport::ScopedEnv tmp("TMPDIR", temporary.path().toUtf8());
    writer.BeginDoc();
    EXPECT_EQ(writer.TemporaryFileHandle(), -1);
    writer.DrawBitmap(0, 0, SixPixels());
    writer.DrawBitmap(10, 10, Quadrants(4, 4));
    const FileId temp = TempFileOf(writer);
    // In the temporary folder's file system, under no name there or anywhere.
    struct stat folderInfo { };
    ASSERT_EQ(::stat(QFile::encodeName(temporary.path()).constData(), &folderInfo), 0);
    EXPECT_EQ(temp.device, folderInfo.st_dev);
    EXPECT_EQ(temp.links, nlink_t(0));
    EXPECT_TRUE(Entries(temporary.path()).isEmpty());
    // The image objects lie back to back: dictionary and pixels of the
    // first, then the second's dictionary.
    const QByteArray first = "<< /Type /XObject\r\n/Subtype /Image\r\n/Width 3\r\n/Height 2\r\n"
                             "/ColorSpace /DeviceRGB\r\n/BitsPerComponent 8\r\n/Length 18\r\n"
                             "/Name /Im1\r\n>>\r\nstream\r\n"
        + SixPixelBytes();
    const QByteArray parked = ReadAt(writer.TemporaryFileHandle(), 0, 4096);
    EXPECT_TRUE(parked.startsWith(first));
    EXPECT_TRUE(parked.mid(first.size()).startsWith("<< /Type /XObject\r\n"));
    EXPECT_TRUE(parked.mid(first.size()).contains("/Name /Im2\r\n"));
    // The second dictionary is as long as the first ("/Width 4", "/Length 48").
    EXPECT_EQ(parked.size(), first.size() + (first.size() - 18) + 4 * 4 * 3);

    writer.EndDoc();
    EXPECT_FALSE(StillOpen(temp));
    EXPECT_EQ(writer.TemporaryFileHandle(), -1);
    EXPECT_TRUE(Entries(temporary.path()).isEmpty());
    EXPECT_TRUE(Entries(work.path()).isEmpty()) << "nothing in the working folder";
    EXPECT_TRUE(QFileInfo::exists(writer.FileName()));
}

TEST_F(PdfWriterTest, TwoWritersDoNotShareTemporaryFiles)
{
    TPrintPDF other;
    other.SetFileName(folder.file(QStringLiteral("other.pdf")));
    writer.BeginDoc();
    other.BeginDoc();
    writer.DrawBitmap(0, 0, SixPixels());
    other.DrawBitmap(0, 0, Quadrants(6, 6));
    const FileId mine = TempFileOf(writer);
    const FileId theirs = TempFileOf(other);
    EXPECT_FALSE(mine.device == theirs.device && mine.inode == theirs.inode);
    writer.EndDoc();
    EXPECT_FALSE(StillOpen(mine));
    EXPECT_TRUE(StillOpen(theirs)) << "the other document is not finished";
    other.EndDoc();
    QString error;
    const ParsedPdf a = Parse(testsupport::readAll(writer.FileName()), &error);
    const ParsedPdf b = Parse(testsupport::readAll(other.FileName()), &error);
    EXPECT_EQ(a.StreamData(21, 18), SixPixelBytes());
    EXPECT_EQ(b.IntegerAfter(21, "/Width "), 6);
}

TEST_F(PdfWriterTest, OutputThatCannotBeCreatedRaisesAndLeavesNoTemporaryFile)
{
    writer.SetFileName(folder.file(QStringLiteral("missing/folder/out.pdf")));
    writer.BeginDoc();
    writer.DrawBitmap(0, 0, SixPixels());
    const FileId temp = TempFileOf(writer);
    ASSERT_TRUE(StillOpen(temp));
    EXPECT_THROW(writer.EndDoc(), EFCreateError);
    EXPECT_FALSE(StillOpen(temp));
    EXPECT_FALSE(QFileInfo::exists(writer.FileName()));
}

TEST_F(PdfWriterTest, OutputThatCannotBeWrittenRaises)
{
    if (!QFileInfo::exists(QStringLiteral("/dev/full")))
        GTEST_SKIP() << "no /dev/full";
    writer.SetFileName(QStringLiteral("/dev/full"));
    writer.BeginDoc();
    writer.DrawBitmap(0, 0, Quadrants(100, 100));
    const FileId temp = TempFileOf(writer);
    try {
        writer.EndDoc();
        FAIL() << "no exception";
    } catch (const EWriteError& e) {
        EXPECT_TRUE(e.Message().contains(QStringLiteral("/dev/full"))) << e.what();
    }
    EXPECT_FALSE(StillOpen(temp));
    EXPECT_TRUE(QFileInfo::exists(QStringLiteral("/dev/full"))) << "a device is never removed";
}

TEST_F(PdfWriterTest, TemporaryFileThatEndedEarlyRaisesAndWritesNothing)
{
    for (const auto storage : {TPrintPDF::TempStorage::Folder, TPrintPDF::TempStorage::Memory}) {
        writer.SetTemporaryStorage(storage);
        writer.BeginDoc();
        writer.DrawBitmap(0, 0, SixPixels());
        writer.DrawBitmap(0, 0, SixPixels());
        const FileId temp = TempFileOf(writer);
        // Someone cuts the second image short: one byte of its pixels is missing.
        struct stat info { };
        ASSERT_EQ(::fstat(writer.TemporaryFileHandle(), &info), 0);
        ASSERT_EQ(::ftruncate(writer.TemporaryFileHandle(), info.st_size - 1), 0);
        try {
            writer.EndDoc();
            ADD_FAILURE() << "no exception";
        } catch (const Exception& e) {
            EXPECT_EQ(e.ClassName(), QStringLiteral("EReadError"));
            EXPECT_TRUE(e.Message().contains(QStringLiteral("temporary image file"))) << e.what();
        }
        EXPECT_FALSE(StillOpen(temp));
        EXPECT_FALSE(QFileInfo::exists(writer.FileName())) << "no file is written";
    }
}

TEST_F(PdfWriterTest, FailedDrawBitmapLeavesTheDocumentAsItWas)
{
    // A temporary folder that is a file: nothing can be created below it, even by root.
    const QString notAFolder = folder.write(QStringLiteral("file"), "x");
    writer.BeginDoc();
    {
        const testsupport::ScopedEnv tmp("TMPDIR", notAFolder.toUtf8());
        EXPECT_THROW(writer.DrawBitmap(0, 0, SixPixels()), EFCreateError);
    }
    {
        const testsupport::ScopedEnv tmp("TMPDIR", folder.file(QStringLiteral("no/such/folder")).toUtf8());
        EXPECT_THROW(writer.DrawBitmap(0, 0, SixPixels()), EFCreateError);
    }
    EXPECT_EQ(writer.TemporaryFileHandle(), -1);
    writer.EndDoc();
    QString error;
    const ParsedPdf pdf = Parse(testsupport::readAll(writer.FileName()), &error);
    EXPECT_TRUE(error.isEmpty()) << error.toStdString();
    EXPECT_EQ(pdf.xrefCount, 23) << "the failed image is not in the file";
}

TEST_F(PdfWriterTest, ImageThatCannotBeParkedLeavesTheOthersExact)
{
    // The second image is written in part, then the temporary file is full;
    // the third takes its place.
    for (const auto storage : {TPrintPDF::TempStorage::Folder, TPrintPDF::TempStorage::Memory}) {
        writer.SetTemporaryStorage(storage);
        const QImage big = Detailed(300, 200); // 180000 pixel bytes
        const QImage small = Quadrants(5, 3);
        writer.BeginDoc();
        writer.DrawBitmap(0, 0, SixPixels());
        {
            const ScopedFileSizeLimit limit(100 * 1024);
            if (!limit.Active())
                GTEST_SKIP() << "cannot limit the file size";
            try {
                writer.DrawBitmap(0, 0, big);
                ADD_FAILURE() << "no exception";
            } catch (const EWriteError& e) {
                EXPECT_TRUE(e.Message().contains(QStringLiteral("temporary image file"))) << e.what();
            }
        }
        writer.DrawBitmap(0, 0, small);
        writer.EndDoc();
        const QByteArray bytes = testsupport::readAll(writer.FileName());
        const QByteArray content
            = Lines({"q", "2 0 0 1 0 791 cm", "/Im1 Do", "Q", "q", "3 0 0 2 0 790 cm", "/Im2 Do", "Q"});
        const QByteArray wanted = ExpectedFile(
            CreationDateOf(bytes), "", content, {ExpectedImage {3, 2, SixPixelBytes()}, Expected(small)});
        EXPECT_TRUE(bytes == wanted) << bytes.left(4000).toStdString();
    }
}
TEST_F(PdfWriterTest, PathTextWithBackslashesIsWritten)
{
    writer.SetFileName(folder.path() + QStringLiteral("\\slip.pdf"));
    Write({SixPixels()});
    EXPECT_TRUE(folder.exists(QStringLiteral("slip.pdf")));
}

TEST_F(PdfWriterTest, ExistingFileIsReplaced)
{
    folder.write(QStringLiteral("out.pdf"), QByteArray(100000, 'x'));
    const QByteArray bytes = Write();
    EXPECT_TRUE(bytes.startsWith("%PDF-1.4\r\n"));
    EXPECT_TRUE(bytes.endsWith("%%EOF\r\n"));
}

TEST_F(PdfWriterTest, DrawingOrEndingWithoutBeginDocRaises)
{
    TPrintPDF fresh;
    fresh.SetFileName(folder.file(QStringLiteral("never.pdf")));
    EXPECT_THROW(fresh.DrawBitmap(0, 0, SixPixels()), EInOutError);
    EXPECT_THROW(fresh.EndDoc(), EInOutError);
    EXPECT_FALSE(folder.exists(QStringLiteral("never.pdf")));
    // EndDoc ends the document: a second EndDoc raises too.
    fresh.BeginDoc();
    fresh.EndDoc();
    EXPECT_THROW(fresh.EndDoc(), EInOutError);
}

TEST_F(PdfWriterTest, DestroyingAnUnfinishedWriterRemovesItsTemporaryFile)
{
    FileId temp;
    {
        TPrintPDF unfinished;
        unfinished.BeginDoc();
        unfinished.DrawBitmap(0, 0, SixPixels());
        temp = TempFileOf(unfinished);
        ASSERT_TRUE(StillOpen(temp));
    }
    EXPECT_FALSE(StillOpen(temp));
}
