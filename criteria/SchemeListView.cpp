#include "criteria/SchemeListView.h"

#include <QListWidget>
#include <QTreeWidget>
#include <mutex>

TSchemeListView::TSchemeListView(TComponent* owner)
    : TListView(owner)
{
    static std::once_flag once;
    std::call_once(once, [] { RegisterEventFamily<TLVEditedEvent>(QStringLiteral("TLVEditedEvent")); });
}

void TSchemeListView::Edited(TListItem* item, QString text)
{
    if (!item)
        return;
    onEdited_(this, item, text);
    item->SetCaption(text);
    Changed(); // the widget shows the caption as it now stands, also when refused
}

QWidget* TSchemeListView::CreateWidget(QWidget* parent)
{
    QWidget* w = TListView::CreateWidget(parent);
    const auto triggers = QAbstractItemView::SelectedClicked | QAbstractItemView::EditKeyPressed;
    if (auto* list = qobject_cast<QListWidget*>(w)) {
        list->setEditTriggers(triggers);
        connect(list, &QListWidget::itemChanged, this, [this, list](QListWidgetItem* entry) {
            if (!Updating())
                Edited(Items()->Items(list->row(entry)), entry->text());
        });
    } else if (auto* tree = qobject_cast<QTreeWidget*>(w)) {
        tree->setEditTriggers(triggers);
        connect(tree, &QTreeWidget::itemChanged, this, [this, tree](QTreeWidgetItem* entry, int column) {
            if (!Updating() && column == 0)
                Edited(Items()->Items(tree->indexOfTopLevelItem(entry)), entry->text(0));
        });
    }
    return w;
}

void TSchemeListView::UpdateWidget()
{
    TListView::UpdateWidget();
    // The rows were made anew: each caption may be edited again.
    if (auto* list = qobject_cast<QListWidget*>(Widget())) {
        const QSignalBlocker quiet(list);
        for (int i = 0; i < list->count(); ++i)
            list->item(i)->setFlags(list->item(i)->flags() | Qt::ItemIsEditable);
    } else if (auto* tree = qobject_cast<QTreeWidget*>(Widget())) {
        const QSignalBlocker quiet(tree);
        for (int i = 0; i < tree->topLevelItemCount(); ++i)
            tree->topLevelItem(i)->setFlags(tree->topLevelItem(i)->flags() | Qt::ItemIsEditable);
    }
}
