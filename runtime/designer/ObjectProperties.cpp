#include "runtime/designer/ObjectProperties.h"

#include "runtime/designer/DesignerTexts.h"
#include "runtime/forms/Component.h"
#include "runtime/forms/PropertyAccess.h"
#include "runtime/report/QRSize.h"
#include "runtime/system/Exceptions.h"

#include <QHeaderView>

#include <algorithm>
#include <cmath>

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

// The rank of a path in the order users look for properties; paths not
// named keep their own order after these. "Font.*" stands for the font's
// properties not named before it.
int preferredRank(const QString& path)
{
    static const QStringList order = {QStringLiteral("Name"), QStringLiteral("Caption"),
        QStringLiteral("DataField"), QStringLiteral("Expression"), QStringLiteral("DataSet"),
        QStringLiteral("Left"), QStringLiteral("Top"), QStringLiteral("Width"), QStringLiteral("Height"),
        QStringLiteral("Size.Left"), QStringLiteral("Size.Top"), QStringLiteral("Size.Width"),
        QStringLiteral("Size.Height"), QStringLiteral("Font.Name"), QStringLiteral("Font.Size"),
        QStringLiteral("Font.Style"), QStringLiteral("Font.Color"), QStringLiteral("Font.*"),
        QStringLiteral("Alignment"), QStringLiteral("AutoSize"), QStringLiteral("WordWrap"),
        QStringLiteral("Transparent"), QStringLiteral("Color"), QStringLiteral("Enabled"),
        QStringLiteral("Visible"), QStringLiteral("Hint")};
    for (int i = 0; i < order.size(); ++i)
        if (order[i].compare(path, Qt::CaseInsensitive) == 0)
            return i;
    if (path.startsWith(QLatin1String("Font."), Qt::CaseInsensitive))
        return static_cast<int>(order.indexOf(QStringLiteral("Font.*")));
    return static_cast<int>(order.size());
}

// A value read back after typing: the typed text stands for it when the two
// differ only by the rounding of a unit kept in whole steps (half a pixel is
// at most 1.33 tenths of a millimetre, the coarsest unit a size has). A
// setter that refused the value (clamped it) is further off.
bool closeToTyped(double held, double typed)
{
    return std::abs(held - typed) <= std::max(1.5, std::abs(typed) * 0.01);
}

// A value of a control's Size: its pixels in report units.
bool isPixelView(QObject* object, const QString& path)
{
    const qsizetype dot = path.indexOf(u'.');
    return dot > 0
        && qobject_cast<TQRSize*>(GetPropertyValue(object, path.left(dot)).value<QObject*>()) != nullptr;
}

// Two decimals name a pixel exactly in every unit a size has (half a pixel
// is more than 0.005 of a millimetre, an inch or a character), so more
// digits would only show the division.
QString pixelViewText(double value)
{
    QString text = QString::number(value, 'f', 2);
    while (text.endsWith(u'0'))
        text.chop(1);
    if (text.endsWith(u'.'))
        text.chop(1);
    return text == QLatin1String("-0") ? QStringLiteral("0") : text;
}

QStringList orderedPaths(QObject* object)
{
    QStringList paths = inspectedPaths(object);
    std::stable_sort(paths.begin(), paths.end(),
        [](const QString& a, const QString& b) { return preferredRank(a) < preferredRank(b); });
    return paths;
}

} // namespace

TObjectInspector::TObjectInspector(QWidget* parent)
    : QTableWidget(0, 2, parent)
{
    setHorizontalHeaderLabels({DesignerText("sPropertyColumn", "属性"), DesignerText("sValueColumn", "值")});
    horizontalHeader()->setStretchLastSection(true);
    verticalHeader()->hide();
    // Rows as tall as their text, so that a label's properties fit at once.
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
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
    typed_.clear();
    if (component_) {
        const QStringList paths = orderedPaths(component_);
        setRowCount(static_cast<int>(paths.size()));
        for (int row = 0; row < paths.size(); ++row) {
            auto* name = new QTableWidgetItem(paths[row]);
            name->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            setItem(row, 0, name);
            auto* value = new QTableWidgetItem(displayText(paths[row]));
            // The name is the component's identity in stored layouts: it is
            // never edited here.
            const bool editable
                = !readOnly_ && paths[row].compare(QLatin1String("Name"), Qt::CaseInsensitive) != 0;
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
        const QString text = displayText(path);
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
    return component_ && displayText(item(row, 0)->text()) == item(row, 1)->text()
        && item(row, 1)->text() == text;
}

QString TObjectInspector::ValueText(const QString& path) const
{
    const int row = RowOf(path);
    return row < 0 ? QString() : item(row, 1)->text();
}

QStringList TObjectInspector::Paths() const
{
    QStringList paths;
    for (int row = 0; row < rowCount(); ++row)
        paths << item(row, 0)->text();
    return paths;
}

QString TObjectInspector::displayText(const QString& path) const
{
    const QString stored = GetPropertyText(component_, path);
    const auto typed = typed_.constFind(path);
    if (typed != typed_.cend() && typed->Stored == stored)
        return typed->Text;
    if (GetPropertyTypeName(component_, path) == QLatin1String("double")) {
        bool ok = false;
        const double value = stored.toDouble(&ok);
        if (ok)
            return isPixelView(component_, path) ? pixelViewText(value) : QString::number(value, 'g', 15);
    }
    return stored;
}

void TObjectInspector::cellEdited(QTableWidgetItem* edited)
{
    if (filling_ || !component_ || edited->column() != 1)
        return;
    const QString path = item(edited->row(), 0)->text();
    QString reason;
    const QString text = edited->text();
    typed_.remove(path);
    try {
        SetPropertyText(component_, path, text);
        if (GetPropertyTypeName(component_, path) == QLatin1String("double")) {
            // Kept only while it still names the value the property holds:
            // a setter that clamps, or a later move, shows the real value.
            bool ok = false;
            const double typedValue = text.trimmed().toDouble(&ok);
            const double held = GetPropertyText(component_, path).toDouble();
            if (ok && closeToTyped(held, typedValue))
                typed_.insert(path, {text, GetPropertyText(component_, path)});
        }
    } catch (const Exception& e) {
        reason = e.Message();
    }
    // Show what the property now holds (a setter may clamp the value).
    filling_ = true;
    edited->setText(displayText(path));
    filling_ = false;
    // One property may move others (a size in report units sets the
    // pixels): every row reads again.
    Refresh();
    if (reason.isEmpty())
        emit PropertyChanged(component_, path);
    else
        emit EditFailed(path, reason);
}
