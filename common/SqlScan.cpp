#include "common/SqlScan.h"

namespace {

bool isWordChar(QChar ch)
{
    return ch.isLetterOrNumber() || ch == u'_' || ch == u'$' || ch == u'#' || ch == u'@' || ch == u'.';
}

// The position after a quoted part or comment that starts at pos, or pos
// when none starts there.
qsizetype skipQuoted(QStringView text, qsizetype pos)
{
    const qsizetype n = text.size();
    const QChar ch = text[pos];
    const QChar next = pos + 1 < n ? text[pos + 1] : QChar();
    if (ch == u'\'' || ch == u'"' || ch == u'[') {
        const QChar close = ch == u'[' ? QChar(u']') : ch;
        qsizetype i = pos + 1;
        while (i < n) {
            if (text[i] == close) {
                // A doubled quote stands for one quote inside the literal.
                if (close != u']' && i + 1 < n && text[i + 1] == close) {
                    i += 2;
                    continue;
                }
                return i + 1;
            }
            ++i;
        }
        return n;
    }
    if (ch == u'-' && next == u'-') {
        const qsizetype end = text.indexOf(u'\n', pos);
        return end < 0 ? n : end + 1;
    }
    if (ch == u'/' && next == u'*') {
        const qsizetype end = text.indexOf(QLatin1String("*/"), pos + 2);
        return end < 0 ? n : end + 2;
    }
    return pos;
}

} // namespace

TSqlScan::TSqlScan(QStringView text)
    : text_(text)
{
    std::vector<std::size_t> open; // indexes of Open tokens not yet closed
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n) {
        const qsizetype skipped = skipQuoted(text, i);
        if (skipped != i) {
            quoted_.emplace_back(i, skipped - i);
            i = skipped;
            continue;
        }
        const QChar ch = text[i];
        if (isWordChar(ch)) {
            const qsizetype start = i;
            while (i < n && isWordChar(text[i]))
                ++i;
            tokens_.push_back({TSqlToken::Word, start, i - start});
            continue;
        }
        if (ch == u'(') {
            open.push_back(tokens_.size());
            tokens_.push_back({TSqlToken::Open, i, 1});
        } else if (ch == u')' && !open.empty()) {
            const std::size_t opener = open.back();
            open.pop_back();
            tokens_[opener].Match = static_cast<qsizetype>(tokens_.size());
            tokens_.push_back({TSqlToken::Close, i, 1, static_cast<qsizetype>(opener)});
        }
        ++i;
    }
    for (const std::size_t opener : open)
        tokens_[opener].Match = static_cast<qsizetype>(tokens_.size());
}

QStringView TSqlScan::WordAt(std::size_t i) const
{
    const TSqlToken& t = tokens_[i];
    return t.TokenKind == TSqlToken::Word ? text_.mid(t.Pos, t.Length) : QStringView();
}

bool TSqlScan::IsKeyword(std::size_t i, QLatin1String keyword) const
{
    return tokens_[i].TokenKind == TSqlToken::Word && WordAt(i).compare(keyword, Qt::CaseInsensitive) == 0;
}
