#include "common/FaxNumber.h"

#include <algorithm>

namespace {

constexpr qsizetype MaxLength = 64;

bool isDigit(QChar ch)
{
    return ch >= QLatin1Char('0') && ch <= QLatin1Char('9');
}

bool isMark(QChar ch)
{
    return QStringLiteral("+-() .,#*").contains(ch);
}

bool startsNumber(QChar ch)
{
    return isDigit(ch) || QStringLiteral("+(#*").contains(ch);
}

} // namespace

TFaxNumberCheck CheckFaxNumber(const QString& number)
{
    TFaxNumberCheck check;
    if (number.trimmed().isEmpty()) {
        check.Problem = TFaxNumberProblem::Empty;
        return check;
    }
    for (const QChar ch : number) {
        if (!isDigit(ch) && !isMark(ch)) {
            check.Problem = TFaxNumberProblem::BadCharacter;
            check.Character = QString(ch);
            return check;
        }
    }
    if (!startsNumber(number.front())) {
        check.Problem = TFaxNumberProblem::BadStart;
        check.Character = QString(number.front());
    } else if (!std::any_of(number.cbegin(), number.cend(), isDigit)) {
        check.Problem = TFaxNumberProblem::NoDigit;
    } else if (number.size() > MaxLength) {
        check.Problem = TFaxNumberProblem::TooLong;
    }
    return check;
}

bool IsDialable(const QString& number)
{
    return CheckFaxNumber(number).Problem == TFaxNumberProblem::None;
}
