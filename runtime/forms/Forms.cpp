#include "runtime/forms/Forms.h"

#include "runtime/forms/Dialogs.h"
#include "runtime/forms/Menus.h"
#include "runtime/forms/StdCtrls.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDropEvent>
#include <QEventLoop>
#include <QKeyEvent>
#include <QMenuBar>
#include <QMimeData>
#include <QMouseEvent>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

// The window of a form: forwards what the form must hear about.
class FormWindow : public QWidget {
public:
    explicit FormWindow(TForm* form)
        : form_(form)
    {
        auto* layout = new QVBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(0);
    }
    QVBoxLayout* box() const { return static_cast<QVBoxLayout*>(layout()); }

protected:
    void closeEvent(QCloseEvent* event) override
    {
        event->ignore();
        if (form_)
            form_->Close();
    }
    void showEvent(QShowEvent*) override
    {
        if (form_)
            form_->windowShown();
    }
    void hideEvent(QHideEvent*) override
    {
        if (form_)
            form_->windowHidden();
    }
    void changeEvent(QEvent* event) override
    {
        if (event->type() == QEvent::ActivationChange && form_) {
            if (isActiveWindow())
                form_->OnActivate()(form_);
            else
                form_->OnDeactivate()(form_);
        }
        QWidget::changeEvent(event);
    }

private:
    QPointer<TForm> form_;
};

TForm::TForm(TComponent* owner)
    : TWinControl(owner)
{
    SetBoundsSilently(QRect(0, 0, 320 + FrameWidth, 240 + FrameHeight));
    SetVisible(false);
    SetParentFont(false);
}

TForm::~TForm()
{
    if (!destroyRaised_ && onDestroy_.Data() != this)
        BeforeDestruction();
    qApp->removeEventFilter(this);
    // Owned components go while the form is still whole: their handlers and
    // destructors may still look at it.
    DestroyComponents();
}

void TForm::SetMenu(TComponent* menu)
{
    if (menu && !qobject_cast<TMainMenu*>(menu))
        throw EPropertyError(QStringLiteral("%1 is not a main menu").arg(menu->Name()));
    menu_ = menu;
    Changed();
}

void TForm::SetActiveControl(TWinControl* control)
{
    if (control && control->ParentForm() != this)
        throw EPropertyError(QStringLiteral("%1 is not on form %2").arg(control->Name(), Name()));
    if (IsLoading() || !HasWidget() || !control)
        activeControl_ = control;
    else
        FocusControl(control);
}

void TForm::ControlDestroying(TWinControl* control)
{
    if (activeControl_ == control)
        activeControl_ = nullptr;
}

void TForm::FocusControl(TWinControl* control)
{
    if (control == this)
        control = nullptr;
    if (control != activeControl_) {
        TWinControl* old = activeControl_;
        activeControl_ = control;
        if (old)
            old->DoExit();
        if (activeControl_ != control)
            return; // the exit handler sent the focus elsewhere
        if (control)
            control->DoEnter();
        if (activeControl_ != control)
            return;
    }
    if (!control || !control->HasWidget())
        return;
    // Focus already inside the control (a radio button of a radio group)
    // stays there: focusing the group would hand it to its child again.
    QWidget* w = control->Widget();
    QWidget* focus = QApplication::focusWidget();
    if (focus != w && !(focus && w->isAncestorOf(focus)))
        w->setFocus(Qt::OtherFocusReason);
}

void TForm::SetModalResult(int value)
{
    modalResult_ = value;
    if (modal_ && value != mrNone)
        Close();
}

void TForm::AfterConstruction()
{
    onCreate_(this);
}

void TForm::Show()
{
    SetVisible(true);
    QWidget* w = Widget();
    if (position_ == poScreenCenter || position_ == poDesktopCenter || position_ == poMainFormCenter
        || position_ == poOwnerFormCenter) {
        if (QScreen* screen = QGuiApplication::primaryScreen()) {
            const QRect area = screen->availableGeometry();
            w->move(area.center() - QPoint(Width() / 2, Height() / 2));
        }
    } else if (position_ == poDesigned) {
        w->move(Left(), Top());
    }
    if (windowState_ == wsMaximized)
        w->showMaximized();
    else if (windowState_ == wsMinimized)
        w->showMinimized();
    else
        w->show();
}

void TForm::Hide()
{
    SetVisible(false);
    if (HasWidget())
        Widget()->hide();
}

bool TForm::CloseQuery()
{
    bool canClose = true;
    onCloseQuery_(this, canClose);
    return canClose;
}

void TForm::Close()
{
    if (closing_)
        return;
    closing_ = true;
    TCloseAction action = caNone;
    if (CloseQuery()) {
        action = caHide;
        onClose_(this, action);
    }
    closing_ = false;
    if (action == caNone) {
        if (modal_)
            modalResult_ = mrNone;
        return;
    }
    if (modal_) {
        if (modalResult_ == mrNone)
            modalResult_ = mrCancel;
        if (modalLoop_)
            modalLoop_->quit();
        if (action == caFree)
            Release();
        return;
    }
    switch (action) {
    case caHide:
        Hide();
        break;
    case caFree:
        Hide();
        Release();
        break;
    case caMinimize:
        if (HasWidget())
            Widget()->showMinimized();
        break;
    default:
        break;
    }
}

void TForm::Release()
{
    deleteLater();
}

void TForm::BeforeDestruction()
{
    TWinControl::BeforeDestruction();
    if (destroyRaised_)
        return;
    destroyRaised_ = true;
    onDestroy_(this);
}

bool TForm::event(QEvent* event)
{
    // A deferred delete (Release, or deleteLater from anywhere) frees the form
    // as Free does.
    if (event->type() == QEvent::DeferredDelete)
        BeforeDestruction();
    return TWinControl::event(event);
}

bool TForm::IsShortCut(Word key, TShiftState shift)
{
    bool handled = false;
    onShortCut_(key, shift, handled);
    if (handled)
        return true;
    auto* menu = qobject_cast<TMainMenu*>(menu_.data());
    return menu && menu->IsShortCut(ShortCut(key, shift));
}

int TForm::ShowModal()
{
    return Dialogs().ShowModal(this);
}

int TForm::RunModalLoop()
{
    modal_ = true;
    modalResult_ = mrNone;
    QWidget* w = Widget();
    w->setWindowModality(Qt::ApplicationModal);
    Show();
    QEventLoop loop;
    modalLoop_ = &loop;
    QPointer<TForm> self(this);
    if (modalResult_ == mrNone)
        loop.exec();
    if (!self)
        return mrCancel;
    modalLoop_ = nullptr;
    modal_ = false;
    // Hide while still modal: Qt takes a window off its list of modal windows
    // only when it hides a modal one. Made non-modal first, the hidden form
    // would go on blocking every other window of the program.
    Hide();
    w->setWindowModality(Qt::NonModal);
    return modalResult_;
}

TButton* TForm::DefaultButton() const
{
    for (TComponent* c : ComponentList()) {
        if (auto* button = qobject_cast<TButton*>(c); button && button->Default())
            return button;
    }
    return nullptr;
}

TButton* TForm::CancelButton() const
{
    for (TComponent* c : ComponentList()) {
        if (auto* button = qobject_cast<TButton*>(c); button && button->Cancel())
            return button;
    }
    return nullptr;
}

void TForm::DialogKey(Word& key, TShiftState shift)
{
    if (shift & (ssCtrl | ssAlt))
        return;
    TButton* button = nullptr;
    if (key == VK_RETURN) {
        button = qobject_cast<TButton*>(activeControl_);
        if (!button)
            button = DefaultButton();
    } else if (key == VK_ESCAPE) {
        button = CancelButton();
    }
    if (button && button->CanFocus()) {
        key = 0;
        button->Click();
    }
}

bool TForm::IsPropertyStored(const char* name) const
{
    if (qstrcmp(name, "Width") == 0 || qstrcmp(name, "Height") == 0 || qstrcmp(name, "Visible") == 0)
        return false;
    return TWinControl::IsPropertyStored(name);
}

QWidget* TForm::ChildHost()
{
    Widget();
    return client_;
}

QWidget* TForm::CreateWidget(QWidget*)
{
    auto* window = new FormWindow(this);
    client_ = new QWidget(window);
    window->box()->addWidget(client_);
    qApp->installEventFilter(this);
    return window;
}

void TForm::UpdateWidget()
{
    TWinControl::UpdateWidget();
    auto* window = static_cast<FormWindow*>(Widget());
    window->setWindowTitle(Caption());
    Qt::WindowFlags flags = Qt::Window;
    if (borderStyle_ == bsDialog)
        flags = Qt::Dialog;
    else if (borderStyle_ == bsToolWindow || borderStyle_ == bsSizeToolWin)
        flags = Qt::Tool;
    else if (borderStyle_ == bsNone)
        flags |= Qt::FramelessWindowHint;
    if (formStyle_ == fsStayOnTop)
        flags |= Qt::WindowStaysOnTopHint;
    // Qt adds hints of its own to a shown window's flags: compare only what
    // the border and form styles decide, and show again a window that
    // setWindowFlags hid.
    const Qt::WindowFlags decided = Qt::WindowType_Mask | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint;
    if ((window->windowFlags() & decided) != (flags & decided)) {
        const bool shown = window->isVisible();
        window->setWindowFlags(flags);
        if (shown)
            window->show();
    }
    auto* mainMenu = qobject_cast<TMainMenu*>(menu_.data());
    QWidget* bar = window->box()->menuBar();
    if (mainMenu && !bar)
        window->box()->setMenuBar(mainMenu->BuildMenuBar(window));
    else if (!mainMenu && bar) {
        window->box()->setMenuBar(nullptr);
        delete bar;
    }
    const int barHeight = window->box()->menuBar() ? window->box()->menuBar()->sizeHint().height() : 0;
    const QSize size(ClientWidth(), ClientHeight() + barHeight);
    if (borderStyle_ == bsSizeable || borderStyle_ == bsSizeToolWin) {
        window->setMinimumSize(0, 0);
        window->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        window->resize(size);
    } else {
        window->setFixedSize(size);
    }
    client_->resize(ClientWidth(), ClientHeight());
}

void TForm::windowShown()
{
    if (!Visible())
        SetVisible(true);
    onShow_(this);
    if (activeControl_ && activeControl_->HasWidget())
        activeControl_->Widget()->setFocus(Qt::OtherFocusReason);
}

void TForm::windowHidden()
{
    if (Visible())
        SetVisible(false);
    onHide_(this);
}

void TForm::windowResized(const QSize& clientSize)
{
    if (Updating() || clientSize == QSize(ClientWidth(), ClientHeight()))
        return;
    SetBoundsSilently(
        QRect(Left(), Top(), clientSize.width() + FrameWidth, clientSize.height() + FrameHeight));
    emit BoundsChanged();
    Realign();
    onResize_(this);
}

bool TForm::isPointerEvent(QEvent::Type type)
{
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseMove:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::DragLeave:
    case QEvent::Drop:
        return true;
    default:
        return false;
    }
}

namespace {

TMouseButton mouseButtonOf(Qt::MouseButton button)
{
    return button == Qt::RightButton ? mbRight : button == Qt::MiddleButton ? mbMiddle : mbLeft;
}

TShiftState mouseShiftOf(const QMouseEvent* event)
{
    TShiftState shift = ShiftStateOf(event->modifiers());
    shift.setFlag(ssLeft, event->buttons().testFlag(Qt::LeftButton));
    shift.setFlag(ssRight, event->buttons().testFlag(Qt::RightButton));
    shift.setFlag(ssMiddle, event->buttons().testFlag(Qt::MiddleButton));
    return shift;
}

// The control a drag is over at the moment (for its leave).
QPointer<TControl> dragOver;

} // namespace

bool TForm::handlePointer(QWidget* w, QEvent* event)
{
    TControl* control = TControl::ControlOfWidget(w);
    if (!control)
        return false;
    const QEvent::Type type = event->type();
    if (type == QEvent::DragEnter || type == QEvent::DragMove || type == QEvent::DragLeave
        || type == QEvent::Drop) {
        // Only drags of controls, at the widget that takes drops for its control.
        if (!w->acceptDrops() || control->Widget() != w)
            return false;
        TControl* source = TControl::DragSource();
        if (type == QEvent::DragLeave) {
            if (dragOver == control && source)
                control->DragOver(source, 0, 0, dsDragLeave);
            dragOver = nullptr;
            return source != nullptr;
        }
        auto* drop = static_cast<QDropEvent*>(event);
        if (!source || !drop->mimeData()->hasFormat(QString::fromLatin1(ControlDragMimeType)))
            return false;
        const QPoint at = drop->position().toPoint();
        if (type == QEvent::Drop) {
            control->DragDrop(source, at.x(), at.y());
            drop->acceptProposedAction();
            dragOver = nullptr;
            return true;
        }
        const bool entering = type == QEvent::DragEnter || dragOver != control;
        dragOver = control;
        if (control->DragOver(source, at.x(), at.y(), entering ? dsDragEnter : dsDragMove))
            drop->acceptProposedAction();
        else
            drop->ignore();
        return true;
    }
    // A mouse event a widget leaves unaccepted travels up to its parents:
    // the control of the innermost widget under the pointer takes it, once.
    auto* mouse = static_cast<QMouseEvent*>(event);
    const QPoint local = mouse->position().toPoint();
    if (w->childAt(local))
        return false;
    const QPoint at = w->mapTo(control->Widget(), local);
    const TShiftState shift = mouseShiftOf(mouse);
    if (type == QEvent::MouseMove) {
        control->MouseMove(shift, at.x(), at.y());
    } else if (type == QEvent::MouseButtonPress) {
        control->MouseDown(mouseButtonOf(mouse->button()), shift, at.x(), at.y());
        if (mouse->button() == Qt::LeftButton && control->DragMode() == dmAutomatic)
            control->BeginDrag();
    } else {
        control->MouseUp(mouseButtonOf(mouse->button()), shift, at.x(), at.y());
    }
    return false;
}

bool TForm::handleKey(QWidget* target, QKeyEvent* event, bool press)
{
    auto* control = qobject_cast<TWinControl*>(TControl::ControlOfWidget(target));
    while (control && !qobject_cast<TWinControl*>(control))
        control = control->Parent();
    if (!control)
        control = this;
    if (!control->Enabled())
        return false;
    Word key = VirtualKeyOf(event);
    const TShiftState shift = ShiftStateOf(event->modifiers());
    if (key != 0) {
        if (press)
            control->KeyDown(key, shift);
        else
            control->KeyUp(key, shift);
        if (key == 0)
            return true;
    }
    if (press && !event->text().isEmpty()) {
        QChar ch = event->text().at(0);
        control->KeyPress(ch);
        if (ch.isNull())
            return true;
    }
    return false;
}

bool TForm::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (isPointerEvent(type)) {
        if (!watched->isWidgetType() || !HasWidget())
            return false;
        auto* w = static_cast<QWidget*>(watched);
        return w->window() == Widget() && handlePointer(w, event);
    }
    if (type != QEvent::KeyPress && type != QEvent::KeyRelease && type != QEvent::FocusIn
        && type != QEvent::Resize)
        return false;
    if (!watched->isWidgetType() || !HasWidget())
        return false;
    auto* w = static_cast<QWidget*>(watched);
    if (type == QEvent::Resize) {
        if (w == client_)
            windowResized(static_cast<QResizeEvent*>(event)->size());
        return false;
    }
    if (w->window() != Widget())
        return false;
    if (type == QEvent::FocusIn) {
        TControl* c = TControl::ControlOfWidget(w);
        while (c && !qobject_cast<TWinControl*>(c))
            c = c->Parent();
        if (c && c != this)
            FocusControl(static_cast<TWinControl*>(c));
        return false;
    }
    // A key nobody accepts travels up the parent widgets; handle it once.
    static const QEvent* lastEvent = nullptr;
    static QPointer<QWidget> lastTarget;
    if (event == lastEvent && lastTarget && w != lastTarget && w->isAncestorOf(lastTarget))
        return false;
    lastEvent = event;
    lastTarget = w;
    return handleKey(w, static_cast<QKeyEvent*>(event), type == QEvent::KeyPress);
}
