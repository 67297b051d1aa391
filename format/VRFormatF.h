#pragma once
// TfrmVRFormat: the layout of a slip document. One slip per run of equal
// values of the QRGroup expression: a header on every page of the slip
// (QRGroup), numbered lines (QRDetailBand), a footer that takes the room
// the lines leave (QRGroupFooter) and a page-footer block with notes and
// sign-off lines (GroupFooterChildBand). Each slip numbers its own pages.
//
// Paging: the footer's design height holds (lines per page - 1) lines; the
// report engine lowers it for every printed line, and a line that meets a
// full page (footer below 0) is held back for the next page of the slip.
// A slip's lines are counted when the slip starts (its first header), so
// the first page costs the same whatever follows it.
//
// Guaranteed per page of a slip: lblPageNo / lblTotalPage show the page and
// the pages of the slip; "接下页..." (lblNextPage) on every page but the
// last; the note and sign-off labels on the last page (or on every page with
// the every-page switches); "以下空白//" (lblNoData) where at least one line
// of room is left; amounts of text type 4 hidden behind asterisks on all
// but the last page unless totals print on every page. A label disabled in
// the layout (CaptureDesignStates) stays disabled whatever the page.

#include "format/SignOffData.h"
#include "format/VRBaseFmtF.h"
#include "runtime/report/QRExpr.h"

#include <QHash>

class TQRBand;
class TQRChildBand;
class TQRGroup;

class TfrmVRFormat : public TfrmVRBaseFmt, public IVRSlipFormat {
    Q_OBJECT
public:
    explicit TfrmVRFormat(TComponent* owner = nullptr);

    void PrepareData() override;
    void OnAsteriskPrint(TObject* Sender, QString& Value) override;
    // The stored layout, then the footer labels' enabled states it leaves
    // (a label the user disabled in the designer stays disabled in print).
    void DreamDesigner1LoadChanges(TObject* Sender, bool& Done) override;

    // IVRSlipFormat
    void SetSlipType(const QString& slipType) override { slipType_ = slipType; }
    QString SlipType() const { return slipType_; }
    void SetWorkflowSignOff(bool on, const QString& programCode) override;
    // Caption by kind: 0 lblVoucherName, 1 lblCreateDate1, 2 lblNoData, 3 lblNextPage.
    void SetText(int slot, const QString& text) override;
    void SetEveryPage(bool signOff, bool footer, bool totals) override;
    void SetFooterLines(const QStringList& lines) override;
    // The sign-off lines of the run (lblSignIn1..3). With sign-off data from
    // the workflow product a slip it knows prints its signers instead; every
    // other slip prints these.
    void SetSignOffLines(const QStringList& lines) override;

    // Records which of the footer labels the layout enables, and its
    // sign-off captions as the run's lines; a stored format calls it again
    // after it was applied.
    void CaptureDesignStates();
    // Asks the workflow product for the sign-off data of every slip in the
    // data (when the program takes part in sign-off); false when nothing was fetched.
    bool FetchSignOffData(const QString& programCode);
    // The slip keys of the current record (the fields of the group expression).
    QStringList SlipKeys() const;

    // The state of the slip being printed.
    int LinesPerPage() const { return linesPerPage_; }
    int PageOfSlip() const { return pageOfSlip_; }
    int PagesOfSlip() const { return pagesOfSlip_; }
    int RecordsOfSlip() const { return recordsOfSlip_; }
    int LineOfSlip() const { return lineNo_; }

    TQRGroup* QRGroup = nullptr;
    TQRBand* QRDetailBand = nullptr;
    TQRBand* QRGroupFooter = nullptr;
    TQRChildBand* GroupFooterChildBand = nullptr;
    TQRLabel* lblCompany = nullptr;
    TQRLabel* lblVoucherName = nullptr;
    TQRLabel* lblCreateDate1 = nullptr;
    TQRLabel* lblPageNo = nullptr;
    TQRLabel* lblTotalPage = nullptr;
    TQRLabel* lblPrintDate1 = nullptr;
    TQRLabel* lblPrintTime1 = nullptr;
    TQRLabel* lblSeq = nullptr;
    TQRLabel* lblNoData = nullptr;
    TQRLabel* lblNote1 = nullptr;
    TQRLabel* lblNote2 = nullptr;
    TQRLabel* lblNote3 = nullptr;
    TQRLabel* lblSignIn1 = nullptr;
    TQRLabel* lblSignIn2 = nullptr;
    TQRLabel* lblSignIn3 = nullptr;
    TQRLabel* lblCreateDate2 = nullptr;
    TQRLabel* lblNextPage = nullptr;
    TQRLabel* lblPrintDate2 = nullptr;
    TQRLabel* lblPrintTime2 = nullptr;

public slots:
    void QuickRep1BeforePrint(TObject* Sender, bool& PrintReport) override;
    // The slip's pages count in QRGroupBeforePrint (once per printed header).
    void QuickRep1StartPage(TObject* Sender) override;
    virtual void QRGroupBeforePrint(TQRCustomBand* Sender, bool& PrintBand);
    virtual void QRDetailBandBeforePrint(TQRCustomBand* Sender, bool& PrintBand);
    virtual void QRDetailBandAfterPrint(TQRCustomBand* Sender, bool BandPrinted);
    virtual void QRGroupFooterBeforePrint(TQRCustomBand* Sender, bool& PrintBand);
    void lblCreateDate1Print(TObject* Sender, QString& Value);

protected:
    // The text as the user's language shows it.
    QString ToDisplay(const QString& text) const;
    // True on the last page of the slip being printed.
    bool LastPageOfSlip() const { return pageOfSlip_ >= pagesOfSlip_; }

private:
    struct DesignStates {
        bool SignIn[3] = {true, true, true};
        bool Note[3] = {true, true, true};
        bool NoData = true;
        bool NextPage = true;
    };
    int countSlipRecords();
    void applySignOff();
    // The layout's own sign-off captions become the run's lines.
    void captureSignOffLines();
    void showSignOffLines(const QStringList& lines);
    QList<TQRLabel*> signInLabels() const { return {lblSignIn1, lblSignIn2, lblSignIn3}; }
    QList<TQRLabel*> noteLabels() const { return {lblNote1, lblNote2, lblNote3}; }
    QStringList groupFields() const;

    DesignStates design_;
    TQRExpression groupExpression_;
    QHash<QString, int> groupSizes_; // slip value -> records, as each slip starts
    int linesPerPage_ = 1;
    QString currentGroup_;
    int pageOfSlip_ = 0;
    int pagesOfSlip_ = 0;
    int recordsOfSlip_ = 0;
    int lineNo_ = 0;
    bool signOffEveryPage_ = false;
    bool notesEveryPage_ = false;
    bool totalsEveryPage_ = false;
    bool signOffMode_ = false;
    bool signOffFound_ = false;
    bool signOffIsText_ = false;
    Variant signOffData_;
    TSignOffCaptions signOffCaptions_; // looked up in the user's language with the data
    QStringList signOffLines_; // the run's sign-off lines, for slips without workflow data
    QString slipType_;
    QString workflowKey_;
};
