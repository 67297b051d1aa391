#include "options/QueryPieces.h"
#include "options/SendStatus.h"
#include "runtime/system/Exceptions.h"
#include "support/QStringPrinter.h"

#include <gtest/gtest.h>

namespace {

Variant powerData(const QString& mainCondition)
{
    return Variant::ArrayOf({mainCondition, "YYYYYY", "Y", "F01", "N", Variant::ArrayOf({0})});
}

TQuerySettings withMainTable(const QString& mainCondition)
{
    TQuerySettings s;
    s.MainTable = QStringLiteral("MOCTO");
    s.PowerData = powerData(mainCondition);
    s.SendCountColumn = QStringLiteral("TO053");
    return s;
}

} // namespace

TEST(QueryPieces, SettersKeepTheirKeywordOrAddThePrefix)
{
    TQueryPieces p;
    p.SetSelectPart(QStringLiteral("  select a, b  "));
    EXPECT_EQ(p.SelectPart(), QStringLiteral("select a, b "));
    p.SetSelectPart(QStringLiteral("a, b"));
    EXPECT_EQ(p.SelectPart(), QStringLiteral("Select a, b "));
    p.SetFromPart(QStringLiteral("$$MOCTO"));
    EXPECT_EQ(p.FromPart(), QStringLiteral(" From $$MOCTO "));
    p.SetFromPart(QStringLiteral("\tFROM $$MOCTO AS MOCTO "));
    EXPECT_EQ(p.FromPart(), QStringLiteral("FROM $$MOCTO AS MOCTO "));
    p.SetWherePart(QStringLiteral("  wHeRe a=1   "));
    EXPECT_EQ(p.WherePart(), QStringLiteral("wHeRe a=1 "));
    p.SetWherePart(QStringLiteral("(TO041='Y' )"));
    EXPECT_EQ(p.WherePart(), QStringLiteral(" Where (TO041='Y' ) "));
    p.SetOrderByPart(QStringLiteral(" ORDER BY TO001 "));
    EXPECT_EQ(p.OrderByPart(), QStringLiteral("ORDER BY TO001 "));
    p.SetOrderByPart(QStringLiteral("TO001"));
    EXPECT_EQ(p.OrderByPart(), QStringLiteral(" Order by TO001 "));
    p.SetGroupByPart(QStringLiteral("group by TO001"));
    EXPECT_EQ(p.GroupByPart(), QStringLiteral("group by TO001 "));
    p.SetJoinPart(QStringLiteral("  LEFT JOIN $$MOCTP AS MOCTP ON TP001=TO001  "));
    EXPECT_EQ(p.JoinPart(), QStringLiteral("LEFT JOIN $$MOCTP AS MOCTP ON TP001=TO001 "));
}

TEST(QueryPieces, KeywordMustBeAWholeWordAndEmptyTextsGiveTheBarePrefix)
{
    TQueryPieces p;
    // "WHEREVER" or "WHERE" without a following space is no where clause.
    p.SetWherePart(QStringLiteral("WHEREVER=1"));
    EXPECT_EQ(p.WherePart(), QStringLiteral(" Where WHEREVER=1 "));
    p.SetGroupByPart(QString());
    EXPECT_EQ(p.GroupByPart(), QStringLiteral(" Group By  "));
    p.SetWherePart(QStringLiteral("   "));
    EXPECT_EQ(p.WherePart(), QStringLiteral(" Where  "));
    p.SetJoinPart(QString());
    EXPECT_EQ(p.JoinPart(), QStringLiteral(" "));
}

TEST(QueryPieces, AddConditionWrapsColumnAndValueAndJoinsWithAnd)
{
    QString where;
    TQueryPieces::AddCondition(where, QStringLiteral("TO041"), QStringLiteral("='Y' "));
    EXPECT_EQ(where, QStringLiteral("(TO041='Y' )"));
    TQueryPieces::AddCondition(where, QStringLiteral("TO042"), QStringLiteral("= 0 "));
    EXPECT_EQ(where, QStringLiteral("(TO041='Y' ) and (TO042= 0 )"));
    TQueryPieces::AddCondition(where, QString(), QStringLiteral("=1"));
    TQueryPieces::AddCondition(where, QStringLiteral("TO043"), QString());
    EXPECT_EQ(where, QStringLiteral("(TO041='Y' ) and (TO042= 0 )"));
}

TEST(QueryPieces, RightsConditionFollowsTheWherePieceInItsOwnParentheses)
{
    TQueryPieces p;
    p.SetWherePart(QStringLiteral("Where 1=1  and (TO001='A001' )"));
    p.AdjustQuery(withMainTable(QStringLiteral("TO021 = 'F01'")));
    EXPECT_EQ(p.WherePart(), QStringLiteral("Where (1=1  and (TO001='A001' )) and (TO021 = 'F01') "));

    // An OR of the where piece stays inside its parentheses.
    p.SetWherePart(QStringLiteral("where TO041='Y' or TO041='N'"));
    p.MergeRightsCondition(withMainTable(QStringLiteral("TO021 = 'F01'")));
    EXPECT_EQ(p.WherePart(), QStringLiteral("where (TO041='Y' or TO041='N') and (TO021 = 'F01') "));

    // A bare condition gets the keyword from the setter, the parentheses from the merge.
    p.SetWherePart(QStringLiteral("x"));
    EXPECT_EQ(p.WherePart(), QStringLiteral(" Where x "));
    p.MergeRightsCondition(withMainTable(QString()));
    EXPECT_EQ(p.WherePart(), QStringLiteral("Where (x) "));
}

TEST(QueryPieces, RightsConditionAloneOrMissing)
{
    TQueryPieces p;
    p.MergeRightsCondition(withMainTable(QStringLiteral("TO021 = 'F01'")));
    EXPECT_EQ(p.WherePart(), QStringLiteral("Where TO021 = 'F01' "));

    TQueryPieces none;
    TQuerySettings noServer;
    noServer.MainTable = QStringLiteral("MOCTO");
    none.SetWherePart(QStringLiteral("Where 1=1"));
    none.MergeRightsCondition(noServer); // PowerData unassigned
    EXPECT_EQ(none.WherePart(), QStringLiteral("Where (1=1) "));

    // Without a main table the where piece is stored again, untouched.
    TQueryPieces plain;
    plain.SetWherePart(QStringLiteral("Where 1=1  and (a)"));
    TQuerySettings noTable = withMainTable(QStringLiteral("TO021 = 'F01'"));
    noTable.MainTable = QStringLiteral("  ");
    plain.MergeRightsCondition(noTable);
    EXPECT_EQ(plain.WherePart(), QStringLiteral("Where 1=1  and (a) "));
}

TEST(QueryPieces, SendStatusConditionOnlyWhenSending)
{
    TQuerySettings s = withMainTable(QString());
    s.SendStatusCondition = QStringLiteral("=0");
    TQueryPieces printing;
    printing.SetWherePart(QStringLiteral("Where 1=1 "));
    printing.AdjustQuery(s);
    EXPECT_EQ(printing.WherePart(), QStringLiteral("Where (1=1) "));

    s.SendMode = 2;
    TQueryPieces faxing;
    faxing.SetWherePart(QStringLiteral("Where 1=1 "));
    faxing.AdjustQuery(s);
    EXPECT_EQ(faxing.WherePart(), QStringLiteral("Where (1=1  and (TO053=0)) "));

    s.SendMode = 1;
    s.SendStatusCondition.clear(); // "全部"
    TQueryPieces mailing;
    mailing.SetWherePart(QStringLiteral("Where 1=1 "));
    mailing.AdjustQuery(s);
    EXPECT_EQ(mailing.WherePart(), QStringLiteral("Where (1=1) "));
}

TEST(SendStatus, ReadFromTheReservedSlotNotTheLastElement)
{
    // Options 1..7, the send status in 8, the print date after it: the
    // reserved slot is read, not the last element.
    Variant values = Variant::CreateArray(1, 9);
    values[8] = SendStatusCondition(1);
    values[9] = QStringLiteral("20261208");
    EXPECT_EQ(SendStatusOfValues(0, values, 8), QStringLiteral("=0"));
    EXPECT_EQ(SendStatusOfValues(1, values, 8), QString());
    values[8] = QStringLiteral("=0) or (1=1");
    EXPECT_THROW(SendStatusOfValues(0, values, 8), EConvertError);
    EXPECT_EQ(SendStatusOfValues(0, Variant(), 8), QString());
}
