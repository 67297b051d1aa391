#include "criteria/CriteriaState.h"

#include "criteria/SelectPnl.h"
#include "runtime/forms/StdCtrls.h"

#include <QMetaProperty>

namespace {

// Only letters and digits make an entry: blanks and the literals of a mask do not.
QString entered(const QString& text)
{
    const QString trimmed = text.trimmed();
    for (const QChar c : trimmed) {
        if (c.isLetterOrNumber())
            return trimmed;
    }
    return QString();
}

QString valueOf(const TControl* control)
{
    if (auto* panel = qobject_cast<const TSelectPanel*>(control)) {
        if (panel->IsRangeMode())
            return QStringLiteral("range ") + entered(panel->edBegin->Text()) + u'|'
                + entered(panel->edFinal->Text());
        return QStringLiteral("list ") + panel->ListText();
    }
    QString value;
    for (const char* name : {"Text", "ItemIndex", "State", "Value"}) {
        const QMetaObject* meta = control->metaObject();
        const int index = meta->indexOfProperty(name);
        if (index < 0)
            continue;
        const QVariant v = meta->property(index).read(control);
        value += QString::fromLatin1(name) + u'='
            + (v.typeId() == QMetaType::QString ? entered(v.toString()) : QString::number(v.toInt())) + u' ';
    }
    return value;
}

void walk(const TWinControl* parent, QString& state)
{
    for (const TControl* control : parent->ControlList()) {
        if (!control->Name().isEmpty()) {
            const QString value = valueOf(control);
            if (!value.isEmpty())
                state += control->Name() + u':' + value + u'\n';
        }
        if (qobject_cast<const TSelectPanel*>(control))
            continue;
        if (auto* container = qobject_cast<const TWinControl*>(control))
            walk(container, state);
    }
}

} // namespace

QString CriteriaState(const TWinControl* root)
{
    QString state;
    if (root)
        walk(root, state);
    return state;
}
