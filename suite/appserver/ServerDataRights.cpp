#include "suite/appserver/ServerDataRights.h"

#include "common/DataRights.h"
#include "common/PowerData.h"
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

// Control characters have no place in a statement: SQLite stops reading at
// a NUL (the filter woven after it is never seen), and the others only hide
// what a text says. Blanks that end lines stay allowed.
void refuseControls(const QString& sql)
{
    for (const QChar c : sql)
        if ((c.unicode() < 0x20 && c != u'\t' && c != u'\r' && c != u'\n') || c.unicode() == 0x7F)
            throw EDatabaseError(
                QStringLiteral("a statement may not hold control character %1").arg(int(c.unicode())));
}

// The tokens of a client's read, made ready for the weaving: comments go
// (a filter woven after "-- ..." would be commented out), a rights table
// gets its bound name, and every other way of naming one is either made a
// plain name or refused.
class TRightsTableNames {
public:
    explicit TRightsTableNames(const QSet<QString>& tables)
        : tables_(tables)
    {
    }

    QString Normalise(const QString& sql)
    {
        using namespace sqltokens;
        QList<Token> tokens;
        for (Token& t : tokenize(sql)) {
            if (t.kind == Tok::Comment)
                t = {Tok::Space, QStringLiteral(" ")};
            if (t.kind != Tok::Space)
                tokens << t;
            else if (tokens.isEmpty() || tokens.last().kind != Tok::Space)
                tokens << Token {Tok::Space, QStringLiteral(" ")};
        }
        dropParenthesesAroundNames(tokens);
        QString out;
        const Token* previous = nullptr;
        for (int i = 0; i < tokens.size(); ++i) {
            const Token& t = tokens[i];
            if (t.kind == Tok::Space) {
                out += t.text;
                continue;
            }
            check(tokens, i, previous);
            out += t.kind == Tok::Word && names(t) ? QStringLiteral("$$") + tableOfWord(t.text) : t.text;
            previous = &t;
        }
        return out;
    }

private:
    bool names(const sqltokens::Token& t) const
    {
        return t.kind == sqltokens::Tok::Word && tables_.contains(sqltokens::tableOfWord(t.text));
    }

    static const sqltokens::Token* nextSignificant(const QList<sqltokens::Token>& tokens, int from)
    {
        for (int i = from; i < tokens.size(); ++i)
            if (tokens[i].kind != sqltokens::Tok::Space)
                return &tokens[i];
        return nullptr;
    }

    // "(MOCTO)" and "((MOCTO))" read MOCTO itself: the parentheses go, so
    // that the weaving sees a plain table name.
    void dropParenthesesAroundNames(QList<sqltokens::Token>& tokens) const
    {
        using namespace sqltokens;
        for (bool changed = true; changed;) {
            changed = false;
            QList<int> at; // significant tokens
            for (int i = 0; i < tokens.size(); ++i)
                if (tokens[i].kind != Tok::Space)
                    at << i;
            for (int k = 0; k + 2 < at.size(); ++k) {
                if (isPunct(tokens[at[k]], "(") && names(tokens[at[k + 1]])
                    && isPunct(tokens[at[k + 2]], ")")) {
                    tokens[at[k]] = {Tok::Space, QStringLiteral(" ")};
                    tokens[at[k + 2]] = {Tok::Space, QStringLiteral(" ")};
                    changed = true;
                    k += 2;
                }
            }
        }
    }

    // Where a table may stand: after FROM, JOIN, a comma or an opening
    // parenthesis.
    static bool tablePosition(const sqltokens::Token* previous)
    {
        using namespace sqltokens;
        return previous
            && (isWord(*previous, "FROM") || isWord(*previous, "JOIN") || isPunct(*previous, ",")
                || isPunct(*previous, "(") || isWord(*previous, "UPDATE") || isWord(*previous, "INTO"));
    }

    void check(const QList<sqltokens::Token>& tokens, int i, const sqltokens::Token* previous) const
    {
        using namespace sqltokens;
        const Token& t = tokens[i];
        const auto quotedName = [&] {
            return tables_.contains(tableOfWord(QStringView(t.text).mid(1, t.text.size() - 2).trimmed()));
        };
        // A rights table in quotes cannot be told from a value reliably.
        if (t.kind == Tok::QuotedName && quotedName())
            throw EDatabaseError(QStringLiteral("table %1 may not be named in quotes").arg(t.text));
        // SQLite takes a string literal where a table name stands.
        if (t.kind == Tok::String && tablePosition(previous) && quotedName())
            throw EDatabaseError(QStringLiteral("table %1 may not be named as a literal").arg(t.text));
        // MySQL-style quotes, which SQLite accepts for names.
        if (isPunct(t, "`"))
            throw EDatabaseError(QStringLiteral("names may not be quoted with `"));
        // PostgreSQL's "TABLE name" reads a whole table where a sub-select stands.
        if (isWord(t, "TABLE"))
            throw EDatabaseError(QStringLiteral("TABLE is not allowed in a read"));
        // A parenthesised join where a table stands, "FROM (MOCTO x JOIN
        // ...)": the weaving takes each parenthesis for a sub-select of its
        // own, so such a group may name no rights table.
        if (!isPunct(t, "(") || !previous || !(isWord(*previous, "FROM") || isWord(*previous, "JOIN")))
            return;
        const Token* next = nextSignificant(tokens, i + 1);
        if (next && (isWord(*next, "SELECT") || isWord(*next, "WITH") || isWord(*next, "VALUES")))
            return;
        for (int depth = 0, k = i; k < tokens.size(); ++k) {
            depth += isPunct(tokens[k], "(") ? 1 : isPunct(tokens[k], ")") ? -1 : 0;
            if (names(tokens[k]))
                throw EDatabaseError(QStringLiteral("table %1 may not be read inside a parenthesised join")
                                         .arg(tokens[k].text));
            if (depth == 0)
                break;
        }
    }

    const QSet<QString>& tables_;
};

} // namespace

QString ApplyServerDataRights(
    const QString& sql, const TUserRights& rights, const QString& mainTable, const QString& databaseName)
{
    refuseControls(sql);
    if (!rights.DataRights)
        return sql;
    QSet<QString> tables;
    const Variant list = serverRightsList(rights, mainTable, tables);
    if (tables.isEmpty())
        return sql;
    const QString normalised = TRightsTableNames(tables).Normalise(sql);

    Variant power = Variant::CreateArray(0, PowerDataRightsList);
    power.At(PowerDataRightsApply) = QStringLiteral("Y");
    power.At(PowerDataRightsList) = list;
    return ApplyDataRights(normalised, power, databaseName);
}
