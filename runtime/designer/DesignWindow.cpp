#include "runtime/designer/DesignWindow.h"

#include "runtime/designer/DesignerTexts.h"
#include "runtime/forms/Menus.h"
#include "runtime/forms/VclTypes.h"

#include <QAction>
#include <QCloseEvent>
#include <QKeySequence>
#include <QLabel>
#include <QMenuBar>
#include <QRegularExpression>
#include <QStatusBar>
#include <QToolBar>

namespace {

// The modifier flags of a short-cut value.
constexpr int CtrlFlag = 0x4000;
constexpr int AltFlag = 0x8000;

QKeySequence keysOf(int shortCut)
{
    const QString text = ShortCutToText(shortCut);
    return text.isEmpty() ? QKeySequence() : QKeySequence(text);
}

// Every item below root, depth first.
void collect(TMenuItem* root, QList<TMenuItem*>& items)
{
    for (int i = 0; root && i < root->Count(); ++i) {
        items << root->Items(i);
        collect(root->Items(i), items);
    }
}

} // namespace

QString PlainMenuCaption(const QString& caption)
{
    QString plain = caption;
    plain.remove(QRegularExpression(QStringLiteral("\\(&[^)]*\\)")));
    plain.replace(QLatin1String("&&"), QStringLiteral("\x01"));
    plain.remove(u'&');
    plain.replace(u'\x01', u'&');
    return plain.trimmed();
}

TDesignWindow::TDesignWindow(QWidget* parent)
    : QMainWindow(parent)
{
    setObjectName(QStringLiteral("DreamDesignerWindow"));
    menu_ = menuBar()->addMenu(DesignerText("sDesignMenu", "格式(&F)"));
    menu_->setObjectName(QStringLiteral("DesignCommandMenu"));
    connect(menu_, &QMenu::aboutToShow, this, &TDesignWindow::fillMenu);
    tools_ = addToolBar(DesignerText("sDesignCommands", "命令"));
    tools_->setObjectName(QStringLiteral("DesignCommandBar"));
    tools_->setMovable(false);
    tools_->setToolButtonStyle(Qt::ToolButtonTextOnly);
    close_ = new QAction(DesignerText("sDesignClose", "关闭设计(&C)"), this);
    close_->setObjectName(QStringLiteral("actCloseDesign"));
    close_->setShortcutContext(Qt::WindowShortcut);
    connect(close_, &QAction::triggered, this, [this] {
        if (CloseRequested)
            CloseRequested();
    });
    addAction(close_);
    hint_ = new QLabel(this);
    hint_->setObjectName(QStringLiteral("DesignHint"));
    selection_ = new QLabel(this);
    selection_->setObjectName(QStringLiteral("DesignSelection"));
    statusBar()->addWidget(hint_, 1);
    statusBar()->addPermanentWidget(selection_);
}

void TDesignWindow::SetCommands(TPopupMenu* popup, int stopShortCut)
{
    popup_ = popup;
    for (const auto& [action, item] : std::as_const(bound_))
        delete action;
    bound_.clear();
    tools_->clear();

    QStringList hints;
    QList<TMenuItem*> items;
    if (popup_)
        collect(popup_->Items(), items);
    for (TMenuItem* item : std::as_const(items)) {
        if (item->Count() > 0 || item->IsLine() || !item->ShortCut())
            continue;
        const QString keys = ShortCutToText(item->ShortCut());
        const bool shown = item->Visible() && (!item->ParentItem() || item->ParentItem() == popup_->Items());
        if (shown) {
            // The tool bar says the key, so nobody has to open a menu to learn it.
            auto* action
                = new QAction(PlainMenuCaption(item->Caption()) + QStringLiteral(" (") + keys + u')', this);
            action->setObjectName(QStringLiteral("act") + item->Name());
            connect(
                action, &QAction::triggered, this, [this, item = QPointer<TMenuItem>(item)] { run(item); });
            tools_->addAction(action);
            bound_.append({action, item});
            hints << keys + u' ' + PlainMenuCaption(item->Caption());
        }
        if (item->ShortCut() & (CtrlFlag | AltFlag)) {
            // The key works wherever the focus is in the window; the plain
            // keys (Del) stay with the surface, where they mean the layout.
            auto* key = new QAction(this);
            key->setShortcut(keysOf(item->ShortCut()));
            key->setShortcutContext(Qt::WindowShortcut);
            connect(key, &QAction::triggered, this, [this, item = QPointer<TMenuItem>(item)] { run(item); });
            addAction(key);
            bound_.append({key, item});
        }
    }
    const QString stopKeys = ShortCutToText(stopShortCut);
    close_->setShortcut(keysOf(stopShortCut));
    const QString closeText = DesignerText("sDesignCloseTool", "关闭设计");
    close_->setIconText(stopKeys.isEmpty() ? closeText : closeText + QStringLiteral(" (") + stopKeys + u')');
    tools_->addSeparator();
    tools_->addAction(close_);
    hints << (stopKeys.isEmpty() ? QString() : stopKeys + DesignerText("sDesignEndKeys", " 或关闭窗口: "))
            + DesignerText("sDesignEnd", "结束设计（先问是否保存）");
    hints << DesignerText("sDesignRightClick", "右键: 更多命令");
    hint_->setText(hints.join(QStringLiteral("    ")));
    fillMenu();
}

void TDesignWindow::fillMenu()
{
    // An edit still open in the inspector is finished first, so that a
    // command chosen now sees it.
    if (QWidget* focus = focusWidget())
        focus->clearFocus();
    RefreshCommands();
    menu_->clear();
    if (popup_)
        popup_->Items()->BuildInto(menu_);
    menu_->addSeparator();
    menu_->addAction(close_);
}

void TDesignWindow::RefreshCommands()
{
    if (BeforeCommands)
        BeforeCommands();
    for (const auto& [action, item] : std::as_const(bound_))
        action->setEnabled(item && item->Enabled());
}

void TDesignWindow::run(TMenuItem* item)
{
    if (!item)
        return;
    if (QWidget* focus = focusWidget())
        focus->clearFocus();
    if (RunItem)
        RunItem(item);
}

void TDesignWindow::ShowSelection(const QString& text)
{
    selection_->setText(text);
}

QString TDesignWindow::SelectionText() const
{
    return selection_->text();
}

QString TDesignWindow::HintText() const
{
    return hint_->text();
}

void TDesignWindow::closeEvent(QCloseEvent* event)
{
    if (!CloseRequested) {
        QMainWindow::closeEvent(event);
        return;
    }
    // The owner decides: it may ask to save, and a cancel keeps designing.
    event->ignore();
    CloseRequested();
}
