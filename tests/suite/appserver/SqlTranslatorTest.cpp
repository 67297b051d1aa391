// Translation of SQL Server style texts for the back end.
#include "suite/appserver/SqlTranslator.h"

#include "runtime/system/Exceptions.h"

#include <QSet>
#include <gtest/gtest.h>

namespace {

TSqlDialect dialect()
{
    static const QSet<QString> text {"TO001", "TO002", "TO003", "TO026", "TO027", "MA002", "TP004"};
    TSqlDialect d;
    d.BindTable = [](const QString& t) { return QStringLiteral("db.") + t; };
    d.IsTextColumn = [](const QString& c) { return text.contains(c.toUpper()); };
    return d;
}

QString tr(const QString& sql)
{
    return TranslateSql(sql, dialect());
}

} // namespace

TEST(SqlTranslatorTest, TablePrefixIsBoundOutsideLiterals)
{
    EXPECT_EQ(tr("SELECT * FROM $$MOCTO AS MOCTO LEFT JOIN $$MOCTP AS MOCTP ON TP001=TO001"),
        QStringLiteral("SELECT * FROM db.MOCTO AS MOCTO LEFT JOIN db.MOCTP AS MOCTP ON TP001=TO001"));
    EXPECT_EQ(tr("SELECT '$$MOCTO' -- $$MOCTP\n"), QStringLiteral("SELECT '$$MOCTO' -- $$MOCTP\n"));
    EXPECT_THROW(tr("SELECT * FROM $$"), EDatabaseError);
}

TEST(SqlTranslatorTest, PlusConcatenatesTextAndAddsNumbers)
{
    EXPECT_EQ(
        tr("TO001+'-'+TO002+'-'+TO003 AS TO001T"), QStringLiteral("TO001||'-'||TO002||'-'||TO003 AS TO001T"));
    EXPECT_EQ(tr("TO026+TO027"), QStringLiteral("TO026||TO027"));
    EXPECT_EQ(tr("A.MA002+B.MA002"), QStringLiteral("A.MA002||B.MA002"));
    EXPECT_EQ(tr("TO042+1, TP008 + TP108, 1+2"), QStringLiteral("TO042+1, TP008 + TP108, 1+2"));
    EXPECT_EQ(tr("SET X = COALESCE(TO042,0)+1"), QStringLiteral("SET X = COALESCE(TO042,0)+1"));
    EXPECT_EQ(tr("ISNULL(TO001,'')+TO042"), QStringLiteral("COALESCE(TO001,'')||TO042"));
    EXPECT_EQ(tr("RTRIM(X)+Y"), QStringLiteral("RTRIM(X)||Y"));
    EXPECT_EQ(tr("CAST(TO042 AS VARCHAR(10))+'x'"), QStringLiteral("CAST(TO042 AS VARCHAR(10))||'x'"));
    EXPECT_EQ(tr("X+LEFT(TO001,2)"), QStringLiteral("X||LEFT(TO001,2)"));
    EXPECT_EQ(tr("WHERE TO042 = +1"), QStringLiteral("WHERE TO042 = +1"));
    EXPECT_EQ(tr("N'甲'+TO001"), QStringLiteral("N'甲'||TO001"));
    EXPECT_EQ(tr("'a+b'"), QStringLiteral("'a+b'"));
}

TEST(SqlTranslatorTest, KeyConditionOfPrintCounts)
{
    EXPECT_EQ(tr("TO001+'-'+TO002+'-'+TO003='A511-20241206001-0001'"),
        QStringLiteral("TO001||'-'||TO002||'-'||TO003='A511-20241206001-0001'"));
}

TEST(SqlTranslatorTest, SqlServerFunctionsAndHints)
{
    EXPECT_EQ(tr("SELECT LEN(TO001), ISNULL(TO042, 0) FROM $$MOCTO WITH (NOLOCK) WHERE 1=1").simplified(),
        QStringLiteral("SELECT LENGTH(TO001), COALESCE(TO042, 0) FROM db.MOCTO WHERE 1=1"));
    EXPECT_EQ(tr("SELECT A.MA002 FROM $$PURMA A (NOLOCK)").simplified(),
        QStringLiteral("SELECT A.MA002 FROM db.PURMA A"));
    EXPECT_EQ(tr("SELECT TOP 5 TO001 FROM $$MOCTO ORDER BY TO001").simplified(),
        QStringLiteral("SELECT TO001 FROM db.MOCTO ORDER BY TO001 LIMIT 5"));
    EXPECT_EQ(tr("SELECT LEN FROM T"), QStringLiteral("SELECT LEN FROM T"));
}

TEST(SqlTranslatorTest, OneStatementOnly)
{
    EXPECT_EQ(tr("SELECT 1;"), QStringLiteral("SELECT 1"));
    EXPECT_EQ(tr("SELECT 1; -- done"), QStringLiteral("SELECT 1 -- done"));
    EXPECT_EQ(tr("SELECT ';DROP TABLE X'"), QStringLiteral("SELECT ';DROP TABLE X'"));
    EXPECT_THROW(tr("SELECT 1; DROP TABLE MOCTO"), EDatabaseError);
    EXPECT_THROW(tr("SELECT 'it''s"), EDatabaseError);
    EXPECT_THROW(tr("SELECT 1 /* open"), EDatabaseError);
}
