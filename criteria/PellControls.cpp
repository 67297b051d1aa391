#include "criteria/PellControls.h"

#include "criteria/SelectPnl.h"

#include <QEvent>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QTreeWidget>
#include <algorithm>

TPellMaskEdit::TPellMaskEdit(TComponent* owner)
    : TMaskEdit(owner)
{
    SetHeight(24);
}

void TPellMaskEdit::Change()
{
    if (!muted_)
        TMaskEdit::Change();
}

TPellListView::TPellListView(TComponent* owner)
    : TListView(owner)
{
}

bool TPellListView::AddRow(const QStringList& values)
{
    if (values.isEmpty())
        return false;
    try {
        // Columns first, so that the row's sub-items all have a place.
        while (Columns()->Count() < values.size()) {
            TListColumn* column = Columns()->Add();
            column->SetCaption(QStringLiteral("Data%1").arg(Columns()->Count()));
        }
        Items()->BeginUpdate();
        TListItem* item = Items()->Add();
        item->SetCaption(values.first());
        const int room = std::max(0, static_cast<int>(Columns()->Count()) - 1);
        for (int i = 1; i < values.size() && i - 1 < room; ++i)
            item->SubItems()->Add(values.at(i));
        int widest = 0;
        for (int r = 0; r < Items()->Count(); ++r)
            widest = std::max(widest, Items()->Items(r)->SubItems()->Count());
        for (int r = 0; r < Items()->Count(); ++r) {
            TStrings* subItems = Items()->Items(r)->SubItems();
            while (subItems->Count() < widest)
                subItems->Add(QString());
        }
        Items()->EndUpdate();
        if (auto* panel = qobject_cast<TSelectPanel*>(Owner()))
            panel->RemoveDuplicates();
        if (columnsAutoSize_)
            AutoSizeColumns();
        return true;
    } catch (...) {
        return false;
    }
}

void TPellListView::ClearRows()
{
    Items()->Clear();
}

void TPellListView::AutoSizeColumns()
{
    const int charWidth = QFontMetrics(Font()->ToQFont()).horizontalAdvance(u'W');
    Columns()->BeginUpdate();
    for (int c = 0; c < Columns()->Count(); ++c) {
        qsizetype longest = Columns()->Items(c)->Caption().size();
        for (int r = 0; r < Items()->Count(); ++r) {
            TListItem* item = Items()->Items(r);
            const QString cell = c == 0             ? item->Caption()
                : c - 1 < item->SubItems()->Count() ? item->SubItems()->Strings(c - 1)
                                                    : QString();
            longest = std::max(longest, cell.size());
        }
        const int extra = c == 0 && Checkboxes() ? 24 : 0;
        Columns()->Items(c)->SetWidth(static_cast<int>(longest) * charWidth + extra);
    }
    Columns()->EndUpdate();
}

QWidget* TPellListView::CreateWidget(QWidget* parent)
{
    QWidget* w = TListView::CreateWidget(parent);
    if (auto* view = qobject_cast<QAbstractItemView*>(w))
        view->viewport()->installEventFilter(this);
    return w;
}

bool TPellListView::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonPress && HasWidget() && !Widget()->hasFocus()) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton) {
            SetFocus();
            return true;
        }
    }
    return TListView::eventFilter(watched, event);
}
