// libZTESTC.so: a program module whose options form records the controller's
// calls, for driving the shell end to end. Set in the environment:
//   ZTEST_LOG=FILE        append each call and event of the form to FILE
//   ZTEST_APPLY=fail      ApplyParams fails (result value "E;000036")
//   ZTEST_COMMAND=fail    the form's commands fail (result value "W;000006")
//   ZTEST_CLOSE=free|hide once shown, the window closes itself (freed or hidden)
//   ZTEST_MESSAGE=error|warning  print or preview first shows a message box of
//                         that kind (and still succeeds)
// Condition schemes: OpenScheme knows every name but "missing" (an error
// box, then false); SendReport answers as the other commands.
// ApplyParams also logs how the module's dialog service shows messages
// ("messages console" or "messages boxes").
#include "frame/DLLVRCtrller.h"
#include "runtime/forms/Dialogs.h"
#include "tests/frame/module/RecordingOptionsForm.h"

#include <QFile>
#include <QTimer>

namespace {

class TZTestForm : public TRecordingOptionsForm {
public:
    TZTestForm()
        : TRecordingOptionsForm(nullptr)
    {
        ApplyResult = qgetenv("ZTEST_APPLY") != "fail";
        CommandResult = qgetenv("ZTEST_COMMAND") != "fail";
        if (!CommandResult)
            ResultValueValue = Variant("W;000006");
        const QByteArray close = qgetenv("ZTEST_CLOSE");
        FreeOnClose = close != "hide";
        if (!close.isEmpty()) {
            SetOnShow(TNotifyEvent::Of(this, [this](TObject*) {
                Record(QStringLiteral("OnShow"));
                QTimer::singleShot(0, this, [this] { Close(); });
            }));
        }
        SetOnDestroy(TNotifyEvent::Of(this, [this](TObject*) { Record(QStringLiteral("OnDestroy")); }));
    }

    bool ApplyParams(const Variant& params) override
    {
        const bool console = dynamic_cast<ConsoleDialogService*>(&Dialogs()) != nullptr;
        Record(console ? QStringLiteral("messages console") : QStringLiteral("messages boxes"));
        return TRecordingOptionsForm::ApplyParams(params);
    }

    bool PrintOrPreview(bool preview) override
    {
        const QByteArray message = qgetenv("ZTEST_MESSAGE");
        if (message == "error")
            Dialogs().MessageDlg(
                QStringLiteral("The slip is locked.\rAsk the administrator."), mtError, mbOK, Caption());
        else if (message == "warning")
            Dialogs().MessageDlg(
                QStringLiteral("No rows."), mtWarning, TMsgDlgButtons(mbOK) | mbCancel, Caption());
        return TRecordingOptionsForm::PrintOrPreview(preview);
    }

    bool OpenScheme(const QString& name) override
    {
        Record(QStringLiteral("OpenScheme \"%1\"").arg(name));
        if (name != u"missing")
            return true;
        Dialogs().MessageDlg(QStringLiteral("No scheme \"missing\"."), mtError, mbOK, Caption());
        return false;
    }

    bool SendReport() override
    {
        Record(QStringLiteral("SendReport"));
        return CommandResult;
    }

protected:
    void Record(const QString& line) override
    {
        TRecordingOptionsForm::Record(line);
        QFile log(QString::fromLocal8Bit(qgetenv("ZTEST_LOG")));
        if (!log.fileName().isEmpty() && log.open(QIODevice::Append))
            log.write(line.toUtf8() + '\n');
    }
};

IVROptionsForm* createTestForm(TComponent*)
{
    auto* form = new TZTestForm;
    form->AfterConstruction();
    return form;
}

struct ModuleMain {
    ModuleMain()
    {
        InitDLLVRCtrllerUnit();
        frmVRBaseOptClass = &createTestForm;
    }
};

const ModuleMain moduleMain;

} // namespace
