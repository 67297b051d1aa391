// Reading the manager's file information, and updating from an http server.

#include "UpdateFixture.h"

#include "support/TestHttpServer.h"
#include "update/HVDownLoadNewFileU.h"

#include <QFileInfo>

using testsupport::TestHttpServer;
using testsupport::TestZip;

TEST(FileInfo, BothNotations)
{
    struct Case {
        QString Info;
        QString Stamp;
        QString Folder;
    };
    const Case cases[] = {
        {"<Modify>20261130080000</Modify><Path>D:\\Srv\\S_PKG\\libZORV52S.so</Path>", "20261130080000",
            "D:\\Srv\\S_PKG\\"},
        {"Modify = '20261130080000' Path = 'D:\\Srv\\S_PKG\\libZORV52S.so'", "20261130080000",
            "D:\\Srv\\S_PKG\\"},
        // Tags win over assignments; the first of each counts.
        {"Modify = '1' <Modify>2</Modify><Modify>3</Modify><Path>\\\\h\\s\\x</Path>", "2", "\\\\h\\s\\"},
        // A missing closing mark gives an empty value.
        {"<Modify>20261130080000<Path>D:\\a\\b</Path>", "", "D:\\a\\"},
        // An unclosed quote runs on to the next quote.
        {"Modify = '20261130080000 Path = 'D:\\a\\b'", "20261130080000 Path = ", "D:\\a\\"},
        {"<Path>http://127.0.0.1:8080/pkg/libZORV52S.so</Path>", "", "http://127.0.0.1:8080/pkg/"},
        {"<Path>libZORV52S.so</Path>", "", ""},
        {"", "", ""},
    };
    for (const Case& c : cases) {
        QString stamp = "unchanged";
        QString folder = "unchanged";
        ParseFileInfo(c.Info, stamp, folder);
        EXPECT_EQ(stamp.toStdString(), c.Stamp.toStdString()) << c.Info.toStdString();
        EXPECT_EQ(folder.toStdString(), c.Folder.toStdString()) << c.Info.toStdString();
    }
}

TEST_F(UpdateFixture, HttpServerFailingTwiceThenRetriedToSuccess)
{
    TestHttpServer server;
    ASSERT_NE(server.Port(), 0);
    const QString zipFile = temp_.file("made.zip");
    TestZip zip;
    zip.File("libZORV52S.so", "library from http");
    ASSERT_TRUE(zip.Write(zipFile));
    // The server folder reaches the download in lower case; the name keeps its case.
    server.Serve("/pkg/libZORV52S.so.zip", testsupport::readAll(zipFile));
    server.FailNext(2, 503);
    const QString local = WriteFile("work/libZORV52S.so", "old", old_);
    dialogs_.ExpectMessage(mrRetry, "DownLoad new file[" + local + "] failed. ");
    dialogs_.ExpectMessage(mrRetry, "503");
    const QString info = QStringLiteral("<Modify>%1</Modify><Path>%2</Path>")
                             .arg(Stamp(new_), server.Url("/PKG/libZORV52S.so").replace("/PKG/", "/Pkg/"));
    QString error;
    ASSERT_TRUE(UpdateFileFromInfo(info, local, error, true)) << error.toStdString();
    EXPECT_EQ(temp_.read("work/libZORV52S.so"), "library from http");
    EXPECT_EQ(server.Requests(), 3);
    EXPECT_EQ(server.LastPath(), "/pkg/libZORV52S.so.zip");
    EXPECT_EQ(server.LastUserAgent(), "PLKT HVDownLoad");
}
