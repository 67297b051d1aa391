#pragma once
// The dialog service: every message box, question, input box, file, printer,
// font and colour dialog, and every modal form goes through Dialogs(). The
// program runs with QtDialogService; tests install a ScriptedDialogService
// that answers from a script and records what was asked, so no test ever
// waits on a modal window.

#include "runtime/forms/PrintSettings.h"
#include "runtime/forms/VclTypes.h"
#include "runtime/system/Exceptions.h"

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>
#include <cstdio>
#include <functional>

class TForm;
class TFont;

enum class DialogKind {
    Message,
    MessageBox,
    Input,
    OpenFile,
    SaveFile,
    Print,
    PrinterSetup,
    Font,
    Color,
    Modal
};

// What a dialog asks; the scripted service records these.
struct DialogRequest {
    DialogKind Kind = DialogKind::Message;
    QString Caption;
    QString Text; // message, prompt
    QString Value; // input default, initial file name
    TMsgDlgType Type = mtCustom;
    TMsgDlgButtons Buttons;
    int Flags = 0; // MessageBox flags
    QString Filter; // file dialogs: "Text files (*.txt)|*.txt|All (*.*)|*.*"
    QString InitialDir;
    TForm* Form = nullptr;
    QString Code; // the message code, when the box shows a coded message
    QMap<TMsgDlgBtn, QString> ButtonCaptions; // buttons that carry a caption of the user's language
    TPrintSettings Printing; // print and printer-setup dialogs: what they opened with
};

// What a message box may carry besides its text: the code of the message it
// shows ("E;000025") and the captions its buttons take in the user's language
// (a button without an entry keeps the toolkit's caption). A caller sets them
// for the boxes it shows while a TMessageBoxScope lives; every service reads
// them with CurrentMessageBox(). Scopes nest; the innermost one counts.
struct TMessageBoxExtras {
    QString Code;
    QMap<TMsgDlgBtn, QString> ButtonCaptions;
};

class TMessageBoxScope {
public:
    explicit TMessageBoxScope(TMessageBoxExtras extras);
    ~TMessageBoxScope();
    TMessageBoxScope(const TMessageBoxScope&) = delete;
    TMessageBoxScope& operator=(const TMessageBoxScope&) = delete;

private:
    TMessageBoxExtras previous_;
};

// The extras of the innermost live scope; empty outside every scope.
const TMessageBoxExtras& CurrentMessageBox();

// The file dialog settings a caller fills and reads back.
struct FileDialogOptions {
    QString Title;
    QString Filter;
    int FilterIndex = 1;
    QString InitialDir;
    QString FileName;
    QString DefaultExt;
};

class IDialogService {
public:
    virtual ~IDialogService();
    // Answers a modal result (mrOk, mrYes ...).
    virtual int MessageDlg(
        const QString& text, TMsgDlgType type, TMsgDlgButtons buttons, const QString& caption)
        = 0;
    // Windows MessageBox: flags are MB_ values; answers IDOK (1), IDCANCEL (2), IDYES (6) ...
    virtual int MessageBox(const QString& text, const QString& caption, int flags) = 0;
    // True when the user accepted; value holds the answer.
    virtual bool InputQuery(const QString& caption, const QString& prompt, QString& value) = 0;
    virtual bool OpenDialog(FileDialogOptions& options) = 0;
    virtual bool SaveDialog(FileDialogOptions& options) = 0;
    // A print: settings in are where the last print went and the sheets
    // there are (PageCount, for the range); out, when accepted, the user's
    // whole choice: printer or file, range, copies, collation, duplex,
    // colour, paper. Cancelled, settings are left as they were.
    virtual bool PrintDialog(TPrintSettings& settings) = 0;
    // Where later prints go and how (no page range); settings as above.
    virtual bool PrinterSetupDialog(TPrintSettings& settings) = 0;
    virtual bool FontDialog(TFont* font) = 0;
    virtual bool ColorDialog(TColor& color) = 0;
    // Shows form modally and answers its ModalResult.
    virtual int ShowModal(TForm* form) = 0;
};

// The service in use: the one installed with SetDialogService, else the
// console service while the environment variable ConsoleMessagesVariable
// reads "console", else QtDialogService.
IDialogService& Dialogs();
// Installs service (not owned; null restores the default) and answers the previous one.
IDialogService* SetDialogService(IDialogService* service);

// The original runtime's helpers, all through Dialogs().
void ShowMessage(const QString& text);
int MessageDlg(const QString& text, TMsgDlgType type, TMsgDlgButtons buttons);
QString InputBox(const QString& caption, const QString& prompt, const QString& defaultValue);
bool InputQuery(const QString& caption, const QString& prompt, QString& value);

// MessageBox flags and answers, as the Windows API numbers them.
enum : int {
    MB_OK = 0x0,
    MB_OKCANCEL = 0x1,
    MB_ABORTRETRYIGNORE = 0x2,
    MB_YESNOCANCEL = 0x3,
    MB_YESNO = 0x4,
    MB_RETRYCANCEL = 0x5,
    MB_ICONERROR = 0x10,
    MB_ICONQUESTION = 0x20,
    MB_ICONWARNING = 0x30,
    MB_ICONINFORMATION = 0x40,
    MB_DEFBUTTON2 = 0x100,
    MB_DEFBUTTON3 = 0x200
};
enum : int { IDOK = 1, IDCANCEL = 2, IDABORT = 3, IDRETRY = 4, IDIGNORE = 5, IDYES = 6, IDNO = 7 };

// Real dialogs on screen.
class QtDialogService : public IDialogService {
public:
    int MessageDlg(
        const QString& text, TMsgDlgType type, TMsgDlgButtons buttons, const QString& caption) override;
    int MessageBox(const QString& text, const QString& caption, int flags) override;
    bool InputQuery(const QString& caption, const QString& prompt, QString& value) override;
    bool OpenDialog(FileDialogOptions& options) override;
    bool SaveDialog(FileDialogOptions& options) override;
    bool PrintDialog(TPrintSettings& settings) override;
    bool PrinterSetupDialog(TPrintSettings& settings) override;
    bool FontDialog(TFont* font) override;
    bool ColorDialog(TColor& color) override;
    int ShowModal(TForm* form) override;
};

// Messages of a run without a window (the shell's key commands). A program
// module carries its own copy of this runtime, so the shell cannot install a
// service in it; it sets the environment variable instead, which every copy
// reads. Each error message the console service reports raises the count in
// ConsoleErrorsVariable, which the shell reads back for its exit status.
inline constexpr const char* ConsoleMessagesVariable = "STEWARD_MESSAGES";
inline constexpr const char* ConsoleErrorsVariable = "STEWARD_MESSAGE_ERRORS";

// Writes message boxes to a stream (stderr by default) as one line each:
// the message code when there is one, the text (line breaks kept as
// indented lines) and, when the box offered a choice, the answer taken.
// It never waits: a box answers Cancel when it offers it, else No, else OK,
// else its first button, since nobody is there to agree to anything. Input,
// file, printer-setup, font and colour dialogs are refused (false); a print
// dialog keeps the settings it was given, since printing was asked for; modal
// forms (a preview the command opened) are passed to the fallback service,
// except on the offscreen platform, where nobody could close them (refused,
// mrCancel).
class ConsoleDialogService : public IDialogService {
public:
    explicit ConsoleDialogService(IDialogService& fallback, std::FILE* out = stderr);

    int MessageDlg(
        const QString& text, TMsgDlgType type, TMsgDlgButtons buttons, const QString& caption) override;
    int MessageBox(const QString& text, const QString& caption, int flags) override;
    bool InputQuery(const QString& caption, const QString& prompt, QString& value) override;
    bool OpenDialog(FileDialogOptions& options) override;
    bool SaveDialog(FileDialogOptions& options) override;
    bool PrintDialog(TPrintSettings& settings) override;
    bool PrinterSetupDialog(TPrintSettings& settings) override;
    bool FontDialog(TFont* font) override;
    bool ColorDialog(TColor& color) override;
    int ShowModal(TForm* form) override;

    // The error messages this service reported.
    int Errors() const { return errors_; }

private:
    void say(const QString& line) const;
    void refuse(const QString& what, const QString& text) const;

    IDialogService& fallback_;
    std::FILE* out_;
    int errors_ = 0;
};

ZORV_EXCEPTION_CLASS(EUnexpectedDialog, Exception)

// Answers dialogs from a script, in order. Each expectation names the kind of
// dialog; its answer is a result code, an accept flag with a value, or a
// handler that sees the request (and, for modal forms, may work the form).
// A dialog nobody expected is recorded in Failures() and raises
// EUnexpectedDialog, so a test cannot pass by accident.
class ScriptedDialogService : public IDialogService {
public:
    struct Answer {
        int Result = mrOk; // modal result or MessageBox answer
        bool Accepted = true; // input, file, print, font and colour dialogs
        QString Value; // input text, file name, printer name
        std::function<int(const DialogRequest&)> Handler; // overrides Result when set
    };
    // The user's choice in a print or printer-setup dialog, made on the
    // settings it opened with (after an answer's Value, the printer, and
    // Result, the copies, when those are given).
    using PrintChoice = std::function<void(TPrintSettings&)>;

    // Installs itself as the service for its lifetime.
    ScriptedDialogService();
    ~ScriptedDialogService() override;

    // Queues the answer for the next dialog, which must be of that kind and,
    // when textContains is given, show a text containing it.
    ScriptedDialogService& Expect(DialogKind kind, Answer answer, const QString& textContains = QString());
    // A print or printer-setup dialog (kind) accepted with choose made on its settings.
    ScriptedDialogService& ExpectPrint(DialogKind kind, PrintChoice choose);
    ScriptedDialogService& ExpectMessage(int result, const QString& textContains = QString());
    ScriptedDialogService& ExpectInput(bool accepted, const QString& value);
    ScriptedDialogService& ExpectModal(std::function<int(TForm*)> handler);
    // A print dialog: accepted with choose made on its settings, or
    // cancelled when choose is empty.
    ScriptedDialogService& ExpectPrint(PrintChoice choose);

    const QList<DialogRequest>& Asked() const { return asked_; }
    const QStringList& Failures() const { return failures_; }
    int Pending() const { return static_cast<int>(script_.size()); }

    int MessageDlg(
        const QString& text, TMsgDlgType type, TMsgDlgButtons buttons, const QString& caption) override;
    int MessageBox(const QString& text, const QString& caption, int flags) override;
    bool InputQuery(const QString& caption, const QString& prompt, QString& value) override;
    bool OpenDialog(FileDialogOptions& options) override;
    bool SaveDialog(FileDialogOptions& options) override;
    bool PrintDialog(TPrintSettings& settings) override;
    bool PrinterSetupDialog(TPrintSettings& settings) override;
    bool FontDialog(TFont* font) override;
    bool ColorDialog(TColor& color) override;
    int ShowModal(TForm* form) override;

private:
    struct Step {
        DialogKind Kind;
        Answer Reply;
        QString TextContains;
        PrintChoice Choose;
    };
    // Records the request and takes the matching step (throws when none fits).
    Answer take(const DialogRequest& request);
    Step takeStep(const DialogRequest& request);
    bool fileDialog(DialogKind kind, FileDialogOptions& options);
    bool printDialog(DialogKind kind, TPrintSettings& settings);

    QList<Step> script_;
    QList<DialogRequest> asked_;
    QStringList failures_;
    IDialogService* previous_;
};

QString DialogKindName(DialogKind kind);
