#include "runtime/report/QRPrinter.h"

#include "runtime/forms/Dialogs.h"
#include "runtime/report/QuickRpt.h"

#include <QElapsedTimer>
#include <QFile>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTimer>

namespace {

// A slice of background generation: long enough to make pages quickly,
// short enough that the preview stays responsive between slices.
constexpr int sliceMilliseconds = 30;

} // namespace

TQRPrinter::TQRPrinter(TQuickRep* report)
    : QObject(report)
    , report_(report)
    , timer_(new QTimer(this))
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

// Paints the sheets of the ranges (already within the pages), in their
// order, copies times: collated, all of them once per copy; else each sheet
// copies times in a row.
TPrintOutcome::Status TQRPrinter::paintSheets(
    QPagedPaintDevice& device, const QList<QPageRanges::Range>& sheets, int copies, bool collate)
{
    TQRRenderer* renderer = Renderer();
    const auto pages = Pages();
    if (!renderer || !pages)
        return TPrintOutcome::NothingToPrint;
    QPainter painter;
    if (!painter.begin(&device))
        return TPrintOutcome::CannotStart;
    painter.setRenderHint(QPainter::TextAntialiasing);
    // Page layouts here have no margins, so the device's page is the paper.
    // On the report's own paper the sheet fills it; on other paper it is
    // scaled to fit, proportions kept, from the top left corner.
    const QSizeF sheet = pages->SheetSize();
    const double scale = std::min(device.width() / sheet.width(), device.height() / sheet.height());
    const QRectF target(0, 0, sheet.width() * scale, sheet.height() * scale);
    const int times = std::max(1, copies);
    const int outer = collate ? times : 1;
    const int inner = collate ? 1 : times;
    bool first = true;
    for (int copy = 0; copy < outer; ++copy)
        for (const QPageRanges::Range& range : sheets)
            for (int sheetNo = range.from; sheetNo <= range.to; ++sheetNo)
                for (int again = 0; again < inner; ++again) {
                    if (!first) {
                        if (!device.newPage()) {
                            painter.end();
                            return TPrintOutcome::Unfinished;
                        }
                    }
                    first = false;
                    renderer->PaintSheet(painter, sheetNo, target);
                }
    return painter.end() ? TPrintOutcome::Printed : TPrintOutcome::Unfinished;
}

QPageSize TQRPrinter::SheetPaper() const
{
    const auto pages = Pages();
    if (!pages)
        return QPageSize();
    const QSize units = pages->SheetSize();
    return QPageSize(QSizeF(units.width() / 100.0, units.height() / 100.0), QPageSize::Millimeter);
}

namespace {

QPageLayout marginless(const QPageSize& paper, QPageLayout::Orientation orientation)
{
    return QPageLayout(paper, orientation, QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
}

// Why a PDF file would not open: the system's word for it when opening
// the file fails too (a file that was not there is not left behind).
QString fileProblem(const QString& path)
{
    QFile file(path);
    const bool existed = file.exists();
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        return path + QStringLiteral(": ") + file.errorString();
    file.close();
    if (!existed)
        file.remove();
    return path;
}

} // namespace

TPrintOutcome TQRPrinter::printOn(QPrinter& printer, const TPrintSettings& settings)
{
    Complete();
    TPrintOutcome outcome;
    const auto pages = Pages();
    const int count = pages ? pages->SheetCount() : 0;
    // A range that starts past the end prints nothing; one that ends past
    // it prints to the last sheet.
    const QList<QPageRanges::Range> sheets = settings.SheetRanges(count);
    if (sheets.isEmpty()) {
        outcome.Result = TPrintOutcome::NothingToPrint;
        outcome.Detail = settings.PageRanges.isEmpty()
            ? QStringLiteral("%1-%2 / %3")
                  .arg(settings.FromPage <= 0 ? 1 : settings.FromPage)
                  .arg(settings.ToPage > 0 ? settings.ToPage : count)
                  .arg(count)
            : QStringLiteral("%1 / %2").arg(settings.PageRanges.toString()).arg(count);
        return outcome;
    }
    const bool toFile = printer.outputFormat() == QPrinter::PdfFormat;
    outcome.Detail = toFile ? printer.outputFileName() : printer.printerName();
    if (!printer.isValid()) {
        outcome.Result = TPrintOutcome::PrinterMissing;
        return outcome;
    }
    printer.setFullPage(true);
    printer.setPageLayout(settings.Paper.isValid() ? marginless(settings.Paper, settings.Orientation)
                                                   : marginless(SheetPaper(), QPageLayout::Portrait));
    printer.setDocName(report_->ReportTitle());
    // Exactly the sheets of the range are painted: the job itself prints all it gets.
    printer.setPrintRange(QPrinter::AllPages);
    printer.setPageRanges(QPageRanges());
    // A printer that makes copies itself gets the sheets once.
    const int copies = std::max(1, settings.Copies);
    printer.setCopyCount(copies);
    const bool printerCopies
        = copies > 1 && printer.supportsMultipleCopies() && printer.copyCount() == copies;
    if (!printerCopies)
        printer.setCopyCount(1);
    outcome.Result = paintSheets(printer, sheets, printerCopies ? 1 : copies, settings.Collate);
    if (outcome.Result == TPrintOutcome::CannotStart && toFile)
        outcome.Detail = fileProblem(printer.outputFileName());
    if (outcome.Ok()) {
        outcome.FromSheet = sheets.first().from;
        outcome.ToSheet = sheets.last().to;
        outcome.Sheets = sheets;
    }
    return outcome;
}

bool TQRPrinter::Print(QPrinter& printer, int from, int to, int copies)
{
    TPrintSettings settings;
    settings.FromPage = from;
    settings.ToPage = to;
    settings.Copies = copies;
    return printOn(printer, settings).Ok();
}

TPrintOutcome TQRPrinter::Print(const TPrintSettings& settings)
{
    TPrintOutcome outcome;
    if (settings.ToFile()) {
        if (settings.OutputFile.trimmed().isEmpty()) {
            outcome.Result = TPrintOutcome::CannotStart;
            outcome.Detail = QStringLiteral("PDF: -");
            return outcome;
        }
        QPrinter printer(QPrinter::HighResolution);
        ApplyPrintSettings(settings, printer);
        return printOn(printer, settings);
    }
    TPrintSettings chosen = settings;
    const QStringList names = QPrinterInfo::availablePrinterNames();
    if (chosen.PrinterName.isEmpty()) {
        chosen.PrinterName = QPrinterInfo::defaultPrinterName();
        if (chosen.PrinterName.isEmpty() && !names.isEmpty())
            chosen.PrinterName = names.first();
        if (chosen.PrinterName.isEmpty()) {
            outcome.Result = TPrintOutcome::NoPrinter;
            return outcome;
        }
    } else if (!names.contains(chosen.PrinterName)) {
        outcome.Result = TPrintOutcome::PrinterMissing;
        outcome.Detail = chosen.PrinterName;
        return outcome;
    }
    QPrinter printer(QPrinterInfo::printerInfo(chosen.PrinterName), QPrinter::HighResolution);
    ApplyPrintSettings(chosen, printer);
    return printOn(printer, chosen);
}

TPrintOutcome TQRPrinter::PrintWithDialog(TPrintSettings& settings)
{
    Complete();
    TPrintSettings asked = settings;
    asked.PageCount = PageCount();
    if (!asked.Paper.isValid()) {
        asked.Paper = SheetPaper();
        asked.Orientation = QPageLayout::Portrait;
    }
    if (!Dialogs().PrintDialog(asked)) {
        TPrintOutcome cancelled;
        cancelled.Result = TPrintOutcome::Cancelled;
        return cancelled;
    }
    settings = asked;
    return Print(settings);
}

bool TQRPrinter::ExportPdf(const QString& path, int from, int to)
{
    Complete();
    const auto pages = Pages();
    if (!pages || pages->SheetCount() == 0)
        return false;
    QPdfWriter writer(path);
    writer.setResolution(600);
    writer.setPageLayout(marginless(SheetPaper(), QPageLayout::Portrait));
    writer.setTitle(report_->ReportTitle());
    writer.setCreator(report_->Creator());
    from = from <= 0 ? 1 : from;
    to = to <= 0 ? pages->SheetCount() : std::min(to, pages->SheetCount());
    if (from > to)
        return false;
    return paintSheets(writer, {QPageRanges::Range {from, to}}, 1) == TPrintOutcome::Printed;
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
