#include "suite/appserver/Catalogue.h"

#include "suite/appserver/DbBackend.h"

#include <QFile>

// Resources of a static library are registered by hand (outside any namespace).
static QString catalogueResource(const QString& name)
{
    Q_INIT_RESOURCE(catalogue);
    QFile file(QStringLiteral(":/catalogue/") + name);
    if (!file.open(QIODevice::ReadOnly))
        throw EFOpenError(QStringLiteral("missing resource %1").arg(name));
    return QString::fromUtf8(file.readAll());
}

namespace appserver {

namespace {

[[noreturn]] void fault(int line, const QString& what)
{
    throw EReadError(QStringLiteral("catalogue line %1: %2").arg(line).arg(what));
}

// "?" places outside string literals.
int countPlaces(const QString& sql)
{
    int places = 0;
    bool quoted = false;
    for (const QChar c : sql) {
        if (c == u'\'')
            quoted = !quoted;
        else if (c == u'?' && !quoted)
            ++places;
    }
    return places;
}

void finish(TCatalogueEntry& e, int line, QList<TCatalogueEntry>& entries)
{
    if (e.Kind.isEmpty())
        return;
    if (e.Sql.isEmpty())
        fault(line, QStringLiteral("entry %1 %2 has no SQL").arg(e.Table, e.Number));
    e.ParamCount = countPlaces(e.Sql);
    entries << e;
    e = TCatalogueEntry();
}

} // namespace

TQueryCatalogue TQueryCatalogue::Parse(const QString& text)
{
    TQueryCatalogue catalogue;
    TCatalogueEntry entry;
    QString* continued = nullptr;
    const QStringList lines = text.split(u'\n');
    for (int i = 0; i < lines.size(); ++i) {
        const QString raw = lines[i];
        const QString line = raw.trimmed();
        if (line.isEmpty() || line.startsWith(u'#')) {
            continued = nullptr;
            continue;
        }
        if (raw.front().isSpace()) {
            if (!continued)
                fault(i + 1, QStringLiteral("continuation without a value"));
            *continued += u' ' + line;
            continue;
        }
        continued = nullptr;
        if (line.startsWith(u'[')) {
            finish(entry, i, catalogue.entries_);
            if (!line.endsWith(u']'))
                fault(i + 1, QStringLiteral("unclosed section"));
            const QStringList key = line.mid(1, line.size() - 2).split(u' ', Qt::SkipEmptyParts);
            const QString kind = key.value(0).toLower();
            if (kind == u"query" || kind == u"lookup") {
                if (key.size() != 3)
                    fault(i + 1, QStringLiteral("a query needs a table and a number"));
                entry.Kind = kind == u"query" ? QStringLiteral("Query") : QStringLiteral("Lookup");
                entry.Number = key[2];
            } else if (kind == u"counter") {
                if (key.size() != 2)
                    fault(i + 1, QStringLiteral("a counter needs one name"));
                entry.Kind = QStringLiteral("Counter");
            } else {
                fault(i + 1, QStringLiteral("unknown kind %1").arg(key.value(0)));
            }
            entry.Table = key[1].toUpper();
            continue;
        }
        const qsizetype eq = line.indexOf(u'=');
        if (eq < 0 || entry.Kind.isEmpty())
            fault(i + 1, QStringLiteral("expected name = value inside an entry"));
        const QString name = line.left(eq).trimmed().toLower();
        const QString value = line.mid(eq + 1).trimmed();
        if (name == u"title") {
            entry.Title = value;
        } else if (name == u"columns") {
            entry.Columns.clear();
            for (const QString& c : value.split(u','))
                entry.Columns << c.trimmed();
        } else if (name == u"sql") {
            entry.Sql = value;
            continued = &entry.Sql;
        } else {
            fault(i + 1, QStringLiteral("unknown setting %1").arg(name));
        }
    }
    finish(entry, static_cast<int>(lines.size()), catalogue.entries_);
    return catalogue;
}

const TQueryCatalogue& TQueryCatalogue::Standard()
{
    static const TQueryCatalogue catalogue = Parse(catalogueResource(QStringLiteral("queries")));
    return catalogue;
}

const TCatalogueEntry* TQueryCatalogue::Find(
    const QString& kind, const QString& table, const QString& number) const
{
    const QString t = table.trimmed();
    const QString n = number.trimmed();
    for (const TCatalogueEntry& e : entries_)
        if (e.Kind.compare(kind, Qt::CaseInsensitive) == 0 && e.Table.compare(t, Qt::CaseInsensitive) == 0
            && e.Number.compare(n, Qt::CaseInsensitive) == 0)
            return &e;
    if (kind.compare(QLatin1String("Lookup"), Qt::CaseInsensitive) == 0)
        return Find(QStringLiteral("Query"), table, number);
    return nullptr;
}

QList<TCatalogueMessage> ParseMessageCatalogue(const QString& text)
{
    QList<TCatalogueMessage> messages;
    const QStringList lines = text.split(u'\n');
    for (int i = 0; i < lines.size(); ++i) {
        const QString line = lines[i].trimmed();
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        const QStringList f = line.split(u'|');
        const QStringList code = f.value(0).split(u';');
        if (f.size() != 3 || code.size() != 2 || code[0].size() != 1 || code[1].size() != 6)
            fault(i + 1, QStringLiteral("expected kind;number|simplified|traditional"));
        auto unescape = [](QString s) { return s.replace(QLatin1String("\\n"), QLatin1String("\n")); };
        messages << TCatalogueMessage {code[0].toUpper(), code[1], unescape(f[1]), unescape(f[2])};
    }
    return messages;
}

QList<TCatalogueMessage> StandardMessages()
{
    return ParseMessageCatalogue(catalogueResource(QStringLiteral("messages")));
}

void InstallMessageCatalogue(TDbBackend& db)
{
    db.Execute(
        QStringLiteral("CREATE TABLE IF NOT EXISTS MSGCAT (MSGTYPE TEXT NOT NULL, MSGID TEXT NOT NULL, "
                       "MSGCHS TEXT, MSGCHT TEXT, PRIMARY KEY (MSGTYPE, MSGID))"));
    TDbTransaction tx(db);
    for (const TCatalogueMessage& m : StandardMessages()) {
        db.Execute(QStringLiteral("DELETE FROM MSGCAT WHERE MSGTYPE = ? AND MSGID = ?"), {m.Kind, m.Number});
        db.Execute(QStringLiteral("INSERT INTO MSGCAT (MSGTYPE, MSGID, MSGCHS, MSGCHT) VALUES (?, ?, ?, ?)"),
            {m.Kind, m.Number, m.Simplified, m.Traditional});
    }
    tx.Commit();
}

QString ReadCatalogueMessage(
    TDbBackend& db, const QString& kind, const QString& number, const QString& language)
{
    const VariantList key {kind.trimmed().toUpper(), number.trimmed()};
    if (db.HasTable(QStringLiteral("MSGCAT"))) {
        const QString column = language.trimmed().compare(QLatin1String("CHT"), Qt::CaseInsensitive) == 0
            ? QStringLiteral("MSGCHT")
            : QStringLiteral("MSGCHS");
        auto c = db.Query(QStringLiteral("SELECT %1 FROM MSGCAT WHERE MSGTYPE = ? AND MSGID = ?").arg(column),
            key, SqlAccess::Read);
        if (c->Next() && !c->IsNull(0))
            return c->Text(0);
    }
    if (db.HasTable(QStringLiteral("MSGCHT"))) {
        auto c = db.Query(
            db.BindTableName(QStringLiteral("MSGCHT")).prepend(QStringLiteral("SELECT MSGTEXT FROM "))
                + QStringLiteral(" WHERE MSGTYPE = ? AND MSGID = ?"),
            key, SqlAccess::Read);
        if (c->Next() && !c->IsNull(0))
            return c->Text(0);
    }
    return QString();
}

Variant RunCatalogueStatement(TDbBackend& db, const QString& sql, int paramCount, const VariantList& params)
{
    if (params.size() > paramCount)
        throw EDatabaseError(QStringLiteral("the query takes %1 parameters, %2 were given")
                                 .arg(paramCount)
                                 .arg(params.size()));
    VariantList bound;
    for (int i = 0; i < paramCount; ++i) {
        const Variant& p = i < params.size() ? params[i].Deref() : Variant();
        // Values are bound as texts, as the catalogue's key columns hold texts.
        bound << Variant(p.ToString());
    }
    auto c = db.Query(sql, bound, SqlAccess::Read);
    VariantList rows;
    while (c->Next()) {
        VariantList row;
        for (int col = 0; col < c->ColumnCount(); ++col)
            row << c->Value(col);
        rows << Variant::ArrayOf(row);
    }
    return Variant::ArrayOf(rows);
}

} // namespace appserver
