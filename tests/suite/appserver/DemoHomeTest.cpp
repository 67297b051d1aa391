// The demo home generator: the files a client home needs, and data that
// covers the cases the program has to print.
#include "DemoServerFixture.h"

#include "common/StewardINI.h"

#include <QCryptographicHash>
#include <QFile>

class DemoHomeTest : public DemoServerTest { };

TEST_F(DemoHomeTest, ConfigurationFilesDescribeTheHome)
{
    TStewardIniS server;
    ASSERT_TRUE(server.LoadSettings());
    EXPECT_EQ(server.Databases.At(0, 3).ToString(), QStringLiteral("SQLITE"));
    EXPECT_EQ(server.Databases.At(0, 4).ToString(), QStringLiteral("C_DATA\\DEMO.db"));
    TStewardIniC client;
    ASSERT_TRUE(client.LoadSettings());
    EXPECT_EQ(client.UICodePage, QStringLiteral("936"));
    EXPECT_EQ(client.LangType, QStringLiteral("CHS"));
    for (const char* folder : {"C_TEMP", "C_HVBIN", "C_PKG", "Log", "MultiLanguage/CHT"})
        EXPECT_TRUE(QDir(home_.file(QLatin1String(folder))).exists()) << folder;
    EXPECT_TRUE(home_.read("UserDef.ini").contains("[VoucherFormatDef]"));
}

TEST_F(DemoHomeTest, DataCoversTheCasesOfThePrintout)
{
    EXPECT_EQ(Count(QStringLiteral("SELECT COUNT(*) FROM MOCTO")), 240);
    EXPECT_EQ(Count(QStringLiteral("SELECT COUNT(DISTINCT TO041) FROM MOCTO")), 3);
    EXPECT_GT(Count(QStringLiteral("SELECT COUNT(*) FROM MOCTO WHERE TO042 > 0")), 0);
    EXPECT_GT(Count(QStringLiteral("SELECT COUNT(*) FROM MOCTO WHERE TO042 = 0")), 0);
    EXPECT_EQ(Count(QStringLiteral(
                  "SELECT MIN(n) >= 1 AND MAX(n) <= 15 FROM (SELECT COUNT(*) n FROM MOCTP GROUP BY TP001, "
                  "TP002, TP003)")),
        1);
    EXPECT_EQ(
        Count(QStringLiteral("SELECT COUNT(*) FROM MOCTO LEFT JOIN MOCTP ON TP001=TO001 AND TP002=TO002 AND "
                             "TP003=TO003 WHERE TP001 IS NULL")),
        0);
    // Replaced, added and removed items.
    EXPECT_GT(
        Count(QStringLiteral("SELECT COUNT(*) FROM MOCTP WHERE TP004<>'********************' AND TP104<>''")),
        0);
    EXPECT_GT(
        Count(QStringLiteral("SELECT COUNT(*) FROM MOCTP WHERE TP004='********************' AND TP104<>''")),
        0);
    EXPECT_GT(Count(QStringLiteral("SELECT COUNT(*) FROM MOCTP WHERE TP104=''")), 0);
    // Slip types of kinds 51 and 52 hold the slips; the kind-31 type is there to be refused.
    EXPECT_EQ(Column(QStringLiteral("SELECT DISTINCT MQ003 FROM CMSMQ JOIN MOCTO ON TO001=MQ001 ORDER BY 1")),
        (QStringList {"51", "52"}));
    EXPECT_EQ(Count(QStringLiteral("SELECT COUNT(*) FROM CMSMQ WHERE MQ003 NOT IN ('51','52')")), 1);
    EXPECT_EQ(Count(QStringLiteral("SELECT COUNT(*) FROM CMSMS WHERE MS001='2' AND MS002='TIDEWS'")), 1);
    EXPECT_EQ(Count(QStringLiteral("SELECT COUNT(*) FROM PURMA WHERE MA010='' OR MA011 NOT LIKE '%@%'")), 0);
    EXPECT_EQ(
        Count(QStringLiteral("SELECT COUNT(*) FROM MOCTO WHERE length(TO004)<>8 OR length(TO002)<>11")), 0);
    EXPECT_GT(summary_.SignOffRecords, 0);
}

TEST_F(DemoHomeTest, SameOptionsMakeTheSameDatabase)
{
    auto digest = [](const QString& file) {
        sqlite3* db = nullptr;
        sqlite3_open_v2(file.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
        QCryptographicHash hash(QCryptographicHash::Sha256);
        for (const char* sql : {"SELECT * FROM MOCTO ORDER BY TO001, TO002, TO003",
                 "SELECT * FROM MOCTP ORDER BY TP001, TP002, TP003, TP019",
                 "SELECT * FROM TWSMD ORDER BY MD001, MD002, MD003, MD005"}) {
            sqlite3_stmt* stmt = nullptr;
            sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr);
            while (sqlite3_step(stmt) == SQLITE_ROW)
                for (int i = 0; i < sqlite3_column_count(stmt); ++i)
                    hash.addData(QByteArrayView(reinterpret_cast<const char*>(sqlite3_column_text(stmt, i))));
            sqlite3_finalize(stmt);
        }
        sqlite3_close(db);
        return hash.result();
    };
    testsupport::TempFolder other;
    TDemoOptions options;
    options.Slips = 240;
    CreateDemoDatabase(other.file("again.db"), options);
    EXPECT_EQ(digest(other.file("again.db")), digest(DatabaseFile()));
    options.Seed = 7;
    CreateDemoDatabase(other.file("seed7.db"), options);
    EXPECT_NE(digest(other.file("seed7.db")), digest(DatabaseFile()));
}
