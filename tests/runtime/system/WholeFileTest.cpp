#include "runtime/system/WholeFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

class WholeFileTest : public ::testing::Test {
protected:
    QString path(const QString& name) const { return dir_.filePath(name); }

    static QByteArray read(const QString& file)
    {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
    }

    static void put(const QString& file, const QByteArray& bytes)
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ASSERT_EQ(f.write(bytes), bytes.size());
    }

    // Everything in the folder but "." and "..", hidden files included.
    QStringList entries() const
    {
        return QDir(dir_.path())
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    }

    QTemporaryDir dir_;
};

TEST_F(WholeFileTest, ReplacesTheOldFileKeepingItsPermissionsAndLeavesNoSibling)
{
    put(path("slip.pdf"), "old document");
    ASSERT_EQ(::chmod(QFile::encodeName(path("slip.pdf")).constData(), 0640), 0);

    QString error;
    ASSERT_TRUE(WriteWholeFile(path("slip.pdf"), QByteArrayView("new document"), &error))
        << error.toStdString();

    EXPECT_EQ(read(path("slip.pdf")), "new document");
    struct stat info { };
    ASSERT_EQ(::stat(QFile::encodeName(path("slip.pdf")).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    EXPECT_EQ(entries(), QStringList {"slip.pdf"});
}

TEST_F(WholeFileTest, AWriterThatGivesUpOrAnUncommittedFileLeavesTheTargetAsItWas)
{
    put(path("format.dfm"), "the old layout");

    QString error;
    const bool written = WriteWholeFile(
        path("format.dfm"),
        [](QIODevice& device) {
            device.write("half of the new lay");
            return false;
        },
        &error);
    EXPECT_FALSE(written);
    EXPECT_TRUE(error.contains(path("format.dfm"))) << error.toStdString();

    {
        TWholeFile file(path("format.dfm"));
        ASSERT_TRUE(file.Open());
        ASSERT_TRUE(file.Write("never committed"));
        ASSERT_TRUE(QFile::exists(file.PartPath()));
    }

    EXPECT_EQ(read(path("format.dfm")), "the old layout");
    EXPECT_EQ(entries(), QStringList {"format.dfm"});
}

TEST_F(WholeFileTest, ALinkIsFollowedByPathAndReplacedWithinAnOpenFolder)
{
    ASSERT_TRUE(QDir(dir_.path()).mkdir("real"));
    put(path("real/slip.pdf"), "old");
    ASSERT_TRUE(QFile::link(path("real/slip.pdf"), path("link.pdf")));

    // By path, as the user named it: the link is theirs and stays.
    ASSERT_TRUE(WriteWholeFile(path("link.pdf"), QByteArrayView("through the link")));
    EXPECT_TRUE(QFileInfo(path("link.pdf")).isSymLink());
    EXPECT_EQ(read(path("real/slip.pdf")), "through the link");

    // Within an open folder, as an unpacker writes a package's names: a
    // planted link of that name is replaced, never written through.
    const int folder = ::open(QFile::encodeName(dir_.path()).constData(), O_RDONLY | O_DIRECTORY);
    ASSERT_GE(folder, 0);
    {
        TWholeFile file(folder, "link.pdf", "link.pdf");
        ASSERT_TRUE(file.Open(0644)) << file.Error().toStdString();
        EXPECT_TRUE(file.PartPath().isEmpty());
        ASSERT_TRUE(file.Write("unpacked"));
        ASSERT_TRUE(file.Commit()) << file.Error().toStdString();
        EXPECT_EQ(file.Size(), 8);
    }
    ::close(folder);
    EXPECT_FALSE(QFileInfo(path("link.pdf")).isSymLink());
    EXPECT_EQ(read(path("link.pdf")), "unpacked");
    EXPECT_EQ(read(path("real/slip.pdf")), "through the link");
}

TEST_F(WholeFileTest, AWriterThatOpensByNameFillsThePartPath)
{
    TWholeFile file(path("page.gif"));
    ASSERT_TRUE(file.Open());
    ASSERT_FALSE(file.PartPath().isEmpty());
    EXPECT_TRUE(QFileInfo(file.PartPath()).fileName().startsWith(".page.gif.part-"));
    put(file.PartPath(), "GIF89a...");
    EXPECT_FALSE(QFile::exists(path("page.gif")));
    ASSERT_TRUE(file.Commit()) << file.Error().toStdString();
    EXPECT_EQ(read(path("page.gif")), "GIF89a...");
    EXPECT_EQ(entries(), QStringList {"page.gif"});
}

TEST_F(WholeFileTest, ANameOfTheLongestLengthIsWritten)
{
    const QString longest(255, QLatin1Char('n'));
    QString error;
    ASSERT_TRUE(WriteWholeFile(path(longest), QByteArrayView("x"), &error)) << error.toStdString();
    EXPECT_EQ(entries(), QStringList {longest});
}

TEST_F(WholeFileTest, RefusesFoldersMissingFoldersAndBadNamesAndReportsAFullDevice)
{
    ASSERT_TRUE(QDir(dir_.path()).mkdir("folder"));
    QString error;
    EXPECT_FALSE(WriteWholeFile(path("folder"), QByteArrayView("x"), &error));
    EXPECT_TRUE(QFileInfo(path("folder")).isDir());
    EXPECT_FALSE(WriteWholeFile(path("missing/slip.pdf"), QByteArrayView("x"), &error));
    EXPECT_TRUE(error.contains("missing/slip.pdf")) << error.toStdString();
    EXPECT_EQ(entries(), QStringList {"folder"});

    // A device is written in place; its refusal is the save's error.
    if (QFile::exists("/dev/full")) {
        EXPECT_FALSE(WriteWholeFile("/dev/full", QByteArrayView("x"), &error));
        EXPECT_TRUE(error.contains(qt_error_string(ENOSPC))) << error.toStdString();
    }
    ASSERT_TRUE(WriteWholeFile("/dev/null", QByteArrayView("discarded"), &error)) << error.toStdString();
}

} // namespace
