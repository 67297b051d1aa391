// The PostgreSQL back end against a real server (skipped without one).
#include "PgTestSupport.h"

#include "runtime/system/Exceptions.h"
#include "suite/appserver/PgBackend.h"
#include "suite/appserver/PgConnection.h"

#include <memory>
#include <optional>

namespace {

class PgBackendTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        REQUIRE_POSTGRES();
        schema_.emplace();
        // The name tells this test's connections from those of tests running beside it.
        db_ = std::make_unique<TPgBackend>(
            schema_->Connection() + QStringLiteral(" application_name=") + schema_->Name(), true);
        db_->ExecuteScript(QStringLiteral(
            "CREATE TABLE T (K INTEGER PRIMARY KEY, NAME TEXT, AMOUNT DOUBLE PRECISION, DATA BYTEA);"
            "CREATE TABLE L (A TEXT NOT NULL, B TEXT NOT NULL, C TEXT, D INTEGER, PRIMARY KEY (A, B));"
            "CREATE UNIQUE INDEX L_C ON L (C) WHERE D = 1;"
            "CREATE UNIQUE INDEX L_CD ON L ((C || 'x'));"
            "CREATE UNIQUE INDEX L_D ON L (D);"));
    }
    void TearDown() override { db_.reset(); }

    QList<VariantList> rows(const QString& sql, SqlAccess access = SqlAccess::Server)
    {
        QList<VariantList> out;
        auto c = db_->Query(sql, {}, access);
        while (c->Next()) {
            VariantList row;
            for (int i = 0; i < c->ColumnCount(); ++i)
                row << c->Value(i);
            out << row;
        }
        return out;
    }
    qint64 count(const QString& table)
    {
        auto c = db_->Query(QStringLiteral("SELECT COUNT(*) FROM ") + table, {}, SqlAccess::Server);
        return c->Next() ? c->Int64(0) : -1;
    }

    std::optional<TPgTestSchema> schema_;
    std::unique_ptr<TPgBackend> db_;
};

// Values that a careless load or binding would change: quotes, escapes,
// COPY's own separators and null mark, characters outside ASCII.
const QStringList awkward = {QStringLiteral("it's"), QStringLiteral("back\\slash"),
    QStringLiteral("tab\there"), QStringLiteral("line\nbreak\r\n"), QStringLiteral("\\N"),
    QStringLiteral("变更单 ①"), QString(), QStringLiteral("'); DROP TABLE T; --")};

} // namespace

TEST_F(PgBackendTest, BoundAndCopiedValuesComeBackAsTheyWent)
{
    QList<VariantList> sent;
    for (int i = 0; i < awkward.size(); ++i)
        sent << VariantList {i, awkward[i], 0.1 * i + 1e-15, QByteArray("\x00\xff\\x'", 5)};
    sent << VariantList {100, Variant::Null(), Variant::Null(), Variant::Null()};
    const QStringList columns {
        QStringLiteral("K"), QStringLiteral("NAME"), QStringLiteral("AMOUNT"), QStringLiteral("DATA")};
    // The bound INSERT of the base class is the model of the COPY load.
    db_->TDbBackend::InsertRows(QStringLiteral("T"), columns, sent);
    db_->ExecuteScript(QStringLiteral("CREATE TABLE T2 (LIKE T)"));
    db_->InsertRows(QStringLiteral("T2"), columns, sent);
    const QList<VariantList> bound = rows(QStringLiteral("SELECT K, NAME, AMOUNT, DATA FROM T ORDER BY K"));
    const QList<VariantList> copied = rows(QStringLiteral("SELECT K, NAME, AMOUNT, DATA FROM T2 ORDER BY K"));
    ASSERT_EQ(bound.size(), sent.size());
    ASSERT_EQ(copied.size(), sent.size());
    for (int r = 0; r < sent.size(); ++r) {
        for (int c = 0; c < columns.size(); ++c) {
            const Variant& want = sent[r][c];
            for (const QList<VariantList>* got : {&bound, &copied}) {
                const Variant& v = (*got)[r][c];
                const char* how = got == &bound ? "bound" : "copied";
                if (want.IsNull()) {
                    EXPECT_TRUE(v.IsNull()) << how << " row " << r << " column " << c;
                } else if (c == 2) {
                    EXPECT_EQ(v.ToDouble(), want.ToDouble()) << how << " row " << r;
                } else if (c == 3) {
                    EXPECT_EQ(v.ToBytes(), want.ToBytes()) << how << " row " << r;
                } else {
                    EXPECT_EQ(v.ToString(), want.ToString()) << how << " row " << r << " column " << c;
                }
            }
        }
    }
    // A text bound where a number is compared: the server gives it the column's type.
    auto c = db_->Query(QStringLiteral("SELECT NAME FROM T WHERE K = ? AND NAME = ?"),
        {QStringLiteral("1"), awkward[1]}, SqlAccess::Server);
    ASSERT_TRUE(c->Next());
    EXPECT_EQ(c->Text(0), awkward[1]);
}

TEST_F(PgBackendTest, CatalogueKnowsTablesTextColumnsAndWholeKeys)
{
    EXPECT_TRUE(db_->HasTable(QStringLiteral("l")));
    EXPECT_TRUE(db_->HasColumn(QStringLiteral("L"), QStringLiteral("c")));
    EXPECT_FALSE(db_->HasColumn(QStringLiteral("L"), QStringLiteral("NAME")));
    EXPECT_FALSE(db_->HasTable(QStringLiteral("NOPE")));
    EXPECT_TRUE(db_->IsTextColumn(QStringLiteral("NAME")));
    EXPECT_FALSE(db_->IsTextColumn(QStringLiteral("AMOUNT")));
    EXPECT_FALSE(db_->IsTextColumn(QStringLiteral("D")));
    EXPECT_TRUE(db_->CoversUniqueKey(QStringLiteral("L"), {QStringLiteral("B"), QStringLiteral("a")}));
    EXPECT_FALSE(db_->CoversUniqueKey(QStringLiteral("L"), {QStringLiteral("A")}));
    // A partial index, and one on an expression, are no keys; a plain one is.
    EXPECT_FALSE(db_->CoversUniqueKey(QStringLiteral("L"), {QStringLiteral("C")}));
    EXPECT_TRUE(db_->CoversUniqueKey(QStringLiteral("L"), {QStringLiteral("D")}));
    EXPECT_EQ(db_->BindTableName(QStringLiteral("MOCTO")), schema_->Name() + QStringLiteral(".MOCTO"));
}

TEST_F(PgBackendTest, NamesComeInUpperCaseUnlessQuotedSo)
{
    auto c
        = db_->Query(QStringLiteral("SELECT K, NAME AS nm, 1 AS \"MixedCase\" FROM T"), {}, SqlAccess::Read);
    ASSERT_EQ(c->ColumnCount(), 3);
    EXPECT_EQ(c->ColumnName(0), QStringLiteral("K"));
    EXPECT_EQ(c->ColumnName(1), QStringLiteral("NM"));
    EXPECT_EQ(c->ColumnName(2), QStringLiteral("MixedCase"));
    EXPECT_EQ(c->ColumnKind(0), DbColumnKind::Integer);
    EXPECT_EQ(c->ColumnKind(1), DbColumnKind::Text);
    EXPECT_FALSE(c->Next());
}

TEST_F(PgBackendTest, StreamedRowsSurviveOtherStatementsAndDroppedCursors)
{
    QList<VariantList> many;
    for (int i = 0; i < 5203; ++i) // two full batches and a part
        many << VariantList {i, QStringLiteral("n%1").arg(i)};
    db_->InsertRows(QStringLiteral("T"), {QStringLiteral("K"), QStringLiteral("NAME")}, many);
    auto stream = db_->Query(QStringLiteral("SELECT K, NAME FROM T ORDER BY K"), {}, SqlAccess::Read);
    int seen = 0;
    while (stream->Next()) {
        ASSERT_EQ(stream->Int64(0), seen);
        ASSERT_EQ(stream->Text(1), QStringLiteral("n%1").arg(seen));
        if (seen % 1000 == 7) {
            // The server's own statements, and other client queries, meanwhile.
            db_->Execute(
                QStringLiteral("UPDATE T SET AMOUNT = ? WHERE K = ?"), {1.5, seen}, SqlAccess::Server);
            auto other = db_->Query(
                QStringLiteral("SELECT COUNT(*) FROM T WHERE AMOUNT = 1.5"), {}, SqlAccess::Read);
            ASSERT_TRUE(other->Next());
            EXPECT_EQ(other->Int64(0), seen / 1000 + 1);
        }
        ++seen;
    }
    EXPECT_EQ(seen, many.size());
    // Cursors left half-read give their connections back.
    for (int i = 0; i < 30; ++i) {
        auto c = db_->Query(QStringLiteral("SELECT K FROM T"), {}, SqlAccess::Read);
        ASSERT_TRUE(c->Next());
    }
    auto backends
        = db_->Query(QStringLiteral("SELECT COUNT(*) FROM pg_stat_activity WHERE application_name = ?"),
            {schema_->Name()}, SqlAccess::Server);
    ASSERT_TRUE(backends->Next());
    EXPECT_LE(backends->Int64(0), 3) << "reader connections pile up (the main one and two idle kept)";
}

TEST_F(PgBackendTest, ClientReadsCannotWrite)
{
    db_->InsertRows(QStringLiteral("T"), {QStringLiteral("K")}, {{1}, {2}});
    EXPECT_THROW(
        rows(QStringLiteral("WITH d AS (DELETE FROM T RETURNING *) SELECT * FROM d"), SqlAccess::Read),
        EDatabaseError);
    EXPECT_THROW(rows(QStringLiteral("SELECT * FROM T FOR UPDATE"), SqlAccess::Read), EDatabaseError);
    EXPECT_THROW(
        db_->Execute(QStringLiteral("SELECT nextval('x') FROM T"), {}, SqlAccess::Read), EDatabaseError);
    EXPECT_THROW(db_->Execute(QStringLiteral("DELETE FROM T"), {}, SqlAccess::ReadInsert), EDatabaseError);
    EXPECT_THROW(
        db_->Execute(QStringLiteral("SELECT * INTO T3 FROM T"), {}, SqlAccess::Read), EDatabaseError);
    EXPECT_EQ(count(QStringLiteral("T")), 2);
    EXPECT_FALSE(db_->HasTable(QStringLiteral("T3")));
    // What the access level allows runs and stays.
    EXPECT_EQ(
        db_->Execute(QStringLiteral("INSERT INTO T (K, NAME) VALUES (3, 'sent')"), {}, SqlAccess::ReadInsert),
        1);
    EXPECT_EQ(db_->Execute(QStringLiteral("UPDATE T SET NAME = 'x' WHERE K < 3"), {}, SqlAccess::Update), 2);
    EXPECT_EQ(count(QStringLiteral("T WHERE NAME IS NOT NULL")), 3);
}

TEST_F(PgBackendTest, OverlongClientStatementsAreStoppedAndTheServerGoesOn)
{
    db_->SetStatementTimeout(SqlAccess::Read, 150);
    const QString slow = QStringLiteral("SELECT COUNT(*) FROM generate_series(1, 2000000000)");
    try {
        rows(slow, SqlAccess::Read);
        FAIL() << "a statement over its time ran to its end";
    } catch (const EDatabaseError& e) {
        EXPECT_TRUE(e.Message().contains(QLatin1String("statement timeout"))) << e.what();
    }
    db_->SetStatementTimeout(SqlAccess::ReadInsert, 150);
    EXPECT_THROW(
        db_->Execute(QStringLiteral("INSERT INTO T (K) SELECT COUNT(*) FROM generate_series(1, 2000000000)"),
            {}, SqlAccess::ReadInsert),
        EDatabaseError);
    EXPECT_EQ(count(QStringLiteral("T")), 0);
    EXPECT_EQ(rows(QStringLiteral("SELECT 42"), SqlAccess::Read).value(0).value(0).ToInt(), 42);
}

TEST_F(PgBackendTest, TransactionsAreTheServersAlone)
{
    {
        TDbTransaction tx(*db_);
        db_->Execute(QStringLiteral("INSERT INTO T (K) VALUES (?)"), {1}, SqlAccess::Server);
        EXPECT_EQ(count(QStringLiteral("T")), 1); // its own writes, inside
        EXPECT_THROW(db_->Query(QStringLiteral("SELECT K FROM T"), {}, SqlAccess::Read), EDatabaseError);
        EXPECT_THROW(db_->Execute(QStringLiteral("INSERT INTO T (K) VALUES (2)"), {}, SqlAccess::ReadInsert),
            EDatabaseError);
    } // rolled back
    EXPECT_EQ(count(QStringLiteral("T")), 0);
    TDbTransaction tx(*db_);
    db_->Execute(QStringLiteral("INSERT INTO T (K) VALUES (?)"), {1}, SqlAccess::Server);
    tx.Commit();
    EXPECT_EQ(count(QStringLiteral("T")), 1);
}

TEST(PgBackendOpen, AMissingSchemaIsAnError)
{
    REQUIRE_POSTGRES();
    TPgTestSchema schema;
    EXPECT_THROW(OpenBackend(QStringLiteral("postgresql"), schema.Connection(), false), EDatabaseError);
    EXPECT_NO_THROW(OpenBackend(QStringLiteral("POSTGRESQL"), schema.Connection(), true));
    EXPECT_NO_THROW(OpenBackend(QStringLiteral("POSTGRESQL"), schema.Connection(), false));
    EXPECT_THROW(OpenBackend(QStringLiteral("POSTGRESQL"),
                     QStringLiteral("host=127.0.0.1 port=1 connect_timeout=2"), true),
        EDatabaseError);
}

TEST_F(PgBackendTest, ConnectionsCutByTheServerAreMadeAgain)
{
    db_->InsertRows(QStringLiteral("T"), {QStringLiteral("K")}, {{1}, {2}});
    auto readAll
        = [this] { return rows(QStringLiteral("SELECT K FROM T ORDER BY K"), SqlAccess::Read).size(); };
    ASSERT_EQ(readAll(), 2); // a reader connection now waits in the pool
    // What a restart does to this back end's connections: the server ends them.
    {
        TPgConnection admin(PgTestConnection());
        const TPgResult ended
            = admin.Exec("SELECT pg_terminate_backend(pid) FROM pg_stat_activity WHERE application_name = $1",
                {schema_->Name()});
        ASSERT_GE(ended.Rows(), 2);
    }
    // A client read begins on a new connection at once.
    EXPECT_EQ(readAll(), 2);
    // The server's own statement that finds its connection gone fails (it may
    // have been a write), and the next one runs on a new connection.
    int failures = 0;
    for (int attempt = 0; attempt < 2; ++attempt) {
        try {
            db_->Execute(QStringLiteral("INSERT INTO T (K) VALUES (?)"), {10 + attempt}, SqlAccess::Server);
        } catch (const EDatabaseError&) {
            ++failures;
        }
    }
    EXPECT_EQ(failures, 1);
    EXPECT_EQ(count(QStringLiteral("T")), 3);
}

TEST_F(PgBackendTest, AStreamThatFailsHalfWayLeavesNoConnectionBehind)
{
    db_->SetStatementTimeout(SqlAccess::Read, 300);
    // The first batch is quick; a row of the second takes far longer than allowed.
    auto c
        = db_->Query(QStringLiteral("SELECT g, CASE WHEN g > 2500 THEN (SELECT COUNT(*) FROM "
                                    "generate_series(1, 2000000000)) END FROM generate_series(1, 5000) AS g"),
            {}, SqlAccess::Read);
    int read = 0;
    EXPECT_THROW(
        {
            while (c->Next())
                ++read;
        },
        EDatabaseError);
    EXPECT_GE(read, 2000);
    EXPECT_LE(read, 2500);
    c.reset();
    EXPECT_EQ(rows(QStringLiteral("SELECT 1"), SqlAccess::Read).size(), 1);
    auto idle
        = db_->Query(QStringLiteral("SELECT COUNT(*) FROM pg_stat_activity WHERE application_name = ? AND "
                                    "state <> 'idle' AND pid <> pg_backend_pid()"),
            {schema_->Name()}, SqlAccess::Server);
    ASSERT_TRUE(idle->Next());
    EXPECT_EQ(idle->Int64(0), 0) << "a connection was left in a transaction or a statement";
}

TEST_F(PgBackendTest, KeyQueriesArePlannedOnceAndFollowChangedTables)
{
    db_->InsertRows(QStringLiteral("T"), {QStringLiteral("K"), QStringLiteral("NAME")},
        {{1, QStringLiteral("one")}, {2, QStringLiteral("it's")}, {3, QStringLiteral("three")}});
    const auto nameOf = [&](const QString& key) {
        const QList<VariantList> found
            = rows(QStringLiteral("SELECT NAME FROM T WHERE K = '%1'").arg(key), SqlAccess::Read);
        return found.size() == 1 ? found[0][0].ToString() : QStringLiteral("<%1 rows>").arg(found.size());
    };
    // More runs than the server plans for each value before it keeps one plan.
    for (int i = 0; i < 12; ++i)
        ASSERT_EQ(nameOf(QString::number(i % 3 + 1)), QStringList({"one", "it's", "three"})[i % 3])
            << "run " << i;
    EXPECT_EQ(nameOf(QStringLiteral("4")), QStringLiteral("<0 rows>"));
    // One statement on the reader connection for all those keys, planned
    // once for all of them.
    const QList<VariantList> prepared = rows(
        QStringLiteral(
            "SELECT statement, generic_plans, custom_plans FROM pg_prepared_statements WHERE statement "
            "LIKE '%FROM T WHERE K%' AND statement NOT LIKE '%pg_prepared%'"),
        SqlAccess::Read);
    ASSERT_EQ(prepared.size(), 1);
    EXPECT_TRUE(prepared[0][0].ToString().contains(QLatin1String("K = $1")))
        << prepared[0][0].ToString().toStdString();
    EXPECT_EQ(prepared[0][1].ToInt(), 13);
    EXPECT_EQ(prepared[0][2].ToInt(), 0);
    // A literal that does not fit the column fails as it would unprepared.
    EXPECT_THROW(nameOf(QStringLiteral("x")), EDatabaseError);

    // A column added under a kept "*" plan: the query runs again unprepared
    // and shows it, rather than failing.
    for (int i = 0; i < 7; ++i)
        ASSERT_EQ(rows(QStringLiteral("SELECT * FROM T WHERE K = '2'"), SqlAccess::Read).size(), 1);
    db_->ExecuteScript(QStringLiteral("ALTER TABLE T ADD COLUMN EXTRA TEXT DEFAULT 'new'"));
    for (int i = 0; i < 3; ++i) {
        const QList<VariantList> wide
            = rows(QStringLiteral("SELECT * FROM T WHERE K = '2'"), SqlAccess::Read);
        ASSERT_EQ(wide.size(), 1);
        ASSERT_EQ(wide[0].size(), 5);
        EXPECT_EQ(wide[0][4].ToString(), QStringLiteral("new"));
    }

    // A text the server refuses fails, and leaves the connections clean.
    EXPECT_THROW(rows(QStringLiteral("SELECT K FROM T WHERE K = '1' AND"), SqlAccess::Read), EDatabaseError);
    EXPECT_EQ(nameOf(QStringLiteral("3")), QStringLiteral("three"));
    auto busy
        = db_->Query(QStringLiteral("SELECT COUNT(*) FROM pg_stat_activity WHERE application_name = ? AND "
                                    "state <> 'idle' AND pid <> pg_backend_pid()"),
            {schema_->Name()}, SqlAccess::Server);
    ASSERT_TRUE(busy->Next());
    EXPECT_EQ(busy->Int64(0), 0) << "a connection was left in a transaction or a statement";
}

TEST_F(PgBackendTest, ClientTextsReadOnlyTheSessionsOwnSchema)
{
    // Another company: a schema of the same database, with a table of its own.
    TPgTestSchema other;
    {
        TPgBackend company(other.Connection(), true);
        company.ExecuteScript(
            QStringLiteral("CREATE TABLE ADMMF (MF001 TEXT); INSERT INTO ADMMF VALUES ('BOSS');"));
    }
    TPgBackend db(schema_->Connection(), false);
    const QString name = other.Name();
    const QStringList foreign {QStringLiteral("SELECT mf001 FROM %1.admmf").arg(name),
        QStringLiteral("SELECT MF001 FROM \"%1\".\"admmf\"").arg(name),
        QStringLiteral("SELECT mf001 FROM %1 . admmf").arg(name),
        QStringLiteral("SELECT K FROM T WHERE NAME IN (SELECT mf001 FROM %1.admmf)").arg(name),
        QStringLiteral("SELECT nspname FROM pg_catalog.pg_namespace"),
        QStringLiteral("SELECT table_schema FROM information_schema.tables")};
    for (const QString& sql : foreign) {
        EXPECT_THROW(db.Query(sql, {}, SqlAccess::Read)->Next(), EDatabaseError) << qPrintable(sql);
        EXPECT_THROW(db.Execute(sql, {}, SqlAccess::ReadInsert), EDatabaseError) << qPrintable(sql);
    }
    // The session's own schema, by name or bound, and aliases still read.
    EXPECT_NO_THROW(
        db.Query(QStringLiteral("SELECT T.K FROM %1.T").arg(schema_->Name()), {}, SqlAccess::Read)->Next());
    EXPECT_NO_THROW(
        db.Query(QStringLiteral("SELECT x.K FROM ") + db.BindTableName(QStringLiteral("T")) + " x", {},
              SqlAccess::Read)
            ->Next());
    // The server's own statements are not held to it.
    EXPECT_NO_THROW(
        db.Query(QStringLiteral("SELECT mf001 FROM %1.admmf").arg(name), {}, SqlAccess::Server)->Next());
}
