#include "runtime/forms/Menus.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>

namespace {

QKeySequence keySequence(int shortCut)
{
    const QString text = ShortCutToText(shortCut);
    return text.isEmpty() ? QKeySequence() : QKeySequence(text);
}

} // namespace

TMenuItem::TMenuItem(TComponent* owner)
    : TComponent(owner)
{
}

TMenuItem::~TMenuItem()
{
    while (!items_.isEmpty())
        delete items_.last();
    if (parentItem_)
        parentItem_->Remove(this);
}

void TMenuItem::SetChecked(bool value)
{
    checked_ = value;
    if (!value || !radioItem_ || !parentItem_)
        return;
    for (TMenuItem* sibling : std::as_const(parentItem_->items_)) {
        if (sibling != this && sibling->radioItem_ && sibling->groupIndex_ == groupIndex_)
            sibling->checked_ = false;
    }
}

void TMenuItem::Add(TMenuItem* item)
{
    Insert(Count(), item);
}

void TMenuItem::Insert(int index, TMenuItem* item)
{
    if (!item || item == this)
        throw EComponentError(QStringLiteral("Cannot insert this menu item"));
    for (TMenuItem* p = this; p; p = p->parentItem_) {
        if (p == item)
            throw EComponentError(QStringLiteral("A menu item cannot contain its parent"));
    }
    if (item->parentItem_)
        item->parentItem_->Remove(item);
    items_.insert(std::clamp(index, 0, Count()), item);
    item->parentItem_ = this;
}

void TMenuItem::Remove(TMenuItem* item)
{
    if (items_.removeOne(item))
        item->parentItem_ = nullptr;
}

TMenuItem* TMenuItem::FindShortCut(int shortCut)
{
    if (shortCut == 0)
        return nullptr;
    for (TMenuItem* item : std::as_const(items_)) {
        // A disabled or hidden item takes its sub-items with it.
        if (!item->enabled_ || !item->visible_)
            continue;
        if (item->shortCut_ == shortCut)
            return item;
        if (TMenuItem* found = item->FindShortCut(shortCut))
            return found;
    }
    return nullptr;
}

void TMenuItem::Click()
{
    if (enabled_)
        onClick_(this);
}

TComponent* TMenuItem::GetParentComponent() const
{
    if (parentItem_ && parentItem_->menu_)
        return parentItem_->menu_;
    return parentItem_;
}

void TMenuItem::SetChildParent(TComponent* child)
{
    if (auto* item = qobject_cast<TMenuItem*>(child))
        Add(item);
    else
        throw EReadError(
            QStringLiteral("A menu item can only contain menu items, not %1").arg(child->Name()));
}

QList<TComponent*> TMenuItem::GetChildren() const
{
    QList<TComponent*> children;
    for (TMenuItem* item : items_)
        children << item;
    return children;
}

void TMenuItem::BuildInto(QMenu* menu)
{
    for (TMenuItem* item : std::as_const(items_)) {
        if (!item->visible_)
            continue;
        if (item->IsLine()) {
            menu->addSeparator();
            continue;
        }
        QAction* action = nullptr;
        if (!item->items_.isEmpty()) {
            QMenu* sub = menu->addMenu(item->caption_);
            item->BuildInto(sub);
            action = sub->menuAction();
        } else {
            action = menu->addAction(item->caption_);
            QPointer<TMenuItem> guard(item);
            QObject::connect(action, &QAction::triggered, item, [guard] {
                if (guard)
                    guard->Click();
            });
        }
        action->setEnabled(item->enabled_);
        action->setCheckable(item->checked_ || item->radioItem_);
        action->setChecked(item->checked_);
        // Shown beside the caption only: the form runs short-cuts itself, in
        // its key order and with the item's state at the time of the key.
        action->setShortcut(keySequence(item->shortCut_));
        action->setShortcutContext(Qt::WidgetShortcut);
        action->setStatusTip(item->hint_);
    }
}

TMenu::TMenu(TComponent* owner)
    : TComponent(owner)
    , root_(new TMenuItem(nullptr))
{
    root_->menu_ = this;
}

TMenu::~TMenu()
{
    // Items owned by the form are freed by it; only detach them here.
    while (root_->Count() > 0)
        root_->Remove(root_->Items(root_->Count() - 1));
    delete root_;
}

bool TMenu::IsShortCut(int shortCut)
{
    TMenuItem* item = root_->FindShortCut(shortCut);
    if (item)
        item->Click();
    return item != nullptr;
}

void TMenu::SetChildParent(TComponent* child)
{
    root_->SetChildParent(child);
}

QMenuBar* TMainMenu::BuildMenuBar(QWidget* parent)
{
    auto* bar = new QMenuBar(parent);
    for (int i = 0; i < Items()->Count(); ++i) {
        TMenuItem* item = Items()->Items(i);
        if (!item->Visible())
            continue;
        QMenu* menu = bar->addMenu(item->Caption());
        menu->setEnabled(item->Enabled());
        item->BuildInto(menu);
    }
    return bar;
}

void TPopupMenu::Popup(int x, int y)
{
    onPopup_(this);
    auto* menu = new QMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    Items()->BuildInto(menu);
    menu->popup(QPoint(x, y));
}
