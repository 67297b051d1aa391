// The download library's stamp comparison and its transports: folders,
// file:// and http:// against a server on loopback.

#include "HVDownLoadFixture.h"
#include "support/TestHttpServer.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

using testsupport::ScopedEnv;
using testsupport::TestHttpServer;

namespace {

void SetModified(const QString& path, const QDateTime& moment)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(moment, QFileDevice::FileModificationTime));
}

} // namespace

TEST_F(HVDownLoadTest, StampAgainstTheLocalFile)
{
    const QString local = temp_.write("pkg/libZORV52S.so", "old");
    const QDateTime noon(QDate(2026, 3, 14), QTime(12, 0, 0), Qt::LocalTime);
    SetModified(local, noon.addMSecs(400)); // fractions of a second do not make it newer

    EXPECT_EQ(Compare("20260314120000", local), 0) << "same second";
    EXPECT_EQ(Compare(" 20260314120000 ", local), 0) << "blanks around the stamp";
    EXPECT_NE(Compare("20260314120001", local), 0) << "server one second newer";
    EXPECT_EQ(Compare("20260314115959", local), 0) << "server older";
    EXPECT_NE(Compare("20260314120000", temp_.file("pkg/missing.so")), 0) << "no local file";

    // No usable stamp: the server has no copy, nothing is fetched.
    for (const char* stamp : {"", "2026031412000", "2026-03-14 12:00", "20260230120000", "20260314250000"}) {
        EXPECT_EQ(Compare(stamp, local), 0) << stamp;
        EXPECT_EQ(Compare(stamp, temp_.file("pkg/missing.so")), 0) << stamp;
    }
}

TEST_F(HVDownLoadTest, FolderSourceFoundWhateverTheCaseAndTargetReplacedWhole)
{
    const QByteArray content(300000, 'z');
    temp_.write("Server/S_PKG/libzorv52s.so.zip", content);
    const QString target = temp_.write("tmp/libzorv52s.so.zip", "previous");
    QString error;
    int bytes = 0;
    int status = -1;
    // The module lower-cases the server folder.
    ASSERT_TRUE(Download(
        temp_.file("Server/S_PKG/libzorv52s.so.zip").toLower(), target, error, "60", &bytes, &status))
        << error.toStdString();
    EXPECT_EQ(error, QString());
    EXPECT_EQ(bytes, content.size());
    EXPECT_EQ(status, 0);
    EXPECT_EQ(temp_.read("tmp/libzorv52s.so.zip"), content);
    // Nothing but the target is left in its folder (no temporary files).
    EXPECT_EQ(
        QDir(temp_.file("tmp")).entryList(QDir::Files | QDir::Hidden), QStringList {"libzorv52s.so.zip"});

    ASSERT_TRUE(
        Download("file://" + temp_.file("SERVER/s_pkg/LIBZORV52S.SO.ZIP"), temp_.file("tmp/b.zip"), error))
        << error.toStdString();
    EXPECT_EQ(temp_.read("tmp/b.zip"), content);
}

TEST_F(HVDownLoadTest, FailedFetchLeavesTheTargetAlone)
{
    const QString target = temp_.write("tmp/x.zip", "previous");
    QString error;
    EXPECT_FALSE(Download(temp_.file("server/absent.zip"), target, error));
    EXPECT_TRUE(error.contains("absent.zip")) << error.toStdString();
    EXPECT_FALSE(Download("ftp://127.0.0.1/x.zip", target, error));
    EXPECT_TRUE(error.contains("ftp://")) << error.toStdString();
    EXPECT_FALSE(Download(temp_.file("server"), target, error)) << "a folder is no file";
    temp_.write("server/big.zip", QByteArray(5000, 'b'));
    {
        ScopedEnv limit("STEWARD_DOWNLOAD_MAX_BYTES", "4096");
        EXPECT_FALSE(Download(temp_.file("server/big.zip"), target, error));
        EXPECT_TRUE(error.contains("larger than 4096")) << error.toStdString();
    }
    EXPECT_EQ(temp_.read("tmp/x.zip"), "previous");
    EXPECT_EQ(QDir(temp_.file("tmp")).entryList(QDir::Files | QDir::Hidden), QStringList {"x.zip"});
}

TEST_F(HVDownLoadTest, LongErrorTextIsCutWithinTheBufferOnACharacterBoundary)
{
    // 120 three-byte characters: the message is far longer than 255 bytes.
    const QString name = QString(120, QChar(0x53D8)) + ".zip";
    QString error;
    EXPECT_FALSE(Download(temp_.file(name), temp_.file("t.zip"), error));
    const QByteArray bytes = error.toUtf8();
    EXPECT_LE(bytes.size(), 255);
    EXPECT_GE(bytes.size(), 250);
    EXPECT_FALSE(error.contains(QChar::ReplacementCharacter)) << "a character was cut in half";
}

TEST_F(HVDownLoadTest, HttpDownload)
{
    TestHttpServer server;
    ASSERT_NE(server.Port(), 0);
    const QByteArray content = QByteArray("PK-archive-bytes-").repeated(2000);
    server.Serve("/pkg/libzorv52s.so.zip", content);
    const QString target = temp_.file("libzorv52s.so.zip");
    QString error;
    int bytes = 0;
    int status = 0;
    ASSERT_TRUE(Download(server.Url("/pkg/libzorv52s.so.zip"), target, error, "60", &bytes, &status))
        << error.toStdString();
    EXPECT_EQ(status, 200);
    EXPECT_EQ(bytes, content.size());
    EXPECT_EQ(temp_.read("libzorv52s.so.zip"), content);
    EXPECT_EQ(server.LastUserAgent(), "PLKT HVDownLoad");

    EXPECT_FALSE(Download(server.Url("/pkg/other.zip"), target, error, "60", &bytes, &status));
    EXPECT_EQ(status, 404);
    EXPECT_TRUE(error.contains("404")) << error.toStdString();
    EXPECT_EQ(temp_.read("libzorv52s.so.zip"), content) << "a failed request keeps the earlier file";
}

TEST_F(HVDownLoadTest, HttpFailingTwiceThenSucceeding)
{
    TestHttpServer server;
    server.Serve("/a.zip", "payload");
    server.FailNext(2, 503);
    const QString target = temp_.file("a.zip");
    QString error;
    EXPECT_FALSE(Download(server.Url("/a.zip"), target, error));
    EXPECT_TRUE(error.contains("503")) << error.toStdString();
    EXPECT_FALSE(QFileInfo::exists(target));
    EXPECT_FALSE(Download(server.Url("/a.zip"), target, error));
    EXPECT_TRUE(Download(server.Url("/a.zip"), target, error)) << error.toStdString();
    EXPECT_EQ(error, QString());
    EXPECT_EQ(temp_.read("a.zip"), "payload");
    EXPECT_EQ(server.Requests(), 3);
}

TEST_F(HVDownLoadTest, HttpLimitsAndTimeOut)
{
    TestHttpServer server;
    server.Serve("/big.zip", QByteArray(10000, 'b'));
    QString error;
    {
        ScopedEnv limit("STEWARD_DOWNLOAD_MAX_BYTES", "4096");
        EXPECT_FALSE(Download(server.Url("/big.zip"), temp_.file("big.zip"), error));
        EXPECT_TRUE(error.contains("larger than 4096")) << error.toStdString();
        EXPECT_FALSE(QFileInfo::exists(temp_.file("big.zip")));
    }
    // A server that takes the request and never answers: the one-second
    // time-out ends the wait with a failure instead of hanging the program.
    server.StaySilent(true);
    EXPECT_FALSE(Download(server.Url("/big.zip"), temp_.file("big.zip"), error, "1"));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(temp_.file("big.zip")));
}
