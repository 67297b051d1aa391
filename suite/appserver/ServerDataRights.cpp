#include "suite/appserver/ServerDataRights.h"

#include "common/DataRights.h"
#include "common/PowerData.h"
#include "common/SqlScan.h"
#include "runtime/system/Exceptions.h"
#include "suite/appserver/SqlTokens.h"

#include <QSet>

namespace {

// The rights list the weaving takes, with the main table's condition as one
// more entry when there is one.
Variant serverRightsList(const TUserRights& rights, const QString& mainTable, QSet<QString>& tables)
{
    QStringList entries = rights.RightsList;
    if (!rights.MainCondition.trimmed().isEmpty() && !mainTable.trimmed().isEmpty())
        entries << mainTable.trimmed().toUpper() + u' ' + rights.MainCondition;
    Variant list = Variant::CreateArray(0, static_cast<int>(entries.size()));
    list.At(0) = static_cast<int>(entries.size());
    for (int i = 0; i < entries.size(); ++i) {
        list.At(i + 1) = entries[i];
        tables.insert(entries[i].section(u' ', 0, 0).toUpper());
    }
    return list;
}

} // namespace

QString ApplyServerDataRights(
    const QString& sql, const TUserRights& rights, const QString& mainTable, const QString& databaseName)
{
    if (!rights.DataRights)
        return sql;
    QSet<QString> tables;
    const Variant list = serverRightsList(rights, mainTable, tables);
    if (tables.isEmpty())
        return sql;

    const TSqlScan scan(sql);
    for (const auto& [pos, length] : scan.Quoted()) {
        const QChar open = sql[pos];
        if (open != u'"' && open != u'[')
            continue;
        const QStringView inside = QStringView(sql).mid(pos + 1, qMax<qsizetype>(0, length - 2)).trimmed();
        if (tables.contains(sqltokens::tableOfWord(inside)))
            throw EDatabaseError(
                QStringLiteral("table %1 may not be named in quotes").arg(inside.toString()));
    }
    QString normalised;
    normalised.reserve(sql.size() + 16);
    qsizetype at = 0;
    for (std::size_t i = 0; i < scan.Tokens().size(); ++i) {
        const TSqlToken& token = scan.Tokens()[i];
        if (token.TokenKind != TSqlToken::Word)
            continue;
        const QString table = sqltokens::tableOfWord(scan.WordAt(i));
        if (!tables.contains(table))
            continue;
        normalised += QStringView(sql).mid(at, token.Pos - at);
        normalised += QStringLiteral("$$") + table;
        at = token.Pos + token.Length;
    }
    normalised += QStringView(sql).mid(at);

    Variant power = Variant::CreateArray(0, PowerDataRightsList);
    power.At(PowerDataRightsApply) = QStringLiteral("Y");
    power.At(PowerDataRightsList) = list;
    return ApplyDataRights(normalised, power, databaseName);
}
