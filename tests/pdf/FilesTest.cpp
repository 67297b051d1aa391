// Temporary image files, the output file and failures.
#include "PdfWriterFixture.h"

#include "runtime/system/Exceptions.h"

#include <QDir>
#include <QFileInfo>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

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

QStringList Entries(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
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

TEST_F(PdfWriterTest, TemporaryFilesOnAnotherFileSystemAreCopiedByteExact)
{
    // The output folder is below the usual temporary folder; /dev/shm is
    // usually a memory file system, where the kernel cannot copy within one
    // file system.
    const QString other = QStringLiteral("/dev/shm");
    if (!QFileInfo(other).isDir() || !QFileInfo(other).isWritable() || SameFileSystem(other, folder.path()))
        GTEST_SKIP() << "no second file system for temporary files";
    const testsupport::ScopedEnv tmp("TMPDIR", other.toUtf8());
    const QList<QImage> images = LargeImages();
    writer.BeginDoc();
    for (const QImage& image : images)
        writer.DrawBitmap(0, 0, image);
    ASSERT_TRUE(writer.TemporaryFolder().startsWith(other + QLatin1Char('/')));
    writer.EndDoc();
    ExpectExactFileOf(testsupport::readAll(writer.FileName()), images);
}

TEST_F(PdfWriterTest, OutputThatFailsWhileAnImageIsCopiedRaisesAndIsRemoved)
{
    writer.BeginDoc();
    writer.DrawBitmap(0, 0, Detailed(300, 200)); // 180000 pixel bytes
    const QString temp = writer.TemporaryFolder();
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
    EXPECT_FALSE(QFileInfo::exists(temp));
    // The writer is ready for the next document.
    const QList<QImage> images = {Detailed(300, 200)};
    ExpectExactFileOf(Write(images), images);
}

TEST_F(PdfWriterTest, ImagesWaitInPrivateTemporaryFilesRemovedByEndDoc)
{
    testsupport::TempFolder work;
    const ScopedCurrentFolder cwd(work.path());
    writer.BeginDoc();
    EXPECT_TRUE(writer.TemporaryFolder().isEmpty());
    writer.DrawBitmap(0, 0, SixPixels());
    writer.DrawBitmap(10, 10, Quadrants(4, 4));
    const QString temp = writer.TemporaryFolder();
    ASSERT_FALSE(temp.isEmpty());
    EXPECT_TRUE(
        QFileInfo(temp).absoluteFilePath().startsWith(QFileInfo(QDir::tempPath()).absoluteFilePath()));
    EXPECT_EQ(Entries(temp), QStringList({QStringLiteral("~tmpim1"), QStringLiteral("~tmpim2")}));
    // The first image file holds the image object body.
    const QByteArray body = testsupport::readAll(temp + QStringLiteral("/~tmpim1"));
    EXPECT_TRUE(body.startsWith("<< /Type /XObject\r\n"));
    EXPECT_TRUE(body.endsWith("stream\r\n" + SixPixelBytes()));

    writer.EndDoc();
    EXPECT_FALSE(QFileInfo::exists(temp));
    EXPECT_TRUE(writer.TemporaryFolder().isEmpty());
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
    EXPECT_NE(writer.TemporaryFolder(), other.TemporaryFolder());
    writer.EndDoc();
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
    const QString temp = writer.TemporaryFolder();
    ASSERT_TRUE(QFileInfo::exists(temp));
    EXPECT_THROW(writer.EndDoc(), EFCreateError);
    EXPECT_FALSE(QFileInfo::exists(temp));
    EXPECT_FALSE(QFileInfo::exists(writer.FileName()));
}

TEST_F(PdfWriterTest, OutputThatCannotBeWrittenRaises)
{
    if (!QFileInfo::exists(QStringLiteral("/dev/full")))
        GTEST_SKIP() << "no /dev/full";
    writer.SetFileName(QStringLiteral("/dev/full"));
    writer.BeginDoc();
    writer.DrawBitmap(0, 0, Quadrants(100, 100));
    const QString temp = writer.TemporaryFolder();
    try {
        writer.EndDoc();
        FAIL() << "no exception";
    } catch (const EWriteError& e) {
        EXPECT_TRUE(e.Message().contains(QStringLiteral("/dev/full"))) << e.what();
    }
    EXPECT_FALSE(QFileInfo::exists(temp));
    EXPECT_TRUE(QFileInfo::exists(QStringLiteral("/dev/full"))) << "a device is never removed";
}

TEST_F(PdfWriterTest, TemporaryFileThatCannotBeReadRaises)
{
    writer.BeginDoc();
    writer.DrawBitmap(0, 0, SixPixels());
    writer.DrawBitmap(0, 0, SixPixels());
    const QString temp = writer.TemporaryFolder();
    ASSERT_TRUE(QFile::remove(temp + QStringLiteral("/~tmpim2")));
    try {
        writer.EndDoc();
        FAIL() << "no exception";
    } catch (const Exception& e) {
        EXPECT_EQ(e.ClassName(), QStringLiteral("EFOpenError"));
        EXPECT_TRUE(e.Message().contains(QStringLiteral("~tmpim2"))) << e.what();
    }
    EXPECT_FALSE(QFileInfo::exists(temp));
    EXPECT_FALSE(QFileInfo::exists(writer.FileName())) << "no file is written";
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
    EXPECT_TRUE(writer.TemporaryFolder().isEmpty());
    writer.EndDoc();
    QString error;
    const ParsedPdf pdf = Parse(testsupport::readAll(writer.FileName()), &error);
    EXPECT_TRUE(error.isEmpty()) << error.toStdString();
    EXPECT_EQ(pdf.xrefCount, 23) << "the failed image is not in the file";
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

TEST_F(PdfWriterTest, DestroyingAnUnfinishedWriterRemovesItsTemporaryFiles)
{
    QString temp;
    {
        TPrintPDF unfinished;
        unfinished.BeginDoc();
        unfinished.DrawBitmap(0, 0, SixPixels());
        temp = unfinished.TemporaryFolder();
        ASSERT_TRUE(QFileInfo::exists(temp));
    }
    EXPECT_FALSE(QFileInfo::exists(temp));
}
