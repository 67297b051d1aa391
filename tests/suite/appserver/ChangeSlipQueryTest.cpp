// The change-slip query of the LEFT JOIN dialect, exactly as the options form
// sends it, against a generated demo database.
#include "DemoServerFixture.h"

#include "suite/appserver/DbBackend.h"
#include "suite/appserver/SqlTranslator.h"
#include <algorithm>

namespace {

const QString orderBy = QStringLiteral(" ORDER BY TO001, TO002, TO003, TP004 ");

int field(const QStringList& fields, const char* name)
{
    const int i = static_cast<int>(fields.indexOf(QLatin1String(name)));
    EXPECT_GE(i, 0) << name;
    return i;
}

// Keys of the expected rows, read straight from the tables.
QString expectedKeys(const QString& where)
{
    return QStringLiteral(
        "SELECT TO001||'-'||TO002||'-'||TO003||'/'||COALESCE(TP004,'') FROM MOCTO LEFT JOIN MOCTP "
        "ON TP001=TO001 AND TP002=TO002 AND TP003=TO003 WHERE %1 ORDER BY TO001, TO002, TO003, TP004")
        .arg(where);
}

QStringList keysOf(const QList<VariantList>& rows, const QStringList& fields)
{
    const int key = field(fields, "TO001T");
    const int item = field(fields, "TP004");
    QStringList out;
    for (const VariantList& row : rows)
        out << row[key].ToString() + u'/' + row[item].ToString();
    return out;
}

} // namespace

class ChangeSlipQueryTest : public DemoServerTest { };

TEST_F(ChangeSlipQueryTest, CriteriaQueryReturnsTheSlipsOfTheMonthWithNamesJoined)
{
    const Variant server = NewServer();
    const QString where
        = QStringLiteral("Where (1=1  and (TO001='A511' ) and (TO004 >= '20241201' and TO004 <= "
                         "'20241231') and (TO041='Y' ) and (TO042= 0 )) ");
    QStringList fields;
    const QList<VariantList> rows = Fetch(server, QStringLiteral("Provider1"),
        ChangeSlipSelect() + ChangeSlipFromAndJoins() + where + orderBy, &fields);
    const QStringList expected = Column(expectedKeys(QStringLiteral(
        "TO001='A511' AND TO004 BETWEEN '20241201' AND '20241231' AND TO041='Y' AND TO042=0")));
    ASSERT_GT(expected.size(), 20);
    EXPECT_EQ(keysOf(rows, fields), expected);

    // Names of the joined tables arrive under their aliases; repeated names are made unique.
    const int supplier = field(fields, "TO033");
    const int fax = field(fields, "PURMA010A");
    const int factoryName = field(fields, "CMSMB002A");
    const int remark = field(fields, "CMSMW002");
    EXPECT_TRUE(fields.contains(QStringLiteral("COMPANY_1")));
    for (const VariantList& row : rows) {
        const QString faxExpected
            = Column(QStringLiteral("SELECT MA010 FROM PURMA WHERE MA001='%1'").arg(row[supplier].ToString()))
                  .value(0);
        ASSERT_EQ(row[fax].ToString(), faxExpected);
        ASSERT_FALSE(row[factoryName].ToString().isEmpty());
    }
    const bool anyProcess = std::any_of(
        rows.begin(), rows.end(), [&](const VariantList& r) { return !r[remark].ToString().isEmpty(); });
    EXPECT_TRUE(anyProcess);
}

TEST_F(ChangeSlipQueryTest, ConcatenationBuildsTextKeysNotSums)
{
    const Variant server = NewServer();
    QStringList fields;
    const QList<VariantList> rows = Fetch(server, QStringLiteral("Provider1"),
        ChangeSlipSelect() + ChangeSlipFromAndJoins() + QStringLiteral("Where 1=1  and (TO028 IS NOT NULL) ")
            + orderBy,
        &fields);
    ASSERT_FALSE(rows.isEmpty());
    const VariantList& row = rows.first();
    EXPECT_EQ(row[field(fields, "TO001T")].ToString(),
        row[field(fields, "TO001")].ToString() + u'-' + row[field(fields, "TO002")].ToString() + u'-'
            + row[field(fields, "TO003")].ToString());
    EXPECT_EQ(row[field(fields, "TO028T")].ToString(),
        row[field(fields, "TO028")].ToString() + u'-' + row[field(fields, "TO029")].ToString() + u'-'
            + row[field(fields, "TO030")].ToString());
    EXPECT_FALSE(row[field(fields, "COPTC012A")].ToString().isEmpty());
}

TEST_F(ChangeSlipQueryTest, SendStatusAndDataRightsWovenByHandRestrictTheRows)
{
    const Variant server = NewServer(QStringLiteral("WANG"));
    const Variant power = server.Get(QStringLiteral("PowerData"));
    const QString mainCondition = power[0].ToString();
    ASSERT_EQ(power[4].ToString(), QStringLiteral("Y"));
    ASSERT_EQ(power[5][0].ToInt(), 1);
    // The where piece after AdjustQuery, and the PURMA filter woven in before it.
    const QString where
        = QStringLiteral(" Where (1=1  and (TO001='A521' ) and (TO053=0)) and (%1) ").arg(mainCondition);
    const QString filter = QStringLiteral("(( G.MA001 <> 'S0001' ) or (G.MA001 is null)) and "
                                          "(( H.MA001 <> 'S0001' ) or (H.MA001 is null)) AND ");
    QString sql = ChangeSlipSelect() + ChangeSlipFromAndJoins() + where + orderBy;
    sql.replace(QStringLiteral(" Where ("), QStringLiteral(" WHERE ") + filter + u'(');
    QStringList fields;
    const QList<VariantList> rows = Fetch(server, QStringLiteral("Provider1"), sql, &fields);
    const QStringList expected = Column(expectedKeys(
        QStringLiteral("TO001='A521' AND TO053=0 AND TO021='F01' AND TO033<>'S0001' AND TO133<>'S0001'")));
    ASSERT_FALSE(expected.isEmpty());
    EXPECT_EQ(keysOf(rows, fields), expected);
    EXPECT_LT(expected.size(),
        Count(QStringLiteral("SELECT COUNT(*) FROM MOCTO JOIN MOCTP ON TP001=TO001 AND "
                             "TP002=TO002 AND TP003=TO003 WHERE TO001='A521'")));
}

TEST_F(ChangeSlipQueryTest, KeyQueryReturnsExactlyOneSlipsLines)
{
    const QStringList slip = Column(QStringLiteral(
        "SELECT TO001||'|'||TO002||'|'||TO003 FROM MOCTO WHERE TO003='0002' ORDER BY TO002 LIMIT 1"));
    ASSERT_EQ(slip.size(), 1);
    const QStringList key = slip.first().split(u'|');
    const Variant server = NewServer();
    const QString where = QStringLiteral("Where 1=1  and (TO001='%1') and (TO002='%2') and (TO003='%3') ")
                              .arg(key[0], key[1], key[2]);
    QStringList fields;
    const QList<VariantList> rows = Fetch(server, QStringLiteral("Provider1"),
        ChangeSlipSelect() + ChangeSlipFromAndJoins() + where + orderBy, &fields);
    const qint64 lines
        = Count(QStringLiteral("SELECT COUNT(*) FROM MOCTP WHERE TP001='%1' AND TP002='%2' AND TP003='%3'")
                    .arg(key[0], key[1], key[2]));
    ASSERT_GE(lines, 1);
    ASSERT_EQ(rows.size(), lines);
    for (const VariantList& row : rows)
        EXPECT_EQ(row[field(fields, "TO001T")].ToString(), key.join(u'-'));
}

TEST_F(ChangeSlipQueryTest, LinesThatAddAnItemCarryThePlaceholder)
{
    const Variant server = NewServer();
    QStringList fields;
    const QList<VariantList> rows = Fetch(server, QStringLiteral("Provider2"),
        QStringLiteral("SELECT TP004, TP104, TP005 FROM $$MOCTP AS MOCTP WHERE TP004='********************'"),
        &fields);
    ASSERT_FALSE(rows.isEmpty());
    for (const VariantList& row : rows) {
        EXPECT_FALSE(row[1].ToString().isEmpty());
        EXPECT_TRUE(row[2].ToString().isEmpty());
    }
    EXPECT_GT(Count(QStringLiteral("SELECT COUNT(*) FROM MOCTP WHERE TP104=''")), 0);
}

TEST_F(ChangeSlipQueryTest, PrintCountFollowsTheKeyConditionOfOneSlip)
{
    const QStringList slip = Column(QStringLiteral(
        "SELECT TO001||'-'||TO002||'-'||TO003 FROM MOCTO WHERE TO042=0 ORDER BY TO002 LIMIT 1"));
    ASSERT_EQ(slip.size(), 1);
    const Variant server = NewServer();
    Variant args = Variant::ArrayOf(
        {"$$MOCTO", "TO042", QStringLiteral("TO001+'-'+TO002+'-'+TO003='%1'").arg(slip.first())});
    EXPECT_EQ(server.Call(QStringLiteral("UpdatePrintCount"), {Variant::Ref(args)}).ToInt(), 1);
    EXPECT_EQ(server.Call(QStringLiteral("UpdatePrintCount"), {Variant::Ref(args)}).ToInt(), 1);
    EXPECT_EQ(Count(QStringLiteral("SELECT TO042 FROM MOCTO WHERE TO001||'-'||TO002||'-'||TO003='%1'")
                        .arg(slip.first())),
        2);
    EXPECT_EQ(Count(QStringLiteral("SELECT COUNT(*) FROM MOCTO WHERE TO042 > 0")),
        Count(QStringLiteral(
            "SELECT COUNT(*) FROM MOCTO WHERE TO042 > 0 AND TO001||'-'||TO002||'-'||TO003<>'%1'")
                  .arg(slip.first()))
            + 1);
}

TEST_F(ChangeSlipQueryTest, ProviderDeliversInPacketsAndContinues)
{
    const Variant server = NewServer();
    const QString sql = QStringLiteral("SELECT TP001, TP002, TP003, TP019 FROM $$MOCTP ORDER BY 1, 2, 3, 4");
    Variant sent;
    qint64 total = 0;
    bool end = false;
    int packets = 0;
    Variant packet
        = server.Call(QStringLiteral("AS_GetRecords"), {"Provider1", 1000, Variant::Ref(sent), sql, 1});
    for (;;) {
        DataPacketReader reader(packet.ToBytes());
        ++packets;
        total += reader.RowCount();
        end = reader.EndOfData();
        if (end || reader.RowCount() < 1000)
            break;
        packet = server.Call(QStringLiteral("AS_GetRecords"), {"Provider1", 1000, Variant::Ref(sent), "", 0});
    }
    EXPECT_TRUE(end);
    EXPECT_EQ(total, summary_.Lines);
    EXPECT_EQ(packets, static_cast<int>(summary_.Lines / 1000) + 1);
}

TEST_F(ChangeSlipQueryTest, AllSlipsReadInKeyOrderWithoutSortingTheLinesAgain)
{
    // The plan of the query as the server translates it: the headers are read
    // in key order, their look-ups run once per header, then the lines of each
    // slip follow in the order of their key with their own look-ups; no
    // temporary sort of the wide result rows is needed.
    auto db = OpenBackend(QStringLiteral("SQLITE"), DatabaseFile());
    const QString sql
        = TranslateSql(ChangeSlipSelect() + ChangeSlipFromAndJoins() + QStringLiteral("Where 1=1 ") + orderBy,
            DialectOf(*db));
    QStringList plan;
    auto cursor = db->Query(QStringLiteral("EXPLAIN QUERY PLAN ") + sql);
    while (cursor->Next())
        plan << cursor->Text(3);
    ASSERT_GE(plan.size(), 6);
    EXPECT_TRUE(plan[0].startsWith(QLatin1String("SCAN MOCTO"))) << qPrintable(plan.join(u'\n'));
    const qsizetype lines = plan.indexOf(
        QStringLiteral("SEARCH MOCTP USING PRIMARY KEY (TP001=? AND TP002=? AND TP003=?) LEFT-JOIN"));
    ASSERT_EQ(lines, plan.size() - 5) << qPrintable(plan.join(u'\n'));
    for (const char* lookup : {"SEARCH I ", "SEARCH J ", "SEARCH Q ", "SEARCH R "})
        EXPECT_TRUE(std::any_of(plan.begin() + lines + 1, plan.end(), [&](const QString& step) {
            return step.startsWith(QLatin1String(lookup));
        })) << lookup;
    for (const QString& step : std::as_const(plan))
        EXPECT_FALSE(step.contains(QLatin1String("TEMP B-TREE"))) << qPrintable(step);
    cursor.reset();

    // And the rows are those of the reference query, in its order.
    const Variant server = NewServer();
    QStringList fields;
    const QList<VariantList> rows = Fetch(server, QStringLiteral("Provider1"),
        ChangeSlipSelect() + ChangeSlipFromAndJoins() + QStringLiteral("Where 1=1 ") + orderBy, &fields);
    const QStringList expected = Column(expectedKeys(QStringLiteral("1=1")));
    ASSERT_GT(expected.size(), 240);
    EXPECT_EQ(keysOf(rows, fields), expected);
}
