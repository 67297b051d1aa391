#include "common/DataRights.h"
#include "runtime/system/Exceptions.h"
#include "support/QStringPrinter.h"

#include <gtest/gtest.h>

namespace {

// Rights on suppliers and on work centres; data rights apply when apply is "Y".
Variant power(const QString& apply = QStringLiteral("Y"))
{
    return Variant::ArrayOf({QString(), "YYYYYY", "Y", "F01", apply,
        Variant::ArrayOf({2, "PURMA PURMA.MA001 <> 'S0001'", "CMSMB CMSMB.MB001 = 'F01'"})});
}

QString purma(const QString& alias)
{
    return QStringLiteral("(( %1.MA001 <> 'S0001' ) or (%1.MA001 is null))").arg(alias);
}

QString cmsmb(const QString& alias)
{
    return QStringLiteral("(( %1.MB001 = 'F01' ) or (%1.MB001 is null))").arg(alias);
}

QString weave(const QString& sql)
{
    return ApplyDataRights(sql, power(), QStringLiteral("DEMO"));
}

} // namespace

TEST(DataRights, WithoutRightsTheTextIsReturnedAsItIs)
{
    const QString sql = QStringLiteral("SELECT *  FROM $$PURMA AS G   WHERE 1=1");
    EXPECT_EQ(ApplyDataRights(sql, power(QStringLiteral("N")), QStringLiteral("DEMO")), sql);
    EXPECT_EQ(ApplyDataRights(sql, Variant(), QStringLiteral("DEMO")), sql);
    EXPECT_EQ(ApplyDataRights(sql, Variant::ArrayOf({QString()}), QStringLiteral("DEMO")), sql);
}

TEST(DataRights, FilterGoesFirstInTheWhereOfEachTable)
{
    EXPECT_EQ(weave(QStringLiteral("SELECT * FROM $$MOCTO AS MOCTO LEFT JOIN $$PURMA AS G ON G.MA001=TO033 "
                                   "LEFT JOIN $$PURMA AS H ON H.MA001=TO133 WHERE (1=1) ORDER BY TO001")),
        QStringLiteral("SELECT * FROM  $$MOCTO AS MOCTO LEFT JOIN $$PURMA AS G ON G.MA001=TO033 LEFT JOIN "
                       "$$PURMA AS H ON H.MA001=TO133  WHERE ")
            + purma("G") + " and " + purma("H") + QStringLiteral(" AND   (1=1) ORDER BY TO001"));
}

TEST(DataRights, WithoutWhereTheFilterComesBeforeOrderOrGroup)
{
    EXPECT_EQ(weave(QStringLiteral("SELECT MA001 FROM $$PURMA AS G ORDER BY MA001")),
        QStringLiteral("SELECT MA001 FROM $$PURMA AS G  WHERE ") + purma("G") + " ORDER BY MA001");
    EXPECT_EQ(weave(QStringLiteral("SELECT MA001 FROM $$PURMA")),
        QStringLiteral("SELECT MA001 FROM  $$PURMA WHERE ") + purma("PURMA"));
    // Any case, and GROUP BY before ORDER BY: the filter must not land
    // behind either of them.
    EXPECT_EQ(weave(QStringLiteral("select MA001 from $$PURMA G group by MA001 order by MA001")),
        QStringLiteral("select MA001 from $$PURMA G  WHERE ") + purma("G")
            + " group by MA001 order by MA001");
}

TEST(DataRights, SubSelectsAreFilteredInsideTheirParentheses)
{
    // In the where text, with and without a WHERE of their own.
    EXPECT_EQ(
        weave(QStringLiteral("SELECT * FROM $$MOCTO WHERE TO033 IN (SELECT MA001 FROM $$PURMA "
                             "WHERE MA002 > '') AND TO021 IN (SELECT MB001 FROM $$CMSMB B) ORDER BY 1")),
        QStringLiteral("SELECT * FROM  $$MOCTO  WHERE   TO033 IN (SELECT MA001 FROM  $$PURMA  WHERE ")
            + purma("PURMA")
            + QStringLiteral(" AND   MA002 > '') AND TO021 IN (SELECT MB001 FROM  $$CMSMB B WHERE ")
            + cmsmb("B") + QStringLiteral(") ORDER BY 1"));
    // A derived table: its rights stay inside, the outer WHERE names only X.
    EXPECT_EQ(weave(QStringLiteral("SELECT * FROM (SELECT MA001 FROM $$PURMA) X WHERE X.MA001 > ''")),
        QStringLiteral("SELECT * FROM  (SELECT MA001 FROM  $$PURMA WHERE ") + purma("PURMA")
            + QStringLiteral(") X  WHERE   X.MA001 > ''"));
}

TEST(DataRights, EveryStatementOfAUnionIsFiltered)
{
    EXPECT_EQ(
        weave(QStringLiteral("SELECT MA001 FROM $$PURMA UNION SELECT MB001 FROM $$CMSMB WHERE MB002 > ''")),
        QStringLiteral("SELECT MA001 FROM $$PURMA  WHERE ") + purma("PURMA")
            + QStringLiteral(" UNION SELECT MB001 FROM  $$CMSMB  WHERE ") + cmsmb("CMSMB")
            + " AND   MB002 > ''");
}

TEST(DataRights, AnOrInTheWhereCannotBypassTheFilter)
{
    EXPECT_EQ(weave(QStringLiteral("SELECT * FROM $$PURMA G WHERE MA002 = 'a' OR MA002 = 'b' ORDER BY 1")),
        QStringLiteral("SELECT * FROM  $$PURMA G  WHERE ") + purma("G")
            + QStringLiteral(" AND  ( MA002 = 'a' OR MA002 = 'b' ) ORDER BY 1"));
    // An OR inside parentheses, or without any filter, leaves the condition as it is.
    EXPECT_EQ(weave(QStringLiteral("SELECT * FROM $$PURMA G WHERE (MA002 = 'a' OR MA002 = 'b')")),
        QStringLiteral("SELECT * FROM  $$PURMA G  WHERE ") + purma("G")
            + QStringLiteral(" AND   (MA002 = 'a' OR MA002 = 'b')"));
    EXPECT_EQ(weave(QStringLiteral("SELECT * FROM $$MOCTO WHERE a OR b")),
        QStringLiteral("SELECT * FROM  $$MOCTO  WHERE   a OR b"));
}

TEST(DataRights, LiteralsNamesAndCommentsAreData)
{
    // A typed value that spells a FROM clause is not woven into.
    const QString typed = QStringLiteral("'x FROM $$PURMA P WHERE '' ORDER'");
    EXPECT_EQ(weave(QStringLiteral("SELECT * FROM $$MOCTO WHERE TO002 >= %1").arg(typed)),
        QStringLiteral("SELECT * FROM  $$MOCTO  WHERE   TO002 >= %1").arg(typed));
    // Names that contain the keywords, quoted names and comments.
    EXPECT_EQ(
        weave(QStringLiteral("SELECT DATEFROM, [FROM $$PURMA], \"WHERE\" FROM $$PURMA G -- FROM $$CMSMB\n")),
        QStringLiteral("SELECT DATEFROM, [FROM $$PURMA], \"WHERE\" FROM  $$PURMA G -- FROM $$CMSMB\n WHERE ")
            + purma("G"));
    EXPECT_EQ(weave(QStringLiteral("SELECT /* FROM $$PURMA */ 1 FROM $$MOCTO")),
        QStringLiteral("SELECT /* FROM $$PURMA */ 1 FROM  $$MOCTO"));
}

TEST(DataRights, BoundTableNamesUseTheDatabasePrefix)
{
    EXPECT_EQ(weave(QStringLiteral("SELECT * FROM DEMO..PURMA AS G WHERE 1=1")),
        QStringLiteral("SELECT * FROM  DEMO..PURMA AS G  WHERE ") + purma("G") + " AND   1=1");
    // Another database's table of the same name is not this one.
    EXPECT_EQ(weave(QStringLiteral("SELECT * FROM OTHERDEMO..PURMA AS G WHERE 1=1")),
        QStringLiteral("SELECT * FROM  OTHERDEMO..PURMA AS G  WHERE   1=1"));
}

TEST(DataRights, BrokenTextDoesNotBreakTheWeaving)
{
    // Unbalanced parentheses and an unterminated literal: no crash, and
    // the tables that are there still get their filter.
    const QString unclosed
        = weave(QStringLiteral("SELECT * FROM $$MOCTO WHERE TO033 IN (SELECT MA001 FROM $$PURMA"));
    EXPECT_TRUE(unclosed.endsWith(QStringLiteral("FROM  $$PURMA WHERE ") + purma("PURMA")))
        << qPrintable(unclosed);
    EXPECT_EQ(weave(QStringLiteral("SELECT a) FROM $$PURMA G")),
        QStringLiteral("SELECT a) FROM  $$PURMA G WHERE ") + purma("G"));
    EXPECT_EQ(weave(QStringLiteral("SELECT 'FROM $$PURMA")), QStringLiteral("SELECT 'FROM $$PURMA"));
    EXPECT_EQ(weave(QString()), QString());
}

TEST(DataRights, DeepNestingIsRefusedNotPassedUnfiltered)
{
    const auto nested = [](int depth) {
        return QStringLiteral("SELECT * FROM ") + QString(depth, u'(')
            + QStringLiteral("SELECT * FROM $$PURMA") + QString(depth, u')') + QStringLiteral(" X");
    };
    const QString ok = weave(nested(150));
    EXPECT_TRUE(ok.contains(QStringLiteral("FROM  $$PURMA WHERE ") + purma("PURMA") + u')'));
    EXPECT_THROW(weave(nested(100000)), Exception);
}
