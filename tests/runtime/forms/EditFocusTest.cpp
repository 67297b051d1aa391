// Where the caret stands when an edit takes the focus, and what typing then
// does: the way a person fills a criteria form with the keyboard.

#include "SampleForms.h"

#include "runtime/forms/Mask.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace {

const QString dateMask = QStringLiteral("!9999/99/99;1;_");

class EditFocusTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        form = std::make_unique<TForm>();
        form->SetBounds(0, 0, 300, 160);
        first = addEdit<TEdit>(8);
        date = addEdit<TMaskEdit>(40);
        last = addEdit<TEdit>(72);
        // As the criteria forms do: a date field shows its mask from the
        // moment it is entered.
        date->SetOnEnter(TNotifyEvent::Of([this](TObject*) { date->SetEditMask(dateMask); }));
        form->Show();
        QApplication::setActiveWindow(form->Widget());
        first->SetFocus();
        QApplication::processEvents();
    }

    template<typename T> T* addEdit(int top)
    {
        auto* edit = new T(form.get());
        edit->SetParent(form.get());
        edit->SetBounds(8, top, 120, 21);
        return edit;
    }

    static QLineEdit* line(TControl* edit) { return qobject_cast<QLineEdit*>(edit->Widget()); }
    static QWidget* focused() { return QApplication::focusWidget(); }

    std::unique_ptr<TForm> form;
    TEdit* first = nullptr;
    TMaskEdit* date = nullptr;
    TEdit* last = nullptr;
};

} // namespace

TEST_F(EditFocusTest, AnEmptyDateFieldTakesTheTypedDateHoweverTheFocusCame)
{
    // By Tab.
    ASSERT_EQ(focused(), line(first));
    QTest::keyClick(focused(), Qt::Key_Tab);
    ASSERT_EQ(focused(), line(date));
    QTest::keyClicks(focused(), QStringLiteral("20241101"));
    EXPECT_EQ(date->Text(), QStringLiteral("2024/11/01"));

    // From code, as Enter moves on in the criteria forms.
    date->SetText(QString());
    last->SetFocus();
    date->SetFocus();
    ASSERT_EQ(focused(), line(date));
    QTest::keyClicks(focused(), QStringLiteral("20241102"));
    EXPECT_EQ(date->Text(), QStringLiteral("2024/11/02"));

    // By a click at the far end of the empty field.
    date->SetText(QString());
    last->SetFocus();
    QTest::mouseClick(
        line(date), Qt::LeftButton, {}, QPoint(line(date)->width() - 4, line(date)->height() / 2));
    ASSERT_EQ(focused(), line(date));
    EXPECT_EQ(line(date)->cursorPosition(), 0);
    QTest::keyClicks(focused(), QStringLiteral("20241103"));
    EXPECT_EQ(date->Text(), QStringLiteral("2024/11/03"));
}

TEST_F(EditFocusTest, AClickBehindAHalfTypedDateGoesOnWhereTheTypingStopped)
{
    date->SetFocus();
    QTest::keyClicks(focused(), QStringLiteral("202411"));
    last->SetFocus();
    QTest::mouseClick(
        line(date), Qt::LeftButton, {}, QPoint(line(date)->width() - 4, line(date)->height() / 2));
    EXPECT_EQ(line(date)->cursorPosition(), 8); // after "2024/11/"
    QTest::keyClicks(focused(), QStringLiteral("05"));
    EXPECT_EQ(date->Text(), QStringLiteral("2024/11/05"));
}

TEST_F(EditFocusTest, KeyboardFocusSelectsTheWholeTextSoTypingReplacesIt)
{
    first->SetText(QStringLiteral("A001"));
    date->SetEditMask(dateMask);
    date->SetText(QStringLiteral("2024/05/31"));
    last->SetText(QStringLiteral("old"));

    // Tab into a filled date: the new date replaces it.
    QTest::keyClick(focused(), Qt::Key_Tab);
    ASSERT_EQ(focused(), line(date));
    EXPECT_EQ(line(date)->selectedText(), QStringLiteral("2024/05/31"));
    QTest::keyClicks(focused(), QStringLiteral("20241101"));
    EXPECT_EQ(date->Text(), QStringLiteral("2024/11/01"));

    // Focus set from code on a plain edit selects its text as Tab does.
    last->SetFocus();
    EXPECT_EQ(line(last)->selectedText(), QStringLiteral("old"));
    QTest::keyClick(focused(), Qt::Key_Backtab, Qt::ShiftModifier);
    QTest::keyClick(focused(), Qt::Key_Backtab, Qt::ShiftModifier);
    ASSERT_EQ(focused(), line(first));
    EXPECT_EQ(line(first)->selectedText(), QStringLiteral("A001"));
    QTest::keyClicks(focused(), QStringLiteral("B002"));
    EXPECT_EQ(first->Text(), QStringLiteral("B002"));
}

TEST_F(EditFocusTest, ChangesOfTheEditsLookKeepTheCaretWhereTheUserLeftIt)
{
    // Required fields are coloured and hints change while the user types;
    // neither may throw the caret to the end or drop the selection.
    first->SetText(QStringLiteral("A001"));
    QTest::keyClick(focused(), Qt::Key_Tab);
    QTest::keyClick(focused(), Qt::Key_Tab);
    ASSERT_EQ(focused(), line(last));
    last->SetText(QStringLiteral("abcdef"));
    line(last)->setCursorPosition(2);
    last->SetColor(static_cast<TColor>(0xAFFFFF));
    last->SetHint(QStringLiteral("hint"));
    EXPECT_EQ(line(last)->cursorPosition(), 2);
    line(last)->setSelection(1, 3);
    last->SetColor(clWindow);
    EXPECT_EQ(line(last)->selectedText(), QStringLiteral("bcd"));
}
