#pragma once
// Conditions picked from a fixed list (a status drop-down): item n of the
// list gives texts[n], any other item (the "全部" entry, no choice) gives
// no condition. The check accepts only those texts or none, since the
// chosen text goes into the statement as it is.

#include <QLatin1String>
#include <QString>
#include <span>

QString ChoiceCondition(std::span<const QLatin1String> texts, int itemIndex);
bool IsChoiceCondition(std::span<const QLatin1String> texts, const QString& text);
