#include "options/SendStatus.h"

#include "common/VariantElements.h"
#include "options/ChoiceConditions.h"
#include "runtime/system/Exceptions.h"

namespace {

const QLatin1String SendTexts[] = {QLatin1String("<>0"), QLatin1String("=0")};

} // namespace

QString SendStatusCondition(int itemIndex)
{
    return ChoiceCondition(SendTexts, itemIndex);
}

QString SendStatusOfValues(int mode, const Variant& values, int slot)
{
    if (mode != 0)
        return {};
    const QString text = ElementText(values, slot);
    if (!IsChoiceCondition(SendTexts, text))
        throw EConvertError(QStringLiteral("Unknown send status condition in option %1").arg(slot));
    return text;
}
