#include "runtime/designer/ObjectInspector.h"

#include "runtime/forms/Component.h"
#include "runtime/forms/PropertyAccess.h"
#include "runtime/system/Exceptions.h"

#include <QHeaderView>

namespace {

// The paths the inspector lists for an object: its properties, and those
// of its object-valued properties one level down.
QStringList inspectedPaths(QObject* object)
{
    QStringList paths;
    for (const QString& name : PublishedPropertyNames(object)) {
        const QMetaProperty property = FindPublishedProperty(object, name);
        if (IsEventProperty(property))
            continue;
        if (IsObjectProperty(property)) {
            auto* sub = property.read(object).value<QObject*>();
            if (!sub)
                continue;
            const QStringList inner = PublishedPropertyNames(sub);
            if (inner.isEmpty() || GetPropertyTypeName(object, name) == QLatin1String("TStrings*")) {
                paths << name; // a list edits as its whole text
                continue;
            }
            for (const QString& innerName : inner)
                if (!IsEventProperty(FindPublishedProperty(sub, innerName))
                    && !IsObjectProperty(FindPublishedProperty(sub, innerName)))
                    paths << name + u'.' + innerName;
            continue;
        }
        paths << name;
    }
    return paths;
}

} // namespace

TObjectInspector::TObjectInspector(QWidget* parent) : QTableWidget(0, 2, parent)
{
    setHorizontalHeaderLabels({QStringLiteral("属性"), QStringLiteral("值")});
    horizontalHeader()->setStretchLastSection(true);
    verticalHeader()->hide();
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
        | QAbstractItemView::AnyKeyPressed);
    connect(this, &QTableWidget::itemChanged, this, &TObjectInspector::cellEdited);
}

void TObjectInspector::Inspect(TComponent* component)
{
    if (component_ == component)
        return Refresh();
    component_ = component;
    fill();
}

void TObjectInspector::SetReadOnly(bool readOnly)
{
    if (readOnly_ == readOnly)
        return;
    readOnly_ = readOnly;
    fill();
}

void TObjectInspector::fill()
{
    filling_ = true;
    setRowCount(0);
    if (component_) {
        const QStringList paths = inspectedPaths(component_);
        setRowCount(static_cast<int>(paths.size()));
        for (int row = 0; row < paths.size(); ++row) {
            auto* name = new QTableWidgetItem(paths[row]);
            name->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            setItem(row, 0, name);
            auto* value = new QTableWidgetItem(GetPropertyText(component_, paths[row]));
            // The name is the component's identity in stored layouts: it is
            // never edited here.
            const bool editable = !readOnly_ && paths[row].compare(QLatin1String("Name"), Qt::CaseInsensitive) != 0;
            value->setFlags(editable ? Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable
                                     : Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            setItem(row, 1, value);
        }
    }
    filling_ = false;
}

void TObjectInspector::Refresh()
{
    if (!component_) {
        setRowCount(0);
        return;
    }
    filling_ = true;
    for (int row = 0; row < rowCount(); ++row) {
        const QString path = item(row, 0)->text();
        const QString text = GetPropertyText(component_, path);
        if (item(row, 1)->text() != text)
            item(row, 1)->setText(text);
    }
    filling_ = false;
}

int TObjectInspector::RowOf(const QString& path) const
{
    for (int row = 0; row < rowCount(); ++row)
        if (item(row, 0)->text().compare(path, Qt::CaseInsensitive) == 0)
            return row;
    return -1;
}

bool TObjectInspector::EditValue(const QString& path, const QString& text)
{
    const int row = RowOf(path);
    if (row < 0 || !(item(row, 1)->flags() & Qt::ItemIsEditable))
        return false;
    item(row, 1)->setText(text); // runs cellEdited
    return GetPropertyText(component_, item(row, 0)->text()) == item(row, 1)->text()
        && item(row, 1)->text() == text;
}

void TObjectInspector::cellEdited(QTableWidgetItem* edited)
{
    if (filling_ || !component_ || edited->column() != 1)
        return;
    const QString path = item(edited->row(), 0)->text();
    QString reason;
    try {
        SetPropertyText(component_, path, edited->text());
    } catch (const Exception& e) {
        reason = e.Message();
    }
    // Show what the property now holds (a setter may clamp the value).
    filling_ = true;
    edited->setText(GetPropertyText(component_, path));
    filling_ = false;
    if (reason.isEmpty())
        emit PropertyChanged(component_, path);
    else
        emit EditFailed(path, reason);
}
