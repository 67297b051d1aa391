#include "runtime/designer/ReportQueryBuilder.h"

#include "runtime/forms/Persistent.h"

#include <QRegularExpression>

namespace {

QString joined(const QString& base, const QString& extra, const QString& separator)
{
    if (extra.isEmpty())
        return base;
    if (base.trimmed().isEmpty())
        return extra;
    // The extension goes before the piece's trailing blanks: the options
    // window puts its pieces together as they are ("... AS TO001T " +
    // "FROM ..."), so those blanks are what keeps the next piece apart.
    qsizetype end = base.size();
    while (end > 0 && base.at(end - 1).isSpace())
        --end;
    return base.left(end) + separator + extra + base.mid(end);
}

} // namespace

ReportQueryBuilder::ReportQueryBuilder(TComponent* owner)
    : TComponent(owner)
    , tables_(new TStrings(this))
    , fields_(new TStrings(this))
{
}

void ReportQueryBuilder::SetRelationTables(TStrings* lines)
{
    tables_->Assign(lines);
}

void ReportQueryBuilder::SetRelationFields(TStrings* lines)
{
    fields_->Assign(lines);
}

bool ReportQueryBuilder::IsPlainIdentifier(const QString& name)
{
    static const QRegularExpression ident(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]{0,63}$"));
    return ident.match(name).hasMatch();
}

bool ReportQueryBuilder::IsSafeCondition(const QString& condition)
{
    // Identifiers (with the "$$" table prefix), dots, comparisons, AND/OR,
    // parentheses and spaces: enough for a join, and nothing that could end
    // the statement, open a string or a comment.
    static const QRegularExpression shape(QStringLiteral("^[A-Za-z0-9_$.=<>() ]+$"));
    if (condition.trimmed().isEmpty() || !shape.match(condition).hasMatch())
        return false;
    return !condition.contains(QLatin1String("--"));
}

QList<ReportQueryBuilder::Table> ReportQueryBuilder::tableList() const
{
    QList<Table> list;
    for (const QString& line : tables_->Lines()) {
        const QStringList parts = line.split(u'\t');
        list.append({parts.value(0).trimmed(), parts.value(1).trimmed()});
    }
    return list;
}

bool ReportQueryBuilder::IsTableSafe(int table) const
{
    const QList<Table> tables = tableList();
    return table >= 0 && table < tables.size() && IsPlainIdentifier(tables[table].Name)
        && IsSafeCondition(tables[table].Condition);
}

int ReportQueryBuilder::TableCount() const
{
    return tables_->Count();
}

QString ReportQueryBuilder::TableName(int table) const
{
    return tableList().value(table).Name;
}

QString ReportQueryBuilder::MainTable() const
{
    // The first table of the base FROM ("$$MOCTO A LEFT JOIN ..." -> MOCTO).
    static const QRegularExpression first(
        QStringLiteral("^\\s*(?:FROM\\s+)?(?:\\$\\$)?([A-Za-z_][A-Za-z0-9_]*)"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = first.match(pieces_.From);
    return m.hasMatch() ? m.captured(1) : QString();
}

QStringList ReportQueryBuilder::BaseColumns() const
{
    static const QRegularExpression column(
        QStringLiteral("^([A-Za-z_][A-Za-z0-9_]*\\.[A-Za-z_][A-Za-z0-9_]*)(\\s+AS\\s+\\S+)?$"),
        QRegularExpression::CaseInsensitiveOption);
    QString list = pieces_.Select.trimmed();
    if (list.startsWith(QLatin1String("SELECT "), Qt::CaseInsensitive))
        list = list.mid(7);
    QStringList columns;
    for (const QString& item : list.split(u',')) {
        const QRegularExpressionMatch m = column.match(item.trimmed());
        if (m.hasMatch() && !columns.contains(m.captured(1)))
            columns << m.captured(1);
    }
    return columns;
}

int ReportQueryBuilder::AddRelationTable(const QString& table, const QString& condition)
{
    const QString name
        = table.trimmed().startsWith(QLatin1String("$$")) ? table.trimmed().mid(2) : table.trimmed();
    if (!IsPlainIdentifier(name) || !IsSafeCondition(condition))
        return -1;
    tables_->Add(name + u'\t' + condition.trimmed());
    return tables_->Count() - 1;
}

int ReportQueryBuilder::AddField(int table, const QString& column, const QString& caption, int kind)
{
    if (table < 0 || table >= TableCount() || !IsPlainIdentifier(column.trimmed()))
        return -1;
    QString safeCaption = caption;
    safeCaption.replace(u'\t', u' ');
    safeCaption.replace(u'\n', u' ');
    fields_->Add(QStringLiteral("%1\t%2\t%3\t%4\t")
                     .arg(table)
                     .arg(column.trimmed(), safeCaption)
                     .arg(kind == 1 ? 1 : 0));
    return FieldCount(table) - 1;
}

QList<TQueryField> ReportQueryBuilder::Fields() const
{
    QList<TQueryField> list;
    for (const QString& line : fields_->Lines()) {
        const QStringList parts = line.split(u'\t');
        TQueryField f;
        bool ok = false;
        f.Table = parts.value(0).toInt(&ok);
        if (!ok)
            f.Table = -1;
        f.Column = parts.value(1).trimmed();
        f.Caption = parts.value(2);
        f.Kind = parts.value(3).toInt() == 1 ? 1 : 0;
        f.Component = parts.value(4).trimmed();
        list << f;
    }
    return list;
}

int ReportQueryBuilder::fieldLine(int table, int field) const
{
    const QList<TQueryField> all = Fields();
    int seen = 0;
    for (int i = 0; i < all.size(); ++i)
        if (all[i].Table == table && seen++ == field)
            return i;
    return -1;
}

int ReportQueryBuilder::FieldCount(int table) const
{
    const QList<TQueryField> all = Fields();
    return static_cast<int>(
        std::count_if(all.cbegin(), all.cend(), [&](const TQueryField& f) { return f.Table == table; }));
}

TQueryField ReportQueryBuilder::Field(int table, int field) const
{
    const int line = fieldLine(table, field);
    return line < 0 ? TQueryField() : Fields().at(line);
}

void ReportQueryBuilder::setFieldLine(int line, const TQueryField& f)
{
    QString caption = f.Caption;
    caption.replace(u'\t', u' ');
    fields_->SetStrings(line,
        QStringLiteral("%1\t%2\t%3\t%4\t%5")
            .arg(f.Table)
            .arg(f.Column, caption)
            .arg(f.Kind)
            .arg(f.Component));
}

bool ReportQueryBuilder::BindField(int table, int field, const QString& component)
{
    const int line = fieldLine(table, field);
    if (line < 0 || component.trimmed().isEmpty())
        return false;
    TQueryField f = Fields().at(line);
    if (f.Used())
        return false;
    f.Component = component.trimmed();
    setFieldLine(line, f);
    return true;
}

bool ReportQueryBuilder::UnbindComponent(const QString& component)
{
    const QList<TQueryField> all = Fields();
    for (int i = 0; i < all.size(); ++i)
        if (all[i].Used() && all[i].Component.compare(component, Qt::CaseInsensitive) == 0) {
            TQueryField f = all[i];
            f.Component.clear();
            setFieldLine(i, f);
            return true;
        }
    return false;
}

bool ReportQueryBuilder::HasExtendedFields() const
{
    const QList<TQueryField> all = Fields();
    return std::any_of(all.cbegin(), all.cend(), [](const TQueryField& f) { return f.Used(); });
}

void ReportQueryBuilder::InitQueryBuilder(const QString& select, const QString& from, const QString& where,
    const QString& groupBy, const QString& orderBy, const QString& layoutFields)
{
    pieces_.Select = select;
    pieces_.From = from;
    pieces_.Where = where;
    pieces_.GroupBy = groupBy;
    pieces_.OrderBy = orderBy;
    layoutFields_ = layoutFields;
}

bool ReportQueryBuilder::IsQueryEmpty() const
{
    return pieces_.Select.trimmed().isEmpty() || pieces_.From.trimmed().isEmpty();
}

bool ReportQueryBuilder::AcceptQueryParts(const TBuilderPieces& pieces) const
{
    return HasRelationData() && !pieces.Select.trimmed().isEmpty() && !pieces.From.trimmed().isEmpty();
}

void ReportQueryBuilder::SetQueryParts(const TBuilderPieces& pieces, bool designer)
{
    pieces_ = pieces;
    designer_ = designer;
}

namespace {

// The used fields of the tables that are safe to put into SQL.
template<typename F> void forUsable(const ReportQueryBuilder& b, const QList<TQueryField>& fields, F each)
{
    for (const TQueryField& f : fields) {
        if (f.Used() && ReportQueryBuilder::IsPlainIdentifier(f.Column) && b.IsTableSafe(f.Table))
            each(f);
    }
}

} // namespace

QString ReportQueryBuilder::ExtendedSelect() const
{
    QStringList extra;
    forUsable(*this, Fields(), [&](const TQueryField& f) {
        extra << QStringLiteral("RT%1.%2 AS %3").arg(f.Table).arg(f.Column, f.Alias());
    });
    return joined(pieces_.Select, extra.join(QStringLiteral(", ")), QStringLiteral(", "));
}

QString ReportQueryBuilder::ExtendedJoin() const
{
    QList<bool> inUse(TableCount(), false);
    forUsable(*this, Fields(), [&](const TQueryField& f) { inUse[f.Table] = true; });
    const QList<Table> tables = tableList();
    QStringList joins;
    for (int i = 0; i < tables.size(); ++i)
        if (inUse[i])
            joins << QStringLiteral("LEFT JOIN $$%1 RT%2 ON %3")
                         .arg(tables[i].Name)
                         .arg(i)
                         .arg(tables[i].Condition);
    return joined(pieces_.Join, joins.join(u' '), QStringLiteral(" "));
}

QString ReportQueryBuilder::ExtendedGroupBy() const
{
    if (pieces_.GroupBy.trimmed().isEmpty())
        return pieces_.GroupBy.trimmed();
    QStringList extra;
    forUsable(*this, Fields(),
        [&](const TQueryField& f) { extra << QStringLiteral("RT%1.%2").arg(f.Table).arg(f.Column); });
    return joined(pieces_.GroupBy.trimmed(), extra.join(QStringLiteral(", ")), QStringLiteral(", "));
}

QString ReportQueryBuilder::ExtendedOrderBy() const
{
    return pieces_.OrderBy.trimmed();
}

QString ReportQueryBuilder::GetFinalQuery(const QString& sql) const
{
    if (!active_ || !HasExtendedFields())
        return sql;
    QString text = sql;
    // Replacing an empty piece would put the extension between every
    // character of the text, so empty pieces are left alone; joins then go
    // right after the FROM list.
    const auto swap = [&text](const QString& from, const QString& to) {
        if (!from.isEmpty() && from != to)
            text.replace(from, to);
    };
    swap(pieces_.Select, ExtendedSelect());
    if (!pieces_.Join.trimmed().isEmpty())
        swap(pieces_.Join, ExtendedJoin());
    else if (!pieces_.From.trimmed().isEmpty())
        swap(pieces_.From, pieces_.From + u' ' + ExtendedJoin());
    swap(pieces_.GroupBy.trimmed(), ExtendedGroupBy());
    swap(pieces_.OrderBy.trimmed(), ExtendedOrderBy());
    return text;
}
