#pragma once
// The report component and its bands.
//
// TQuickRep is the report: its page setup (TQRPage), the bands it holds as
// children, the data source of its detail rows and the events of a run.
// Bands are children of the report; report controls are children of bands.
// All of them are ordinary components, so the form description reader and
// writer handle them like any control, and none needs a widget to print.
//
// Geometry: Left, Top, Width and Height of bands and controls are design
// pixels at the report's Zoom (100 = 96 pixels per inch), as the designer
// shows them; Page.Values hold the page in tenths of a millimetre. Changing
// Zoom rescales the design pixels, so what prints does not move. The page
// model of a run is in device-independent units (QRPageModel.h).
//
// A run (Prepare, or the incremental generation behind the preview) walks the
// rows of the main data source and prints bands in the usual banded order:
// title, page header and column header on a new page; for each row the group
// headers whose expression changed (their footers first), the detail band;
// after the last row the open group footers and the summary; the page footer
// at the end of each page. A band's BeforePrint may refuse the band for this
// row; AfterPrint hears whether it printed. Child bands print right after
// their parent band. Disabled bands never print.
//
// Slip pages: when PageStartBand, PageDetailBand and PageAttachDetailBand are
// set, each page of a group is a slip page: the page-start band (a group
// header) opens every page, also when the group goes on from the previous
// page; every printed page-detail band makes the attached band (the group's
// footer) lower by the detail band's design height, and its height may go
// negative when the body area is full; a page-detail band that its
// BeforePrint refuses while the attached band's height was negative ends the
// page: the attached band and the page-end band print, and a new page starts
// with the page-start band again. The attached band gets its design height
// back on each new page and after the run. A band of negative height prints
// with none. With PageStyle psHalfPage two such report pages share one sheet.

#include "runtime/forms/Controls.h"
#include "runtime/report/QRDataSource.h"
#include "runtime/report/QRSize.h"
#include "runtime/report/QRTypes.h"

#include <QList>
#include <QPointer>
#include <functional>
#include <memory>

class TQRCustomBand;
class TQRGroup;
class TQRPageModel;
class TQRPrinter;
class TQRGenerator;

ZORV_EXCEPTION_CLASS(EQRError, Exception)

// Page setup. Values, in tenths of a millimetre, are indexed as stored:
// 0 bottom margin, 1 length, 2 left margin, 3 width, 4 right margin,
// 5 top margin, 6 column space. Choosing a paper size (other than Custom)
// sets length and width for the orientation; changing the orientation swaps
// them; setting Values keeps the paper size named.
class TQRPage : public TPersistent {
    Q_OBJECT
    Q_PROPERTY(QList<double> Values READ Values WRITE SetValues)
    Q_PROPERTY(Qrpt::TQRPaperSize PaperSize READ PaperSize WRITE SetPaperSize)
    Q_PROPERTY(Qrpt::TPrinterOrientation Orientation READ Orientation WRITE SetOrientation)
    Q_PROPERTY(int Columns READ Columns WRITE SetColumns)
public:
    explicit TQRPage(QObject* parent = nullptr);

    static constexpr int ValueCount = 7;
    enum Index { BottomMargin, Length, LeftMargin, Width, RightMargin, TopMargin, ColumnSpace };

    QList<double> Values() const { return values_; }
    // Takes up to seven values; missing ones keep their value.
    void SetValues(const QList<double>& values);
    double Value(int index) const { return index >= 0 && index < ValueCount ? values_[index] : 0; }
    void SetValue(int index, double value);
    TQRPaperSize PaperSize() const { return paperSize_; }
    void SetPaperSize(TQRPaperSize size);
    TPrinterOrientation Orientation() const { return orientation_; }
    void SetOrientation(TPrinterOrientation orientation);
    int Columns() const { return columns_; }
    void SetColumns(int columns) { SetField(columns_, std::max(1, columns)); }

    void Assign(const TPersistent* source) override;

private:
    QList<double> values_ {100, 2794, 100, 2159, 100, 100, 0};
    TQRPaperSize paperSize_ = Letter;
    TPrinterOrientation orientation_ = poPortrait;
    int columns_ = 1;
};

// The name of a paper size as the preview's size list shows it ("Letter").
QString QRPaperSizeName(TQRPaperSize size);
// Portrait width and length of a paper size in tenths of a millimetre
// (Default is Letter; Custom gives 0 x 0).
QSizeF QRPaperSizeTenthMM(TQRPaperSize size);
// The unit names of the preview ("MM", "Inches", ...).
QString QRUnitName(TQRUnit unit);

class TQuickRep : public TWinControl {
    Q_OBJECT
    Q_PROPERTY(TQRPage* Page READ Page WRITE SetPage)
    Q_PROPERTY(TPicture* Background READ Background WRITE SetBackground)
    Q_PROPERTY(Qrpt::TQRUnit Units READ Units WRITE SetUnits)
    Q_PROPERTY(int Zoom READ Zoom WRITE SetZoom)
    Q_PROPERTY(QString DataSet READ DataSet WRITE SetDataSet)
    Q_PROPERTY(Qrpt::TQROptions Options READ Options WRITE SetOptions)
    Q_PROPERTY(bool PrintIfEmpty READ PrintIfEmpty WRITE SetPrintIfEmpty)
    Q_PROPERTY(bool SnapToGrid READ SnapToGrid WRITE SetSnapToGrid)
    Q_PROPERTY(QString ReportTitle READ ReportTitle WRITE SetReportTitle)
    Q_PROPERTY(TQRCustomBand* PageStartBand READ PageStartBand WRITE SetPageStartBand)
    Q_PROPERTY(TQRCustomBand* PageDetailBand READ PageDetailBand WRITE SetPageDetailBand)
    Q_PROPERTY(TQRCustomBand* PageAttachDetailBand READ PageAttachDetailBand WRITE SetPageAttachDetailBand)
    Q_PROPERTY(TQRCustomBand* PageEndBand READ PageEndBand WRITE SetPageEndBand)
    Q_PROPERTY(Qrpt::TQRPageStyle PageStyle READ PageStyle WRITE SetPageStyle)
    Q_PROPERTY(TCloseQueryEvent BeforePrint READ BeforePrint WRITE SetBeforePrint)
    Q_PROPERTY(TNotifyEvent OnStartPage READ OnStartPage WRITE SetOnStartPage)
    Q_PROPERTY(TNotifyEvent OnEndPage READ OnEndPage WRITE SetOnEndPage)
    Q_PROPERTY(TNotifyEvent AfterPrint READ AfterPrint WRITE SetAfterPrint)
public:
    explicit TQuickRep(TComponent* owner = nullptr);
    ~TQuickRep() override;

    TQRPage* Page() const { return page_; }
    void SetPage(TQRPage* page) { page_->Assign(page); }
    // A picture printed behind everything else, over the whole of each
    // report page (a printed form the fields fill in). A picture that
    // cannot be read prints nothing and leaves a warning.
    TPicture* Background() const { return background_; }
    void SetBackground(TPicture* picture) { background_->Assign(picture); }
    TQRUnit Units() const { return units_; }
    void SetUnits(TQRUnit units) { units_ = units; }
    int Zoom() const { return zoom_; }
    // 10 .. 400; rescales the design pixels of the bands and controls.
    void SetZoom(int zoom);
    QString DataSet() const { return dataSet_; }
    // The name of the main data source (see AddDataSource).
    void SetDataSet(const QString& name) { dataSet_ = name; }
    TQROptions Options() const { return options_; }
    void SetOptions(TQROptions options) { options_ = options; }
    bool PrintIfEmpty() const { return printIfEmpty_; }
    void SetPrintIfEmpty(bool value) { printIfEmpty_ = value; }
    bool SnapToGrid() const { return snapToGrid_; }
    void SetSnapToGrid(bool value) { snapToGrid_ = value; }
    QString ReportTitle() const { return reportTitle_; }
    void SetReportTitle(const QString& title) { reportTitle_ = title; }
    // The program that makes the report, named as the creator of the PDF
    // documents it writes; not part of a stored layout.
    QString Creator() const { return creator_; }
    void SetCreator(const QString& creator) { creator_ = creator; }
    TQRCustomBand* PageStartBand() const { return pageStartBand_; }
    void SetPageStartBand(TQRCustomBand* band) { pageStartBand_ = band; }
    TQRCustomBand* PageDetailBand() const { return pageDetailBand_; }
    void SetPageDetailBand(TQRCustomBand* band) { pageDetailBand_ = band; }
    TQRCustomBand* PageAttachDetailBand() const { return pageAttachBand_; }
    void SetPageAttachDetailBand(TQRCustomBand* band) { pageAttachBand_ = band; }
    TQRCustomBand* PageEndBand() const { return pageEndBand_; }
    void SetPageEndBand(TQRCustomBand* band) { pageEndBand_ = band; }
    TQRPageStyle PageStyle() const { return pageStyle_; }
    void SetPageStyle(TQRPageStyle style) { pageStyle_ = style; }
    TCloseQueryEvent BeforePrint() const { return beforePrint_; }
    void SetBeforePrint(const TCloseQueryEvent& handler) { beforePrint_ = handler; }
    TNotifyEvent OnStartPage() const { return onStartPage_; }
    void SetOnStartPage(const TNotifyEvent& handler) { onStartPage_ = handler; }
    TNotifyEvent OnEndPage() const { return onEndPage_; }
    void SetOnEndPage(const TNotifyEvent& handler) { onEndPage_ = handler; }
    TNotifyEvent AfterPrint() const { return afterPrint_; }
    void SetAfterPrint(const TNotifyEvent& handler) { afterPrint_ = handler; }

    // Data sources by name (not owned; they must outlive the runs). The one
    // named by DataSet drives the detail rows; the others are read by field
    // references such as ClientDataSet2.XX001. A source given without a name
    // through SetDataSource is the main one whatever DataSet says.
    void AddDataSource(const QString& name, TQRDataSource* source);
    void RemoveDataSource(const QString& name);
    TQRDataSource* FindDataSource(const QString& name) const;
    void SetDataSource(TQRDataSource* source) { mainSource_ = source; }
    // The source of the detail rows, null when none is set.
    TQRDataSource* MainSource() const;

    // The bands in print order of their kind, then in child order.
    QList<TQRCustomBand*> Bands() const;

    // Generates every page (the previous pages are dropped). Returns false
    // when BeforePrint refused the run or progress cancelled it; raises
    // EQRError (or EQRExprError) for a report that cannot run: a page of no
    // size, margins that leave no room, an expression that does not parse, a
    // field its data set lacks.
    bool Prepare();
    // Called during generation with the pages done and the rows read of the
    // rows known; answering false cancels the run.
    using ProgressHandler = std::function<bool(int pages, int rows, int rowCount)>;
    void SetProgressHandler(ProgressHandler handler) { progress_ = std::move(handler); }
    const ProgressHandler& Progress() const { return progress_; }

    // Incremental generation, for showing the first page before the last one
    // is made: Start prepares a run (raising as Prepare does; false when
    // BeforePrint refused it), each Step makes at least one more page or
    // finishes, and Generating() is true until the run ended or was cancelled.
    bool Start();
    bool Step();
    bool Generating() const;
    void Cancel();
    bool Cancelled() const { return cancelled_; }

    // The pages of the last run (empty before one). Shared, so a preview or
    // printer keeps them alive after the report is freed.
    std::shared_ptr<TQRPageModel> Pages() const { return pages_; }
    // What the last run could not print ("QRDBText1: field TO099 not found").
    QStringList Warnings() const;
    // Page number within the run (1 on the first page), for band handlers.
    int PageNumber() const { return pageNumber_; }
    // Print (or preview) destination that owns the pages' outputs.
    TQRPrinter* QRPrinter();

    // Design pixels to device-independent units (hundredths of a millimetre).
    double PixelsToUnits(double pixels) const { return pixels * 2540.0 / 96.0 * 100.0 / zoom_; }
    double UnitsToPixels(double units) const { return units * 96.0 / 2540.0 * zoom_ / 100.0; }

protected:
    QWidget* CreateWidget(QWidget* parent) override;
    TColor DefaultColor() const override { return clWhite; }

private:
    friend class TQRGenerator;
    void finishRun();

    TQRPage* page_;
    TPicture* background_;
    TQRUnit units_ = MM;
    int zoom_ = 100;
    QString dataSet_;
    TQROptions options_;
    bool printIfEmpty_ = true;
    bool snapToGrid_ = true;
    QString reportTitle_;
    QString creator_;
    QPointer<TQRCustomBand> pageStartBand_;
    QPointer<TQRCustomBand> pageDetailBand_;
    QPointer<TQRCustomBand> pageAttachBand_;
    QPointer<TQRCustomBand> pageEndBand_;
    TQRPageStyle pageStyle_ = psNormal;
    TCloseQueryEvent beforePrint_;
    TNotifyEvent onStartPage_;
    TNotifyEvent onEndPage_;
    TNotifyEvent afterPrint_;

    QList<QPair<QString, TQRDataSource*>> sources_;
    TQRDataSource* mainSource_ = nullptr;
    ProgressHandler progress_;
    std::unique_ptr<TQRGenerator> generator_;
    std::shared_ptr<TQRPageModel> pages_;
    TQRPrinter* printer_ = nullptr;
    int pageNumber_ = 0;
    bool cancelled_ = false;
};

// A band: a horizontal strip of report controls printed as one piece.
class TQRCustomBand : public TWinControl {
    Q_OBJECT
    Q_PROPERTY(TQRBandBeforePrintEvent BeforePrint READ BeforePrint WRITE SetBeforePrint)
    Q_PROPERTY(TQRBandAfterPrintEvent AfterPrint READ AfterPrint WRITE SetAfterPrint)
    Q_PROPERTY(bool ForceNewPage READ ForceNewPage WRITE SetForceNewPage)
    Q_PROPERTY(TQRSize* Size READ Size WRITE SetSize)
public:
    explicit TQRCustomBand(TComponent* owner = nullptr);

    // Position and size in report units.
    TQRSize* Size() const { return size_; }
    void SetSize(TQRSize* size) { size_->Assign(size); }

    // A band's height may go negative (the attached band of a slip page does
    // when the body area is full), so the band keeps its own signed height;
    // the control's bounds (and the published Height) hold it clamped at 0.
    // Use these through the band.
    int Height() const { return height_; }
    void SetHeight(int value);
    void SetBounds(int left, int top, int width, int height) override;

    virtual TQRBandType BandType() const { return bandType_; }
    TQRBandBeforePrintEvent BeforePrint() const { return beforePrint_; }
    void SetBeforePrint(const TQRBandBeforePrintEvent& handler) { beforePrint_ = handler; }
    TQRBandAfterPrintEvent AfterPrint() const { return afterPrint_; }
    void SetAfterPrint(const TQRBandAfterPrintEvent& handler) { afterPrint_ = handler; }
    bool ForceNewPage() const { return forceNewPage_; }
    void SetForceNewPage(bool value) { forceNewPage_ = value; }

    // The report this band stands on, null when it stands on none.
    TQuickRep* ParentReport() const;
    // During a run: how much higher than its design the band printed the last
    // time (design pixels; 0 when it did not stretch).
    int Stretch() const { return stretch_; }
    // The height the band had when the run started (the attached band of a
    // slip page changes its own Height during a run).
    int DesignHeight() const { return designHeight_; }

protected:
    QWidget* CreateWidget(QWidget* parent) override;
    TColor DefaultColor() const override { return clWhite; }
    TQRBandType bandType_ = rbDetail;

private:
    friend class TQRGenerator;
    TQRBandBeforePrintEvent beforePrint_;
    TQRBandAfterPrintEvent afterPrint_;
    bool forceNewPage_ = false;
    int stretch_ = 0;
    int designHeight_ = 0;
    int height_ = 0;
    TQRSize* size_;
};

class TQRBand : public TQRCustomBand {
    Q_OBJECT
    Q_PROPERTY(Qrpt::TQRBandType BandType READ BandType WRITE SetBandType)
public:
    using TQRCustomBand::TQRCustomBand;
    void SetBandType(TQRBandType type) { bandType_ = type; }
};

// A band printed right after its parent band, whenever the parent printed.
class TQRChildBand : public TQRCustomBand {
    Q_OBJECT
    Q_PROPERTY(TQRCustomBand* ParentBand READ ParentBand WRITE SetParentBand)
public:
    explicit TQRChildBand(TComponent* owner = nullptr);
    TQRCustomBand* ParentBand() const { return parentBand_; }
    void SetParentBand(TQRCustomBand* band) { parentBand_ = band; }

private:
    QPointer<TQRCustomBand> parentBand_;
};

// A group header: printed when its Expression changes from one row to the
// next (and on the first row); its FooterBand prints on the last row of the
// group. Groups nest in child order: the first group is the outermost.
// ReprintOnNewPage prints the header again at the top of every page the
// group goes on to.
class TQRGroup : public TQRCustomBand {
    Q_OBJECT
    Q_PROPERTY(QString Expression READ Expression WRITE SetExpression)
    Q_PROPERTY(TQRCustomBand* FooterBand READ FooterBand WRITE SetFooterBand)
    Q_PROPERTY(bool ReprintOnNewPage READ ReprintOnNewPage WRITE SetReprintOnNewPage)
public:
    bool ReprintOnNewPage() const { return reprint_; }
    void SetReprintOnNewPage(bool value) { reprint_ = value; }
    explicit TQRGroup(TComponent* owner = nullptr);
    QString Expression() const { return expression_; }
    void SetExpression(const QString& text) { expression_ = text; }
    TQRCustomBand* FooterBand() const { return footerBand_; }
    void SetFooterBand(TQRCustomBand* band) { footerBand_ = band; }

private:
    QString expression_;
    QPointer<TQRCustomBand> footerBand_;
    bool reprint_ = false;
};
