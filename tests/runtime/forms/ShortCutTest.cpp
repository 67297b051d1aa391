// Menu short-cuts pressed in a form run their items.

#include "SampleForms.h"

#include "runtime/forms/Menus.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMenuBar>
#include <gtest/gtest.h>
#include <memory>

// Exported by QtGui: offers a key to the application's short-cut map first,
// as a key from the keyboard is.
Q_GUI_EXPORT bool qt_sendShortcutOverrideEvent(QObject* o, ulong timestamp, int k, Qt::KeyboardModifiers mods,
    const QString& text, bool autorep, ushort count);

namespace {

class ShortCutTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        form = std::make_unique<TForm>();
        form->SetName("frmMenus");
        edit = new TEdit(form.get());
        edit->SetName("edCode");
        edit->SetParent(form.get());
        other = new TEdit(form.get());
        other->SetName("edOther");
        other->SetParent(form.get());
        other->SetTop(40);

        mainMenu = new TMainMenu(form.get());
        mainMenu->SetName("mmMain");
        file = item(mainMenu->Items(), "miFile", "&File", 0);
        print = item(file, "miPrint", "&Print", TextToShortCut("Ctrl+P"));
        refresh = item(file, "miRefresh", "Refresh", TextToShortCut("F5"));
        disabled = item(file, "miDisabled", "Disabled", TextToShortCut("F6"));
        disabled->SetEnabled(false);
        hidden = item(file, "miHidden", "Hidden", TextToShortCut("F7"));
        hidden->SetVisible(false);
        tools = item(mainMenu->Items(), "miTools", "&Tools", 0);
        underDisabled
            = item(tools, "miUnderDisabled", "Under a disabled menu", TextToShortCut("Ctrl+Shift+U"));
        tools->SetEnabled(false);
        form->SetMenu(mainMenu);

        popup = new TPopupMenu(form.get());
        popup->SetName("pmEdit");
        lookup = item(popup->Items(), "miLookup", "Look up", TextToShortCut("F2"));
        edit->SetPopupMenu(popup);

        form->Show();
        QApplication::processEvents();
    }

    TMenuItem* item(TMenuItem* parent, const QString& name, const QString& caption, int shortCut)
    {
        auto* result = new TMenuItem(form.get());
        result->SetName(name);
        result->SetCaption(caption);
        result->SetShortCut(shortCut);
        result->SetOnClick(TNotifyEvent::Of([this](TObject* sender) { calls << sender->objectName(); }));
        parent->Add(result);
        return result;
    }

    // A key as the keyboard delivers it: the short-cut map, then the widget.
    void press(TControl* control, int qtKey, Qt::KeyboardModifiers mods = {})
    {
        QWidget* target = control->Widget();
        if (qt_sendShortcutOverrideEvent(target, 0, qtKey, mods, QString(), false, 1))
            return;
        QKeyEvent event(QEvent::KeyPress, qtKey, mods);
        QApplication::sendEvent(target, &event);
        QKeyEvent release(QEvent::KeyRelease, qtKey, mods);
        QApplication::sendEvent(target, &release);
    }

    std::unique_ptr<TForm> form;
    TEdit* edit = nullptr;
    TEdit* other = nullptr;
    TMainMenu* mainMenu = nullptr;
    TPopupMenu* popup = nullptr;
    TMenuItem *file = nullptr, *print = nullptr, *refresh = nullptr, *disabled = nullptr, *hidden = nullptr;
    TMenuItem *tools = nullptr, *underDisabled = nullptr, *lookup = nullptr;
    QStringList calls;
};

} // namespace

// Each item runs once for its key combination; disabled and hidden items,
// and items of a disabled menu, do not run.
TEST_F(ShortCutTest, MainMenuItemsRunForTheirKeys)
{
    press(edit, Qt::Key_P, Qt::ControlModifier);
    press(other, Qt::Key_F5);
    EXPECT_EQ(calls, QStringList({"miPrint", "miRefresh"}));
    press(edit, Qt::Key_P); // without Ctrl: just a letter
    press(edit, Qt::Key_F6);
    press(edit, Qt::Key_F7);
    press(edit, Qt::Key_U, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(calls, QStringList({"miPrint", "miRefresh"}));
    tools->SetEnabled(true);
    press(edit, Qt::Key_U, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(calls.last(), "miUnderDisabled");

    // The key is used up: the edit does not see it.
    int editKeys = 0;
    edit->SetOnKeyDown(TKeyEvent::Of([&editKeys](TObject*, Word&, TShiftState) { ++editKeys; }));
    press(edit, Qt::Key_F5);
    press(edit, Qt::Key_F9);
    EXPECT_EQ(editKeys, 1);
}

// A pop-up menu answers its keys only from the control it belongs to (or a
// control inside it).
TEST_F(ShortCutTest, PopupMenuKeysBelongToTheirControl)
{
    press(other, Qt::Key_F2);
    EXPECT_TRUE(calls.isEmpty());
    press(edit, Qt::Key_F2);
    EXPECT_EQ(calls, QStringList {"miLookup"});
    form->SetPopupMenu(popup); // the form's own pop-up menu covers every control on it
    press(other, Qt::Key_F2);
    EXPECT_EQ(calls.size(), 2);
}

// The form's OnShortCut sees the key before the menus and may take it; the
// form's OnKeyDown with KeyPreview sees only keys no menu item took.
TEST_F(ShortCutTest, OnShortCutComesFirstAndKeyPreviewAfterTheMenus)
{
    QStringList seen;
    form->SetKeyPreview(true);
    form->SetOnKeyDown(
        TKeyEvent::Of([&seen](TObject*, Word& key, TShiftState) { seen << QString::number(key); }));
    form->SetOnShortCut(TShortCutEvent::Of([&seen](Word& key, TShiftState shift, bool& handled) {
        seen << QStringLiteral("short-cut %1").arg(key);
        handled = key == VK_F5 && shift == TShiftState();
    }));
    press(edit, Qt::Key_F5);
    press(edit, Qt::Key_P, Qt::ControlModifier);
    press(edit, Qt::Key_F9);
    EXPECT_EQ(calls, QStringList {"miPrint"});
    EXPECT_EQ(seen, QStringList({"short-cut 116", "short-cut 80", "short-cut 120", "120"}));
}

// The menu bar shows the keys beside the captions, but a key still goes
// through the form's order: its OnShortCut can take a key the bar shows.
TEST_F(ShortCutTest, MenuBarShowsKeysButTheFormRunsThem)
{
    auto* bar = form->Widget()->findChild<QMenuBar*>();
    ASSERT_NE(bar, nullptr);
    QAction* printAction = nullptr;
    for (QAction* action : bar->findChildren<QAction*>()) {
        if (action->text() == "&Print")
            printAction = action;
    }
    ASSERT_NE(printAction, nullptr);
    EXPECT_EQ(printAction->shortcut().toString(), "Ctrl+P");
    form->Widget()->activateWindow();
    QApplication::processEvents();
    bool take = true;
    form->SetOnShortCut(TShortCutEvent::Of([&take](Word&, TShiftState, bool& handled) { handled = take; }));
    press(edit, Qt::Key_P, Qt::ControlModifier);
    EXPECT_TRUE(calls.isEmpty());
    take = false;
    press(edit, Qt::Key_P, Qt::ControlModifier);
    EXPECT_EQ(calls, QStringList {"miPrint"});
    print->SetEnabled(false);
    printAction->trigger(); // chosen from the menu: the item's own state decides
    EXPECT_EQ(calls, QStringList {"miPrint"});
}
