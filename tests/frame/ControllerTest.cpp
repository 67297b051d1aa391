// The report controller against a form that records what it is asked.
#include "frame/DLLVRCtrller.h"
#include "runtime/forms/Dialogs.h"
#include "runtime/system/Libraries.h"
#include "tests/frame/module/RecordingOptionsForm.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>
#include <gtest/gtest.h>
#include <memory>

namespace {

using Form = TRecordingOptionsForm;

QStringList& journal()
{
    return Form::Journal();
}

// Lines of the journal that start with prefix.
QStringList linesOf(const QString& prefix)
{
    QStringList lines;
    for (const QString& line : journal()) {
        if (line.startsWith(prefix))
            lines << line;
    }
    return lines;
}

Variant shellArgs()
{
    return Variant::ArrayOf({Variant("DS"), Variant("HV01"), Variant("DEMO"), Variant(0), Variant("FEP")});
}

class ControllerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Form::ResetCounters();
        InitDLLVRCtrllerUnit();
        frmVRBaseOptClass = &OptionsFormClass<Form>;
        controller.reset(GetController());
        controller->OnControllerEvent = [](int code, TDLLBaseController*) {
            journal().append(QStringLiteral("event 0x%1").arg(code, 0, 16));
        };
    }
    void TearDown() override
    {
        controller.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        frmVRBaseOptClass = nullptr;
    }
    TDLLVRCtrller* vr() const { return static_cast<TDLLVRCtrller*>(controller.get()); }
    Form* open()
    {
        EXPECT_EQ(controller->Open(shellArgs()), 0);
        return Form::Last;
    }

    ScriptedDialogService dialogs;
    std::unique_ptr<TDLLBaseController> controller;
};

TEST_F(ControllerTest, GetControllerMakesIndependentControllersAndRaisesWithoutAClass)
{
    std::unique_ptr<TDLLBaseController> second(GetController());
    ASSERT_NE(second, nullptr);
    EXPECT_NE(second.get(), controller.get());
    ASSERT_EQ(controller->Open(shellArgs()), 0);
    EXPECT_FALSE(controller->IsClosed());
    EXPECT_TRUE(second->IsClosed());

    const TDLLControllerClass saved = DLLControllerClass;
    DLLControllerClass = nullptr;
    try {
        delete GetController();
        ADD_FAILURE() << "no exception";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(),
            QStringLiteral("HVN DLL Internal Error :\rNot Assign \"DLLControllerClass\" varible"));
        EXPECT_EQ(e.ClassName(), QStringLiteral("Exception"));
    }
    DLLControllerClass = saved;
}

TEST_F(ControllerTest, EventsWithoutHandlerOrForm)
{
    controller->DoEvent320();
    EXPECT_EQ(journal(), QStringList {QStringLiteral("event 0x140")});
    controller->OnControllerEvent = nullptr;
    EXPECT_NO_THROW(controller->NotifyEvent(ncFormShown));
    EXPECT_NO_THROW(controller->DoEvent320());
    EXPECT_EQ(journal().size(), 1);
}

TEST_F(ControllerTest, EveryOperationBeforeOpenAnswersTheNoFormValueAndCreatesNothing)
{
    Variant modal("untouched");
    controller->ShowModal(modal);
    EXPECT_EQ(modal, Variant(2));
    Variant info("untouched");
    EXPECT_EQ(controller->GetInfo(info), -1);
    EXPECT_EQ(info, Variant("untouched"));
    QString version = QStringLiteral("untouched");
    controller->GetVersion(version);
    EXPECT_EQ(version, QStringLiteral("untouched"));
    EXPECT_EQ(controller->IsFormVisible(), 0);
    EXPECT_EQ(controller->GetFormHandle(), 0u);
    EXPECT_EQ(controller->SetParams(shellArgs()), -1);
    EXPECT_EQ(controller->Execute(5, 0, Variant::ArrayOf({Variant(true)})), -1);
    controller->SetFormVisible(true);
    controller->CloseForm();
    controller->CloseDesigner();
    EXPECT_TRUE(controller->IsClosed());
    EXPECT_EQ(Form::Created, 0);
    EXPECT_TRUE(journal().isEmpty());
}

TEST_F(ControllerTest, OpenWithoutOptionsFormClassRaisesTheModuleError)
{
    frmVRBaseOptClass = nullptr;
    try {
        controller->Open(shellArgs());
        ADD_FAILURE() << "no exception";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(),
            QStringLiteral("HVN DLL Internal Error :\rNot Assign \"frmVRBaseOptClass\" varible"));
    }
    EXPECT_TRUE(controller->IsClosed());
    EXPECT_TRUE(journal().isEmpty());
}

TEST_F(ControllerTest, OpenHandsOverModuleAndHostThenAnnouncesThenApplies)
{
    controller->HostObject = Variant("manager");
    Form* form = open();
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(journal(),
        (QStringList {QStringLiteral("SetModulePath"), QStringLiteral("SetHostObject \"manager\""),
            QStringLiteral("event 0x100"),
            QStringLiteral("ApplyParams [\"DS\", \"HV01\", \"DEMO\", 0, \"FEP\"]")}));
    EXPECT_EQ(form->ModulePath, ModuleFileName());
    EXPECT_FALSE(form->Visible());
    EXPECT_EQ(vr()->Form, form);
}

TEST_F(ControllerTest, FailedApplyParamsKeepsTheFormUntilClosed)
{
    EXPECT_EQ(controller->Open(Variant::ArrayOf({Variant("DS"), Variant("HV01")})), -1);
    EXPECT_FALSE(controller->IsClosed());
    controller->CloseForm();
    EXPECT_TRUE(controller->IsClosed());
    EXPECT_EQ(controller->ResultValue, Variant("E;000038"));
}

TEST_F(ControllerTest, OpenTwiceKeepsOneFormAndHooksItsEventsOnce)
{
    Form* form = open();
    EXPECT_EQ(controller->Open(shellArgs()), 0);
    EXPECT_EQ(Form::Created, 1);
    EXPECT_EQ(linesOf(QStringLiteral("ApplyParams")).size(), 2);
    journal().clear();
    controller->SetFormVisible(true);
    EXPECT_EQ(journal(), QStringList {QStringLiteral("event 0x110")});
    journal().clear();
    controller->CloseForm();
    EXPECT_EQ(journal(), QStringList {QStringLiteral("event 0x130")});
    (void)form;
}

TEST_F(ControllerTest, HandlersOfTheFormRunBeforeTheControllersEvents)
{
    frmVRBaseOptClass = [](TComponent* owner) -> IVROptionsForm* {
        Form* form = CreateForm<Form>(owner);
        for (const char* name : {"show", "hide", "destroy"}) {
            const TNotifyEvent own = TNotifyEvent::Of(form,
                [name](TObject*) { journal().append(QStringLiteral("own %1").arg(QLatin1String(name))); });
            if (qstrcmp(name, "show") == 0)
                form->SetOnShow(own);
            else if (qstrcmp(name, "hide") == 0)
                form->SetOnHide(own);
            else
                form->SetOnDestroy(own);
        }
        return form;
    };
    open();
    journal().clear();
    controller->SetFormVisible(true);
    EXPECT_EQ(controller->IsFormVisible(), -1);
    controller->SetFormVisible(false);
    EXPECT_EQ(controller->IsFormVisible(), 0);
    controller->CloseForm();
    EXPECT_EQ(journal(),
        (QStringList {QStringLiteral("own show"), QStringLiteral("event 0x110"), QStringLiteral("own hide"),
            QStringLiteral("event 0x120"), QStringLiteral("own destroy"), QStringLiteral("event 0x130")}));
}

TEST_F(ControllerTest, TheWindowsCloseBoxDestroysTheFormOnceWithItsResults)
{
    Form* form = open();
    form->ResultCodeValue = 7;
    form->ResultValueValue = Variant("chosen");
    controller->SetFormVisible(true);
    journal().clear();
    form->Widget()->close(); // the close box: Close, caFree, released
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(Form::Last, nullptr) << "form still alive";
    EXPECT_EQ(linesOf(QStringLiteral("event 0x130")).size(), 1);
    EXPECT_TRUE(controller->IsClosed());
    EXPECT_EQ(controller->ResultCode, 7);
    EXPECT_EQ(controller->ResultValue, Variant("chosen"));
    journal().clear();
    controller->CloseForm();
    controller->SetFormVisible(true);
    EXPECT_TRUE(journal().isEmpty());
}

TEST_F(ControllerTest, CloseFormAndTheDestructorFreeTheForm)
{
    Form* form = open();
    form->ResultCodeValue = 3;
    controller->CloseForm();
    EXPECT_EQ(Form::Last, nullptr);
    EXPECT_EQ(controller->ResultCode, 3);
    EXPECT_EQ(linesOf(QStringLiteral("event 0x130")).size(), 1);
    controller->CloseForm();
    EXPECT_EQ(linesOf(QStringLiteral("event 0x130")).size(), 1);

    // A new Open makes a new form; freeing the controller frees it too.
    open();
    controller->SetFormVisible(true);
    controller.reset();
    EXPECT_EQ(Form::Last, nullptr);
    EXPECT_EQ(linesOf(QStringLiteral("event 0x130")).size(), 2);
}

TEST_F(ControllerTest, AFormFreedBehindTheControllersBackIsForgotten)
{
    // Deleted outright: by the time ~TForm raises OnDestroy only the TForm
    // part is left, so the results are not read.
    Form* form = open();
    form->ResultCodeValue = 9;
    delete form;
    EXPECT_TRUE(controller->IsClosed());
    EXPECT_EQ(controller->ResultCode, 0);
    EXPECT_EQ(linesOf(QStringLiteral("event 0x130")).size(), 1);

    // Its destroy handler replaced without calling on: the shell still hears of the end.
    form = open();
    form->SetOnDestroy(TNotifyEvent());
    controller->CloseForm();
    EXPECT_TRUE(controller->IsClosed());
    EXPECT_EQ(linesOf(QStringLiteral("event 0x130")).size(), 2);
}

// However the form is freed through the form runtime (a deferred delete asked
// for anywhere, its owner going), the controller reads its results while the
// form is whole.
TEST_F(ControllerTest, AFormFreedLaterOrByItsOwnerStillGivesItsResults)
{
    Form* form = open();
    form->ResultCodeValue = 4;
    form->ResultValueValue = Variant("later");
    form->deleteLater();
    EXPECT_FALSE(controller->IsClosed());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(Form::Last, nullptr);
    EXPECT_TRUE(controller->IsClosed());
    EXPECT_EQ(controller->ResultCode, 4);
    EXPECT_EQ(controller->ResultValue, Variant("later"));
    EXPECT_EQ(linesOf(QStringLiteral("event 0x130")).size(), 1);

    auto owner = std::make_unique<TComponent>();
    static TComponent* formOwner = nullptr;
    formOwner = owner.get();
    frmVRBaseOptClass = [](TComponent*) -> IVROptionsForm* { return OptionsFormClass<Form>(formOwner); };
    form = open();
    form->ResultCodeValue = 5;
    owner.reset();
    EXPECT_EQ(Form::Last, nullptr);
    EXPECT_TRUE(controller->IsClosed());
    EXPECT_EQ(controller->ResultCode, 5);
    EXPECT_EQ(linesOf(QStringLiteral("event 0x130")).size(), 2);
}

TEST_F(ControllerTest, InfoVersionHandleAndModal)
{
    open();
    Variant info;
    ASSERT_EQ(controller->GetInfo(info), 0);
    EXPECT_EQ(info.LowBound(), 0);
    EXPECT_EQ(
        info, Variant::ArrayOf({Variant("DS"), Variant("HV01"), Variant("ZTEST"), Variant("Test program")}));
    QString version;
    controller->GetVersion(version);
    EXPECT_EQ(version, QStringLiteral("ZTEST 1.0.7"));
    EXPECT_NE(controller->GetFormHandle(), 0u);

    TForm* shown = nullptr;
    dialogs.ExpectModal([&shown](TForm* form) {
        shown = form;
        return static_cast<int>(mrOk);
    });
    Variant modal;
    controller->ShowModal(modal);
    EXPECT_EQ(modal, Variant(1));
    EXPECT_EQ(shown, Form::Last);
    EXPECT_TRUE(dialogs.Failures().isEmpty());
}

TEST_F(ControllerTest, SetParamsPassesArgumentsAndSwallowsFailures)
{
    Form* form = open();
    journal().clear();
    EXPECT_EQ(controller->SetParams(Variant::Null()), -1);
    EXPECT_TRUE(journal().isEmpty());
    EXPECT_EQ(controller->SetParams(Variant::ArrayOf({Variant(0), Variant("x")})), 0);
    EXPECT_EQ(journal(), QStringList {QStringLiteral("SetParams [0, \"x\"]")});
    form->SetParamsThrows = true;
    EXPECT_EQ(controller->SetParams(Variant::ArrayOf({Variant(0)})), -1);
}

TEST_F(ControllerTest, ExecuteTurnsCommandsIntoFormCalls)
{
    Form* form = open();
    const Variant keys = Variant::ArrayOf({Variant("5101"), Variant("20110001"), Variant("0001")});
    journal().clear();
    EXPECT_EQ(controller->Execute(5, 99, Variant::ArrayOf({Variant(true)})), 0);
    EXPECT_EQ(controller->Execute(6, 0, Variant::ArrayOf({Variant(false), keys})), 0);
    EXPECT_EQ(controller->Execute(11, 0, Variant::ArrayOf({keys, Variant(1), Variant("/tmp/p")})), 0);
    EXPECT_EQ(
        controller->Execute(11, 0, Variant::ArrayOf({keys, Variant(0), Variant("p"), Variant("150")})), 0);
    EXPECT_EQ(
        controller->Execute(11, 0, Variant::ArrayOf({keys, Variant(0), Variant("p"), Variant("high")})), 0);
    EXPECT_EQ(controller->Execute(
                  11, 0, Variant::ArrayOf({keys, Variant(2), Variant("p"), Variant(300), Variant("more")})),
        0);
    const QString k = keys.DebugText();
    EXPECT_EQ(journal(),
        (QStringList {QStringLiteral("PrintOrPreview preview"), QStringLiteral("PrintKeys %1 print").arg(k),
            QStringLiteral("ExportPictures %1 kind=1 extra=\"\" prefix=\"/tmp/p\" resolution=96").arg(k),
            QStringLiteral("ExportPictures %1 kind=0 extra=\"\" prefix=\"p\" resolution=150").arg(k),
            QStringLiteral("ExportPictures %1 kind=0 extra=\"\" prefix=\"p\" resolution=96").arg(k),
            QStringLiteral("ExportPictures %1 kind=2 extra=\"more\" prefix=\"p\" resolution=300").arg(k)}));

    form->CommandResult = false;
    EXPECT_EQ(controller->Execute(5, 0, Variant::ArrayOf({Variant(false)})), -1);
    EXPECT_EQ(journal().last(), QStringLiteral("PrintOrPreview print"));
}

TEST_F(ControllerTest, ExecuteRefusesUnknownCommandsAndIncompleteArguments)
{
    open();
    journal().clear();
    const Variant keys = Variant::ArrayOf({Variant("5101")});
    EXPECT_EQ(controller->Execute(7, 0, Variant::ArrayOf({Variant(true)})), -1);
    // A missing or unreadable preview flag must not turn into printing.
    EXPECT_EQ(controller->Execute(5, 0, Variant()), -1);
    EXPECT_EQ(controller->Execute(5, 0, Variant::ArrayOf({Variant("perhaps")})), -1);
    EXPECT_EQ(controller->Execute(6, 0, Variant::ArrayOf({Variant(true)})), -1);
    EXPECT_EQ(controller->Execute(11, 0, Variant::ArrayOf({keys, Variant(1)})), -1);
    EXPECT_EQ(controller->Execute(11, 0, Variant::ArrayOf({keys, Variant("JPG"), Variant("p")})), -1);
    EXPECT_TRUE(journal().isEmpty());
}

TEST_F(ControllerTest, CloseDesignerReachesTheForm)
{
    open();
    journal().clear();
    controller->CloseDesigner();
    EXPECT_EQ(journal(), QStringList {QStringLiteral("CloseDesigner")});
}

} // namespace

TEST_F(ControllerTest, AShellMayFreeTheControllerWhenItHearsTheFormIsGone)
{
    // A shell that frees the controller on 0x130, as soon as it is told, while
    // the user closes the window: nothing of the controller is used after that.
    Form* form = open();
    form->ResultCodeValue = 5;
    int result = -1;
    controller->OnControllerEvent = [&](int code, TDLLBaseController* sender) {
        journal().append(QStringLiteral("event 0x%1").arg(code, 0, 16));
        if (code == 0x130) {
            result = sender->ResultCode;
            controller.reset();
        }
    };
    form->Free();
    EXPECT_EQ(controller, nullptr);
    EXPECT_EQ(result, 5);
    EXPECT_EQ(Form::Last, nullptr);
    EXPECT_EQ(linesOf(QStringLiteral("event 0x130")).size(), 1);
}

namespace {

// What the handler below sees; globals, so that reading them never goes
// through the handler's own captures.
bool handlerStateGone = false;
bool stateGoneWhileRunning = false;
std::unique_ptr<TDLLBaseController>* heldController = nullptr;

struct HandlerState {
    ~HandlerState() { handlerStateGone = true; }
};

} // namespace

// A shell's handler that frees the controller on 0x130 goes on running until
// it returns: what it carries (its captures) must outlive that call, not go
// with the controller that stored the handler.
TEST_F(ControllerTest, AHandlerThatFreesTheControllerKeepsItsStateUntilItReturns)
{
    Form* form = open();
    handlerStateGone = false;
    stateGoneWhileRunning = false;
    heldController = &controller;
    controller->OnControllerEvent
        = [state = std::make_shared<HandlerState>()](int code, TDLLBaseController*) {
              if (code != 0x130)
                  return;
              heldController->reset();
              stateGoneWhileRunning = handlerStateGone;
          };
    form->Free();
    EXPECT_EQ(controller, nullptr);
    EXPECT_FALSE(stateGoneWhileRunning) << "the handler's captures were destroyed while it ran";
    EXPECT_TRUE(handlerStateGone) << "the handler goes once it has returned";
    EXPECT_EQ(Form::Last, nullptr);
    heldController = nullptr;
}

// A shell that closes the form as soon as it hears it was made (0x100), and
// frees the controller when it hears the form is gone (0x130): Open, still
// running, uses nothing of the freed controller.
TEST_F(ControllerTest, AShellMayFreeTheControllerWhileItOpensTheForm)
{
    heldController = &controller;
    controller->OnControllerEvent = [](int code, TDLLBaseController* sender) {
        journal().append(QStringLiteral("event 0x%1").arg(code, 0, 16));
        if (code == 0x100)
            sender->CloseForm();
        else if (code == 0x130)
            heldController->reset();
    };
    TDLLBaseController* opening = controller.get();
    EXPECT_EQ(opening->Open(shellArgs()), -1);
    EXPECT_EQ(controller, nullptr);
    EXPECT_EQ(Form::Last, nullptr);
    EXPECT_EQ(linesOf(QStringLiteral("event")),
        (QStringList {QStringLiteral("event 0x100"), QStringLiteral("event 0x130")}));
    heldController = nullptr;
}
