// The five date styles: fixed cases users meet, the edit masks, and two runs
// against a model written here from the styles' description alone (a table
// of field orders and year widths, QDate for the calendar), over random and
// edge dates and over random typed texts.

#include "common/DateStyle.h"

#include "runtime/forms/Mask.h"
#include "runtime/system/DateTime.h"
#include "support/QStringPrinter.h"

#include <QDate>
#include <QRandomGenerator>
#include <gtest/gtest.h>

#include <array>

namespace {

TDateStyle style(int number, const QString& separator = QStringLiteral("/"))
{
    const std::optional<TDateStyle> s = TDateStyle::Of(number, separator);
    EXPECT_TRUE(s.has_value()) << number;
    return s.value_or(TDateStyle());
}

double day(int y, int m, int d)
{
    return datetime::EncodeDate(y, m, d);
}

// --- the model ---------------------------------------------------------------------

struct ModelStyle {
    const char* order; // the fields as written: y, m, d
    const char* yearMonthOrder;
    int yearWidth;
    int yearOffset;
};

const ModelStyle& modelStyle(int number)
{
    static const ModelStyle styles[5] = {{"ymd", "ym", 4, 0}, {"mdy", "my", 4, 0}, {"dmy", "my", 4, 0},
        {"ymd", "ym", 2, 1911}, {"ymd", "ym", 3, 1911}};
    return styles[number - 1];
}

// printf's "%.Nd": the sign, then at least N digits.
QString digits(int value, int width)
{
    const QString text
        = QString::number(value < 0 ? -qint64(value) : qint64(value)).rightJustified(width, u'0');
    return value < 0 ? u'-' + text : text;
}

const QDate dayZero(1899, 12, 30);

QString modelWrite(int number, QChar separator, const QDate& date, bool yearMonth)
{
    if (date == dayZero)
        return {}; // day number 0: no date
    const ModelStyle& s = modelStyle(number);
    QString out;
    for (const char* f = yearMonth ? s.yearMonthOrder : s.order; *f; ++f) {
        if (!out.isEmpty() && !separator.isNull())
            out += separator;
        if (*f == 'y')
            out += digits(date.year() - s.yearOffset, s.yearWidth);
        else
            out += digits(*f == 'm' ? date.month() : date.day(), 2);
    }
    return out;
}

// The fields (year, month, day) of a typed text, or nothing: exactly
// count parts at separator, each blanks + 1 to 9 digits + blanks.
std::optional<std::array<int, 3>> modelRead(int number, QChar separator, const QString& text, int count)
{
    QList<QString> parts {QString()};
    for (QChar ch : text) {
        if (ch == separator)
            parts.append(QString());
        else
            parts.last() += ch;
    }
    if (parts.size() != count)
        return std::nullopt;
    std::array<int, 3> fields {0, 0, 1};
    const ModelStyle& s = modelStyle(number);
    const char* order = count == 3 ? s.order : s.yearMonthOrder;
    for (int i = 0; i < count; ++i) {
        const QString core = parts[i].trimmed();
        if (core.isEmpty() || core.size() > 9)
            return std::nullopt;
        for (QChar ch : core)
            if (!ch.isDigit() || ch.unicode() > 127)
                return std::nullopt;
        const int value = core.toInt();
        fields[order[i] == 'y'    ? 0
                : order[i] == 'm' ? 1
                                  : 2]
            = order[i] == 'y' ? value + s.yearOffset : value;
    }
    return fields;
}

QString modelStorage(int number, QChar separator, const QString& text, bool yearMonth)
{
    if (text.trimmed().isEmpty())
        return {};
    const auto f = modelRead(number, separator, text, yearMonth ? 2 : 3);
    if (!f)
        return text;
    QString out
        = QString::number((*f)[0]).rightJustified(4, u'0') + QString::number((*f)[1]).rightJustified(2, u'0');
    return yearMonth ? out : out + QString::number((*f)[2]).rightJustified(2, u'0');
}

double modelDay(int number, QChar separator, const QString& text)
{
    const auto f = modelRead(number, separator, text, text.count(separator) == 1 ? 2 : 3);
    if (!f || (*f)[0] < 1 || (*f)[0] > 9999)
        return 0;
    const QDate date((*f)[0], (*f)[1], (*f)[2]);
    return date.isValid() ? double(dayZero.daysTo(date)) : 0;
}

} // namespace

TEST(DateStyle, EveryStyleShowsAndStoresItsOwnTexts)
{
    struct Case {
        int style;
        const char* shown;
        const char* yearMonth;
    };
    const Case cases[] = {{1, "2024/05/31", "2024/05"}, {2, "05/31/2024", "05/2024"},
        {3, "31/05/2024", "05/2024"}, {4, "113/05/31", "113/05"}, {5, "113/05/31", "113/05"}};
    for (const Case& c : cases) {
        const TDateStyle s = style(c.style);
        EXPECT_EQ(s.FormatDate(day(2024, 5, 31)), QString::fromUtf8(c.shown)) << c.style;
        EXPECT_EQ(s.ToStorage(QString::fromUtf8(c.shown)), QStringLiteral("20240531")) << c.style;
        EXPECT_EQ(s.FromStorage(QStringLiteral("20240531")), QString::fromUtf8(c.shown)) << c.style;
        EXPECT_EQ(s.YearMonthToStorage(QString::fromUtf8(c.yearMonth)), QStringLiteral("202405")) << c.style;
        EXPECT_EQ(s.YearMonthFromStorage(QStringLiteral("202405")), QString::fromUtf8(c.yearMonth))
            << c.style;
        EXPECT_EQ(s.DayOf(QString::fromUtf8(c.yearMonth)), day(2024, 5, 1))
            << "a year-month is its first day";
    }
    // The two Minguo styles differ in the width of early years only.
    EXPECT_EQ(style(4).FormatDate(day(1999, 1, 2)), QStringLiteral("88/01/02"));
    EXPECT_EQ(style(5).FormatDate(day(1999, 1, 2)), QStringLiteral("088/01/02"));
    EXPECT_EQ(style(5).FormatYearMonth(day(1999, 1, 2)), QStringLiteral("088/01"));
    EXPECT_TRUE(style(4).CountsFrom1911() && style(5).CountsFrom1911() && !style(3).CountsFrom1911());

    const TDateStyle ymd = style(1);
    EXPECT_EQ(ymd.ToStorage(QStringLiteral(" 2024 / 5 / 7 ")), QStringLiteral("20240507"));
    EXPECT_EQ(ymd.ToStorage(QStringLiteral("2024/AB/07")), QStringLiteral("2024/AB/07"))
        << "unreadable: unchanged";
    EXPECT_EQ(ymd.ToStorage(QStringLiteral("2024/+5/07")), QStringLiteral("2024/+5/07")) << "no signs";
    EXPECT_EQ(ymd.ToStorage(QStringLiteral("2024/02/30")), QStringLiteral("20240230"))
        << "not checked here: the form's check refuses it";
    EXPECT_EQ(ymd.DayOf(QStringLiteral("2024/02/30")), 0);
    EXPECT_EQ(ymd.ToStorage(QStringLiteral("    /  /  "), QStringLiteral("    /  /  ")), QString());
    EXPECT_EQ(ymd.ToStorage(QStringLiteral("   ")), QString());
    EXPECT_EQ(ymd.FromStorage(QStringLiteral("20240230")), QStringLiteral("20240230"))
        << "no date: as stored";
    EXPECT_EQ(ymd.FromStorage(QStringLiteral(" 20240105 ")), QStringLiteral("2024/01/05"));
    EXPECT_EQ(ymd.YearMonthFromStorage(QStringLiteral("202413")), QStringLiteral("202413"));
    EXPECT_EQ(ymd.FormatDate(0), QString()) << "day 0 is no date";

    // The separator is one character: the first of what the setting holds.
    EXPECT_EQ(style(4, QStringLiteral("年月")).FormatDate(day(1999, 1, 2)), QStringLiteral("88年01年02"));
    EXPECT_EQ(style(3, QStringLiteral(".")).FormatDate(day(2011, 10, 8)), QStringLiteral("08.10.2011"));
    EXPECT_EQ(
        style(2, QStringLiteral("-")).ToStorage(QStringLiteral("10-08-2011")), QStringLiteral("20111008"));
    EXPECT_EQ(
        style(2, QStringLiteral("-")).ToStorage(QStringLiteral("10/08/2011")), QStringLiteral("10/08/2011"));
    // Without one dates are written run together and nothing reads.
    EXPECT_EQ(style(1, QString()).FormatDate(day(2011, 10, 8)), QStringLiteral("20111008"));
    EXPECT_EQ(style(1, QString()).ToStorage(QStringLiteral("20111008")), QStringLiteral("20111008"));
    EXPECT_EQ(style(1, QString()).DayOf(QStringLiteral("20111008")), 0);
}

TEST(DateStyle, TheSettingNamesOneOfFiveStyles)
{
    EXPECT_FALSE(TDateStyle::Of(0, QStringLiteral("/")).has_value());
    EXPECT_FALSE(TDateStyle::Of(6, QStringLiteral("/")).has_value());
    EXPECT_EQ(
        TDateStyle::FromSetting(QStringLiteral(" 5 "), QStringLiteral("-")), style(5, QStringLiteral("-")));
    for (const char* other : {"", "6", "0", "x", "-1", "2.5"})
        EXPECT_EQ(TDateStyle::FromSetting(QString::fromLatin1(other), QStringLiteral("/")).Number(), 1)
            << other;
    EXPECT_EQ(style(3).WithSeparator(QStringLiteral("-.")), style(3, QStringLiteral("-")));
    EXPECT_EQ(TDateStyle(), style(1, QStringLiteral("/")));
}

TEST(DateStyle, MasksFitTheStyles)
{
    EXPECT_EQ(style(1).DateMask(), QStringLiteral("!9999/99/99;1;_"));
    EXPECT_EQ(style(3, QStringLiteral("-")).DateMask(), QStringLiteral("!99-99-9999;1;_"));
    EXPECT_EQ(style(5).DateMask(), QStringLiteral("!999/99/99;1;_"));
    EXPECT_EQ(style(4).DateMask(), QStringLiteral("!999/99/99;1;_")) << "three year digits since 2011";
    EXPECT_EQ(style(2).YearMonthMask(), QStringLiteral("!99/9999;1;_"));
    EXPECT_EQ(style(1, QStringLiteral("_")).DateMask(), QStringLiteral("!9999\\_99\\_99;1;_"))
        << "a mask character as separator is escaped";
    for (int number = 1; number <= 5; ++number) {
        for (const QString& separator : {QStringLiteral("/"), QStringLiteral("-")}) {
            const TDateStyle s = style(number, separator);
            TEditMask mask(s.DateMask());
            const QString shown = s.FromStorage(QStringLiteral("20240105"));
            EXPECT_EQ(mask.Text(mask.Format(shown)), shown) << "style " << number << " fits its mask";
            TEditMask monthMask(s.YearMonthMask());
            const QString month = s.YearMonthFromStorage(QStringLiteral("202401"));
            EXPECT_EQ(monthMask.Text(monthMask.Format(month)), month) << "style " << number;
        }
    }
}

// Every style against the model over random dates of the whole calendar and
// the edges (year 1, day 0, the 1911/1912 turn, leap days, 2011's third
// Minguo digit, 9999-12-31): the written date and year-month, the shown
// storage text, and what reading the written text stores.
TEST(DateStyleModel, WrittenDatesAgreeWithTheModelInEveryStyle)
{
    constexpr quint32 seed = 5310;
    QRandomGenerator random(seed);
    QList<QDate> dates {{1, 1, 1}, {1899, 12, 30}, {1899, 12, 31}, {1900, 2, 28}, {1900, 3, 1},
        {1910, 12, 31}, {1911, 1, 1}, {1911, 12, 31}, {1912, 1, 1}, {2000, 2, 29}, {2010, 12, 31},
        {2011, 1, 1}, {2024, 2, 29}, {2100, 2, 28}, {9999, 12, 31}};
    const qint64 first = QDate(1, 1, 1).toJulianDay(), last = QDate(9999, 12, 31).toJulianDay();
    for (int n = 0; n < 3000; ++n)
        dates << QDate::fromJulianDay(first + qint64(random.bounded(double(last - first + 1))));
    const QString separators[]
        = {QStringLiteral("/"), QStringLiteral("-"), QStringLiteral("."), QStringLiteral("年")};
    for (qsizetype n = 0; n < dates.size(); ++n) {
        const QDate date = dates.at(n);
        const double number = double(dayZero.daysTo(date));
        const QString stored = date.toString(QStringLiteral("yyyyMMdd"));
        for (int st = 1; st <= 5; ++st) {
            const QString separator = separators[(n + st) % 4];
            const TDateStyle s = style(st, separator);
            const QChar sep = separator.at(0);
            const QString shown = modelWrite(st, sep, date, false);
            const auto where = [&] {
                return ::testing::Message() << "seed " << seed << " case " << n << " style " << st << " date "
                                            << stored.toStdString() << " shown " << shown.toStdString();
            };
            ASSERT_EQ(s.FormatDate(number), shown) << where();
            ASSERT_EQ(s.FormatYearMonth(number), modelWrite(st, sep, date, true)) << where();
            ASSERT_EQ(s.FromStorage(stored), number == 0 ? stored : shown) << where();
            ASSERT_EQ(s.ToStorage(shown), modelStorage(st, sep, shown, false)) << where();
            ASSERT_EQ(s.DayOf(shown), modelDay(st, sep, shown)) << where();
            // What can be read back is the date itself: every date but day 0
            // and the Minguo years before 1911, which carry a sign.
            if (number != 0 && (!s.CountsFrom1911() || date.year() >= 1911)) {
                ASSERT_EQ(s.ToStorage(shown), stored) << where();
                ASSERT_EQ(s.DayOf(shown), number) << where();
            }
        }
    }
}

// Random typed texts (parts of zero to ten digits, blanks around and inside,
// a stray letter or sign, the wrong separator, too few or too many parts):
// what each style stores, reads and counts as a day agrees with the model.
TEST(DateStyleModel, TypedTextsReadAsTheModelReadsThem)
{
    constexpr quint32 seed = 20241209;
    QRandomGenerator random(seed);
    const QString junk = QStringLiteral("+-a x.");
    for (int n = 0; n < 20000; ++n) {
        const int st = 1 + random.bounded(5);
        const QString separator = random.bounded(2) ? QStringLiteral("/") : QStringLiteral("-");
        const QChar sep = separator.at(0);
        const int parts = random.bounded(10) < 8 ? 2 + random.bounded(2) : random.bounded(5);
        QString text;
        for (int p = 0; p < parts; ++p) {
            if (p > 0)
                text += random.bounded(20) == 0 ? (sep == u'/' ? u'-' : u'/') : sep;
            text += QString(random.bounded(3) == 0 ? random.bounded(3) : 0, u' ');
            const int width = random.bounded(12) == 0 ? random.bounded(11) : 1 + random.bounded(4);
            for (int d = 0; d < width; ++d)
                text += QChar(u'0' + random.bounded(10));
            if (random.bounded(25) == 0)
                text.insert(random.bounded(int(text.size()) + 1), junk.at(random.bounded(int(junk.size()))));
            text += QString(random.bounded(3) == 0 ? random.bounded(3) : 0, u' ');
        }
        const TDateStyle s = style(st, separator);
        const auto where = [&] {
            return ::testing::Message() << "seed " << seed << " case " << n << " style " << st << " text '"
                                        << text.toStdString() << "'";
        };
        ASSERT_EQ(s.ToStorage(text), modelStorage(st, sep, text, false)) << where();
        ASSERT_EQ(s.YearMonthToStorage(text), modelStorage(st, sep, text, true)) << where();
        ASSERT_EQ(s.DayOf(text), modelDay(st, sep, text)) << where();
        const auto fields = s.ReadDate(text);
        const auto model = modelRead(st, sep, text, 3);
        ASSERT_EQ(fields.has_value(), model.has_value()) << where();
        if (fields) {
            ASSERT_EQ((std::array<int, 3> {fields->Year, fields->Month, fields->Day}), *model) << where();
        }
    }
}
