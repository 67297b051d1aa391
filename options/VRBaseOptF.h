#pragma once
// TfrmVRBaseOpt: the options window every print program shares. It adds to
// the criteria form everything between entered criteria and a running
// report: the SQL in six pieces with the server's rights, the list of
// stored formats that fit the current options, printer and paper, the
// delivery (print, or fax / e-mail with a send status), and the four ways of
// running a format form: print, preview, design and picture export.
//
// The shell's controller drives it as an IVROptionsForm (options/VROptionsForm.h).
//
// Contract for descendants (the program's options form):
//   - SetupEnvironment: call the base first, then SetFormatClass, set
//     MainTable, SendWayTable, SendCountColumn and the option count;
//   - BuildQuery fills the pieces through the setters (the base only takes
//     the send status); AdjustQuery calls the base, then assembles the
//     statement from the pieces;
//   - PutPrintDate / PutTitleInfo call the base first: it fills the
//     reserved send-status slot (the program's option count + 1) and stops
//     the run when a typed fax number or address is missing;
//   - ApplyRights runs after the server's rights data arrived; overrides call
//     the base first.
// Guaranteed: every print, preview, key print and export makes its own
// format form and frees it before returning; only the design form outlives
// the call, and while it lives this window is disabled. Failures reach the
// user as coded messages through the dialog service; nothing raises out of
// the shell's commands.
// Left alone: the format form itself (options/VRFormatForm.h); the program's
// tables; the configuration is only read.

#include "criteria/BaseGene.h"
#include "options/PredefinedQuery.h"
#include "options/QueryPieces.h"
#include "options/SendWay.h"
#include "options/VRFormatForm.h"
#include "options/VROptionsForm.h"

#include <functional>
#include <optional>

class TComboBox;
class TCheckBox;
class TLabel;
class TGroupBox;
class TMemo;
class TRadioGroup;
class TSpeedButton;

class TfrmVRBaseOpt : public TfrmBaseGene, public IVROptionsForm {
    Q_OBJECT
public:
    explicit TfrmVRBaseOpt(TComponent* owner = nullptr);
    ~TfrmVRBaseOpt() override;

    // --- virtual operations added here, in their fixed order ----------------
    virtual void InitPrintOptions();
    bool PrintOrPreview(bool preview) override;
    bool PrintKeys(const Variant& keys, bool preview) override;
    virtual void BuildOptionControlList();
    // mode 0 criteria (values: the option values), 1 keys. The base takes
    // the send status only.
    virtual void BuildQuery(int mode, const Variant& values, Variant& sql);
    virtual void BeforeOutput(IVRFormatForm* format);
    virtual void AdjustQuery(Variant& sql);
    virtual int RefreshQuery();
    // Pictures of the keys' pages (BuildKeyQuery), or, when keys holds no
    // element, of the report the window's criteria make (as PrintOrPreview).
    bool ExportPictures(
        const Variant& keys, int kind, const QString& extra, const QString& prefix, int resolution) override;
    // Enables the buttons the user's rights string allows; descendants add
    // their own rights after calling it.
    virtual void ApplyRights();

    // --- overrides of the criteria form ---------------------------------------
    void SetupEnvironment() override;
    bool ApplyParams(const Variant& params) override;
    bool PutPrintDate(Variant& values) override;
    bool PutTitleInfo(Variant& texts) override;

    // --- what the shell's controller asks (IVROptionsForm) ----------------------
    TForm* AsForm() override { return this; }
    // The criteria form keeps these; the interface reaches them here.
    void SetModulePath(const QString& path) override { TfrmBaseGene::SetModulePath(path); }
    void SetHostObject(const Variant& host) override { TfrmBaseGene::SetHostObject(host); }
    QString UserCode() const override { return TfrmBaseGene::UserCode(); }
    QString CompanyCode() const override { return TfrmBaseGene::CompanyCode(); }
    QString ProgramCode() const override { return TfrmBaseGene::ProgramCode(); }
    bool OpenScheme(const QString& name) override { return OpenSchemeNamed(name); }
    // New arguments from the shell while the window lives: checked element
    // by element (options/ShellArguments.h); EArgumentError says what is wrong.
    void SetParams(const Variant& params) override;
    void CloseDesigner() override;
    QString VersionStamp() const override { return versionStamp_; }
    int ResultCode() const override { return resultCode_; }
    Variant ResultValue() const override { return resultValue_; }
    // "应用服务器拒绝登录: " and the server's reason; empty after a Connect it took.
    QString ConnectRefusalText() const;
    // After a refused Connect: says why (a message; the result value for the
    // shell) and answers true; a run then ends before it starts.
    bool TellConnectRefusal();
    QString ProgramName() const override { return Caption(); }

    // --- routines for descendants ------------------------------------------------
    void SetFormatClass(const TFormatClass& formatClass);
    const TFormatClass& FormatClass() const { return formatClass_; }
    void SetSelectPart(const QString& text) { pieces_.SetSelectPart(text); }
    void SetFromPart(const QString& text) { pieces_.SetFromPart(text); }
    void SetWherePart(const QString& text) { pieces_.SetWherePart(text); }
    void SetGroupByPart(const QString& text) { pieces_.SetGroupByPart(text); }
    void SetOrderByPart(const QString& text) { pieces_.SetOrderByPart(text); }
    void SetJoinPart(const QString& text) { pieces_.SetJoinPart(text); }
    static void AddCondition(QString& where, const QString& column, const QString& value)
    {
        TQueryPieces::AddCondition(where, column, value);
    }
    TQueryPieces& Pieces() { return pieces_; }
    // What the base part of AdjustQuery reads.
    TQuerySettings QuerySettings() const;
    // The format stored for a slip type in the client's UserDef.ini, "<New>"
    // when none.
    QString LookupDefaultFormat(const QString& slipType) const;
    // A catalogue query through the manager's validator; false when it
    // found nothing or failed.
    bool RunPredefinedQuery(const TPredefinedQuery& query, Variant& row) const;
    bool RunPredefinedQueryRows(const TPredefinedQuery& query, Variant& rows) const;
    void ReloadFormatList();
    bool FormatMatches(const QString& optionText) const;
    // The current value of a control by name, as stored formats compare it.
    std::optional<QString> OptionValueOf(const QString& name) const;
    // The rows of the program's stored formats (name, option text).
    Variant StoredFormats() const;
    // Selects the item text in the format box; false when the list lacks it.
    bool SelectFormat(const QString& name);
    // Selects the first of names (in this order) that the list holds; when
    // it holds none, the built-in layout ("<New>", when listed) or an empty
    // box, so no earlier choice stays. False when none of names was listed.
    bool SelectFirstFormat(const QStringList& names);

    // --- state -------------------------------------------------------------------------
    QString MainTable;
    QString SendWayTable;
    QString SendCountColumn;
    QString KeyFormatName;
    int PrinterIndex = -1;
    // The printers PrinterIndex counts in, in the order the setup dialog
    // knows them: the system's (CUPS) printers unless replaced.
    std::function<QStringList()> PrinterNames;
    // What the printer setup chose (a printer by name or a PDF file, copies,
    // duplex, colour, paper): every run prints so; after a run its
    // destination is the one the run printed to last.
    TPrintSettings PrintSettings;
    int SqlType = 0;
    bool SqlBuilderEnabled = true;
    bool SqlBuilderMode = true;
    bool DataRightsEnabled = true;
    QString RTBuilderDataPath;
    // Folder of the local copies of formats a failed save leaves (key
    // CustomFormatPath of section Client Components, relative to the home
    // folder, ending in a separator); empty: the home's C_DATA.
    QString CustomFormatPath;
    Variant PowerData;
    // The user's group, as the server's rights data name it after Connect:
    // what the format store and the send log record beside the user.
    QString UserGroup() const;
    QStringList CompanyInfo;
    const TSendWay& SendWay() const { return sendWay_; }
    int SendMode() const { return sendWay_.SendMode; }
    QString SendStatusCondition() const { return sendStatus_; }
    const QString& RightsString() const { return rights_; }
    bool PriceRight() const { return priceRight_; }
    const QStringList& Features() const { return features_; }
    // The saved-control keys the condition schemes store ("name.itemindex;").
    const QString& OptionControlList() const { return optionControls_; }
    IVRFormatForm* DesignForm() const { return designForm_.get(); }
    bool KeysDriven() const { return keysDriven_; }
    void SetVersionStamp(const QString& stamp) { versionStamp_ = stamp; }
    // The option arrays hold the program's own options (1..n), then the send
    // status (n + 1), then the print date (n + 2, the last slot).
    void SetProgramOptionCount(int count);
    int ProgramOptionCount() const { return programOptions_; }
    int SendStatusSlot() const { return programOptions_ + 1; }

    // Children named in the form description.
    TButton* btnPreview = nullptr;
    TButton* btnDesign = nullptr;
    TButton* btnPrintSetup = nullptr;
    TButton* btnPaperSize = nullptr;
    TLabel* lblFormStyleName = nullptr;
    TComboBox* cboFormStyleName = nullptr;
    TSpeedButton* btnDelFormStype = nullptr;
    TLabel* lblDateType = nullptr;
    TComboBox* cboDateType = nullptr;
    TTabSheet* tsFEP = nullptr;
    TRadioGroup* rgSendType = nullptr;
    TComboBox* cboSendStatus = nullptr;
    TComboBox* cboSendWay = nullptr;
    TLabel* lblFaxEmail = nullptr;
    TEdit* edtFaxEmailData = nullptr;
    TMemo* moPaperSize = nullptr;
    TMemo* moUnits = nullptr;

    // The scheme pane's Save: the scheme dialog asks the name and the date
    // rules, then SaveScheme stores the saved controls and the list is
    // reloaded; false when cancelled, refused or nothing is covered.
    bool SaveSchemeAs();
    // How many entries at the end of the date-field list the saved controls
    // do not cover (the print date): the scheme dialog gives them no rule.
    int DateFieldsOutsideSchemes() const;
    // The scheme list from under the tool bar to 30 pixels above the page
    // control's bottom edge, anchored on all sides from there.
    void SizeSchemeList();
    // The keys of the delivery controls a scheme saves after the criteria
    // pages: send type, send way, typed address, send status and the format
    // name, in the order they are restored (the send type first, since its
    // click sets the send status).
    static QString DeliveryControlKeys();
    // After a scheme was opened the delivery follows the restored send type
    // and way (enabled boxes, send mode, address field); a scheme that sends
    // opens for printing where the fax/e-mail page is not offered.
    void AfterSchemeOpened() override;
    // The shell's send command: the report of the window's criteria goes to
    // every recipient by the chosen send way, e-mail or fax, as the
    // preview's buttons send it, without asking anything (the proposed
    // subject, the first fax server). False, the user told why, when the
    // delivery is printing, the criteria make no report or a send failed.
    bool SendReport() override;

    // Runs a format form up to its data (see RunFormat in the .cpp); the
    // result is 1 with a form ready, 0 no rows, -1 failure (form freed).
    int RunFormat(const QString& sql, std::unique_ptr<IVRFormatForm>& format);
    bool OutputFormat(const QString& sql, bool preview);
    // False, after telling the user, when the program has no format form.
    bool FormatFormAvailable();

public slots:
    void btnOkClick(TObject* Sender);
    void btnPreviewClick(TObject* Sender);
    void btnDesignClick(TObject* Sender);
    void btnPrintSetupClick(TObject* Sender);
    void btnPaperSizeClick(TObject* Sender);
    void btnDelFormStypeClick(TObject* Sender);
    void btnInsertClick(TObject* Sender);
    void cboFormStyleNameDropDown(TObject* Sender);
    void cboFormStyleNameKeyPress(TObject* Sender, QChar& Key);
    void rgSendTypeClick(TObject* Sender);
    void cboSendWayChange(TObject* Sender);
    // Leaving the typed fax number or e-mail address checks it (TypedAddress.h).
    void edtFaxEmailDataExit(TObject* Sender);
    void FormShow(TObject* Sender);
    void pgOptionChange(TObject* Sender);

protected:
    // The storage (database) form of a display text and back.
    QString ToStorage(const QString& text) const;
    QString ToDisplay(const QString& text) const;
    // A fixed text of this window in the user's language.
    QString Text(const char* name, const char* chinese) const;
    void SetKeysDriven(bool value) { keysDriven_ = value; }
    bool ExportFormat(const QString& sql, const TExportTarget& target, int resolution);
    void OpenDesigner();
    bool BuildKeyQuery(const Variant& keys, Variant& sql);
    // The statement of the window's criteria with data rights applied; false
    // (the user told why) when the criteria make none.
    bool BuildCriteriaQuery(QString& sql);

private:
    void bindOptionChildren();
    void readClientComponents();
    void applySendWay();
    // False, after saying why and returning to the edit, when the typed
    // address of a send to one address cannot be sent to.
    bool acceptTypedAddress();
    void deleteFormat();
    void formatAdded(const QString& shown);
    void showPaperSize();
    void handOver(IVRFormatForm& format) const;
    // Opens the run's data, through the format's extended fields when it has
    // them: 1 rows, 0 none, -1 failure. told is set when the failure was the
    // extended fields' and the user has heard so (or declined to run without
    // them): the caller adds no message of the server's.
    int openFormatData(IVRFormatForm& format, const QString& sql, bool& told);
    TFormatContext formatContext() const;

    TQueryPieces pieces_;
    TFormatClass formatClass_;
    std::unique_ptr<IVRFormatForm> designForm_;
    TSendWay sendWay_;
    QString sendStatus_;
    QString rights_;
    bool priceRight_ = false;
    QStringList features_;
    QString optionControls_;
    bool keysDriven_ = false;
    int programOptions_ = 0;
    QString versionStamp_;
    int resultCode_ = 0;
    Variant resultValue_;
    // Why the server refused the Connect (unknown user, wrong password, no
    // such company database); empty when it took it. Print and preview stay
    // off with it as their hint, and a command ends with it.
    QString connectRefusal_;
    TLabel* connectRefusalLabel_ = nullptr; // the red line that tells it, once there is one
    void showConnectRefusal();
};
