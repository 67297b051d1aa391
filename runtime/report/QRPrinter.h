#pragma once
// TQRPrinter: the outputs of a report's pages. It drives the generation
// behind a preview (the first page shows while later ones are still being
// made), prints sheets through a QPrinter (copies, page ranges), and writes
// pictures and vector PDF; all of them paint through TQRRenderer.
//
// Page numbers here are sheets (what a preview shows and a printer prints:
// with the half-page style, one sheet holds two report pages), except where
// a name says "report page". They count from 1.

#include "runtime/report/QRRenderer.h"

#include <QObject>
#include <QPointer>
#include <memory>

class QPrinter;
class QTimer;
class TQuickRep;

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
    // The printer dialog of the dialog service (printer and copies), then
    // Print on that printer; false when cancelled.
    bool PrintSetupAndPrint();
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
    bool paintSheets(QPaintDevice& device, QPrinter* printer, int from, int to, int copies);

    TQuickRep* report_;
    std::unique_ptr<TQRRenderer> renderer_;
    std::shared_ptr<TQRPageModel> rendered_;
    QTimer* timer_;
};
