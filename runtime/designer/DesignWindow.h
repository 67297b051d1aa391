#pragma once
// TDesignWindow: the top-level window of a design session. It holds the
// designer's parts (the central widget it is given), and shows the commands
// a user needs to find: the menu "格式(&F)" and a tool bar built from the
// designer's pop-up menu, the close command with the designer's hot key, and
// a status bar that says how to save and how to stop.
//
// Closing: the title-bar X, Alt+F4 (both a close event), the close command
// and its key do not close the window; they call CloseRequested, and the
// owner ends the session its own way (the save question first). Without
// CloseRequested a close event closes the window as usual.
//
// Commands: each visible item of the pop-up menu is listed in the menu (with
// its short-cut text); the visible items with a short-cut stand in the tool
// bar as well. Items whose short-cut holds Ctrl or Alt, shown or hidden, also
// answer their key anywhere in the window (also while the inspector has the
// focus). Choosing one calls RunItem, which decides whether it acts; the
// menu, tool bar and keys never click an item themselves. Plain keys (Del)
// stay with the design surface.
//
// The window does not own the pop-up menu; it reads it again each time the
// menu opens and when RefreshCommands is called.

#include <QMainWindow>
#include <QPointer>
#include <functional>

class QAction;
class QLabel;
class QMenu;
class QToolBar;
class TMenuItem;
class TPopupMenu;

class TDesignWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit TDesignWindow(QWidget* parent = nullptr);

    // The commands of popup and the close command with the key stopShortCut
    // (a short-cut value; 0: none).
    void SetCommands(TPopupMenu* popup, int stopShortCut);
    // Reads the items' captions and enabled states again (after the
    // selection changed).
    void RefreshCommands();
    // The text at the right of the status bar (what is selected).
    void ShowSelection(const QString& text);
    QString SelectionText() const;
    // The permanent hint of the status bar.
    QString HintText() const;
    QToolBar* CommandBar() const { return tools_; }
    QMenu* CommandMenu() const { return menu_; }
    QAction* CloseAction() const { return close_; }

    std::function<void()> CloseRequested;
    std::function<void(TMenuItem*)> RunItem;
    // Runs before the pop-up menu's items are read for the menu (the menu's
    // enabling rules).
    std::function<void()> BeforeCommands;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void fillMenu();
    void run(TMenuItem* item);

    QPointer<TPopupMenu> popup_;
    QMenu* menu_ = nullptr;
    QToolBar* tools_ = nullptr;
    QAction* close_ = nullptr;
    QLabel* hint_ = nullptr;
    QLabel* selection_ = nullptr;
    // Tool bar and key actions with the item each stands for.
    QList<QPair<QAction*, QPointer<TMenuItem>>> bound_;
};

// A menu caption without its accelerator part: "保存格式(&S)" -> "保存格式",
// "删除(&Del)" -> "删除".
QString PlainMenuCaption(const QString& caption);
