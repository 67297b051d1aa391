#pragma once
// TPrintSettings: the whole answer of a print or printer-setup dialog as one
// value — where the print goes (a printer by name, or a PDF file), which
// sheets, how many copies and how they are made — so that what the user
// chose travels unchanged from the dialog service to the report printer.
//
// ApplyPrintSettings puts a value on a QPrinter (a dialog's starting point,
// or the printer a report prints on); PrintSettingsOf reads back what a
// QPrinter carries after a dialog worked on it. Both leave the page layout's
// margins and the resolution alone.

#include <QList>
#include <QPageLayout>
#include <QPageRanges>
#include <QPageSize>
#include <QString>

class QPrinter;

struct TPrintSettings {
    enum class Destination { Printer, PdfFile };
    // Default: what the printer itself is set to.
    enum class DuplexMode { Default, Simplex, LongSide, ShortSide };
    enum class ColorMode { Default, Color, GrayScale };

    Destination Output = Destination::Printer;
    // With Printer: the queue's name; empty names the system's default printer.
    QString PrinterName;
    // With PdfFile: the file written (an existing one is replaced).
    QString OutputFile;
    // Sheets, counted from 1. 0 and 0 print every sheet; a FromPage alone
    // runs to the last sheet; a range past the last sheet ends there.
    int FromPage = 0;
    int ToPage = 0;
    // Several ranges of sheets (a print dialog's "1,3-4"): when not empty,
    // exactly these sheets print, in ascending order, each once, and
    // FromPage and ToPage are left aside (PrintSettingsOf sets them to the
    // first and last sheet of the ranges).
    QPageRanges PageRanges;
    int Copies = 1;
    bool Collate = true;
    DuplexMode Duplex = DuplexMode::Default;
    ColorMode Color = ColorMode::Default;
    // The paper to print on; invalid: the report's own paper. A report on
    // other paper is scaled to fit it, keeping its proportions.
    QPageSize Paper;
    QPageLayout::Orientation Orientation = QPageLayout::Portrait;

    // Given to a dialog, not chosen in it: the sheets there are, so a page
    // range can be offered (0: unknown, no range offered).
    int PageCount = 0;

    bool ToFile() const { return Output == Destination::PdfFile; }
    bool AllPages() const { return PageRanges.isEmpty() && FromPage <= 0 && ToPage <= 0; }
    // The sheets to print out of count sheets, as ascending ranges that do
    // not overlap, each ending at count at the latest; empty when none of
    // the sheets asked for is there.
    QList<QPageRanges::Range> SheetRanges(int count) const;
    // Only where the print goes (printer or file), as a window keeps it for
    // its next run: range, copies and the rest belong to one print.
    TPrintSettings DestinationOnly() const;
    // The destination in words: the printer's name, "PDF: <file>", or an
    // empty text for the default printer.
    QString DestinationText() const;
};

// printer takes settings' destination, copies, collation, duplex, colour,
// page range (or ranges) and (when valid) paper and orientation.
void ApplyPrintSettings(const TPrintSettings& settings, QPrinter& printer);
// What printer carries: destination, range (when it prints a page range;
// several ranges as PageRanges), copies, collation, duplex, colour, paper
// and orientation.
TPrintSettings PrintSettingsOf(const QPrinter& printer);
