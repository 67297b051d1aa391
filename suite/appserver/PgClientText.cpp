#include "suite/appserver/PgClientText.h"

#include "suite/appserver/SqlTokens.h"

#include <QSet>

using namespace sqltokens;

namespace {

[[noreturn]] void refuse(const QString& why)
{
    throw EDatabaseError(QStringLiteral("statement refused: %1").arg(why));
}

// The name a function call uses: the last part of a qualified or quoted name.
QString calledName(const Token& t)
{
    QString name = t.text;
    if (t.kind == Tok::QuotedName)
        name = name.mid(1, name.size() - 2);
    const qsizetype dot = name.lastIndexOf(u'.');
    return (dot < 0 ? name : name.mid(dot + 1)).remove(u'"').toLower();
}

bool forbiddenFunction(const QString& name)
{
    static const QSet<QString> names = {QStringLiteral("set_config"), QStringLiteral("query_to_xml"),
        QStringLiteral("query_to_xmlschema"), QStringLiteral("query_to_xml_and_xmlschema"),
        QStringLiteral("cursor_to_xml"), QStringLiteral("cursor_to_xmlschema"), QStringLiteral("ts_stat")};
    return name.startsWith(QLatin1String("pg_")) || name.startsWith(QLatin1String("lo_"))
        || name.startsWith(QLatin1String("dblink")) || names.contains(name);
}

void checkShape(const QList<Token>& toks, SqlAccess access)
{
    int first = 0;
    while (first < toks.size() && (!significant(toks[first]) || isPunct(toks[first], "(")))
        ++first;
    const Token* head = first < toks.size() ? &toks[first] : nullptr;
    const bool query = head && (isWord(*head, "SELECT") || isWord(*head, "WITH") || isWord(*head, "VALUES"));
    switch (access) {
    case SqlAccess::Server:
        return;
    case SqlAccess::Read:
        if (!query)
            refuse(QStringLiteral("only a query may run here"));
        return;
    case SqlAccess::ReadInsert:
        if (query)
            return;
        if (!head || !isWord(*head, "INSERT"))
            refuse(QStringLiteral("only a query or an insert may run here"));
        for (int i = first; i + 1 < toks.size(); ++i) {
            if (!isWord(toks[i], "ON"))
                continue;
            int next = i + 1;
            while (next < toks.size() && !significant(toks[next]))
                ++next;
            if (next < toks.size() && isWord(toks[next], "CONFLICT"))
                refuse(QStringLiteral("an insert may not update (ON CONFLICT)"));
        }
        return;
    case SqlAccess::Update:
        if (!head || !isWord(*head, "UPDATE"))
            refuse(QStringLiteral("only an update may run here"));
        return;
    }
}

} // namespace

void CheckPgSchemaReach(const QString& sql, const QString& sessionSchema, const QSet<QString>& schemas)
{
    const QString own = sessionSchema.toLower();
    const auto check = [&](QString qualifier) {
        qualifier = qualifier.trimmed();
        if (qualifier.startsWith(u'"'))
            qualifier
                = qualifier.mid(1, qualifier.size() - 2).replace(QLatin1String("\"\""), QLatin1String("\""));
        qualifier = qualifier.toLower();
        if (qualifier != own && schemas.contains(qualifier))
            refuse(QStringLiteral("schema %1 is not this session's (%2)").arg(qualifier, sessionSchema));
    };
    const QList<Token> toks = tokenize(sql);
    for (int i = 0; i < toks.size(); ++i) {
        const Token& t = toks[i];
        if (t.kind == Tok::Word && t.text.contains(u'.'))
            check(t.text.section(u'.', 0, 0));
        if (t.kind != Tok::Word && t.kind != Tok::QuotedName)
            continue;
        int next = i + 1;
        while (next < toks.size() && !significant(toks[next]))
            ++next;
        if (next < toks.size() && isPunct(toks[next], "."))
            check(t.text);
    }
}

void CheckPgClientText(const QString& sql, SqlAccess access)
{
    if (access == SqlAccess::Server)
        return;
    const QList<Token> toks = tokenize(sql);
    checkShape(toks, access);
    for (int i = 0; i < toks.size(); ++i) {
        const Token& t = toks[i];
        if (t.kind == Tok::String && i > 0 && toks[i - 1].kind == Tok::Word) {
            const QString prefix = toks[i - 1].text.toUpper();
            if (prefix == u"E" || prefix.endsWith(u"U&") || prefix == u"U")
                refuse(QStringLiteral("escape string literals are not accepted"));
        }
        if (t.kind == Tok::Punct && t.text == u"&" && i + 1 < toks.size() && toks[i + 1].kind == Tok::String)
            refuse(QStringLiteral("escape string literals are not accepted"));
        if (t.kind == Tok::Word && t.text.contains(u'$'))
            refuse(QStringLiteral("\"$\" is not accepted in a name (dollar quoting)"));
        if (t.kind == Tok::QuotedName && t.text.startsWith(u'['))
            refuse(QStringLiteral("\"[\" names are not accepted"));
        // A runaway recursive query would run to the statement timeout on
        // every call; report texts have none.
        if (isWord(t, "RECURSIVE"))
            refuse(QStringLiteral("a recursive query (WITH RECURSIVE) is not allowed from a client"));
        if (t.kind != Tok::Word && t.kind != Tok::QuotedName)
            continue;
        int next = i + 1;
        while (next < toks.size() && !significant(toks[next]))
            ++next;
        if (next < toks.size() && isPunct(toks[next], "(") && forbiddenFunction(calledName(t)))
            refuse(QStringLiteral("function %1 may not be called here").arg(calledName(t)));
    }
}
