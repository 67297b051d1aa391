// The layout edits of the selection as a whole: grid, z-order, alignment,
// size and scale. Each is one undo step.
#include "runtime/designer/DCFormDesigner.h"

#include "runtime/report/QuickRpt.h"

#include <algorithm>
#include <cmath>

int ControlOrder(const TControl* control)
{
    return control->Parent() ? static_cast<int>(control->Parent()->ControlList().indexOf(control)) : -1;
}

void SetControlOrder(TControl* control, int index)
{
    TWinControl* band = control->Parent();
    if (!band)
        return;
    QList<TControl*> order = band->ControlList();
    const int current = static_cast<int>(order.indexOf(control));
    index = std::clamp(index, 0, static_cast<int>(order.size()) - 1);
    if (current == index)
        return;
    order.removeAt(current);
    order.insert(index, control);
    // The band appends a control that joins it, so re-attaching the tail of
    // the new order (from the first place that differs) rebuilds the order
    // without touching the controls before it.
    const int from = std::min(current, index);
    for (int i = from; i < order.size(); ++i)
        order[i]->SetParent(nullptr);
    for (int i = from; i < order.size(); ++i)
        order[i]->SetParent(band);
}

void TDCFormDesigner::AlignToGrid()
{
    const QList<TControl*> selected = GetSelectedComponents();
    if (selected.isEmpty())
        return;
    pushUndo(snapshot(selected));
    const int g = gridSize_;
    const auto toGrid = [g](int v) { return static_cast<int>(std::lround(static_cast<double>(v) / g)) * g; };
    for (TControl* c : selected)
        c->SetBounds(toGrid(c->Left()), toGrid(c->Top()), c->Width(), c->Height());
    afterEdit();
}

void TDCFormDesigner::BringToFront()
{
    const QList<TControl*> selected = GetSelectedComponents();
    if (selected.isEmpty())
        return;
    pushUndo(snapshot(selected));
    for (TControl* c : selected)
        SetControlOrder(c, static_cast<int>(c->Parent()->ControlList().size()) - 1);
    afterEdit();
}

void TDCFormDesigner::SendToBack()
{
    QList<TControl*> selected = GetSelectedComponents();
    if (selected.isEmpty())
        return;
    pushUndo(snapshot(selected));
    // Last first, so the selection keeps its own order at the back.
    for (auto it = selected.crbegin(); it != selected.crend(); ++it)
        SetControlOrder(*it, 0);
    afterEdit();
}

namespace {

// Positions along one axis: start and extent of each control, the
// reference (first selected) and the band's extent.
struct Axis {
    int (TControl::*Start)() const;
    int (TControl::*Extent)() const;
};

void place(TControl* c, bool horizontal, int start)
{
    if (horizontal)
        c->SetBounds(start, c->Top(), c->Width(), c->Height());
    else
        c->SetBounds(c->Left(), start, c->Width(), c->Height());
}

void alignAxis(const QList<TControl*>& controls, bool horizontal, int mode)
{
    // mode: 1 starts, 2 centres, 3 ends, 4 space equally, 5 centre in band.
    const Axis a
        = horizontal ? Axis {&TControl::Left, &TControl::Width} : Axis {&TControl::Top, &TControl::Height};
    TControl* ref = controls.first();
    const int refStart = (ref->*a.Start)(), refExtent = (ref->*a.Extent)();
    if (mode == 4) {
        if (controls.size() < 3)
            return;
        QList<TControl*> sorted = controls;
        std::sort(sorted.begin(), sorted.end(),
            [&](TControl* x, TControl* y) { return (x->*a.Start)() < (y->*a.Start)(); });
        const int first = (sorted.first()->*a.Start)();
        const int last = (sorted.last()->*a.Start)();
        const double step = static_cast<double>(last - first) / (sorted.size() - 1);
        for (int i = 1; i + 1 < sorted.size(); ++i)
            place(sorted[i], horizontal, first + static_cast<int>(std::lround(step * i)));
        return;
    }
    for (TControl* c : controls) {
        const int extent = (c->*a.Extent)();
        int start = (c->*a.Start)();
        switch (mode) {
        case 1:
            start = refStart;
            break;
        case 2:
            start = refStart + (refExtent - extent) / 2;
            break;
        case 3:
            start = refStart + refExtent - extent;
            break;
        case 5: {
            const TWinControl* band = c->Parent();
            const int room = horizontal ? band->Width() : std::max(0, band->Height());
            start = (room - extent) / 2;
            break;
        }
        default:
            break;
        }
        place(c, horizontal, start);
    }
}

int pick(const QList<TControl*>& controls, TSizeRule rule, int value, int (TControl::*extent)() const)
{
    int result = value;
    if (rule == TSizeRule::ShrinkToSmallest || rule == TSizeRule::GrowToLargest) {
        result = (controls.first()->*extent)();
        for (TControl* c : controls)
            result = rule == TSizeRule::ShrinkToSmallest ? std::min(result, (c->*extent)())
                                                         : std::max(result, (c->*extent)());
    }
    return std::clamp(result, 1, TControl::MaxExtent);
}

} // namespace

void TDCFormDesigner::AlignSelected(THorzAlign horizontal, TVertAlign vertical)
{
    const QList<TControl*> selected = GetSelectedComponents();
    if (selected.isEmpty() || (horizontal == THorzAlign::NoChange && vertical == TVertAlign::NoChange))
        return;
    pushUndo(snapshot(selected));
    if (horizontal != THorzAlign::NoChange)
        alignAxis(selected, true, static_cast<int>(horizontal));
    if (vertical != TVertAlign::NoChange)
        alignAxis(selected, false, static_cast<int>(vertical));
    afterEdit();
}

void TDCFormDesigner::SizeSelected(TSizeRule widthRule, int width, TSizeRule heightRule, int height)
{
    const QList<TControl*> selected = GetSelectedComponents();
    if (selected.isEmpty() || (widthRule == TSizeRule::NoChange && heightRule == TSizeRule::NoChange))
        return;
    pushUndo(snapshot(selected));
    const int w = pick(selected, widthRule, width, &TControl::Width);
    const int h = pick(selected, heightRule, height, &TControl::Height);
    for (TControl* c : selected)
        c->SetBounds(c->Left(), c->Top(), widthRule == TSizeRule::NoChange ? c->Width() : w,
            heightRule == TSizeRule::NoChange ? c->Height() : h);
    afterEdit();
}

void TDCFormDesigner::ScaleSelected(int percent)
{
    const QList<TControl*> selected = GetSelectedComponents();
    if (selected.isEmpty())
        return;
    percent = std::clamp(percent, 25, 400);
    pushUndo(snapshot(selected));
    const auto scaled = [percent](int v) { return static_cast<int>(std::lround(v * percent / 100.0)); };
    for (TControl* c : selected)
        c->SetBounds(scaled(c->Left()), scaled(c->Top()), std::max(1, scaled(c->Width())),
            std::max(1, scaled(c->Height())));
    afterEdit();
}
