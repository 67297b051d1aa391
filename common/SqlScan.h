#pragma once
// The structure of an SQL text as far as clause surgery needs it: words and
// parentheses outside quoted literals, quoted names and comments.
//
// A word is a run of letters, digits and the characters _ $ # @ . (so
// "$$MOCTO", "MOCTO.CREATOR" and "A.ORDER" are one word each). Skipped as a
// whole: 'literal' (a doubled '' stays inside), "name", [name], -- comment to
// the end of the line, /* comment */. An unterminated one runs to the end of
// the text. Each "(" knows its ")"; an unmatched "(" closes at the end of
// the text, an unmatched ")" is an ordinary character (no token).

#include <QString>
#include <QStringView>
#include <utility>
#include <vector>

struct TSqlToken {
    enum Kind { Word, Open, Close };
    Kind TokenKind;
    qsizetype Pos; // index in the text
    qsizetype Length;
    // For Open: index of the matching Close token, or the token count when
    // the parenthesis is never closed. For Close: index of its Open.
    qsizetype Match = -1;
};

class TSqlScan {
public:
    // Keeps a view of text: the text must outlive the scan.
    explicit TSqlScan(QStringView text);

    QStringView Text() const { return text_; }
    const std::vector<TSqlToken>& Tokens() const { return tokens_; }
    // The quoted parts and comments, in text order: [position, length).
    const std::vector<std::pair<qsizetype, qsizetype>>& Quoted() const { return quoted_; }
    // The word of token i (empty for parentheses).
    QStringView WordAt(std::size_t i) const;
    // True when token i is a word equal to keyword, ignoring case.
    bool IsKeyword(std::size_t i, QLatin1String keyword) const;

private:
    QStringView text_;
    std::vector<TSqlToken> tokens_;
    std::vector<std::pair<qsizetype, qsizetype>> quoted_;
};
