#pragma once
// TDesignToolWindow: the designer's tool window. It lists the report's
// fields ("lvFields": caption, data field, control name; hidden ones marked),
// the extended fields of the query builder ("lvExtending": caption, field
// name, hint, relation-table index, field index) and holds the label tool
// ("tbLabel") and the button of the relation wizard ("tbLinkPlanner"). Dragging a row or the tool onto the
// design surface offers a TDesignDrop with the list's name and the row (-1 for the tool).
//
// The rows are texts the owner fills; the window keeps no pointers to
// components.

#include <QList>
#include <QStringList>
#include <QWidget>

class QTreeWidget;
class QToolButton;

class TDesignToolWindow : public QWidget {
    Q_OBJECT
public:
    explicit TDesignToolWindow(QWidget* parent = nullptr);

    static constexpr const char* FieldList = "lvFields";
    static constexpr const char* ExtendedList = "lvExtending";
    static constexpr const char* LabelTool = "tbLabel";

    // Replaces the rows of a list (FieldList or ExtendedList).
    void SetRows(const QString& list, const QList<QStringList>& rows);
    // The texts of a row; empty when there is none.
    QStringList Row(const QString& list, int row) const;
    int RowCount(const QString& list) const;

signals:
    // The relation wizard's button ("tbLinkPlanner") was pressed.
    void LinkPlannerRequested();

private:
    QTreeWidget* listNamed(const QString& list) const;
    QTreeWidget* fields_;
    QTreeWidget* extending_;
    QToolButton* label_;
};
