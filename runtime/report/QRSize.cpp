#include "runtime/report/QRSize.h"

#include "runtime/report/QuickRpt.h"

#include <cmath>

TQRSize::TQRSize(TControl* control)
    : TPersistent(control)
    , control_(control)
{
}

const TQuickRep* TQRSize::report() const
{
    for (const TControl* c = control_; c; c = c->Parent())
        if (auto* r = qobject_cast<const TQuickRep*>(c))
            return r;
    return nullptr;
}

double TQRSize::pixelsPerUnit(bool horizontal) const
{
    const TQuickRep* r = report();
    const double zoom = r ? r->Zoom() / 100.0 : 1.0;
    const double inch = 96.0 * zoom;
    switch (r ? r->Units() : MM) {
    case Inches:
        return inch;
    case Pixels:
        return zoom;
    case Characters:
        return horizontal ? inch / 10 : inch / 6;
    case Native:
        return inch / 254.0;
    case MM:
    default:
        return inch / 25.4;
    }
}

namespace {
int toPixels(double value)
{
    return static_cast<int>(std::lround(value));
}
} // namespace

double TQRSize::Left() const
{
    return control_->Left() / pixelsPerUnit(true);
}

void TQRSize::SetLeft(double value)
{
    control_->SetLeft(toPixels(value * pixelsPerUnit(true)));
}

double TQRSize::Top() const
{
    return control_->Top() / pixelsPerUnit(false);
}

void TQRSize::SetTop(double value)
{
    control_->SetTop(toPixels(value * pixelsPerUnit(false)));
}

double TQRSize::Width() const
{
    return control_->Width() / pixelsPerUnit(true);
}

void TQRSize::SetWidth(double value)
{
    control_->SetWidth(toPixels(value * pixelsPerUnit(true)));
}

double TQRSize::Height() const
{
    // A band's own height may be negative (see TQRCustomBand).
    if (auto* band = qobject_cast<const TQRCustomBand*>(control_))
        return band->Height() / pixelsPerUnit(false);
    return control_->Height() / pixelsPerUnit(false);
}

void TQRSize::SetHeight(double value)
{
    if (auto* band = qobject_cast<TQRCustomBand*>(control_))
        band->SetHeight(toPixels(value * pixelsPerUnit(false)));
    else
        control_->SetHeight(toPixels(value * pixelsPerUnit(false)));
}

void TQRSize::Assign(const TPersistent* source)
{
    if (auto* other = qobject_cast<const TQRSize*>(source)) {
        SetLeft(other->Left());
        SetTop(other->Top());
        SetWidth(other->Width());
        SetHeight(other->Height());
        return;
    }
    TPersistent::Assign(source);
}
