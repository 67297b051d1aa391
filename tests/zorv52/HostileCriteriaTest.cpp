// Typed criteria and shell keys are data: whatever they hold, the statement
// around them keeps its shape, and values that did not come through the
// condition builders are refused.
#include "common/SqlScan.h"
#include "runtime/system/Exceptions.h"
#include "support/QStringPrinter.h"
#include "zorv52/ChangeSlipCriteria.h"
#include "zorv52/ChangeSlipQuery.h"

#include <gtest/gtest.h>

#include <QRandomGenerator>

namespace {

QString build(int sqlType, int mode, const Variant& values)
{
    const TChangeSlipQuery query(sqlType);
    TQueryPieces pieces;
    query.BuildQuery(mode, values, pieces);
    return query.AdjustQuery(pieces, ChangeSlipSettings(Variant(), QStringLiteral("DEMO")));
}

// Criteria with one value in every typed place: slip type, slip number
// range, version list, change date.
Variant criteriaWith(const QString& v)
{
    Variant values = Variant::CreateArray(1, 8);
    values[1] = SlipTypeCondition(v);
    values[2] = Variant::ArrayOf({QString(QChar(4)), v, v + u'z'});
    values[3] = Variant::ArrayOf({QString(QChar(5)), v, Variant::ArrayOf({v})});
    values[4] = v;
    values[6] = ApprovalStatusCondition(0);
    values[7] = PrintStatusCondition(1);
    return values;
}

// The statement with every literal replaced by "?": what the database
// parses as structure.
QString shape(const QString& sql)
{
    const TSqlScan scan(sql);
    QString out;
    qsizetype pos = 0;
    for (const auto& [at, length] : scan.Quoted()) {
        out += QStringView(sql).mid(pos, at - pos);
        out += u'?';
        pos = at + length;
    }
    out += QStringView(sql).mid(pos);
    return out;
}

QString hostileValue(QRandomGenerator& rnd)
{
    static const char16_t* const parts[] = {u"'", u"''", u"\"", u"--", u"/*", u"*/", u";", u"(", u")",
        u" OR ", u"1=1", u"FROM", u" WHERE ", u"\\", u"中", u"x", u" ", u"]", u"["};
    QString v;
    for (int n = 1 + rnd.bounded(12); n > 0; --n)
        v += QString::fromUtf16(parts[rnd.bounded(static_cast<int>(std::size(parts)))]);
    return v;
}

} // namespace

TEST(HostileCriteria, AQuoteInASlipTypeOrKeyStaysInsideItsLiteral)
{
    EXPECT_EQ(SlipTypeCondition(QStringLiteral("A'001")), QStringLiteral("='A''001' "));
    EXPECT_EQ(KeyCondition(QStringLiteral("A'001")), QStringLiteral("='A''001'"));

    Variant values = criteriaWith(QStringLiteral("A'001"));
    EXPECT_TRUE(build(0, QueryModeCriteria, values).contains(QStringLiteral("(TO001='A''001' )")));
    const QString keyed = build(1, QueryModeKeys, Variant::ArrayOf({"A'001", "x' OR '1'='1", "0001"}));
    EXPECT_TRUE(
        keyed.contains(QStringLiteral("(TO001='A''001') and (TO002='x'' OR ''1''=''1') and (TO003='0001')")))
        << qPrintable(keyed);
}

TEST(HostileCriteria, RandomValuesNeverChangeTheStatementsShape)
{
    const QString benign = QStringLiteral("A001");
    for (quint32 seed = 11; seed <= 13; ++seed) {
        QRandomGenerator rnd(seed);
        for (int i = 0; i < 300; ++i) {
            const QString v = hostileValue(rnd);
            for (int sqlType = 0; sqlType <= 1; ++sqlType) {
                ASSERT_EQ(shape(build(sqlType, QueryModeCriteria, criteriaWith(v))),
                    shape(build(sqlType, QueryModeCriteria, criteriaWith(benign))))
                    << "seed " << seed << " value " << i << ": " << qPrintable(v);
                const Variant keys = Variant::ArrayOf({v, v, v, "51"});
                ASSERT_EQ(shape(build(sqlType, QueryModeKeys, keys)),
                    shape(build(sqlType, QueryModeKeys, Variant::ArrayOf({benign, benign, benign, "51"}))))
                    << "seed " << seed << " key " << i << ": " << qPrintable(v);
            }
        }
    }
}

TEST(HostileCriteria, ConditionTextsNotMadeByTheBuildersAreRefused)
{
    const TChangeSlipQuery query(0);
    TQueryPieces pieces;
    query.BuildQuery(QueryModeCriteria, criteriaWith(QStringLiteral("A001")), pieces);
    const QString where = pieces.WherePart();
    const QString select = pieces.SelectPart();

    const auto refused = [&](int element, const QString& text) {
        Variant values = criteriaWith(QStringLiteral("B002"));
        values[element] = text;
        TQueryPieces p = pieces;
        EXPECT_THROW(query.BuildQuery(QueryModeCriteria, values, p), EConvertError)
            << element << ": " << qPrintable(text);
        // Refused before anything changed.
        EXPECT_EQ(p.WherePart(), where);
        EXPECT_EQ(p.SelectPart(), select);
    };
    refused(1, QStringLiteral("='A' OR 1=1"));
    refused(1, QStringLiteral("='A''"));
    refused(1, QStringLiteral("A001"));
    refused(1, QStringLiteral("='A'' OR ''1''=''1' OR 'x'='x'"));
    refused(6, QStringLiteral("='Y' OR 1=1"));
    refused(6, QStringLiteral("='X' "));
    refused(7, QStringLiteral("= 0; DELETE FROM $$MOCTO"));

    // The builders' own texts pass, spaces around the literal allowed.
    EXPECT_TRUE(IsSlipTypeCondition(QStringLiteral(" = 'A''001'  ")));
    EXPECT_TRUE(IsSlipTypeCondition(QStringLiteral("=''")));
    EXPECT_FALSE(IsSlipTypeCondition(QStringLiteral("=")));
}

TEST(HostileCriteria, NulCharactersAreRefused)
{
    const QString withNul = QStringLiteral("A0") + QChar(0) + QStringLiteral("1");
    EXPECT_THROW(SlipTypeCondition(withNul), EConvertError);
    TQueryPieces pieces;
    EXPECT_THROW(
        TChangeSlipQuery(0).BuildQuery(QueryModeKeys, Variant::ArrayOf({withNul}), pieces), EConvertError);
    EXPECT_TRUE(pieces.SelectPart().isEmpty());
}
