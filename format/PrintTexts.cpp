#include "format/PrintTexts.h"

#include "common/DateStyle.h"
#include "common/LibDates.h"
#include "common/LibStrs.h"

#include <cmath>
#include <limits>

QString DatePrintText(const QString& value, int dateType, const QString& dateSeparator)
{
    const double date = ParseDate8(value.trimmed());
    const std::optional<TDateStyle> style = TDateStyle::Of(dateType, dateSeparator);
    return date == 0 || !style ? value : style->FormatDate(date);
}

QString PercentPrintText(const QString& value)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double number = TextToFloatDef(value, nan);
    if (std::isnan(number) || std::isinf(number))
        return value;
    double percent = number * 100;
    if (percent == 0)
        percent = 0; // no "-0%" for a negative zero
    // 15 digits hide the binary error of the multiplication (0.07 * 100).
    return QString::number(percent, 'g', 15) + QLatin1Char('%');
}

QString DictionaryPrintText(const QString& value, const QString& dictionary)
{
    const QString key = value.trimmed();
    const QChar mark(3);
    for (const QString& entry : dictionary.split(QStringLiteral("||"))) {
        const qsizetype at = entry.indexOf(mark);
        // The old lookup searched "value + character 3" anywhere in the text,
        // so a value that was the tail of a longer key (or empty) took that
        // key's text; only whole keys match here.
        if (at >= 0 && QStringView(entry).left(at) == key)
            return entry.mid(at + 1);
    }
    return value;
}

QString HiddenAmountText()
{
    return QString(11, QLatin1Char('*'));
}

QString SlipAmountText(
    const QString& value, const QString& pageCaption, const QString& pagesCaption, bool totalsEveryPage)
{
    return totalsEveryPage || pageCaption == pagesCaption ? value : HiddenAmountText();
}
