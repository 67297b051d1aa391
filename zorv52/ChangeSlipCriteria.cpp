#include "zorv52/ChangeSlipCriteria.h"

#include "common/LibConditions.h"
#include "common/VariantElements.h"
#include "options/ChoiceConditions.h"

namespace {

const QLatin1String ApprovalTexts[]
    = {QLatin1String("='Y' "), QLatin1String("='N' "), QLatin1String("='V' ")};
const QLatin1String PrintTexts[] = {QLatin1String("<> 0 "), QLatin1String("= 0 ")};

// True when text (already trimmed) is one literal: a quote, any text with
// every inner quote doubled, a quote.
bool isOneLiteral(QStringView text)
{
    if (text.size() < 2 || text.front() != u'\'' || text.back() != u'\'')
        return false;
    const QStringView inner = text.mid(1, text.size() - 2);
    for (qsizetype i = 0; i < inner.size(); ++i) {
        if (inner[i] != u'\'')
            continue;
        if (i + 1 >= inner.size() || inner[i + 1] != u'\'')
            return false;
        ++i;
    }
    return !inner.contains(QChar(0));
}

} // namespace

QString SlipTypeCondition(const QString& slipType)
{
    return QLatin1Char('=') + QuoteSqlText(slipType) + QLatin1Char(' ');
}

bool IsSlipTypeCondition(const QString& text)
{
    const QStringView trimmed = QStringView(text).trimmed();
    return trimmed.startsWith(u'=') && isOneLiteral(trimmed.mid(1).trimmed());
}

QString ApprovalStatusCondition(int itemIndex)
{
    return ChoiceCondition(ApprovalTexts, itemIndex);
}

bool IsApprovalStatusCondition(const QString& text)
{
    return IsChoiceCondition(ApprovalTexts, text);
}

QString PrintStatusCondition(int itemIndex)
{
    return ChoiceCondition(PrintTexts, itemIndex);
}

bool IsPrintStatusCondition(const QString& text)
{
    return IsChoiceCondition(PrintTexts, text);
}

QString KeyCondition(const QString& key)
{
    return QLatin1Char('=') + QuoteSqlText(key);
}

QString SlipTypeKeyOfKeys(const Variant& keys)
{
    return ElementText(keys, 3);
}

bool FillChangeSlipOptionValues(Variant& values, const TChangeSlipInputs& inputs)
{
    if (inputs.SlipType.isEmpty())
        return false;
    const QString slipType = SlipTypeCondition(inputs.SlipType);
    values[1] = slipType;
    values[2] = inputs.SlipNumber;
    values[3] = inputs.Version;
    values[4] = inputs.ChangeDate;
    values[5] = inputs.ApprovalDate;
    values[6] = ApprovalStatusCondition(inputs.ApprovalItem);
    values[7] = PrintStatusCondition(inputs.PrintItem);
    return true;
}

QStringList ChangeSlipOptionTexts()
{
    return {QStringLiteral("TO001"), QStringLiteral("TO002"), QStringLiteral("TO003"),
        QStringLiteral("TO004"), QStringLiteral("TO043"), QStringLiteral("TO041"), QStringLiteral("TO042")};
}

QStringList ChangeSlipPriceFields()
{
    return {QStringLiteral("TO024"), QStringLiteral("TO124"), QStringLiteral("TO025"),
        QStringLiteral("TO125"), QStringLiteral("TO047"), QStringLiteral("TO147"), QStringLiteral("TO046"),
        QStringLiteral("TO146")};
}
