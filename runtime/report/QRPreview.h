#pragma once
// TQRPreview: the control that shows the sheets of a report printer at a
// zoom, one sheet at a time, in a scrolling area. It paints through the
// printer's renderer, so it shows what prints. Pages that arrive while the
// report is still being generated (TQRPrinter::GenerateAhead) raise
// OnPageAvailable; the shown page stays where it is. A sheet smaller than
// the visible area is centred in it.
//
// Zoom is a percentage of the sheet's real size at 96 pixels per inch
// (10 .. 400). PageNumber counts sheets from 1; it is 0 while there are none
// and is kept within 1 .. PageCount() otherwise.

#include "runtime/forms/Controls.h"
#include "runtime/report/QRPrinter.h"

#include <QPointer>

class QScrollArea;
class TQRPrinter;

class TQRPreview : public TWinControl {
    Q_OBJECT
    Q_PROPERTY(int Zoom READ Zoom WRITE SetZoom)
    Q_PROPERTY(int PageNumber READ PageNumber WRITE SetPageNumber)
    Q_PROPERTY(TNotifyEvent OnPageAvailable READ OnPageAvailable WRITE SetOnPageAvailable)
public:
    explicit TQRPreview(TComponent* owner = nullptr);
    ~TQRPreview() override;

    // The printer whose pages show (not owned; null detaches).
    void SetQRPrinter(TQRPrinter* printer);
    TQRPrinter* QRPrinter() const { return printer_; }
    int PageCount() const;

    int Zoom() const { return zoom_; }
    void SetZoom(int zoom);
    int PageNumber() const { return pageNumber_; }
    void SetPageNumber(int page);
    // The zoom at which a whole sheet, or its width, fits the visible area.
    void ZoomToFit();
    void ZoomToWidth();
    void ScrollToTop();
    TNotifyEvent OnPageAvailable() const { return onPageAvailable_; }
    void SetOnPageAvailable(const TNotifyEvent& handler) { onPageAvailable_ = handler; }

    // The sheet as the control shows it now (for pictures of the screen).
    QSize SheetPixels() const;

protected:
    QWidget* CreateWidget(QWidget* parent) override;
    void UpdateWidget() override;

private:
    friend class TQRPreviewCanvas;
    void pagesArrived();
    QSize visibleArea() const;

    QPointer<TQRPrinter> printer_;
    QPointer<QScrollArea> area_;
    QWidget* canvas_ = nullptr;
    int zoom_ = 100;
    int pageNumber_ = 0;
    TNotifyEvent onPageAvailable_;
    QMetaObject::Connection connection_;
};
