#include "runtime/report/QRPreview.h"

#include "runtime/report/QRPrinter.h"

#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <cmath>

namespace {

// The grey margin around the sheet in the scrolling area.
constexpr int gutter = 10;

} // namespace

class TQRPreviewCanvas : public QWidget {
public:
    explicit TQRPreviewCanvas(TQRPreview* preview)
        : preview_(preview)
    {
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), QColor(0x80, 0x80, 0x80));
        TQRPrinter* printer = preview_->QRPrinter();
        const int page = preview_->PageNumber();
        if (!printer || page < 1)
            return;
        const QRect sheet(QPoint(gutter, gutter), preview_->SheetPixels());
        painter.fillRect(sheet.translated(3, 3), Qt::black);
        painter.fillRect(sheet, Qt::white);
        painter.setRenderHint(QPainter::TextAntialiasing);
        if (TQRRenderer* renderer = printer->Renderer())
            renderer->PaintSheet(painter, page, QRectF(sheet));
    }

private:
    TQRPreview* preview_;
};

TQRPreview::TQRPreview(TComponent* owner)
    : TWinControl(owner)
{
    SetBounds(0, 0, 400, 300);
}

TQRPreview::~TQRPreview()
{
    QObject::disconnect(connection_);
}

void TQRPreview::SetQRPrinter(TQRPrinter* printer)
{
    QObject::disconnect(connection_);
    printer_ = printer;
    if (printer)
        connection_ = connect(printer, &TQRPrinter::PageAvailable, this, [this] { pagesArrived(); });
    pageNumber_ = PageCount() > 0 ? 1 : 0;
    Changed();
}

int TQRPreview::PageCount() const
{
    return printer_ ? printer_->PageCount() : 0;
}

void TQRPreview::pagesArrived()
{
    if (pageNumber_ == 0 && PageCount() > 0)
        pageNumber_ = 1;
    Changed();
    if (onPageAvailable_.Assigned())
        onPageAvailable_(this);
}

void TQRPreview::SetZoom(int zoom)
{
    Set(zoom_, std::clamp(zoom, 10, 400));
}

void TQRPreview::SetPageNumber(int page)
{
    const int count = PageCount();
    Set(pageNumber_, count == 0 ? 0 : std::clamp(page, 1, count));
}

QSize TQRPreview::SheetPixels() const
{
    const auto pages = printer_ ? printer_->Pages() : nullptr;
    if (!pages)
        return QSize();
    const QSize units = pages->SheetSize();
    const double f = 96.0 / 2540.0 * zoom_ / 100.0;
    return QSize(
        static_cast<int>(std::lround(units.width() * f)), static_cast<int>(std::lround(units.height() * f)));
}

QSize TQRPreview::visibleArea() const
{
    // Without the scroll bars: what a whole sheet may fill.
    if (area_)
        return area_->maximumViewportSize();
    return QSize(Width(), Height());
}

void TQRPreview::ZoomToFit()
{
    const auto pages = printer_ ? printer_->Pages() : nullptr;
    if (!pages)
        return;
    const QSize area = visibleArea() - QSize(2 * gutter, 2 * gutter);
    const QSize units = pages->SheetSize();
    const double zx = area.width() * 2540.0 / 96.0 / units.width();
    const double zy = area.height() * 2540.0 / 96.0 / units.height();
    SetZoom(static_cast<int>(std::floor(std::min(zx, zy) * 100)));
}

void TQRPreview::ZoomToWidth()
{
    const auto pages = printer_ ? printer_->Pages() : nullptr;
    if (!pages)
        return;
    // The vertical scroll bar will take its room once the sheet is taller.
    const int bar = area_ ? area_->style()->pixelMetric(QStyle::PM_ScrollBarExtent) : 0;
    const int width = visibleArea().width() - 2 * gutter - bar;
    SetZoom(static_cast<int>(std::floor(width * 2540.0 / 96.0 / pages->SheetSize().width() * 100)));
}

void TQRPreview::ScrollToTop()
{
    if (!area_)
        return;
    area_->horizontalScrollBar()->setValue(0);
    area_->verticalScrollBar()->setValue(0);
}

QWidget* TQRPreview::CreateWidget(QWidget* parent)
{
    auto* area = new QScrollArea(parent);
    area->setBackgroundRole(QPalette::Dark);
    // A sheet smaller than the view sits in its middle, as on a desk.
    area->setAlignment(Qt::AlignCenter);
    canvas_ = new TQRPreviewCanvas(this);
    area->setWidget(canvas_);
    area_ = area;
    return area;
}

void TQRPreview::UpdateWidget()
{
    TWinControl::UpdateWidget();
    if (!canvas_)
        return;
    const QSize sheet = SheetPixels();
    canvas_->resize(sheet.isEmpty() ? QSize(1, 1) : sheet + QSize(2 * gutter + 3, 2 * gutter + 3));
    canvas_->update();
}
