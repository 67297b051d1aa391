// A modal form blocks the program's other windows while it runs, and none
// after it closes: Qt blocks input to every window while any window is on its
// modal list, so a form left there freezes the whole program.
#include "SampleForms.h"

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace {

class ModalLoopTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { RegisterSampleForms(); }
    void SetUp() override
    {
        owner.reset(CreateForm<TfrmSample>());
        owner->Show();
        QApplication::processEvents();
    }

    // Runs the form's modal loop; `during` runs inside it, then the form is
    // closed with `result` the way its buttons close it.
    static int runModal(TForm* form, int result, const std::function<void()>& during = {})
    {
        QTimer::singleShot(0, form, [form, result, during] {
            if (during)
                during();
            form->SetModalResult(result);
        });
        return form->RunModalLoop();
    }

    // Clicks the owner's OK button through the window system's input path,
    // where Qt drops input to blocked windows; true when the click arrived.
    bool clickReachesOwner()
    {
        owner->Calls.clear();
        QWidget* button = owner->btnOK->Widget();
        QWindow* window = owner->Widget()->windowHandle();
        const QPoint at = button->mapTo(owner->Widget(), button->rect().center());
        QTest::mouseClick(window, Qt::LeftButton, {}, at);
        QApplication::processEvents();
        return owner->Calls.contains(QStringLiteral("btnOKClick:btnOK"));
    }

    std::unique_ptr<TfrmSample> owner;
};

} // namespace

TEST_F(ModalLoopTest, AClosedModalFormBlocksNoWindowAfterwards)
{
    ASSERT_TRUE(clickReachesOwner()) << "the click does not reach the owner even without a modal form";
    std::unique_ptr<TfrmSample> dialog(CreateForm<TfrmSample>());
    QWindow* modalDuring = nullptr;
    bool clickedDuring = true;
    EXPECT_EQ(runModal(dialog.get(), mrOk,
                  [&] {
                      modalDuring = QGuiApplication::modalWindow();
                      clickedDuring = clickReachesOwner();
                  }),
        mrOk);
    EXPECT_FALSE(clickedDuring) << "the modal form let a click through to its owner";
    ASSERT_NE(modalDuring, nullptr);
    EXPECT_EQ(modalDuring, dialog->Widget()->windowHandle());
    EXPECT_FALSE(dialog->Widget()->isVisible());
    EXPECT_EQ(QGuiApplication::modalWindow(), nullptr) << "the hidden form still blocks the owner";
    EXPECT_EQ(dialog->Widget()->windowModality(), Qt::NonModal);
    EXPECT_TRUE(clickReachesOwner()) << "the owner takes no click after the modal form closed";
}

TEST_F(ModalLoopTest, TheSameFormRunsModalAgainAndLeavesNothingBehind)
{
    // The preview and the scheme dialog are opened many times in one session.
    std::unique_ptr<TfrmSample> dialog(CreateForm<TfrmSample>());
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(runModal(dialog.get(), mrCancel), mrCancel);
        EXPECT_EQ(QGuiApplication::modalWindow(), nullptr) << "after run " << i + 1;
        EXPECT_TRUE(clickReachesOwner()) << "after run " << i + 1;
    }
}

TEST_F(ModalLoopTest, ANestedModalFormHandsTheBlockBackToTheOneBelow)
{
    std::unique_ptr<TfrmSample> outer(CreateForm<TfrmSample>());
    std::unique_ptr<TfrmSample> inner(CreateForm<TfrmSample>());
    QWindow* afterInner = nullptr;
    runModal(outer.get(), mrOk, [&] {
        runModal(inner.get(), mrOk);
        afterInner = QGuiApplication::modalWindow();
    });
    EXPECT_EQ(afterInner, outer->Widget()->windowHandle());
    EXPECT_EQ(QGuiApplication::modalWindow(), nullptr);
    EXPECT_TRUE(clickReachesOwner());
}

TEST_F(ModalLoopTest, AFormFreedFromItsOwnModalLoopBlocksNothing)
{
    // A form whose close action is "free" (the preview) is deleted while its
    // loop unwinds.
    auto* dialog = CreateForm<TfrmSample>();
    dialog->SetOnClose(TCloseEvent::Of([](TObject*, TCloseAction& action) { action = caFree; }));
    runModal(dialog, mrOk);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(QGuiApplication::modalWindow(), nullptr);
    EXPECT_TRUE(clickReachesOwner());
}
