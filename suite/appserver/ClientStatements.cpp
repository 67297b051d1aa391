#include "suite/appserver/ClientStatements.h"

#include "suite/appserver/DbBackend.h"
#include "suite/appserver/SqlTokens.h"

#include <QList>

namespace clientsql {

namespace {

using namespace sqltokens;

[[noreturn]] void refuse(const QString& why)
{
    throw EDatabaseError(why);
}

// The tokens that carry meaning; a final ";" is dropped, as the translation
// drops it. The shapes the server takes have no comments: a comment is refused.
QList<Token> significantTokens(const QString& sql)
{
    QList<Token> out;
    for (const Token& t : tokenize(sql)) {
        if (t.kind == Tok::Comment)
            refuse(QStringLiteral("a comment is not allowed here"));
        if (significant(t))
            out << t;
    }
    if (!out.isEmpty() && isPunct(out.last(), ";"))
        out.removeLast();
    return out;
}

// Reads a token list front to back; every look past the end is a refusal.
class Reader {
public:
    Reader(QList<Token> tokens, QString what)
        : toks_(std::move(tokens))
        , what_(std::move(what))
    {
    }

    bool AtEnd() const { return at_ >= toks_.size(); }
    const Token& Peek() const
    {
        if (AtEnd())
            refuse(QStringLiteral("%1 ends too early").arg(what_));
        return toks_[at_];
    }
    const Token& Take()
    {
        const Token& t = Peek();
        ++at_;
        return t;
    }
    void ExpectWord(const char* word)
    {
        if (!isWord(Peek(), word))
            unexpected();
        ++at_;
    }
    void ExpectPunct(const char* punct)
    {
        if (!isPunct(Peek(), punct))
            unexpected();
        ++at_;
    }
    bool TakePunct(const char* punct)
    {
        if (AtEnd() || !isPunct(toks_[at_], punct))
            return false;
        ++at_;
        return true;
    }
    bool TakeWord(const char* word)
    {
        if (AtEnd() || !isWord(toks_[at_], word))
            return false;
        ++at_;
        return true;
    }
    // A quoted text, a number (with its sign) or NULL.
    bool TakeLiteral(bool nullAllowed)
    {
        if (AtEnd())
            return false;
        const Token& t = toks_[at_];
        if (t.kind == Tok::String || t.kind == Tok::Number || (nullAllowed && isWord(t, "NULL"))) {
            ++at_;
            return true;
        }
        if ((isPunct(t, "-") || isPunct(t, "+")) && at_ + 1 < toks_.size()
            && toks_[at_ + 1].kind == Tok::Number) {
            at_ += 2;
            return true;
        }
        return false;
    }
    [[noreturn]] void unexpected() const
    {
        if (AtEnd())
            refuse(QStringLiteral("%1 ends too early").arg(what_));
        refuse(QStringLiteral("%1 may not contain \"%2\" here").arg(what_, toks_[at_].text.left(40)));
    }

private:
    QList<Token> toks_;
    QString what_;
    qsizetype at_ = 0;
};

QString withoutPrefix(const QString& name)
{
    return name.startsWith(QLatin1String("$$")) ? name.mid(2) : name;
}

// A column of table, written plain or qualified by the table's own name.
bool isColumnOf(const Token& t, const QString& table, const TDbBackend& db)
{
    if (t.kind != Tok::Word)
        return false;
    QString column = t.text;
    const qsizetype dot = column.indexOf(u'.');
    if (dot >= 0) {
        if (withoutPrefix(column.left(dot)).compare(table, Qt::CaseInsensitive) != 0)
            return false;
        column = column.mid(dot + 1);
    }
    if (column.isEmpty() || column.contains(u'.') || column.contains(u'$') || column == u'*')
        return false;
    return db.HasColumn(table, column);
}

} // namespace

bool LooksLikeInsert(const QString& sql)
{
    for (const Token& t : tokenize(sql))
        if (significant(t))
            return isWord(t, "INSERT");
    return false;
}

void CheckSendLogInsert(const QString& sql, const TDbBackend& db)
{
    const QString table = QString::fromLatin1(SendLogTable);
    const QString what = QStringLiteral("a send-log insert");
    Reader r(significantTokens(sql), what);
    r.ExpectWord("INSERT");
    r.ExpectWord("INTO");
    const Token& target = r.Take();
    if (target.kind != Tok::Word || withoutPrefix(target.text).compare(table, Qt::CaseInsensitive) != 0)
        refuse(QStringLiteral("only the send log (%1) takes rows from a client").arg(table));
    r.ExpectPunct("(");
    int columns = 0;
    do {
        if (!isColumnOf(r.Peek(), table, db))
            r.unexpected();
        r.Take();
        ++columns;
    } while (r.TakePunct(","));
    r.ExpectPunct(")");
    r.ExpectWord("VALUES");
    r.ExpectPunct("(");
    int values = 0;
    do {
        if (!r.TakeLiteral(true))
            r.unexpected();
        ++values;
    } while (r.TakePunct(","));
    r.ExpectPunct(")");
    if (!r.AtEnd())
        r.unexpected();
    if (values != columns)
        refuse(QStringLiteral("%1 names %2 columns and gives %3 values").arg(what).arg(columns).arg(values));
}

void CheckKeyCondition(const QString& condition, const QString& table, const TDbBackend& db)
{
    Reader r(significantTokens(condition), QStringLiteral("a key condition"));
    do {
        bool column = false;
        do {
            const Token& t = r.Peek();
            if (isColumnOf(t, table, db))
                column = true;
            else if (t.kind != Tok::String)
                r.unexpected();
            r.Take();
        } while (r.TakePunct("+") || r.TakePunct("||"));
        if (!column)
            refuse(QStringLiteral("a key condition compares a column of %1").arg(table));
        r.ExpectPunct("=");
        if (!r.TakeLiteral(false))
            r.unexpected();
    } while (r.TakeWord("AND"));
    if (!r.AtEnd())
        r.unexpected();
}

} // namespace clientsql
