// The criteria form driven by the keyboard as a person drives it: Tab
// through the fields, Ctrl+Tab through the pages, Esc to leave, F1 for help.
// Keys go to the focused widget as the window system delivers them.

#include "CriteriaFixture.h"

#include "controls/ExtPage.h"
#include "criteria/ProgramHelp.h"
#include "criteria/SelectPnl.h"
#include "runtime/forms/StdCtrls.h"
#include "suite/hubdesk/HubDeskManager.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>

using Form = std::unique_ptr<TfrmZorTest, FreeComponent>;

namespace {

QWidget* focused()
{
    return QApplication::focusWidget();
}

// The control the focus is in, named with its selection panel when it is
// one of a panel's parts ("spNo.edBegin").
QString focusName()
{
    TControl* c = TControl::ControlOfWidget(focused());
    if (!c)
        return focused()
            ? QStringLiteral("<%1>").arg(QString::fromLatin1(focused()->metaObject()->className()))
            : QStringLiteral("<none>");
    for (TControl* p = c->Parent(); p; p = p->Parent()) {
        if (qobject_cast<TSelectPanel*>(p))
            return p->Name() + u'.' + c->Name();
    }
    return c->Name();
}

// The names Tab visits from the focus, until it comes back (at most limit).
QStringList tabWalk(int limit = 40)
{
    QStringList names;
    QWidget* start = focused();
    for (int i = 0; i < limit; ++i) {
        QTest::keyClick(focused(), Qt::Key_Tab);
        names << focusName();
        if (focused() == start)
            break;
    }
    return names;
}

void show(TfrmBaseGene* form)
{
    form->Show();
    QApplication::setActiveWindow(form->Widget());
    QApplication::processEvents();
}

} // namespace

TEST_F(CriteriaTest, TabGoesAsTheEyeReadsAndEndsWithCancel)
{
    Form form = MakeForm();
    show(form.get());
    ASSERT_EQ(focusName(), QStringLiteral("spNo.edBegin"));
    // The page's fields top to bottom, left to right; the buttons with
    // Cancel last; then round to the scheme list at the left and the tabs.
    const QStringList forward {QStringLiteral("spNo.edFinal"), QStringLiteral("spType.ListBox"),
        QStringLiteral("spCheck.cbUserChoice"), QStringLiteral("spCheck.edBegin"),
        QStringLiteral("spCheck.edFinal"), QStringLiteral("spDate.edBegin"), QStringLiteral("spDate.edFinal"),
        QStringLiteral("edRemark"), QStringLiteral("cboKind"), QStringLiteral("mmNote"),
        QStringLiteral("btnOk"), QStringLiteral("btnCancel"), QStringLiteral("lstCondition"),
        QStringLiteral("pgOption"), QStringLiteral("spNo.edBegin")};
    EXPECT_EQ(tabWalk(), forward);

    // Shift+Tab goes the same way back.
    for (qsizetype i = forward.size() - 2; i >= 0; --i) {
        QTest::keyClick(focused(), Qt::Key_Backtab, Qt::ShiftModifier);
        EXPECT_EQ(focusName(), forward.at(i));
    }
}

TEST_F(CriteriaTest, CtrlTabTurnsThePagesAndTakesTheFocusAlong)
{
    Form form = MakeForm();
    show(form.get());
    QTest::keyClick(focused(), Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(form->pgOption->ActivePage(), form->tsOption2);
    EXPECT_EQ(focusName(), QStringLiteral("edPrintDate")) << "the first field of the page shown";
    QTest::keyClick(focused(), Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(form->pgOption->ActivePage(), form->tsOption1);
    EXPECT_EQ(focusName(), QStringLiteral("spNo.edBegin"));
}

TEST_F(CriteriaTest, ADateReachedByEnterOrTabTakesTheTypedDigits)
{
    Form form = MakeForm();
    show(form.get());
    form->spCheck->edFinal->SetFocus();
    QTest::keyClick(focused(), Qt::Key_Return);
    ASSERT_EQ(focusName(), QStringLiteral("spDate.edBegin"));
    QTest::keyClicks(focused(), QStringLiteral("20241101"));
    QTest::keyClick(focused(), Qt::Key_Tab);
    ASSERT_EQ(focusName(), QStringLiteral("spDate.edFinal"));
    QTest::keyClicks(focused(), QStringLiteral("20241130"));
    EXPECT_EQ(form->spDate->edBegin->Text(), QStringLiteral("2024/11/01"));
    EXPECT_EQ(form->spDate->edFinal->Text(), QStringLiteral("2024/11/30"));
}

TEST_F(CriteriaTest, EscapeAsksOnlyWhenCriteriaWereTyped)
{
    // Walking through the fields (date masks appear) types nothing.
    QPointer<TfrmZorTest> untouched = MakeForm().release();
    show(untouched.data());
    for (int i = 0; i < 8; ++i)
        QTest::keyClick(focused(), Qt::Key_Tab);
    QTest::keyClick(focused(), Qt::Key_Escape);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(untouched.isNull()) << "closed without a question";

    QPointer<TfrmZorTest> form = MakeForm().release();
    show(form.data());
    QTest::keyClicks(focused(), QStringLiteral("A001"));
    dialogs_->ExpectMessage(mrNo, Text("已输入的选择条件将会清除"));
    QTest::keyClick(focused(), Qt::Key_Escape);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_FALSE(form.isNull());
    EXPECT_TRUE(form->Widget()->isVisible()) << "No keeps the window";
    EXPECT_EQ(focusName(), QStringLiteral("spNo.edBegin")) << "and the focus where it was";
    dialogs_->ExpectMessage(mrYes, Text("确定要关闭吗"));
    QTest::keyClick(focused(), Qt::Key_Escape);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(form.isNull());
}

TEST_F(CriteriaTest, CriteriaThatCameFromASchemeOrWereUsedCloseWithoutAsking)
{
    Form form = MakeForm();
    show(form.get());
    form->cboKind->SetItemIndex(2);
    EXPECT_TRUE(form->CriteriaTyped());
    form->KeepCriteria(); // as opening a scheme or running a report does
    EXPECT_FALSE(form->CriteriaTyped());
    form->edRemark->SetText(QStringLiteral("x"));
    EXPECT_TRUE(form->CriteriaTyped());
}

TEST_F(CriteriaTest, F1OpensTheManagersHelpElseTheProgramsOwnPage)
{
    QList<QUrl> managerPages, programPages;
    bool managerOpens = true;
    THubDeskManager::SetHelpOpener([&](const QUrl& url) {
        managerPages << url;
        return managerOpens;
    });
    TProgramHelp::SetOpener([&](const QUrl& url) {
        programPages << url;
        return true;
    });
    home_.write("module/help/ZORV52.html", "<html>ZORV52</html>");
    home_.write("module/help/ZORR52.html", "<html>ZORR52</html>");
    Form form = MakeForm();
    form->SetModulePath(home_.file("module/libZORV52C.so"));
    show(form.get());

    // ZORV52's code names no help topic of the manager's: its own page.
    QTest::keyClick(focused(), Qt::Key_F1);
    EXPECT_TRUE(managerPages.isEmpty());
    ASSERT_EQ(programPages.size(), 1);
    EXPECT_EQ(programPages.at(0).toLocalFile(), home_.file("module/help/ZORV52.html"));

    // A report program's code does: the manager shows it.
    form->SetProgramCode(QStringLiteral("ZORR52"));
    QTest::keyClick(focused(), Qt::Key_F1);
    EXPECT_EQ(managerPages.size(), 1);
    EXPECT_EQ(programPages.size(), 1);

    // The manager cannot show its page: the program's page beside its module.
    managerOpens = false;
    QTest::keyClick(focused(), Qt::Key_F1);
    ASSERT_EQ(programPages.size(), 2);
    EXPECT_EQ(programPages.at(1).toLocalFile(), home_.file("module/help/ZORR52.html"));

    // No page there either: the user is told which page could not be opened.
    form->SetModulePath(home_.file("elsewhere/libZORV52C.so"));
    dialogs_->ExpectMessage(mrOk, QStringLiteral("help/ZORR52.html"));
    QTest::keyClick(focused(), Qt::Key_F1);
    EXPECT_EQ(programPages.size(), 2);

    THubDeskManager::SetHelpOpener({});
    TProgramHelp::SetOpener({});
}

TEST_F(CriteriaTest, EscapeInTheSchemeRenameGivesUpTheRenameNotTheWindow)
{
    QPointer<TfrmZorTest> form = MakeForm().release();
    ASSERT_TRUE(form->SaveScheme(QStringLiteral("spNo.style;"), Text("旧名"), Variant(0)));
    show(form.data());
    ASSERT_EQ(form->lstCondition->Items()->Count(), 1);
    auto* list = qobject_cast<QListWidget*>(form->lstCondition->Widget());
    ASSERT_NE(list, nullptr);
    list->setFocus();
    list->editItem(list->item(0));
    QApplication::processEvents();
    QWidget* editor = focused();
    ASSERT_TRUE(qobject_cast<QLineEdit*>(editor)) << "the item's editor has the focus";
    QTest::keyClicks(editor, QStringLiteral("x"));
    QTest::keyClick(editor, Qt::Key_Escape);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_FALSE(form.isNull()) << "the window stays";
    EXPECT_FALSE(qobject_cast<QLineEdit*>(focused())) << "the editor is gone";
    EXPECT_EQ(form->lstCondition->Items()->Items(0)->Caption(), Text("旧名"));
    delete form.data();
}

TEST_F(CriteriaTest, EnterInAMemoStartsALineOnItsFirstTwoLinesAndMovesOnFromTheThird)
{
    Form form = MakeForm();
    show(form.get());
    auto* memo = form->FindComponent<TMemo>(QStringLiteral("mmNote"));
    ASSERT_NE(memo, nullptr);
    memo->SetFocus();
    QApplication::processEvents();
    ASSERT_EQ(focusName(), QStringLiteral("mmNote"));
    QTest::keyClicks(focused(), QStringLiteral("one"));
    QTest::keyClick(focused(), Qt::Key_Return);
    QTest::keyClicks(focused(), QStringLiteral("two"));
    QTest::keyClick(focused(), Qt::Key_Return);
    QTest::keyClicks(focused(), QStringLiteral("three"));
    EXPECT_EQ(memo->Lines()->Lines(), (QStringList {"one", "two", "three"}));
    EXPECT_EQ(memo->CaretPos(), QPoint(5, 2));

    // The caret back on line 1 of the three: Enter starts a line there.
    QTest::keyClick(focused(), Qt::Key_Up);
    QTest::keyClick(focused(), Qt::Key_Up);
    EXPECT_EQ(memo->CaretPos().y(), 0);
    QTest::keyClick(focused(), Qt::Key_Return);
    EXPECT_EQ(focusName(), QStringLiteral("mmNote")) << "Enter on line 1 stays in the memo";
    EXPECT_EQ(memo->Lines()->Count(), 4);
    EXPECT_EQ(memo->CaretPos().y(), 1);
    // On line 2 as well.
    QTest::keyClick(focused(), Qt::Key_Return);
    EXPECT_EQ(memo->Lines()->Count(), 5);
    EXPECT_EQ(focusName(), QStringLiteral("mmNote"));

    // From line 3 on Enter moves to the next control and adds nothing.
    EXPECT_EQ(memo->CaretPos().y(), 2);
    QTest::keyClick(focused(), Qt::Key_Return);
    EXPECT_NE(focusName(), QStringLiteral("mmNote")) << "Enter on line 3 moves on";
    EXPECT_EQ(memo->Lines()->Count(), 5);

    // A memo of one line whose caret the program put at its end (line 1).
    memo->Lines()->SetLines({QStringLiteral("single")});
    form->pgOption->SetActivePage(form->tsOption1);
    memo->SetFocus();
    QApplication::processEvents();
    memo->SetCaretPos(QPoint(99, 99));
    EXPECT_EQ(memo->CaretPos(), QPoint(6, 0)) << "held inside the text";
    QTest::keyClick(focused(), Qt::Key_Return);
    EXPECT_EQ(focusName(), QStringLiteral("mmNote"));
    EXPECT_EQ(memo->CaretPos(), QPoint(0, 1)) << "a line was started after it";
    QTest::keyClicks(focused(), QStringLiteral("next"));
    EXPECT_EQ(memo->Lines()->Lines(), (QStringList {"single", "next"}));
}
