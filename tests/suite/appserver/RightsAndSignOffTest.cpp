// Connect and the rights it reads; sign-off answers; the send log; the query log.
#include "DemoServerFixture.h"

#include <QDir>

class RightsAndSignOffTest : public DemoServerTest { };

TEST_F(RightsAndSignOffTest, PowerDataFollowsUserAndProgram)
{
    const Variant super = NewServer(QStringLiteral("DS"));
    Variant p = super.Get(QStringLiteral("PowerData"));
    EXPECT_TRUE(p[1].ToString().startsWith(QLatin1String("YYYYYY")));
    EXPECT_EQ(p[2].ToString(), QStringLiteral("Y"));
    EXPECT_EQ(p[4].ToString(), QStringLiteral("N"));
    EXPECT_EQ(p[5][0].ToInt(), 0);
    EXPECT_EQ(super.Get(QStringLiteral("SQLType")).ToInt(), 0);

    const Variant liu = NewServer(QStringLiteral("LIU"));
    p = liu.Get(QStringLiteral("PowerData"));
    EXPECT_EQ(p[1].ToString().mid(5, 1), QStringLiteral("N")); // no print
    EXPECT_EQ(p[2].ToString(), QStringLiteral("N")); // no price
    EXPECT_EQ(p[3].ToString(), QStringLiteral("PMC"));

    const Variant wang = NewServer(QStringLiteral("WANG"));
    p = wang.Get(QStringLiteral("PowerData"));
    EXPECT_EQ(p[0].ToString(), QStringLiteral("TO021 = 'F01'"));
    EXPECT_EQ(p[4].ToString(), QStringLiteral("Y"));
    EXPECT_EQ(p[5][0].ToInt(), 1);
    EXPECT_EQ(p[5][1].ToString(), QStringLiteral("PURMA PURMA.MA001 <> 'S0001'"));

    // Another program: WANG's rights string is not there, the data rights for every program are.
    wang.Call(QStringLiteral("Connect"), {Variant::ArrayOf({"INVR01", "WANG", "HV01", "DEMO", "INVMB"})});
    p = wang.Get(QStringLiteral("PowerData"));
    EXPECT_EQ(p[1].ToString(), QString());
    EXPECT_EQ(p[0].ToString(), QString());
    EXPECT_EQ(p[5][0].ToInt(), 1);
}

TEST_F(RightsAndSignOffTest, UnknownUsersAndDatabasesAreReported)
{
    const Variant server = NewServer(QString());
    EXPECT_FALSE(server
                     .Call(QStringLiteral("Connect"),
                         {Variant::ArrayOf({"ZORV52", "NOBODY", "HV01", "DEMO", "MOCTO"})})
                     .ToString()
                     .isEmpty());
    EXPECT_EQ(server.Get(QStringLiteral("PowerData"))[2].ToString(), QStringLiteral("N"));
    EXPECT_FALSE(
        server.Call(QStringLiteral("Connect"), {Variant::ArrayOf({"ZORV52", "DS", "HV01", "OTHER", "MOCTO"})})
            .ToString()
            .isEmpty());
    EXPECT_FALSE(server
                     .Call(QStringLiteral("Connect"),
                         {Variant::ArrayOf({"ZORV52", "DS", "HV01", "../C_DATA/DEMO", "MOCTO"})})
                     .ToString()
                     .isEmpty());
    EXPECT_EQ(
        server.Call(QStringLiteral("Connect"), {Variant::ArrayOf({"ZORV52", "DS", "HV01", "demo", "MOCTO"})})
            .ToString(),
        QString());
}

namespace {

QString requestFor(const QStringList& keys)
{
    QString forms;
    for (const QString& k : keys) {
        const QStringList f = k.split(u'|');
        forms += QStringLiteral(" <Form wfProgramID=''  wfFormType='%1'  wfSheetNo ='%2'  wfParameter3='%3'  "
                                "wfParameter4='' /> \r\n")
                     .arg(f[0], f[1], f[2]);
    }
    return QStringLiteral("<FormSet> ") + forms + QStringLiteral("</FormSet> ");
}

} // namespace

TEST_F(RightsAndSignOffTest, SignOffTableHasOneSetPerSlip)
{
    const QStringList signedSlips = Column(QStringLiteral(
        "SELECT DISTINCT MD001||'|'||MD002||'|'||MD003 FROM TWSMD WHERE MD008<>'' ORDER BY 1 LIMIT 2"));
    ASSERT_EQ(signedSlips.size(), 2);
    const QStringList keys = signedSlips + QStringList {QStringLiteral("A512|20991231001|0001")};
    const Variant server = NewServer();
    ASSERT_GT(
        server.Call(QStringLiteral("RunFreeSQL"), {"SELECT * FROM $$ADMMQ WHERE MQ002='MOCI05'"}).ToInt(), 0);
    const Variant answer = server.Call(QStringLiteral("GetTWData"), {requestFor(keys)});
    ASSERT_EQ(answer[0].ToInt(), 3);
    for (int s = 0; s < 2; ++s) {
        const Variant set = answer[s + 1];
        const QStringList key = keys[s].split(u'|');
        EXPECT_EQ(set[1].ToString(), key[0]);
        EXPECT_EQ(set[2].ToString(), key[1]);
        EXPECT_EQ(set[3].ToString(), key[2]);
        const Variant table = set[5];
        ASSERT_EQ(table.DimCount(), 2);
        EXPECT_EQ(table.HighBound(1), 12);
        const qint64 records = Count(
            QStringLiteral("SELECT COUNT(*) FROM TWSMD WHERE MD001='%1' AND MD002='%2' AND MD003='%3'")
                .arg(key[0], key[1], key[2]));
        EXPECT_EQ(table.HighBound(2) + 1, records);
        for (int r = 0; r <= table.HighBound(2); ++r) {
            EXPECT_EQ(table.At(0, r).ToString(), key[0]);
            EXPECT_EQ(table.At(2, r).ToString(), QString::number(r + 1));
            EXPECT_FALSE(table.At(10, r).ToString().isEmpty());
            EXPECT_FALSE(table.At(12, r).ToString().isEmpty());
        }
    }
    EXPECT_EQ(answer[3].HighBound(1), 4); // a slip without records has no table
}

TEST_F(RightsAndSignOffTest, SignOffTextAnswersPerForm)
{
    const QStringList slip = Column(QStringLiteral(
        "SELECT MD001||'|'||MD002||'|'||MD003 FROM TWSMD WHERE MD009='核准' ORDER BY 1 LIMIT 1"));
    ASSERT_EQ(slip.size(), 1);
    const Variant server = NewServer();
    Variant error = QStringLiteral("unchanged");
    const QString xml
        = server.Call(QStringLiteral("GetWebserviceTWData"), {requestFor(slip), Variant::Ref(error)})
              .ToString();
    EXPECT_EQ(error.ToString(), QString());
    EXPECT_TRUE(xml.startsWith(QLatin1String("<FormSet>")));
    const QStringList key = slip.first().split(u'|');
    EXPECT_TRUE(xml.contains(QStringLiteral("wfFormType=\"%1\" wfSheetNo=\"%2\"").arg(key[0], key[1])));
    const QString text = xml.section(u'>', 2).section(u'<', 0, 0);
    const QStringList items = text.split(QStringLiteral("||"));
    const qint64 records
        = Count(QStringLiteral("SELECT COUNT(*) FROM TWSMD WHERE MD001='%1' AND MD002='%2' AND MD003='%3'")
                    .arg(key[0], key[1], key[2]));
    ASSERT_EQ(items.size(), records + 1);
    EXPECT_EQ(items.last(), QStringLiteral("核准"));
    EXPECT_EQ(items.first().split(QStringLiteral("  ")).size(), 7);
}

TEST_F(RightsAndSignOffTest, SendLogIsInsertedThroughFreeSql)
{
    const Variant server = NewServer();
    const QString insert
        = QStringLiteral("INSERT INTO $$ADMTA "
                         "(COMPANY,CREATOR,USR_GROUP,CREATE_DATE,FLAG,TA001,TA002,TA003,TA004,TA005,TA006) "
                         "VALUES('HV01','DS','ADMIN','20241206','1','ZORV52','S0003','Y','Send Fax Complete "
                         "!','10:11:12','20241206')");
    EXPECT_EQ(server.Call(QStringLiteral("RunFreeSQL"), {insert}).ToInt(), 1);
    EXPECT_EQ(Column(QStringLiteral("SELECT TA002||'|'||TA003||'|'||TA004 FROM ADMTA")),
        QStringList {QStringLiteral("S0003|Y|Send Fax Complete !")});
}

TEST_F(RightsAndSignOffTest, QueryLogRecordsTextsAsReceivedAndAsRun)
{
    QByteArray ini = home_.read("StewardS.ini");
    ASSERT_TRUE(ini.contains("QueryLog=\r\n"));
    home_.write("StewardS.ini", ini.replace("QueryLog=\r\n", "QueryLog=Log\\query.log\r\n"));
    const Variant server = NewServer();
    server.Call(QStringLiteral("RunFreeSQL"), {"SELECT TO001+'-'+TO002 FROM $$MOCTO"});
    server.Call(QStringLiteral("RunFreeSQL"), {"DROP TABLE MOCTO"});
    const QString log = QString::fromUtf8(home_.read("Log/query.log"));
    EXPECT_TRUE(log.contains(QStringLiteral("RunFreeSQL received: SELECT TO001+'-'+TO002 FROM $$MOCTO")));
    EXPECT_TRUE(log.contains(QStringLiteral("RunFreeSQL ran: SELECT TO001||'-'||TO002 FROM MOCTO")));
    EXPECT_TRUE(log.contains(QStringLiteral("RunFreeSQL failed: ")));
}

TEST_F(RightsAndSignOffTest, QueryLogLinesShowControlCharactersInsteadOfWritingThem)
{
    QByteArray ini = home_.read("StewardS.ini");
    home_.write("StewardS.ini", ini.replace("QueryLog=\r\n", "QueryLog=Log\\query.log\r\n"));
    const Variant server = NewServer();
    // A provider name and a statement, each trying to start a line of its own
    // and to drive the terminal that shows the log.
    Variant sent;
    EXPECT_THROW(
        server.Call(QStringLiteral("AS_GetRecords"),
            {QStringLiteral("Provider1\x1b[2J"), -1, Variant::Ref(sent), QStringLiteral("SELECT 1"), 1}),
        Exception);
    server.Call(QStringLiteral("RunFreeSQL"),
        {QStringLiteral("SELECT 1 -- \x1b]0;owned\x07\u2028[2024/01/01] forged")});
    const QString log = QString::fromUtf8(home_.read("Log/query.log"));
    EXPECT_FALSE(log.contains(QChar(0x1B))) << qPrintable(log);
    EXPECT_FALSE(log.contains(QChar(0x07))) << qPrintable(log);
    EXPECT_FALSE(log.contains(QChar(0x2028))) << qPrintable(log);
    EXPECT_TRUE(log.contains(QStringLiteral("SELECT 1 -- \\x1B]0;owned\\x07\\u2028[2024/01/01] forged")))
        << qPrintable(log);
    EXPECT_TRUE(log.contains(QStringLiteral("Provider1\\x1B[2J"))) << qPrintable(log);
    for (const QString& line : log.split(u'\n', Qt::SkipEmptyParts))
        EXPECT_TRUE(line.startsWith(u'[')) << qPrintable(line);
}

TEST_F(RightsAndSignOffTest, QueryLogIsOffByDefault)
{
    const Variant server = NewServer();
    server.Call(QStringLiteral("RunFreeSQL"), {"SELECT 1"});
    EXPECT_EQ(QDir(home_.file("Log")).entryList(QDir::Files), QStringList());
}
