// A client that sends whatever it likes: only reads and the send-log insert
// run, nothing runs before a successful Connect, print counts touch print
// counts only, runaway statements stop, and after every refused call every
// table is as it was.
#include "DemoServerFixture.h"
#include "suite/appserver/SqliteBackend.h"

#include <QElapsedTimer>
#include <QFileInfo>

class UntrustedClientTest : public DemoServerTest {
protected:
    // Runs a call that must be refused: it answers its failure value (checked
    // by the caller), leaves an error text and changes no table.
    template<typename Call> void ExpectRefused(const Variant& server, const char* what, Call call)
    {
        const QMap<QString, QString> before = TableDigests();
        call();
        EXPECT_FALSE(server.Get(QStringLiteral("LastError")).ToString().isEmpty()) << what;
        EXPECT_EQ(TableDigests(), before) << what;
    }

    static int FreeSql(const Variant& server, const Variant& sql)
    {
        return server.Call(QStringLiteral("RunFreeSQL"), {sql}).ToInt();
    }
    static bool ProviderRuns(const Variant& server, const QString& request)
    {
        Variant sent;
        try {
            server.Call(QStringLiteral("AS_GetRecords"),
                {"Provider1", -1, Variant::Ref(sent), request, GetRecordsReset});
            return true;
        } catch (const Exception&) {
            return false;
        }
    }
    static Variant SimpleSql(const Variant& server, const QString& sql)
    {
        return server.Call(QStringLiteral("CatalogueQuery"),
            {Variant::ArrayOf({"Query", "SimpleSql", "", "DEMO", Variant::ArrayOf({sql, ""})})});
    }
    static int PrintCount(
        const Variant& server, const QString& table, const QString& column, const QString& key)
    {
        Variant args = Variant::ArrayOf({table, column, key});
        return server.Call(QStringLiteral("UpdatePrintCount"), {Variant::Ref(args)}).ToInt();
    }
    QString SendLogInsert(const QString& key) const
    {
        return QStringLiteral(
            "INSERT INTO $$ADMTA "
            "(COMPANY,CREATOR,USR_GROUP,CREATE_DATE,FLAG,TA001,TA002,TA003,TA004,TA005,TA006) "
            "VALUES('HV01','DS','ADMIN','20241206','1','ZORV52','%1','Y','Send Fax Complete "
            "!','10:11:12','20241206')")
            .arg(key);
    }
};

TEST_F(UntrustedClientTest, NoPathCopiesTheDatabaseOrRunsAdministration)
{
    const Variant server = NewServer();
    const QString copy = home_.file(QStringLiteral("copy.db"));
    const QStringList statements {QStringLiteral("VACUUM INTO '%1'").arg(copy), QStringLiteral("VACUUM"),
        QStringLiteral("/* x */ vacuum main INTO '%1'").arg(copy),
        QStringLiteral("ATTACH '%1' AS c").arg(copy), QStringLiteral("PRAGMA user_version = 7"),
        QStringLiteral("PRAGMA writable_schema"), QStringLiteral("BEGIN"), QStringLiteral("COMMIT"),
        QStringLiteral("SAVEPOINT s"), QStringLiteral("ANALYZE"), QStringLiteral("REINDEX")};
    for (const QString& sql : statements) {
        const QByteArray what = sql.toUtf8();
        ExpectRefused(
            server, what.constData(), [&] { EXPECT_LT(FreeSql(server, sql), 0) << what.constData(); });
        ExpectRefused(
            server, what.constData(), [&] { EXPECT_FALSE(ProviderRuns(server, sql)) << what.constData(); });
        ExpectRefused(server, what.constData(),
            [&] { EXPECT_TRUE(SimpleSql(server, sql).IsNull()) << what.constData(); });
    }
    EXPECT_FALSE(QFileInfo::exists(copy));
    EXPECT_EQ(Count(QStringLiteral("PRAGMA user_version")), 0);
    // Reads still run on every path.
    EXPECT_EQ(FreeSql(server, "SELECT MQ001 FROM $$CMSMQ"), 4);
    EXPECT_TRUE(ProviderRuns(server, QStringLiteral("SELECT MQ001 FROM $$CMSMQ")));
    EXPECT_TRUE(SimpleSql(server, QStringLiteral("SELECT MQ001 FROM CMSMQ")).IsArray());
}

TEST_F(UntrustedClientTest, FreeSqlWritesOnlyTheSendLogRow)
{
    const Variant server = NewServer();
    const QStringList writes {
        QStringLiteral(
            "INSERT INTO $$ADMMF (MF001, MF002, MF004, MF005) VALUES ('EVE', 'Eve', 'ADMIN', 'Y')"),
        QStringLiteral("INSERT OR REPLACE INTO $$ADMMF (MF001, MF005) VALUES ('CHEN', 'Y')"),
        QStringLiteral(
            "REPLACE INTO $$ADMMG (MG001, MG002, MG003, MG004) VALUES ('LIU', 'ZORV52', 'YYYYYYYYYY', 'Y')"),
        QStringLiteral("INSERT INTO $$ADMTA (TA001, TA002) SELECT MF001, MF005 FROM $$ADMMF"),
        QStringLiteral("INSERT INTO $$ADMTA (TA001) VALUES ((SELECT MF001 FROM $$ADMMF))"),
        QStringLiteral("INSERT INTO $$ADMTA (TA001) VALUES ('a'), ('b')"),
        QStringLiteral("INSERT INTO $$ADMTA (TA001, TA002) VALUES ('a')"),
        QStringLiteral("INSERT INTO $$ADMTA DEFAULT VALUES"),
        QStringLiteral("WITH x AS (SELECT 1) INSERT INTO $$ADMMF (MF001, MF005) VALUES ('EVE', 'Y')"),
        QStringLiteral("UPDATE $$ADMMF SET MF005 = 'Y' WHERE MF001 = 'LIU'"),
        QStringLiteral("DELETE FROM $$ADMTA"),
        SendLogInsert(QStringLiteral("x")) + QStringLiteral("; DELETE FROM $$ADMMG"),
    };
    for (const QString& sql : writes) {
        const QByteArray what = sql.toUtf8();
        ExpectRefused(
            server, what.constData(), [&] { EXPECT_LT(FreeSql(server, sql), 0) << what.constData(); });
    }
    EXPECT_EQ(Count(QStringLiteral("SELECT COUNT(*) FROM ADMMF WHERE MF005 = 'Y'")), 1);
    // The row the options form writes goes in, quotes inside its texts and all.
    EXPECT_EQ(FreeSql(server, SendLogInsert(QStringLiteral("S''01 -- (x)"))), 1);
    EXPECT_EQ(Column(QStringLiteral("SELECT TA002 FROM ADMTA")), QStringList {QStringLiteral("S'01 -- (x)")});
}

TEST_F(UntrustedClientTest, NothingButConnectRunsBeforeAConnectSucceeds)
{
    const Variant server = NewServer(QString());
    Variant out;
    ExpectRefused(server, "free SQL", [&] { EXPECT_LT(FreeSql(server, "SELECT 1"), 0); });
    ExpectRefused(
        server, "provider", [&] { EXPECT_FALSE(ProviderRuns(server, QStringLiteral("SELECT 1"))); });
    ExpectRefused(server, "send log", [&] { EXPECT_LT(FreeSql(server, SendLogInsert("k")), 0); });
    ExpectRefused(server, "scheme", [&] {
        EXPECT_FALSE(server
                         .Call(QStringLiteral("InsertConTable"),
                             {Variant::ArrayOf({"s", "DS", "20241206", "ZORV52", "k", "v", false})})
                         .ToString()
                         .isEmpty());
    });
    ExpectRefused(server, "format", [&] {
        EXPECT_LT(server
                      .Call(QStringLiteral("GetBlobField"),
                          {Variant::ArrayOf({"TfrmZorv52Fmt", "x"}), Variant::Ref(out)})
                      .ToInt(),
            0);
    });
    // A failed Connect opens nothing, and ends the session that was open.
    EXPECT_FALSE(server
                     .Call(QStringLiteral("Connect"),
                         {Variant::ArrayOf({"ZORV52", "NOBODY", "HV01", "DEMO", "MOCTO"})})
                     .ToString()
                     .isEmpty());
    ExpectRefused(server, "after NOBODY", [&] { EXPECT_LT(FreeSql(server, "SELECT 1"), 0); });
    EXPECT_EQ(
        server.Call(QStringLiteral("Connect"), {Variant::ArrayOf({"ZORV52", "DS", "HV01", "DEMO", "MOCTO"})})
            .ToString(),
        QString());
    EXPECT_EQ(FreeSql(server, "SELECT 1"), 1);
    server.Call(QStringLiteral("Connect"), {Variant::ArrayOf({"ZORV52", "NOBODY", "HV01", "DEMO", "MOCTO"})});
    ExpectRefused(server, "after a second NOBODY", [&] { EXPECT_FALSE(ProviderRuns(server, "SELECT 1")); });
}

TEST_F(UntrustedClientTest, TheConnectedUserWorksWithinTheirRights)
{
    // LIU: rights "YYNYYNYYYY" (may design, may neither delete formats nor print).
    const Variant liu = NewServer(QStringLiteral("LIU"));
    const QString key
        = Column(QStringLiteral("SELECT TO001||'-'||TO002||'-'||TO003 FROM MOCTO LIMIT 1")).value(0);
    ExpectRefused(liu, "delete a format", [&] {
        EXPECT_LT(
            liu.Call(QStringLiteral("RunDeleteSQL"), {Variant::ArrayOf({"TfrmZorv52Fmt", "x"})}).ToInt(), 0);
    });
    ExpectRefused(liu, "print count", [&] {
        EXPECT_LT(PrintCount(liu, "$$MOCTO", "TO042", "TO001+'-'+TO002+'-'+TO003='" + key + "'"), 0);
    });
    ExpectRefused(liu, "another user's schemes", [&] {
        EXPECT_FALSE(liu.Call(QStringLiteral("InsertConTable"),
                            {Variant::ArrayOf({"s", "CHEN", "20241206", "ZORV52", "k", "v", false})})
                         .ToString()
                         .isEmpty());
    });
    EXPECT_EQ(liu.Call(QStringLiteral("InsertConTable"),
                     {Variant::ArrayOf({"s", "LIU", "20241206", "ZORV52", "k", "v", false})})
                  .ToString(),
        QString());
    // Design covers reading the report's rows.
    EXPECT_EQ(FreeSql(liu, "SELECT 1"), 1);
}

TEST_F(UntrustedClientTest, PrintCountsTouchOnlyPrintCountColumnsByKey)
{
    const Variant server = NewServer();
    const QString key
        = Column(QStringLiteral("SELECT TO001||'-'||TO002||'-'||TO003 FROM MOCTO LIMIT 1")).value(0);
    const QString slip = "TO001+'-'+TO002+'-'+TO003='" + key + "'";
    const QList<QStringList> refused {
        {"$$ADMMF", "MF005", "MF001='LIU'"},
        {"$$ADMMG", "MG003", "MG001='LIU'"},
        {"$$WARRANT", "FLAG", "NT001='TfrmZorv52Fmt'"},
        {"$$GENES", "FLAG", "CREATOR='DS'"},
        {"$$MOCTO", "TO041", slip},
        {"$$MOCTO", "TO042", "1=1"},
        {"$$MOCTO", "TO042", slip + " OR 1=1"},
        {"$$MOCTO", "TO042", "TO001 IN (SELECT TO001 FROM MOCTO)"},
        {"$$MOCTO", "TO042", "TO001=TO001"},
        {"$$MOCTO", "TO042", "UPPER(TO001)='A'"},
        {"$$MOCTO", "TO042", "(TO001='A')"},
        {"$$MOCTO", "TO042", "TO001>'A'"},
        {"$$MOCTO", "TO042", "MF005='Y'"},
        {"$$MOCTO", "TO042", "TO001='A' AND"},
        {"$$MOCTO", "TO042", slip + " --"},
    };
    for (const QStringList& call : refused) {
        const QByteArray what = call.join(u' ').toUtf8();
        ExpectRefused(server, what.constData(),
            [&] { EXPECT_LT(PrintCount(server, call[0], call[1], call[2]), 0) << what.constData(); });
    }
    const QString countSql
        = QStringLiteral("SELECT COALESCE(TO042, 0) FROM MOCTO WHERE TO001||'-'||TO002||'-'||TO003 = '%1'")
              .arg(key);
    const qint64 before = Count(countSql);
    EXPECT_EQ(PrintCount(server, "$$MOCTO", "TO042", slip), 1);
    const QStringList parts = key.split(u'-');
    ASSERT_EQ(parts.size(), 3);
    EXPECT_EQ(PrintCount(server, "$$MOCTO", "to042",
                  QStringLiteral("TO001 = '%1' and MOCTO.TO002='%2' AND TO003='%3'")
                      .arg(parts[0], parts[1], parts[2])),
        1);
    EXPECT_EQ(Count(countSql), before + 2);
    // The send count is the slip's other count column; it counts alone.
    const QString sentSql
        = QStringLiteral("SELECT COALESCE(TO053, 0) FROM MOCTO WHERE TO001||'-'||TO002||'-'||TO003 = '%1'")
              .arg(key);
    const qint64 sentBefore = Count(sentSql);
    EXPECT_EQ(PrintCount(server, "$$MOCTO", "TO053", slip), 1);
    EXPECT_EQ(Count(sentSql), sentBefore + 1);
    EXPECT_EQ(Count(countSql), before + 2);
}

TEST_F(UntrustedClientTest, RunawayStatementsFailAndTheServerGoesOn)
{
    AddServerSettings(QStringLiteral("AppServer"), QStringLiteral("FreeSqlSeconds=1\nProviderSeconds=1"));
    const Variant server = NewServer();
    const QStringList runaways {
        QStringLiteral(
            "WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c) SELECT COUNT(*) FROM c"),
        QStringLiteral("WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c) SELECT x FROM c"),
        QStringLiteral("SELECT printf('%.*c', 2000000000, 'x')"),
        QStringLiteral("SELECT randomblob(999999999)"),
        QStringLiteral("SELECT zeroblob(999999999)"),
        QStringLiteral("SELECT COUNT(*) FROM $$MOCTP a, $$MOCTP b, $$MOCTP c, $$MOCTP d"),
    };
    for (const QString& sql : runaways) {
        const QByteArray what = sql.toUtf8();
        ExpectRefused(
            server, what.constData(), [&] { EXPECT_LT(FreeSql(server, sql), 0) << what.constData(); });
        EXPECT_TRUE(SimpleSql(server, sql).IsNull()) << what.constData();
        EXPECT_EQ(FreeSql(server, "SELECT 1"), 1) << what.constData();
    }
    EXPECT_FALSE(ProviderRuns(server, runaways.last()));
    EXPECT_TRUE(server.Get(QStringLiteral("LastError")).ToString().contains(QLatin1String("1000 ms")));
    EXPECT_TRUE(ProviderRuns(server, QStringLiteral("SELECT MQ001 FROM $$CMSMQ")));
}

TEST_F(UntrustedClientTest, ClientTextsCallOnlyListedFunctions)
{
    const Variant server = NewServer();
    // fts3_tokenizer() answers a code pointer and takes one; the others are
    // no SQL Server functions and give a client nothing it needs.
    const QStringList refused {QStringLiteral("SELECT fts3_tokenizer('simple')"),
        QStringLiteral("SELECT hex(fts3_tokenizer('simple')) FROM $$CMSMQ"),
        QStringLiteral("SELECT fts3_tokenizer('mine', X'4141414141414141')"),
        QStringLiteral("SELECT load_extension('/tmp/x.so')"), QStringLiteral("SELECT sqlite_version()"),
        QStringLiteral("SELECT sqlite_compileoption_get(0)"), QStringLiteral("SELECT json('[1]')"),
        QStringLiteral("SELECT MQ001 FROM $$CMSMQ WHERE soundex(MQ002) <> ''")};
    for (const QString& sql : refused) {
        const QByteArray what = sql.toUtf8();
        ExpectRefused(
            server, what.constData(), [&] { EXPECT_LT(FreeSql(server, sql), 0) << what.constData(); });
        EXPECT_FALSE(ProviderRuns(server, sql)) << what.constData();
        EXPECT_TRUE(SimpleSql(server, sql).IsNull()) << what.constData();
    }
    // What report texts use runs, in any case of the name.
    EXPECT_EQ(FreeSql(server,
                  "SELECT COUNT(*), MAX(MQ001), min(MQ002), SUM(LENGTH(MQ001)), AVG(1), ISNULL(MQ002, ''), "
                  "SUBSTRING(MQ001, 1, 2), UPPER(MQ002), LOWER(MQ002), RTRIM(MQ001), LTRIM(MQ001), "
                  "REPLACE(MQ001, 'A', 'B'), ROUND(1.5), ABS(-1), NULLIF(MQ001, ''), typeof(MQ001), "
                  "INSTR(MQ001, 'A'), date('now') FROM $$CMSMQ WHERE MQ001 LIKE '%'"),
        1);
    // Nor can the server's own statements install a tokenizer.
    TSqliteBackend db(DatabaseFile(), false);
    EXPECT_THROW(
        db.Query(QStringLiteral("SELECT fts3_tokenizer('mine', X'4141414141414141')"), {}, SqlAccess::Server)
            ->Next(),
        EDatabaseError);
}

TEST_F(UntrustedClientTest, RecursiveQueriesAreRefusedAtOnceSayingWhy)
{
    // Default budgets (120 s for a provider): a runaway recursion must not run to them.
    const Variant server = NewServer();
    const QStringList recursive {
        QStringLiteral("WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c) SELECT x FROM c"),
        // SQL Server spells a recursive WITH without the word.
        QStringLiteral("WITH c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c) SELECT COUNT(*) FROM c"),
        QStringLiteral("SELECT TO001 FROM $$MOCTO WHERE TO001 IN (WITH c(x) AS (SELECT 1 UNION ALL "
                       "SELECT x + 1 FROM c) SELECT x FROM c)"),
    };
    for (const QString& sql : recursive) {
        const QByteArray what = sql.toUtf8();
        QElapsedTimer clock;
        clock.start();
        EXPECT_FALSE(ProviderRuns(server, sql)) << what.constData();
        EXPECT_TRUE(
            server.Get(QStringLiteral("LastError")).ToString().contains(QLatin1String("recursive query")))
            << what.constData() << ": " << server.Get(QStringLiteral("LastError")).ToString().toStdString();
        EXPECT_LT(FreeSql(server, sql), 0) << what.constData();
        EXPECT_LT(clock.elapsed(), 3000) << what.constData();
    }
    // A WITH that does not read itself still runs.
    EXPECT_EQ(FreeSql(server, "WITH s AS (SELECT MQ001 FROM $$CMSMQ) SELECT * FROM s"), 4);
}

TEST_F(UntrustedClientTest, ArgumentsThatAreNoTextAnswerFailureWithoutRaising)
{
    const Variant server = NewServer();
    for (const Variant& bad : {Variant(QByteArray("SELECT 1")), Variant::ArrayOf({"SELECT 1"})}) {
        EXPECT_NO_THROW({
            EXPECT_LT(FreeSql(server, bad), 0);
            EXPECT_FALSE(server.Get(QStringLiteral("LastError")).ToString().isEmpty());
            EXPECT_EQ(server.Call(QStringLiteral("GetTWData"), {bad})[0].ToInt(), 0);
            Variant out;
            EXPECT_EQ(server.Call(QStringLiteral("GetWebserviceTWData"), {bad, Variant::Ref(out)}).ToString(),
                QString());
            EXPECT_FALSE(out.ToString().isEmpty());
        });
    }
}

TEST_F(UntrustedClientTest, TopStaysOutsideATrailingComment)
{
    const Variant server = NewServer();
    EXPECT_EQ(FreeSql(server, "SELECT TOP 1 MQ001 FROM $$CMSMQ -- note"), 1);
    EXPECT_EQ(FreeSql(server, "SELECT TOP 2 MQ001 FROM $$CMSMQ /* note */ -- and 'more'"), 2);
    EXPECT_EQ(FreeSql(server, "SELECT TOP 1 MQ001, '-- x' FROM $$CMSMQ;"), 1);
}

TEST_F(UntrustedClientTest, ReadsAreHeldToTheConnectedUsersDataRights)
{
    // WANG may read factory F01's slips only (the main table's condition)
    // and no supplier S0001 (a rights-list table); DS is a super user.
    const Variant wang = NewServer(QStringLiteral("WANG"));
    const Variant ds = NewServer(QStringLiteral("DS"));
    const qint64 otherFactories = Count(QStringLiteral("SELECT COUNT(*) FROM MOCTO WHERE TO021 <> 'F01'"));
    const qint64 ownFactory = Count(QStringLiteral("SELECT COUNT(*) FROM MOCTO WHERE TO021 = 'F01'"));
    ASSERT_GT(otherFactories, 0);
    ASSERT_GT(ownFactory, 0);
    const QStringList foreignSlips {QStringLiteral("SELECT TO001 FROM MOCTO WHERE TO021 <> 'F01'"),
        QStringLiteral("SELECT TO001 FROM $$MOCTO WHERE TO021 <> 'F01'"),
        QStringLiteral("SELECT TO001 FROM main.MOCTO WHERE TO021 <> 'F01' ORDER BY 1"),
        QStringLiteral("SELECT * FROM (SELECT TO021 FROM mocto) x WHERE x.TO021 <> 'F01'"),
        QStringLiteral("WITH s AS (SELECT TO021 FROM MOCTO) SELECT * FROM s WHERE TO021 <> 'F01'"),
        QStringLiteral("SELECT A.TO001 FROM MOCTP P LEFT JOIN MOCTO A ON A.TO001 = P.TP001 AND "
                       "A.TO002 = P.TP002 AND A.TO003 = P.TP003 WHERE A.TO021 <> 'F01'")};
    for (const QString& sql : foreignSlips) {
        const QByteArray what = sql.toUtf8();
        EXPECT_EQ(FreeSql(wang, sql), 0) << what.constData();
        EXPECT_GT(FreeSql(ds, sql), 0) << what.constData();
    }
    EXPECT_EQ(FreeSql(wang, "SELECT TO001 FROM MOCTO"), ownFactory);
    EXPECT_EQ(FreeSql(wang, "SELECT TO001 FROM MOCTO WHERE TO021 <> 'F01' OR 1=1"), ownFactory);
    EXPECT_EQ(FreeSql(ds, "SELECT TO001 FROM MOCTO"), ownFactory + otherFactories);

    const QString supplier = QStringLiteral("SELECT MA001 FROM PURMA WHERE MA001 = 'S0001'");
    EXPECT_EQ(FreeSql(wang, supplier), 0);
    EXPECT_EQ(FreeSql(ds, supplier), 1);
    EXPECT_TRUE(ProviderRuns(wang, supplier));
    EXPECT_TRUE(Fetch(wang, QStringLiteral("Provider1"), supplier).isEmpty());
    EXPECT_EQ(Fetch(ds, QStringLiteral("Provider1"), supplier).size(), 1);
    const QList<VariantList> slips
        = Fetch(wang, QStringLiteral("Provider2"), QStringLiteral("SELECT TO021 FROM MOCTO"));
    EXPECT_EQ(slips.size(), ownFactory);
    for (const VariantList& row : slips)
        ASSERT_EQ(row.value(0).ToString(), QStringLiteral("F01"));
    const Variant viaCatalogue = SimpleSql(wang, supplier);
    ASSERT_TRUE(viaCatalogue.IsArray()) << wang.Get(QStringLiteral("LastError")).ToString().toStdString();
    EXPECT_EQ(viaCatalogue[0].HighBound(), -1);
    EXPECT_EQ(SimpleSql(ds, supplier)[0].HighBound(), 0);

    // A rights table in quotes cannot be told from a value: refused.
    for (const char* sql :
        {"SELECT MA001 FROM \"PURMA\"", "SELECT MA001 FROM [purma]", "SELECT 1 FROM main.\"MOCTO\""})
        ExpectRefused(wang, sql, [&] { EXPECT_LT(FreeSql(wang, sql), 0) << sql; });
    // Literals are data: a text that looks like a table name changes nothing.
    EXPECT_EQ(FreeSql(wang, "SELECT 'MOCTO' FROM CMSMQ"), 4);
}

TEST_F(UntrustedClientTest, TheCatalogueRunsAClientTextOnlyForAConnectedUser)
{
    const Variant anonymous = NewServer(QString());
    ExpectRefused(anonymous, "SimpleSql without Connect",
        [&] { EXPECT_TRUE(SimpleSql(anonymous, QStringLiteral("SELECT MF001 FROM ADMMF")).IsNull()); });
    // The server's own predefined queries and messages still answer.
    EXPECT_TRUE(anonymous
                    .Call(QStringLiteral("CatalogueQuery"),
                        {Variant::ArrayOf(
                            {"Query", "CMSMQ", "22", "DEMO", Variant::ArrayOf({"A511", "51", "52", ""})})})
                    .IsArray());
    const Variant ds = NewServer(QStringLiteral("DS"));
    ExpectRefused(ds, "another database", [&] {
        EXPECT_TRUE(ds.Call(QStringLiteral("CatalogueQuery"),
                          {Variant::ArrayOf({"Query", "SimpleSql", "", "OTHER",
                              Variant::ArrayOf({"SELECT MF001 FROM ADMMF", ""})})})
                        .IsNull());
    });
    EXPECT_TRUE(SimpleSql(ds, QStringLiteral("SELECT MF001 FROM ADMMF")).IsArray());
}

TEST_F(UntrustedClientTest, TheCatalogueCannotMoveASessionToAnotherCompany)
{
    // A second company database whose slips are gone.
    const QString other = QFileInfo(DatabaseFile()).dir().filePath(QStringLiteral("OTHER.db"));
    ASSERT_TRUE(QFile::copy(DatabaseFile(), other));
    {
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(other.toUtf8().constData(), &db), SQLITE_OK);
        ASSERT_EQ(sqlite3_exec(db, "DELETE FROM MOCTO", nullptr, nullptr, nullptr), SQLITE_OK);
        sqlite3_close(db);
    }
    const Variant ds = NewServer(QStringLiteral("DS"));
    const qint64 slips = Count(QStringLiteral("SELECT COUNT(*) FROM MOCTO"));
    ASSERT_EQ(FreeSql(ds, "SELECT TO001 FROM MOCTO"), slips);
    ExpectRefused(ds, "a predefined query of another company", [&] {
        EXPECT_TRUE(ds.Call(QStringLiteral("CatalogueQuery"),
                          {Variant::ArrayOf({"Query", "CMSMQ", "08", "OTHER", Variant::ArrayOf({"A511"})})})
                        .IsNull());
    });
    ExpectRefused(ds, "a message of another company", [&] {
        ds.Call(QStringLiteral("CatalogueMessage"), {Variant::ArrayOf({"E", "000025", "CHS", "OTHER"})});
    });
    // The session still reads its own company.
    EXPECT_EQ(FreeSql(ds, "SELECT TO001 FROM MOCTO"), slips);
    // Its own database by name, or no name, still answers.
    EXPECT_TRUE(ds.Call(QStringLiteral("CatalogueQuery"),
                      {Variant::ArrayOf({"Query", "CMSMQ", "08", "demo", Variant::ArrayOf({"A511"})})})
                    .IsArray());
    // Without a session the catalogue reads whichever company it is asked for.
    const Variant anonymous = NewServer(QString());
    EXPECT_TRUE(anonymous
                    .Call(QStringLiteral("CatalogueQuery"),
                        {Variant::ArrayOf({"Query", "CMSMQ", "08", "OTHER", Variant::ArrayOf({"A511"})})})
                    .IsArray());
}
