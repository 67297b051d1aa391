#include "runtime/system/PhraseOverrides.h"

#include "runtime/system/Exceptions.h"
#include "runtime/system/TabSeparated.h"

#include <algorithm>

TPhraseOverrides TPhraseOverrides::Parse(const QString& text)
{
    TPhraseOverrides overrides;
    for (const auto& [number, fields] : TabSeparatedDataLines(text)) {
        const auto fail = [number](const QString& reason) {
            throw EConvertError(QStringLiteral("line %1: %2").arg(number).arg(reason));
        };
        if (fields.size() != 2 || fields[0].isEmpty() || fields[1].isEmpty())
            fail(QStringLiteral("wants source<TAB>result"));
        for (const auto& [source, result] : std::as_const(overrides.phrases_))
            if (source == fields[0])
                fail(QStringLiteral("\"%1\" is given twice").arg(fields[0]));
        overrides.phrases_.append({fields[0], fields[1]});
    }
    // A longer phrase holding a shorter one must win where both start.
    std::stable_sort(overrides.phrases_.begin(), overrides.phrases_.end(),
        [](const auto& a, const auto& b) { return a.first.size() > b.first.size(); });
    return overrides;
}

QString TPhraseOverrides::Convert(
    const QString& text, const std::function<QString(const QString&)>& convert) const
{
    if (phrases_.isEmpty())
        return convert(text);
    QString out;
    qsizetype pieceStart = 0;
    qsizetype at = 0;
    while (at < text.size()) {
        const auto phrase = std::find_if(phrases_.cbegin(), phrases_.cend(),
            [&](const auto& p) { return QStringView(text).mid(at).startsWith(p.first); });
        if (phrase == phrases_.cend()) {
            ++at;
            continue;
        }
        if (at > pieceStart)
            out += convert(text.mid(pieceStart, at - pieceStart));
        out += phrase->second;
        at += phrase->first.size();
        pieceStart = at;
    }
    if (pieceStart < text.size() || text.isEmpty())
        out += convert(text.mid(pieceStart));
    return out;
}
