#include "format/ChineseCapital.h"

namespace {

// A money text split into its parts: sign, integer digits, exactly two decimals.
struct Amount {
    bool negative = false;
    QString integer; // no leading zeros; empty for zero
    QString fen; // two digits
};

// Parses and rounds; false when the text is no number.
bool ParseAmount(const QString& text, Amount& amount)
{
    QString s = text;
    s.remove(QLatin1Char(',')).remove(QChar(0xFF0C)); // ASCII and full-width commas
    s = s.trimmed();
    int i = 0;
    if (i < s.size() && (s[i] == QLatin1Char('-') || s[i] == QLatin1Char('+')))
        amount.negative = s[i++] == QLatin1Char('-');
    QString integer;
    QString decimals;
    bool point = false;
    for (; i < s.size(); ++i) {
        const QChar c = s[i];
        if (c == QLatin1Char('.') && !point)
            point = true;
        else if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            (point ? decimals : integer).append(c);
        else
            return false;
    }
    if (integer.isEmpty() && decimals.isEmpty())
        return false;

    // Round to the fen: add one fen to the whole digit string when the third
    // decimal is 5 or more, carrying to the left.
    const bool roundUp = decimals.size() > 2 && decimals[2] >= QLatin1Char('5');
    decimals = decimals.left(2).leftJustified(2, QLatin1Char('0'));
    QString digits = integer + decimals;
    if (roundUp) {
        int k = digits.size() - 1;
        for (; k >= 0 && digits[k] == QLatin1Char('9'); --k)
            digits[k] = QLatin1Char('0');
        if (k >= 0)
            digits[k] = QChar(digits[k].unicode() + 1);
        else
            digits.prepend(QLatin1Char('1'));
    }
    amount.fen = digits.right(2);
    amount.integer = digits.left(digits.size() - 2);
    int lead = 0;
    while (lead < amount.integer.size() && amount.integer[lead] == QLatin1Char('0'))
        ++lead;
    amount.integer.remove(0, lead);
    return true;
}

int Digit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9') ? c.unicode() - '0' : 0;
}

// Four groups of four digits: up to 万亿.
constexpr int MaxIntegerDigits = 16;

} // namespace

QStringList TChineseCapital::StandardWords()
{
    return {QStringLiteral("零"), QStringLiteral("壹"), QStringLiteral("贰"), QStringLiteral("叁"),
        QStringLiteral("肆"), QStringLiteral("伍"), QStringLiteral("陆"), QStringLiteral("柒"),
        QStringLiteral("捌"), QStringLiteral("玖"), QStringLiteral("仟"), QStringLiteral("佰"),
        QStringLiteral("拾"), QStringLiteral("角"), QStringLiteral("分"), QString(), QStringLiteral("万"),
        QStringLiteral("亿"), QStringLiteral("元"), QStringLiteral("整"), QStringLiteral("负"),
        QStringLiteral("人民币合计")};
}

TChineseCapital::TChineseCapital()
    : words_(StandardWords())
{
}

TChineseCapital::TChineseCapital(const QStringList& memoLines)
    : words_(StandardWords())
{
    for (int i = 0; i < words_.size() && i < memoLines.size(); ++i)
        words_[i] = i == GroupUnit ? memoLines[i].trimmed() : memoLines[i];
}

QString TChineseCapital::ChineseGroup(QStringView digits) const
{
    static constexpr int PlaceWord[3] = {Thousand, Hundred, Ten};
    QString text;
    for (int p = 0; p < 4 && p < digits.size(); ++p) {
        const int d = Digit(digits[p]);
        if (d != 0) {
            text += word(d);
            if (p < 3)
                text += word(PlaceWord[p]);
        } else if (p < 3 && p + 1 < digits.size() && Digit(digits[p + 1]) != 0 && !text.isEmpty()) {
            // One 零 stands for a run of zeros inside the group, before the next digit.
            text += word(0);
        }
    }
    return text;
}

QString TChineseCapital::ChineseAmount(const QString& text) const
{
    const QString zero = word(0) + word(Yuan) + word(Exact);
    Amount amount;
    if (!ParseAmount(text, amount))
        return zero;
    const bool wholeZero = amount.integer.isEmpty();
    if (wholeZero && amount.fen == QLatin1String("00"))
        return zero;
    if (amount.integer.size() > MaxIntegerDigits)
        return {};

    QString result;
    const int width = (amount.integer.size() + 3) / 4 * 4;
    const QString integer = amount.integer.rightJustified(width, QLatin1Char('0'));
    const int groups = width / 4;
    bool started = false;
    for (int g = 0; g < groups; ++g) {
        const QStringView group = QStringView(integer).mid(g * 4, 4);
        const int fromRight = groups - g; // 1 units, 2 万, 3 亿, 4 万 (of 亿)
        const QString groupWord = word(fromRight == 4 ? GroupWan : GroupUnit + fromRight - 1);
        const QString groupText = ChineseGroup(group);
        if (!started && !groupText.isEmpty()) {
            result += groupText + groupWord;
            started = true;
        } else if (group[0] != QLatin1Char('0')) {
            result += groupText + groupWord;
        } else if (!groupText.isEmpty()) {
            result += word(0) + groupText + groupWord;
        } else if (fromRight == 3 && started) {
            // 万亿 amounts with nothing in the 亿 group still need the 亿: 壹万亿元整.
            result += groupWord;
        }
    }

    const int jiao = Digit(amount.fen[0]);
    const int fen = Digit(amount.fen[1]);
    if (jiao == 0 && fen == 0) {
        result += word(Yuan) + word(Exact);
    } else {
        if (jiao == 0) {
            if (!wholeZero)
                result += word(Yuan) + word(0);
        } else {
            if (!wholeZero)
                result += word(Yuan);
            result += word(jiao) + word(Jiao);
        }
        if (fen != 0)
            result += word(fen) + word(Fen);
    }
    return amount.negative ? word(Negative) + result : result;
}
