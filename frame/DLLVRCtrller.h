#pragma once
// TDLLVRCtrller: the controller of every print program. It creates the
// program's options form from frmVRBaseOptClass, hooks the form's show, hide
// and destroy events so that the shell hears of them, and turns the shell's
// numbered commands into calls on the form. It owns the form: CloseForm and
// the destructor free it; the form's destroy event makes it forget the form.

#include "frame/DLLBaseController.h"
#include "frame/OptionsFormClass.h"
#include "runtime/forms/Method.h"

#include <memory>

class TDLLVRCtrller : public TDLLBaseController {
public:
    TDLLVRCtrller();
    ~TDLLVRCtrller() override;

    void GetVersion(QString& version) override;
    qint32 IsFormVisible() override;
    void SetFormVisible(bool visible) override;
    quintptr GetFormHandle() override;
    qint32 Open(const Variant& args) override;
    qint32 SetParams(const Variant& args) override;
    qint32 Execute(qint32 command, qint32 ignored, const Variant& args) override;
    void ShowModal(Variant& result) override;
    void CloseForm() override;
    qint32 GetInfo(Variant& info) override;
    bool IsClosed() override;
    void FormShowHandler(QObject* sender) override;
    void FormHideHandler(QObject* sender) override;
    void FormDestroyHandler(QObject* sender) override;
    void CloseDesigner() override;

    // The commands Execute understands.
    // 12 opens the user's condition scheme named by element 0 (the window
    // stays hidden; later commands run on its criteria); 13 sends the
    // report of the entered criteria by their send way.
    enum Command : qint32 {
        cmdPrintOrPreview = 5,
        cmdPrintKeys = 6,
        cmdExportPictures = 11,
        cmdOpenScheme = 12,
        cmdSendReport = 13,
    };
    // Resolution of exported pictures when the shell gives none.
    static constexpr int DefaultResolution = 96;

    // The form this controller owns; null before Open and once it is destroyed.
    IVROptionsForm* Form = nullptr;
    // The form's own handlers found when Open hooked its events.
    TNotifyEvent PrevOnShow;
    TNotifyEvent PrevOnHide;
    TNotifyEvent PrevOnDestroy;

private:
    void hookEvents();
    void unhookEvents(TForm* form);
    // The form's QObject is gone (its destroyed signal).
    void formGone(QObject* form);
    // Clears everything the controller keeps of its form.
    void forgetForm();
    bool executeCommand(qint32 command, const Variant& args);

    // The guard of the handlers hooked into the form: they are skipped once
    // the controller is gone.
    std::unique_ptr<QObject> watcher_;
    TForm* window_ = nullptr; // Form->AsForm()
    bool hooked_ = false;
    bool destroying_ = false;
    // False once the destructor has begun: the shell may free the controller
    // from inside an event the controller fires (0x130 above all).
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

// Registers TDLLVRCtrller as the module's controller class (DLLControllerClass).
void InitDLLVRCtrllerUnit();
