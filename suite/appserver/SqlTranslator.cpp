#include "suite/appserver/SqlTranslator.h"

#include "suite/appserver/DbBackend.h"
#include "suite/appserver/JoinOrder.h"
#include "suite/appserver/SqlTokens.h"

#include <QList>
#include <QSet>

namespace {

using namespace sqltokens;

[[noreturn]] void fail(const QString& message)
{
    throw EDatabaseError(message);
}

class Translator {
public:
    Translator(QList<Token> tokens, const TSqlDialect& dialect)
        : toks_(std::move(tokens))
        , dialect_(dialect)
    {
    }

    QString Run()
    {
        checkSingleStatement();
        convertTop();
        for (int i = 0; i < toks_.size(); ++i) {
            Token& t = toks_[i];
            if (t.kind == Tok::Word)
                translateWord(i);
            else if (isPunct(t, "+") && isConcatenation(i))
                t.text = dialect_.Concat;
        }
        dropHints();
        QString out;
        for (const Token& t : toks_)
            out += t.text;
        return out;
    }

private:
    int prev(int i) const
    {
        for (--i; i >= 0; --i)
            if (significant(toks_[i]))
                return i;
        return -1;
    }
    int next(int i) const
    {
        for (++i; i < toks_.size(); ++i)
            if (significant(toks_[i]))
                return i;
        return -1;
    }
    // Index of the ")" that closes the "(" at open, or -1.
    int closing(int open) const
    {
        int depth = 0;
        for (int i = open; i < toks_.size(); ++i) {
            if (isPunct(toks_[i], "("))
                ++depth;
            else if (isPunct(toks_[i], ")") && --depth == 0)
                return i;
        }
        return -1;
    }
    int opening(int close) const
    {
        int depth = 0;
        for (int i = close; i >= 0; --i) {
            if (isPunct(toks_[i], ")"))
                ++depth;
            else if (isPunct(toks_[i], "(") && --depth == 0)
                return i;
        }
        return -1;
    }

    void checkSingleStatement()
    {
        for (int i = 0; i < toks_.size(); ++i) {
            if (!isPunct(toks_[i], ";"))
                continue;
            if (next(i) >= 0)
                fail(QStringLiteral("only one statement may be sent at a time"));
            toks_[i].text.clear();
        }
    }

    void translateWord(int i)
    {
        Token& t = toks_[i];
        if (t.text.startsWith(QLatin1String("$$"))) {
            QString rest = t.text.mid(2);
            const qsizetype dot = rest.indexOf(u'.');
            const QString table = dot < 0 ? rest : rest.left(dot);
            if (table.isEmpty())
                fail(QStringLiteral("a table name must follow \"$$\""));
            t.text = dialect_.BindTable(table) + (dot < 0 ? QString() : rest.mid(dot));
            return;
        }
        const int n = next(i);
        if (n < 0 || !isPunct(toks_[n], "("))
            return;
        if (isWord(t, "ISNULL"))
            t.text = QStringLiteral("COALESCE");
        else if (isWord(t, "LEN"))
            t.text = QStringLiteral("LENGTH");
    }

    // "SELECT TOP n" at the start of a statement without UNION.
    void convertTop()
    {
        const int sel = next(-1);
        if (sel < 0 || !isWord(toks_[sel], "SELECT"))
            return;
        const int top = next(sel);
        const int count = top < 0 ? -1 : next(top);
        if (top < 0 || !isWord(toks_[top], "TOP") || count < 0 || toks_[count].kind != Tok::Number)
            return;
        for (const Token& t : toks_)
            if (isWord(t, "UNION"))
                return;
        const QString limit = toks_[count].text;
        toks_[top].text.clear();
        toks_[count].text.clear();
        // Right behind the last word of the statement: a trailing comment
        // would swallow a LIMIT put after it ("... -- note LIMIT 1").
        const int last = prev(static_cast<int>(toks_.size()));
        toks_.insert(last + 1, {Tok::Word, QStringLiteral("LIMIT ") + limit});
        toks_.insert(last + 1, {Tok::Space, QStringLiteral(" ")});
    }

    void dropHints()
    {
        for (int i = 0; i < toks_.size(); ++i) {
            if (!isWord(toks_[i], "NOLOCK"))
                continue;
            const int open = prev(i);
            const int close = next(i);
            if (open < 0 || close < 0 || !isPunct(toks_[open], "(") || !isPunct(toks_[close], ")"))
                continue;
            const int with = prev(open);
            for (int k = open; k <= close; ++k)
                toks_[k].text.clear();
            if (with >= 0 && isWord(toks_[with], "WITH"))
                toks_[with].text.clear();
        }
    }

    bool isTextColumnWord(const Token& t) const
    {
        if (t.kind == Tok::QuotedName)
            return dialect_.IsTextColumn(t.text.mid(1, t.text.size() - 2));
        if (t.kind != Tok::Word)
            return false;
        const qsizetype dot = t.text.lastIndexOf(u'.');
        return dialect_.IsTextColumn(dot < 0 ? t.text : t.text.mid(dot + 1));
    }

    // Text-ness of the group "(" .. ")" called as function fn (empty for a bare group).
    bool isTextGroup(const QString& fn, int open, int close) const
    {
        static const QSet<QString> textFunctions = {QStringLiteral("SUBSTRING"), QStringLiteral("SUBSTR"),
            QStringLiteral("LEFT"), QStringLiteral("RIGHT"), QStringLiteral("LTRIM"), QStringLiteral("RTRIM"),
            QStringLiteral("TRIM"), QStringLiteral("UPPER"), QStringLiteral("LOWER"),
            QStringLiteral("REPLACE"), QStringLiteral("CHAR"), QStringLiteral("NCHAR"), QStringLiteral("STR"),
            QStringLiteral("SPACE"), QStringLiteral("REPLICATE")};
        static const QSet<QString> passThrough = {QStringLiteral("ISNULL"), QStringLiteral("COALESCE"),
            QStringLiteral("IFNULL"), QStringLiteral("MAX"), QStringLiteral("MIN"), QString()};
        const QString name = fn.toUpper();
        if (textFunctions.contains(name))
            return true;
        if (name == QLatin1String("CAST") || name == QLatin1String("CONVERT")) {
            for (int k = open + 1; k < close; ++k) {
                const QString w = toks_[k].text.toUpper();
                if (toks_[k].kind == Tok::Word
                    && (w.endsWith(QLatin1String("CHAR")) || w == QLatin1String("TEXT")))
                    return true;
            }
            return false;
        }
        if (!passThrough.contains(name))
            return false;
        // The first argument decides; a comparison inside makes it a condition.
        int depth = 0;
        bool text = false;
        for (int k = open + 1; k < close; ++k) {
            const Token& t = toks_[k];
            if (isPunct(t, "("))
                ++depth;
            else if (isPunct(t, ")"))
                --depth;
            else if (depth == 0 && isPunct(t, ","))
                break;
            else if (t.kind == Tok::Punct
                && (t.text == u'=' || t.text == u'<' || t.text == u'>' || t.text == QLatin1String("<>")))
                return false;
            else if (t.kind == Tok::String || isTextColumnWord(t))
                text = true;
        }
        return text;
    }

    bool isTextBefore(int p) const
    {
        const Token& t = toks_[p];
        if (t.kind == Tok::String)
            return true;
        if (isPunct(t, ")")) {
            const int open = opening(p);
            if (open < 0)
                return false;
            const int fn = prev(open);
            const QString name = fn >= 0 && toks_[fn].kind == Tok::Word ? toks_[fn].text : QString();
            return isTextGroup(name, open, p);
        }
        return isTextColumnWord(t);
    }

    bool isTextAfter(int n) const
    {
        const Token& t = toks_[n];
        if (t.kind == Tok::String)
            return true;
        if (isPunct(t, "(")) {
            const int close = closing(n);
            return close >= 0 && isTextGroup(QString(), n, close);
        }
        if (t.kind == Tok::Word) {
            const int open = next(n);
            if (open >= 0 && isPunct(toks_[open], "(")) {
                const int close = closing(open);
                return close >= 0 && isTextGroup(t.text, open, close);
            }
        }
        return isTextColumnWord(t);
    }

    bool isConcatenation(int i) const
    {
        const int p = prev(i);
        const int n = next(i);
        if (p < 0 || n < 0)
            return false;
        const Token& before = toks_[p];
        // A sign, not an operator: "+" after another operator, "(", "," or a keyword.
        const bool operand = before.kind == Tok::String || before.kind == Tok::Number
            || before.kind == Tok::QuotedName || isPunct(before, ")")
            || (before.kind == Tok::Word && !isKeyword(before));
        if (!operand)
            return false;
        return isTextBefore(p) || isTextAfter(n);
    }

    static bool isKeyword(const Token& t)
    {
        static const QSet<QString> keywords
            = {QStringLiteral("SELECT"), QStringLiteral("WHERE"), QStringLiteral("AND"), QStringLiteral("OR"),
                QStringLiteral("THEN"), QStringLiteral("ELSE"), QStringLiteral("WHEN"), QStringLiteral("ON"),
                QStringLiteral("BY"), QStringLiteral("SET"), QStringLiteral("VALUES"), QStringLiteral("NOT"),
                QStringLiteral("IS"), QStringLiteral("IN"), QStringLiteral("AS"), QStringLiteral("LIKE"),
                QStringLiteral("CASE"), QStringLiteral("RETURN"), QStringLiteral("HAVING")};
        return keywords.contains(t.text.toUpper());
    }

    QList<Token> toks_;
    const TSqlDialect& dialect_;
};

} // namespace

TSqlDialect DialectOf(const TDbBackend& db)
{
    TSqlDialect d;
    d.BindTable = [&db](const QString& table) { return db.BindTableName(table); };
    d.IsTextColumn = [&db](const QString& column) { return db.IsTextColumn(column); };
    d.Concat = db.ConcatOperator();
    if (db.KeepsOuterJoinOrder()) {
        d.Joins.HasTable = [&db](const QString& table) { return db.HasTable(table); };
        d.Joins.HasColumn
            = [&db](const QString& table, const QString& column) { return db.HasColumn(table, column); };
        d.Joins.CoversUniqueKey = [&db](const QString& table, const QStringList& columns) {
            return db.CoversUniqueKey(table, columns);
        };
    }
    return d;
}

QString TranslateSql(const QString& sql, const TSqlDialect& dialect)
{
    return DeferFanOutJoins(Translator(tokenize(sql), dialect).Run(), dialect.Joins);
}
