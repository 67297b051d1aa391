#include "runtime/forms/PrintSettings.h"

#include <QPrinter>

#include <algorithm>

TPrintSettings TPrintSettings::DestinationOnly() const
{
    TPrintSettings destination;
    destination.Output = Output;
    destination.PrinterName = PrinterName;
    destination.OutputFile = OutputFile;
    return destination;
}

QList<QPageRanges::Range> TPrintSettings::SheetRanges(int count) const
{
    QList<QPageRanges::Range> sheets;
    const auto add = [&](int from, int to) {
        from = std::max(1, from);
        to = std::min(to, count);
        if (from <= to)
            sheets << QPageRanges::Range {from, to};
    };
    if (!PageRanges.isEmpty()) {
        // QPageRanges keeps its ranges sorted and merged.
        for (const QPageRanges::Range& range : PageRanges.toRangeList())
            add(range.from, range.to);
    } else {
        add(FromPage <= 0 ? 1 : FromPage, ToPage <= 0 ? count : ToPage);
    }
    return sheets;
}

QString TPrintSettings::DestinationText() const
{
    return ToFile() ? QStringLiteral("PDF: ") + OutputFile : PrinterName;
}

void ApplyPrintSettings(const TPrintSettings& settings, QPrinter& printer)
{
    if (settings.ToFile()) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(settings.OutputFile);
    } else {
        // An output file name turns any printer into a PDF writer: clear it first.
        printer.setOutputFileName(QString());
        printer.setOutputFormat(QPrinter::NativeFormat);
        if (!settings.PrinterName.isEmpty())
            printer.setPrinterName(settings.PrinterName);
    }
    printer.setCopyCount(std::max(1, settings.Copies));
    printer.setCollateCopies(settings.Collate);
    switch (settings.Duplex) {
    case TPrintSettings::DuplexMode::Simplex:
        printer.setDuplex(QPrinter::DuplexNone);
        break;
    case TPrintSettings::DuplexMode::LongSide:
        printer.setDuplex(QPrinter::DuplexLongSide);
        break;
    case TPrintSettings::DuplexMode::ShortSide:
        printer.setDuplex(QPrinter::DuplexShortSide);
        break;
    case TPrintSettings::DuplexMode::Default:
        break;
    }
    switch (settings.Color) {
    case TPrintSettings::ColorMode::Color:
        printer.setColorMode(QPrinter::Color);
        break;
    case TPrintSettings::ColorMode::GrayScale:
        printer.setColorMode(QPrinter::GrayScale);
        break;
    case TPrintSettings::ColorMode::Default:
        break;
    }
    if (settings.AllPages()) {
        printer.setPrintRange(QPrinter::AllPages);
        printer.setPageRanges(QPageRanges());
    } else if (!settings.PageRanges.isEmpty()) {
        printer.setPrintRange(QPrinter::PageRange);
        printer.setPageRanges(settings.PageRanges);
    } else {
        const int from = std::max(1, settings.FromPage);
        // QPrinter has no open end: a range to "the last sheet" ends at the count, when known.
        const int to = settings.ToPage > 0 ? settings.ToPage : std::max(from, settings.PageCount);
        printer.setPrintRange(QPrinter::PageRange);
        printer.setFromTo(from, std::max(from, to));
    }
    if (settings.Paper.isValid()) {
        printer.setPageSize(settings.Paper);
        printer.setPageOrientation(settings.Orientation);
    }
}

TPrintSettings PrintSettingsOf(const QPrinter& printer)
{
    TPrintSettings settings;
    // Without any printer Qt turns a native printer into a PDF writer with no
    // file: that is still no choice of a file.
    if (printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty()) {
        settings.Output = TPrintSettings::Destination::PdfFile;
        settings.OutputFile = printer.outputFileName();
    } else {
        settings.PrinterName = printer.printerName();
    }
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
        settings.FromPage = printer.fromPage();
        settings.ToPage = printer.toPage();
        // The page-set text of the print dialog ("1,3-4") comes as ranges;
        // fromPage and toPage only span them.
        const QPageRanges ranges = printer.pageRanges();
        if (ranges.toRangeList().size() > 1)
            settings.PageRanges = ranges;
    }
    settings.Copies = std::max(1, printer.copyCount());
    settings.Collate = printer.collateCopies();
    switch (printer.duplex()) {
    case QPrinter::DuplexNone:
        settings.Duplex = TPrintSettings::DuplexMode::Simplex;
        break;
    case QPrinter::DuplexLongSide:
        settings.Duplex = TPrintSettings::DuplexMode::LongSide;
        break;
    case QPrinter::DuplexShortSide:
        settings.Duplex = TPrintSettings::DuplexMode::ShortSide;
        break;
    case QPrinter::DuplexAuto:
        settings.Duplex = TPrintSettings::DuplexMode::Default;
        break;
    }
    settings.Color = printer.colorMode() == QPrinter::GrayScale ? TPrintSettings::ColorMode::GrayScale
                                                                : TPrintSettings::ColorMode::Color;
    const QPageLayout layout = printer.pageLayout();
    settings.Paper = layout.pageSize();
    settings.Orientation = layout.orientation();
    return settings;
}
