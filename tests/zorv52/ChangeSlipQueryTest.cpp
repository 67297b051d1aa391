// The change-slip statement, text for text, for the cases users meet: a
// slip type with the default statuses, every status, printing given slips,
// the "(+)" dialect, sending, the user's data rights.
#include "zorv52/ChangeSlipQuery.h"
#include "common/DataRights.h"
#include "options/SendStatus.h"
#include "runtime/system/Exceptions.h"
#include "support/QStringPrinter.h"
#include "zorv52/ChangeSlipCriteria.h"

#include <gtest/gtest.h>

namespace {

const QString Select0 = QStringLiteral(
    "SELECT MOCTO.*, MOCTP.*, TO001+'-'+TO002+'-'+TO003 AS TO001T, TO026+'-'+TO027 AS TO026T, "
    "TO028+'-'+TO029+'-'+TO030 AS TO028T, TO126+'-'+TO127 AS TO126T, TO128+'-'+TO129+'-'+TO130 AS "
    "TO128T, A.MB002 AS CMSMB002A, B.MB002 AS CMSMB002B, C.MC002 AS CMSMC002A, D.MC002 AS CMSMC002B, "
    "E.MD002 AS CMSMD002A, F.MD002 AS CMSMD002B, G.MA002 AS PURMA002A, H.MA002 AS PURMA002B, I.MC002 "
    "AS CMSMC002C, J.MC002 AS CMSMC002D, K.TD014 AS COPTD014A, L.TD014 AS COPTD014B, M.TC012 AS "
    "COPTC012A, M.TC004 AS COPTC004A, N.TC012 AS COPTC012B, N.TC004 AS COPTC004B, O.MA002 AS "
    "COPMA002A, P.MA002 AS COPMA002B,G.MA010 AS PURMA010A,G.MA011 AS PURMA011A , TO055, TO155  ,"
    "MOCTO.UDF01 AS UDF01M, MOCTO.UDF02 AS UDF02M, MOCTO.UDF03 AS UDF03M, MOCTO.UDF04 AS UDF04M, "
    "MOCTO.UDF05 AS UDF05M, MOCTO.UDF06 AS UDF06M,  MOCTO.UDF51 AS UDF51M, MOCTO.UDF52 AS UDF52M, "
    "MOCTO.UDF53 AS UDF53M, MOCTO.UDF54 AS UDF54M, MOCTO.UDF55 AS UDF55M, MOCTO.UDF56 AS UDF56M,  "
    "MOCTP.UDF01 AS UDF01D, MOCTP.UDF02 AS UDF02D, MOCTP.UDF03 AS UDF03D, MOCTP.UDF04 AS UDF04D, "
    "MOCTP.UDF05 AS UDF05D, MOCTP.UDF06 AS UDF06D,  MOCTP.UDF51 AS UDF51D, MOCTP.UDF52 AS UDF52D, "
    "MOCTP.UDF53 AS UDF53D, MOCTP.UDF54 AS UDF54D, MOCTP.UDF55 AS UDF55D, MOCTP.UDF56 AS UDF56D,  "
    "Q.MW002 AS CMSMW002, R.MW002 AS CMSMW002T , S.MG005 AS COPMG005A,S.MG006 AS COPMG006A,T.MG005 "
    "AS COPMG005B,T.MG006 AS COPMG006B ,TO069,TO169,TO070,TO170,CMSNA.NA003 TO069C,CMSNA1.NA003 "
    "TO169C ,G.MA013 AS PURMA013A,G.MA014 AS PURMA014A,G.MA008 AS PURMA008A,H.MA013 AS PURMA013B,"
    "H.MA014 AS PURMA014B,H.MA008 AS PURMA008B,H.MA010 AS PURMA010B,G.MA046 AS PURMA046A,H.MA046 AS "
    "PURMA046B,G.MA015 AS PURMA015A,H.MA015 AS PURMA015B ,TO044,MOCTO.CREATOR AS CREATOR,X.MF002 AS "
    "MF002X,Y.MF002 AS MF002Y ");
const QString FromAndJoins0 = QStringLiteral(
    "FROM $$MOCTO AS MOCTO LEFT JOIN $$MOCTP AS MOCTP ON TP001=TO001 AND TP002=TO002 AND TP003=TO003 "
    " LEFT JOIN $$ADMMF AS X ON MOCTO.CREATOR=X.MF001  LEFT JOIN $$ADMMF AS Y ON TO044=Y.MF001 LEFT "
    "JOIN $$CMSMQ AS CMSMQ ON MQ001=TO001 LEFT JOIN $$CMSMB AS A ON A.MB001=TO021 LEFT JOIN $$CMSMB "
    "AS B ON B.MB001=TO121 LEFT JOIN $$CMSMC AS C ON C.MC001=TO022 LEFT JOIN $$CMSMC AS D ON "
    "D.MC001=TO122 LEFT JOIN $$CMSMD AS E ON E.MD001=TO023 LEFT JOIN $$CMSMD AS F ON F.MD001=TO123 "
    "LEFT JOIN $$PURMA AS G ON G.MA001=TO033 LEFT JOIN $$PURMA AS H ON H.MA001=TO133 LEFT JOIN "
    "$$CMSMC AS I ON I.MC001=TP010 LEFT JOIN $$CMSMC AS J ON J.MC001=TP110 LEFT JOIN $$COPTD AS K ON "
    "K.TD001=TO028 AND K.TD002=TO029 AND K.TD003=TO030 LEFT JOIN $$COPTD AS L ON L.TD001=TO128 AND "
    "L.TD002=TO129 AND L.TD003=TO130 LEFT JOIN $$COPTC AS M ON M.TC001=K.TD001 AND M.TC002=K.TD002 "
    "LEFT JOIN $$COPTC AS N ON N.TC001=L.TD001 AND N.TC002=L.TD002 LEFT JOIN $$COPMA AS O ON "
    "O.MA001=M.TC004 LEFT JOIN $$COPMA AS P ON P.MA001=N.TC004  LEFT JOIN $$CMSMW AS Q ON Q.MW001 = "
    "TP007  LEFT JOIN $$CMSMW AS R ON R.MW001 = TP107  LEFT JOIN $$COPMG AS S ON S.MG001=M.TC004 AND "
    "S.MG002=K.TD004 AND S.MG003=K.TD014  LEFT JOIN $$COPMG AS T ON T.MG001=N.TC004 AND "
    "T.MG002=L.TD004 AND T.MG003=L.TD014 LEFT JOIN $$CMSNA AS CMSNA  ON CMSNA.NA002=TO069 AND "
    "CMSNA.NA001='1' LEFT JOIN $$CMSNA AS CMSNA1 ON CMSNA1.NA002=TO169 AND CMSNA1.NA001='1' ");
const QString Select1 = QStringLiteral(
    "SELECT MOCTO.*, MOCTP.*, TO001||'-'||TO002||'-'||TO003 AS TO001T, TO026||'-'||TO027 AS TO026T, "
    "TO028||'-'||TO029||'-'||TO030 AS TO028T, TO126||'-'||TO127 AS TO126T, "
    "TO128||'-'||TO129||'-'||TO130 AS TO128T, A.MB002 AS CMSMB002A, B.MB002 AS CMSMB002B, C.MC002 AS "
    "CMSMC002A, D.MC002 AS CMSMC002B, E.MD002 AS CMSMD002A, F.MD002 AS CMSMD002B, G.MA002 AS "
    "PURMA002A, H.MA002 AS PURMA002B, I.MC002 AS CMSMC002C, J.MC002 AS CMSMC002D, K.TD014 AS "
    "COPTD014A, L.TD014 AS COPTD014B, M.TC012 AS COPTC012A, M.TC004 AS COPTC004A, N.TC012 AS "
    "COPTC012B, N.TC004 AS COPTC004B, O.MA002 AS COPMA002A, P.MA002 AS COPMA002B,G.MA010 AS "
    "PURMA010A,G.MA011 AS PURMA011A ");
const QString From1 = QStringLiteral(
    "FROM $$MOCTO MOCTO, $$MOCTP MOCTP, $$CMSMQ CMSMQ, $$CMSMB A, $$CMSMB B, $$CMSMC C, $$CMSMC D, "
    "$$CMSMD E, $$CMSMD F, $$PURMA G, $$PURMA H, $$CMSMC I, $$CMSMC J, $$COPTD K, $$COPTD L, $$COPTC "
    "M, $$COPTC N, $$COPMA O, $$COPMA P ");
const QString Where1 = QStringLiteral(
    "Where TO001=TP001(+) AND TO002=TP002(+) AND TO003=TP003(+) AND TO001=MQ001(+) AND "
    "TO021=A.MB001(+) AND TO121=B.MB001(+) AND TO022=C.MC001(+) AND TO122=D.MC001(+) AND "
    "TO023=E.MD001(+) AND TO123=F.MD001(+) AND TO033=G.MA001(+) AND TO133=H.MA001(+) AND "
    "TP010=I.MC001(+) AND TP110=J.MC001(+) AND TO028=K.TD001(+) AND TO029=K.TD002(+) AND "
    "TO030=K.TD003(+) AND TO128=L.TD001(+) AND TO129=L.TD002(+) AND TO130=L.TD003(+) AND "
    "K.TD001=M.TC001(+) AND K.TD002=M.TC002(+) AND L.TD001=N.TC001(+) AND L.TD002=N.TC002(+) AND "
    "M.TC004=O.MA001(+) AND N.TC004=P.MA001(+)");
const QString OrderBy = QStringLiteral("ORDER BY TO001, TO002, TO003, TP004 ");

// Option values as the options window fills them: 1..7 the criteria, 8 the
// send status, 9 the print date.
Variant optionValues(const QString& slipType, const QString& approval = QStringLiteral("='Y' "),
    const QString& printed = QStringLiteral("= 0 "))
{
    Variant values = Variant::CreateArray(1, 9);
    values[1] = slipType.isEmpty() ? QString() : SlipTypeCondition(slipType);
    for (int i = 2; i <= 5; ++i)
        values[i] = QString();
    values[6] = approval;
    values[7] = printed;
    values[8] = QString();
    values[9] = QStringLiteral("20261208");
    return values;
}

struct TRun {
    int SqlType = 0;
    Variant PowerData;
    int SendMode = 0;
};

QString statement(int mode, const Variant& values, const TRun& run = {})
{
    TChangeSlipRun road {
        run.SqlType, mode, values, ChangeSlipSettings(run.PowerData, QStringLiteral("DEMO")), false};
    road.Settings.SendMode = run.SendMode;
    TQueryPieces pieces;
    return ChangeSlipStatement(road, pieces);
}

Variant keys(const QString& type, const QString& number, const QString& version)
{
    return Variant::ArrayOf({type, number, version, "51"});
}

} // namespace

TEST(ChangeSlipQuery, SlipTypeWithDefaultStatuses)
{
    const TChangeSlipQuery query(0);
    TQueryPieces pieces;
    query.BuildQuery(QueryModeCriteria, optionValues(QStringLiteral("A001")), pieces);
    EXPECT_EQ(pieces.SelectPart(), Select0);
    EXPECT_EQ(pieces.FromPart() + pieces.JoinPart(), FromAndJoins0);
    EXPECT_EQ(pieces.WherePart(),
        QStringLiteral("Where 1=1  and (TO001='A001' ) and (TO041='Y' ) and (TO042= 0 ) "));
    EXPECT_EQ(pieces.OrderByPart(), OrderBy);

    EXPECT_EQ(statement(QueryModeCriteria, optionValues(QStringLiteral("A001"))),
        Select0 + FromAndJoins0
            + QStringLiteral("Where (1=1  and (TO001='A001' ) and (TO041='Y' ) and (TO042= 0 )) ") + OrderBy);
}

TEST(ChangeSlipQuery, EveryStatusAddsNoStatusCondition)
{
    EXPECT_EQ(statement(QueryModeCriteria, optionValues(QStringLiteral("A001"), QString(), QString())),
        Select0 + FromAndJoins0 + QStringLiteral("Where (1=1  and (TO001='A001' )) ") + OrderBy);
    // The other statuses of the two lists.
    EXPECT_TRUE(statement(QueryModeCriteria,
        optionValues(QStringLiteral("A001"), ApprovalStatusCondition(2), PrintStatusCondition(0)))
                    .contains(QStringLiteral("(TO001='A001' ) and (TO041='V' ) and (TO042<> 0 ))")));
}

TEST(ChangeSlipQuery, PanelCriteriaBecomeQuotedRangesAndLists)
{
    Variant values = optionValues(QStringLiteral("A511"), QString(), QString());
    values[2] = Variant::ArrayOf({QString(QChar(4)), "20240001", "20240009"});
    values[3] = Variant::ArrayOf({QString(QChar(5)), "0001", Variant::Null(), "0003"});
    values[4] = Variant::ArrayOf({"20241201", "20241231"});
    values[5] = Variant::ArrayOf({QString(), "20250110"});
    EXPECT_EQ(statement(QueryModeCriteria, values),
        Select0 + FromAndJoins0
            + QStringLiteral(
                "Where (1=1  and (TO001='A511' ) and  (TO002 Between '20240001' and '20240009')  and "
                "(TO003 IN ('0001', '0003')) and  (TO004 Between '20241201' and '20241231')  and  "
                "(TO043<= '20250110' OR TO043 IS NULL )) ")
            + OrderBy);
}

TEST(ChangeSlipQuery, KeyPrintGivesOneConditionPerKey)
{
    EXPECT_EQ(statement(QueryModeKeys,
                  keys(QStringLiteral("A001"), QStringLiteral("20240001"), QStringLiteral("0002"))),
        Select0 + FromAndJoins0
            + QStringLiteral("Where (1=1  and (TO001='A001') and (TO002='20240001') and (TO003='0002')) ")
            + OrderBy);
    EXPECT_EQ(statement(QueryModeKeys, keys(QStringLiteral("A001"), QString(), QStringLiteral("0002"))),
        Select0 + FromAndJoins0 + QStringLiteral("Where (1=1  and (TO001='A001') and (TO003='0002')) ")
            + OrderBy);
    // No keys at all, or keys that are no array: no condition.
    EXPECT_EQ(statement(QueryModeKeys, Variant()),
        Select0 + FromAndJoins0 + QStringLiteral("Where (1=1) ") + OrderBy);
    EXPECT_EQ(SlipTypeKeyOfKeys(keys(QStringLiteral("A001"), QString(), QString())), QStringLiteral("51"));
    EXPECT_EQ(SlipTypeKeyOfKeys(Variant::ArrayOf({"A001", "1", "2"})), QString());
}

TEST(ChangeSlipQuery, OuterJoinDialectHasNoJoinsAndNoUserColumns)
{
    const QString sql = statement(QueryModeCriteria, optionValues(QStringLiteral("A001")), {1, Variant(), 0});
    EXPECT_EQ(sql,
        Select1 + From1 + QStringLiteral("Where (") + Where1.mid(6)
            + QStringLiteral("  and (TO001='A001' ) and (TO041='Y' ) and (TO042= 0 )) ") + OrderBy);
    EXPECT_FALSE(sql.contains(QStringLiteral("LEFT JOIN")));
    EXPECT_FALSE(sql.contains(QStringLiteral("UDF")));
    EXPECT_FALSE(sql.contains(QStringLiteral("+'-'+")));

    const TChangeSlipQuery query(1);
    TQueryPieces pieces;
    query.BuildQuery(QueryModeKeys, keys(QStringLiteral("A001"), QString(), QString()), pieces);
    EXPECT_EQ(pieces.JoinPart(), QString());
}

TEST(ChangeSlipQuery, SendingAddsTheSendStatusFromItsReservedSlot)
{
    Variant values = optionValues(QStringLiteral("A001"));
    values[8] = SendStatusCondition(1);
    EXPECT_EQ(statement(QueryModeCriteria, values, {0, Variant(), 2}),
        Select0 + FromAndJoins0
            + QStringLiteral(
                "Where (1=1  and (TO001='A001' ) and (TO041='Y' ) and (TO042= 0 )  and (TO053=0)) ")
            + OrderBy);
    // Printing ignores it; a key print has none.
    EXPECT_FALSE(statement(QueryModeCriteria, values).contains(QStringLiteral("TO053")));
    EXPECT_FALSE(
        statement(QueryModeKeys, keys(QStringLiteral("A001"), QString(), QString()), {0, Variant(), 1})
            .contains(QStringLiteral("TO053")));
}

TEST(ChangeSlipQuery, RightsConditionAndDataRightsFilters)
{
    const Variant power = Variant::ArrayOf({"TO021 = 'F01'", "YYYYYYYYYY", "Y", "F01", "Y",
        Variant::ArrayOf({1, "PURMA PURMA.MA001 <> 'S0001'"})});
    const QString sql = statement(
        QueryModeCriteria, optionValues(QStringLiteral("A521"), QString(), QString()), {0, power, 0});
    EXPECT_EQ(sql,
        Select0 + FromAndJoins0 + QStringLiteral("Where (1=1  and (TO001='A521' )) and (TO021 = 'F01') ")
            + OrderBy);
    EXPECT_EQ(ApplyDataRights(sql, power, QStringLiteral("DEMO")),
        Select0 + QStringLiteral("FROM ") + FromAndJoins0.mid(4)
            + QStringLiteral(" WHERE (( G.MA001 <> 'S0001' ) or (G.MA001 is null)) and "
                             "(( H.MA001 <> 'S0001' ) or (H.MA001 is null)) AND   (1=1  and (TO001='A521' )) "
                             "and (TO021 = 'F01') ")
            + OrderBy);
}

TEST(ChangeSlipQuery, OptionValuesFromTheWindowsInputs)
{
    Variant values = Variant::CreateArray(1, 9);
    TChangeSlipInputs inputs;
    EXPECT_FALSE(FillChangeSlipOptionValues(values, inputs));
    for (int i = 1; i <= 9; ++i)
        EXPECT_TRUE(values[i].IsEmpty()) << i;

    // The window's defaults: approved, not printed.
    inputs.SlipType = QStringLiteral("A001");
    ASSERT_TRUE(FillChangeSlipOptionValues(values, inputs));
    values[8] = QString();
    EXPECT_EQ(statement(QueryModeCriteria, values),
        statement(QueryModeCriteria, optionValues(QStringLiteral("A001"))));

    inputs.ChangeDate = Variant::ArrayOf({"20241201", "20241231"});
    inputs.ApprovalItem = 3;
    inputs.PrintItem = 2;
    ASSERT_TRUE(FillChangeSlipOptionValues(values, inputs));
    EXPECT_TRUE(
        statement(QueryModeCriteria, values)
            .contains(QStringLiteral("Where (1=1  and (TO001='A001' ) and  (TO004 Between '20241201' and "
                                     "'20241231')) ORDER BY")));
    EXPECT_EQ(ChangeSlipOptionTexts().size(), ChangeSlipOptionCount);
}

TEST(ChangeSlipQuery, DataRightsInTheOuterJoinDialect)
{
    const Variant power = Variant::ArrayOf(
        {QString(), "YYYYYYYYYY", "Y", "F01", "Y", Variant::ArrayOf({1, "PURMA PURMA.MA001 <> 'S0001'"})});
    const QString sql = statement(QueryModeCriteria, optionValues(QStringLiteral("A001")), {1, power, 0});
    EXPECT_EQ(ApplyDataRights(sql, power, QStringLiteral("DEMO")),
        Select1 + QStringLiteral("FROM ") + From1.mid(4)
            + QStringLiteral(" WHERE (( G.MA001 <> 'S0001' ) or (G.MA001 is null)) and "
                             "(( H.MA001 <> 'S0001' ) or (H.MA001 is null)) AND   (")
            + Where1.mid(6) + QStringLiteral("  and (TO001='A001' ) and (TO041='Y' ) and (TO042= 0 )) ")
            + OrderBy);
}
