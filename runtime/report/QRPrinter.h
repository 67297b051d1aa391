#pragma once
// TQRPrinter: the outputs of a report's pages. It drives the generation
// behind a preview (the first page shows while later ones are still being
// made), prints sheets through a QPrinter (copies, page ranges), and writes
// pictures and vector PDF; all of them paint through TQRRenderer.
//
// Page numbers here are sheets (what a preview shows and a printer prints:
// with the half-page style, one sheet holds two report pages), except where
// a name says "report page". They count from 1.

#include "runtime/forms/PrintSettings.h"
#include "runtime/report/QRRenderer.h"

#include <QObject>
#include <QPointer>
#include <memory>

class QPagedPaintDevice;
class QPrinter;
class QTimer;
class TQuickRep;

// What became of a print: printed (which sheets went out), or why not.
struct TPrintOutcome {
    enum Status {
        Printed,
        Cancelled, // the user closed the print dialog
        NothingToPrint, // no pages, or a range past the last sheet
        NoPrinter, // no printer is installed (and no file was chosen)
        PrinterMissing, // the printer named is not there
        CannotStart, // the printer or the file would not open
        Unfinished // the job could not be completed
    };
    Status Result = NothingToPrint;
    // The printer or file concerned, with the system's reason when it gives
    // one; for NothingToPrint the range asked and the sheets there are.
    QString Detail;
    // Printed: the sheets that went out (each copy of them): the first and
    // last, and all of them as ranges (several for a page set like "1,3-4").
    int FromSheet = 0;
    int ToSheet = 0;
    QList<QPageRanges::Range> Sheets;

    bool Ok() const { return Result == Printed; }
};

class TQRPrinter : public QObject {
    Q_OBJECT
public:
    // Owned by report (TQuickRep::QRPrinter() makes it).
    explicit TQRPrinter(TQuickRep* report);
    ~TQRPrinter() override;

    TQuickRep* Report() const { return report_; }
    // The pages of the report's last run (null before any).
    std::shared_ptr<TQRPageModel> Pages() const;
    int PageCount() const;
    int ReportPageCount() const;

    // Starts a run and generates until the first page exists (or the run
    // ended); the rest is generated in slices from the event loop, with
    // PageAvailable after each slice and Finished at the end. Raises as
    // TQuickRep::Start does; false when the run did not start.
    bool GenerateAhead();
    // Generates what is left now (for printing or exporting everything).
    void Complete();
    bool Generating() const;

    // Prints sheets from..to (0 for the first or last) copies times. Returns
    // false when there is nothing to print or the printer cannot start.
    bool Print(QPrinter& printer, int from = 0, int to = 0, int copies = 1);
    // Prints as settings say (generation still running is completed first):
    // to the printer named (empty: the default one, else the first there
    // is) or to the PDF file, the sheets of the range (or ranges), the copies (made by
    // the printer when it can, else painted that often, collated or not),
    // duplex and colour mode, on the paper chosen (the sheet scaled to fit)
    // or on the report's own. Nothing is printed, and the outcome says why,
    // when there is no such printer, none at all, the file or printer will
    // not open, or the range holds no sheet.
    TPrintOutcome Print(const TPrintSettings& settings);
    // The print dialog of the dialog service opened on settings, with the
    // sheets there are and (when settings name none) the report's paper;
    // accepted, settings take the user's choice and Print runs on them.
    // Cancelled, settings stay as they were and nothing is printed.
    TPrintOutcome PrintWithDialog(TPrintSettings& settings);
    // The report's paper: its sheet size, portrait (invalid before a run).
    QPageSize SheetPaper() const;
    // Sheets from..to as a vector PDF file (fonts embedded).
    bool ExportPdf(const QString& path, int from = 0, int to = 0);
    // A picture of a sheet, or of a report page, at dpi.
    QImage SheetImage(int sheet, double dpi = 96);
    QImage ReportPageImage(int page, double dpi = 96);
    // A report page saved as a picture file; the format follows the suffix
    // (bmp, jpg, png, gif when Qt has a writer for it).
    bool SaveReportPage(int page, const QString& path, double dpi = 96);

    // The renderer of the current pages (remade when a new run starts).
    TQRRenderer* Renderer();

signals:
    void PageAvailable(int sheets);
    void Finished();

private:
    void generateSlice();
    TPrintOutcome::Status paintSheets(
        QPagedPaintDevice& device, const QList<QPageRanges::Range>& sheets, int copies, bool collate = true);
    TPrintOutcome printOn(QPrinter& printer, const TPrintSettings& settings);

    TQuickRep* report_;
    std::unique_ptr<TQRRenderer> renderer_;
    std::shared_ptr<TQRPageModel> rendered_;
    QTimer* timer_;
};
