// Temporary image files, the output file and failures.
#include "PdfWriterFixture.h"

#include "runtime/system/Exceptions.h"

#include <QDir>
#include <QFileInfo>

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

} // namespace

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
