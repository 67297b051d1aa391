#include "format/OptionSnapshot.h"

#include "runtime/forms/Component.h"
#include "runtime/forms/PropertyAccess.h"

#include <QStringList>

QString OptionSnapshotText(const TComponent* optionsForm, const QString& specs, bool hasExtendedFields)
{
    if (!optionsForm || !hasExtendedFields || specs.trimmed().isEmpty())
        return QString();
    QStringList lines;
    for (const QString& spec : specs.split(u';')) {
        if (spec.trimmed().isEmpty())
            continue;
        TComponent* control = optionsForm->FindComponent(spec.section(u':', 0, 0).trimmed());
        if (!control)
            continue;
        QString value;
        if (HasPropertyPath(control, QStringLiteral("Checked")))
            value = GetPropertyValue(control, QStringLiteral("Checked")).toBool() ? QStringLiteral("1")
                                                                                  : QStringLiteral("0");
        else if (HasPropertyPath(control, QStringLiteral("ItemIndex")))
            value = QString::number(GetPropertyValue(control, QStringLiteral("ItemIndex")).toInt());
        if (!value.isEmpty())
            lines << spec + u'=' + value;
    }
    return lines.join(QStringLiteral("\r\n"));
}
