#include "frame/DLLVRCtrller.h"

#include "runtime/data/ClientLogin.h"

#include "runtime/forms/Forms.h"
#include "runtime/system/ArgReader.h"
#include "runtime/system/Libraries.h"

#include <QWidget>

TDLLVRCtrller::TDLLVRCtrller()
    : watcher_(std::make_unique<QObject>())
{
}

TDLLVRCtrller::~TDLLVRCtrller()
{
    if (Form && !destroying_)
        CloseForm();
    *alive_ = false;
    // Still there only when the controller is freed from inside the form's
    // destroy event: leave the form to its own end, unhooked.
    if (window_) {
        unhookEvents(window_);
    }
}

void TDLLVRCtrller::GetVersion(QString& version)
{
    if (Form)
        version = Form->VersionStamp();
}

qint32 TDLLVRCtrller::IsFormVisible()
{
    return Form && window_->Visible() ? -1 : 0;
}

void TDLLVRCtrller::SetFormVisible(bool visible)
{
    if (!Form)
        return;
    if (!visible) {
        window_->Hide();
        return;
    }
    if (window_->WindowState() == Vcl::wsMinimized)
        window_->SetWindowState(Vcl::wsNormal);
    window_->Show();
    if (!window_)
        return; // a show handler closed it
    QWidget* w = window_->Widget();
    if (w->isMinimized())
        w->showNormal();
    w->raise();
    w->activateWindow();
}

quintptr TDLLVRCtrller::GetFormHandle()
{
    if (!Form)
        return 0;
    return static_cast<quintptr>(window_->Widget()->winId());
}

namespace {

// The shell's arguments without the password it may put after the feature
// list (element 5): the password becomes this module's login, which its
// connections present at Connect (runtime/data/ClientLogin.h); the form
// never holds it.
Variant takeLogin(const Variant& given)
{
    const Variant& args = given.Deref();
    if (!args.IsArray() || args.DimCount() != 1 || args.HighBound() - args.LowBound() < 5)
        return given;
    const int low = args.LowBound();
    const Variant& password = args.At(low + 5).Deref();
    if (password.IsString())
        clientlogin::Set(args.At(low).ToString(), password.ToString());
    VariantList kept;
    for (int i = low; i < low + 5; ++i)
        kept << args.At(i);
    return Variant::ArrayOf(kept);
}

} // namespace

qint32 TDLLVRCtrller::Open(const Variant& given)
{
    const Variant args = takeLogin(given);
    qint32 result = -1;
    if (!Form) {
        if (!frmVRBaseOptClass)
            throw Exception(
                QStringLiteral("HVN DLL Internal Error :\rNot Assign \"frmVRBaseOptClass\" varible"));
        IVROptionsForm* form = frmVRBaseOptClass(nullptr);
        TForm* window = form ? form->AsForm() : nullptr;
        if (!window) {
            delete form;
            throw Exception(QStringLiteral("HVN DLL Internal Error :\rThe options form has no window"));
        }
        Form = form;
        window_ = window;
        QObject::connect(
            window_, &QObject::destroyed, watcher_.get(), [this](QObject* gone) { formGone(gone); });
        // The full name: a name cut at a fixed length would name another file.
        Form->SetModulePath(ModuleFileName());
        Form->SetHostObject(HostObject);
        const std::shared_ptr<bool> alive = alive_;
        DoFormCreated();
        // The shell may have closed the form on 0x100, and freed this
        // controller on hearing that the form was gone.
        if (!*alive || !Form)
            return result;
    }
    hookEvents();
    if (Form->ApplyParams(args))
        result = 0;
    return result;
}

qint32 TDLLVRCtrller::SetParams(const Variant& args)
{
    qint32 result = -1;
    if (Form && !args.Deref().IsNull()) {
        try {
            Form->SetParams(args);
            result = 0;
        } catch (...) {
            // The shell only learns that the arguments were not taken.
        }
    }
    return result;
}

qint32 TDLLVRCtrller::Execute(qint32 command, qint32, const Variant& args)
{
    if (!Form)
        return -1;
    return executeCommand(command, args) ? 0 : -1;
}

bool TDLLVRCtrller::executeCommand(qint32 command, const Variant& args)
{
    // A required element that is missing or of the wrong kind refuses the
    // command: a missing preview flag must not turn into printing.
    const TArgReader arg(args);
    switch (command) {
    case cmdPrintOrPreview: {
        const std::optional<bool> preview = arg.TryBool(0);
        return preview && Form->PrintOrPreview(*preview);
    }
    case cmdPrintKeys: {
        const std::optional<bool> preview = arg.TryBool(0);
        return preview && arg.Has(1) && Form->PrintKeys(arg.At(1), *preview);
    }
    case cmdExportPictures: {
        const std::optional<int> kind = arg.TryInt(1);
        const std::optional<QString> prefix = arg.TryText(2);
        if (!arg.Has(0) || !kind || !prefix)
            return false;
        return Form->ExportPictures(arg.At(0), *kind, arg.TryText(4).value_or(QString()), *prefix,
            arg.TryInt(3).value_or(DefaultResolution));
    }
    case cmdOpenScheme: {
        const std::optional<QString> name = arg.TryText(0);
        return name && !name->trimmed().isEmpty() && Form->OpenScheme(*name);
    }
    case cmdSendReport:
        return Form->SendReport();
    default:
        return false;
    }
}

void TDLLVRCtrller::ShowModal(Variant& result)
{
    if (!Form) {
        result.Assign(Variant(static_cast<int>(mrCancel)));
        return;
    }
    result.Assign(Variant(window_->ShowModal()));
}

void TDLLVRCtrller::CloseForm()
{
    if (!Form || destroying_)
        return;
    // The form's destroy event reaches FormDestroyHandler while the form is
    // whole; formGone clears up if a handler of the form's did not call on.
    window_->Free();
}

qint32 TDLLVRCtrller::GetInfo(Variant& info)
{
    if (!Form)
        return -1;
    Variant values = Variant::CreateArray(0, 3);
    values[0] = Variant(Form->UserCode());
    values[1] = Variant(Form->CompanyCode());
    values[2] = Variant(Form->ProgramCode());
    values[3] = Variant(Form->ProgramName());
    info.Assign(values);
    return 0;
}

bool TDLLVRCtrller::IsClosed()
{
    return Form == nullptr;
}

void TDLLVRCtrller::FormShowHandler(QObject* sender)
{
    if (PrevOnShow.Assigned())
        PrevOnShow(sender);
    TDLLBaseController::FormShowHandler(sender);
}

void TDLLVRCtrller::FormHideHandler(QObject* sender)
{
    if (PrevOnHide.Assigned())
        PrevOnHide(sender);
    TDLLBaseController::FormHideHandler(sender);
}

void TDLLVRCtrller::FormDestroyHandler(QObject* sender)
{
    if (Form) {
        // From ~TForm (a form deleted outright rather than freed) only the
        // TForm part is left: its results can no longer be asked for.
        const bool whole = dynamic_cast<IVROptionsForm*>(sender) == Form;
        destroying_ = true;
        if (whole) {
            ResultCode = Form->ResultCode();
            ResultValue = Form->ResultValue();
        }
        if (PrevOnDestroy.Assigned())
            PrevOnDestroy(sender);
        const std::shared_ptr<bool> alive = alive_;
        TDLLBaseController::FormDestroyHandler(sender);
        if (!*alive)
            return; // the shell freed this controller on hearing of it
    }
    forgetForm();
}

void TDLLVRCtrller::CloseDesigner()
{
    if (Form)
        Form->CloseDesigner();
}

void TDLLVRCtrller::hookEvents()
{
    if (hooked_)
        return;
    hooked_ = true;
    PrevOnShow = window_->OnShow();
    PrevOnHide = window_->OnHide();
    PrevOnDestroy = window_->OnDestroy();
    QObject* guard = watcher_.get();
    window_->SetOnShow(TNotifyEvent::Of(guard, [this](TObject* sender) { FormShowHandler(sender); }));
    window_->SetOnHide(TNotifyEvent::Of(guard, [this](TObject* sender) { FormHideHandler(sender); }));
    window_->SetOnDestroy(TNotifyEvent::Of(guard, [this](TObject* sender) { FormDestroyHandler(sender); }));
}

void TDLLVRCtrller::unhookEvents(TForm* form)
{
    if (!hooked_)
        return;
    // What the window shows or hides on its way out is no longer the shell's concern.
    form->SetOnShow(PrevOnShow);
    form->SetOnHide(PrevOnHide);
    hooked_ = false;
}

void TDLLVRCtrller::formGone(QObject* form)
{
    if (!window_ || form != window_)
        return;
    // The destroy event never reached this controller (its handler was
    // replaced without calling on); the object is already gone, so only the
    // controller's side is cleared. The shell still has to hear of it.
    window_ = nullptr;
    forgetForm();
    TDLLBaseController::FormDestroyHandler(form);
}

void TDLLVRCtrller::forgetForm()
{
    if (window_) {
        unhookEvents(window_);
        QObject::disconnect(window_, nullptr, watcher_.get(), nullptr);
    }
    Form = nullptr;
    window_ = nullptr;
    hooked_ = false;
    PrevOnShow = PrevOnHide = PrevOnDestroy = TNotifyEvent();
    destroying_ = false;
}

void InitDLLVRCtrllerUnit()
{
    DLLControllerClass = []() -> TDLLBaseController* { return new TDLLVRCtrller; };
}
