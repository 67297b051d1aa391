#include "runtime/forms/Dialogs.h"

#include "runtime/forms/Forms.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

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
        out << (parts.at(i).contains(u'(') ? parts.at(i) : QStringLiteral("%1 (%2)").arg(parts.at(i), patterns));
    }
    return out.join(QStringLiteral(";;"));
}

struct ButtonMap {
    TMsgDlgBtn button;
    QMessageBox::StandardButton qt;
    int result;
};

constexpr ButtonMap buttonMap[] = {
    {mbYes, QMessageBox::Yes, mrYes},           {mbNo, QMessageBox::No, mrNo},
    {mbOK, QMessageBox::Ok, mrOk},              {mbCancel, QMessageBox::Cancel, mrCancel},
    {mbAbort, QMessageBox::Abort, mrAbort},     {mbRetry, QMessageBox::Retry, mrRetry},
    {mbIgnore, QMessageBox::Ignore, mrIgnore},  {mbAll, QMessageBox::YesToAll, mrAll},
    {mbNoToAll, QMessageBox::NoToAll, mrNoToAll}, {mbYesToAll, QMessageBox::YesToAll, mrYesToAll},
    {mbHelp, QMessageBox::Help, mrNone},
};

} // namespace

IDialogService::~IDialogService() = default;

IDialogService& Dialogs()
{
    return current ? *current : defaultService();
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
    static const char* const names[] = {"Message", "MessageBox", "Input", "OpenFile", "SaveFile",
                                        "Print", "PrinterSetup", "Font", "Color", "Modal"};
    return QString::fromLatin1(names[static_cast<int>(kind)]);
}

// QtDialogService ------------------------------------------------------------

int QtDialogService::MessageDlg(const QString& text, TMsgDlgType type, TMsgDlgButtons buttons, const QString& caption)
{
    QMessageBox box;
    box.setText(text);
    box.setWindowTitle(caption.isEmpty() ? QApplication::applicationName() : caption);
    switch (type) {
    case mtWarning: box.setIcon(QMessageBox::Warning); break;
    case mtError: box.setIcon(QMessageBox::Critical); break;
    case mtInformation: box.setIcon(QMessageBox::Information); break;
    case mtConfirmation: box.setIcon(QMessageBox::Question); break;
    default: break;
    }
    QMessageBox::StandardButtons standard;
    for (const ButtonMap& map : buttonMap) {
        if (buttons.testFlag(map.button))
            standard |= map.qt;
    }
    box.setStandardButtons(standard ? standard : QMessageBox::Ok);
    const int answer = box.exec();
    for (const ButtonMap& map : buttonMap) {
        if (map.qt == answer)
            return map.result;
    }
    return mrCancel;
}

int QtDialogService::MessageBox(const QString& text, const QString& caption, int flags)
{
    TMsgDlgButtons buttons;
    switch (flags & 0xF) {
    case MB_OKCANCEL: buttons = TMsgDlgButtons(mbOK) | mbCancel; break;
    case MB_ABORTRETRYIGNORE: buttons = TMsgDlgButtons(mbAbort) | mbRetry | mbIgnore; break;
    case MB_YESNOCANCEL: buttons = TMsgDlgButtons(mbYes) | mbNo | mbCancel; break;
    case MB_YESNO: buttons = TMsgDlgButtons(mbYes) | mbNo; break;
    case MB_RETRYCANCEL: buttons = TMsgDlgButtons(mbRetry) | mbCancel; break;
    default: buttons = mbOK; break;
    }
    TMsgDlgType type = mtCustom;
    switch (flags & 0xF0) {
    case MB_ICONERROR: type = mtError; break;
    case MB_ICONQUESTION: type = mtConfirmation; break;
    case MB_ICONWARNING: type = mtWarning; break;
    case MB_ICONINFORMATION: type = mtInformation; break;
    default: break;
    }
    // Modal results and MessageBox answers share their numbers.
    return MessageDlg(text, type, buttons, caption);
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
    const QString name = QFileDialog::getOpenFileName(nullptr, options.Title, options.InitialDir.isEmpty() ? options.FileName : options.InitialDir,
                                                      qtFilter(options.Filter), &selected);
    if (name.isEmpty())
        return false;
    options.FileName = name;
    return true;
}

bool QtDialogService::SaveDialog(FileDialogOptions& options)
{
    QString selected;
    QString name = QFileDialog::getSaveFileName(nullptr, options.Title, options.InitialDir.isEmpty() ? options.FileName : options.InitialDir,
                                                qtFilter(options.Filter), &selected);
    if (name.isEmpty())
        return false;
    if (!options.DefaultExt.isEmpty() && !name.contains(u'.'))
        name += u'.' + options.DefaultExt;
    options.FileName = name;
    return true;
}

bool QtDialogService::PrintDialog(QString& printerName, int& copies)
{
    QPrinter printer;
    if (!printerName.isEmpty())
        printer.setPrinterName(printerName);
    printer.setCopyCount(copies);
    QPrintDialog dialog(&printer);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    printerName = printer.printerName();
    copies = printer.copyCount();
    return true;
}

bool QtDialogService::PrinterSetupDialog(QString& printerName)
{
    int copies = 1;
    return PrintDialog(printerName, copies);
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

ScriptedDialogService::ScriptedDialogService() : previous_(SetDialogService(this)) {}

ScriptedDialogService::~ScriptedDialogService()
{
    SetDialogService(previous_);
}

ScriptedDialogService& ScriptedDialogService::Expect(DialogKind kind, Answer answer, const QString& textContains)
{
    script_.append({kind, std::move(answer), textContains});
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
    answer.Handler = [handler = std::move(handler)](const DialogRequest& request) { return handler(request.Form); };
    return Expect(DialogKind::Modal, answer);
}

ScriptedDialogService::Answer ScriptedDialogService::take(const DialogRequest& request)
{
    asked_.append(request);
    QString problem;
    if (script_.isEmpty())
        problem = QStringLiteral("Unexpected %1 dialog: \"%2\"").arg(DialogKindName(request.Kind), request.Text);
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
    return script_.takeFirst().Reply;
}

int ScriptedDialogService::MessageDlg(const QString& text, TMsgDlgType type, TMsgDlgButtons buttons, const QString& caption)
{
    DialogRequest request;
    request.Text = text;
    request.Type = type;
    request.Buttons = buttons;
    request.Caption = caption;
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

bool ScriptedDialogService::PrintDialog(QString& printerName, int& copies)
{
    DialogRequest request;
    request.Kind = DialogKind::Print;
    request.Value = printerName;
    const Answer answer = take(request);
    if (answer.Accepted) {
        if (!answer.Value.isEmpty())
            printerName = answer.Value;
        if (answer.Result > 0)
            copies = answer.Result;
    }
    return answer.Accepted;
}

bool ScriptedDialogService::PrinterSetupDialog(QString& printerName)
{
    DialogRequest request;
    request.Kind = DialogKind::PrinterSetup;
    request.Value = printerName;
    const Answer answer = take(request);
    if (answer.Accepted && !answer.Value.isEmpty())
        printerName = answer.Value;
    return answer.Accepted;
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
