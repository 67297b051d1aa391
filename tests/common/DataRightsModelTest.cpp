// Random flat statements (one SELECT, no parentheses, no keyword inside a
// literal) woven two ways: by ApplyDataRights, and by the plain text walk
// the weaving has always been described by (move up to FROM, find WHERE or
// ORDER, put the filter there). On such statements the two must agree
// character for character.
#include "common/DataRights.h"
#include "common/LibConditions.h"
#include "support/QStringPrinter.h"

#include <gtest/gtest.h>

#include <QRandomGenerator>

namespace {

const Variant rightsList = Variant::ArrayOf(
    {3, "PURMA PURMA.MA001 <> 'S0001'", "CMSMB CMSMB.MB001 = 'F01'", "COPMA COPMA.MA002 > ''"});

Variant power()
{
    return Variant::ArrayOf({QString(), QString(), QString(), QString(), "Y", rightsList});
}

// The text walk. The filter of a clause without WHERE is built from the
// text before ORDER: the alias of the last table is the word before ORDER.
QString modelWeave(const QString& sql, const QString& database)
{
    QString out;
    QString rest = sql;
    for (;;) {
        const qsizetype from = rest.indexOf(QLatin1String("FROM"), 0, Qt::CaseInsensitive);
        if (from < 0)
            break;
        out += rest.left(from + 4);
        rest = rest.mid(from + 4);
        const qsizetype where = rest.indexOf(QLatin1String("WHERE"), 0, Qt::CaseInsensitive);
        if (where < 0) {
            const qsizetype order = rest.indexOf(QLatin1String("ORDER"));
            QString filter;
            BuildRightsFilter(rightsList, database, order < 0 ? rest : rest.left(order), filter);
            if (order >= 0) {
                out += rest.left(order);
                rest = rest.mid(order);
            } else {
                out += QLatin1Char(' ') + rest;
                rest.clear();
            }
            if (!filter.isEmpty())
                out += QStringLiteral(" WHERE ") + filter;
            continue;
        }
        const QString s = rest.left(where);
        out += QLatin1Char(' ') + s + QStringLiteral(" WHERE ");
        rest = rest.mid(where + 5);
        QString filter;
        BuildRightsFilter(rightsList, database, s, filter);
        if (!filter.isEmpty())
            out += filter + QStringLiteral(" AND ");
    }
    if (!rest.isEmpty())
        out += QLatin1Char(' ') + rest;
    return out;
}

QString pick(QRandomGenerator& rnd, std::initializer_list<const char*> items)
{
    return QString::fromLatin1(items.begin()[rnd.bounded(static_cast<int>(items.size()))]);
}

QString spaces(QRandomGenerator& rnd)
{
    return QString(1 + rnd.bounded(3), u' ');
}

QString keyword(QRandomGenerator& rnd, const char* word)
{
    const QString w = QString::fromLatin1(word);
    return rnd.bounded(2) ? w : w.toLower();
}

QString tableReference(QRandomGenerator& rnd, bool bound, int n)
{
    const QString table = pick(rnd, {"PURMA", "CMSMB", "COPMA", "MOCTO", "CMSMQ"});
    const QString name = (bound ? QStringLiteral("DEMO..") : QStringLiteral("$$")) + table;
    const QString alias = QStringLiteral("T%1").arg(n);
    switch (rnd.bounded(3)) {
    case 0:
        return name + QStringLiteral(" AS ") + alias;
    case 1:
        return name + u' ' + alias;
    default:
        return name;
    }
}

QString condition(QRandomGenerator& rnd)
{
    return pick(rnd, {"1=1", "T0.MA001 = 'A B'", "TO041='Y'", "(TO042= 0 )", "MB002 LIKE 'x%'"});
}

QString randomStatement(QRandomGenerator& rnd)
{
    const bool bound = rnd.bounded(4) == 0;
    QString sql = keyword(rnd, "SELECT") + QStringLiteral(" T0.*, MB002 AS N") + spaces(rnd)
        + keyword(rnd, "FROM") + spaces(rnd) + tableReference(rnd, bound, 0);
    const int joins = rnd.bounded(4);
    for (int j = 1; j <= joins; ++j)
        sql += spaces(rnd) + keyword(rnd, "LEFT") + u' ' + keyword(rnd, "JOIN") + u' '
            + tableReference(rnd, bound, j) + QStringLiteral(" ON T%1.K=T0.K").arg(j);
    if (rnd.bounded(3) != 0) {
        sql += spaces(rnd) + keyword(rnd, "WHERE") + spaces(rnd) + condition(rnd);
        for (int c = rnd.bounded(3); c > 0; --c)
            sql += QStringLiteral(" and ") + condition(rnd);
    }
    // The old walk found ORDER in upper case only.
    if (rnd.bounded(2))
        sql += spaces(rnd) + QStringLiteral("ORDER BY T0.K") + QString(rnd.bounded(2), u' ');
    return sql;
}

} // namespace

TEST(DataRightsModel, FlatStatementsAgreeWithTheTextWalk)
{
    for (quint32 seed = 1; seed <= 4; ++seed) {
        QRandomGenerator rnd(seed);
        for (int i = 0; i < 2000; ++i) {
            const QString sql = randomStatement(rnd);
            ASSERT_EQ(ApplyDataRights(sql, power(), QStringLiteral("DEMO")),
                modelWeave(sql, QStringLiteral("DEMO")))
                << "seed " << seed << " statement " << i << ": " << qPrintable(sql);
        }
    }
}
