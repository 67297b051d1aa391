#include "runtime/designer/DCFormDesigner.h"

#include "runtime/report/QuickRpt.h"

#include <QtGlobal>
#include <algorithm>
#include <cmath>

TDCFormDesigner::TDCFormDesigner(TQuickRep* report, QObject* parent)
    : QObject(parent)
    , report_(report)
{
    connect(report_, &QObject::destroyed, this, [this] { report_ = nullptr; });
}

TDCFormDesigner::~TDCFormDesigner() = default;

namespace {

// Where a band kind stands on the surface: from the top of a page to its
// foot, as a user reads the layout (the engine's own order is by kind).
int surfaceRank(TQRBandType type)
{
    switch (type) {
    case rbTitle:
        return 0;
    case rbPageHeader:
        return 1;
    case rbColumnHeader:
        return 2;
    case rbGroupHeader:
        return 3;
    case rbDetail:
        return 4;
    case rbSubDetail:
        return 5;
    case rbGroupFooter:
        return 6;
    case rbSummary:
        return 7;
    case rbPageFooter:
        return 8;
    default:
        return 9;
    }
}

} // namespace

QList<TQRCustomBand*> TDCFormDesigner::Bands() const
{
    if (!report_)
        return {};
    QList<TQRCustomBand*> bands;
    QList<TQRChildBand*> children;
    for (TQRCustomBand* b : report_->Bands()) {
        if (auto* child = qobject_cast<TQRChildBand*>(b); child && child->ParentBand())
            children << child;
        else
            bands << b;
    }
    std::stable_sort(bands.begin(), bands.end(), [](TQRCustomBand* a, TQRCustomBand* b) {
        return surfaceRank(a->BandType()) < surfaceRank(b->BandType());
    });
    // A child band stands right under its parent (or under the parent's
    // last child already placed).
    for (TQRChildBand* child : children) {
        const qsizetype at = bands.indexOf(child->ParentBand());
        qsizetype insert = at < 0 ? bands.size() : at + 1;
        while (insert < bands.size() && qobject_cast<TQRChildBand*>(bands[insert])
            && static_cast<TQRChildBand*>(bands[insert])->ParentBand() == child->ParentBand())
            ++insert;
        bands.insert(insert, child);
    }
    return bands;
}

QRect TDCFormDesigner::CaptionRect(const TQRCustomBand* band) const
{
    int top = Margin;
    for (TQRCustomBand* b : Bands()) {
        if (b == band)
            return QRect(Margin, top, std::max(b->Width(), 1), CaptionHeight);
        top += CaptionHeight + std::max(b->Height(), 0);
    }
    return {};
}

QRect TDCFormDesigner::BandRect(const TQRCustomBand* band) const
{
    const QRect caption = CaptionRect(band);
    if (caption.isNull())
        return {};
    return QRect(caption.left(), caption.bottom() + 1, caption.width(), std::max(band->Height(), 0));
}

QRect TDCFormDesigner::ControlRect(const TControl* control) const
{
    const auto* band = qobject_cast<const TQRCustomBand*>(control->Parent());
    if (!band)
        return {};
    return control->BoundsRect().translated(BandRect(band).topLeft());
}

QSize TDCFormDesigner::SurfaceSize() const
{
    int width = 0;
    int height = Margin;
    for (TQRCustomBand* b : Bands()) {
        width = std::max(width, b->Width());
        height += CaptionHeight + std::max(b->Height(), 0);
    }
    return QSize(width + 2 * Margin, height + Margin);
}

TQRCustomBand* TDCFormDesigner::BandAt(QPoint surface) const
{
    for (TQRCustomBand* b : Bands()) {
        const QRect body = BandRect(b);
        if (body.contains(surface) || CaptionRect(b).contains(surface))
            return b;
    }
    return nullptr;
}

TControl* TDCFormDesigner::ControlAt(QPoint surface) const
{
    TQRCustomBand* band = BandAt(surface);
    if (!band)
        return nullptr;
    const QList<TControl*>& controls = band->ControlList();
    for (auto it = controls.crbegin(); it != controls.crend(); ++it)
        if (ControlRect(*it).contains(surface))
            return *it;
    return nullptr;
}

QList<TControl*> TDCFormDesigner::AllControls() const
{
    QList<TControl*> all;
    for (TQRCustomBand* b : Bands())
        all += b->ControlList();
    return all;
}

QList<TControl*> TDCFormDesigner::GetSelectedComponents() const
{
    QList<TControl*> list;
    for (const QPointer<TControl>& c : selection_)
        if (c)
            list << c.data();
    return list;
}

bool TDCFormDesigner::IsSelected(const TControl* control) const
{
    return std::any_of(
        selection_.cbegin(), selection_.cend(), [&](const QPointer<TControl>& c) { return c == control; });
}

void TDCFormDesigner::SelectComponent(TControl* control, bool add)
{
    if (!add)
        selection_.clear();
    if (control && !IsSelected(control)) {
        selection_ << control;
        connect(control, &QObject::destroyed, this, &TDCFormDesigner::forget, Qt::UniqueConnection);
    }
    emit SelectionChanged();
}

void TDCFormDesigner::ToggleSelection(TControl* control)
{
    if (IsSelected(control)) {
        selection_.removeIf([&](const QPointer<TControl>& c) { return c == control; });
        emit SelectionChanged();
    } else {
        SelectComponent(control, true);
    }
}

void TDCFormDesigner::ClearSelection()
{
    if (selection_.isEmpty())
        return;
    selection_.clear();
    emit SelectionChanged();
}

void TDCFormDesigner::forget(QObject* object)
{
    selection_.removeIf([&](const QPointer<TControl>& c) { return c.isNull() || c.data() == object; });
}

void TDCFormDesigner::SelectInRect(const QRect& surfaceRect, bool add)
{
    if (!add)
        selection_.clear();
    const QRect area = surfaceRect.normalized();
    for (TControl* c : AllControls())
        if (area.intersects(ControlRect(c)) && !IsSelected(c)) {
            selection_ << c;
            connect(c, &QObject::destroyed, this, &TDCFormDesigner::forget, Qt::UniqueConnection);
        }
    emit SelectionChanged();
}

QList<QRect> TDCFormDesigner::HandleRects(const TControl* control) const
{
    const QRect r = ControlRect(control);
    const int h = HandleSize;
    const auto at = [h](int x, int y) { return QRect(x - h / 2, y - h / 2, h, h); };
    const int cx = r.left() + r.width() / 2;
    const int cy = r.top() + r.height() / 2;
    // In the order of TDesignHandle after None.
    return {at(r.left(), r.top()), at(cx, r.top()), at(r.right() + 1, r.top()), at(r.right() + 1, cy),
        at(r.right() + 1, r.bottom() + 1), at(cx, r.bottom() + 1), at(r.left(), r.bottom() + 1),
        at(r.left(), cy)};
}

TDesignHandle TDCFormDesigner::HandleAt(QPoint surface) const
{
    const QList<TControl*> selected = GetSelectedComponents();
    if (selected.size() != 1)
        return TDesignHandle::None;
    const QList<QRect> handles = HandleRects(selected.first());
    for (int i = 0; i < handles.size(); ++i)
        if (handles[i].adjusted(-1, -1, 1, 1).contains(surface))
            return static_cast<TDesignHandle>(i + 1);
    return TDesignHandle::None;
}

int TDCFormDesigner::snap(int value) const
{
    if (!snap_ || gridSize_ <= 1)
        return value;
    return static_cast<int>(std::lround(static_cast<double>(value) / gridSize_)) * gridSize_;
}

TDCFormDesigner::Step TDCFormDesigner::snapshot(const QList<TControl*>& controls) const
{
    Step step;
    for (TControl* c : controls)
        step.append(
            {c, qobject_cast<TQRCustomBand*>(c->Parent()), c->BoundsRect(), ControlOrder(c), c->Enabled()});
    return step;
}

void TDCFormDesigner::pushUndo(Step step)
{
    if (step.isEmpty())
        return;
    undo_.append(std::move(step));
    if (undo_.size() > UndoDepth)
        undo_.removeFirst();
}

void TDCFormDesigner::restore(const Step& step)
{
    for (const Saved& s : step) {
        if (!s.Control)
            continue;
        if (s.Band && s.Control->Parent() != s.Band)
            s.Control->SetParent(s.Band);
        s.Control->SetBounds(s.Bounds.x(), s.Bounds.y(), s.Bounds.width(), s.Bounds.height());
        s.Control->SetEnabled(s.Enabled);
    }
    // Orders last, lowest first, so each lands where it was.
    Step byOrder = step;
    std::sort(
        byOrder.begin(), byOrder.end(), [](const Saved& a, const Saved& b) { return a.Index < b.Index; });
    for (const Saved& s : byOrder)
        if (s.Control && s.Index >= 0)
            SetControlOrder(s.Control, s.Index);
}

void TDCFormDesigner::RecordUndo(const QList<TControl*>& controls)
{
    pushUndo(snapshot(controls));
}

bool TDCFormDesigner::Undo()
{
    if (undo_.isEmpty())
        return false;
    const Step step = undo_.takeLast();
    restore(step);
    afterEdit();
    return true;
}

void TDCFormDesigner::afterEdit()
{
    emit Modified();
}

void TDCFormDesigner::BeginMove()
{
    dragStart_ = snapshot(GetSelectedComponents());
    drag_ = dragStart_.isEmpty() ? DragKind::None : DragKind::Move;
}

void TDCFormDesigner::BeginResize(TDesignHandle handle)
{
    const QList<TControl*> selected = GetSelectedComponents();
    if (selected.size() != 1 || handle == TDesignHandle::None) {
        drag_ = DragKind::None;
        return;
    }
    dragStart_ = snapshot(selected);
    handle_ = handle;
    drag_ = DragKind::Resize;
}

TQRCustomBand* TDCFormDesigner::BandEdgeAt(QPoint surface) const
{
    for (TQRCustomBand* b : Bands()) {
        const QRect body = BandRect(b);
        const int edge = body.top() + body.height();
        if (surface.x() >= body.left() && surface.x() <= body.right()
            && std::abs(surface.y() - edge) <= EdgeGrip)
            return b;
    }
    return nullptr;
}

void TDCFormDesigner::BeginBandResize(TQRCustomBand* band)
{
    if (!band) {
        drag_ = DragKind::None;
        return;
    }
    dragStart_ = snapshot({band});
    drag_ = DragKind::BandHeight;
}

QRect TDCFormDesigner::resized(const QRect& start, int dx, int dy) const
{
    int left = start.left(), top = start.top();
    int right = start.left() + start.width(), bottom = start.top() + start.height();
    switch (handle_) {
    case TDesignHandle::TopLeft:
        left += dx;
        top += dy;
        break;
    case TDesignHandle::Top:
        top += dy;
        break;
    case TDesignHandle::TopRight:
        right += dx;
        top += dy;
        break;
    case TDesignHandle::Right:
        right += dx;
        break;
    case TDesignHandle::BottomRight:
        right += dx;
        bottom += dy;
        break;
    case TDesignHandle::Bottom:
        bottom += dy;
        break;
    case TDesignHandle::BottomLeft:
        left += dx;
        bottom += dy;
        break;
    case TDesignHandle::Left:
        left += dx;
        break;
    case TDesignHandle::None:
        break;
    }
    // The dragged edges snap; a box never turns inside out (one grid step,
    // at least a pixel, stays).
    const int least = snap_ ? gridSize_ : 1;
    left = snap(left);
    top = snap(top);
    right = std::max(snap(right), left + least);
    bottom = std::max(snap(bottom), top + least);
    return QRect(left, top, right - left, bottom - top);
}

void TDCFormDesigner::DragTo(int dx, int dy)
{
    if (drag_ == DragKind::None)
        return;
    for (const Saved& s : dragStart_) {
        if (!s.Control)
            continue;
        if (drag_ == DragKind::Move) {
            s.Control->SetBounds(
                snap(s.Bounds.x() + dx), snap(s.Bounds.y() + dy), s.Bounds.width(), s.Bounds.height());
        } else if (drag_ == DragKind::BandHeight) {
            s.Control->SetBounds(
                s.Bounds.x(), s.Bounds.y(), s.Bounds.width(), std::max(1, snap(s.Bounds.height() + dy)));
        } else {
            const QRect r = resized(s.Bounds, dx, dy);
            s.Control->SetBounds(r.x(), r.y(), r.width(), r.height());
        }
    }
    emit Modified();
}

void TDCFormDesigner::moveToBandUnderCentre(TControl* control)
{
    const QPoint centre = ControlRect(control).center();
    TQRCustomBand* target = nullptr;
    for (TQRCustomBand* b : Bands())
        if (BandRect(b).contains(centre))
            target = b;
    if (!target || target == control->Parent())
        return;
    const QPoint at = ControlRect(control).topLeft() - BandRect(target).topLeft();
    control->SetParent(target);
    control->SetBounds(snap(at.x()), snap(at.y()), control->Width(), control->Height());
}

void TDCFormDesigner::EndDrag()
{
    if (drag_ == DragKind::None)
        return;
    if (drag_ == DragKind::Move)
        for (const Saved& s : dragStart_)
            if (s.Control)
                moveToBandUnderCentre(s.Control);
    const bool changed = std::any_of(dragStart_.cbegin(), dragStart_.cend(), [](const Saved& s) {
        return s.Control
            && (s.Control->BoundsRect() != s.Bounds || (s.Band && s.Control->Parent() != s.Band));
    });
    if (changed)
        pushUndo(dragStart_);
    drag_ = DragKind::None;
    dragStart_.clear();
    afterEdit();
}

void TDCFormDesigner::CancelDrag()
{
    if (drag_ == DragKind::None)
        return;
    restore(dragStart_);
    drag_ = DragKind::None;
    dragStart_.clear();
    afterEdit();
}

void TDCFormDesigner::MoveSelection(int dx, int dy)
{
    BeginMove();
    DragTo(dx, dy);
    EndDrag();
}

bool TDCFormDesigner::Nudge(int key, bool shift)
{
    int dx = 0, dy = 0;
    switch (key) {
    case Qt::Key_Left:
        dx = -1;
        break;
    case Qt::Key_Right:
        dx = 1;
        break;
    case Qt::Key_Up:
        dy = -1;
        break;
    case Qt::Key_Down:
        dy = 1;
        break;
    default:
        return false;
    }
    const QList<TControl*> selected = GetSelectedComponents();
    if (selected.isEmpty())
        return true;
    pushUndo(snapshot(selected));
    for (TControl* c : selected) {
        const QRect r = c->BoundsRect();
        if (shift)
            c->SetBounds(r.x(), r.y(), std::max(1, r.width() + dx), std::max(1, r.height() + dy));
        else
            c->SetBounds(r.x() + dx, r.y() + dy, r.width(), r.height());
    }
    afterEdit();
    return true;
}

int TDCFormDesigner::DeleteSelectedComponents()
{
    const QList<TControl*> selected = GetSelectedComponents();
    selection_.clear();
    for (TControl* c : selected) {
        emit ComponentDeleting(c);
        c->Free();
    }
    if (!selected.isEmpty()) {
        emit SelectionChanged();
        afterEdit();
    }
    return static_cast<int>(selected.size());
}
