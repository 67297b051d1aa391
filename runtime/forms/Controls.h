#pragma once
// TControl and TWinControl: the visual components. A control keeps its state in
// its properties and owns the Qt widget that shows it. The widget is created
// the first time it is asked for (Widget()), after which every property change
// is pushed to it; until then a control costs no more than a QObject, which is
// what lets large forms and report controls build quickly.
//
// Adding a control: derive from TControl (no children, no focus) or
// TWinControl, declare its published properties with Q_PROPERTY, keep setters
// small (Set(field, value) pushes to the widget), override CreateWidget() and
// UpdateWidget(), connect the widget's user-edit signals back to the fields,
// and register the class in StandardClasses.cpp.

#include "runtime/forms/Component.h"
#include "runtime/forms/Method.h"

#include <QPointer>
#include <QRect>
#include <QWidget>
#include <algorithm>

class TWinControl;
class TForm;

// How long a control's hint stays up once shown, in milliseconds, for every
// control of the program; 0 (the default) leaves it to the toolkit, which
// goes by the hint's length. Widgets made after the change take it.
int HintHidePause();
void SetHintHidePause(int milliseconds);

// The data type a control's drag carries (the control is TControl::DragSource()).
extern const char* const ControlDragMimeType;

class TControl : public TComponent {
    Q_OBJECT
    Q_PROPERTY(int Left READ Left WRITE SetLeft)
    Q_PROPERTY(int Top READ Top WRITE SetTop)
    Q_PROPERTY(int Width READ Width WRITE SetWidth)
    Q_PROPERTY(int Height READ Height WRITE SetHeight)
    Q_PROPERTY(Vcl::TAlign Align READ Align WRITE SetAlign)
    Q_PROPERTY(Vcl::TAnchors Anchors READ Anchors WRITE SetAnchors)
    Q_PROPERTY(Vcl::TColor Color READ Color WRITE SetColor)
    Q_PROPERTY(bool Enabled READ Enabled WRITE SetEnabled)
    Q_PROPERTY(TFont* Font READ Font WRITE SetFont)
    Q_PROPERTY(bool ParentFont READ ParentFont WRITE SetParentFont)
    Q_PROPERTY(QString Hint READ Hint WRITE SetHint)
    Q_PROPERTY(bool ShowHint READ ShowHint WRITE SetShowHint)
    Q_PROPERTY(bool Visible READ Visible WRITE SetVisible)
    Q_PROPERTY(TComponent* PopupMenu READ PopupMenu WRITE SetPopupMenu)
    Q_PROPERTY(TNotifyEvent OnClick READ OnClick WRITE SetOnClick)
    Q_PROPERTY(TNotifyEvent OnDblClick READ OnDblClick WRITE SetOnDblClick)
    Q_PROPERTY(Vcl::TDragMode DragMode READ DragMode WRITE SetDragMode)
    Q_PROPERTY(TMouseEvent OnMouseDown READ OnMouseDown WRITE SetOnMouseDown)
    Q_PROPERTY(TMouseEvent OnMouseUp READ OnMouseUp WRITE SetOnMouseUp)
    Q_PROPERTY(TMouseMoveEvent OnMouseMove READ OnMouseMove WRITE SetOnMouseMove)
    Q_PROPERTY(TDragOverEvent OnDragOver READ OnDragOver WRITE SetOnDragOver)
    Q_PROPERTY(TDragDropEvent OnDragDrop READ OnDragDrop WRITE SetOnDragDrop)
    Q_PROPERTY(TNotifyEvent OnStartDrag READ OnStartDrag WRITE SetOnStartDrag)
    Q_PROPERTY(TEndDragEvent OnEndDrag READ OnEndDrag WRITE SetOnEndDrag)
public:
    explicit TControl(TComponent* owner = nullptr);
    ~TControl() override;

    // Positions and sizes are kept within this many pixels, so that no
    // stored value can overflow the arithmetic of alignment and frames.
    static constexpr int MaxExtent = 100000;

    int Left() const { return bounds_.x(); }
    void SetLeft(int value) { SetBounds(value, Top(), Width(), Height()); }
    int Top() const { return bounds_.y(); }
    void SetTop(int value) { SetBounds(Left(), value, Width(), Height()); }
    int Width() const { return bounds_.width(); }
    void SetWidth(int value) { SetBounds(Left(), Top(), value, Height()); }
    int Height() const { return bounds_.height(); }
    void SetHeight(int value) { SetBounds(Left(), Top(), Width(), value); }
    QRect BoundsRect() const { return bounds_; }
    virtual void SetBounds(int left, int top, int width, int height);
    virtual int ClientWidth() const { return Width(); }
    virtual int ClientHeight() const { return Height(); }

    TAlign Align() const { return align_; }
    void SetAlign(TAlign value);
    // Which edges of the parent's client area the control keeps its distance
    // to when the parent changes size: left and right together stretch it,
    // neither keeps its centre in proportion (likewise top and bottom).
    // Aligned controls follow their alignment instead.
    TAnchors Anchors() const { return anchors_; }
    void SetAnchors(TAnchors value);
    TColor Color() const { return color_; }
    void SetColor(TColor value) { Set(color_, value); }
    bool Enabled() const { return enabled_; }
    virtual void SetEnabled(bool value) { Set(enabled_, value); }
    TFont* Font() const { return font_; }
    void SetFont(TFont* font);
    bool ParentFont() const { return parentFont_; }
    void SetParentFont(bool value);
    QString Hint() const { return hint_; }
    void SetHint(const QString& value) { Set(hint_, value); }
    bool ShowHint() const { return showHint_; }
    void SetShowHint(bool value) { Set(showHint_, value); }
    bool Visible() const { return visible_; }
    void SetVisible(bool value);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    // Visible here and in every parent.
    bool Showing() const;
    TComponent* PopupMenu() const { return popupMenu_; }
    void SetPopupMenu(TComponent* menu);

    // Caption and Text are kept here; classes that show them publish them.
    QString Caption() const { return caption_; }
    void SetCaption(const QString& value);
    // Called after Caption (or Text) changed.
    virtual void TextChanged() { }
    QString Text() const { return caption_; }
    void SetText(const QString& value) { SetCaption(value); }

    TNotifyEvent OnClick() const { return onClick_; }
    void SetOnClick(const TNotifyEvent& handler) { onClick_ = handler; }
    TNotifyEvent OnDblClick() const { return onDblClick_; }
    void SetOnDblClick(const TNotifyEvent& handler) { onDblClick_ = handler; }
    // Raises OnClick, as a user's click does.
    virtual void Click();

    // Mouse and drag events. The form raises them from the input of its
    // window (coordinates in this control's client area); code may too.
    TMouseEvent OnMouseDown() const { return onMouseDown_; }
    void SetOnMouseDown(const TMouseEvent& handler) { onMouseDown_ = handler; }
    TMouseEvent OnMouseUp() const { return onMouseUp_; }
    void SetOnMouseUp(const TMouseEvent& handler) { onMouseUp_ = handler; }
    TMouseMoveEvent OnMouseMove() const { return onMouseMove_; }
    void SetOnMouseMove(const TMouseMoveEvent& handler) { onMouseMove_ = handler; }
    // A control with OnDragOver takes drops: the handler says whether Source may land.
    TDragOverEvent OnDragOver() const { return onDragOver_; }
    void SetOnDragOver(const TDragOverEvent& handler);
    TDragDropEvent OnDragDrop() const { return onDragDrop_; }
    void SetOnDragDrop(const TDragDropEvent& handler) { onDragDrop_ = handler; }
    TNotifyEvent OnStartDrag() const { return onStartDrag_; }
    void SetOnStartDrag(const TNotifyEvent& handler) { onStartDrag_ = handler; }
    TEndDragEvent OnEndDrag() const { return onEndDrag_; }
    void SetOnEndDrag(const TEndDragEvent& handler) { onEndDrag_ = handler; }
    TDragMode DragMode() const { return dragMode_; }
    void SetDragMode(TDragMode value) { dragMode_ = value; }
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
    void MouseMove(TShiftState shift, int x, int y);
    // Whether source may be dropped at (x, y); false without OnDragOver.
    bool DragOver(TObject* source, int x, int y, TDragState state);
    void DragDrop(TObject* source, int x, int y);
    // Drags this control with the toolkit's drag and drop (the call returns
    // when it was dropped or given up): OnStartDrag first, OnEndDrag last,
    // with the control it was dropped on. dmAutomatic starts it on a left press.
    void BeginDrag();
    // The control being dragged, while BeginDrag runs; null otherwise.
    static TControl* DragSource();

    TWinControl* Parent() const { return parent_; }
    void SetParent(TWinControl* parent);
    // The form this control stands on (through its parents), or null.
    TForm* ParentForm() const;

    TComponent* GetParentComponent() const override;
    bool IsPropertyStored(const char* name) const override;
    void Loaded() override;
    // Takes the current bounds and parent size as the ones the anchors keep
    // to. Placing the control (SetBounds, SetParent, SetAnchors, the end of
    // loading) does this; the anchors' own moves do not.
    void UpdateAnchorRules();

    // The widget that shows this control, created on first use (with its
    // children for a windowed control). The control owns it.
    QWidget* Widget();
    bool HasWidget() const { return !widget_.isNull(); }
    // Drops the widget and builds a new one (a change of kind, e.g. a view style).
    void RecreateWidget();
    // The control whose widget is w or contains it; null for foreign widgets.
    static TControl* ControlOfWidget(const QWidget* w);

signals:
    // The position or size changed, whoever changed it (code, alignment,
    // anchors, the user resizing a window). Controls placed beside another
    // one follow it through this.
    void BoundsChanged();

protected:
    // Builds this control's widget under parent (null for a top-level form).
    virtual QWidget* CreateWidget(QWidget* parent) = 0;
    // Pushes every property to the widget; overrides call the base first.
    virtual void UpdateWidget();
    // True while UpdateWidget runs: widget signals then are echoes, not user edits.
    bool Updating() const { return updatingWidget_ > 0; }
    // Called when the state changed; pushes it when a widget exists.
    void Changed();
    template<typename T> void Set(T& field, const T& value)
    {
        if (field == value)
            return;
        field = value;
        Changed();
    }
    // The geometry the widget takes inside its parent's widget.
    virtual QRect WidgetGeometry() const { return bounds_; }
    // True when the parent's widget places and shows this widget (a tab sheet).
    virtual bool PlacedByParent() const { return false; }
    // Whether this control fills its widget's background with Color.
    virtual TColor DefaultColor() const { return clBtnFace; }
    void SetBoundsSilently(const QRect& bounds) { bounds_ = bounds; }
    virtual void ParentFontChanged();

    QString caption_;

private:
    friend class TWinControl;
    friend class TForm;
    void fontChanged();
    // Moves or sizes the control as its anchors say for a parent client area
    // of parentSize.
    void applyAnchors(const QSize& parentSize);

    // The bounds and parent client size the anchors were taken at.
    struct AnchorRules {
        QRect bounds;
        QSize parentSize;
        bool valid = false;
    };

    QRect bounds_;
    AnchorRules anchorRules_;
    bool anchoring_ = false;
    TAlign align_ = alNone;
    TAnchors anchors_ = TAnchors(akLeft) | akTop;
    TColor color_ = clBtnFace;
    bool enabled_ = true;
    TFont* font_;
    bool parentFont_ = true;
    bool assigningParentFont_ = false;
    QString hint_;
    bool showHint_ = false;
    bool visible_ = true;
    QPointer<TComponent> popupMenu_;
    TNotifyEvent onClick_;
    TNotifyEvent onDblClick_;
    TDragMode dragMode_ = dmManual;
    TMouseEvent onMouseDown_, onMouseUp_;
    TMouseMoveEvent onMouseMove_;
    TDragOverEvent onDragOver_;
    TDragDropEvent onDragDrop_;
    TNotifyEvent onStartDrag_;
    TEndDragEvent onEndDrag_;
    TWinControl* parent_ = nullptr;
    QPointer<QWidget> widget_;
    int updatingWidget_ = 0;
};

// A control that can hold child controls, take the focus and receive keys.
class TWinControl : public TControl {
    Q_OBJECT
    Q_PROPERTY(int TabOrder READ TabOrder WRITE SetTabOrder)
    Q_PROPERTY(bool TabStop READ TabStop WRITE SetTabStop)
    Q_PROPERTY(TNotifyEvent OnEnter READ OnEnter WRITE SetOnEnter)
    Q_PROPERTY(TNotifyEvent OnExit READ OnExit WRITE SetOnExit)
    Q_PROPERTY(TKeyEvent OnKeyDown READ OnKeyDown WRITE SetOnKeyDown)
    Q_PROPERTY(TKeyEvent OnKeyUp READ OnKeyUp WRITE SetOnKeyUp)
    Q_PROPERTY(TKeyPressEvent OnKeyPress READ OnKeyPress WRITE SetOnKeyPress)
public:
    explicit TWinControl(TComponent* owner = nullptr);
    ~TWinControl() override;

    int ControlCount() const { return static_cast<int>(controls_.size()); }
    TControl* Controls(int index) const { return controls_.at(index); }
    const QList<TControl*>& ControlList() const { return controls_; }

    // Position among the parent's windowed controls; setting it moves the
    // control in that list. -1 without a parent.
    int TabOrder() const;
    void SetTabOrder(int value);
    bool TabStop() const { return tabStop_; }
    void SetTabStop(bool value) { Set(tabStop_, value); }
    // The windowed children in tab order.
    QList<TWinControl*> TabList() const { return tabList_; }

    TNotifyEvent OnEnter() const { return onEnter_; }
    void SetOnEnter(const TNotifyEvent& handler) { onEnter_ = handler; }
    TNotifyEvent OnExit() const { return onExit_; }
    void SetOnExit(const TNotifyEvent& handler) { onExit_ = handler; }
    TKeyEvent OnKeyDown() const { return onKeyDown_; }
    void SetOnKeyDown(const TKeyEvent& handler) { onKeyDown_ = handler; }
    TKeyEvent OnKeyUp() const { return onKeyUp_; }
    void SetOnKeyUp(const TKeyEvent& handler) { onKeyUp_ = handler; }
    TKeyPressEvent OnKeyPress() const { return onKeyPress_; }
    void SetOnKeyPress(const TKeyPressEvent& handler) { onKeyPress_ = handler; }

    bool CanFocus() const;
    bool Focused() const;
    void SetFocus();

    // The key pipeline a key takes on its way to this control: the form's
    // OnKeyDown first when KeyPreview is on, then this control's, then the
    // form's dialog keys (Enter, Esc). Key 0 afterwards means consumed.
    // Menu short-cuts come before all of that: the pop-up menus of this
    // control and its parents, then the form's OnShortCut and main menu.
    void KeyDown(Word& key, TShiftState shift);
    // Runs the menu item whose short-cut the key is; true when one ran.
    bool IsMenuKey(Word key, TShiftState shift);
    void KeyUp(Word& key, TShiftState shift);
    void KeyPress(QChar& key);
    void DoEnter();
    void DoExit();

    // Lays the aligned children out inside the client rectangle.
    void Realign();
    virtual QRect ClientRect() const { return QRect(0, 0, ClientWidth(), ClientHeight()); }

    void SetChildParent(TComponent* child) override;
    QList<TComponent*> GetChildren() const override;
    void Loaded() override;
    void SetBounds(int left, int top, int width, int height) override;

    // The widget children's widgets are placed in.
    virtual QWidget* ChildHost() { return Widget(); }
    // Chains the focus order of every windowed control below, by TabOrder.
    void UpdateTabChain();

protected:
    friend class TControl;
    virtual void InsertControl(TControl* control);
    virtual void RemoveControl(TControl* control);
    // Called after a child's widget was created in ChildHost().
    virtual void ChildWidgetCreated(TControl*) { }
    void UpdateWidget() override;
    void ParentFontChanged() override;
    // Whether this control takes Enter for itself (a memo, a grid editor).
    virtual bool WantsReturn() const { return false; }

private:
    void collectTabChain(QList<QWidget*>& chain);

    QList<TControl*> controls_;
    QList<TWinControl*> tabList_;
    bool tabStop_ = true;
    bool aligning_ = false;
    TNotifyEvent onEnter_;
    TNotifyEvent onExit_;
    TKeyEvent onKeyDown_;
    TKeyEvent onKeyUp_;
    TKeyPressEvent onKeyPress_;
};

// A control without a window of its own (a label, a bevel, an image).
class TGraphicControl : public TControl {
    Q_OBJECT
public:
    using TControl::TControl;
};
