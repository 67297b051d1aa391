#pragma once
// TForm: the top-level window. Its widget is a window with an optional menu
// bar above a client area that holds the child controls. The form watches the
// keys and focus changes inside its window so that KeyPreview, default and
// cancel buttons and OnEnter/OnExit work as users of the original expect.
//
// A form class reads its built-in layout in its constructor:
//     TfrmX::TfrmX(TComponent* owner) : TfrmBase(owner) { ReadFormResource(this, ":/forms/TfrmX.dfm"); }
// and is created with CreateForm<TfrmX>(owner), which raises OnCreate once the
// whole class chain is built.

#include "runtime/forms/Controls.h"

#include <QEvent>

class QEventLoop;
class TButton;

class TForm : public TWinControl {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(int ClientWidth READ ClientWidth WRITE SetClientWidth)
    Q_PROPERTY(int ClientHeight READ ClientHeight WRITE SetClientHeight)
    Q_PROPERTY(Vcl::TFormBorderStyle BorderStyle READ BorderStyle WRITE SetBorderStyle)
    Q_PROPERTY(Vcl::TFormStyle FormStyle READ FormStyle WRITE SetFormStyle)
    Q_PROPERTY(Vcl::TPosition Position READ Position WRITE SetPosition)
    Q_PROPERTY(Vcl::TWindowState WindowState READ WindowState WRITE SetWindowState)
    Q_PROPERTY(bool KeyPreview READ KeyPreview WRITE SetKeyPreview)
    Q_PROPERTY(bool OldCreateOrder READ OldCreateOrder WRITE SetOldCreateOrder)
    Q_PROPERTY(int PixelsPerInch READ PixelsPerInch WRITE SetPixelsPerInch)
    Q_PROPERTY(int TextHeight READ TextHeight WRITE SetTextHeight)
    Q_PROPERTY(TComponent* Menu READ Menu WRITE SetMenu)
    Q_PROPERTY(TWinControl* ActiveControl READ ActiveControl WRITE SetActiveControl)
    Q_PROPERTY(TNotifyEvent OnCreate READ OnCreate WRITE SetOnCreate)
    Q_PROPERTY(TNotifyEvent OnDestroy READ OnDestroy WRITE SetOnDestroy)
    Q_PROPERTY(TNotifyEvent OnShow READ OnShow WRITE SetOnShow)
    Q_PROPERTY(TNotifyEvent OnHide READ OnHide WRITE SetOnHide)
    Q_PROPERTY(TNotifyEvent OnActivate READ OnActivate WRITE SetOnActivate)
    Q_PROPERTY(TNotifyEvent OnDeactivate READ OnDeactivate WRITE SetOnDeactivate)
    Q_PROPERTY(TNotifyEvent OnResize READ OnResize WRITE SetOnResize)
    Q_PROPERTY(TCloseEvent OnClose READ OnClose WRITE SetOnClose)
    Q_PROPERTY(TCloseQueryEvent OnCloseQuery READ OnCloseQuery WRITE SetOnCloseQuery)
    Q_PROPERTY(TShortCutEvent OnShortCut READ OnShortCut WRITE SetOnShortCut)
public:
    explicit TForm(TComponent* owner = nullptr);
    ~TForm() override;

    // Frame sizes that Width/Height add to the client area.
    static constexpr int FrameWidth = 8;
    static constexpr int FrameHeight = 27;

    int ClientWidth() const override { return Width() - FrameWidth; }
    void SetClientWidth(int value) { SetWidth(std::clamp(value, 0, MaxExtent) + FrameWidth); }
    int ClientHeight() const override { return Height() - FrameHeight - menuHeight(); }
    void SetClientHeight(int value)
    {
        SetHeight(std::clamp(value, 0, MaxExtent) + FrameHeight + menuHeight());
    }
    TFormBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TFormBorderStyle value) { Set(borderStyle_, value); }
    // fsStayOnTop keeps the window above the others; the MDI styles show as normal windows.
    TFormStyle FormStyle() const { return formStyle_; }
    void SetFormStyle(TFormStyle value) { Set(formStyle_, value); }
    TPosition Position() const { return position_; }
    void SetPosition(TPosition value) { position_ = value; }
    TWindowState WindowState() const { return windowState_; }
    void SetWindowState(TWindowState value) { Set(windowState_, value); }
    bool KeyPreview() const { return keyPreview_; }
    void SetKeyPreview(bool value) { keyPreview_ = value; }
    bool OldCreateOrder() const { return oldCreateOrder_; }
    void SetOldCreateOrder(bool value) { oldCreateOrder_ = value; }
    int PixelsPerInch() const { return pixelsPerInch_; }
    void SetPixelsPerInch(int value) { pixelsPerInch_ = value; }
    int TextHeight() const { return textHeight_; }
    void SetTextHeight(int value) { textHeight_ = value; }
    TComponent* Menu() const { return menu_; }
    void SetMenu(TComponent* menu);

    // The control that has (or last had) the focus in this form.
    TWinControl* ActiveControl() const { return activeControl_; }
    // A windowed control on the form is going: it can no longer be the active one.
    void ControlDestroying(TWinControl* control);
    void SetActiveControl(TWinControl* control);
    // Moves the focus to control: OnExit of the old control, OnEnter of the new.
    void FocusControl(TWinControl* control);

    int ModalResult() const { return modalResult_; }
    void SetModalResult(int value);

    TNotifyEvent OnCreate() const { return onCreate_; }
    void SetOnCreate(const TNotifyEvent& h) { onCreate_ = h; }
    TNotifyEvent OnDestroy() const { return onDestroy_; }
    void SetOnDestroy(const TNotifyEvent& h) { onDestroy_ = h; }
    TNotifyEvent OnShow() const { return onShow_; }
    void SetOnShow(const TNotifyEvent& h) { onShow_ = h; }
    TNotifyEvent OnHide() const { return onHide_; }
    void SetOnHide(const TNotifyEvent& h) { onHide_ = h; }
    TNotifyEvent OnActivate() const { return onActivate_; }
    void SetOnActivate(const TNotifyEvent& h) { onActivate_ = h; }
    TNotifyEvent OnDeactivate() const { return onDeactivate_; }
    void SetOnDeactivate(const TNotifyEvent& h) { onDeactivate_ = h; }
    TNotifyEvent OnResize() const { return onResize_; }
    void SetOnResize(const TNotifyEvent& h) { onResize_ = h; }
    TCloseEvent OnClose() const { return onClose_; }
    void SetOnClose(const TCloseEvent& h) { onClose_ = h; }
    TCloseQueryEvent OnCloseQuery() const { return onCloseQuery_; }
    void SetOnCloseQuery(const TCloseQueryEvent& h) { onCloseQuery_ = h; }
    TShortCutEvent OnShortCut() const { return onShortCut_; }
    void SetOnShortCut(const TShortCutEvent& h) { onShortCut_ = h; }

    // The form's part of a menu short-cut: OnShortCut may take the key, then
    // the main menu runs the item it belongs to. True when the key was used.
    bool IsShortCut(Word key, TShiftState shift);

    // Raises OnCreate; CreateForm calls it once the constructors have run.
    virtual void AfterConstruction();
    void Show();
    void Hide();
    // Asks OnCloseQuery, then OnClose decides: hide (the default), free or nothing.
    void Close();
    bool CloseQuery();
    // Frees the form once control returns to the event loop (through
    // BeforeDestruction, as Free does).
    void Release();
    // Raises OnDestroy once, while the whole form still exists. Free, Release,
    // Close with caFree and an owner freeing the form all come through here;
    // a form deleted outright raises it from its destructor instead, except
    // for handlers of the form's own class, whose part of the object is gone by then.
    void BeforeDestruction() override;
    // Shows the form modally through the dialog service and answers its ModalResult.
    int ShowModal();
    bool IsModal() const { return modal_; }
    // The modal loop of the default dialog service (tests never reach it).
    int RunModalLoop();

    // Enter clicks the focused or the default button, Esc the cancel button.
    void DialogKey(Word& key, TShiftState shift);
    TButton* DefaultButton() const;
    TButton* CancelButton() const;

    QWidget* ChildHost() override;
    // Width and Height follow from the client size, Visible from Show and Hide.
    bool IsPropertyStored(const char* name) const override;
    QRect ClientRect() const override { return QRect(0, 0, ClientWidth(), ClientHeight()); }
    bool eventFilter(QObject* watched, QEvent* event) override;

protected:
    bool event(QEvent* event) override;
    QWidget* CreateWidget(QWidget* parent) override;
    void UpdateWidget() override;
    TColor DefaultColor() const override { return clBtnFace; }

private:
    friend class FormWindow;
    int menuHeight() const { return 0; }
    void windowShown();
    void windowHidden();
    void windowResized(const QSize& clientSize);
    // Mouse and drag input of the window's widgets, raised on their controls.
    static bool isPointerEvent(QEvent::Type type);
    bool handlePointer(QWidget* w, QEvent* event);
    bool handleKey(QWidget* target, QKeyEvent* event, bool press);

    QPointer<QWidget> client_;
    TFormBorderStyle borderStyle_ = bsSizeable;
    TFormStyle formStyle_ = fsNormal;
    TPosition position_ = poDesigned;
    TWindowState windowState_ = wsNormal;
    bool keyPreview_ = false;
    bool oldCreateOrder_ = false;
    int pixelsPerInch_ = 96;
    int textHeight_ = 13;
    QPointer<TComponent> menu_;
    TWinControl* activeControl_ = nullptr; // cleared by ControlDestroying
    int modalResult_ = 0;
    bool modal_ = false;
    bool closing_ = false;
    bool destroyRaised_ = false;
    QEventLoop* modalLoop_ = nullptr;
    TNotifyEvent onCreate_, onDestroy_, onShow_, onHide_, onActivate_, onDeactivate_, onResize_;
    TCloseEvent onClose_;
    TCloseQueryEvent onCloseQuery_;
    TShortCutEvent onShortCut_;
};

template<typename T> T* CreateForm(TComponent* owner = nullptr)
{
    T* form = new T(owner);
    form->AfterConstruction();
    return form;
}
