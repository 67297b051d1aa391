#pragma once
// TfrmBaseGene: the criteria form every print program's options window
// descends from. It gives the frame (the scheme pane at the left, the page
// control with "基本选项" and "系统选项", the print date, OK and Cancel),
// connects to the application server, reads the user's environment and the
// system parameters, shows coded messages, wires date, year-month and required
// fields to their checks, keeps condition schemes, and offers hooks that
// descendants override.
//
// Contract for descendants:
//   - the virtual operations below are declared in their fixed order; a
//     descendant overrides them and calls the base where it wants the base's
//     work (SetupEnvironment, PutPrintDate, PutTitleInfo in particular);
//   - ApplyParams(params) runs once (it does nothing once CompanyCode is
//     set); params is the shell's zero-based array [UserCode, company value,
//     database name, caller's window handle, features]; element 4 must be
//     present. Failures are collected in ErrorCodes()/ErrorTexts() (each
//     entry preceded by "; ") and the answer is false; nothing raises;
//   - OptionCount() starts at 1 (the print date); a descendant that adds
//     options raises it in SetupEnvironment and fills every slot in
//     PutTitleInfo/PutPrintDate, or BuildReportParams refuses the arrays;
//   - every message box goes through ShowCodedMessage/ReportError and so
//     through the dialog service;
//   - texts bound for the server (scheme names, value texts, look-up
//     conditions) go through HvConverter() to the database code page and
//     come back through it; the form never builds SQL.
// What is left alone: the program's server library (RunServerProgram) is
// not run by this form; the base answers false.

#include "common/DateStyle.h"
#include "common/forms/HVForm.h"
#include "controls/F2Button.h"
#include "criteria/SelectTypes.h"
#include "runtime/forms/ComCtrls.h"
#include "runtime/system/Variant.h"

#include <QHash>
#include <QStringList>
#include <memory>
#include <optional>

class TButton;
class TClientDataSet;
class TEdit;
class TExtPageControl;
class TLabel;
class TMaskEdit;
class TMenuItem;
class TPanel;
class TPopupMenu;
class TSelectPanel;
class TSimpleObjectBroker;
class TSocketConnection;
class TSysParamCache;

class TfrmBaseGene : public THVForm, public IF2WindowTarget {
    Q_OBJECT
    Q_PROPERTY(bool WantLog READ WantLog WRITE SetWantLog)
public:
    explicit TfrmBaseGene(TComponent* owner = nullptr);
    ~TfrmBaseGene() override;

    // --- virtual operations, in their fixed order -------------------------
    // 1: the first time the system page shows: its font, the form's least
    //    size, the print date's place.
    virtual void SystemPageFirstShow();
    // 2: builds and checks the environment, option-text and option-value
    //    arrays; false (after warning W;000002 or W;000003) when a filler
    //    failed, an array has the wrong size or a slot stayed unset.
    virtual bool BuildReportParams();
    // 3: the program's defaults: date-field list "edPrintDate", report kind
    //    "R", the program code from the module file.
    virtual void SetupEnvironment();
    // 4: a common phrase from the look-up object into control's text.
    virtual void PickPhrase(TWinControl* control);
    // 5: installs a required-field list ("name;flag;part,..."), undoing the
    //    colours and handlers of the previous one.
    virtual void SetRequiredFields(const QString& list);
    // 6: the program's server library; not run here (false).
    virtual bool RunServerProgram();
    // 7: the client data sets' labels to the user's code page.
    virtual void PrepareDataSets();
    // 8: records every control's colour, then ObtainServices,
    //    SetupEnvironment, ObtainLookupServer.
    virtual void InitializeForm();
    // 9: initialisation from the shell's arguments (see the contract above).
    virtual bool ApplyParams(const Variant& params);
    // 10: after ApplyParams succeeded; empty.
    virtual void InitializeDone();
    // 11: option values; the base writes the print date (YYYYMMDD) as option 1.
    virtual bool PutPrintDate(Variant& values);
    // 12: a check before a run; the base answers 0 (nothing wrong).
    virtual int ValidateOptions();
    // 13: after the parameters were built; empty.
    virtual void OptionsValidated();
    // 14: environment slots 1 to 9.
    virtual bool PutEnvironment(Variant& environment);
    // 15: option texts; the base writes [lblToday's caption, "edPrintDate"] as option 1.
    virtual bool PutTitleInfo(Variant& texts);
    // 16: more option texts and values; empty.
    virtual void PutOptionExtras();
    // 17: look-up window data: rows chosen by the user, converted to the
    //    user's code page; Unassigned without a look-up object, for an empty
    //    condition, or when the user chose nothing.
    virtual Variant GetLookupData(const QString& lookupName, const Variant& conditions, bool multiple,
        const QString& queryNumber = QString(), const QString& caption = QString());
    // 18: the server connection was set up (before it is opened); empty.
    virtual void ConnectionPrepared(TSocketConnection* connection);
    // 19 to 25: condition schemes.
    virtual bool SaveScheme(const QString& keys, const QString& name, const Variant& flag);
    virtual bool LoadScheme(const QString& keys, const QString& values);
    virtual bool RefreshSchemeList();
    virtual void AfterSchemeOpened();
    // 23: after the scheme list was filled; empty.
    virtual void SchemeListRefreshed();
    virtual void BeforeRestoreControl(TComponent* control, const QString& line);
    virtual void AfterRestoreControl(TComponent* control, const QString& line);

    // --- dynamic operations ------------------------------------------------
    // F2 on control (also a look-up button's request). The base handles the
    // print date's picker; descendants open their look-up windows.
    virtual void OpenLookup(Word key, TWinControl* control);
    // The date quick-pick on edit: opens on the edit's date (today when it
    // holds none) and puts the chosen date into it in the user's date
    // format; a cancelled pick, or no look-up object, leaves the edit alone.
    void PickDate(TCustomEdit* edit);
    // Counter and validator objects, the system-parameter cache and the title suffix.
    virtual void ObtainServices();
    // The look-up object, when option flag 4 is set.
    virtual void ObtainLookupServer();
    void F2Window(TWinControl* control) override { OpenLookup(VK_F2, control); }

    // --- environment ---------------------------------------------------------
    QString UserCode() const { return userCode_; }
    QString CompanyCode() const { return companyCode_; }
    QString DatabaseName() const { return databaseName_; }
    QString ProgramCode() const { return programCode_; }
    void SetProgramCode(const QString& code) { programCode_ = code.toUpper(); }
    QString ServerClassName() const { return programCode_ + QStringLiteral("S.Class1"); }
    QString ReportKind() const { return reportKind_; }
    void SetReportKind(const QString& kind) { reportKind_ = kind; }
    QString ModulePath() const { return modulePath_; }
    void SetModulePath(const QString& path) { modulePath_ = path; }
    Variant HostObject() const { return manager_; }
    void SetHostObject(const Variant& manager) { manager_ = manager; }
    QString VersionText() const { return versionText_; }
    QString TitleSuffix() const { return titleSuffix_; }
    // The program's title: the caption as it stood when the window was first
    // shown, before the exe notice and the "[suffix]" were appended to it
    // (the caption itself until then). Reports, print jobs and mail subjects
    // are titled with it, never with the window's decorated caption.
    QString ProgramTitle() const { return programTitle_.isEmpty() ? Caption() : programTitle_; }
    // The user's date style (Sys001, Sys002): every date field shows, reads
    // and masks its texts so.
    const TDateStyle& DateStyle() const { return dateStyle_; }
    int DateFormatType() const { return dateStyle_.Number(); }
    QString DateSeparator() const { return dateStyle_.Separator(); }
    const QString& ErrorCodes() const { return errorCodes_; }
    const QString& ErrorTexts() const { return errorTexts_; }
    // Option flags of the form; flag 4 asks for the look-up object.
    int OptionFlags() const { return optionFlags_; }
    void SetOptionFlags(int flags) { optionFlags_ = flags; }
    // Only error boxes appear while quiet.
    bool Quiet() const { return quiet_; }
    void SetQuiet(bool value) { quiet_ = value; }
    // A run in progress: page changes and scheme saving wait.
    bool Busy() const { return busy_; }
    void SetBusy(bool value) { busy_ = value; }
    bool WantLog() const { return wantLog_; }
    void SetWantLog(bool value) { wantLog_ = value; }
    int EnvironmentCount() const { return environmentCount_; }
    int OptionCount() const { return optionCount_; }
    void SetOptionCount(int count) { optionCount_ = count; }
    // The arrays BuildReportParams made (indexed from 1).
    const Variant& EnvironmentArray() const { return environment_; }
    const Variant& OptionTextArray() const { return optionTexts_; }
    const Variant& OptionValueArray() const { return optionValues_; }
    // The late-bound service objects (Unassigned when not available).
    Variant CounterObject() const { return counter_; }
    Variant ValidatorObject() const { return validator_; }
    Variant LookupObject() const { return lookup_; }
    Variant ApplicationServer() const { return appServer_; }
    TSocketConnection* MainMidas() const { return mainMidas_; }
    TClientDataSet* ClientDataSet1() const { return clientDataSet_; }

    // --- messages ------------------------------------------------------------
    // The text of message id of kind, formatted with args, in a box of the
    // kind's type (own buttons when given); answers the modal result.
    int ShowCodedMessage(
        const QString& kind, const QString& id, const QStringList& args = {}, TMsgDlgButtons buttons = {});
    // "K;id;arg1;..." into the error lists and, for a positive id, a box.
    void ReportError(const QString& code);
    // A predefined query of the validator object (parameters to the database
    // code page, rows back to the user's); false when no rows came or it failed.
    bool ValidatorQuery(const QString& table, const QString& number, const Variant& params, Variant& rows);
    // A cached system parameter; empty when the manager has none.
    QString GetSysParam(const QString& name);

    // --- dates ---------------------------------------------------------------
    QString DateFieldList() const { return dateFields_; }
    QString YearMonthFieldList() const { return yearMonthFields_; }
    QString RequiredFieldList() const { return requiredFields_; }
    void SetDateFields(const QString& list);
    void SetYearMonthFields(const QString& list);
    bool IsDateField(const QString& componentName) const { return dateFields_.contains(componentName); }
    bool IsYearMonthField(const QString& componentName) const
    {
        return yearMonthFields_.contains(componentName);
    }
    // A date typed in the user's format as YYYYMMDD; the text itself when
    // unreadable; empty for the empty mask.
    QString DateToStorage(const QString& text) const;
    QString StorageToDate(const QString& yyyymmdd) const;
    QString YearMonthToStorage(const QString& text) const;
    QString StorageToYearMonth(const QString& yyyymm) const;
    // The edit mask of a date / year-month field in the user's format.
    QString DateEditMask() const;
    QString YearMonthEditMask() const;
    // Checks a panel's or edit's dates: false (E;000005, focus on the bad
    // edit) when one is no date.
    bool CheckDateField(TComponent* control);
    bool CheckYearMonthField(TComponent* control);
    // The required check of a button press; false (E;000037) when a field is empty.
    bool CheckRequiredFields(TComponent* button);
    // Date rules of the scheme dialog (records separated by #3 fields).
    QStringList& DateRuleList() { return dateRules_; }
    // Controls on which Enter selects the next page.
    QList<TWinControl*>& PageEndControls() { return pageEnds_; }

    // --- criteria ------------------------------------------------------------
    // Writes panel's criteria value into slot of array (a negative slot:
    // the list value replaces the whole array).
    void PanelValueToVariant(TSelectPanel* panel, Variant& array, int slot) const;
    // Look-up answers into a panel: rows into its list, a value into its edits.
    void FillPanelFromLookup(TWinControl* control, const QString& lookupName, const Variant& conditions,
        bool allColumns, const QString& queryNumber = QString());
    // The print date for the option array; false (E;000030) when unreadable.
    bool PrintDateValue(QString& yyyymmdd) const;

    // --- schemes -------------------------------------------------------------
    // The value line of one key ("spNo.style", "edNo.text").
    QString SchemeValueLine(const QString& key) const;
    // Rename in place: true when the new name was taken (and stored).
    bool RenameScheme(TListItem* item, QString& newName);
    void OpenSelectedScheme();
    // Opens the scheme of this user and program saved under name (as the
    // scheme list shows it), as 开启 does for a selected one, and without a
    // list: true when it was found and every value loaded. False when the
    // server is not there, the user has no scheme of that name (schemes of
    // other users are not looked at) or a value did not load; the user has
    // been told which (an error message).
    bool OpenSchemeNamed(const QString& name);
    void DeleteSelectedScheme();
    // The key under which a saved scheme keeps the rules of its dates that
    // move with the run day (预定运行日 in the scheme dialog). Its line holds
    // the rule records (DateRuleList's form) of the covered date fields with
    // a moving end, separated by #4; it names no control, so programs that
    // do not know it skip it. A scheme that has it opens with those ends
    // counted from the day it is opened: the rule moves today's date, not
    // the date the field held when the scheme was saved.
    static QString RunDayRulesKey() { return QStringLiteral("RunDayRules.records"); }
    // The view-style tool button: steps 0..3 and runs the matching handler.
    void StepViewStyle();
    int ViewStyleCounter() const { return viewCounter_; }

    // The children named in the form description.
    TPanel* pnlCondition = nullptr;
    TLabel* lblCondition = nullptr;
    TToolButton* btnInsert = nullptr;
    TToolButton* btnOpen = nullptr;
    TToolButton* btnDelete = nullptr;
    TToolButton* ToolButton1 = nullptr;
    TListView* lstCondition = nullptr;
    TPopupMenu* mnList = nullptr;
    TExtPageControl* pgOption = nullptr;
    TTabSheet* tsOption1 = nullptr;
    TTabSheet* tsOption2 = nullptr;
    TLabel* lblToday = nullptr;
    TMaskEdit* edPrintDate = nullptr;
    TF2Button* btnPrintDate = nullptr;
    TPanel* Panel1 = nullptr;
    TButton* btnOk = nullptr;
    TButton* btnCancel = nullptr;

    // Repaints the caller's window (its handle came as argument 3), when it
    // is a window of this process; called when this form changes size and
    // when it closes.
    void RepaintCaller() const;

    // The control that last had the focus (messages give it back).
    TWinControl* MessageFocusControl() const { return messageFocus_; }

    // Whether the criteria pages hold entries other than at the last
    // KeepCriteria (the window shown, a scheme opened, a report run): Esc
    // then asks before the window closes. False before the first KeepCriteria.
    bool CriteriaTyped() const;
    void KeepCriteria();

public slots:
    // Handlers the form description binds by name.
    void FormCreate(TObject* Sender);
    void FormShow(TObject* Sender);
    void FormDestroy(TObject* Sender);
    void FormClose(TObject* Sender, Vcl::TCloseAction& Action);
    void FormResize(TObject* Sender);
    void FormKeyDown(TObject* Sender, Word& Key, Vcl::TShiftState Shift);
    void FormKeyPress(TObject* Sender, QChar& Key);
    void btnCancelClick(TObject* Sender);
    void btnOkClick(TObject* Sender);
    void btnInsertClick(TObject* Sender);
    void btnOpenClick(TObject* Sender);
    void btnDeleteClick(TObject* Sender);
    void ToolButton1Click(TObject* Sender);
    void lstConditionDblClick(TObject* Sender);
    void lstConditionEdited(TObject* Sender, TListItem* Item, QString& S);
    void pgOptionChanging(TObject* Sender, bool& AllowChange);
    void pgOptionChange(TObject* Sender);
    void ViewIconExecute(TObject* Sender);
    void ViewSmallIconExecute(TObject* Sender);
    void ViewListExecute(TObject* Sender);
    void ViewReportExecute(TObject* Sender);
    void OnDateFieldEnter(TObject* Sender);
    void OnDateFieldExit(TObject* Sender);
    void OnYearMonthFieldEnter(TObject* Sender);
    void OnYearMonthFieldExit(TObject* Sender);
    void OnRequiredExit(TObject* Sender);

protected:
    // Runs the saved OnClick of a button whose click the required check took over.
    void RunSavedHandler(const QString& key, TObject* sender);
    // The help topic F1 asks for; empty when the program code names none.
    QString HelpTopic() const;
    void FocusFirstControl();
    // Enter on control: the next control, a memo line or the next page.
    bool HandleEnter(TWinControl* control);
    // Ctrl+Alt+V: the module file's name, place, size, date and version.
    void ShowModuleProperties();
    // Esc: true when the window may close; with typed criteria the user is
    // asked first (sCloseAsk, yes/no).
    bool MayCloseOnEscape();
    // F1: the manager's help; when it has none (no manager, or it opened
    // nothing), the page the program ships beside its module; when that
    // cannot be opened either, a message names the page.
    void ShowHelp();

    QString dateFields_ = QStringLiteral("edPrintDate");
    // The last Enter's key-down left the key to the focused control.
    bool enterForControl_ = false;
    QString yearMonthFields_;
    QString requiredFields_;
    QStringList dateRules_;
    // Loads the scheme row ClientDataSet1 stands on; false when a value did not load (200235 told).
    bool openCurrentScheme();

private:
    void bindChildren();
    void fillImages();
    void connectServer();
    void recordColours();
    void hookFields(const QString& list, const QString& previous, bool yearMonth);
    void restoreRequired();
    void fillPrintDate();
    bool checkDates(TComponent* control, bool yearMonth);
    void fieldEntered(TObject* sender, bool yearMonth);
    void fieldLeft(TObject* sender, bool yearMonth);
    void addError(const QString& code, const QString& text);
    QString formatMessage(const QString& kind, const QString& id, const QStringList& args, bool* ok) const;
    void setListViewStyle(int style);

    QString userCode_, companyCode_, databaseName_, programCode_, reportKind_ = QStringLiteral("R");
    QString modulePath_, versionText_ = QStringLiteral("870401-0.00.00"), titleSuffix_, programTitle_;
    TDateStyle dateStyle_;
    QString errorCodes_, errorTexts_;
    QString callerHandle_;
    int optionFlags_ = 0;
    bool quiet_ = false;
    bool busy_ = false;
    bool wantLog_ = false;
    bool systemPageShown_ = false;
    int environmentCount_ = 9;
    int optionCount_ = 1;
    int viewCounter_ = 0;
    Variant environment_, optionTexts_, optionValues_;
    Variant manager_, counter_, validator_, lookup_, appServer_;
    TSocketConnection* mainMidas_ = nullptr;
    TSimpleObjectBroker* objBroker_ = nullptr;
    TClientDataSet* clientDataSet_ = nullptr;
    std::unique_ptr<TSysParamCache> sysParams_;
    QHash<QString, TMethod> savedHandlers_; // "name.OnExit.Code" -> the handler a hook replaced
    QStringList hookedDates_, hookedYearMonths_;
    QHash<QString, int> colours_; // "name=", "name.edBegin=" ... -> colour
    QList<TWinControl*> pageEnds_;
    QPointer<TWinControl> messageFocus_;
    std::optional<QString> keptCriteria_;
};
