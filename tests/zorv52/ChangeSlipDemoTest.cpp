// The change-slip statement as the options window will send it, run by the
// in-process application server on a generated demo database; the rows are
// compared with the slips read straight from the tables.
#include "options/SendStatus.h"
#include "options/SlipTypeSettings.h"
#include "suite/appserver/DemoServerFixture.h"
#include "support/QStringPrinter.h"
#include "zorv52/ChangeSlipCriteria.h"
#include "zorv52/ChangeSlipQuery.h"
#include "zorv52/SlipTypeQueries.h"

namespace {

struct TRoad {
    int Mode = QueryModeCriteria;
    Variant Values;
    bool DataRights = true; // a key print runs without them
};

// The print road of the options window, as the connected server answers.
QString printRoadStatement(const Variant& server, const TRoad& road)
{
    const Variant power = server.Get(QStringLiteral("PowerData"));
    TQueryPieces pieces;
    return ChangeSlipStatement({server.Get(QStringLiteral("SQLType")).ToInt(), road.Mode, road.Values,
                                   ChangeSlipSettings(power, QStringLiteral("DEMO")), road.DataRights},
        pieces);
}

Variant criteria(const QString& slipType, int approval, int printed)
{
    Variant values = Variant::CreateArray(1, 9);
    values[1] = SlipTypeCondition(slipType);
    values[6] = ApprovalStatusCondition(approval);
    values[7] = PrintStatusCondition(printed);
    values[8] = SendStatusCondition(2);
    values[9] = QStringLiteral("20261208");
    return values;
}

QStringList keysOf(const QList<VariantList>& rows, const QStringList& fields)
{
    const qsizetype key = fields.indexOf(QStringLiteral("TO001T"));
    const qsizetype line = fields.indexOf(QStringLiteral("TP004"));
    EXPECT_GE(key, 0);
    EXPECT_GE(line, 0);
    QStringList out;
    for (const VariantList& row : rows)
        out << row[key].ToString() + u'/' + row[line].ToString();
    return out;
}

} // namespace

class ChangeSlipDemoTest : public DemoServerTest {
protected:
    // Slip/line keys of the rows the statement returns.
    QStringList run(const QString& user, const TRoad& road)
    {
        const Variant server = NewServer(user);
        QStringList fields;
        const QList<VariantList> rows
            = Fetch(server, QStringLiteral("Provider1"), printRoadStatement(server, road), &fields);
        return keysOf(rows, fields);
    }
    // The rows of a catalogue query; Unassigned when there are none.
    static Variant ask(const Variant& server, const TPredefinedQuery& q)
    {
        const Variant answer = server.Call(QStringLiteral("CatalogueQuery"),
            {Variant::ArrayOf({"Query", q.Table, q.Number, "DEMO", q.Params})});
        const Variant rows = answer.IsArray() ? answer[0] : Variant();
        return rows.IsArray() && rows.HighBound(1) >= rows.LowBound(1) ? rows : Variant();
    }
    // The same keys read straight from the tables.
    QStringList expected(const QString& where) const
    {
        return Column(
            QStringLiteral("SELECT TO001||'-'||TO002||'-'||TO003||'/'||COALESCE(TP004,'') FROM MOCTO "
                           "LEFT JOIN MOCTP ON TP001=TO001 AND TP002=TO002 AND TP003=TO003 WHERE %1 "
                           "ORDER BY TO001, TO002, TO003, TP004")
                .arg(where));
    }
};

TEST_F(ChangeSlipDemoTest, SlipTypeWithDefaultStatusesReturnsApprovedUnprintedSlips)
{
    const QStringList want = expected(QStringLiteral("TO001='A511' AND TO041='Y' AND TO042=0"));
    ASSERT_GT(want.size(), 5);
    EXPECT_EQ(
        run(QStringLiteral("DS"), {QueryModeCriteria, criteria(QStringLiteral("A511"), 0, 1), true}), want);
}

TEST_F(ChangeSlipDemoTest, EveryStatusReturnsEverySlipOfTheType)
{
    const QStringList want = expected(QStringLiteral("TO001='A512'"));
    ASSERT_GT(want.size(), expected(QStringLiteral("TO001='A512' AND TO041='Y' AND TO042=0")).size());
    EXPECT_EQ(
        run(QStringLiteral("DS"), {QueryModeCriteria, criteria(QStringLiteral("A512"), 3, 2), true}), want);
}

TEST_F(ChangeSlipDemoTest, RangesOfTheSelectionPanels)
{
    Variant values = criteria(QStringLiteral("A511"), 3, 2);
    values[4] = Variant::ArrayOf({"20241201", "20241231"});
    values[3] = Variant::ArrayOf({QString(QChar(5)), "0001", "0002"});
    const QStringList want = expected(QStringLiteral(
        "TO001='A511' AND TO004 BETWEEN '20241201' AND '20241231' AND TO003 IN ('0001','0002')"));
    ASSERT_FALSE(want.isEmpty());
    EXPECT_EQ(run(QStringLiteral("DS"), {QueryModeCriteria, values, true}), want);
}

TEST_F(ChangeSlipDemoTest, KeyPrintReturnsTheLinesOfThatSlip)
{
    const QStringList slip = Column(QStringLiteral(
        "SELECT TO001||'|'||TO002||'|'||TO003 FROM MOCTO WHERE TO003='0002' ORDER BY TO002 LIMIT 1"));
    ASSERT_EQ(slip.size(), 1);
    const QStringList key = slip.first().split(u'|');
    const QStringList want
        = expected(QStringLiteral("TO001='%1' AND TO002='%2' AND TO003='%3'").arg(key[0], key[1], key[2]));
    ASSERT_FALSE(want.isEmpty());
    EXPECT_EQ(
        run(QStringLiteral("DS"), {QueryModeKeys, Variant::ArrayOf({key[0], key[1], key[2], "51"}), false}),
        want);
}

TEST_F(ChangeSlipDemoTest, DataRightsRestrictARestrictedUser)
{
    // WANG may see factory F01 only, and no slip of supplier S0001: a slip
    // type where both take rows away.
    const QString type = Column(QStringLiteral("SELECT TO001 FROM MOCTO WHERE TO021='F01' AND "
                                               "(TO033='S0001' OR TO133='S0001') GROUP BY TO001 "
                                               "ORDER BY COUNT(*) DESC LIMIT 1"))
                             .value(0);
    ASSERT_FALSE(type.isEmpty());
    const QString all = QStringLiteral("TO001='%1'").arg(type);
    const QString own = all + QStringLiteral(" AND TO021='F01'");
    const QStringList want = expected(
        own + QStringLiteral(" AND (TO033 IS NULL OR TO033<>'S0001') AND (TO133 IS NULL OR TO133<>'S0001')"));
    ASSERT_FALSE(want.isEmpty());
    ASSERT_LT(want.size(), expected(own).size());
    ASSERT_LT(expected(own).size(), expected(all).size());
    EXPECT_EQ(run(QStringLiteral("WANG"), {QueryModeCriteria, criteria(type, 3, 2), true}), want);
    // The super user sees them all.
    EXPECT_EQ(run(QStringLiteral("DS"), {QueryModeCriteria, criteria(type, 3, 2), true}), expected(all));
}

TEST_F(ChangeSlipDemoTest, HostileSlipTypesFindNothingInsteadOfEverything)
{
    EXPECT_TRUE(run(
        QStringLiteral("DS"), {QueryModeCriteria, criteria(QStringLiteral("A511' OR '1'='1"), 3, 2), true})
                    .isEmpty());
    EXPECT_TRUE(run(QStringLiteral("DS"),
        {QueryModeKeys, Variant::ArrayOf({"A511' OR '1'='1", "x') OR ('1'='1", "0001", "51"}), false})
                    .isEmpty());
}

TEST_F(ChangeSlipDemoTest, SlipTypeCheckAcceptsOnlyChangeSlipKinds)
{
    const Variant server = NewServer();
    const Variant rows = ask(server, SlipTypeCheckQuery(QStringLiteral("A521")));
    ASSERT_TRUE(rows.IsArray());
    ASSERT_EQ(rows.HighBound(1), 0);
    EXPECT_EQ(SlipTypeKeyOfRow(rows[0]), QStringLiteral("52"));
    EXPECT_EQ(
        SlipTypeKeyOfRow(ask(server, SlipTypeCheckQuery(QStringLiteral("A511")))[0]), QStringLiteral("51"));
    // A purchase order type, an unknown type and an injection attempt: no row.
    for (const QString& refused :
        {QStringLiteral("A311"), QStringLiteral("Z999"), QStringLiteral("A311' OR '1'='1")})
        EXPECT_TRUE(ask(server, SlipTypeCheckQuery(refused)).IsEmpty()) << qPrintable(refused);
}

TEST_F(ChangeSlipDemoTest, SlipTypeSettingsFromTheDemoTables)
{
    const Variant server = NewServer();
    const Variant program = ask(server, ProgramSettingsQuery(QStringLiteral("ZORV52")));
    ASSERT_TRUE(program.IsArray());
    const auto plan = [&](const QString& type, bool keyMode) {
        const QString key = SlipTypeKeyOfRow(ask(server, SlipTypeCheckQuery(type))[0]);
        const Variant row = ask(server, SlipTypeSettingsQuery(type, keyMode, key));
        return PlanSlipTypeSettings(
            type, row.IsArray() ? std::optional<Variant>(row[0]) : std::nullopt, program[0]);
    };
    // In-house changes: the factory's footer, workflow sign-off, totals.
    const TSlipTypePlan inHouse = plan(QStringLiteral("A511"), false);
    ASSERT_TRUE(inHouse.Known);
    ASSERT_TRUE(inHouse.Footer && inHouse.SignOff);
    EXPECT_EQ(inHouse.Footer->Code, QStringLiteral("F01"));
    EXPECT_TRUE(inHouse.Footer->Editable);
    EXPECT_TRUE(IsWorkflowSignOff(inHouse.SignOff->Code));
    EXPECT_FALSE(inHouse.SignOff->Editable);
    EXPECT_TRUE(inHouse.TotalChecked);
    // Rework: no totals on every page. Subcontracting: blocks on every page.
    EXPECT_FALSE(plan(QStringLiteral("A512"), false).TotalChecked);
    const TSlipTypePlan outside = plan(QStringLiteral("A521"), true);
    EXPECT_EQ(outside.FooterEveryPage, true);
    EXPECT_EQ(outside.SignOffEveryPage, true);
    EXPECT_EQ(outside.SignOff->Code, QStringLiteral("S02"));
    // A slip type of another document kind is not found under the program's key.
    const Variant purchase
        = ask(server, SlipTypeSettingsQuery(QStringLiteral("A311"), false, QStringLiteral("51")));
    EXPECT_FALSE(PlanSlipTypeSettings(QStringLiteral("A311"),
        purchase.IsArray() ? std::optional<Variant>(purchase[0]) : std::nullopt, program[0])
                     .Known);

    const Variant footer = ask(server, SignBlockQuery(SignBlockFooter, QStringLiteral("F01")));
    ASSERT_TRUE(footer.IsArray());
    EXPECT_TRUE(footer[0][1].ToString().startsWith(QStringLiteral("1. ")));
    EXPECT_TRUE(ask(server, SignBlockQuery(SignBlockSignOff, QStringLiteral("F01"))).IsEmpty());
}

TEST_F(ChangeSlipDemoTest, TheServerReceivesTheStatementAsBuilt)
{
    QByteArray ini = home_.read("StewardS.ini");
    ASSERT_TRUE(ini.contains("QueryLog=\r\n"));
    home_.write("StewardS.ini", ini.replace("QueryLog=\r\n", "QueryLog=Log\\query.log\r\n"));
    const Variant server = NewServer(QStringLiteral("WANG"));
    const QString sql
        = printRoadStatement(server, {QueryModeCriteria, criteria(QStringLiteral("A521"), 3, 2), true});
    Fetch(server, QStringLiteral("Provider1"), sql);
    const QString log = QString::fromUtf8(home_.read("Log/query.log"));
    EXPECT_TRUE(log.contains(QStringLiteral(" received: ") + sql + u'\n')) << qPrintable(log.left(2000));
    // Built with the user's rights: the main-table condition and the supplier filter.
    EXPECT_TRUE(sql.contains(QStringLiteral(" and (TO021 = 'F01') ")));
    EXPECT_TRUE(sql.contains(QStringLiteral(" WHERE (( G.MA001 <> 'S0001' ) or (G.MA001 is null)) and ")));
}
