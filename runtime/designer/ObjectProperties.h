#pragma once
// TObjectInspector: the published properties of one component as a
// two-column table (name, value as text), edited in place. Events are not
// listed; object-valued properties (Font, Frame, Items ...) list their own
// properties one level down as "Font.Size". A value typed in is set through
// the property system by path; one it refuses is put back and reported with
// EditFailed. With ReadOnly the values cannot be edited.
//
// Order: the properties a layout is worked with come first, in this order:
// Name, Caption, DataField, Expression, DataSet, the position and size
// (Left, Top, Width, Height, then Size.*), the font, Alignment, AutoSize,
// WordWrap, Transparent, Color, Enabled, Visible, Hint; the rest follow in
// the component's own order.
//
// Numbers: a floating-point value is shown with at most 15 significant
// digits, a control's Size (its pixels in report units) with at most two
// decimals, enough to name each pixel; a value the user typed stays shown as
// typed for as long as the property holds what that text set (a size in
// millimetres that the control keeps in whole pixels reads back a little
// off). After an edit every row reads again.
//
// The inspector does not own the component and lets go of it when it is
// freed.

#include <QHash>
#include <QPointer>
#include <QTableWidget>

class TComponent;

class TObjectInspector : public QTableWidget {
    Q_OBJECT
public:
    explicit TObjectInspector(QWidget* parent = nullptr);

    void Inspect(TComponent* component);
    TComponent* Inspected() const { return component_; }
    // Reads every value again (after the designer moved something).
    void Refresh();
    void SetReadOnly(bool readOnly);
    bool ReadOnly() const { return readOnly_; }
    // The row of a property path, -1 when it is not listed.
    int RowOf(const QString& path) const;
    // Sets the value text of a row as the user would; answers whether it
    // took (the row then shows that text).
    bool EditValue(const QString& path, const QString& text);
    // The value text a row shows; empty when the path is not listed.
    QString ValueText(const QString& path) const;
    // The listed paths, in the order shown.
    QStringList Paths() const;

signals:
    void PropertyChanged(TComponent* component, const QString& path);
    void EditFailed(const QString& path, const QString& reason);

private:
    void fill();
    void cellEdited(QTableWidgetItem* item);
    QString displayText(const QString& path) const;

    struct Typed {
        QString Text; // as the user typed it
        QString Stored; // the property's own text right after
    };
    QHash<QString, Typed> typed_;
    QPointer<TComponent> component_;
    bool readOnly_ = false;
    bool filling_ = false;
};
