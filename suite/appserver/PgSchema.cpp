#include "suite/appserver/PgSchema.h"

#include "suite/appserver/SqlTokens.h"

using namespace sqltokens;

namespace {

int nextSignificant(const QList<Token>& toks, int i)
{
    for (++i; i < toks.size(); ++i)
        if (significant(toks[i]))
            return i;
    return -1;
}

// In "CREATE [UNIQUE] INDEX name ON table (", the index of "(", else -1.
int indexColumnsOpen(const QList<Token>& toks, int create)
{
    int i = nextSignificant(toks, create);
    if (i >= 0 && isWord(toks[i], "UNIQUE"))
        i = nextSignificant(toks, i);
    if (i < 0 || !isWord(toks[i], "INDEX"))
        return -1;
    for (int step = 0; step < 4 && i >= 0; ++step) // name, ON, table, "("
        i = nextSignificant(toks, i);
    return i >= 0 && isPunct(toks[i], "(") ? i : -1;
}

void parenthesiseExpression(QList<Token>& toks, int open)
{
    int depth = 0;
    bool expression = false;
    for (int i = open; i < toks.size(); ++i) {
        const Token& t = toks[i];
        if (isPunct(t, "(")) {
            expression = expression || depth > 0;
            ++depth;
        } else if (isPunct(t, ")")) {
            if (--depth == 0) {
                if (expression) {
                    toks[open].text = QStringLiteral("((");
                    toks[i].text = QStringLiteral("))");
                }
                return;
            }
        } else if (significant(t) && t.kind != Tok::Word && !isPunct(t, ",")) {
            expression = true; // an operator or a literal: not a list of columns
        }
    }
}

// SQLite's table option "WITHOUT ROWID" (a table stored in its key's order)
// has no counterpart: the key index does that work.
void dropWithoutRowid(QList<Token>& toks, int without)
{
    const int rowid = nextSignificant(toks, without);
    if (rowid < 0 || !isWord(toks[rowid], "ROWID"))
        return;
    for (int k = without; k <= rowid; ++k)
        toks[k].text.clear();
}

} // namespace

QString PostgresSchema(const QString& sqliteScript)
{
    QList<Token> toks = tokenize(sqliteScript);
    for (int i = 0; i < toks.size(); ++i) {
        Token& t = toks[i];
        if (isWord(t, "TEXT"))
            t.text = QStringLiteral("TEXT COLLATE \"C\"");
        else if (isWord(t, "REAL"))
            t.text = QStringLiteral("DOUBLE PRECISION");
        else if (isWord(t, "WITHOUT"))
            dropWithoutRowid(toks, i);
        else if (isWord(t, "CREATE"))
            if (const int open = indexColumnsOpen(toks, i); open >= 0)
                parenthesiseExpression(toks, open);
    }
    QString out;
    for (const Token& t : toks)
        out += t.text;
    return out;
}
