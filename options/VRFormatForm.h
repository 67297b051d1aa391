#pragma once
// The report format form as the options window drives it: a printable
// layout that takes the run's context, opens its data through the server's
// providers and prints, previews or writes pictures of its pages.
//
// The options window creates one format form per run from the program's
// format class (TFormatClass), owns it for that run only (the design form
// for as long as the designer is open) and frees it before it returns; it
// calls the operations below in the order RunFormat lists them and nothing
// else. Implementations must not keep a pointer to the options window.

#include "options/OutputKind.h"
#include "runtime/forms/PrintSettings.h"
#include "runtime/system/Variant.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class TComponent;
class TSocketConnection;

// What the options window hands a format form before it prepares its data.
struct TFormatContext {
    int SendMode = 0; // 0 print, 1 e-mail, 2 fax
    QString ProgramCode;
    QString CompanyCode;
    QString DatabaseName;
    QString UserCode;
    int DateType = 1; // date style, 1 to 5
    QString DateSeparator;
    QStringList CompanyInfo; // the company's row as texts
    Variant Validator; // the manager's Com_Validator
    Variant Counter; // the manager's Com_Counter
    QString Title; // "<company prefix> - <program title>"
    int PrinterIndex = -1; // -1 the default printer
    // Where prints go and how, as the window's printer setup chose them (a
    // printer by name or a PDF file, copies, duplex, colour, paper); a
    // destination left empty is the printer of PrinterIndex.
    TPrintSettings Printing;
    // The window's server connection (the remote server of the format's
    // data sets) and the server object; both outlive the format form.
    TSocketConnection* Connection = nullptr;
    Variant ApplicationServer;
    int SqlType = 0; // the server's SQL dialect
    // A system parameter of the company by name ("Sys060"); empty when unknown.
    std::function<QString(const QString& name)> Option;
    // A catalogue query of the window's validator (kind such as "SimpleSql",
    // parameters, rows out); false when it found nothing or failed.
    std::function<bool(const QString& kind, const Variant& params, Variant& rows)> Query;
    // The first column of the suite's message (MSGCHT, kind "R") of a code;
    // empty when there is none.
    std::function<QString(const QString& code)> Message;
    // Shows a coded message of the suite's catalogue (kind "E", number
    // "000040", its arguments) as the window shows its own; answers the
    // modal result. Unset: the form shows its fallback text itself.
    std::function<int(const QString& kind, const QString& id, const QStringList& args)> ShowMessage;
    // Sending: the column that groups a run's recipients, the data field of
    // each recipient's address (empty: the typed address below) and the
    // slip table's print-count column.
    QString SendKeyField;
    QString SendAddressField;
    QString SendAddress;
    QString SendCountColumn;
    // The user's group (from the server's rights data), recorded with stored
    // formats and send-log rows; may be empty.
    QString UserGroup;
    // Folder of the local format files a failed save writes; empty: the
    // client home's C_DATA.
    QString CustomFormatPath;
};

// The six SQL pieces as the format's query builder takes them.
struct TQueryParts {
    QString Select, From, OrderBy, GroupBy, Where, Join;
};

// What a design session needs to know besides the pieces.
struct TDesignContext {
    QString ProgramCode, UserCode, MainTable, DatabaseName, CompanyCode;
    // The designer stopped (the user closed it, saved or not): the window
    // ends the design session. Called from the event loop.
    std::function<void()> DesignerClosed;
    // A format was stored under a new name (display text): the window lists
    // and selects it.
    std::function<void(const QString& displayName)> FormatAdded;
    // The window's six query parts as they are now (select, from, order,
    // group, where, join).
    std::function<TQueryParts()> QueryParts;
};

// The paper a format's first page uses, by the ordinals of the report engine.
struct TPaperInfo {
    int PaperSize = 0; // index into the paper-size names
    int Units = 0; // index into the unit names
    double Width = 0; // the page's first and second measurement, in Units
    double Length = 0;
};

class IVRFormatForm {
public:
    virtual ~IVRFormatForm();

    // The stored format to use; given before the context.
    virtual void SetFormatName(const QString& storageName) = 0;
    // The run's context; a form with stored formats reads the one named
    // (from the context's server) here.
    virtual void SetContext(const TFormatContext& context) = 0;
    // Attach the data sets to the server connection.
    virtual void PrepareData() = 0;

    // The format's SQL builder (extended fields). Inactive builders are
    // never asked for pieces.
    virtual bool QueryBuilderActive() const = 0;
    virtual void SetQueryBuilderMode(bool on) = 0;
    virtual bool AcceptQueryParts(const TQueryParts& parts) = 0;
    virtual void SetQueryParts(const TQueryParts& parts, bool designer) = 0;
    // The final text with the extended parts; may raise.
    virtual QString GetFinalQuery(const QString& sql) = 0;
    // Unbind the data-bound controls named in the extended-field list.
    virtual void UnbindExtendedFields() = 0;

    // 1 rows, 0 none, -1 failure.
    virtual int OpenData(const QString& sql) = 0;
    // Every control of the layout that prints the data field (a data text
    // or bar code bound to it, an expression that reads it; any case) prints
    // empty for this run. The data themselves stay as they are.
    virtual void ClearField(const QString& dataField) = 0;

    // True when the pages went to the printer (or file); false when the run
    // was cancelled or the print failed, which the form has told the user.
    virtual bool Print() = 0;
    virtual void Preview() = 0;
    // The printer the last print or preview used.
    virtual int PrinterIndex() const = 0;
    // The context's print settings with the destination the last print
    // used (a print from the preview may have chosen another).
    virtual TPrintSettings Printing() const = 0;

    // Files of the pages: resolution in dots per inch, then prepare the
    // pages, then write the target (OutputKind.h): a page kind as one file
    // per page, prefix + page number + extension, the whole-report kind as
    // the one file it names.
    virtual void SetResolution(int dotsPerInch) = 0;
    virtual bool PreparePages() = 0;
    virtual bool Export(const TExportTarget& target) = 0;
    // Why the last export failed (a file that could not be written, a
    // cancel); empty when the form cannot say.
    virtual QString LastError() const { return {}; }

    // Sends the pages to the recipients the report's rows named, by the
    // context's SendMode (1 e-mail, 2 fax), as the preview's E-Mail and Fax
    // buttons send them but asking nothing: the proposed subject, the first
    // fax server. True when every recipient got its mail or fax; false when
    // the run could not start or a recipient failed (the form has told why).
    // A form that cannot send answers false.
    virtual bool SendToRecipients() { return false; }

    virtual void BeginDesign(const TDesignContext& context) = 0;
    virtual void EndDesign() = 0;

    virtual TPaperInfo PaperInfo() const = 0;
};

// The slip layout's switches (footer, sign-off, totals), which the slip
// printing programs set before output. A format form that is no slip
// layout does not implement it.
class IVRSlipFormat {
public:
    virtual ~IVRSlipFormat();
    virtual void SetSlipType(const QString& slipType) = 0;
    // Sign-off data from the workflow product, for the program.
    virtual void SetWorkflowSignOff(bool on, const QString& programCode) = 0;
    virtual void SetText(int slot, const QString& text) = 0;
    virtual void SetEveryPage(bool signOff, bool footer, bool totals) = 0;
    virtual void SetFooterLines(const QStringList& lines) = 0;
    virtual void SetSignOffLines(const QStringList& lines) = 0;
};

// A program's format class: its class name (the key of its stored formats)
// and how to make one.
struct TFormatClass {
    QString ClassName;
    std::function<std::unique_ptr<IVRFormatForm>(TComponent* owner)> Create;
    // True when a format form can be made.
    explicit operator bool() const { return Create != nullptr; }
};
