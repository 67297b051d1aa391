#include "common/LibDates.h"

#include "runtime/system/DateTime.h"
#include "runtime/system/Exceptions.h"

#include <cmath>

namespace {

// Digits only, no sign, no spaces; false for an empty text.
bool readDigits(QStringView text, int& value)
{
    if (text.isEmpty())
        return false;
    int result = 0;
    for (const QChar ch : text) {
        if (ch < QLatin1Char('0') || ch > QLatin1Char('9'))
            return false;
        result = result * 10 + (ch.unicode() - '0');
    }
    value = result;
    return true;
}

// A decimal integer as the option texts of date rules hold it: spaces around
// it and a sign are allowed.
int readInteger(const QString& text)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok, 10);
    if (!ok)
        throw EConvertError(QStringLiteral("'%1' is not a valid integer value").arg(text));
    return value;
}

QString date8(double day)
{
    int y = 0, m = 0, d = 0;
    datetime::DecodeDate(day, y, m, d);
    if (y < 1 || y > 9999)
        return {};
    return QString::asprintf("%.4d%.2d%.2d", y, m, d);
}

// Day number of y-m-d where a day past the month's end steps back to its last
// day; false when the year or month is out of range.
bool encodeClamped(int y, int m, int d, double& result)
{
    if (y < 1 || y > 9999 || m < 1 || m > 12)
        return false;
    return datetime::TryEncodeDate(y, m, qMin(d, DaysInMonth(y, m)), result);
}

// The day number of an eight-digit "yyyymmdd" text of a date that exists;
// false otherwise. 30 December 1899 is a real date whose day number is 0, so
// callers that ask whether a text is a date test this, not the day number.
bool readDate8(const QString& text, double& result)
{
    if (text.size() != 8)
        return false;
    const QStringView v(text);
    int y = 0, m = 0, d = 0;
    if (!readDigits(v.mid(0, 4), y) || !readDigits(v.mid(4, 2), m) || !readDigits(v.mid(6, 2), d))
        return false;
    if (y == 0 || m == 0 || d == 0)
        return false;
    return datetime::TryEncodeDate(y, m, d, result);
}

} // namespace

QString TodayText()
{
    return date8(datetime::Today());
}

double ParseDate8(const QString& text)
{
    double result = 0;
    return readDate8(text, result) ? result : 0;
}

bool IsValidSqlDate(const QString& text)
{
    if (text.isEmpty())
        return true;
    double day = 0;
    if (!readDate8(text, day))
        return false;
    return text >= QLatin1String("17530101") && text <= QLatin1String("99991231");
}

int DaysInMonth(int year, int month)
{
    static const int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12)
        return 0;
    if (month == 2 && ((year % 4 == 0 && year % 100 != 0) || year % 400 == 0))
        return 29;
    return days[month - 1];
}

QString ShiftDate(const Variant& value, const QString& unit, int amount)
{
    double date = 0;
    switch (value.Type()) {
    case VarType::String:
        date = ParseDate8(value.ToString());
        break;
    case VarType::Date:
        date = value.ToDate();
        break;
    default:
        return {};
    }
    if (date == 0)
        return {};

    int y = 0, m = 0, d = 0;
    datetime::DecodeDate(date, y, m, d);
    double result = 0;
    if (unit.compare(QLatin1String("Y"), Qt::CaseInsensitive) == 0) {
        const qint64 year = qint64(y) + amount;
        if (year < 1 || year > 9999 || !encodeClamped(int(year), m, d, result))
            return {};
    } else if (unit.compare(QLatin1String("M"), Qt::CaseInsensitive) == 0) {
        const qint64 total = qint64(y) * 12 + m + amount;
        if (total <= 12 || total > qint64(9999) * 12 + 12)
            return {};
        qint64 month = total % 12;
        qint64 year = total / 12;
        if (month == 0) {
            month = 12;
            year -= 1;
        }
        if (!encodeClamped(int(year), int(month), d, result))
            return {};
    } else if (unit.compare(QLatin1String("D"), Qt::CaseInsensitive) == 0) {
        result = std::floor(date) + amount;
    } else {
        return {};
    }
    return date8(result);
}

QString RelativeDate(const QString& base, const QString& offset, const QString& monthMode,
    const QString& dayOffset, const QString& anchor)
{
    // All three are read first: a rule with a broken number is refused even
    // where the branch taken would not use that number.
    const int shift = readInteger(offset);
    const int days = readInteger(dayOffset);
    const int anchorKind = readInteger(anchor);
    if (base.size() < 7)
        return ShiftDate(Variant(base + QStringLiteral("01")), QStringLiteral("M"), shift).left(6);

    if (monthMode != QLatin1String("0")) {
        const QString d = ShiftDate(Variant(base), QStringLiteral("M"), shift);
        if (d.isEmpty())
            return {};
        switch (anchorKind) {
        case 0:
            return ShiftDate(Variant(d), QStringLiteral("D"), days);
        case 1:
            return d.left(6) + QStringLiteral("01");
        case 2: {
            int y = 0, m = 0, day = 0;
            datetime::DecodeDate(ParseDate8(d), y, m, day);
            return d.left(6) + QString::number(DaysInMonth(y, m));
        }
        default:
            return d;
        }
    }

    if (anchorKind != 0) {
        const QString d = ShiftDate(Variant(base), QStringLiteral("D"), shift * 7);
        if (d.isEmpty())
            return {};
        const int w = datetime::DayOfWeek(ParseDate8(d));
        return ShiftDate(Variant(d), QStringLiteral("D"), anchorKind == 1 ? 1 - w : 7 - w);
    }
    return ShiftDate(Variant(base), QStringLiteral("D"), shift * 7 + days);
}

QString WeekdayToken(const QString& dateText, int order)
{
    static const char16_t* const english[7]
        = {u"<SUN>", u"<MON>", u"<TUE>", u"<WED>", u"<THU>", u"<FRI>", u"<SAT>"};
    static const char16_t* const chinese[7] = {u"<日>", u"<一>", u"<二>", u"<三>", u"<四>", u"<五>", u"<六>"};
    QString text = dateText;
    text.remove(QLatin1Char('/'));
    const double date = ParseDate8(text.trimmed());
    const bool useChinese = order > 3;
    if (date == 0)
        return useChinese ? QStringLiteral("    ") : QStringLiteral("<   >");
    const int w = datetime::DayOfWeek(date) - 1;
    return QString::fromUtf16(useChinese ? chinese[w] : english[w]);
}
