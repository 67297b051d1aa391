#include "common/DateStyle.h"

#include "common/LibDates.h"
#include "runtime/system/DateTime.h"

#include <QStringList>

namespace {

QString pad(int value, int width)
{
    return QString::number(value).rightJustified(width, u'0');
}

// One part of a date text: digits only once trimmed. Nine digits at most,
// so that a Minguo year plus 1911 cannot overflow.
std::optional<int> readPart(const QString& part)
{
    const QString digits = part.trimmed();
    if (digits.isEmpty() || digits.size() > 9)
        return std::nullopt;
    int value = 0;
    for (const QChar ch : digits) {
        if (ch < u'0' || ch > u'9')
            return std::nullopt;
        value = value * 10 + (ch.unicode() - u'0');
    }
    return value;
}

// A separator inside a mask: mask characters need the escape.
QString maskLiteral(const QString& separator)
{
    static const QString special = QStringLiteral("LlAaCc09#><\\!;_");
    QString out;
    for (QChar c : separator)
        out += special.contains(c) ? QStringLiteral("\\") + c : QString(c);
    return out;
}

bool isEmptyInput(const QString& trimmed, const QString& emptyText)
{
    return trimmed.isEmpty() || (!emptyText.isNull() && trimmed == emptyText.trimmed());
}

} // namespace

TDateStyle::TDateStyle(int order, const QString& separator)
    : order_(order)
    , separator_(separator.left(1))
{
}

std::optional<TDateStyle> TDateStyle::Of(int number, const QString& separator)
{
    if (number < YearMonthDay || number > MinguoThreeDigits)
        return std::nullopt;
    return TDateStyle(number, separator);
}

TDateStyle TDateStyle::FromSetting(const QString& setting, const QString& separator)
{
    bool ok = false;
    const int number = setting.trimmed().toInt(&ok);
    return Of(ok ? number : 0, separator).value_or(TDateStyle(YearMonthDay, separator));
}

TDateStyle TDateStyle::WithSeparator(const QString& separator) const
{
    return TDateStyle(order_, separator);
}

QString TDateStyle::write(double day, bool withDay) const
{
    if (day == 0)
        return {};
    int y = 0, m = 0, d = 0;
    datetime::DecodeDate(day, y, m, d);
    // printf's precision pads with zeros after a minus sign, so a Minguo
    // year before 1912 keeps its width ("-01").
    const int yearWidth = order_ == MinguoTwoDigits ? 2 : order_ == MinguoThreeDigits ? 3 : 4;
    const QString year = QString::asprintf("%.*d", yearWidth, CountsFrom1911() ? y - 1911 : y);
    const QString month = QString::asprintf("%.2d", m);
    QStringList parts;
    qsizetype dayAt = 2;
    if (order_ == MonthDayYear)
        parts = {month, QString(), year}, dayAt = 1;
    else if (order_ == DayMonthYear)
        parts = {QString(), month, year}, dayAt = 0;
    else
        parts = {year, month, QString()};
    if (withDay)
        parts[dayAt] = QString::asprintf("%.2d", d);
    else
        parts.removeAt(dayAt);
    return parts.join(separator_);
}

QString TDateStyle::FormatDate(double day) const
{
    return write(day, true);
}

QString TDateStyle::FormatYearMonth(double day) const
{
    return write(day, false);
}

QString TDateStyle::DateMask() const
{
    const QString s = maskLiteral(separator_);
    switch (order_) {
    case MonthDayYear:
    case DayMonthYear:
        return QStringLiteral("!99") + s + QStringLiteral("99") + s + QStringLiteral("9999;1;_");
    case MinguoTwoDigits:
    case MinguoThreeDigits:
        return QStringLiteral("!999") + s + QStringLiteral("99") + s + QStringLiteral("99;1;_");
    default:
        return QStringLiteral("!9999") + s + QStringLiteral("99") + s + QStringLiteral("99;1;_");
    }
}

QString TDateStyle::YearMonthMask() const
{
    const QString s = maskLiteral(separator_);
    switch (order_) {
    case MonthDayYear:
    case DayMonthYear:
        return QStringLiteral("!99") + s + QStringLiteral("9999;1;_");
    case MinguoTwoDigits:
    case MinguoThreeDigits:
        return QStringLiteral("!999") + s + QStringLiteral("99;1;_");
    default:
        return QStringLiteral("!9999") + s + QStringLiteral("99;1;_");
    }
}

std::optional<TDateFields> TDateStyle::read(const QString& text, int count) const
{
    if (separator_.isEmpty())
        return std::nullopt;
    const QStringList parts = text.trimmed().split(separator_);
    if (parts.size() != count)
        return std::nullopt;
    int p[3] = {0, 0, 1};
    for (int i = 0; i < count; ++i) {
        const std::optional<int> value = readPart(parts.at(i));
        if (!value)
            return std::nullopt;
        p[i] = *value;
    }
    TDateFields f {p[0], p[1], p[2]};
    if (count == 3 && order_ == MonthDayYear)
        f = {p[2], p[0], p[1]};
    else if (count == 3 && order_ == DayMonthYear)
        f = {p[2], p[1], p[0]};
    else if (count == 2 && (order_ == MonthDayYear || order_ == DayMonthYear))
        f = {p[1], p[0], 1};
    if (CountsFrom1911())
        f.Year += 1911;
    return f;
}

std::optional<TDateFields> TDateStyle::ReadDate(const QString& text) const
{
    return read(text, 3);
}

std::optional<TDateFields> TDateStyle::ReadYearMonth(const QString& text) const
{
    return read(text, 2);
}

double TDateStyle::DayOf(const QString& text) const
{
    if (separator_.isEmpty())
        return 0;
    const std::optional<TDateFields> f = text.count(separator_) == 1 ? ReadYearMonth(text) : ReadDate(text);
    double day = 0;
    return f && datetime::TryEncodeDate(f->Year, f->Month, f->Day, day) ? day : 0;
}

QString TDateStyle::ToStorage(const QString& text, const QString& emptyText) const
{
    if (isEmptyInput(text.trimmed(), emptyText))
        return {};
    const std::optional<TDateFields> f = ReadDate(text);
    return f ? pad(f->Year, 4) + pad(f->Month, 2) + pad(f->Day, 2) : text;
}

QString TDateStyle::YearMonthToStorage(const QString& text, const QString& emptyText) const
{
    if (isEmptyInput(text.trimmed(), emptyText))
        return {};
    const std::optional<TDateFields> f = ReadYearMonth(text);
    return f ? pad(f->Year, 4) + pad(f->Month, 2) : text;
}

QString TDateStyle::FromStorage(const QString& yyyymmdd) const
{
    const QString trimmed = yyyymmdd.trimmed();
    if (trimmed.isEmpty())
        return {};
    // 30 December 1899 is day 0, "no date", and is shown as it is stored.
    const double day = ParseDate8(trimmed);
    return day == 0 ? yyyymmdd : FormatDate(day);
}

QString TDateStyle::YearMonthFromStorage(const QString& yyyymm) const
{
    const QString trimmed = yyyymm.trimmed();
    if (trimmed.isEmpty())
        return {};
    const double day = ParseDate8(trimmed + QStringLiteral("01"));
    return day == 0 ? yyyymm : FormatYearMonth(day);
}
