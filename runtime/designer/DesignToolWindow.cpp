#include "runtime/designer/DesignToolWindow.h"

#include "runtime/designer/DesignSurface.h"
#include "runtime/designer/DesignerTexts.h"

#include <QApplication>
#include <QDrag>
#include <QHeaderView>
#include <QLabel>
#include <QMimeData>
#include <QMouseEvent>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

QMimeData* dropData(const QString& source, int row)
{
    auto* mime = new QMimeData;
    mime->setData(QString::fromLatin1(DesignDropMimeType), (source + u'\n' + QString::number(row)).toUtf8());
    return mime;
}

// A list whose rows drag onto the design surface.
class DragList : public QTreeWidget {
public:
    DragList(const QString& name, const QStringList& headers, QWidget* parent)
        : QTreeWidget(parent)
    {
        setObjectName(name);
        setHeaderLabels(headers);
        setRootIsDecorated(false);
        setDragEnabled(true);
        setSelectionMode(QAbstractItemView::SingleSelection);
    }

protected:
    void startDrag(Qt::DropActions) override
    {
        QTreeWidgetItem* current = currentItem();
        if (!current)
            return;
        auto* drag = new QDrag(this);
        drag->setMimeData(dropData(objectName(), indexOfTopLevelItem(current)));
        drag->exec(Qt::CopyAction);
    }
};

// The label tool: a button that drags.
class DragButton : public QToolButton {
public:
    using QToolButton::QToolButton;

protected:
    void mousePressEvent(QMouseEvent* event) override
    {
        pressAt_ = event->position().toPoint();
        QToolButton::mousePressEvent(event);
    }
    void mouseMoveEvent(QMouseEvent* event) override
    {
        if ((event->buttons() & Qt::LeftButton)
            && (event->position().toPoint() - pressAt_).manhattanLength()
                >= QApplication::startDragDistance()) {
            setDown(false);
            auto* drag = new QDrag(this);
            drag->setMimeData(dropData(objectName(), -1));
            drag->exec(Qt::CopyAction);
            return;
        }
        QToolButton::mouseMoveEvent(event);
    }

private:
    QPoint pressAt_;
};

} // namespace

TDesignToolWindow::TDesignToolWindow(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("DesignToolWindow"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    label_ = new DragButton(this);
    label_->setObjectName(QString::fromLatin1(LabelTool));
    label_->setText(DesignerText("sLabelTool", "A 标签"));
    label_->setToolTip(DesignerText("sLabelToolHint", "拖到区段上新建标签"));
    layout->addWidget(label_);
    auto* planner = new QToolButton(this);
    planner->setObjectName(QStringLiteral("tbLinkPlanner"));
    planner->setText(DesignerText("sLinkPlanner", "关联表..."));
    connect(planner, &QToolButton::clicked, this, &TDesignToolWindow::LinkPlannerRequested);
    layout->addWidget(planner);
    layout->addWidget(new QLabel(DesignerText("sReportFields", "报表栏位"), this));
    fields_ = new DragList(QString::fromLatin1(FieldList),
        {DesignerText("sFieldColumn", "栏位"), DesignerText("sDataColumn", "资料栏"),
            DesignerText("sControlColumn", "元件")},
        this);
    layout->addWidget(fields_, 3);
    layout->addWidget(new QLabel(DesignerText("sExtendedFields", "扩展栏位"), this));
    extending_ = new DragList(QString::fromLatin1(ExtendedList),
        {DesignerText("sFieldColumn", "栏位"), DesignerText("sExtNameColumn", "名称"),
            DesignerText("sExtNoteColumn", "说明")},
        this);
    layout->addWidget(extending_, 2);
}

QTreeWidget* TDesignToolWindow::listNamed(const QString& list) const
{
    if (list == QLatin1String(FieldList))
        return fields_;
    if (list == QLatin1String(ExtendedList))
        return extending_;
    return nullptr;
}

void TDesignToolWindow::SetRows(const QString& list, const QList<QStringList>& rows)
{
    QTreeWidget* view = listNamed(list);
    if (!view)
        return;
    view->clear();
    for (const QStringList& row : rows) {
        auto* item = new QTreeWidgetItem(view, row);
        item->setData(0, Qt::UserRole, row);
    }
}

QStringList TDesignToolWindow::Row(const QString& list, int row) const
{
    QTreeWidget* view = listNamed(list);
    if (!view || row < 0 || row >= view->topLevelItemCount())
        return {};
    return view->topLevelItem(row)->data(0, Qt::UserRole).toStringList();
}

int TDesignToolWindow::RowCount(const QString& list) const
{
    QTreeWidget* view = listNamed(list);
    return view ? view->topLevelItemCount() : 0;
}
