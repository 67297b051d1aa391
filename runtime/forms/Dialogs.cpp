#include "runtime/forms/Dialogs.h"

#include "runtime/forms/Forms.h"

#include <QAbstractButton>
#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QGuiApplication>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPageRanges>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QRadioButton>

namespace {

IDialogService* current = nullptr;

IDialogService& defaultService()
{
    static QtDialogService service;
    return service;
}

// "Text (*.txt)|*.txt|All (*.*)|*.*" -> "Text (*.txt);;All (*.*)"
QString qtFilter(const QString& filter)
{
    const QStringList parts = filter.split(u'|');
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts.at(i + 1);
        patterns.replace(u';', u' ');
        out << (parts.at(i).contains(u'(') ? parts.at(i)
                                           : QStringLiteral("%1 (%2)").arg(parts.at(i), patterns));
    }
    return out.join(QStringLiteral(";;"));
}

struct ButtonMap {
    TMsgDlgBtn button;
    QMessageBox::StandardButton qt;
    int result;
};

constexpr ButtonMap buttonMap[] = {
    {mbYes, QMessageBox::Yes, mrYes},
    {mbNo, QMessageBox::No, mrNo},
    {mbOK, QMessageBox::Ok, mrOk},
    {mbCancel, QMessageBox::Cancel, mrCancel},
    {mbAbort, QMessageBox::Abort, mrAbort},
    {mbRetry, QMessageBox::Retry, mrRetry},
    {mbIgnore, QMessageBox::Ignore, mrIgnore},
    {mbAll, QMessageBox::YesToAll, mrAll},
    {mbNoToAll, QMessageBox::NoToAll, mrNoToAll},
    {mbYesToAll, QMessageBox::YesToAll, mrYesToAll},
    {mbHelp, QMessageBox::Help, mrNone},
};

// A Windows MessageBox's flags as a message dialog's type and buttons.
struct MessageBoxLook {
    TMsgDlgType Type = mtCustom;
    TMsgDlgButtons Buttons;
};

MessageBoxLook messageBoxLook(int flags)
{
    MessageBoxLook look;
    switch (flags & 0xF) {
    case MB_OKCANCEL:
        look.Buttons = TMsgDlgButtons(mbOK) | mbCancel;
        break;
    case MB_ABORTRETRYIGNORE:
        look.Buttons = TMsgDlgButtons(mbAbort) | mbRetry | mbIgnore;
        break;
    case MB_YESNOCANCEL:
        look.Buttons = TMsgDlgButtons(mbYes) | mbNo | mbCancel;
        break;
    case MB_YESNO:
        look.Buttons = TMsgDlgButtons(mbYes) | mbNo;
        break;
    case MB_RETRYCANCEL:
        look.Buttons = TMsgDlgButtons(mbRetry) | mbCancel;
        break;
    default:
        look.Buttons = mbOK;
        break;
    }
    switch (flags & 0xF0) {
    case MB_ICONERROR:
        look.Type = mtError;
        break;
    case MB_ICONQUESTION:
        look.Type = mtConfirmation;
        break;
    case MB_ICONWARNING:
        look.Type = mtWarning;
        break;
    case MB_ICONINFORMATION:
        look.Type = mtInformation;
        break;
    default:
        break;
    }
    return look;
}

TMessageBoxExtras& messageBoxExtras()
{
    static TMessageBoxExtras extras;
    return extras;
}

} // namespace

TMessageBoxScope::TMessageBoxScope(TMessageBoxExtras extras)
    : previous_(std::move(messageBoxExtras()))
{
    messageBoxExtras() = std::move(extras);
}

TMessageBoxScope::~TMessageBoxScope()
{
    messageBoxExtras() = std::move(previous_);
}

const TMessageBoxExtras& CurrentMessageBox()
{
    return messageBoxExtras();
}

IDialogService::~IDialogService() = default;

IDialogService& Dialogs()
{
    if (current)
        return *current;
    // Read at every call: the shell sets it before it opens the program,
    // whatever the program asked of the service before.
    if (qgetenv(ConsoleMessagesVariable) == "console") {
        static ConsoleDialogService console(defaultService());
        return console;
    }
    return defaultService();
}

IDialogService* SetDialogService(IDialogService* service)
{
    IDialogService* previous = current;
    current = service;
    return previous;
}

void ShowMessage(const QString& text)
{
    Dialogs().MessageDlg(text, mtCustom, mbOK, QString());
}

int MessageDlg(const QString& text, TMsgDlgType type, TMsgDlgButtons buttons)
{
    return Dialogs().MessageDlg(text, type, buttons, QString());
}

QString InputBox(const QString& caption, const QString& prompt, const QString& defaultValue)
{
    QString value = defaultValue;
    return Dialogs().InputQuery(caption, prompt, value) ? value : defaultValue;
}

bool InputQuery(const QString& caption, const QString& prompt, QString& value)
{
    return Dialogs().InputQuery(caption, prompt, value);
}

QString DialogKindName(DialogKind kind)
{
    static const char* const names[] = {"Message", "MessageBox", "Input", "OpenFile", "SaveFile", "Print",
        "PrinterSetup", "Font", "Color", "Modal"};
    return QString::fromLatin1(names[static_cast<int>(kind)]);
}

// QtDialogService ------------------------------------------------------------

int QtDialogService::MessageDlg(
    const QString& text, TMsgDlgType type, TMsgDlgButtons buttons, const QString& caption)
{
    QMessageBox box;
    box.setText(text);
    box.setWindowTitle(caption.isEmpty() ? QApplication::applicationName() : caption);
    switch (type) {
    case mtWarning:
        box.setIcon(QMessageBox::Warning);
        break;
    case mtError:
        box.setIcon(QMessageBox::Critical);
        break;
    case mtInformation:
        box.setIcon(QMessageBox::Information);
        break;
    case mtConfirmation:
        box.setIcon(QMessageBox::Question);
        break;
    default:
        break;
    }
    QMessageBox::StandardButtons standard;
    for (const ButtonMap& map : buttonMap) {
        if (buttons.testFlag(map.button))
            standard |= map.qt;
    }
    box.setStandardButtons(standard ? standard : QMessageBox::Ok);
    const TMessageBoxExtras& extras = CurrentMessageBox();
    for (const ButtonMap& map : buttonMap) {
        QAbstractButton* button = box.button(map.qt);
        const auto own = extras.ButtonCaptions.constFind(map.button);
        if (button && own != extras.ButtonCaptions.constEnd())
            button->setText(*own);
    }
    const int answer = box.exec();
    for (const ButtonMap& map : buttonMap) {
        if (map.qt == answer)
            return map.result;
    }
    return mrCancel;
}

int QtDialogService::MessageBox(const QString& text, const QString& caption, int flags)
{
    const MessageBoxLook look = messageBoxLook(flags);
    // Modal results and MessageBox answers share their numbers.
    return MessageDlg(text, look.Type, look.Buttons, caption);
}

bool QtDialogService::InputQuery(const QString& caption, const QString& prompt, QString& value)
{
    bool ok = false;
    const QString answer = QInputDialog::getText(nullptr, caption, prompt, QLineEdit::Normal, value, &ok);
    if (ok)
        value = answer;
    return ok;
}

bool QtDialogService::OpenDialog(FileDialogOptions& options)
{
    QString selected;
    const QString name = QFileDialog::getOpenFileName(nullptr, options.Title,
        options.InitialDir.isEmpty() ? options.FileName : options.InitialDir, qtFilter(options.Filter),
        &selected);
    if (name.isEmpty())
        return false;
    options.FileName = name;
    return true;
}

bool QtDialogService::SaveDialog(FileDialogOptions& options)
{
    QString selected;
    QString name = QFileDialog::getSaveFileName(nullptr, options.Title,
        options.InitialDir.isEmpty() ? options.FileName : options.InitialDir, qtFilter(options.Filter),
        &selected);
    if (name.isEmpty())
        return false;
    if (!options.DefaultExt.isEmpty() && !name.contains(u'.'))
        name += u'.' + options.DefaultExt;
    options.FileName = name;
    return true;
}

namespace {

// Qt's print dialog whose page-set line ("Pages: 1,3-4", offered on CUPS
// printers) takes what the user typed. Qt 6.4 checks that line, when it is
// chosen, by the page ranges the printer carries before the dialog has put
// the typed ranges on it: on a printer without ranges every text, "2-3" too,
// is refused as invalid. accept() puts the ranges of the text on the printer
// first, so a valid text passes and an invalid one (no ranges) still gets
// Qt's own message, and the dialog stays open. Where Qt checks the text
// itself this changes nothing: the dialog then sets the same ranges again.
class TPageSetPrintDialog : public QPrintDialog {
public:
    using QPrintDialog::QPrintDialog;

    void accept() override
    {
        // The names are those of Qt's own form of the dialog.
        const auto* chosen = findChild<QRadioButton*>(QStringLiteral("pagesRadioButton"));
        const auto* text = findChild<QLineEdit*>(QStringLiteral("pagesLineEdit"));
        if (chosen && text && chosen->isEnabled() && chosen->isChecked())
            printer()->setPageRanges(QPageRanges::fromString(text->text()));
        QPrintDialog::accept();
    }
};

// Qt's print dialog on a printer that carries settings; accepted, settings
// take everything the user chose there. withRange offers the page range
// (over settings.PageCount sheets, when known).
bool runPrintDialog(TPrintSettings& settings, bool withRange)
{
    QPrinter printer(QPrinter::HighResolution);
    ApplyPrintSettings(settings, printer);
    TPageSetPrintDialog dialog(&printer);
    QAbstractPrintDialog::PrintDialogOptions options = QAbstractPrintDialog::PrintToFile
        | QAbstractPrintDialog::PrintCollateCopies | QAbstractPrintDialog::PrintShowPageSize;
    if (withRange && settings.PageCount > 0) {
        options |= QAbstractPrintDialog::PrintPageRange;
        dialog.setMinMax(1, settings.PageCount);
    }
    dialog.setOptions(options);
    const QPageLayout offered = printer.pageLayout();
    if (dialog.exec() != QDialog::Accepted)
        return false;
    const TPrintSettings asked = settings;
    settings = PrintSettingsOf(printer);
    settings.PageCount = asked.PageCount;
    // Settings without paper print on the report's own: the printer's
    // default paper only counts when the user chose it.
    if (!asked.Paper.isValid() && settings.Paper.isEquivalentTo(offered.pageSize())
        && settings.Orientation == offered.orientation())
        settings.Paper = QPageSize();
    // Choosing a printer in the dialog puts that printer's default paper on
    // it; the paper the dialog opened with stays unless the user chose
    // another than that default.
    if (asked.Paper.isValid() && !settings.ToFile()) {
        const QPageSize printerDefault = QPrinterInfo::printerInfo(settings.PrinterName).defaultPageSize();
        if (printerDefault.isValid() && settings.Paper.isEquivalentTo(printerDefault)
            && !asked.Paper.isEquivalentTo(printerDefault)) {
            settings.Paper = asked.Paper;
            settings.Orientation = asked.Orientation;
        }
    }
    if (!withRange) {
        settings.FromPage = 0;
        settings.ToPage = 0;
        settings.PageRanges = QPageRanges();
    }
    return true;
}

} // namespace

bool QtDialogService::PrintDialog(TPrintSettings& settings)
{
    return runPrintDialog(settings, true);
}

bool QtDialogService::PrinterSetupDialog(TPrintSettings& settings)
{
    return runPrintDialog(settings, false);
}

bool QtDialogService::FontDialog(TFont* font)
{
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, font->ToQFont());
    if (!ok)
        return false;
    font->SetName(chosen.family());
    if (chosen.pixelSize() > 0)
        font->SetHeight(-chosen.pixelSize());
    else
        font->SetSize(qRound(chosen.pointSizeF()));
    TFontStyles style;
    style.setFlag(fsBold, chosen.bold());
    style.setFlag(fsItalic, chosen.italic());
    style.setFlag(fsUnderline, chosen.underline());
    style.setFlag(fsStrikeOut, chosen.strikeOut());
    font->SetStyle(style);
    return true;
}

bool QtDialogService::ColorDialog(TColor& color)
{
    const QColor chosen = QColorDialog::getColor(ColorToQColor(color));
    if (!chosen.isValid())
        return false;
    color = static_cast<TColor>(chosen.red() | (chosen.green() << 8) | (chosen.blue() << 16));
    return true;
}

int QtDialogService::ShowModal(TForm* form)
{
    return form->RunModalLoop();
}

// ScriptedDialogService ------------------------------------------------------

ScriptedDialogService::ScriptedDialogService()
    : previous_(SetDialogService(this))
{
}

ScriptedDialogService::~ScriptedDialogService()
{
    SetDialogService(previous_);
}

ScriptedDialogService& ScriptedDialogService::Expect(
    DialogKind kind, Answer answer, const QString& textContains)
{
    script_.append({kind, std::move(answer), textContains, {}});
    return *this;
}

ScriptedDialogService& ScriptedDialogService::ExpectMessage(int result, const QString& textContains)
{
    Answer answer;
    answer.Result = result;
    return Expect(DialogKind::Message, answer, textContains);
}

ScriptedDialogService& ScriptedDialogService::ExpectInput(bool accepted, const QString& value)
{
    Answer answer;
    answer.Accepted = accepted;
    answer.Value = value;
    return Expect(DialogKind::Input, answer);
}

ScriptedDialogService& ScriptedDialogService::ExpectModal(std::function<int(TForm*)> handler)
{
    Answer answer;
    answer.Handler
        = [handler = std::move(handler)](const DialogRequest& request) { return handler(request.Form); };
    return Expect(DialogKind::Modal, answer);
}

ScriptedDialogService& ScriptedDialogService::ExpectPrint(DialogKind kind, PrintChoice choose)
{
    Answer answer;
    answer.Accepted = choose != nullptr;
    script_.append({kind, answer, QString(), std::move(choose)});
    return *this;
}

ScriptedDialogService& ScriptedDialogService::ExpectPrint(PrintChoice choose)
{
    return ExpectPrint(DialogKind::Print, std::move(choose));
}

ScriptedDialogService::Answer ScriptedDialogService::take(const DialogRequest& request)
{
    return takeStep(request).Reply;
}

ScriptedDialogService::Step ScriptedDialogService::takeStep(const DialogRequest& request)
{
    asked_.append(request);
    QString problem;
    if (script_.isEmpty())
        problem
            = QStringLiteral("Unexpected %1 dialog: \"%2\"").arg(DialogKindName(request.Kind), request.Text);
    else if (script_.first().Kind != request.Kind)
        problem = QStringLiteral("Expected a %1 dialog, got %2: \"%3\"")
                      .arg(DialogKindName(script_.first().Kind), DialogKindName(request.Kind), request.Text);
    else if (!script_.first().TextContains.isEmpty() && !request.Text.contains(script_.first().TextContains))
        problem = QStringLiteral("Expected a %1 dialog about \"%2\", got \"%3\"")
                      .arg(DialogKindName(request.Kind), script_.first().TextContains, request.Text);
    if (!problem.isEmpty()) {
        failures_.append(problem);
        throw EUnexpectedDialog(problem);
    }
    return script_.takeFirst();
}

int ScriptedDialogService::MessageDlg(
    const QString& text, TMsgDlgType type, TMsgDlgButtons buttons, const QString& caption)
{
    DialogRequest request;
    request.Text = text;
    request.Type = type;
    request.Buttons = buttons;
    request.Caption = caption;
    request.Code = CurrentMessageBox().Code;
    request.ButtonCaptions = CurrentMessageBox().ButtonCaptions;
    const Answer answer = take(request);
    return answer.Handler ? answer.Handler(request) : answer.Result;
}

int ScriptedDialogService::MessageBox(const QString& text, const QString& caption, int flags)
{
    DialogRequest request;
    request.Kind = DialogKind::MessageBox;
    request.Text = text;
    request.Caption = caption;
    request.Flags = flags;
    const Answer answer = take(request);
    return answer.Handler ? answer.Handler(request) : answer.Result;
}

bool ScriptedDialogService::InputQuery(const QString& caption, const QString& prompt, QString& value)
{
    DialogRequest request;
    request.Kind = DialogKind::Input;
    request.Caption = caption;
    request.Text = prompt;
    request.Value = value;
    const Answer answer = take(request);
    if (answer.Accepted)
        value = answer.Value;
    return answer.Accepted;
}

bool ScriptedDialogService::fileDialog(DialogKind kind, FileDialogOptions& options)
{
    DialogRequest request;
    request.Kind = kind;
    request.Text = options.Title;
    request.Value = options.FileName;
    request.Filter = options.Filter;
    request.InitialDir = options.InitialDir;
    const Answer answer = take(request);
    if (answer.Accepted)
        options.FileName = answer.Value;
    return answer.Accepted;
}

bool ScriptedDialogService::OpenDialog(FileDialogOptions& options)
{
    return fileDialog(DialogKind::OpenFile, options);
}

bool ScriptedDialogService::SaveDialog(FileDialogOptions& options)
{
    return fileDialog(DialogKind::SaveFile, options);
}

bool ScriptedDialogService::printDialog(DialogKind kind, TPrintSettings& settings)
{
    DialogRequest request;
    request.Kind = kind;
    request.Value = settings.PrinterName;
    request.Printing = settings;
    const Step step = takeStep(request);
    const Answer& answer = step.Reply;
    if (!answer.Accepted)
        return false;
    if (!answer.Value.isEmpty()) {
        settings.Output = TPrintSettings::Destination::Printer;
        settings.PrinterName = answer.Value;
    }
    if (kind == DialogKind::Print && answer.Result > 0)
        settings.Copies = answer.Result;
    if (step.Choose)
        step.Choose(settings);
    return true;
}

bool ScriptedDialogService::PrintDialog(TPrintSettings& settings)
{
    return printDialog(DialogKind::Print, settings);
}

bool ScriptedDialogService::PrinterSetupDialog(TPrintSettings& settings)
{
    return printDialog(DialogKind::PrinterSetup, settings);
}

bool ScriptedDialogService::FontDialog(TFont* font)
{
    DialogRequest request;
    request.Kind = DialogKind::Font;
    request.Value = font->Name();
    const Answer answer = take(request);
    if (answer.Accepted && !answer.Value.isEmpty())
        font->SetName(answer.Value);
    return answer.Accepted;
}

bool ScriptedDialogService::ColorDialog(TColor& color)
{
    DialogRequest request;
    request.Kind = DialogKind::Color;
    const Answer answer = take(request);
    if (answer.Accepted)
        color = static_cast<TColor>(answer.Result);
    return answer.Accepted;
}

int ScriptedDialogService::ShowModal(TForm* form)
{
    DialogRequest request;
    request.Kind = DialogKind::Modal;
    request.Form = form;
    request.Caption = form->Caption();
    request.Text = form->Name();
    const Answer answer = take(request);
    return answer.Handler ? answer.Handler(request) : answer.Result;
}

// ConsoleDialogService -------------------------------------------------------

namespace {

struct ConsoleAnswer {
    TMsgDlgBtn Button;
    int Result;
    const char* Name;
};

// In this order: the first button a box offers is the answer.
constexpr ConsoleAnswer consoleAnswers[] = {
    {mbCancel, mrCancel, "Cancel"},
    {mbNo, mrNo, "No"},
    {mbOK, mrOk, "OK"},
    {mbAbort, mrAbort, "Abort"},
    {mbNoToAll, mrNoToAll, "No to all"},
    {mbIgnore, mrIgnore, "Ignore"},
    {mbRetry, mrRetry, "Retry"},
    {mbYes, mrYes, "Yes"},
    {mbYesToAll, mrYesToAll, "Yes to all"},
    {mbAll, mrAll, "All"},
};

QString typeWord(TMsgDlgType type)
{
    switch (type) {
    case mtError:
        return QStringLiteral("error");
    case mtWarning:
        return QStringLiteral("warning");
    case mtInformation:
        return QStringLiteral("information");
    case mtConfirmation:
        return QStringLiteral("question");
    default:
        return QStringLiteral("message");
    }
}

} // namespace

ConsoleDialogService::ConsoleDialogService(IDialogService& fallback, std::FILE* out)
    : fallback_(fallback)
    , out_(out)
{
}

void ConsoleDialogService::say(const QString& line) const
{
    std::fputs(line.toUtf8().constData(), out_);
    std::fputc('\n', out_);
    std::fflush(out_);
}

int ConsoleDialogService::MessageDlg(
    const QString& text, TMsgDlgType type, TMsgDlgButtons buttons, const QString&)
{
    const QString code = CurrentMessageBox().Code;
    // Windows line breaks of the message texts become indented lines.
    QString body = text.trimmed();
    body.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
    body.replace(QStringLiteral("\n"), QStringLiteral("\n    "));
    QString line = code.isEmpty() ? typeWord(type) + QStringLiteral(": ") + body : code + u' ' + body;
    int result = mrOk;
    const TMsgDlgButtons offered = buttons ? buttons : TMsgDlgButtons(mbOK);
    int choices = 0;
    for (const ConsoleAnswer& a : consoleAnswers)
        choices += offered.testFlag(a.Button) ? 1 : 0;
    for (const ConsoleAnswer& a : consoleAnswers) {
        if (offered.testFlag(a.Button)) {
            result = a.Result;
            if (choices > 1)
                line += QStringLiteral(" [answered %1]").arg(QLatin1String(a.Name));
            break;
        }
    }
    say(line);
    const bool error = type == mtError || code.startsWith(QLatin1String("E;"));
    if (error) {
        ++errors_;
        const int before = qEnvironmentVariableIntValue(ConsoleErrorsVariable);
        qputenv(ConsoleErrorsVariable, QByteArray::number(before + 1));
    }
    return result;
}

int ConsoleDialogService::MessageBox(const QString& text, const QString& caption, int flags)
{
    const MessageBoxLook look = messageBoxLook(flags);
    return MessageDlg(text, look.Type, look.Buttons, caption);
}

void ConsoleDialogService::refuse(const QString& what, const QString& text) const
{
    say(QStringLiteral("%1 not shown (no window): %2").arg(what, text));
}

bool ConsoleDialogService::InputQuery(const QString&, const QString& prompt, QString&)
{
    refuse(QStringLiteral("input"), prompt);
    return false;
}

bool ConsoleDialogService::OpenDialog(FileDialogOptions& options)
{
    refuse(QStringLiteral("file dialog"), options.Title);
    return false;
}

bool ConsoleDialogService::SaveDialog(FileDialogOptions& options)
{
    refuse(QStringLiteral("file dialog"), options.Title);
    return false;
}

bool ConsoleDialogService::PrintDialog(TPrintSettings&)
{
    return true;
}

bool ConsoleDialogService::PrinterSetupDialog(TPrintSettings& settings)
{
    refuse(QStringLiteral("printer setup"), settings.DestinationText());
    return false;
}

bool ConsoleDialogService::FontDialog(TFont*)
{
    refuse(QStringLiteral("font dialog"), QString());
    return false;
}

bool ConsoleDialogService::ColorDialog(TColor&)
{
    refuse(QStringLiteral("colour dialog"), QString());
    return false;
}

int ConsoleDialogService::ShowModal(TForm* form)
{
    // On the offscreen platform nobody could ever close the window.
    if (QGuiApplication::platformName() == QLatin1String("offscreen")) {
        say(QStringLiteral("window not shown (no display): ") + form->Caption());
        return mrCancel;
    }
    return fallback_.ShowModal(form);
}
