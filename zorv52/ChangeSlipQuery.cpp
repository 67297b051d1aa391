#include "zorv52/ChangeSlipQuery.h"

#include "common/DataRights.h"
#include "common/LibConditions.h"
#include "common/VariantElements.h"
#include "options/SendStatus.h"
#include "runtime/system/Exceptions.h"
#include "zorv52/ChangeSlipCriteria.h"

const QLatin1String ChangeSlipMainTable("MOCTO");
const QLatin1String ChangeSlipSendCountColumn("TO053");
// Item n of the send-way list picks entry n: fax or e-mail to each slip's
// supplier (rows grouped by TO033, address from the supplier columns the
// select list names PURMA010A and PURMA011A), or to one typed address.
const QLatin1String ChangeSlipSendWayTable("FAX,TO033,PURMA010A;EMAIL,TO033,PURMA011A;FAX,,;EMAIL,,;");

namespace {

// The select list, added in this order; each item is one call of the piece setter.
const char16_t* const SelectTexts[] = {
    u"SELECT MOCTO.*, MOCTP.*, TO001+'-'+TO002+'-'+TO003 AS TO001T, TO026+'-'+TO027 AS TO026T, "
    u"TO028+'-'+TO029+'-'+TO030 AS TO028T, TO126+'-'+TO127 AS TO126T, TO128+'-'+TO129+'-'+TO130 "
    u"AS TO128T, A.MB002 AS CMSMB002A, B.MB002 AS CMSMB002B, C.MC002 AS CMSMC002A, D.MC002 AS "
    u"CMSMC002B, E.MD002 AS CMSMD002A, F.MD002 AS CMSMD002B, G.MA002 AS PURMA002A, H.MA002 AS "
    u"PURMA002B, I.MC002 AS CMSMC002C, J.MC002 AS CMSMC002D, K.TD014 AS COPTD014A, L.TD014 AS "
    u"COPTD014B, M.TC012 AS COPTC012A, M.TC004 AS COPTC004A, N.TC012 AS COPTC012B, N.TC004 AS "
    u"COPTC004B, O.MA002 AS COPMA002A, P.MA002 AS COPMA002B,G.MA010 AS PURMA010A,G.MA011 AS "
    u"PURMA011A ",
    u", TO055, TO155 ",
    u" ,MOCTO.UDF01 AS UDF01M, MOCTO.UDF02 AS UDF02M, MOCTO.UDF03 AS UDF03M, MOCTO.UDF04 AS "
    u"UDF04M, MOCTO.UDF05 AS UDF05M, MOCTO.UDF06 AS UDF06M, "
    u" MOCTO.UDF51 AS UDF51M, MOCTO.UDF52 AS UDF52M, MOCTO.UDF53 AS UDF53M, MOCTO.UDF54 AS "
    u"UDF54M, MOCTO.UDF55 AS UDF55M, MOCTO.UDF56 AS UDF56M, "
    u" MOCTP.UDF01 AS UDF01D, MOCTP.UDF02 AS UDF02D, MOCTP.UDF03 AS UDF03D, MOCTP.UDF04 AS "
    u"UDF04D, MOCTP.UDF05 AS UDF05D, MOCTP.UDF06 AS UDF06D, "
    u" MOCTP.UDF51 AS UDF51D, MOCTP.UDF52 AS UDF52D, MOCTP.UDF53 AS UDF53D, MOCTP.UDF54 AS "
    u"UDF54D, MOCTP.UDF55 AS UDF55D, MOCTP.UDF56 AS UDF56D, "
    u" Q.MW002 AS CMSMW002, R.MW002 AS CMSMW002T ",
    u", S.MG005 AS COPMG005A,S.MG006 AS COPMG006A,T.MG005 AS COPMG005B,T.MG006 AS COPMG006B ",
    u",TO069,TO169,TO070,TO170,CMSNA.NA003 TO069C,CMSNA1.NA003 TO169C  ",
    u",G.MA013 AS PURMA013A,G.MA014 AS PURMA014A,G.MA008 AS PURMA008A,H.MA013 AS "
    u"PURMA013B,H.MA014 AS PURMA014B,H.MA008 AS PURMA008B,H.MA010 AS PURMA010B,G.MA046 AS "
    u"PURMA046A,H.MA046 AS PURMA046B,G.MA015 AS PURMA015A,H.MA015 AS PURMA015B ",
    u",TO044,MOCTO.CREATOR AS CREATOR,X.MF002 AS MF002X,Y.MF002 AS MF002Y",
};

// The look-ups, added in this order.
const char16_t* const JoinTexts[] = {
    u"LEFT JOIN $$MOCTP AS MOCTP ON TP001=TO001 AND TP002=TO002 AND TP003=TO003  LEFT JOIN "
    u"$$ADMMF AS X ON MOCTO.CREATOR=X.MF001  LEFT JOIN $$ADMMF AS Y ON TO044=Y.MF001 LEFT JOIN "
    u"$$CMSMQ AS CMSMQ ON MQ001=TO001 LEFT JOIN $$CMSMB AS A ON A.MB001=TO021 LEFT JOIN $$CMSMB "
    u"AS B ON B.MB001=TO121 LEFT JOIN $$CMSMC AS C ON C.MC001=TO022 LEFT JOIN $$CMSMC AS D ON "
    u"D.MC001=TO122 LEFT JOIN $$CMSMD AS E ON E.MD001=TO023 LEFT JOIN $$CMSMD AS F ON "
    u"F.MD001=TO123 LEFT JOIN $$PURMA AS G ON G.MA001=TO033 LEFT JOIN $$PURMA AS H ON "
    u"H.MA001=TO133 LEFT JOIN $$CMSMC AS I ON I.MC001=TP010 LEFT JOIN $$CMSMC AS J ON "
    u"J.MC001=TP110 LEFT JOIN $$COPTD AS K ON K.TD001=TO028 AND K.TD002=TO029 AND K.TD003=TO030 "
    u"LEFT JOIN $$COPTD AS L ON L.TD001=TO128 AND L.TD002=TO129 AND L.TD003=TO130 LEFT JOIN "
    u"$$COPTC AS M ON M.TC001=K.TD001 AND M.TC002=K.TD002 LEFT JOIN $$COPTC AS N ON "
    u"N.TC001=L.TD001 AND N.TC002=L.TD002 LEFT JOIN $$COPMA AS O ON O.MA001=M.TC004 LEFT JOIN "
    u"$$COPMA AS P ON P.MA001=N.TC004 ",
    u" LEFT JOIN $$CMSMW AS Q ON Q.MW001 = TP007 "
    u" LEFT JOIN $$CMSMW AS R ON R.MW001 = TP107 ",
    u" LEFT JOIN $$COPMG AS S ON S.MG001=M.TC004 AND S.MG002=K.TD004 AND S.MG003=K.TD014 "
    u" LEFT JOIN $$COPMG AS T ON T.MG001=N.TC004 AND T.MG002=L.TD004 AND T.MG003=L.TD014 ",
    u"LEFT JOIN $$CMSNA AS CMSNA  ON CMSNA.NA002=TO069 AND CMSNA.NA001='1' "
    u"LEFT JOIN $$CMSNA AS CMSNA1 ON CMSNA1.NA002=TO169 AND CMSNA1.NA001='1' ",
};

const char16_t* const FromText = u"FROM $$MOCTO AS MOCTO ";

// Every condition follows with " and ", so the where text never starts empty.
const char16_t* const WhereStart = u"Where 1=1 ";

// The "(+)" dialect: every table in FROM, the outer joins in the where text.

const char16_t* const OuterJoinSelect
    = u"SELECT MOCTO.*, MOCTP.*, TO001||'-'||TO002||'-'||TO003 AS TO001T, TO026||'-'||TO027 AS "
      u"TO026T, TO028||'-'||TO029||'-'||TO030 AS TO028T, TO126||'-'||TO127 AS TO126T, "
      u"TO128||'-'||TO129||'-'||TO130 AS TO128T, A.MB002 AS CMSMB002A, B.MB002 AS CMSMB002B, "
      u"C.MC002 AS CMSMC002A, D.MC002 AS CMSMC002B, E.MD002 AS CMSMD002A, F.MD002 AS CMSMD002B, "
      u"G.MA002 AS PURMA002A, H.MA002 AS PURMA002B, I.MC002 AS CMSMC002C, J.MC002 AS CMSMC002D, "
      u"K.TD014 AS COPTD014A, L.TD014 AS COPTD014B, M.TC012 AS COPTC012A, M.TC004 AS COPTC004A, "
      u"N.TC012 AS COPTC012B, N.TC004 AS COPTC004B, O.MA002 AS COPMA002A, P.MA002 AS "
      u"COPMA002B,G.MA010 AS PURMA010A,G.MA011 AS PURMA011A ";

const char16_t* const OuterJoinFrom
    = u"FROM $$MOCTO MOCTO, $$MOCTP MOCTP, $$CMSMQ CMSMQ, $$CMSMB A, $$CMSMB B, $$CMSMC C, $$CMSMC "
      u"D, $$CMSMD E, $$CMSMD F, $$PURMA G, $$PURMA H, $$CMSMC I, $$CMSMC J, $$COPTD K, $$COPTD L, "
      u"$$COPTC M, $$COPTC N, $$COPMA O, $$COPMA P ";

const char16_t* const OuterJoinWhereStart
    = u"Where TO001=TP001(+) AND TO002=TP002(+) AND TO003=TP003(+) AND TO001=MQ001(+) AND "
      u"TO021=A.MB001(+) AND TO121=B.MB001(+) AND TO022=C.MC001(+) AND TO122=D.MC001(+) AND "
      u"TO023=E.MD001(+) AND TO123=F.MD001(+) AND TO033=G.MA001(+) AND TO133=H.MA001(+) AND "
      u"TP010=I.MC001(+) AND TP110=J.MC001(+) AND TO028=K.TD001(+) AND TO029=K.TD002(+) AND "
      u"TO030=K.TD003(+) AND TO128=L.TD001(+) AND TO129=L.TD002(+) AND TO130=L.TD003(+) AND "
      u"K.TD001=M.TC001(+) AND K.TD002=M.TC002(+) AND L.TD001=N.TC001(+) AND L.TD002=N.TC002(+) AND "
      u"M.TC004=O.MA001(+) AND N.TC004=P.MA001(+) ";

const char16_t* const OrderByText = u" ORDER BY TO001, TO002, TO003, TP004 ";

// Criteria elements 2 to 5 and their columns: character columns, so every
// bound becomes a quoted literal.
struct TPanelColumn {
    int Element;
    QLatin1String Column;
};
const TPanelColumn PanelColumns[] = {{2, QLatin1String("TO002")}, {3, QLatin1String("TO003")},
    {4, QLatin1String("TO004")}, {5, QLatin1String("TO043")}};
constexpr int CharacterField = 1;

const QLatin1String KeyColumns[] = {QLatin1String("TO001"), QLatin1String("TO002"), QLatin1String("TO003")};

void criteriaConditions(const Variant& values, QString& where)
{
    const QString slipType = ElementText(values, 1);
    if (!slipType.isEmpty() && !IsSlipTypeCondition(slipType))
        throw EConvertError(QStringLiteral("The slip type condition is no quoted value"));
    TQueryPieces::AddCondition(where, QStringLiteral("TO001"), slipType);

    QString added;
    for (const TPanelColumn& panel : PanelColumns)
        AddFieldCondition(where, panel.Column, ElementAt(values, panel.Element), added, CharacterField);

    const QString approval = ElementText(values, 6);
    if (!IsApprovalStatusCondition(approval))
        throw EConvertError(QStringLiteral("Unknown approval status condition"));
    TQueryPieces::AddCondition(where, QStringLiteral("TO041"), approval);

    const QString printed = ElementText(values, 7);
    if (!IsPrintStatusCondition(printed))
        throw EConvertError(QStringLiteral("Unknown print status condition"));
    TQueryPieces::AddCondition(where, QStringLiteral("TO042"), printed);
}

void keyConditions(const Variant& keys, QString& where)
{
    for (int i = 0; i < 3; ++i) {
        const QString key = ElementText(keys, i);
        if (!key.isEmpty())
            TQueryPieces::AddCondition(where, KeyColumns[i], KeyCondition(key));
    }
}

} // namespace

void TChangeSlipQuery::setDialectPieces(TQueryPieces& pieces) const
{
    if (sqlType_ == 1) {
        pieces.SetSelectPart(QString::fromUtf16(OuterJoinSelect));
        pieces.SetFromPart(QString::fromUtf16(OuterJoinFrom));
        return;
    }
    // Each text goes through the setter on its own, so the spacing between
    // them is what the setter leaves (trimmed, one space), as formats' SQL
    // builders have always received it.
    bool first = true;
    for (const char16_t* text : SelectTexts) {
        pieces.SetSelectPart((first ? QString() : pieces.SelectPart()) + QString::fromUtf16(text));
        first = false;
    }
    pieces.SetFromPart(QString::fromUtf16(FromText));
    first = true;
    for (const char16_t* text : JoinTexts) {
        pieces.SetJoinPart((first ? QString() : pieces.JoinPart()) + QString::fromUtf16(text));
        first = false;
    }
}

void TChangeSlipQuery::BuildQuery(int mode, const Variant& values, TQueryPieces& pieces) const
{
    // The conditions first: a refused value leaves the pieces as they were.
    QString where = QString::fromUtf16(sqlType_ == 1 ? OuterJoinWhereStart : WhereStart);
    if (mode == QueryModeKeys)
        keyConditions(values, where);
    else
        criteriaConditions(values, where);

    setDialectPieces(pieces);
    pieces.SetWherePart(where);
    pieces.SetOrderByPart(QString::fromUtf16(OrderByText));
}

QString TChangeSlipQuery::AdjustQuery(TQueryPieces& pieces, const TQuerySettings& settings) const
{
    pieces.AdjustQuery(settings);
    if (sqlType_ == 1)
        return pieces.SelectPart() + pieces.FromPart() + pieces.WherePart() + pieces.OrderByPart();
    return pieces.SelectPart() + pieces.FromPart() + pieces.JoinPart() + pieces.WherePart()
        + pieces.OrderByPart();
}

TQuerySettings ChangeSlipSettings(const Variant& powerData, const QString& databaseName)
{
    TQuerySettings settings;
    settings.MainTable = ChangeSlipMainTable;
    settings.SendCountColumn = ChangeSlipSendCountColumn;
    settings.PowerData = powerData;
    settings.DatabaseName = databaseName;
    return settings;
}

QString ChangeSlipStatement(const TChangeSlipRun& run, TQueryPieces& pieces)
{
    const TChangeSlipQuery query(run.SqlType);
    query.BuildQuery(run.Mode, run.Values, pieces);
    TQuerySettings settings = run.Settings;
    settings.SendStatusCondition = SendStatusOfValues(run.Mode, run.Values, ChangeSlipSendStatusSlot);
    const QString sql = query.AdjustQuery(pieces, settings);
    return run.DataRights ? ApplyDataRights(sql, settings.PowerData, settings.DatabaseName) : sql;
}

TQueryPieces ChangeSlipPiecesOfAllSlips(int sqlType)
{
    TQueryPieces pieces;
    TChangeSlipQuery(sqlType).BuildQuery(
        QueryModeKeys, Variant::ArrayOf({QString(), QString(), QString(), QString()}), pieces);
    return pieces;
}
