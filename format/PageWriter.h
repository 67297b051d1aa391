#pragma once
// Writes the generated pages of a report as files: one picture per page
// (BMP, JPG, GIF, or a PDF holding that picture), or the whole report as one
// vector PDF.
//
// In: a report whose pages its printer has generated (or is generating: the
// writer completes the generation first), and the settings below.
//
// Picture pages (the page kinds of OutputKind.h: BMP, JPG, GIF, PDF):
// - page n is placed by PictureGeometry (PageGeometry.h) from the report's
//   Page.Values, the resolution and the two keep-margin switches; half-page
//   reports write logical page n from half of report page (n + 1) / 2;
// - baseName gets the extension of its kind, and the kind's writer makes
//   the file: Qt's image writer (BMP), the picture library (JPG and GIF,
//   PictureLibrary.h, looked up from ClientHome) or a one-page PDF;
// - the whole-report kind is no page kind: WritePage refuses it;
// - a PDF page is exactly the picture's size: its image covers the whole
//   MediaBox, at the picture's resolution (a 96-dpi Letter page is 612 x 792
//   points);
// - a file appears whole or not at all; a page the report does not have
//   writes nothing and fails.
// Nothing raises: a failure answers false and LastError() says why.
//
// Several pages: the progress is told before each page and asked whether to
// stop; a cancelled or failed run of recipient pages deletes every file it
// wrote, a cancelled or failed run of all pages keeps the pages written so
// far (they are whole) and reports false.
//
// The vector PDF paints every page through the report renderer into one
// document (texts stay text, fonts embedded), written beside the target and
// renamed into place when whole.
//
// The report, its printer and the pages are not changed, except that a
// generation still running is completed.

#include "SendList.h"
#include "options/OutputKind.h"

#include <QString>
#include <QStringList>
#include <functional>

class TQuickRep;

struct TPageWriterSettings {
    int Resolution = 96; // dots per inch; below 1 means 96
    bool KeepLeftMargin = true;
    bool KeepTopMargin = true;
    QString ClientHome; // the client home, where C_HVBIN holds the picture library
};

// Progress of a run of several pages (the "转图档中" dialog, or a console).
class IPageWriteProgress {
public:
    virtual ~IPageWriteProgress();
    virtual void Start(int count) = 0;
    virtual void Progress(int done, int count) = 0;
    virtual bool Cancelled() const = 0;
};

class TPageWriter {
public:
    explicit TPageWriter(TQuickRep& report);

    TPageWriterSettings Settings;

    // Logical page count: report pages, or sheets' halves for half pages
    // (the same number: every report page is one logical page).
    int PageCount() const;

    // Page n (from 1) as a page kind to baseName + extension; written: the file made.
    bool WritePage(const QString& baseName, TOutputKind kind, int page, QString* written = nullptr);

    // Pages 1 .. count as NumberedName(prefix, i, count) + extension; count
    // 0 means every page. files: every file written, in page order.
    bool WriteAllPages(
        const QString& prefix, TOutputKind kind, int count, IPageWriteProgress* progress, QStringList* files);

    // The recipient's pages as baseName + page number + extension; after
    // each page, countPrint runs for each of the recipient's groups on that
    // page that counts prints (TSendGroup::CountsPrints). On failure or
    // Cancel no file of the run is left.
    bool WriteRecipientPages(const TSendRecipient& recipient, const QString& baseName, TOutputKind kind,
        IPageWriteProgress* progress, const std::function<void(const TSendGroup&)>& countPrint,
        QStringList& files);

    // Every page as one vector PDF at path.
    bool WriteVectorPdf(const QString& path, const QString& title = QString());

    QString LastError() const { return lastError_; }

private:
    TQuickRep& report_;
    QString lastError_;
};
