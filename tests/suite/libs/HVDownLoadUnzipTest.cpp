// Unpacking archives, hostile ones above all: nothing may be written outside
// the destination, and a refused archive writes nothing at all.

#include "HVDownLoadFixture.h"
#include "support/TestZip.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

using testsupport::ScopedEnv;
using testsupport::TestZip;

namespace {

// Every file and link below a folder with its content, for before/after checks.
QMap<QString, QByteArray> Snapshot(const QString& folder)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
        QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QFileInfo info(path);
        const QString key = QDir(folder).relativeFilePath(path);
        if (info.isSymLink())
            files.insert(key, "link->" + info.symLinkTarget().toUtf8());
        else if (info.isFile())
            files.insert(key, testsupport::readAll(path));
        else
            files.insert(key + "/", {});
    }
    return files;
}

} // namespace

class HVDownLoadUnzipTest : public HVDownLoadTest {
protected:
    void SetUp() override
    {
        HVDownLoadTest::SetUp();
        temp_.write("work/dest/libZORV52S.so", "old library");
        temp_.write("work/dest/keep.txt", "unrelated");
        temp_.write("work/outside.txt", "outside");
        before_ = Snapshot(temp_.file("work"));
    }

    // Builds the archive, unpacks it into work/dest and expects a refusal
    // whose message contains `why`, with nothing changed anywhere under work/.
    void ExpectRefused(TestZip& zip, const QString& why)
    {
        SCOPED_TRACE(why.toStdString());
        ASSERT_TRUE(zip.Write(temp_.file("a.zip"))) << zip.Error().toStdString();
        QString error;
        EXPECT_FALSE(Unzip(temp_.file("a.zip"), temp_.file("work/dest"), error));
        EXPECT_TRUE(error.contains(why)) << error.toStdString();
        EXPECT_EQ(Snapshot(temp_.file("work")), before_);
    }

    QMap<QString, QByteArray> before_;
};

TEST_F(HVDownLoadUnzipTest, UnpacksFilesAndFoldersOverTheOldOnes)
{
    TestZip zip;
    zip.File("libZORV52S.so", "new library", 0755).Folder("res/").File("res/lang/zh.txt", "text");
    zip.File("Windows\\style.ini", "backslash separator");
    ASSERT_TRUE(zip.Write(temp_.file("a.zip")));
    QString error;
    ASSERT_TRUE(Unzip(temp_.file("a.zip"), temp_.file("work/dest"), error)) << error.toStdString();
    EXPECT_EQ(error, QString());
    EXPECT_EQ(temp_.read("work/dest/libZORV52S.so"), "new library");
    EXPECT_TRUE(QFileInfo(temp_.file("work/dest/libZORV52S.so")).isExecutable());
    EXPECT_EQ(temp_.read("work/dest/res/lang/zh.txt"), "text");
    EXPECT_EQ(temp_.read("work/dest/Windows/style.ini"), "backslash separator");
    EXPECT_EQ(temp_.read("work/dest/keep.txt"), "unrelated");
    // No temporary file stays behind.
    const QStringList left = QDir(temp_.file("work/dest")).entryList(QDir::Files | QDir::Hidden);
    EXPECT_EQ(left, (QStringList {"keep.txt", "libZORV52S.so"}));

    // A missing destination folder is made.
    ASSERT_TRUE(Unzip(temp_.file("a.zip"), temp_.file("work/new/pkg"), error)) << error.toStdString();
    EXPECT_EQ(temp_.read("work/new/pkg/res/lang/zh.txt"), "text");
}

TEST_F(HVDownLoadUnzipTest, NamesLeavingTheFolderAreRefused)
{
    const struct {
        QString Name;
        QString Why;
    } cases[] = {
        {"../outside.txt", "leaves the destination folder"},
        {"sub/../../outside.txt", "leaves the destination folder"},
        {"..\\outside.txt", "leaves the destination folder"},
        {temp_.file("work/outside.txt"), "absolute name"},
        {"C:evil.txt", "absolute name"},
        {"bad\x01name", "control character"},
    };
    for (const auto& [name, why] : cases) {
        // A harmless entry first: the refusal must cover it too.
        SCOPED_TRACE(name.toStdString());
        TestZip zip;
        zip.File("good.txt", "g").File(name, "overwritten");
        ExpectRefused(zip, why);
    }
}

TEST_F(HVDownLoadUnzipTest, ANulInAStoredNameRefusesTheArchive)
{
    // libzip hands such a name on with the NUL made a blank ("evil .txt"),
    // so the stored bytes themselves are checked. The archive is written with
    // a stand-in byte, which is then made a NUL in both headers.
    for (const QByteArray& stored : {QByteArray("evil#.txt"), QByteArray("#"), QByteArray("sub/#/x.txt")}) {
        SCOPED_TRACE(stored.toStdString());
        TestZip zip;
        zip.File("good.txt", "g").File(QString::fromLatin1(stored), "smuggled");
        ASSERT_TRUE(zip.Write(temp_.file("a.zip"))) << zip.Error().toStdString();
        QByteArray bytes = temp_.read("a.zip");
        QByteArray withNul = stored;
        withNul.replace('#', '\0');
        ASSERT_EQ(bytes.count(stored), 2);
        bytes.replace(stored, withNul);
        temp_.write("a.zip", bytes);
        QString error;
        EXPECT_FALSE(Unzip(temp_.file("a.zip"), temp_.file("work/dest"), error));
        EXPECT_TRUE(error.contains("control character")) << error.toStdString();
        EXPECT_EQ(Snapshot(temp_.file("work")), before_);
    }
}

TEST_F(HVDownLoadUnzipTest, LinksAreRefusedInTheArchiveAndNotFollowedInTheDestination)
{
    {
        TestZip zip;
        zip.Link("escape", "..").File("plain.txt", "p");
        ExpectRefused(zip, "symbolic link");
    }
    // A link already in the destination, pointing outside: the archive's file
    // of that folder must not be written through it.
    ASSERT_TRUE(QFile::link(temp_.file("work"), temp_.file("work/dest/up")));
    before_ = Snapshot(temp_.file("work"));
    {
        TestZip zip;
        zip.File("up/outside.txt", "overwritten");
        ExpectRefused(zip, "is a link");
    }
    // A link in place of a file: the new file replaces the link, the file the
    // link pointed at stays as it was.
    ASSERT_TRUE(QFile::link(temp_.file("work/outside.txt"), temp_.file("work/dest/data.txt")));
    TestZip zip;
    zip.File("data.txt", "new data");
    ASSERT_TRUE(zip.Write(temp_.file("b.zip")));
    QString error;
    ASSERT_TRUE(Unzip(temp_.file("b.zip"), temp_.file("work/dest"), error)) << error.toStdString();
    EXPECT_FALSE(QFileInfo(temp_.file("work/dest/data.txt")).isSymLink());
    EXPECT_EQ(temp_.read("work/dest/data.txt"), "new data");
    EXPECT_EQ(temp_.read("work/outside.txt"), "outside");
}

TEST_F(HVDownLoadUnzipTest, ZipBombAndSizeLimits)
{
    ScopedEnv limit("STEWARD_UNZIP_MAX_BYTES", QByteArray::number(1024 * 1024));
    {
        // 4 MiB of zeros packs into a few kilobytes.
        TestZip zip;
        zip.File("libZORV52S.so", "small first file").File("zeros.bin", QByteArray(4 * 1024 * 1024, '\0'));
        ExpectRefused(zip, "zip bomb");
    }
    {
        // Many entries under the limit each, over it together.
        TestZip zip;
        for (int i = 0; i < 5; ++i)
            zip.File(QStringLiteral("part%1.bin").arg(i), QByteArray(300 * 1024, '\0'));
        ExpectRefused(zip, "zip bomb");
    }
    TestZip fits;
    fits.File("libZORV52S.so", QByteArray(1024 * 1024, '\1'));
    ASSERT_TRUE(fits.Write(temp_.file("fits.zip")));
    QString error;
    EXPECT_TRUE(Unzip(temp_.file("fits.zip"), temp_.file("work/dest"), error)) << error.toStdString();
}

TEST_F(HVDownLoadUnzipTest, ConflictingAndDamagedArchives)
{
    {
        TestZip zip;
        zip.File("a/b.txt", "one").File("a/./b.txt", "two");
        ExpectRefused(zip, "names a file twice");
    }
    {
        TestZip zip;
        zip.File("a", "file").File("a/b.txt", "inside");
        ExpectRefused(zip, "both a file and a folder");
    }
    temp_.write("broken.zip", "PK\x03\x04 this is no archive");
    QString error;
    EXPECT_FALSE(Unzip(temp_.file("broken.zip"), temp_.file("work/dest"), error));
    EXPECT_TRUE(error.contains("broken.zip")) << error.toStdString();
    EXPECT_FALSE(Unzip(temp_.file("absent.zip"), temp_.file("work/dest"), error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(Snapshot(temp_.file("work")), before_);
}

TEST_F(HVDownLoadUnzipTest, DamagedArchiveChangesNothing)
{
    // Content that does not compress, so that the middle of the archive is
    // the first entry's data (seed 16 fixed for a repeatable archive).
    QRandomGenerator random(16);
    QByteArray content(60000, '\0');
    for (char& c : content)
        c = static_cast<char>(random.bounded(256));
    TestZip zip;
    zip.File("libZORV52S.so", content).File("second.txt", "2");
    ASSERT_TRUE(zip.Write(temp_.file("a.zip")));
    QByteArray bytes = testsupport::readAll(temp_.file("a.zip"));
    // Damage the first entry's data in the middle: the checksum fails while
    // the second entry would unpack fine.
    bytes[bytes.size() / 4] = static_cast<char>(bytes[bytes.size() / 4] ^ 0x5a);
    temp_.write("damaged.zip", bytes);
    QString error;
    EXPECT_FALSE(Unzip(temp_.file("damaged.zip"), temp_.file("work/dest"), error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(Snapshot(temp_.file("work")), before_);
}
