// The texts the PostgreSQL back end writes, reads or refuses, without a server.
#include "common/QNERPGeneratorU.h"
#include "runtime/system/Exceptions.h"
#include "suite/appserver/PgClientText.h"
#include "suite/appserver/PgConnection.h"
#include "suite/appserver/PgSchema.h"
#include "suite/appserver/ServerConfig.h"
#include "support/TestSupport.h"

#include <QHash>
#include <gtest/gtest.h>
#include <libpq-fe.h>

TEST(PgText, PlacesOutsideLiteralsNamesAndCommentsAreNumbered)
{
    int n = -1;
    EXPECT_EQ(PgPlaceholders(
                  QStringLiteral("SELECT ? , '?', \"a?\" -- ?\n FROM T WHERE A = ? /* ? */ AND B=?"), &n),
        QStringLiteral("SELECT $1 , '?', \"a?\" -- ?\n FROM T WHERE A = $2 /* ? */ AND B=$3"));
    EXPECT_EQ(n, 3);
    EXPECT_EQ(PgPlaceholders(QStringLiteral("SELECT 'it''s ?' || ?"), &n),
        QStringLiteral("SELECT 'it''s ?' || $1"));
    EXPECT_EQ(n, 1);
    EXPECT_THROW(PgPlaceholders(QStringLiteral("SELECT 'open ?")), EDatabaseError);
}

TEST(PgText, ComparedLiteralsBecomePlacesAfterTheClientsOwn)
{
    const PgParameterized key = PgLiteralParameters(QStringLiteral(
        "SELECT A||'-'||B AS K, 'x' AS L FROM T WHERE A='A511' AND B >= ? AND C<>'it''s' AND D != '' "
        "AND E LIKE 'A%' AND F = E'e' AND G<='20241231' -- H = 'no'\n AND I = /* 'no' */ '变更' AND J = ?"));
    EXPECT_EQ(key.text,
        QStringLiteral(
            "SELECT A||'-'||B AS K, 'x' AS L FROM T WHERE A=$3 AND B >= $1 AND C<>$4 AND D != $5 "
            "AND E LIKE 'A%' AND F = E'e' AND G<=$6 -- H = 'no'\n AND I = /* 'no' */ $7 AND J = $2"));
    EXPECT_EQ(key.places, 2);
    EXPECT_FALSE(key.keyLookup) << "ranges are no key";
    EXPECT_TRUE(
        PgLiteralParameters(QStringLiteral("SELECT * FROM T WHERE A='1' AND B = ? AND C='2'")).keyLookup);
    EXPECT_EQ(key.values,
        QStringList({QStringLiteral("A511"), QStringLiteral("it's"), QString(), QStringLiteral("20241231"),
            QStringLiteral("变更")}));
    // Two keys give one text.
    EXPECT_EQ(PgLiteralParameters(QStringLiteral("SELECT * FROM T WHERE A='1' AND B='2'")).text,
        PgLiteralParameters(QStringLiteral("SELECT * FROM T WHERE A='3' AND B='4'")).text);
    const PgParameterized none = PgLiteralParameters(QStringLiteral("SELECT 1 WHERE 1=1"));
    EXPECT_EQ(none.text, QStringLiteral("SELECT 1 WHERE 1=1"));
    EXPECT_TRUE(none.values.isEmpty());
    EXPECT_FALSE(none.keyLookup);
    EXPECT_THROW(PgLiteralParameters(QStringLiteral("SELECT 1 WHERE A = 'open")), EDatabaseError);
}

TEST(PgText, IdentifiersAreQuotedUnlessPlainLowerCase)
{
    EXPECT_EQ(PgIdentifier(QStringLiteral("demo_1")), QStringLiteral("demo_1"));
    EXPECT_EQ(PgIdentifier(QStringLiteral("Demo")), QStringLiteral("\"Demo\""));
    EXPECT_EQ(PgIdentifier(QStringLiteral("1a")), QStringLiteral("\"1a\""));
    EXPECT_EQ(PgIdentifier(QStringLiteral("a\"b")), QStringLiteral("\"a\"\"b\""));
    EXPECT_EQ(PgIdentifier(QStringLiteral("公司")), QStringLiteral("\"公司\""));
}

TEST(PgText, SchemaKeepsTypesWideAndSortsByCode)
{
    const QString pg = PostgresSchema(QStringLiteral(
        "-- TEXT and REAL in a comment stay\n"
        "CREATE TABLE T (A TEXT NOT NULL, B REAL, C INTEGER, D text, PRIMARY KEY (A)) WITHOUT ROWID;\n"
        "CREATE INDEX T_AB ON T (A, B);\n"
        "CREATE UNIQUE INDEX T_KEY ON T (A || '-' || C);\n"
        "CREATE INDEX T_UP ON T (upper(A));\n"
        "INSERT INTO T VALUES ('TEXT', 1.5, 2, 'REAL');"));
    EXPECT_EQ(pg,
        QStringLiteral("-- TEXT and REAL in a comment stay\n"
                       "CREATE TABLE T (A TEXT COLLATE \"C\" NOT NULL, B DOUBLE PRECISION, C INTEGER, "
                       "D TEXT COLLATE \"C\", PRIMARY KEY (A)) ;\n"
                       "CREATE INDEX T_AB ON T (A, B);\n"
                       "CREATE UNIQUE INDEX T_KEY ON T ((A || '-' || C));\n"
                       "CREATE INDEX T_UP ON T ((upper(A)));\n"
                       "INSERT INTO T VALUES ('TEXT', 1.5, 2, 'REAL');"));
}

TEST(PgText, ClientTextsOfEachAccessLevel)
{
    struct Case {
        const char* sql;
        SqlAccess access;
        bool allowed;
    };
    const Case cases[] = {
        {"SELECT * FROM demo.MOCTO WHERE TO001 = 'A511'", SqlAccess::Read, true},
        {"  (SELECT 1) UNION (SELECT 2)", SqlAccess::Read, true},
        {"WITH x AS (SELECT 1) SELECT * FROM x", SqlAccess::Read, true},
        {"VALUES (1)", SqlAccess::Read, true},
        {"INSERT INTO ADMTA (TA001) VALUES ('ZORV52')", SqlAccess::Read, false},
        {"DELETE FROM ADMMF", SqlAccess::Read, false},
        {"COPY ADMMF TO '/tmp/x'", SqlAccess::Read, false},
        {"SET search_path = other", SqlAccess::Read, false},
        {"-- a comment\nSELECT 1", SqlAccess::Read, true},
        {"INSERT INTO ADMTA (TA001) VALUES ('ZORV52')", SqlAccess::ReadInsert, true},
        {"SELECT 1", SqlAccess::ReadInsert, true},
        {"INSERT INTO ADMMF (MF001, MF005) VALUES ('X', 'Y') ON CONFLICT (MF001) DO UPDATE SET MF005 = 'Y'",
            SqlAccess::ReadInsert, false},
        {"INSERT INTO ADMTA (TA004) VALUES ('on conflict')", SqlAccess::ReadInsert, true},
        {"UPDATE ADMMF SET MF005 = 'Y'", SqlAccess::ReadInsert, false},
        {"UPDATE MOCTO SET TO042 = COALESCE(TO042, 0) + 1 WHERE TO001 = 'A511'", SqlAccess::Update, true},
        {"DELETE FROM MOCTO", SqlAccess::Update, false},
        {"INSERT INTO MOCTO (TO001) VALUES ('x')", SqlAccess::Update, false},
        // Read otherwise by the server's tokenizer than by PostgreSQL.
        {"SELECT E'\\'', pg_sleep(1), ''", SqlAccess::Read, false},
        {"SELECT U&'\\0041'", SqlAccess::Read, false},
        {"SELECT $q$ ' $q$, 1", SqlAccess::Read, false},
        {"SELECT (ARRAY[1, 2])[1]", SqlAccess::Read, false},
        // Functions reaching past the query.
        {"SELECT pg_terminate_backend(1)", SqlAccess::Read, false},
        {"SELECT PG_CATALOG.SET_CONFIG('search_path', 'x', false)", SqlAccess::Read, false},
        {"SELECT \"set_config\"('a', 'b', false)", SqlAccess::Read, false},
        {"SELECT * FROM pg_read_file ('/etc/passwd')", SqlAccess::Read, false},
        {"SELECT lo_export(1, '/tmp/x')", SqlAccess::Read, false},
        {"SELECT query_to_xml('delete from ADMMF', true, true, '')", SqlAccess::Read, false},
        {"INSERT INTO ADMTA (TA004) VALUES (pg_cancel_backend(1))", SqlAccess::ReadInsert, false},
        // A recursive query would run to the statement timeout on every call.
        {"WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c) SELECT x FROM c", SqlAccess::Read,
            false},
        {"SELECT 'with recursive' FROM T", SqlAccess::Read, true},
        // Names that only look like them, and a server statement.
        {"SELECT pg_x FROM T", SqlAccess::Read, true},
        {"SELECT 'pg_sleep(1)' FROM T", SqlAccess::Read, true},
        {"SET search_path = other", SqlAccess::Server, true},
    };
    for (const Case& c : cases) {
        const QString sql = QString::fromUtf8(c.sql);
        if (c.allowed)
            EXPECT_NO_THROW(CheckPgClientText(sql, c.access)) << c.sql;
        else
            EXPECT_THROW(CheckPgClientText(sql, c.access), EDatabaseError) << c.sql;
    }
}

namespace {

// The keywords of a libpq connection text, read by libpq itself.
QHash<QString, QString> parsed(const QString& conninfo)
{
    QHash<QString, QString> keys;
    char* error = nullptr;
    PQconninfoOption* options = PQconninfoParse(conninfo.toUtf8().constData(), &error);
    if (!options) {
        ADD_FAILURE() << "libpq cannot read " << qPrintable(conninfo) << ": " << (error ? error : "?");
        PQfreemem(error);
        return keys;
    }
    for (const PQconninfoOption* o = options; o->keyword; ++o)
        if (o->val)
            keys.insert(QString::fromUtf8(o->keyword), QString::fromUtf8(o->val));
    PQconninfoFree(options);
    return keys;
}

} // namespace

TEST(PgText, ServerConfigurationNamesServerLoginAndCompanySchema)
{
    testsupport::TempFolder home;
    const QString password = QStringLiteral("p'w \\ 密");
    home.write(QStringLiteral("StewardS.ini"),
        QStringLiteral("[DBE Setting]\r\nMainDBType=PostgreSQL\r\nMainServerName=db.example:6543\r\n"
                       "MainDBName=erp\r\nMainUserName=steward\r\nXXXXXX=%1\r\n")
            .arg(EncodePassword(password))
            .toUtf8());
    const TServerConfig config = TServerConfig::FromHome(home.path());
    EXPECT_TRUE(config.IsPostgres());
    const QHash<QString, QString> demo = parsed(config.CompanyDatabaseFile(QStringLiteral("DEMO")));
    EXPECT_EQ(demo.value(QStringLiteral("host")), QStringLiteral("db.example"));
    EXPECT_EQ(demo.value(QStringLiteral("port")), QStringLiteral("6543"));
    EXPECT_EQ(demo.value(QStringLiteral("dbname")), QStringLiteral("erp"));
    EXPECT_EQ(demo.value(QStringLiteral("user")), QStringLiteral("steward"));
    EXPECT_EQ(demo.value(QStringLiteral("password")), password);
    EXPECT_EQ(demo.value(QStringLiteral("options")), QStringLiteral("-c search_path=demo"));
    EXPECT_EQ(parsed(config.MainDatabaseFile()).value(QStringLiteral("options")),
        QStringLiteral("-c search_path=public"));
    // A name that is no plain name selects nothing (it would reach the connection text).
    EXPECT_EQ(config.CompanyDatabaseFile(QStringLiteral("demo' host=evil")), QString());
    EXPECT_EQ(config.CompanyDatabaseFile(QStringLiteral("a b")), QString());
}
