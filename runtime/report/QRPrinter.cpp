#include "runtime/report/QRPrinter.h"

#include "runtime/forms/Dialogs.h"
#include "runtime/report/QuickRpt.h"

#include <QElapsedTimer>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QTimer>

namespace {

// A slice of background generation: long enough to make pages quickly,
// short enough that the preview stays responsive between slices.
constexpr int sliceMilliseconds = 30;

} // namespace

TQRPrinter::TQRPrinter(TQuickRep* report) : QObject(report), report_(report), timer_(new QTimer(this))
{
    timer_->setInterval(0);
    connect(timer_, &QTimer::timeout, this, &TQRPrinter::generateSlice);
}

TQRPrinter::~TQRPrinter() = default;

std::shared_ptr<TQRPageModel> TQRPrinter::Pages() const
{
    return report_->Pages();
}

int TQRPrinter::PageCount() const
{
    const auto pages = Pages();
    return pages ? pages->SheetCount() : 0;
}

int TQRPrinter::ReportPageCount() const
{
    const auto pages = Pages();
    return pages ? pages->PageCount() : 0;
}

TQRRenderer* TQRPrinter::Renderer()
{
    const auto pages = Pages();
    if (!pages)
        return nullptr;
    if (rendered_ != pages) {
        renderer_ = std::make_unique<TQRRenderer>(pages);
        rendered_ = pages;
    }
    return renderer_.get();
}

bool TQRPrinter::GenerateAhead()
{
    timer_->stop();
    if (!report_->Start())
        return false;
    while (report_->Generating() && report_->Pages()->PageCount() == 0)
        report_->Step();
    emit PageAvailable(PageCount());
    if (report_->Generating())
        timer_->start();
    else
        emit Finished();
    return true;
}

void TQRPrinter::generateSlice()
{
    QElapsedTimer clock;
    clock.start();
    while (report_->Generating() && clock.elapsed() < sliceMilliseconds)
        report_->Step();
    emit PageAvailable(PageCount());
    if (!report_->Generating()) {
        timer_->stop();
        emit Finished();
    }
}

void TQRPrinter::Complete()
{
    timer_->stop();
    const bool was = report_->Generating();
    while (report_->Generating())
        report_->Step();
    if (was) {
        emit PageAvailable(PageCount());
        emit Finished();
    }
}

bool TQRPrinter::Generating() const
{
    return report_->Generating();
}

bool TQRPrinter::paintSheets(QPaintDevice& device, QPrinter* printer, int from, int to, int copies)
{
    Complete();
    TQRRenderer* renderer = Renderer();
    const int count = PageCount();
    if (!renderer || count == 0)
        return false;
    // A range that starts past the end prints nothing; one that ends past
    // it prints to the last sheet.
    from = from <= 0 ? 1 : from;
    to = to <= 0 ? count : std::min(to, count);
    if (from > to)
        return false;
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    painter.setRenderHint(QPainter::TextAntialiasing);
    // The sheet fills the device's whole page; page layouts below are set
    // with no margins, so this is the paper.
    const QRectF target(0, 0, device.width(), device.height());
    bool first = true;
    for (int copy = 0; copy < std::max(1, copies); ++copy)
        for (int sheet = from; sheet <= to; ++sheet) {
            if (!first) {
                if (printer)
                    printer->newPage();
                else if (auto* pdf = dynamic_cast<QPdfWriter*>(&device))
                    pdf->newPage();
            }
            first = false;
            renderer->PaintSheet(painter, sheet, target);
        }
    return painter.end();
}

static QPageLayout layoutFor(const TQRPageModel& pages)
{
    const QSize units = pages.SheetSize();
    const QPageSize size(QSizeF(units.width() / 100.0, units.height() / 100.0), QPageSize::Millimeter);
    return QPageLayout(size, QPageLayout::Portrait, QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
}

bool TQRPrinter::Print(QPrinter& printer, int from, int to, int copies)
{
    Complete();
    const auto pages = Pages();
    if (!pages || pages->SheetCount() == 0 || !printer.isValid())
        return false;
    printer.setFullPage(true);
    printer.setPageLayout(layoutFor(*pages));
    printer.setDocName(report_->ReportTitle());
    return paintSheets(printer, &printer, from, to, copies);
}

bool TQRPrinter::PrintSetupAndPrint()
{
    QString printerName;
    int copies = 1;
    if (!Dialogs().PrintDialog(printerName, copies))
        return false;
    QPrinter printer(QPrinter::HighResolution);
    if (!printerName.isEmpty())
        printer.setPrinterName(printerName);
    return Print(printer, 0, 0, copies);
}

bool TQRPrinter::ExportPdf(const QString& path, int from, int to)
{
    Complete();
    const auto pages = Pages();
    if (!pages || pages->SheetCount() == 0)
        return false;
    QPdfWriter writer(path);
    writer.setResolution(600);
    writer.setPageLayout(layoutFor(*pages));
    writer.setTitle(report_->ReportTitle());
    writer.setCreator(QStringLiteral("ZORV52"));
    return paintSheets(writer, nullptr, from, to, 1);
}

QImage TQRPrinter::SheetImage(int sheet, double dpi)
{
    TQRRenderer* renderer = Renderer();
    return renderer && sheet >= 1 && sheet <= PageCount() ? renderer->SheetImage(sheet, dpi) : QImage();
}

QImage TQRPrinter::ReportPageImage(int page, double dpi)
{
    TQRRenderer* renderer = Renderer();
    return renderer && page >= 1 && page <= ReportPageCount() ? renderer->PageImage(page, dpi) : QImage();
}

bool TQRPrinter::SaveReportPage(int page, const QString& path, double dpi)
{
    const QImage image = ReportPageImage(page, dpi);
    return !image.isNull() && image.save(path);
}
