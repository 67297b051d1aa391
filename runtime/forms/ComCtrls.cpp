#include "runtime/forms/ComCtrls.h"

#include "runtime/forms/ExtraCtrls.h"

#include "runtime/forms/ImgList.h"
#include "runtime/forms/Menus.h"
#include "runtime/forms/TabStop.h"
#include "runtime/system/DateTime.h"

#include <QCalendarWidget>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QProgressBar>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeWidget>
#include <algorithm>
#include <cmath>
#include <mutex>

void RegisterCommonControlEvents()
{
    static std::once_flag once;
    std::call_once(once, [] {
        RegisterEventFamily<TLVColumnClickEvent>(QStringLiteral("TLVColumnClickEvent"));
        RegisterEventFamily<TLVSelectItemEvent>(QStringLiteral("TLVSelectItemEvent"));
        RegisterEventFamily<TLVChangeEvent>(QStringLiteral("TLVChangeEvent"));
        RegisterEventFamily<TLVChangingEvent>(QStringLiteral("TLVChangingEvent"));
        RegisterEventFamily<TTVChangedEvent>(QStringLiteral("TTVChangedEvent"));
        RegisterEventFamily<TSelectCellEvent>(QStringLiteral("TSelectCellEvent"));
    });
}

namespace {

Qt::Alignment alignmentOf(TAlignment alignment)
{
    return alignment == taRightJustify ? Qt::AlignRight
        : alignment == taCenter        ? Qt::AlignHCenter
                                       : Qt::AlignLeft;
}

QIcon imageOf(TComponent* images, int index)
{
    auto* list = qobject_cast<TImageList*>(images);
    if (!list || index < 0 || index >= list->Count())
        return QIcon();
    return QIcon(list->GetBitmap(index));
}

void stableSort(TCollection* collection, const std::function<bool(TCollectionItem*, TCollectionItem*)>& less)
{
    QList<TCollectionItem*> order = collection->ItemList();
    std::stable_sort(order.begin(), order.end(), less);
    collection->BeginUpdate();
    for (int i = 0; i < order.size(); ++i)
        collection->Move(collection->IndexOf(order.at(i)), i);
    collection->EndUpdate();
}

} // namespace

// TListItem ----------------------------------------------------------------

TListItem::TListItem(TCollection* collection)
    : TCollectionItem(collection)
    , subItems_(new TStrings(this))
{
    connect(subItems_, &TStrings::Changed, this, [this] { changed(); });
}

TListView* TListItem::view() const
{
    return Collection() ? qobject_cast<TListView*>(Collection()->parent()) : nullptr;
}

template<typename T> bool TListItem::change(T& field, const T& value, TItemChange kind)
{
    if (field == value)
        return false;
    TListView* owner = view();
    if (owner && !owner->itemChanging(this, kind))
        return false;
    field = value;
    changed();
    if (owner)
        owner->itemChanged(this, kind);
    return true;
}

void TListItem::SetCaption(const QString& value)
{
    change(caption_, value, ctText);
}

void TListItem::SetChecked(bool value)
{
    change(checked_, value, ctState);
}

void TListItem::SetImageIndex(int value)
{
    change(imageIndex_, value, ctImage);
}

void TListItem::SetSelected(bool value)
{
    // As the common control tells it: the change, then the selection.
    if (change(selected_, value, ctState)) {
        if (TListView* owner = view())
            owner->itemSelected(this, value);
    }
}

void TListItem::Assign(const TPersistent* source)
{
    TCollectionItem::Assign(source);
    if (auto* other = qobject_cast<const TListItem*>(source))
        data_ = other->data_;
}

// TListView ----------------------------------------------------------------

TListView::TListView(TComponent* owner)
    : TWinControl(owner)
    , columns_(new TListColumns(this))
    , items_(new TListItems(this))
{
    RegisterCommonControlEvents();
    SetBoundsSilently(QRect(0, 0, 250, 150));
    SetColor(clWindow);
    connect(columns_, &TCollection::Changed, this, [this] { Changed(); });
    connect(items_, &TCollection::Changed, this, [this] {
        if ((sortType_ == stText || sortType_ == stBoth) && !sorting_ && !IsLoading())
            AlphaSort();
        Changed();
    });
}

void TListView::SetLargeImages(TComponent* images)
{
    if (images && !qobject_cast<TImageList*>(images))
        throw EPropertyError(QStringLiteral("%1 is not an image list").arg(images->Name()));
    largeImages_ = images;
    Changed();
}

void TListView::SetSmallImages(TComponent* images)
{
    if (images && !qobject_cast<TImageList*>(images))
        throw EPropertyError(QStringLiteral("%1 is not an image list").arg(images->Name()));
    smallImages_ = images;
    Changed();
}

void TListView::SetMultiSelect(bool value)
{
    multiSelect_ = value;
    if (!value) {
        bool first = true;
        for (int i = 0; i < items_->Count(); ++i) {
            if (items_->Items(i)->Selected() && !std::exchange(first, false))
                items_->Items(i)->SetSelected(false);
        }
    }
    Changed();
}

void TListView::SetSortType(TSortType value)
{
    sortType_ = value;
    if ((value == stText || value == stBoth) && !IsLoading())
        AlphaSort();
}

void TListView::SetViewStyle(TViewStyle value)
{
    if (viewStyle_ == value)
        return;
    const bool wasReport = viewStyle_ == vsReport;
    viewStyle_ = value;
    if (wasReport != (value == vsReport))
        RecreateWidget();
    else
        Changed();
}

TListItem* TListView::Selected() const
{
    for (int i = 0; i < items_->Count(); ++i) {
        if (items_->Items(i)->Selected())
            return items_->Items(i);
    }
    return nullptr;
}

TListItem* TListView::FindData(const void* data) const
{
    for (int i = 0; i < items_->Count(); ++i) {
        if (items_->Items(i)->Data() == data)
            return items_->Items(i);
    }
    return nullptr;
}

int TListView::SelCount() const
{
    int count = 0;
    for (int i = 0; i < items_->Count(); ++i)
        count += items_->Items(i)->Selected() ? 1 : 0;
    return count;
}

void TListView::AlphaSort()
{
    CustomSort(
        [](TListItem* a, TListItem* b) { return a->Caption().compare(b->Caption(), Qt::CaseInsensitive); });
}

void TListView::CustomSort(const std::function<int(TListItem*, TListItem*)>& compare)
{
    if (sorting_)
        return;
    sorting_ = true;
    stableSort(items_, [&compare](TCollectionItem* a, TCollectionItem* b) {
        return compare(static_cast<TListItem*>(a), static_cast<TListItem*>(b)) < 0;
    });
    sorting_ = false;
    Changed();
}

void TListView::ColumnClick(int index)
{
    if (index >= 0 && index < columns_->Count())
        onColumnClick_(this, columns_->Items(index));
}

void TListView::Loaded()
{
    TWinControl::Loaded();
    if (sortType_ == stText || sortType_ == stBoth)
        AlphaSort();
}

void TListView::itemSelected(TListItem* item, bool selected)
{
    if (selected && !multiSelect_) {
        for (int i = 0; i < items_->Count(); ++i) {
            if (items_->Items(i) != item)
                items_->Items(i)->SetSelected(false);
        }
    }
    if (!IsLoading())
        onSelectItem_(this, item, selected);
}

bool TListView::itemChanging(TListItem* item, TItemChange change)
{
    bool allow = true;
    if (!IsLoading())
        onChanging_(this, item, change, allow);
    return allow;
}

void TListView::itemChanged(TListItem* item, TItemChange change)
{
    if (!IsLoading())
        onChange_(this, item, change);
}

QWidget* TListView::CreateWidget(QWidget* parent)
{
    if (viewStyle_ == vsReport) {
        auto* tree = new QTreeWidget(parent);
        tree->setRootIsDecorated(false);
        tree->setUniformRowHeights(true);
        connect(
            tree->header(), &QHeaderView::sectionClicked, this, [this](int index) { ColumnClick(index); });
        connect(tree, &QTreeWidget::itemSelectionChanged, this, [this, tree] {
            if (Updating())
                return;
            for (int i = 0; i < tree->topLevelItemCount() && i < items_->Count(); ++i)
                items_->Items(i)->SetSelected(tree->topLevelItem(i)->isSelected());
        });
        connect(tree, &QTreeWidget::itemDoubleClicked, this, [this] { OnDblClick()(this); });
        connect(tree, &QTreeWidget::itemClicked, this, [this] { Click(); });
        return tree;
    }
    auto* list = new QListWidget(parent);
    connect(list, &QListWidget::itemSelectionChanged, this, [this, list] {
        if (Updating())
            return;
        for (int i = 0; i < list->count() && i < items_->Count(); ++i)
            items_->Items(i)->SetSelected(list->item(i)->isSelected());
    });
    connect(list, &QListWidget::itemDoubleClicked, this, [this] { OnDblClick()(this); });
    return list;
}

void TListView::UpdateWidget()
{
    TWinControl::UpdateWidget();
    if (viewStyle_ == vsReport)
        updateReport(Widget());
    else
        updateList(Widget());
}

void TListView::updateReport(QWidget* w)
{
    auto* tree = static_cast<QTreeWidget*>(w);
    const QSignalBlocker block(tree);
    const int columns = std::max(1, columns_->Count());
    tree->setColumnCount(columns);
    QStringList captions;
    for (int c = 0; c < columns_->Count(); ++c)
        captions << columns_->Items(c)->Caption();
    tree->setHeaderLabels(captions);
    tree->setHeaderHidden(!showColumnHeaders_ || columns_->Count() == 0);
    for (int c = 0; c < columns_->Count(); ++c) {
        tree->setColumnWidth(c, columns_->Items(c)->Width() >= 0 ? columns_->Items(c)->Width() : 80);
        tree->headerItem()->setTextAlignment(
            c, alignmentOf(columns_->Items(c)->Alignment()) | Qt::AlignVCenter);
    }
    tree->setSelectionMode(
        multiSelect_ ? QAbstractItemView::ExtendedSelection : QAbstractItemView::SingleSelection);
    tree->setSelectionBehavior(QAbstractItemView::SelectRows);
    tree->clear();
    for (int i = 0; i < items_->Count(); ++i) {
        TListItem* item = items_->Items(i);
        auto* row = new QTreeWidgetItem(tree);
        row->setText(0, item->Caption());
        for (int s = 0; s < item->SubItems()->Count() && s + 1 < columns; ++s)
            row->setText(s + 1, item->SubItems()->Strings(s));
        for (int c = 0; c < columns_->Count(); ++c)
            row->setTextAlignment(c, alignmentOf(columns_->Items(c)->Alignment()) | Qt::AlignVCenter);
        row->setIcon(0, imageOf(smallImages_, item->ImageIndex()));
        if (checkboxes_)
            row->setCheckState(0, item->Checked() ? Qt::Checked : Qt::Unchecked);
        row->setSelected(item->Selected());
    }
}

void TListView::updateList(QWidget* w)
{
    auto* list = static_cast<QListWidget*>(w);
    const QSignalBlocker block(list);
    list->setViewMode(viewStyle_ == vsIcon ? QListView::IconMode : QListView::ListMode);
    list->setFlow(viewStyle_ == vsList ? QListView::TopToBottom : QListView::LeftToRight);
    list->setWrapping(true);
    list->setSelectionMode(
        multiSelect_ ? QAbstractItemView::ExtendedSelection : QAbstractItemView::SingleSelection);
    list->clear();
    TComponent* images = viewStyle_ == vsIcon ? largeImages_.data() : smallImages_.data();
    for (int i = 0; i < items_->Count(); ++i) {
        TListItem* item = items_->Items(i);
        auto* entry = new QListWidgetItem(imageOf(images, item->ImageIndex()), item->Caption(), list);
        entry->setSelected(item->Selected());
    }
}

// TTreeNode / TTreeView ------------------------------------------------------

void TTreeNode::SetText(const QString& value)
{
    if (text_ == value)
        return;
    text_ = value;
    changed();
}

void TTreeNode::SetLevel(int value)
{
    value = std::max(0, value);
    if (level_ == value)
        return;
    level_ = value;
    changed();
}

TTreeNode* TTreeNode::ParentNode() const
{
    TCollection* nodes = Collection();
    if (!nodes || level_ == 0)
        return nullptr;
    for (int i = Index() - 1; i >= 0; --i) {
        auto* node = static_cast<TTreeNode*>(nodes->Items(i));
        if (node->Level() < level_)
            return node;
    }
    return nullptr;
}

TTreeView::TTreeView(TComponent* owner)
    : TWinControl(owner)
    , items_(new TTreeNodes(this))
{
    RegisterCommonControlEvents();
    SetBoundsSilently(QRect(0, 0, 121, 97));
    SetColor(clWindow);
    connect(items_, &TCollection::Changed, this, [this] { Changed(); });
}

TTreeNode* TTreeView::AddChild(TTreeNode* parent, const QString& text)
{
    int index = items_->Count();
    int level = 0;
    if (parent) {
        level = parent->Level() + 1;
        index = parent->Index() + 1;
        while (index < items_->Count() && items_->Items(index)->Level() >= level)
            ++index; // after the parent's existing descendants
    }
    items_->BeginUpdate();
    TTreeNode* node = items_->Insert(index);
    node->SetText(text);
    node->SetLevel(level);
    items_->EndUpdate();
    return node;
}

void TTreeView::SetSelected(TTreeNode* node)
{
    if (selected_ == node)
        return;
    selected_ = node;
    Changed();
    if (!IsLoading())
        onChange_(this, node);
}

QWidget* TTreeView::CreateWidget(QWidget* parent)
{
    auto* tree = new QTreeWidget(parent);
    tree->setHeaderHidden(true);
    connect(tree, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* current) {
        if (Updating() || !current)
            return;
        const int index = current->data(0, Qt::UserRole).toInt();
        if (index >= 0 && index < items_->Count())
            SetSelected(items_->Items(index));
    });
    return tree;
}

void TTreeView::UpdateWidget()
{
    TWinControl::UpdateWidget();
    auto* tree = static_cast<QTreeWidget*>(Widget());
    const QSignalBlocker block(tree);
    tree->clear();
    tree->setRootIsDecorated(showRoot_);
    QList<QTreeWidgetItem*> path; // the last item at each level
    for (int i = 0; i < items_->Count(); ++i) {
        TTreeNode* node = items_->Items(i);
        const int level = std::min<int>(node->Level(), static_cast<int>(path.size()));
        QTreeWidgetItem* item
            = level == 0 ? new QTreeWidgetItem(tree) : new QTreeWidgetItem(path.at(level - 1));
        item->setText(0, node->Text());
        item->setData(0, Qt::UserRole, i);
        path.resize(level);
        path << item;
        if (node == selected_)
            tree->setCurrentItem(item);
    }
    tree->expandAll();
}

// TTabSheet / TPageControl ---------------------------------------------------

TTabSheet::TTabSheet(TComponent* owner)
    : TWinControl(owner)
{
    SetTabStop(false);
}

TPageControl* TTabSheet::PageControl() const
{
    return qobject_cast<TPageControl*>(Parent());
}

int TTabSheet::PageIndex() const
{
    TPageControl* pages = PageControl();
    return pages ? static_cast<int>(pages->ControlList().indexOf(const_cast<TTabSheet*>(this))) : -1;
}

int TTabSheet::TabIndex() const
{
    TPageControl* pages = PageControl();
    if (!pages || !tabVisible_)
        return -1;
    int index = 0;
    for (int i = 0; i < PageIndex(); ++i)
        index += pages->Pages(i)->TabVisible() ? 1 : 0;
    return index;
}

void TTabSheet::SetTabVisible(bool value)
{
    if (tabVisible_ == value)
        return;
    tabVisible_ = value;
    TPageControl* pages = PageControl();
    if (!pages)
        return;
    if (!value && pages->ActivePage() == this && !IsLoading())
        pages->SelectNextPage(true);
    pages->Changed();
}

QWidget* TTabSheet::CreateWidget(QWidget* parent)
{
    auto* page = new QWidget(parent);
    page->setAutoFillBackground(true);
    return page;
}

TPageControl::TPageControl(TComponent* owner)
    : TWinControl(owner)
{
    SetBoundsSilently(QRect(0, 0, 289, 193));
}

int TPageControl::PageCount() const
{
    return ControlCount();
}

TTabSheet* TPageControl::Pages(int index) const
{
    return static_cast<TTabSheet*>(Controls(index));
}

void TPageControl::SetActivePage(TTabSheet* page)
{
    if (page && page->PageControl() != this) {
        if (!IsLoading())
            throw EPropertyError(QStringLiteral("%1 is not a page of %2").arg(page->Name(), Name()));
        pendingPage_ = page;
        return;
    }
    pendingPage_ = nullptr;
    if (activePage_ == page)
        return;
    activePage_ = page;
    Changed();
}

bool TPageControl::SelectPage(TTabSheet* page)
{
    if (page == activePage_)
        return true;
    bool allow = true;
    onChanging_(this, allow);
    if (!allow) {
        Changed(); // the widget goes back to the current page
        return false;
    }
    SetActivePage(page);
    onChange_(this);
    return true;
}

void TPageControl::SelectNextPage(bool forward)
{
    const int count = PageCount();
    if (count == 0)
        return;
    const int start = std::max(0, ActivePageIndex());
    for (int step = 1; step <= count; ++step) {
        const int index = ((start + (forward ? step : -step)) % count + count) % count;
        if (Pages(index)->TabVisible()) {
            SelectPage(Pages(index));
            return;
        }
    }
    SetActivePage(nullptr);
}

QRect TPageControl::ClientRect() const
{
    return QRect(4, 24, std::max(0, Width() - 8), std::max(0, Height() - 28));
}

void TPageControl::SetChildParent(TComponent* child)
{
    if (!qobject_cast<TTabSheet*>(child))
        throw EReadError(QStringLiteral("A page control holds only tab sheets, not %1").arg(child->Name()));
    TWinControl::SetChildParent(child);
}

void TPageControl::InsertControl(TControl* control)
{
    if (!qobject_cast<TTabSheet*>(control))
        throw EComponentError(
            QStringLiteral("A page control holds only tab sheets, not %1").arg(control->Name()));
    TWinControl::InsertControl(control);
    placeSheets();
    if (pendingPage_ == control) {
        pendingPage_ = nullptr;
        activePage_ = control;
    } else if (!activePage_ && !IsLoading()) {
        activePage_ = control;
    }
    Changed();
}

void TPageControl::Loaded()
{
    TWinControl::Loaded();
    pendingPage_ = nullptr; // its sheet never came
    if (!activePage_) {
        for (int i = 0; i < PageCount(); ++i) {
            if (Pages(i)->TabVisible()) {
                activePage_ = Pages(i);
                break;
            }
        }
    }
    Changed();
}

void TPageControl::RemoveControl(TControl* control)
{
    TWinControl::RemoveControl(control);
    if (activePage_ == static_cast<QObject*>(control))
        activePage_ = nullptr;
    if (HasWidget() && control->HasWidget()) {
        auto* tabs = static_cast<QTabWidget*>(Widget());
        const int index = tabs->indexOf(control->Widget());
        if (index >= 0)
            tabs->removeTab(index);
    }
    Changed();
}

void TPageControl::SetBounds(int left, int top, int width, int height)
{
    TWinControl::SetBounds(left, top, width, height);
    placeSheets();
}

void TPageControl::placeSheets()
{
    const QRect client = ClientRect();
    for (TControl* sheet : ControlList())
        sheet->SetBounds(client.left(), client.top(), client.width(), client.height());
}

QWidget* TPageControl::CreateWidget(QWidget* parent)
{
    auto* tabs = new QTabWidget(parent);
    // The tab bar is the page control's stop in the Tab order, chained in
    // its place. The tab widget hands its focus to the bar, and a widget
    // that does counts as a stop of its own wherever the toolkit made it,
    // which here is behind the last control of the window: it neither
    // takes the focus nor hands it on.
    tabs->setFocusProxy(nullptr);
    tabs->setFocusPolicy(Qt::NoFocus);
    tabs->tabBar()->setFocusPolicy(Qt::StrongFocus); // the tab widget's policy went to its bar too
    tabs->setProperty(TabStopWidgetProperty, QVariant::fromValue<QObject*>(tabs->tabBar()));
    connect(tabs, &QTabWidget::currentChanged, this, [this, tabs](int index) {
        if (Updating() || index < 0)
            return;
        auto* sheet = qobject_cast<TTabSheet*>(TControl::ControlOfWidget(tabs->widget(index)));
        if (sheet)
            SelectPage(sheet);
    });
    return tabs;
}

void TPageControl::ChildWidgetCreated(TControl* child)
{
    auto* tabs = static_cast<QTabWidget*>(Widget());
    if (tabs->indexOf(child->Widget()) < 0) {
        // The first tab becomes the current one: no choice of the user's.
        const QSignalBlocker block(tabs);
        auto* sheet = static_cast<TTabSheet*>(child);
        tabs->insertTab(sheet->PageIndex(), child->Widget(), sheet->Caption());
    }
    Changed();
}

void TPageControl::UpdateWidget()
{
    TWinControl::UpdateWidget();
    placeSheets();
    auto* tabs = static_cast<QTabWidget*>(Widget());
    static const QTabWidget::TabPosition positions[]
        = {QTabWidget::North, QTabWidget::South, QTabWidget::West, QTabWidget::East};
    tabs->setTabPosition(positions[tabPosition_]);
    for (int i = 0; i < PageCount(); ++i) {
        TTabSheet* sheet = Pages(i);
        if (!sheet->HasWidget())
            continue;
        const int index = tabs->indexOf(sheet->Widget());
        if (index < 0)
            continue;
        tabs->setTabText(index, sheet->Caption());
        tabs->setTabVisible(index, sheet->TabVisible());
    }
    if (TTabSheet* active = ActivePage(); active && active->HasWidget())
        tabs->setCurrentWidget(active->Widget());
}

// TStatusPanel / TStatusBar --------------------------------------------------

void TStatusPanel::SetText(const QString& value)
{
    if (text_ == value)
        return;
    text_ = value;
    changed();
}

TStatusBar::TStatusBar(TComponent* owner)
    : TWinControl(owner)
    , panels_(new TStatusPanels(this))
{
    SetBoundsSilently(QRect(0, 0, 200, 19));
    SetAlign(alBottom);
    SetTabStop(false);
    connect(panels_, &TCollection::Changed, this, [this] { Changed(); });
}

QWidget* TStatusBar::CreateWidget(QWidget* parent)
{
    auto* bar = new QStatusBar(parent);
    bar->setFocusPolicy(Qt::NoFocus);
    return bar;
}

void TStatusBar::UpdateWidget()
{
    TWinControl::UpdateWidget();
    auto* bar = static_cast<QStatusBar*>(Widget());
    bar->setSizeGripEnabled(sizeGrip_);
    const QList<QLabel*> old = bar->findChildren<QLabel*>(QStringLiteral("statusPanel"));
    for (QLabel* label : old) {
        bar->removeWidget(label);
        delete label;
    }
    if (simplePanel_) {
        auto* label = new QLabel(simpleText_, bar);
        label->setObjectName(QStringLiteral("statusPanel"));
        bar->addWidget(label, 1);
        return;
    }
    for (int i = 0; i < panels_->Count(); ++i) {
        TStatusPanel* panel = panels_->Items(i);
        auto* label = new QLabel(panel->Text(), bar);
        label->setObjectName(QStringLiteral("statusPanel"));
        label->setAlignment(alignmentOf(panel->Alignment()) | Qt::AlignVCenter);
        label->setFrameShape(panel->Bevel() == pbNone ? QFrame::NoFrame : QFrame::Panel);
        label->setFrameShadow(panel->Bevel() == pbRaised ? QFrame::Raised : QFrame::Sunken);
        const bool last = i == panels_->Count() - 1;
        if (!last)
            label->setFixedWidth(std::max(0, panel->Width()));
        bar->addWidget(label, last ? 1 : 0);
    }
}

// TToolBar / TToolButton -----------------------------------------------------

TToolBar::TToolBar(TComponent* owner)
    : TWinControl(owner)
{
    SetBoundsSilently(QRect(0, 0, 150, 29));
    SetAlign(alTop);
    SetTabStop(false);
}

void TToolBar::SetButtonHeight(int value)
{
    buttonHeight_ = value;
    ArrangeButtons();
}

void TToolBar::SetButtonWidth(int value)
{
    buttonWidth_ = value;
    ArrangeButtons();
}

void TToolBar::SetImages(TComponent* images)
{
    if (images && !qobject_cast<TImageList*>(images))
        throw EPropertyError(QStringLiteral("%1 is not an image list").arg(images->Name()));
    images_ = images;
    for (int i = 0; i < ButtonCount(); ++i)
        Buttons(i)->SetImageIndex(Buttons(i)->ImageIndex());
}

int TToolBar::ButtonCount() const
{
    int count = 0;
    for (TControl* c : ControlList())
        count += qobject_cast<TToolButton*>(c) ? 1 : 0;
    return count;
}

TToolButton* TToolBar::Buttons(int index) const
{
    for (TControl* c : ControlList()) {
        if (auto* button = qobject_cast<TToolButton*>(c); button && index-- == 0)
            return button;
    }
    return nullptr;
}

void TToolBar::ArrangeButtons()
{
    if (IsLoading())
        return;
    int left = 0;
    for (TControl* c : ControlList()) {
        if (!c->Visible())
            continue;
        auto* button = qobject_cast<TToolButton*>(c);
        if (!button) {
            // Other controls (a label, a combo box) take their place in the
            // row with their own width, centred on the buttons.
            c->SetBounds(left, 2 + std::max(0, (buttonHeight_ - c->Height()) / 2), c->Width(), c->Height());
            left += c->Width() + 4;
            continue;
        }
        const bool separator = button->Style() == tbsSeparator || button->Style() == tbsDivider;
        const int width = separator ? 8 : button->Style() == tbsDropDown ? buttonWidth_ + 12 : buttonWidth_;
        button->SetBounds(left, 2, width, buttonHeight_);
        left += width;
    }
}

void TToolBar::Loaded()
{
    TWinControl::Loaded();
    ArrangeButtons();
}

QWidget* TToolBar::CreateWidget(QWidget* parent)
{
    auto* bar = new QWidget(parent);
    bar->setFocusPolicy(Qt::NoFocus);
    return bar;
}

void TToolBar::InsertControl(TControl* control)
{
    TWinControl::InsertControl(control);
    ArrangeButtons();
}

TToolButton::TToolButton(TComponent* owner)
    : TGraphicControl(owner)
{
    SetBoundsSilently(QRect(0, 0, 23, 22));
}

void TToolButton::SetDropdownMenu(TComponent* menu)
{
    if (menu && !qobject_cast<TPopupMenu*>(menu))
        throw EPropertyError(QStringLiteral("%1 is not a pop-up menu").arg(menu->Name()));
    dropdownMenu_ = menu;
    Changed();
}

void TToolButton::SetStyle(TToolButtonStyle value)
{
    if (style_ == value)
        return;
    style_ = value;
    if (auto* bar = qobject_cast<TToolBar*>(Parent()))
        bar->ArrangeButtons();
    Changed();
}

void TToolButton::Click()
{
    if (style_ == tbsCheck)
        SetDown(!down_);
    TGraphicControl::Click();
}

QWidget* TToolButton::CreateWidget(QWidget* parent)
{
    auto* button = new QToolButton(parent);
    button->setFocusPolicy(Qt::NoFocus);
    connect(button, &QToolButton::clicked, this, [this] { Click(); });
    return button;
}

void TToolButton::UpdateWidget()
{
    TGraphicControl::UpdateWidget();
    auto* button = static_cast<QToolButton*>(Widget());
    auto* bar = qobject_cast<TToolBar*>(Parent());
    const bool separator = style_ == tbsSeparator || style_ == tbsDivider;
    button->setEnabled(Enabled() && !separator);
    button->setText(separator ? QString() : caption_);
    button->setAutoRaise(!bar || bar->Flat());
    button->setCheckable(style_ == tbsCheck);
    button->setChecked(down_);
    const QIcon icon = imageOf(bar ? bar->Images() : nullptr, imageIndex_);
    button->setIcon(icon);
    const bool captions = !bar || bar->ShowCaptions() || icon.isNull();
    button->setToolButtonStyle(icon.isNull() ? Qt::ToolButtonTextOnly
            : captions                       ? Qt::ToolButtonTextUnderIcon
                                             : Qt::ToolButtonIconOnly);
    auto* popup = qobject_cast<TPopupMenu*>(dropdownMenu_.data());
    if (style_ == tbsDropDown && popup) {
        auto* menu = new QMenu(button);
        popup->Items()->BuildInto(menu);
        delete button->menu();
        button->setMenu(menu);
        button->setPopupMode(QToolButton::MenuButtonPopup);
    }
}

// TMonthCalendar -------------------------------------------------------------

namespace {

// The day numbers of 1 January 1 and 31 December 9999.
constexpr double FirstDay = -693593;
constexpr double LastDay = 2958465;

} // namespace

TMonthCalendar::TMonthCalendar(TComponent* owner)
    : TWinControl(owner)
    , date_(datetime::Today())
{
    SetBoundsSilently(QRect(0, 0, 191, 154));
    SetColor(clWindow);
}

double TMonthCalendar::wholeDay(double value, const char* property)
{
    if (!std::isfinite(value) || value < FirstDay || value >= LastDay + 1)
        throw EPropertyError(QStringLiteral("%1 is not a valid %2").arg(value).arg(QLatin1String(property)));
    return std::floor(value);
}

void TMonthCalendar::SetDate(double value)
{
    value = wholeDay(value, "Date");
    if ((minDate_ != 0 && value < minDate_) || (maxDate_ != 0 && value > maxDate_))
        throw EPropertyError(
            QStringLiteral("Date %1 is outside %2 .. %3")
                .arg(datetime::ToQDate(value).toString(Qt::ISODate),
                    minDate_ != 0 ? datetime::ToQDate(minDate_).toString(Qt::ISODate) : QString(),
                    maxDate_ != 0 ? datetime::ToQDate(maxDate_).toString(Qt::ISODate) : QString()));
    changeDate(value);
}

QDate TMonthCalendar::DateValue() const
{
    return datetime::ToQDate(date_);
}

void TMonthCalendar::SetDateValue(const QDate& date)
{
    if (!date.isValid())
        throw EPropertyError(QStringLiteral("Invalid date"));
    SetDate(datetime::FromQDate(date));
}

void TMonthCalendar::SetMinDate(double value)
{
    if (value != 0)
        value = wholeDay(value, "MinDate");
    if (value != 0 && maxDate_ != 0 && value > maxDate_)
        throw EPropertyError(QStringLiteral("MinDate is after MaxDate"));
    minDate_ = value;
    if (minDate_ != 0 && date_ < minDate_)
        changeDate(minDate_);
    Changed();
}

void TMonthCalendar::SetMaxDate(double value)
{
    if (value != 0)
        value = wholeDay(value, "MaxDate");
    if (value != 0 && minDate_ != 0 && value < minDate_)
        throw EPropertyError(QStringLiteral("MaxDate is before MinDate"));
    maxDate_ = value;
    if (maxDate_ != 0 && date_ > maxDate_)
        changeDate(maxDate_);
    Changed();
}

void TMonthCalendar::changeDate(double value)
{
    if (date_ == value)
        return;
    date_ = value;
    Changed();
    if (!IsLoading())
        onChange_(this);
}

QWidget* TMonthCalendar::CreateWidget(QWidget* parent)
{
    auto* calendar = new QCalendarWidget(parent);
    // Keyboard moves and clicks both select a day.
    connect(calendar, &QCalendarWidget::selectionChanged, this, [this, calendar] {
        if (!Updating())
            SetDateValue(calendar->selectedDate());
    });
    connect(calendar, &QCalendarWidget::clicked, this, [this](const QDate& date) {
        SetDateValue(date);
        Click();
    });
    connect(calendar, &QCalendarWidget::activated, this, [this] { OnDblClick()(this); });
    return calendar;
}

void TMonthCalendar::UpdateWidget()
{
    TWinControl::UpdateWidget();
    auto* calendar = static_cast<QCalendarWidget*>(Widget());
    const QSignalBlocker block(calendar);
    calendar->setDateRange(datetime::ToQDate(minDate_ != 0 ? minDate_ : FirstDay),
        datetime::ToQDate(maxDate_ != 0 ? maxDate_ : LastDay));
    calendar->setSelectedDate(DateValue());
    calendar->setVerticalHeaderFormat(
        weekNumbers_ ? QCalendarWidget::ISOWeekNumbers : QCalendarWidget::NoVerticalHeader);
}

// TProgressBar ---------------------------------------------------------------

TProgressBar::TProgressBar(TComponent* owner)
    : TWinControl(owner)
{
    SetBoundsSilently(QRect(0, 0, 150, 16));
}

int TProgressBar::Position() const
{
    return max_ >= min_ ? std::clamp(position_, min_, max_) : position_;
}

QWidget* TProgressBar::CreateWidget(QWidget* parent)
{
    return new QProgressBar(parent);
}

void TProgressBar::UpdateWidget()
{
    TWinControl::UpdateWidget();
    auto* bar = static_cast<QProgressBar*>(Widget());
    bar->setRange(min_, std::max(min_, max_));
    bar->setValue(Position());
    bar->setTextVisible(false);
}
