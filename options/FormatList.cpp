#include "options/FormatList.h"

#include "common/VariantElements.h"

namespace {

bool lineMatches(QStringView line, const TOptionValueOf& valueOf)
{
    const qsizetype colon = line.indexOf(u':');
    const QString component = (colon < 0 ? line : line.left(colon)).trimmed().toString();
    const std::optional<QString> current = valueOf(component);
    if (!current)
        return false;
    const qsizetype equals = line.indexOf(u'=');
    const QStringView expected = equals < 0 ? QStringView() : line.mid(equals + 1);
    return *current == expected.trimmed();
}

QStringList fittingNames(const Variant& rows, const TOptionValueOf& valueOf)
{
    QStringList names;
    if (!rows.IsArray() || rows.DimCount() != 1)
        return names;
    for (int i = rows.LowBound(1); i <= rows.HighBound(1); ++i) {
        const Variant row = ElementAt(rows, i);
        const QString name = ElementText(row, 0);
        if (!name.isEmpty() && FormatMatchesOptions(ElementText(row, 1), valueOf))
            names << name;
    }
    return names;
}

} // namespace

bool FormatMatchesOptions(const QString& optionText, const TOptionValueOf& valueOf)
{
    // Stored texts come from Windows: lines end in CR LF.
    for (QStringView line : QStringView(optionText).split(u'\n')) {
        if (line.endsWith(u'\r'))
            line.chop(1);
        if (!line.trimmed().isEmpty() && !lineMatches(line, valueOf))
            return false;
    }
    return true;
}

QStringList FormatListItems(const Variant& rows, bool boxEnabled, const TOptionValueOf& valueOf)
{
    QStringList items;
    if (boxEnabled)
        items << QStringLiteral("<New>");
    return items + fittingNames(rows, valueOf);
}

QStringList FormatListAfterDelete(const Variant& rows, const TOptionValueOf& valueOf)
{
    return QStringList {QStringLiteral("<NEW>")} + fittingNames(rows, valueOf);
}

int FormatListSelection(const QStringList& items, const QString& remembered)
{
    // Format names are keys of the format store, which compares them without
    // regard to case: a name typed in other case is the same format.
    for (qsizetype i = 0; i < items.size(); ++i)
        if (items.at(i).compare(remembered, Qt::CaseInsensitive) == 0)
            return static_cast<int>(i);
    return items.isEmpty() ? -1 : 0;
}

QString ReportTitle(const QStringList& companyInfo, const QString& programTitle, const QString& programCode)
{
    return companyInfo.value(1) + QStringLiteral(" - ")
        + (programTitle.isEmpty() ? programCode : programTitle);
}
