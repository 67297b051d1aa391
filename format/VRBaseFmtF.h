#pragma once
// TfrmVRBaseFmt: the printable report of a print program. It holds the
// report QuickRep1 over two client data sets (ClientDataSet1 on provider
// "Provider1", ClientDataSet2 on "Provider2"), binds the print conversions
// of its data texts, generates pages for print and preview, registers the
// recipients of a send run while the report prints, writes page pictures and
// sends them, and counts prints. The options window drives it through
// IVRFormatForm (options/VRFormatForm.h) only.
//
// In: the context (SetContext) before PrepareData; PrepareData before
// OpenData; OpenData before Print, Preview or PreparePages.
// Guaranteed:
// - no print conversion raises; what one cannot read prints unchanged;
// - a run starts with a cleared print counter, page marks and send list;
// - Print/Preview/PreparePages answer (or leave) nothing half done: a
//   cancelled generation prints nothing and shows no preview;
// - the options window is not kept: only its connection, server object and
//   look-ups from the context, which outlive this form.
// - stored formats: the format named by SetFormatName is read from the
//   format store (TFormatStore) when SetContext names the server (so the
//   name comes first), before PrepareData and the data, so every print,
//   preview, export and paper look of that name uses it; the built-in layout stays when none is stored or the
//   stored text is refused;
// - the first SetContext converts the layout's own texts (caption labels and
//   the like) to the user's code page, as showing a form does; texts set
//   later (company, notes, sign-off lines) and a stored format's texts
//   arrive in the user's code page already;
// - design: BeginDesign starts the layout designer (DreamDesigner1, pop-up
//   menu PopupMenu1, query builder SQLReBuilder, wired by TFormatDesign);
//   when the designer stops (saved or not) the context's DesignerClosed
//   runs from the event loop, never inside the designer's own call.
// Left alone: the data sets' rows (the report only reads them).

#include "common/forms/HVForm.h"
#include "format/PrintBinder.h"
#include "format/PrintCounts.h"
#include "format/SendList.h"
#include "format/SendRun.h"
#include "options/VRFormatForm.h"
#include "runtime/report/QuickRpt.h"

#include <memory>

class QPrinter;
struct TPrintOutcome;
class ReportQueryBuilder;
class TDreamDesigner;
class TFormatDesign;
class TFormatStore;
class TLinkPlannerData;
class TPopupMenu;
struct TPageWriterSettings;
class TClientDataSet;
class TMemo;
class TQRDataSetSource;
class TQRLabel;
class TQuickRep;
class TfrmEmailSubject;
class ReportDBBarcode;

class TfrmVRBaseFmt : public THVForm, public IVRFormatForm, public IRecipientPages {
    Q_OBJECT
public:
    explicit TfrmVRBaseFmt(TComponent* owner = nullptr);
    ~TfrmVRBaseFmt() override;

    // --- virtual operations, in their fixed order ---------------------------
    // Print handler of text type 4; the base prints the text unchanged.
    virtual void OnAsteriskPrint(TObject* Sender, QString& Value);
    // Attaches the data sets to the options window's connection.
    void PrepareData() override;
    // Opens the report data: ClientDataSet1 with the statement as its data
    // request; 1 with rows, 0 without (the data set closed again), -1 when
    // the statement failed. A program whose layout reads more sets opens them here.
    int OpenData(const QString& sql) override;
    // The DB conversion handler: the printed text in the display code page.
    virtual void OnConvertPrint(TObject* Sender, QString& Value);
    virtual QString ChineseAmount(const QString& text);
    virtual QString ChineseGroup(const QString& digits);
    // The option snapshot stored with a format (empty: this form has none of its own).
    virtual QString GetOptionSnapshot();
    virtual void BeforeDesign();
    // The query builder (SQLReBuilder) takes parts only when the layout
    // relates tables to the report (extended fields).
    bool AcceptQueryParts(const TQueryParts& parts) override;
    virtual bool IsQueryEmpty();
    void SetQueryParts(const TQueryParts& parts, bool designer) override;
    virtual void InitQueryBuilder(const QString& select, const QString& from, const QString& where,
        const QString& orderBy, const QString& groupBy);
    // The relation wizard on the builder, also without extended fields.
    virtual void RunLinkPlanner();
    // A control made in the designer gets what a built-in one has.
    virtual void SetupExtendedBarcode(ReportDBBarcode* barcode);
    virtual void SetupExtendedText(ReportDBText* text);
    virtual void SetupNewLabel(TQRLabel* label);
    // "TABLE.FIELD" of every data control on the layout, comma-separated, in layout order.
    virtual QString ListLayoutFields();
    QString GetFinalQuery(const QString& sql) override;

    // --- the rest of IVRFormatForm -----------------------------------------
    // The name of the stored format to use ("<New>": the built-in layout).
    void SetFormatName(const QString& storageName) override;
    // The store's name: the one given, or the one a save in the designer chose.
    QString FormatName() const;
    void SetContext(const TFormatContext& context) override;
    const TFormatContext& Context() const { return context_; }
    bool QueryBuilderActive() const override;
    void SetQueryBuilderMode(bool on) override;
    void UnbindExtendedFields() override;
    void ClearField(const QString& dataField) override;
    // The pages generated in print mode, then PrintPages on the run's printer
    // (Printing). No printer at all (and no file chosen): E;000040, before
    // any page is made.
    bool Print() override;
    void Preview() override;
    int PrinterIndex() const override { return context_.PrinterIndex; }
    TPrintSettings Printing() const override { return context_.Printing; }
    void SetResolution(int dotsPerInch) override { Resolution = dotsPerInch; }
    bool PreparePages() override;
    bool Export(const TExportTarget& target) override;
    void BeginDesign(const TDesignContext& context) override;
    void EndDesign() override;
    TPaperInfo PaperInfo() const override;

    // --- stored formats and design ----------------------------------------
    // The designer's load event and the print runs' load: the page picture
    // and the stored format of FormatName, read once per form (the designer
    // opening on a form already loaded keeps what it has). Done is set.
    virtual void DreamDesigner1LoadChanges(TObject* Sender, bool& Done);
    TFormatStore* Store() const { return store_.get(); }
    TFormatDesign* Design() const { return design_.get(); }
    bool DesignActive() const;

    // --- generation ---------------------------------------------------------
    // Every page with the progress window (Cancel stops); false when the run
    // was refused or cancelled. Other windows are disabled meanwhile.
    bool GeneratePages();
    // The generated pages on printer (completing a generation still running);
    // false when there is nothing to print or the printer cannot start.
    bool PrintTo(QPrinter& printer);
    // The generated pages (a generation still running is completed) as
    // settings say. Printed: the slips on the sheets that went out are
    // counted once each, and the destination becomes the run's printer
    // (PrinterIndex, Printing). Not printed: E;000040 when there is no
    // printer, else E;000041 with the reason (printer not there, printer or
    // file that would not open, no sheet in the range, a job cut short);
    // nothing is counted. True when printed.
    bool PrintPages(const TPrintSettings& settings);
    // The print of the preview's 打印: the print dialog on the run's
    // printer (the sheets there are, a range of them, copies ...), then as
    // PrintPages. Cancelled: nothing printed, counted or shown (false).
    bool PrintWithDialog();
    // What a print of this run starts from: Printing, its destination
    // filled from PrinterIndex when empty.
    TPrintSettings RunPrintSettings() const;
    // Whether the pages of the last run are complete.
    bool PagesReady() const;
    // The preview window over the generated pages (modal, through the dialog service).
    void ShowPreview();
    // An option of the company by name ("Sys060"); empty when unknown.
    QString Option(const QString& name) const;
    // The report's title as the user's language shows it.
    QString DisplayTitle() const;

    // --- output and sending -------------------------------------------------
    // Called by a slip header while it prints: with SendFlags 1 (e-mail) or
    // 2 (fax) the current record's recipient gets this slip's page group.
    void RegisterRecipient(const QString& table, const QString& condition);
    // Page n as a page kind to baseName + extension.
    bool WritePage(const QString& baseName, TOutputKind kind, int page, QString* written = nullptr);
    // Pages 1 .. print counter as prefix + number (padded to the count's width).
    bool WriteAllPages(const QString& prefix, TOutputKind kind);
    bool WriteRecipientPages(const TSendRecipient& recipient, const QString& baseName, TOutputKind kind,
        QStringList& files) override;
    void CountSentSlips(const TSendRecipient& recipient) override;
    QString PagesError() const override { return lastError_; }
    // Every page as one vector PDF.
    bool WriteVectorPdf(const QString& path);
    // The print count of a slip in the current PrintCountMode (0 in preview).
    int UpdateSlipPrintCount(const TSendGroup& slip);
    // Called by a slip header on every page it prints on (in every mode):
    // the slip is on the report page being made. A print counts the slips
    // of the pages it printed from this (CountPrintedSlips).
    void NoteSlipPage(const TSendGroup& slip);
    const TSlipPages& SlipPages() const { return slipPages_; }
    // Counts one print of every slip on the sheets of the ranges (a slip on
    // sheets of more than one range once); answers the slips counted.
    int CountPrintedSlips(const QList<QPageRanges::Range>& sheets);
    // kind 1 e-mail (pictureKind as given), 2 fax (JPG through the server of serverCaption).
    // Every run that starts ends with one message to the user: how many
    // recipients were sent to, or which failed and why (SendSummary.h); a
    // report without recipients says so. Only a cancelled subject is silent.
    bool Send(int kind, TOutputKind pictureKind, const QString& serverCaption);
    // The run of Send without a person there: e-mail as the preview's
    // button sends it (GIF pages, the proposed subject), fax through the
    // first server the fax service knows. True only when no recipient failed.
    bool SendToRecipients() override;
    QString LastError() const override { return lastError_; }
    // The client home: ClientHome when set, else the client configuration's home folder.
    QString HomeFolder() const;

    // --- fields -----------------------------------------------------------
    int PrintCounter = 0; // pages started in this run
    QStringList PageMarks;
    int DateType = 1;
    QString DateSeparator = QStringLiteral("/");
    int LanguageMode = 0;
    int DBMode = 0;
    int Resolution = 96;
    bool KeepLeftMargin = true;
    bool KeepTopMargin = true;
    TSendList SendList;
    int SendFlags = 0; // bit 0 e-mail, bit 1 fax
    int PrintCountMode = 0; // 0 preview, 1 print, 2 send
    bool SendFailed = false;
    bool Cancelled = false;
    // Where the client home is (picture library, export folder); from the
    // client configuration unless set.
    QString ClientHome;
    // The options window's controls a stored format records with its
    // extended fields ("name:..." specs separated by ";"); empty: none.
    QString FormatOptionControls;

    // Components of the form description.
    TQuickRep* QuickRep1 = nullptr;
    TClientDataSet* ClientDataSet1 = nullptr;
    TClientDataSet* ClientDataSet2 = nullptr;
    TMemo* memoChCapital = nullptr;
    TQRLabel* qrLostFocus = nullptr;
    ReportQueryBuilder* SQLReBuilder = nullptr;
    TDreamDesigner* DreamDesigner1 = nullptr;
    TPopupMenu* PopupMenu1 = nullptr;
    // Barcodes read ClientDataSet1 under this source name.
    static constexpr const char* dsBarCode = "dsBarCode";

public slots:
    virtual void QuickRep1BeforePrint(TObject* Sender, bool& PrintReport);
    virtual void QuickRep1StartPage(TObject* Sender);
    // Barcode kinds that cannot encode a character get its replacement.
    void OnBarCodeInvalidChar(TObject* Sender, int Kind, QString& Replacement);

protected:
    // Binds the print conversions of every data text (BindOnPrint) and, when
    // DBMode is set, the DB conversion where no handler is bound.
    void BindPrintHandlers();
    TPrintBinder* Binder() const { return binder_; }
    // The current record's field as text; empty when ClientDataSet1 lacks it.
    QString FieldText(const QString& field) const;
    void SetLastError(const QString& text) { lastError_ = text; }

private:
    class FormatBinder;
    TPageWriterSettings writerSettings() const;
    void buildDesign();
    void fillStoreHost();
    void loadBackground(const QString& path);
    // A stored format read as the designer starts: the window's query parts
    // to its relations, then the link planner.
    void handOverStoredRelations();
    // "Word doc转emf图档": doc2emf of C_HVBIN, its picture as the page background.
    void convertDocumentToBackground();
    void designerClosed();
    // The one message at the end of a send run (SendSummary.h).
    void tellOutcome(int kind, const TSendRun& run);
    // Send's run; askSubject false takes the proposed subject as it stands.
    bool sendRun(int kind, TOutputKind pictureKind, const QString& serverCaption, bool askSubject);
    // "name(number)" of the fax service's first server; empty when it has none.
    QString firstFaxServer() const;

    // After a print: counts and keeps the destination when it went out,
    // else tells why; true when it went out.
    bool delivered(const TPrintOutcome& outcome, const TPrintSettings& settings);
    // A print that did not happen, told as E;000040 / E;000041.
    void showPrintFailure(const TPrintOutcome& outcome);
    int showCodedMessage(
        const QString& kind, const QString& id, const QStringList& args, const QString& fallback);

    TFormatContext context_;
    TDesignContext designContext_;
    TSlipPages slipPages_;
    std::unique_ptr<TFormatStore> store_;
    std::unique_ptr<TFormatDesign> design_;
    std::unique_ptr<TLinkPlannerData> plannerData_;
    bool formatLoaded_ = false;
    bool designerStarting_ = false; // inside the designer's load as it starts
    bool endingDesign_ = false;
    TPrintBinder* binder_ = nullptr;
    std::unique_ptr<TQRDataSetSource> source1_, source2_, barcodeSource_;
    TfrmEmailSubject* subjectDialog_ = nullptr;
    QString lastError_;
};

// The replacement of a character a barcode kind cannot encode: "00" for the
// old kinds 7 and 22, "0" for 12, " " for every other kind. Our barcode
// kinds map to the old numbers as OldBarcodeKind says.
QString BarcodeInvalidCharText(int oldKind);
// Code 39 was kind 7, EAN-13 kind 12, Code 128 kind 22; QR codes had no number (-1).
int OldBarcodeKind(int kind);
