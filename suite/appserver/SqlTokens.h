#pragma once
// The tokens of an SQL text as the server's rewriting passes see it: every
// character belongs to exactly one token, so joining the token texts gives
// back the text, and literals and comments are single tokens that no pass
// looks into.

#include <QList>
#include <QString>

namespace sqltokens {

enum class Tok { Space, Comment, String, QuotedName, Word, Number, Punct };

struct Token {
    Tok kind;
    QString text;
};

// Qualified names ("A.MB002", "MOCTO.*") are one Word. Raises EDatabaseError
// for an unterminated literal, quoted name or comment.
QList<Token> tokenize(const QString& s);

// The table a word names when it is read as a table, in capitals: its last
// part after a dot, without the "$$" of an unbound name ("main.PURMA",
// "DEMO..PURMA", "$$PURMA" all name PURMA).
QString tableOfWord(QStringView word);

inline bool significant(const Token& t)
{
    return t.kind != Tok::Space && t.kind != Tok::Comment;
}

inline bool isPunct(const Token& t, const char* text)
{
    return t.kind == Tok::Punct && t.text == QLatin1String(text);
}

inline bool isWord(const Token& t, const char* word)
{
    return t.kind == Tok::Word && t.text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
}

} // namespace sqltokens
