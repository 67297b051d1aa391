#include "runtime/system/DateTime.h"

#include "runtime/system/Exceptions.h"

#include <cmath>

namespace datetime {

namespace {
const QDate& epoch()
{
    static const QDate day0(1899, 12, 30);
    return day0;
}
} // namespace

bool TryEncodeDate(int year, int month, int day, double& result)
{
    if (year < 1 || year > 9999 || !QDate::isValid(year, month, day))
        return false;
    result = static_cast<double>(epoch().daysTo(QDate(year, month, day)));
    return true;
}

double EncodeDate(int year, int month, int day)
{
    double result = 0;
    if (!TryEncodeDate(year, month, day, result))
        throw EConvertError(QStringLiteral("Invalid argument to date encode"));
    return result;
}

void DecodeDate(double value, int& year, int& month, int& day)
{
    const QDate d = ToQDate(value);
    year = d.year();
    month = d.month();
    day = d.day();
}

int DayOfWeek(double value)
{
    return ToQDate(value).dayOfWeek() % 7 + 1; // Qt: Monday 1 .. Sunday 7
}

double Today()
{
    return FromQDate(QDate::currentDate());
}

double Now()
{
    return FromQDateTime(QDateTime::currentDateTime());
}

QDate ToQDate(double value)
{
    return epoch().addDays(static_cast<qint64>(std::floor(value)));
}

QDateTime ToQDateTime(double value)
{
    const double whole = std::floor(value);
    const auto msecs = static_cast<int>(std::llround((value - whole) * 86400000.0));
    return QDateTime(ToQDate(value), QTime(0, 0).addMSecs(msecs));
}

double FromQDate(const QDate& date)
{
    return static_cast<double>(epoch().daysTo(date));
}

double FromQDateTime(const QDateTime& dateTime)
{
    return FromQDate(dateTime.date()) + dateTime.time().msecsSinceStartOfDay() / 86400000.0;
}

} // namespace datetime
