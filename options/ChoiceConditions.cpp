#include "options/ChoiceConditions.h"

#include <algorithm>

QString ChoiceCondition(std::span<const QLatin1String> texts, int itemIndex)
{
    return itemIndex >= 0 && static_cast<std::size_t>(itemIndex) < texts.size() ? QString(texts[itemIndex])
                                                                                : QString();
}

bool IsChoiceCondition(std::span<const QLatin1String> texts, const QString& text)
{
    return text.isEmpty() || std::find(texts.begin(), texts.end(), text) != texts.end();
}
