#include "SampleForms.h"

#include "runtime/forms/Dialogs.h"

#include <QApplication>
#include <QKeyEvent>
#include <gtest/gtest.h>
#include <memory>

namespace {

class KeyboardTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { RegisterSampleForms(); }
    void SetUp() override
    {
        form.reset(CreateForm<TfrmSample>());
        form->Show();
        QApplication::processEvents();
    }

    // Sends a key press to the control's widget as the keyboard would.
    static bool press(
        TControl* control, int qtKey, const QString& text = QString(), Qt::KeyboardModifiers mods = {})
    {
        QKeyEvent event(QEvent::KeyPress, qtKey, mods, text);
        QApplication::sendEvent(control->Widget(), &event);
        return event.isAccepted();
    }

    std::unique_ptr<TfrmSample> form;
};

} // namespace

TEST_F(KeyboardTest, KeyPreviewShowsKeysToTheFormFirst)
{
    QStringList seen;
    form->edCode->SetOnKeyDown(
        TKeyEvent::Of([&seen](TObject*, Word& key, TShiftState) { seen << QString::number(key); }));
    press(form->edCode, Qt::Key_F2);
    EXPECT_EQ(form->Calls, QStringList {"FormKeyDown:frmSample:113"});
    EXPECT_EQ(seen, QStringList {"113"});

    // A key the form's handler clears never reaches the control.
    form->SwallowKey = VK_F3;
    press(form->edCode, Qt::Key_F3);
    EXPECT_EQ(seen, QStringList {"113"});

    form->SetKeyPreview(false);
    press(form->edCode, Qt::Key_F2);
    EXPECT_EQ(form->Calls.size(), 2);
    EXPECT_EQ(seen.size(), 2);
}

TEST_F(KeyboardTest, EnterClicksTheDefaultButtonAndEscTheCancelButton)
{
    press(form->edCode, Qt::Key_Return, "\r");
    press(form->edCode, Qt::Key_Escape, "\x1b");
    EXPECT_EQ(form->Calls,
        QStringList({"FormKeyDown:frmSample:13", "btnOKClick:btnOK", "FormKeyDown:frmSample:27",
            "btnCancelClick:btnCancel"}));
    EXPECT_EQ(form->ModalResult(), mrCancel);

    // Enter on a focused button clicks that button, not the default one.
    auto* cancel = form->FindComponent<TButton>("btnCancel");
    cancel->SetFocus();
    form->Calls.clear();
    press(cancel, Qt::Key_Return, "\r");
    EXPECT_EQ(form->Calls.last(), "btnCancelClick:btnCancel");

    // A disabled default button does nothing.
    form->btnOK->SetEnabled(false);
    form->edCode->SetFocus();
    form->Calls.clear();
    press(form->edCode, Qt::Key_Return, "\r");
    EXPECT_EQ(form->Calls, QStringList {"FormKeyDown:frmSample:13"});
}

TEST_F(KeyboardTest, FocusChangesRaiseExitAndEnter)
{
    QStringList seen;
    auto* combo = form->FindComponent<TComboBox>("cbType");
    combo->SetOnEnter(
        TNotifyEvent::Of([&seen](TObject* sender) { seen << "enter:" + sender->objectName(); }));
    form->edCode->SetFocus();
    combo->SetFocus();
    EXPECT_EQ(form->Calls, QStringList {"edCodeExit:edCode"});
    EXPECT_EQ(seen, QStringList {"enter:cbType"});
    EXPECT_EQ(form->ActiveControl(), combo);

    // The focus arriving in a widget the way Qt delivers it.
    QFocusEvent in(QEvent::FocusIn, Qt::TabFocusReason);
    QApplication::sendEvent(form->edCode->Widget(), &in);
    EXPECT_EQ(form->ActiveControl(), form->edCode);

    // An exit handler that keeps the focus where it is (a validation) wins.
    form->edCode->SetOnExit(TNotifyEvent::Of([this](TObject*) { form->edCode->SetFocus(); }));
    combo->SetFocus();
    EXPECT_EQ(form->ActiveControl(), form->edCode);
    EXPECT_EQ(seen.size(), 1);
}

TEST_F(KeyboardTest, TabOrderChainsTheWidgetsDepthFirst)
{
    QWidget* code = form->edCode->Widget();
    QWidget* type = form->FindComponent<TControl>("cbType")->Widget();
    QWidget* price = form->FindComponent<TControl>("chkPrice")->Widget();
    QWidget* note = form->FindComponent<TControl>("edNote")->Widget();
    QWidget* ok = form->btnOK->Widget();
    EXPECT_EQ(code->nextInFocusChain(), type);
    EXPECT_EQ(type->nextInFocusChain()->window(), type->window());
    form->FindComponent<TWinControl>("cbType")->SetTabOrder(4);
    EXPECT_EQ(code->nextInFocusChain(), price);
    EXPECT_EQ(price->nextInFocusChain(), note);
    EXPECT_EQ(note->nextInFocusChain(), ok);
}

TEST_F(KeyboardTest, CloseAsksCloseQueryAndModalResultEndsAModalForm)
{
    form->AllowClose = false;
    form->Close();
    EXPECT_TRUE(form->Widget()->isVisible());
    form->AllowClose = true;
    form->Close();
    EXPECT_FALSE(form->Widget()->isVisible());
    EXPECT_EQ(form->Calls, QStringList({"FormCloseQuery", "FormCloseQuery"}));

    ScriptedDialogService dialogs;
    dialogs.ExpectModal([](TForm* shown) {
        shown->FindComponent<TButton>("btnCancel")->Click();
        return shown->ModalResult();
    });
    EXPECT_EQ(form->ShowModal(), mrCancel);
    EXPECT_EQ(dialogs.Pending(), 0);
    EXPECT_TRUE(dialogs.Failures().isEmpty());
}

TEST_F(KeyboardTest, AFocusedControlThatGoesLeavesNoActiveControlBehind)
{
    auto* combo = form->FindComponent<TComboBox>("cbType");
    int exits = 0;
    combo->SetOnExit(TNotifyEvent::Of([&exits](TObject*) { ++exits; }));
    combo->SetFocus();
    const void* gone = combo;
    delete combo; // the focus may move on to a neighbour, never stay with the freed control
    EXPECT_NE(static_cast<const void*>(form->ActiveControl()), gone);
    form->edCode->SetFocus(); // no exit handler of the freed combo box runs
    EXPECT_EQ(exits, 0);
    EXPECT_EQ(form->ActiveControl(), form->edCode);
}
