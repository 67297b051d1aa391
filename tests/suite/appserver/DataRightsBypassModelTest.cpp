// Whatever text a client reads with, it gets no row its data rights exclude.
// WANG may read factory F01's slips only (TO021 = 'F01', the main table's
// condition); DS reads everything. The model: the rows WANG gets for a text
// are the rows DS gets for the same text that pass WANG's condition, or the
// text is refused. Texts are generated from the ways of naming a table,
// aliases, comments, control characters, trailing clauses and wrappers,
// from a fixed seed that every failure names.
#include "DemoServerFixture.h"

#include <QRandomGenerator>

namespace {

constexpr quint32 Seed = 20261209;

QString pick(QRandomGenerator& rnd, const QStringList& items)
{
    return items[static_cast<int>(rnd.bounded(static_cast<quint32>(items.size())))];
}

// One SELECT of TO021 from the slip table, in one of many spellings.
QString generatedRead(QRandomGenerator& rnd)
{
    const QString table = pick(rnd,
        {"MOCTO", "mocto", "$$MOCTO", "main.MOCTO", "(MOCTO)", "((MOCTO))", "( mocto )", "(\n$$MOCTO)",
            "'MOCTO'", "`MOCTO`", "\"MOCTO\"", "[MOCTO]", "/**/MOCTO", "--x\nMOCTO", "(MOCTO x)",
            "(MOCTO x CROSS JOIN CMSMQ)", "(SELECT * FROM MOCTO)", "(TABLE MOCTO)"});
    const bool aliased = rnd.bounded(2) == 0 && !table.contains(u'x');
    const QString alias = aliased ? pick(rnd, {" x", " AS x", " x "}) : QString();
    const QString column
        = aliased && rnd.bounded(2) == 0 ? QStringLiteral("x.TO021") : QStringLiteral("TO021");
    const QString tail = pick(rnd,
        {"", " -- c", " /* c */", QString(QChar(0)) + " WHERE 1=0", "\n", "\r\n-- c\n", " WHERE 1=1",
            " WHERE TO021 <> 'F01' OR 1=1", " WHERE 1=1 -- ", " ORDER BY 1", " GROUP BY TO021", " LIMIT 1000",
            " /* WHERE */", " --\n WHERE TO021 <> 'F01'", QString(QChar(0x1B)), "\t-- \x7f"});
    const QString read = QStringLiteral("SELECT %1 FROM %2%3%4").arg(column, table, alias, tail);
    switch (rnd.bounded(5)) {
    case 0:
        return QStringLiteral("SELECT * FROM (%1\n) q").arg(read);
    case 1:
        return QStringLiteral("WITH w AS (%1\n) SELECT TO021 FROM w").arg(read);
    case 2:
        return QStringLiteral("SELECT TO021 FROM MOCTO UNION ALL %1").arg(read);
    default:
        return read;
    }
}

} // namespace

class DataRightsBypassModelTest : public DemoServerTest { };

TEST_F(DataRightsBypassModelTest, NoTextReadsARowTheUsersFilterExcludes)
{
    const Variant wang = NewServer(QStringLiteral("WANG"));
    const Variant ds = NewServer(QStringLiteral("DS"));
    QRandomGenerator rnd(Seed);
    int refused = 0;
    int served = 0;
    for (int n = 0; n < 300; ++n) {
        const QString sql = generatedRead(rnd);
        const std::string what
            = QStringLiteral("seed %1, statement %2: %3").arg(Seed).arg(n).arg(sql).toStdString();
        QList<VariantList> all;
        try {
            all = Fetch(ds, QStringLiteral("Provider1"), sql);
        } catch (const Exception&) {
            continue; // not SQL the engine runs
        }
        qsizetype allowed = 0;
        for (const VariantList& row : all)
            allowed += row.value(0).ToString() == QLatin1String("F01") ? 1 : 0;

        QList<VariantList> rows;
        try {
            rows = Fetch(wang, QStringLiteral("Provider1"), sql);
        } catch (const Exception&) {
            ++refused;
            // Refused one way, refused every way.
            EXPECT_LT(wang.Call(QStringLiteral("RunFreeSQL"), {sql}).ToInt(), 0) << what;
            continue;
        }
        ++served;
        for (const VariantList& row : rows)
            ASSERT_EQ(row.value(0).ToString(), QStringLiteral("F01")) << what;
        EXPECT_EQ(rows.size(), allowed) << what;
        EXPECT_EQ(wang.Call(QStringLiteral("RunFreeSQL"), {sql}).ToInt(), allowed) << what;
        const Variant viaCatalogue = wang.Call(QStringLiteral("CatalogueQuery"),
            {Variant::ArrayOf({"Query", "SimpleSql", "", "DEMO", Variant::ArrayOf({sql, ""})})});
        ASSERT_TRUE(viaCatalogue.IsArray()) << what;
        EXPECT_EQ(viaCatalogue[0].HighBound() + 1, allowed) << what;
    }
    // Both outcomes occur, so neither "refuse all" nor "serve all" passes.
    EXPECT_GT(refused, 20);
    EXPECT_GT(served, 50);
}

TEST_F(DataRightsBypassModelTest, TheReportedBypassesAreClosed)
{
    const Variant wang = NewServer(QStringLiteral("WANG"));
    const qint64 own = Count(QStringLiteral("SELECT COUNT(*) FROM MOCTO WHERE TO021 = 'F01'"));
    ASSERT_LT(own, Count(QStringLiteral("SELECT COUNT(*) FROM MOCTO")));
    const auto freeSql
        = [&](const QString& sql) { return wang.Call(QStringLiteral("RunFreeSQL"), {sql}).ToInt(); };
    EXPECT_EQ(freeSql(QStringLiteral("SELECT TO021 FROM MOCTO -- ")), own);
    EXPECT_EQ(freeSql(QStringLiteral("SELECT TO021 FROM (MOCTO)")), own);
    EXPECT_EQ(freeSql(QStringLiteral("SELECT TO021 FROM ((MOCTO))")), own);
    EXPECT_LT(freeSql(QStringLiteral("SELECT TO021 FROM MOCTO") + QChar(0)), 0);
    EXPECT_LT(freeSql(QStringLiteral("SELECT TO021 FROM 'MOCTO'")), 0);
    EXPECT_LT(freeSql(QStringLiteral("SELECT TO021 FROM (TABLE mocto) t")), 0);
    // Literals are still data.
    EXPECT_EQ(freeSql(QStringLiteral("SELECT 'MOCTO' FROM CMSMQ")), 4);
}
