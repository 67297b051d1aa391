// Whatever text reaches the server, only the intended statement runs; a
// rejected statement is a failed answer, and the server goes on serving.
#include "DemoServerFixture.h"

class HostileInputTest : public DemoServerTest { };

TEST_F(HostileInputTest, QuotesAndStatementsInParametersAreData)
{
    const Variant server = NewServer(QStringLiteral("CHEN"));
    const QString evil = QStringLiteral("x'; DROP TABLE MOCTO; --");
    EXPECT_EQ(
        server
            .Call(QStringLiteral("InsertConTable"),
                {Variant::ArrayOf({QStringLiteral("o'k"), "CHEN", "20241206", "ZORV52", evil, evil, false})})
            .ToString(),
        QString());
    EXPECT_EQ(Column(QStringLiteral("SELECT NCONDITION||'|'||VCONDITION FROM GENES")),
        QStringList {QStringLiteral("o'k|") + evil});
    Variant out;
    EXPECT_EQ(server
                  .Call(QStringLiteral("GetBlobField"),
                      {Variant::ArrayOf({evil, "' OR '1'='1"}), Variant::Ref(out)})
                  .ToInt(),
        0);
    EXPECT_EQ(
        server.Call(QStringLiteral("RunDeleteSQL"), {Variant::ArrayOf({"' OR 1=1 --", "x"})}).ToInt(), 0);
    const Variant connect = server.Call(
        QStringLiteral("Connect"), {Variant::ArrayOf({"ZORV52", "' OR '1'='1", "HV01", "DEMO", "MOCTO"})});
    EXPECT_FALSE(connect.ToString().isEmpty());
    EXPECT_EQ(server.Get(QStringLiteral("PowerData"))[1].ToString(), QString());
    EXPECT_EQ(Count(QStringLiteral("SELECT COUNT(*) FROM MOCTO")), summary_.Slips);
}

TEST_F(HostileInputTest, ClientTextsCannotChangeTheSchemaOrDeleteRows)
{
    const Variant server = NewServer();
    EXPECT_LT(server.Call(QStringLiteral("RunFreeSQL"), {"SELECT 1; DROP TABLE MOCTO"}).ToInt(), 0);
    EXPECT_LT(server.Call(QStringLiteral("RunFreeSQL"), {"DROP TABLE MOCTO"}).ToInt(), 0);
    EXPECT_LT(server.Call(QStringLiteral("RunFreeSQL"), {"DELETE FROM $$MOCTP"}).ToInt(), 0);
    EXPECT_LT(server.Call(QStringLiteral("RunFreeSQL"), {"UPDATE $$MOCTO SET TO041='Y'"}).ToInt(), 0);
    EXPECT_LT(server.Call(QStringLiteral("RunFreeSQL"), {"ATTACH DATABASE '/tmp/x.db' AS x"}).ToInt(), 0);
    EXPECT_FALSE(server.Get(QStringLiteral("LastError")).ToString().isEmpty());
    Variant sent;
    EXPECT_THROW(server.Call(QStringLiteral("AS_GetRecords"),
                     {"Provider1", -1, Variant::Ref(sent), "INSERT INTO $$ADMTA (TA001) VALUES ('x')", 1}),
        Exception);
    Variant args = Variant::ArrayOf({"$$MOCTO", "TO042", "1=1; DELETE FROM MOCTP"});
    EXPECT_LT(server.Call(QStringLiteral("UpdatePrintCount"), {Variant::Ref(args)}).ToInt(), 0);
    Variant badColumn = Variant::ArrayOf({"$$MOCTO", "TO042=0,TO041", "1=1"});
    EXPECT_LT(server.Call(QStringLiteral("UpdatePrintCount"), {Variant::Ref(badColumn)}).ToInt(), 0);
    EXPECT_EQ(Count(QStringLiteral("SELECT COUNT(*) FROM MOCTP")), summary_.Lines);
    EXPECT_EQ(Count(QStringLiteral("SELECT COUNT(*) FROM ADMTA")), 0);
}

TEST_F(HostileInputTest, AnEmptyKeyConditionCountsNothing)
{
    const Variant server = NewServer();
    const qint64 printed = Count(QStringLiteral("SELECT SUM(TO042) FROM MOCTO"));
    Variant args = Variant::ArrayOf({"$$MOCTO", "TO042", ""});
    EXPECT_LT(server.Call(QStringLiteral("UpdatePrintCount"), {Variant::Ref(args)}).ToInt(), 0);
    EXPECT_EQ(Count(QStringLiteral("SELECT SUM(TO042) FROM MOCTO")), printed);
}

TEST_F(HostileInputTest, RejectedStatementsLeaveTheServerServing)
{
    const Variant server = NewServer();
    EXPECT_LT(server.Call(QStringLiteral("RunFreeSQL"), {"SELEC nonsense FROM"}).ToInt(), 0);
    EXPECT_LT(server.Call(QStringLiteral("RunFreeSQL"), {"SELECT * FROM $$NOSUCHTABLE"}).ToInt(), 0);
    EXPECT_LT(server.Call(QStringLiteral("RunFreeSQL"), {"SELECT 'unterminated"}).ToInt(), 0);
    Variant sent;
    EXPECT_THROW(
        server.Call(QStringLiteral("AS_GetRecords"), {"Provider1", -1, Variant::Ref(sent), "SELECT FROM", 1}),
        Exception);
    EXPECT_THROW(
        server.Call(QStringLiteral("AS_GetRecords"), {"NoProvider", -1, Variant::Ref(sent), "SELECT 1", 1}),
        Exception);
    EXPECT_EQ(server.Call(QStringLiteral("RunFreeSQL"), {"SELECT * FROM $$CMSMQ WHERE MQ003 IN ('51','52')"})
                  .ToInt(),
        3);
    EXPECT_EQ(server.Get(QStringLiteral("LastError")).ToString(), QString());
    EXPECT_EQ(
        Fetch(server, QStringLiteral("Provider1"), QStringLiteral("SELECT MQ001 FROM $$CMSMQ")).size(), 4);
}

TEST_F(HostileInputTest, VeryLongTextsAreStoredOrRefusedWhole)
{
    const Variant server = NewServer(QStringLiteral("CHEN"));
    const QString huge(1 << 20, u'\'');
    EXPECT_EQ(server
                  .Call(QStringLiteral("InsertConTable"),
                      {Variant::ArrayOf({"long", "CHEN", "20241206", "ZORV52", huge, huge, false})})
                  .ToString(),
        QString());
    EXPECT_EQ(
        Count(QStringLiteral("SELECT LENGTH(VCONDITION) FROM GENES WHERE NCONDITION='long'")), huge.size());
    EXPECT_FALSE(server
                     .Call(QStringLiteral("InsertConTable"),
                         {Variant::ArrayOf({huge, "CHEN", "20241206", "ZORV52", "", "", false})})
                     .ToString()
                     .isEmpty());
    EXPECT_LT(
        server.Call(QStringLiteral("RunFreeSQL"), {QStringLiteral("SELECT 1 WHERE ") + huge + u'\''}).ToInt(),
        0);
    EXPECT_EQ(server.Call(QStringLiteral("RunFreeSQL"), {"SELECT 1"}).ToInt(), 1);
}

TEST_F(HostileInputTest, MissingAndMalformedArgumentsAnswerFailure)
{
    const Variant server = NewServer();
    EXPECT_FALSE(server.Call(QStringLiteral("InsertConTable"), {}).ToString().isEmpty());
    EXPECT_FALSE(server.Call(QStringLiteral("DeleteConTable"), {42}).ToString().isEmpty());
    EXPECT_LT(server.Call(QStringLiteral("RunUpdFlagSQL"), {Variant::ArrayOf({"abc"})}).ToInt(), 0);
    Variant out;
    EXPECT_EQ(server.Call(QStringLiteral("GetBlobField"), {Variant(), Variant::Ref(out)}).ToInt(), 0);
    EXPECT_EQ(server.Call(QStringLiteral("GetTWData"), {"<not xml"})[0].ToInt(), 0);
}
