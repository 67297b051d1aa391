#pragma once
// TQRSize: a band's or report control's position and size in the units of
// its report (Units): millimetres, inches, 96-dpi pixels, characters (a
// grid of 10 per inch across and 6 per inch down) or native tenths of a
// millimetre. It is a view of the control's design pixels at the report's
// zoom, so reading and writing it moves the control; it is not stored in
// form descriptions (the pixels are). Without a report: millimetres at zoom 100.

#include "runtime/forms/Persistent.h"

class TControl;
class TQuickRep;

class TQRSize : public TPersistent {
    Q_OBJECT
    Q_PROPERTY(double Left READ Left WRITE SetLeft)
    Q_PROPERTY(double Top READ Top WRITE SetTop)
    Q_PROPERTY(double Width READ Width WRITE SetWidth)
    Q_PROPERTY(double Height READ Height WRITE SetHeight)
public:
    explicit TQRSize(TControl* control);

    double Left() const;
    void SetLeft(double value);
    double Top() const;
    void SetTop(double value);
    double Width() const;
    void SetWidth(double value);
    double Height() const;
    void SetHeight(double value);

    bool IsPropertyStored(const char*) const override { return false; }
    void Assign(const TPersistent* source) override;

private:
    // Design pixels per report unit, across (horizontal) or down.
    double pixelsPerUnit(bool horizontal) const;
    const TQuickRep* report() const;
    TControl* control_;
};
