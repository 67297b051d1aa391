#pragma once
// TObjectInspector: the published properties of one component as a
// two-column table (name, value as text), edited in place. Events are not
// listed; object-valued properties (Font, Frame, Items ...) list their own
// properties one level down as "Font.Size". A value typed in is set through
// the property system by path; one it refuses is put back and reported with
// EditFailed. With ReadOnly the values cannot be edited.
//
// The inspector does not own the component and lets go of it when it is
// freed.

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
    // Sets the value text of a row as the user would; answers whether it took.
    bool EditValue(const QString& path, const QString& text);

signals:
    void PropertyChanged(TComponent* component, const QString& path);
    void EditFailed(const QString& path, const QString& reason);

private:
    void fill();
    void cellEdited(QTableWidgetItem* item);

    QPointer<TComponent> component_;
    bool readOnly_ = false;
    bool filling_ = false;
};
