#include "format/ChineseCapital.h"

#include <gtest/gtest.h>

#include <QRandomGenerator>

namespace {

const TChineseCapital capital;

TEST(ChineseCapitalTest, ZerosInsideAndBetweenGroups)
{
    EXPECT_EQ(capital.ChineseAmount("1001"), "壹仟零壹元整");
    EXPECT_EQ(capital.ChineseAmount("1010"), "壹仟零壹拾元整");
    EXPECT_EQ(capital.ChineseAmount("10"), "壹拾元整");
    EXPECT_EQ(capital.ChineseAmount("120000"), "壹拾贰万元整");
    EXPECT_EQ(capital.ChineseAmount("100101"), "壹拾万零壹佰零壹元整");
    EXPECT_EQ(capital.ChineseAmount("10001"), "壹万零壹元整");
    EXPECT_EQ(capital.ChineseAmount("200000000"), "贰亿元整");
    EXPECT_EQ(capital.ChineseAmount("300050000"), "叁亿零伍万元整");
    EXPECT_EQ(capital.ChineseAmount("000123"), "壹佰贰拾叁元整");
}

TEST(ChineseCapitalTest, JiaoAndFen)
{
    EXPECT_EQ(capital.ChineseAmount("1.05"), "壹元零伍分");
    EXPECT_EQ(capital.ChineseAmount("0.5"), "伍角");
    EXPECT_EQ(capital.ChineseAmount("0.05"), "伍分");
    EXPECT_EQ(capital.ChineseAmount(".25"), "贰角伍分");
    EXPECT_EQ(capital.ChineseAmount("12.30"), "壹拾贰元叁角");
    EXPECT_EQ(capital.ChineseAmount("7."), "柒元整");
    EXPECT_EQ(capital.ChineseAmount("1,234,567.89"), "壹佰贰拾叁万肆仟伍佰陆拾柒元捌角玖分");
}

TEST(ChineseCapitalTest, SignZeroAndNonNumbers)
{
    EXPECT_EQ(capital.ChineseAmount("-1001.5"), "负壹仟零壹元伍角");
    EXPECT_EQ(capital.ChineseAmount("0"), "零元整");
    EXPECT_EQ(capital.ChineseAmount("-0.00"), "零元整");
    EXPECT_EQ(capital.ChineseAmount(""), "零元整");
    EXPECT_EQ(capital.ChineseAmount("abc"), "零元整");
    EXPECT_EQ(capital.ChineseAmount("1-2"), "零元整");
    EXPECT_EQ(capital.ChineseAmount("1.2.3"), "零元整");
    EXPECT_EQ(capital.ChineseAmount("-"), "零元整");
}

// Decimals past the fen used to be cut off, and a cut "1.001" printed 壹
// without 元; they round half up now.
TEST(ChineseCapitalTest, RoundsToTheFen)
{
    EXPECT_EQ(capital.ChineseAmount("1.001"), "壹元整");
    EXPECT_EQ(capital.ChineseAmount("1.005"), "壹元零壹分");
    EXPECT_EQ(capital.ChineseAmount("0.125"), "壹角叁分");
    EXPECT_EQ(capital.ChineseAmount("9999.995"), "壹万元整");
    EXPECT_EQ(capital.ChineseAmount("-0.004"), "零元整");
    EXPECT_EQ(capital.ChineseAmount("0.0049999"), "零元整");
}

TEST(ChineseCapitalTest, LargeAmounts)
{
    EXPECT_EQ(capital.ChineseAmount("1000000000000"), "壹万亿元整");
    EXPECT_EQ(capital.ChineseAmount("1000100000000"), "壹万零壹亿元整");
    EXPECT_EQ(capital.ChineseAmount("1000000010000"), "壹万亿零壹万元整");
    EXPECT_EQ(capital.ChineseAmount("1234567890123"), "壹万贰仟叁佰肆拾伍亿陆仟柒佰捌拾玖万零壹佰贰拾叁元整");
    EXPECT_EQ(capital.ChineseAmount("9999999999999999.99"),
        "玖仟玖佰玖拾玖万玖仟玖佰玖拾玖亿玖仟玖佰玖拾玖万玖仟玖佰玖拾玖元玖角玖分");
    // No word for 10^16 and up: no spelling rather than a wrong one.
    EXPECT_EQ(capital.ChineseAmount("10000000000000000"), "");
    EXPECT_EQ(capital.ChineseAmount("9999999999999999.995"), "");
}

TEST(ChineseCapitalTest, GroupsAndLayoutWords)
{
    EXPECT_EQ(capital.ChineseGroup(u"0000"), "");
    EXPECT_EQ(capital.ChineseGroup(u"0101"), "壹佰零壹");
    QStringList memo = TChineseCapital::StandardWords();
    memo[15] = "  ";
    memo[18] = "圆";
    const TChineseCapital custom(memo);
    EXPECT_EQ(custom.ChineseAmount("20.1"), "贰拾圆壹角");
    EXPECT_EQ(custom.ChineseAmount("x"), "零圆整");
    // A short memo keeps the standard words it lacks.
    EXPECT_EQ(TChineseCapital(QStringList {"〇"}).ChineseAmount("100"), "壹佰元整");
}

// Reads a capital amount back into fen, independently of how it was written:
// digits, place words 拾佰仟, section words 万 (adds to the total) and 亿
// (multiplies all before it); 零 is a separator only.
qint64 ReadBack(const QString& text, bool* ok)
{
    const QString digits = QStringLiteral("零壹贰叁肆伍陆柒捌玖");
    qint64 total = 0, section = 0, number = 0, integer = -1, fen = 0;
    bool negative = false;
    *ok = true;
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        const int d = digits.indexOf(c);
        if (c == QChar(u'负') && i == 0)
            negative = true;
        else if (d > 0)
            number = d;
        else if (d == 0)
            ;
        else if (c == QChar(u'拾') || c == QChar(u'佰') || c == QChar(u'仟')) {
            section += number * (c == QChar(u'拾') ? 10 : c == QChar(u'佰') ? 100 : 1000);
            number = 0;
        } else if (c == QChar(u'万')) {
            total += (section + number) * 10000;
            section = number = 0;
        } else if (c == QChar(u'亿')) {
            total = (total + section + number) * 100000000;
            section = number = 0;
        } else if (c == QChar(u'元')) {
            integer = total + section + number;
            total = section = number = 0;
        } else if (c == QChar(u'角') || c == QChar(u'分')) {
            fen += number * (c == QChar(u'角') ? 10 : 1);
            number = 0;
        } else if (c != QChar(u'整') || i != text.size() - 1)
            *ok = false;
    }
    if (integer < 0)
        integer = 0;
    const qint64 value = integer * 100 + fen;
    return negative ? -value : value;
}

TEST(ChineseCapitalTest, RandomAmountsReadBackAndKeepTheirForm)
{
    const quint32 seed = 20261208;
    QRandomGenerator random(seed);
    for (int n = 0; n < 20000; ++n) {
        // Thousandths of a yuan with up to 15 digits and many zeros, so groups
        // of zeros and zeros inside groups both come up often.
        qint64 milli = 0;
        const int length = random.bounded(1, 16);
        for (int k = 0; k < length; ++k)
            milli = milli * 10 + (random.bounded(3) == 0 ? random.bounded(10) : 0);
        if (random.bounded(2))
            milli = milli * 10 + random.bounded(10);
        const bool negative = random.bounded(4) == 0;
        const QString text = QStringLiteral("%1%2.%3")
                                 .arg(negative ? "-" : "")
                                 .arg(milli / 1000)
                                 .arg(milli % 1000, 3, 10, QLatin1Char('0'));
        const qint64 fen = (milli + 5) / 10;
        const QString words = capital.ChineseAmount(text);
        SCOPED_TRACE(QStringLiteral("seed %1, amount %2 -> %3").arg(seed).arg(text, words).toStdString());
        bool ok = false;
        const qint64 read = ReadBack(words, &ok);
        ASSERT_TRUE(ok);
        ASSERT_EQ(read, fen == 0 ? 0 : negative ? -fen : fen);
        ASSERT_FALSE(words.contains(QStringLiteral("零零")));
        ASSERT_FALSE(words.contains(QStringLiteral("零元")) && fen != 0);
        ASSERT_EQ(words.endsWith(QStringLiteral("整")), fen % 100 == 0);
        ASSERT_EQ(words.contains(QStringLiteral("元")), fen >= 100 || fen == 0);
    }
}

} // namespace
