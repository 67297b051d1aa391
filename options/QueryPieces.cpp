#include "options/QueryPieces.h"

#include "common/PowerData.h"
#include "common/VariantElements.h"

namespace {

// Trimmed, one trailing space, and the clause keyword in front unless the
// text already starts with it. The test includes the space after the
// keyword, so "WHEREVER" is no where clause and gets the prefix.
QString withKeyword(const QString& text, QLatin1String keyword, QLatin1String prefix)
{
    const QString trimmed = text.trimmed();
    if (keyword.isEmpty() || trimmed.startsWith(keyword, Qt::CaseInsensitive))
        return trimmed + QLatin1Char(' ');
    return prefix + trimmed + QLatin1Char(' ');
}

} // namespace

void TQueryPieces::SetSelectPart(const QString& text)
{
    select_ = withKeyword(text, QLatin1String("SELECT "), QLatin1String("Select "));
}

void TQueryPieces::SetFromPart(const QString& text)
{
    from_ = withKeyword(text, QLatin1String("FROM "), QLatin1String(" From "));
}

void TQueryPieces::SetWherePart(const QString& text)
{
    where_ = withKeyword(text, QLatin1String("WHERE "), QLatin1String(" Where "));
}

void TQueryPieces::SetGroupByPart(const QString& text)
{
    groupBy_ = withKeyword(text, QLatin1String("GROUP BY "), QLatin1String(" Group By "));
}

void TQueryPieces::SetOrderByPart(const QString& text)
{
    orderBy_ = withKeyword(text, QLatin1String("ORDER BY "), QLatin1String(" Order by "));
}

void TQueryPieces::SetJoinPart(const QString& text)
{
    join_ = withKeyword(text, QLatin1String(), QLatin1String());
}

void TQueryPieces::AddCondition(QString& where, const QString& column, const QString& value)
{
    if (column.isEmpty() || value.isEmpty())
        return;
    const QString condition = QLatin1Char('(') + column + value + QLatin1Char(')');
    if (where.isEmpty())
        where = condition;
    else
        where += QStringLiteral(" and ") + condition;
}

void TQueryPieces::AdjustQuery(const TQuerySettings& settings)
{
    if (settings.SendMode != 0) {
        QString where = where_;
        AddCondition(where, settings.SendCountColumn, settings.SendStatusCondition);
        SetWherePart(where);
    }
    MergeRightsCondition(settings);
}

void TQueryPieces::MergeRightsCondition(const TQuerySettings& settings)
{
    QString where = where_.trimmed();
    if (settings.MainTable.trimmed().isEmpty()) {
        SetWherePart(where);
        return;
    }
    if (!where.isEmpty()) {
        // The where piece's own conditions go in one pair of parentheses, so
        // an OR among them cannot reach past the rights condition.
        constexpr QLatin1String keyword("WHERE ");
        const qsizetype at = where.indexOf(keyword, 0, Qt::CaseInsensitive);
        where.insert(at < 0 ? 0 : at + keyword.size(), QLatin1Char('('));
        where += QLatin1Char(')');
    }
    const QString rights = ElementText(settings.PowerData, PowerDataMainCondition);
    QString merged;
    if (where.isEmpty() && !rights.isEmpty())
        merged = QStringLiteral(" Where ") + rights;
    else if (!rights.isEmpty())
        merged = where + QStringLiteral(" and (") + rights + QLatin1Char(')');
    else
        merged = where;
    SetWherePart(merged);
}
