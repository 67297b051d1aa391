#include "runtime/forms/Controls.h"

#include "runtime/forms/Forms.h"
#include "runtime/forms/Menus.h"
#include "runtime/forms/TabStop.h"

#include <QDrag>
#include <QEvent>
#include <QMimeData>
#include <QResizeEvent>
#include <algorithm>
#include <cmath>

namespace {
const char* const controlProperty = "zorvControl";
int hintHidePause = 0;
// The drag under way, and where it ended.
QPointer<TControl> dragSource;
QPointer<TControl> dropTarget;
QPoint dropPoint;
} // namespace

const char* const ControlDragMimeType = "application/x-zorv-control";

// TControl -------------------------------------------------------------------

int HintHidePause()
{
    return hintHidePause;
}

void SetHintHidePause(int milliseconds)
{
    hintHidePause = std::max(0, milliseconds);
}

TControl::TControl(TComponent* owner)
    : TComponent(owner)
    , font_(new TFont(this))
{
    connect(font_, &TFont::Changed, this, &TControl::fontChanged);
}

TControl::~TControl()
{
    SetParent(nullptr);
    delete widget_.data();
}

void TControl::SetBounds(int left, int top, int width, int height)
{
    const QRect bounds(std::clamp(left, -MaxExtent, MaxExtent), std::clamp(top, -MaxExtent, MaxExtent),
        std::clamp(width, 0, MaxExtent), std::clamp(height, 0, MaxExtent));
    if (bounds == bounds_)
        return;
    bounds_ = bounds;
    Changed();
    if (!anchoring_)
        UpdateAnchorRules();
    emit BoundsChanged();
    if (parent_ && align_ != alNone)
        parent_->Realign();
}

void TControl::SetAnchors(TAnchors value)
{
    anchors_ = value;
    UpdateAnchorRules();
}

void TControl::UpdateAnchorRules()
{
    if (!parent_ || IsLoading()) {
        anchorRules_.valid = false;
        return;
    }
    anchorRules_.bounds = bounds_;
    anchorRules_.parentSize = QSize(parent_->ClientWidth(), parent_->ClientHeight());
    anchorRules_.valid = true;
}

namespace {

// One axis: the original start and extent, the original and the new parent extent.
void anchorAxis(
    bool low, bool high, int start, int extent, int oldParent, int newParent, int& newStart, int& newExtent)
{
    newStart = start;
    newExtent = extent;
    const int delta = newParent - oldParent;
    if (low && high) {
        newExtent = std::max(0, extent + delta);
    } else if (high) {
        newStart = start + delta;
    } else if (!low && oldParent > 0) {
        // The centre stays at the same fraction of the parent.
        const double centre = start + extent / 2;
        newStart = static_cast<int>(std::lround(centre * newParent / oldParent)) - extent / 2;
    }
}

} // namespace

void TControl::applyAnchors(const QSize& parentSize)
{
    if (!anchorRules_.valid || anchors_ == (TAnchors(akLeft) | akTop))
        return;
    const QRect& o = anchorRules_.bounds;
    int left = 0, width = 0, top = 0, height = 0;
    anchorAxis(anchors_ & akLeft, anchors_ & akRight, o.x(), o.width(), anchorRules_.parentSize.width(),
        parentSize.width(), left, width);
    anchorAxis(anchors_ & akTop, anchors_ & akBottom, o.y(), o.height(), anchorRules_.parentSize.height(),
        parentSize.height(), top, height);
    anchoring_ = true;
    SetBounds(left, top, width, height);
    anchoring_ = false;
}

void TControl::SetAlign(TAlign value)
{
    if (align_ == value)
        return;
    align_ = value;
    if (parent_)
        parent_->Realign();
}

void TControl::SetVisible(bool value)
{
    if (visible_ == value)
        return;
    visible_ = value;
    Changed();
    if (parent_ && align_ != alNone)
        parent_->Realign();
}

bool TControl::Showing() const
{
    return visible_ && (!parent_ || parent_->Showing());
}

void TControl::SetPopupMenu(TComponent* menu)
{
    if (menu && !menu->inherits("TPopupMenu"))
        throw EPropertyError(QStringLiteral("%1 is not a pop-up menu").arg(menu->Name()));
    popupMenu_ = menu;
}

void TControl::SetCaption(const QString& value)
{
    if (caption_ == value)
        return;
    caption_ = value;
    Changed();
    TextChanged();
}

void TControl::SetFont(TFont* font)
{
    if (font && font != font_)
        font_->Assign(font);
}

void TControl::SetParentFont(bool value)
{
    if (parentFont_ == value)
        return;
    parentFont_ = value;
    if (value)
        ParentFontChanged();
}

void TControl::fontChanged()
{
    if (assigningParentFont_)
        return;
    parentFont_ = false;
    Changed();
    if (auto* self = qobject_cast<TWinControl*>(this))
        self->ParentFontChanged();
}

void TControl::ParentFontChanged()
{
    if (!parentFont_ || !parent_)
        return;
    assigningParentFont_ = true;
    font_->Assign(parent_->Font());
    assigningParentFont_ = false;
    Changed();
}

void TControl::Click()
{
    onClick_(this);
}

void TControl::SetParent(TWinControl* parent)
{
    if (parent == parent_)
        return;
    if (parent == this)
        throw EComponentError(QStringLiteral("A control cannot be its own parent"));
    for (TWinControl* p = parent; p; p = p->Parent()) {
        if (p == this)
            throw EComponentError(QStringLiteral("A control cannot be the parent of its parent"));
    }
    if (parent_) {
        TWinControl* old = parent_;
        old->RemoveControl(this);
        parent_ = nullptr;
        if (!old->IsDestroying())
            old->Realign();
    }
    if (!parent) {
        if (widget_)
            widget_->setParent(nullptr);
        return;
    }
    parent->InsertControl(this); // may refuse the control: then it stays without a parent
    parent_ = parent;
    UpdateAnchorRules();
    ParentFontChanged();
    if (widget_) {
        widget_->setParent(parent_->HasWidget() ? parent_->ChildHost() : nullptr);
        Changed();
    } else if (parent_->HasWidget()) {
        Widget(); // a control added to a shown form shows at once
    }
    parent_->Realign();
}

TForm* TControl::ParentForm() const
{
    const TControl* top = this;
    while (top->Parent())
        top = top->Parent();
    return qobject_cast<TForm*>(const_cast<TControl*>(top));
}

TComponent* TControl::GetParentComponent() const
{
    return parent_;
}

bool TControl::IsPropertyStored(const char* name) const
{
    if (qstrcmp(name, "Font") == 0)
        return !parentFont_;
    return true;
}

void TControl::Loaded()
{
    TComponent::Loaded();
    UpdateAnchorRules();
}

// Mouse and drag ------------------------------------------------------------

void TControl::SetOnDragOver(const TDragOverEvent& handler)
{
    onDragOver_ = handler;
    Changed(); // takes drops from now on, or no longer
}

void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    onMouseDown_(this, button, shift, x, y);
}

void TControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    onMouseUp_(this, button, shift, x, y);
}

void TControl::MouseMove(TShiftState shift, int x, int y)
{
    onMouseMove_(this, shift, x, y);
}

bool TControl::DragOver(TObject* source, int x, int y, TDragState state)
{
    // A control that says nothing takes nothing; one with a handler takes
    // what the handler does not refuse.
    if (!onDragOver_.Assigned())
        return false;
    bool accept = true;
    onDragOver_(this, source, x, y, state, accept);
    return accept;
}

void TControl::DragDrop(TObject* source, int x, int y)
{
    dropTarget = this;
    dropPoint = QPoint(x, y);
    onDragDrop_(this, source, x, y);
}

TControl* TControl::DragSource()
{
    return dragSource.data();
}

void TControl::BeginDrag()
{
    if (dragSource)
        return; // one drag at a time
    QPointer<TControl> self(this);
    onStartDrag_(this);
    if (!self)
        return;
    dragSource = this;
    dropTarget = nullptr;
    auto* drag = new QDrag(Widget());
    auto* data = new QMimeData;
    data->setData(QString::fromLatin1(ControlDragMimeType), QByteArray());
    drag->setMimeData(data);
    drag->exec(Qt::MoveAction);
    dragSource = nullptr;
    if (self)
        onEndDrag_(this, dropTarget.data(), dropTarget ? dropPoint.x() : 0, dropTarget ? dropPoint.y() : 0);
}

QWidget* TControl::Widget()
{
    if (widget_)
        return widget_;
    QWidget* host = parent_ ? parent_->ChildHost() : nullptr;
    if (widget_) // building the parent built this one too
        return widget_;
    widget_ = CreateWidget(host);
    widget_->setProperty(controlProperty, QVariant::fromValue<QObject*>(this));
    ++updatingWidget_;
    UpdateWidget();
    --updatingWidget_;
    if (auto* self = qobject_cast<TWinControl*>(this)) {
        for (TControl* child : self->ControlList())
            child->Widget();
        // A window (a form) that has all its widgets chains them by TabOrder;
        // left alone, Tab would follow the order the widgets were made in.
        if (!parent_)
            self->UpdateTabChain();
    }
    if (parent_)
        parent_->ChildWidgetCreated(this);
    return widget_;
}

void TControl::RecreateWidget()
{
    if (!widget_)
        return;
    QWidget* old = widget_;
    widget_ = nullptr;
    // Children's widgets move to the new widget before the old one goes.
    auto* self = qobject_cast<TWinControl*>(this);
    QList<QWidget*> children;
    if (self) {
        for (TControl* child : self->ControlList()) {
            if (child->widget_) {
                child->widget_->setParent(nullptr);
                children << child->widget_;
            }
        }
    }
    QWidget* fresh = Widget();
    if (self) {
        for (TControl* child : self->ControlList()) {
            if (child->widget_) {
                child->widget_->setParent(self->ChildHost());
                child->Changed();
            }
        }
    }
    if (old->isVisible() && !fresh->isVisible() && !fresh->parentWidget())
        fresh->show();
    delete old;
    // The new widget takes the old one's place in the window's Tab order.
    TControl* top = this;
    while (top->Parent())
        top = top->Parent();
    if (auto* window = qobject_cast<TWinControl*>(top); window && window->HasWidget())
        window->UpdateTabChain();
}

TControl* TControl::ControlOfWidget(const QWidget* w)
{
    for (; w; w = w->parentWidget()) {
        const QVariant value = w->property(controlProperty);
        if (value.isValid())
            return qobject_cast<TControl*>(value.value<QObject*>());
    }
    return nullptr;
}

void TControl::Changed()
{
    if (!widget_ || IsDestroying())
        return;
    ++updatingWidget_;
    UpdateWidget();
    --updatingWidget_;
}

void TControl::UpdateWidget()
{
    QWidget* w = widget_;
    const bool placed = w->parentWidget() && !PlacedByParent();
    if (placed)
        w->setGeometry(WidgetGeometry());
    w->setEnabled(enabled_);
    w->setToolTip(showHint_ ? hint_ : QString());
    w->setToolTipDuration(HintHidePause() > 0 ? HintHidePause() : -1);
    if (onDragOver_.Assigned())
        w->setAcceptDrops(true); // never off: an edit takes dropped text of its own
    w->setFont(font_->ToQFont());
    if (color_ != DefaultColor()) {
        QPalette palette = w->palette();
        palette.setColor(QPalette::Window, ColorToQColor(color_));
        palette.setColor(QPalette::Base, ColorToQColor(color_));
        w->setPalette(palette);
        w->setAutoFillBackground(true);
    }
    if (font_->Color() != clWindowText) {
        QPalette palette = w->palette();
        palette.setColor(QPalette::WindowText, ColorToQColor(font_->Color()));
        palette.setColor(QPalette::Text, ColorToQColor(font_->Color()));
        palette.setColor(QPalette::ButtonText, ColorToQColor(font_->Color()));
        w->setPalette(palette);
    }
    if (placed)
        w->setVisible(visible_);
}

// TWinControl ----------------------------------------------------------------

TWinControl::TWinControl(TComponent* owner)
    : TControl(owner)
{
}

TWinControl::~TWinControl()
{
    // Children go first, while this control is still whole.
    while (!controls_.isEmpty())
        delete controls_.last();
    if (TForm* form = ParentForm(); form && form != this)
        form->ControlDestroying(this);
}

int TWinControl::TabOrder() const
{
    return Parent() ? static_cast<int>(Parent()->tabList_.indexOf(const_cast<TWinControl*>(this))) : -1;
}

void TWinControl::SetTabOrder(int value)
{
    TWinControl* parent = Parent();
    if (!parent)
        return;
    QList<TWinControl*>& list = parent->tabList_;
    const int from = static_cast<int>(list.indexOf(this));
    const int to = std::clamp(value, 0, static_cast<int>(list.size()) - 1);
    if (from < 0 || from == to)
        return;
    list.move(from, to);
    if (TForm* form = ParentForm(); form && form->HasWidget())
        form->UpdateTabChain();
}

void TWinControl::InsertControl(TControl* control)
{
    controls_.append(control);
    if (auto* win = qobject_cast<TWinControl*>(control))
        tabList_.append(win);
}

void TWinControl::RemoveControl(TControl* control)
{
    controls_.removeOne(control);
    if (auto* win = qobject_cast<TWinControl*>(control))
        tabList_.removeOne(win);
}

bool TWinControl::CanFocus() const
{
    for (const TControl* c = this; c; c = c->Parent()) {
        if (!c->Visible() || !c->Enabled())
            return false;
    }
    return true;
}

bool TWinControl::Focused() const
{
    const TForm* form = ParentForm();
    return form && form->ActiveControl() == this;
}

void TWinControl::SetFocus()
{
    if (TForm* form = ParentForm())
        form->FocusControl(this);
}

bool TWinControl::IsMenuKey(Word key, TShiftState shift)
{
    const int shortCut = ShortCut(key, shift);
    if (shortCut == 0)
        return false;
    for (TControl* c = this; c; c = c->Parent()) {
        if (auto* popup = qobject_cast<TPopupMenu*>(c->PopupMenu()); popup && popup->IsShortCut(shortCut))
            return true;
    }
    TForm* form = ParentForm();
    return form && form->IsShortCut(key, shift);
}

void TWinControl::KeyDown(Word& key, TShiftState shift)
{
    if (key != 0 && IsMenuKey(key, shift)) {
        key = 0;
        return;
    }
    TForm* form = ParentForm();
    if (form && form != this && form->KeyPreview())
        form->OnKeyDown()(form, key, shift);
    if (key != 0)
        onKeyDown_(this, key, shift);
    if (key != 0 && form && !WantsReturn())
        form->DialogKey(key, shift);
}

void TWinControl::KeyUp(Word& key, TShiftState shift)
{
    TForm* form = ParentForm();
    if (form && form != this && form->KeyPreview())
        form->OnKeyUp()(form, key, shift);
    if (key != 0)
        onKeyUp_(this, key, shift);
}

void TWinControl::KeyPress(QChar& key)
{
    TForm* form = ParentForm();
    if (form && form != this && form->KeyPreview())
        form->OnKeyPress()(form, key);
    if (!key.isNull())
        onKeyPress_(this, key);
}

void TWinControl::DoEnter()
{
    onEnter_(this);
}

void TWinControl::DoExit()
{
    onExit_(this);
}

void TWinControl::Realign()
{
    if (aligning_ || IsLoading() || IsDestroying())
        return;
    aligning_ = true;
    const QRect client = ClientRect();
    int left = client.left();
    int top = client.top();
    int right = client.left() + client.width();
    int bottom = client.top() + client.height();
    auto aligned = [this](TAlign align) {
        QList<TControl*> list;
        for (TControl* c : std::as_const(controls_)) {
            if (c->Align() == align && c->Visible())
                list << c;
        }
        std::stable_sort(list.begin(), list.end(), [align](TControl* a, TControl* b) {
            switch (align) {
            case alTop:
                return a->Top() < b->Top();
            case alBottom:
                return a->Top() + a->Height() > b->Top() + b->Height();
            case alLeft:
                return a->Left() < b->Left();
            case alRight:
                return a->Left() + a->Width() > b->Left() + b->Width();
            default:
                return false;
            }
        });
        return list;
    };
    for (TControl* c : aligned(alTop)) {
        c->SetBounds(left, top, right - left, c->Height());
        top += c->Height();
    }
    for (TControl* c : aligned(alBottom)) {
        c->SetBounds(left, bottom - c->Height(), right - left, c->Height());
        bottom -= c->Height();
    }
    for (TControl* c : aligned(alLeft)) {
        c->SetBounds(left, top, c->Width(), bottom - top);
        left += c->Width();
    }
    for (TControl* c : aligned(alRight)) {
        c->SetBounds(right - c->Width(), top, c->Width(), bottom - top);
        right -= c->Width();
    }
    for (TControl* c : aligned(alClient))
        c->SetBounds(left, top, right - left, bottom - top);
    const QSize clientSize(ClientWidth(), ClientHeight());
    const QList<QPointer<TControl>> children(controls_.cbegin(), controls_.cend());
    for (const QPointer<TControl>& c : children) {
        if (c && c->Parent() == this && c->Align() == alNone && !c->IsLoading())
            c->applyAnchors(clientSize);
    }
    aligning_ = false;
}

void TWinControl::SetChildParent(TComponent* child)
{
    if (auto* control = qobject_cast<TControl*>(child)) {
        if (qobject_cast<TForm*>(control))
            throw EReadError(QStringLiteral("A form cannot be placed on %1").arg(Name()));
        control->SetParent(this);
        return;
    }
    TComponent::SetChildParent(child);
}

QList<TComponent*> TWinControl::GetChildren() const
{
    QList<TComponent*> children;
    children.reserve(controls_.size());
    for (TControl* c : controls_)
        children << c;
    return children;
}

void TWinControl::Loaded()
{
    TControl::Loaded();
    Realign();
}

void TWinControl::SetBounds(int left, int top, int width, int height)
{
    const QSize old = BoundsRect().size();
    TControl::SetBounds(left, top, width, height);
    if (BoundsRect().size() != old)
        Realign();
}

void TWinControl::UpdateWidget()
{
    TControl::UpdateWidget();
    QWidget* w = Widget();
    if (w->focusPolicy() != Qt::NoFocus)
        w->setFocusPolicy(tabStop_ ? Qt::StrongFocus : Qt::ClickFocus);
}

void TWinControl::ParentFontChanged()
{
    TControl::ParentFontChanged();
    for (TControl* child : std::as_const(controls_))
        child->ParentFontChanged();
}

void TWinControl::collectTabChain(QList<QWidget*>& chain)
{
    for (TWinControl* child : std::as_const(tabList_)) {
        if (!child->HasWidget())
            continue;
        QWidget* w = child->Widget();
        // A part of the widget may stand for it (a page control's tab bar).
        if (auto* stop = qobject_cast<QWidget*>(w->property(TabStopWidgetProperty).value<QObject*>()))
            w = stop;
        if (child->TabStop() && (w->focusPolicy() & Qt::TabFocus))
            chain << w;
        child->collectTabChain(chain);
    }
}

void TWinControl::UpdateTabChain()
{
    QList<QWidget*> chain;
    collectTabChain(chain);
    for (int i = 1; i < chain.size(); ++i)
        QWidget::setTabOrder(chain.at(i - 1), chain.at(i));
}
