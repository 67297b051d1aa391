#include "common/LibConditions.h"

#include "common/LibStrs.h"
#include "runtime/system/ArgReader.h"
#include "runtime/system/Exceptions.h"

#include <QVarLengthArray>

namespace {

const QChar RangeMarker(4);
const QChar ListMarker(5);

QString shortened(const QString& text)
{
    constexpr int limit = 40;
    return text.size() <= limit ? text : text.left(limit) + QStringLiteral("...");
}

// A bound of an unquoted column: trimmed and a number, or empty.
QString numericBound(const QString& field, const QString& text)
{
    QString bound = text.trimmed();
    if (!bound.isEmpty() && !IsSqlNumber(bound))
        throw EConvertError(
            QStringLiteral("'%1' is not a valid number for column %2").arg(shortened(bound), field));
    return bound;
}

void appendToWhere(QString& where, const QString& condition)
{
    if (where.isEmpty())
        where = QStringLiteral("Where ") + condition;
    else
        where += QStringLiteral(" and ") + condition;
}

bool isIdentifierChar(QChar ch)
{
    return ch.isLetterOrNumber() || ch == QLatin1Char('_');
}

bool isWordEnd(QChar ch)
{
    return ch.isSpace() || ch == QLatin1Char(',') || ch == QLatin1Char('(') || ch == QLatin1Char(')')
        || ch == QLatin1Char(';');
}

// Characters that end a table reference in a FROM list.
bool isReferenceEnd(QChar ch)
{
    return ch == QLatin1Char(',') || ch == QLatin1Char(')') || ch == QLatin1Char(';');
}

void skipSpaces(QStringView text, qsizetype& pos)
{
    while (pos < text.size() && text[pos].isSpace())
        ++pos;
}

QStringView nextWord(QStringView text, qsizetype& pos)
{
    skipSpaces(text, pos);
    const qsizetype start = pos;
    while (pos < text.size() && !isWordEnd(text[pos]))
        ++pos;
    return text.mid(start, pos - start);
}

bool isAliasStop(QStringView word)
{
    static const QLatin1String stops[] = {QLatin1String("LEFT"), QLatin1String("RIGHT"),
        QLatin1String("INNER"), QLatin1String("WHERE"), QLatin1String("ON")};
    for (const QLatin1String& stop : stops)
        if (word.compare(stop, Qt::CaseInsensitive) == 0)
            return true;
    return word.startsWith(QLatin1String("WITH"), Qt::CaseInsensitive);
}

QString aliasOf(const QString& table, QStringView rest)
{
    qsizetype pos = 0;
    const QStringView first = nextWord(rest, pos);
    if (first.isEmpty())
        return table;
    skipSpaces(rest, pos);
    const bool referenceEnds = pos >= rest.size() || isReferenceEnd(rest[pos]);
    if (first.compare(QLatin1String("AS"), Qt::CaseInsensitive) == 0) {
        const QStringView name = referenceEnds ? QStringView() : nextWord(rest, pos);
        return name.isEmpty() ? table : name.toString();
    }
    if (isAliasStop(first))
        return table;
    const QStringView second = referenceEnds ? QStringView() : nextWord(rest, pos);
    if (second.isEmpty() || isAliasStop(second))
        return first.toString().toUpper();
    return table;
}

} // namespace

bool IsSqlNumber(QStringView text)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    auto digits = [&]() {
        const qsizetype start = i;
        while (i < n && text[i] >= QLatin1Char('0') && text[i] <= QLatin1Char('9'))
            ++i;
        return i - start;
    };
    if (i < n && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-')))
        ++i;
    qsizetype mantissa = digits();
    if (i < n && text[i] == QLatin1Char('.')) {
        ++i;
        mantissa += digits();
    }
    if (mantissa == 0)
        return false;
    if (i < n && (text[i] == QLatin1Char('e') || text[i] == QLatin1Char('E'))) {
        ++i;
        if (i < n && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-')))
            ++i;
        if (digits() == 0)
            return false;
    }
    return i == n;
}

QString QuoteSqlText(const QString& value)
{
    if (value.contains(QChar(0)))
        throw EConvertError(
            QStringLiteral("'%1' contains a NUL character").arg(shortened(value).remove(QChar(0))));
    QString quoted;
    quoted.reserve(value.size() + 2);
    quoted += QLatin1Char('\'');
    for (const QChar ch : value) {
        if (ch == QLatin1Char('\''))
            quoted += QLatin1Char('\'');
        quoted += ch;
    }
    quoted += QLatin1Char('\'');
    return quoted;
}

ConditionShape ConditionKind(const Variant& value)
{
    const Variant& first = TArgReader(value).At(0);
    if (first.IsString()) {
        const QString marker = first.ToString();
        if (marker.size() == 1 && marker[0] == ListMarker)
            return ConditionShape::List;
        if (marker.size() == 1 && marker[0] == RangeMarker)
            return ConditionShape::MarkedRange;
    }
    return ConditionShape::Range;
}

void AddFieldCondition(
    QString& where, const QString& field, const Variant& value, QString& condition, int fieldType)
{
    switch (ConditionKind(value)) {
    case ConditionShape::List:
        AddListCondition(where, field, value, condition);
        break;
    case ConditionShape::MarkedRange:
        AddRangeCondition(where, field, value, condition, fieldType, true);
        break;
    case ConditionShape::Range:
        AddRangeCondition(where, field, value, condition, fieldType, false);
        break;
    }
}

void AddRangeCondition(QString& where, const QString& field, const Variant& value, QString& condition,
    int fieldType, bool marked)
{
    condition.clear();
    if (fieldType < 1 || fieldType > 3)
        return;

    // A value that is no array is the lower bound alone; unreadable bounds are empty.
    const TArgReader bounds = TArgReader::Spread(value);
    const int m = marked && value.IsArray() ? 1 : 0;
    QString low = bounds.Text(m);
    QString high = bounds.Text(m + 1);

    const bool quoted = fieldType == 1;
    if (!quoted) {
        low = numericBound(field, low);
        high = numericBound(field, high);
    }
    const bool hasLow = !low.isEmpty();
    const bool hasHigh = !high.isEmpty();
    if (!hasLow && !hasHigh)
        return;
    const bool same = low == high;
    if (quoted) {
        if (hasLow)
            low = QuoteSqlText(low);
        if (hasHigh)
            high = QuoteSqlText(high);
    }

    QString text;
    if (hasLow && hasHigh && !same)
        text = QStringLiteral(" (") + field + QStringLiteral(" Between ") + low + QStringLiteral(" and ")
            + high + QStringLiteral(") ");
    else if (hasLow && hasHigh)
        text = QStringLiteral(" (") + field + QLatin1Char('=') + low + QStringLiteral(") ");
    else if (hasLow)
        text = QStringLiteral(" (") + field + (quoted ? QStringLiteral(">= ") : QStringLiteral(">=")) + low
            + QLatin1Char(')');
    else
        text = QStringLiteral(" (") + field + (quoted ? QStringLiteral("<= ") : QStringLiteral("<=")) + high
            + QStringLiteral(" OR ") + field + QStringLiteral(" IS NULL )");

    appendToWhere(where, text);
    condition = text;
}

void AddListCondition(QString& where, const QString& field, const Variant& value, QString& condition)
{
    condition.clear();
    QString list;
    auto add = [&list](const QString& text) {
        if (text.isEmpty())
            return;
        if (!list.isEmpty())
            list += QStringLiteral(", ");
        list += QuoteSqlText(text);
    };

    // A list array starts with its marker; an element may be a row whose first
    // item is the value. A value that is no array is a list of one.
    const TArgReader items = TArgReader::Spread(value);
    for (int i = value.IsArray() ? 1 : 0; i < items.Count(); ++i) {
        const Variant& element = items.At(i);
        add(element.IsArray() ? TArgReader(element).Text(0) : items.Text(i));
    }
    if (list.isEmpty())
        return;

    const QString text = QLatin1Char('(') + field + QStringLiteral(" IN (") + list + QStringLiteral("))");
    appendToWhere(where, text);
    condition = text;
}

void FindTableAlias(const QString& table, const QString& rest, QString& alias)
{
    alias = aliasOf(table, rest);
}

void BuildRightsFilter(const Variant& rights, const QString& databasePrefix, const QString& sql,
    QString& filter, const QString& excludedAliases)
{
    filter.clear();
    const TArgReader entries(rights);
    if (entries.Count() == 0)
        return;

    // Only plain character searches run over the whole text: they are the fast
    // ones. The text is copied only when it has line breaks to join.
    QString joined;
    QStringView flat(sql);
    if (sql.contains(QLatin1Char('\r'))) {
        joined = sql;
        for (qsizetype at = joined.indexOf(QLatin1Char('\r')); at >= 0;
             at = joined.indexOf(QLatin1Char('\r'), at + 1))
            if (at + 1 < joined.size() && joined[at + 1] == QLatin1Char('\n'))
                joined.replace(at, 2, QLatin1Char(' '));
        flat = joined;
    }
    flat = flat.trimmed();

    bool unboundNames = false;
    for (qsizetype at = flat.indexOf(QLatin1Char('$')); at >= 0 && !unboundNames;
         at = flat.indexOf(QLatin1Char('$'), at + 1))
        unboundNames = at + 1 < flat.size() && flat[at + 1] == QLatin1Char('$');

    QString prefix;
    if (unboundNames)
        prefix = QStringLiteral("$$");
    else if (databasePrefix.endsWith(QLatin1String("..")))
        prefix = databasePrefix;
    else
        prefix = databasePrefix + QStringLiteral("..");

    const QString excluded = QLatin1Char(';') + excludedAliases + QLatin1Char(';');

    // Element 0 counts the entries that follow it; an unreadable count means none.
    const int count = qMin(entries.TryInt(0).value_or(0), entries.Count() - 1);

    // Where table names begin: one pass over the text, shared by every entry.
    const bool boundNames = !unboundNames;
    QVarLengthArray<qsizetype, 64> nameStarts;
    for (qsizetype at = flat.indexOf(prefix[0]); at >= 0; at = flat.indexOf(prefix[0], at + 1)) {
        if (!flat.mid(at).startsWith(prefix))
            continue;
        // A longer database name that ends in this one is another database.
        if (boundNames && at > 0 && isIdentifierChar(flat[at - 1]))
            continue;
        nameStarts.append(at + prefix.size());
    }

    for (int i = 1; i <= count; ++i) {
        const QString entry = entries.Text(i);
        const qsizetype space = entry.indexOf(QLatin1Char(' '));
        const QString table = space < 0 ? entry : entry.left(space);
        if (table.isEmpty())
            continue;
        const QString wrapped
            = QStringLiteral(" ( ") + (space < 0 ? QString() : entry.mid(space + 1)) + QStringLiteral(" ) ");
        const QString tableDot = table + QLatin1Char('.');
        const QString keyColumn = table.right(2) + QStringLiteral("001 is null)");

        for (const qsizetype start : nameStarts) {
            const QStringView rest = flat.mid(start);
            // Only the table itself, not a longer name that begins with it.
            if (rest.isEmpty() || rest[0] != table[0] || !rest.startsWith(table)
                || (rest.size() > table.size() && isIdentifierChar(rest[table.size()])))
                continue;
            const QString alias = aliasOf(table, rest.mid(table.size()));
            if (!excludedAliases.isEmpty()
                && excluded.contains(QLatin1Char(';') + alias.toUpper() + QLatin1Char(';')))
                continue;
            const QString condition = ReplaceText(wrapped, tableDot, alias + QLatin1Char('.'), true);
            filter += QLatin1Char('(') + condition + QStringLiteral(" or (") + alias + QLatin1Char('.')
                + keyColumn + QStringLiteral(") and ");
        }
    }
    if (!filter.isEmpty())
        filter.chop(5);
}
