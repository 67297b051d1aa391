#include "suite/appserver/SqlTokens.h"

#include "runtime/system/Exceptions.h"

namespace sqltokens {

namespace {

bool isWordStart(QChar c)
{
    return c.isLetter() || c == u'_' || c == u'$' || c == u'#' || c == u'@';
}

bool isWordChar(QChar c)
{
    return isWordStart(c) || c.isDigit();
}

[[noreturn]] void fail(const QString& message)
{
    throw EDatabaseError(message);
}

} // namespace

QList<Token> tokenize(const QString& s)
{
    QList<Token> out;
    out.reserve(s.size() / 3); // about one token in three characters of a report query
    const qsizetype n = s.size();
    qsizetype i = 0;
    while (i < n) {
        const QChar c = s[i];
        qsizetype j = i + 1;
        Tok kind = Tok::Punct;
        if (c.isSpace()) {
            while (j < n && s[j].isSpace())
                ++j;
            kind = Tok::Space;
        } else if (c == u'-' && j < n && s[j] == u'-') {
            while (j < n && s[j] != u'\n')
                ++j;
            kind = Tok::Comment;
        } else if (c == u'/' && j < n && s[j] == u'*') {
            const qsizetype end = s.indexOf(QStringLiteral("*/"), j + 1);
            if (end < 0)
                fail(QStringLiteral("unterminated comment"));
            j = end + 2;
            kind = Tok::Comment;
        } else if (c == u'\'' || ((c == u'N' || c == u'n') && j < n && s[j] == u'\'')) {
            if (c != u'\'')
                ++j; // N'...': the prefix belongs to the literal
            for (;;) {
                if (j >= n)
                    fail(QStringLiteral("unterminated string literal"));
                if (s[j] == u'\'') {
                    if (j + 1 < n && s[j + 1] == u'\'') {
                        j += 2;
                        continue;
                    }
                    ++j;
                    break;
                }
                ++j;
            }
            kind = Tok::String;
        } else if (c == u'"' || c == u'[') {
            const QChar close = c == u'"' ? u'"' : u']';
            const qsizetype end = s.indexOf(close, j);
            if (end < 0)
                fail(QStringLiteral("unterminated quoted name"));
            j = end + 1;
            kind = Tok::QuotedName;
        } else if (isWordStart(c)) {
            // Qualified names ("A.MB002", "MOCTO.*") are one word.
            while (j < n
                && (isWordChar(s[j])
                    || (s[j] == u'.' && j + 1 < n && (isWordChar(s[j + 1]) || s[j + 1] == u'*'))))
                j += (s[j] == u'.' && s[j + 1] == u'*') ? 2 : 1;
            kind = Tok::Word;
        } else if (c.isDigit() || (c == u'.' && j < n && s[j].isDigit())) {
            while (j < n && (s[j].isDigit() || s[j] == u'.' || s[j] == u'e' || s[j] == u'E'))
                ++j;
            kind = Tok::Number;
        } else if (j < n
            && ((c == u'<' && (s[j] == u'>' || s[j] == u'=')) || (c == u'>' && s[j] == u'=')
                || (c == u'!' && s[j] == u'=') || (c == u'|' && s[j] == u'|'))) {
            ++j;
        }
        out.append({kind, s.mid(i, j - i)});
        i = j;
    }
    return out;
}

QString tableOfWord(QStringView word)
{
    const qsizetype dot = word.lastIndexOf(u'.');
    QStringView last = dot < 0 ? word : word.mid(dot + 1);
    if (last.startsWith(QLatin1String("$$")))
        last = last.mid(2);
    return last.toString().toUpper();
}

} // namespace sqltokens
