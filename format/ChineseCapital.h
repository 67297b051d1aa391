#pragma once
// The Chinese capital amount of a money text, as cheques and slips print it:
// "-1001.5" reads 负壹仟零壹元伍角, "1.05" 壹元零伍分, "120000" 壹拾贰万元整.
//
// In: any text. Thousands commas are ignored and spaces around the number are
// allowed; the number is an optional sign, digits and an optional "." with
// decimals. Decimals beyond the fen are rounded half up on the text itself
// (no binary floating point), so "0.125" gives 壹角叁分 and "9999.995" carries
// into 壹万元整.
// Guaranteed: a text that is no number, the empty text, and every amount
// that rounds to zero read 零元整; a negative amount gets 负 in front.
// Amounts up to 16 integer digits (below 10^16, 万亿 included) are spelled;
// a larger amount has no spelling here and ChineseAmount answers an empty
// text, so the caller can print the value as it is rather than a wrong word.
// Left alone: the table of words is the one the layout supplies (its memo of
// words); a table that is too short falls back to the standard word.

#include <QString>
#include <QStringList>

class TChineseCapital {
public:
    // Word table positions, the order of the layout's memo lines.
    enum Word {
        Thousand = 10,
        Hundred = 11,
        Ten = 12,
        Jiao = 13,
        Fen = 14,
        GroupUnit = 15,
        GroupWan = 16,
        GroupYi = 17,
        Yuan = 18,
        Exact = 19,
        Negative = 20
    };
    // The standard words: digits 0 to 9, 仟 佰 拾 角 分, the empty unit group,
    // 万 亿 元 整 负, and "人民币合计".
    static QStringList StandardWords();

    TChineseCapital();
    // Takes the words from the layout's memo lines (line 15 is trimmed, so a
    // blank line gives the empty group word). Missing lines keep the standard word.
    explicit TChineseCapital(const QStringList& memoLines);

    QString ChineseAmount(const QString& text) const;
    // One group of four digits ("1001" -> 壹仟零壹), no group word; empty
    // for "0000". Digits other than 0-9 count as 0.
    QString ChineseGroup(QStringView digits) const;

private:
    const QString& word(int index) const { return words_[index]; }
    QStringList words_;
};
