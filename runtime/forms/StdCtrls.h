#pragma once
// The standard controls: label, edit, memo, button, check box, radio button,
// group box, combo box, list box, radio group.

#include "runtime/forms/Controls.h"

#include <QPoint>

class QLineEdit;
class QPainter;
class TCanvas;

// Owner-drawn lists: the control, the item index, the item's rectangle and
// its state; the control's Canvas draws. OnMeasureItem sets the height of an
// item of a variable-height list (it comes in as ItemHeight).
using TDrawItemEvent = TEvent<TWinControl*, int, QRect, Vcl::TOwnerDrawState>;
using TMeasureItemEvent = TEvent<TWinControl*, int, int&>;
Q_DECLARE_METATYPE(TDrawItemEvent)
Q_DECLARE_METATYPE(TMeasureItemEvent)

// The owner-draw part that combo boxes and list boxes share.
class TOwnerDrawItems {
public:
    explicit TOwnerDrawItems(TWinControl* control)
        : control_(control)
    {
    }
    TOwnerDrawItems(const TOwnerDrawItems&) = delete;
    TOwnerDrawItems& operator=(const TOwnerDrawItems&) = delete;

    TCanvas* Canvas(); // made on first use, owned by the control
    TStrings* items = nullptr;
    TDrawItemEvent onDrawItem;
    TMeasureItemEvent onMeasureItem;
    int itemHeight = 13;
    // Kept within 1 .. 1000 pixels.
    void SetItemHeight(int value);

    // OnDrawItem, or the item's text on the brush when there is no handler.
    void DrawItem(int index, const QRect& rect, TOwnerDrawState state);
    // ItemHeight, or what OnMeasureItem makes of it when variable is set.
    int MeasureItem(int index, bool variable);
    // Sets the canvas up as the original does (the control's font and colour,
    // highlight colours for a selected item), draws, and frames a focused item.
    void Paint(QPainter* painter, int index, const QRect& rect, TOwnerDrawState state);

private:
    TWinControl* control_;
    TCanvas* canvas_ = nullptr;
};

class TLabel : public TGraphicControl {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(Vcl::TAlignment Alignment READ Alignment WRITE SetAlignment)
    Q_PROPERTY(bool AutoSize READ AutoSize WRITE SetAutoSize)
    Q_PROPERTY(bool Transparent READ Transparent WRITE SetTransparent)
    Q_PROPERTY(bool WordWrap READ WordWrap WRITE SetWordWrap)
    Q_PROPERTY(Vcl::TTextLayout Layout READ Layout WRITE SetLayout)
    Q_PROPERTY(TWinControl* FocusControl READ FocusControl WRITE SetFocusControl)
public:
    explicit TLabel(TComponent* owner = nullptr);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment value) { Set(alignment_, value); }
    TTextLayout Layout() const { return layout_; }
    void SetLayout(TTextLayout value) { Set(layout_, value); }
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool value);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool value) { Set(transparent_, value); }
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool value) { Set(wordWrap_, value); }
    TWinControl* FocusControl() const { return focusControl_; }
    void SetFocusControl(TWinControl* control) { focusControl_ = control; }
    // Sizes the label to its caption (AutoSize does it after each change).
    void AdjustBounds();
    void Loaded() override;
    void TextChanged() override { AdjustBounds(); }

protected:
    QWidget* CreateWidget(QWidget* parent) override;
    void UpdateWidget() override;

private:
    TAlignment alignment_ = taLeftJustify;
    TTextLayout layout_ = tlTop;
    bool autoSize_ = true;
    bool transparent_ = false;
    bool wordWrap_ = false;
    QPointer<TWinControl> focusControl_;
};

// Edits share their text handling: Text, change events, read-only, length limit.
class TCustomEdit : public TWinControl {
    Q_OBJECT
    Q_PROPERTY(Vcl::TEditCharCase CharCase READ CharCase WRITE SetCharCase)
    Q_PROPERTY(int MaxLength READ MaxLength WRITE SetMaxLength)
    Q_PROPERTY(bool ReadOnly READ ReadOnly WRITE SetReadOnly)
    Q_PROPERTY(TNotifyEvent OnChange READ OnChange WRITE SetOnChange)
public:
    explicit TCustomEdit(TComponent* owner = nullptr);
    TEditCharCase CharCase() const { return charCase_; }
    void SetCharCase(TEditCharCase value);
    int MaxLength() const { return maxLength_; }
    void SetMaxLength(int value) { Set(maxLength_, value); }
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool value) { Set(readOnly_, value); }
    TNotifyEvent OnChange() const { return onChange_; }
    void SetOnChange(const TNotifyEvent& handler) { onChange_ = handler; }

    QString Text() const { return caption_; }
    virtual void SetText(const QString& value);
    void Clear() { SetText(QString()); }
    void SelectAll();

protected:
    TColor DefaultColor() const override { return clWindow; }
    // Raises OnChange unless the form is still being read.
    virtual void Change();
    QString applyCharCase(const QString& text) const;

private:
    TEditCharCase charCase_ = ecNormal;
    int maxLength_ = 0;
    bool readOnly_ = false;
    TNotifyEvent onChange_;
};

class TEdit : public TCustomEdit {
    Q_OBJECT
    Q_PROPERTY(QString Text READ Text WRITE SetText)
    Q_PROPERTY(QString PasswordChar READ PasswordChar WRITE SetPasswordChar)
public:
    explicit TEdit(TComponent* owner = nullptr);
    QString PasswordChar() const { return passwordChar_; }
    void SetPasswordChar(const QString& value) { Set(passwordChar_, value.left(1)); }

protected:
    QWidget* CreateWidget(QWidget* parent) override;
    void UpdateWidget() override;

private:
    QString passwordChar_;
};

class TMemo : public TCustomEdit {
    Q_OBJECT
    Q_PROPERTY(TStrings* Lines READ Lines WRITE SetLines)
    Q_PROPERTY(Vcl::TScrollStyle ScrollBars READ ScrollBars WRITE SetScrollBars)
    Q_PROPERTY(bool WantReturns READ WantReturns WRITE SetWantReturns)
    Q_PROPERTY(bool WordWrap READ WordWrap WRITE SetWordWrap)
public:
    explicit TMemo(TComponent* owner = nullptr);
    TStrings* Lines() const { return lines_; }
    void SetLines(TStrings* lines) { lines_->Assign(lines); }
    TScrollStyle ScrollBars() const { return scrollBars_; }
    void SetScrollBars(TScrollStyle value) { Set(scrollBars_, value); }
    bool WantReturns() const { return wantReturns_; }
    void SetWantReturns(bool value) { wantReturns_ = value; }
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool value) { Set(wordWrap_, value); }
    void SetText(const QString& value) override { lines_->SetText(value); }
    // Where the caret stands: x the character within its line, y the line
    // (both from 0, lines as Lines holds them). Setting it places the caret
    // there, held inside the text.
    QPoint CaretPos() const { return caretPos_; }
    void SetCaretPos(QPoint pos);

protected:
    QWidget* CreateWidget(QWidget* parent) override;
    void UpdateWidget() override;
    bool WantsReturn() const override { return wantReturns_; }

private:
    TStrings* lines_;
    QPoint caretPos_;
    TScrollStyle scrollBars_ = ssNone;
    bool wantReturns_ = true;
    bool wordWrap_ = true;
};

class TButton : public TWinControl {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(bool Default READ Default WRITE SetDefault)
    Q_PROPERTY(bool Cancel READ Cancel WRITE SetCancel)
    Q_PROPERTY(Vcl::TModalResult ModalResult READ ModalResult WRITE SetModalResult)
public:
    explicit TButton(TComponent* owner = nullptr);
    bool Default() const { return default_; }
    void SetDefault(bool value) { Set(default_, value); }
    bool Cancel() const { return cancel_; }
    void SetCancel(bool value) { cancel_ = value; }
    TModalResult ModalResult() const { return modalResult_; }
    void SetModalResult(TModalResult value) { modalResult_ = value; }
    // OnClick, then the button's ModalResult goes to its form.
    void Click() override;

protected:
    QWidget* CreateWidget(QWidget* parent) override;
    void UpdateWidget() override;

private:
    bool default_ = false;
    bool cancel_ = false;
    TModalResult modalResult_ = mrNone;
};

class TCheckBox : public TWinControl {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(Vcl::TAlignment Alignment READ Alignment WRITE SetAlignment)
    Q_PROPERTY(bool AllowGrayed READ AllowGrayed WRITE SetAllowGrayed)
    Q_PROPERTY(bool Checked READ Checked WRITE SetChecked)
    Q_PROPERTY(Vcl::TCheckBoxState State READ State WRITE SetState)
public:
    explicit TCheckBox(TComponent* owner = nullptr);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment value) { Set(alignment_, value); }
    bool AllowGrayed() const { return allowGrayed_; }
    void SetAllowGrayed(bool value) { Set(allowGrayed_, value); }
    bool Checked() const { return state_ == cbChecked; }
    void SetChecked(bool value) { SetState(value ? cbChecked : cbUnchecked); }
    TCheckBoxState State() const { return state_; }
    // A change of state raises OnClick, as in the original.
    void SetState(TCheckBoxState value);
    // The user's toggle: unchecked, (grayed,) checked, unchecked.
    void Toggle();
    bool IsPropertyStored(const char* name) const override;

protected:
    QWidget* CreateWidget(QWidget* parent) override;
    void UpdateWidget() override;

private:
    TAlignment alignment_ = taRightJustify;
    bool allowGrayed_ = false;
    TCheckBoxState state_ = cbUnchecked;
};

class TRadioButton : public TWinControl {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(bool Checked READ Checked WRITE SetChecked)
public:
    explicit TRadioButton(TComponent* owner = nullptr);
    bool Checked() const { return checked_; }
    // Checking one radio button clears the others on the same parent.
    void SetChecked(bool value);

protected:
    QWidget* CreateWidget(QWidget* parent) override;
    void UpdateWidget() override;

private:
    bool checked_ = false;
};

class TGroupBox : public TWinControl {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
public:
    explicit TGroupBox(TComponent* owner = nullptr);
    QRect ClientRect() const override;

protected:
    QWidget* CreateWidget(QWidget* parent) override;
    void UpdateWidget() override;
};

class TComboBox : public TWinControl {
    Q_OBJECT
    Q_PROPERTY(Vcl::TComboBoxStyle Style READ Style WRITE SetStyle)
    Q_PROPERTY(int DropDownCount READ DropDownCount WRITE SetDropDownCount)
    Q_PROPERTY(int ItemHeight READ ItemHeight WRITE SetItemHeight)
    Q_PROPERTY(int ItemIndex READ ItemIndex WRITE SetItemIndex)
    Q_PROPERTY(TStrings* Items READ Items WRITE SetItems)
    Q_PROPERTY(int MaxLength READ MaxLength WRITE SetMaxLength)
    Q_PROPERTY(bool Sorted READ Sorted WRITE SetSorted)
    Q_PROPERTY(QString Text READ Text WRITE SetText)
    Q_PROPERTY(TNotifyEvent OnChange READ OnChange WRITE SetOnChange)
    Q_PROPERTY(TNotifyEvent OnSelect READ OnSelect WRITE SetOnSelect)
    Q_PROPERTY(TNotifyEvent OnDropDown READ OnDropDown WRITE SetOnDropDown)
    Q_PROPERTY(TDrawItemEvent OnDrawItem READ OnDrawItem WRITE SetOnDrawItem)
    Q_PROPERTY(TMeasureItemEvent OnMeasureItem READ OnMeasureItem WRITE SetOnMeasureItem)
public:
    explicit TComboBox(TComponent* owner = nullptr);
    TComboBoxStyle Style() const { return style_; }
    void SetStyle(TComboBoxStyle value);
    int DropDownCount() const { return dropDownCount_; }
    void SetDropDownCount(int value) { Set(dropDownCount_, value); }
    int ItemHeight() const { return draw_.itemHeight; }
    // 1 .. 1000 pixels.
    void SetItemHeight(int value)
    {
        draw_.SetItemHeight(value);
        Changed();
    }
    // -1 when nothing is selected (also when the stored index is out of range).
    int ItemIndex() const;
    void SetItemIndex(int value);
    TStrings* Items() const { return items_; }
    void SetItems(TStrings* items) { items_->Assign(items); }
    int MaxLength() const { return maxLength_; }
    void SetMaxLength(int value) { Set(maxLength_, value); }
    bool Sorted() const { return sorted_; }
    void SetSorted(bool value);
    // The selected line for list styles, the edited text otherwise.
    QString Text() const;
    void SetText(const QString& value);
    bool IsEditable() const { return style_ == csDropDown || style_ == csSimple; }
    // The characters selected in the edit part (what typed text replaces);
    // 0 before the box is shown and for list styles.
    int SelLength() const;
    // Selects length characters of the edit part from start (shows the box's widget).
    void SelectText(int start, int length);
    TNotifyEvent OnChange() const { return onChange_; }
    void SetOnChange(const TNotifyEvent& handler) { onChange_ = handler; }
    TNotifyEvent OnSelect() const { return onSelect_; }
    void SetOnSelect(const TNotifyEvent& handler) { onSelect_ = handler; }
    TNotifyEvent OnDropDown() const { return onDropDown_; }
    void SetOnDropDown(const TNotifyEvent& handler) { onDropDown_ = handler; }
    TDrawItemEvent OnDrawItem() const { return draw_.onDrawItem; }
    void SetOnDrawItem(const TDrawItemEvent& handler)
    {
        draw_.onDrawItem = handler;
        Changed();
    }
    TMeasureItemEvent OnMeasureItem() const { return draw_.onMeasureItem; }
    void SetOnMeasureItem(const TMeasureItemEvent& handler)
    {
        draw_.onMeasureItem = handler;
        Changed();
    }
    bool IsPropertyStored(const char* name) const override;
    void Loaded() override;

    // csOwnerDrawFixed and csOwnerDrawVariable: the items, in the list and in
    // the closed box (with odComboBoxEdit), are drawn by DrawItem.
    bool IsOwnerDrawn() const { return style_ == csOwnerDrawFixed || style_ == csOwnerDrawVariable; }
    // The canvas OnDrawItem draws on.
    TCanvas* Canvas() { return draw_.Canvas(); }
    void DrawItem(int index, const QRect& rect, TOwnerDrawState state) { draw_.DrawItem(index, rect, state); }
    int MeasureItem(int index) { return draw_.MeasureItem(index, style_ == csOwnerDrawVariable); }

protected:
    QWidget* CreateWidget(QWidget* parent) override;
    void UpdateWidget() override;
    TColor DefaultColor() const override { return clWindow; }

private:
    void itemsChanged();

    TComboBoxStyle style_ = csDropDown;
    int dropDownCount_ = 8;
    TOwnerDrawItems draw_;
    int itemIndex_ = -1;
    TStrings* items_;
    int maxLength_ = 0;
    bool sorted_ = false;
    TNotifyEvent onChange_, onSelect_, onDropDown_;
};

class TListBox : public TWinControl {
    Q_OBJECT
    Q_PROPERTY(Vcl::TListBoxStyle Style READ Style WRITE SetStyle)
    Q_PROPERTY(int ItemHeight READ ItemHeight WRITE SetItemHeight)
    Q_PROPERTY(int ItemIndex READ ItemIndex WRITE SetItemIndex)
    Q_PROPERTY(TStrings* Items READ Items WRITE SetItems)
    Q_PROPERTY(bool MultiSelect READ MultiSelect WRITE SetMultiSelect)
    Q_PROPERTY(bool Sorted READ Sorted WRITE SetSorted)
    Q_PROPERTY(TDrawItemEvent OnDrawItem READ OnDrawItem WRITE SetOnDrawItem)
    Q_PROPERTY(TMeasureItemEvent OnMeasureItem READ OnMeasureItem WRITE SetOnMeasureItem)
public:
    explicit TListBox(TComponent* owner = nullptr);
    TListBoxStyle Style() const { return style_; }
    void SetStyle(TListBoxStyle value) { Set(style_, value); }
    int ItemHeight() const { return draw_.itemHeight; }
    // 1 .. 1000 pixels.
    void SetItemHeight(int value)
    {
        draw_.SetItemHeight(value);
        Changed();
    }
    TDrawItemEvent OnDrawItem() const { return draw_.onDrawItem; }
    void SetOnDrawItem(const TDrawItemEvent& handler)
    {
        draw_.onDrawItem = handler;
        Changed();
    }
    TMeasureItemEvent OnMeasureItem() const { return draw_.onMeasureItem; }
    void SetOnMeasureItem(const TMeasureItemEvent& handler)
    {
        draw_.onMeasureItem = handler;
        Changed();
    }
    // lbOwnerDrawFixed and lbOwnerDrawVariable: items are drawn by DrawItem.
    bool IsOwnerDrawn() const { return style_ != lbStandard; }
    TCanvas* Canvas() { return draw_.Canvas(); }
    void DrawItem(int index, const QRect& rect, TOwnerDrawState state) { draw_.DrawItem(index, rect, state); }
    int MeasureItem(int index) { return draw_.MeasureItem(index, style_ == lbOwnerDrawVariable); }
    int ItemIndex() const;
    void SetItemIndex(int value);
    TStrings* Items() const { return items_; }
    void SetItems(TStrings* items) { items_->Assign(items); }
    bool MultiSelect() const { return multiSelect_; }
    void SetMultiSelect(bool value) { Set(multiSelect_, value); }
    bool Sorted() const { return sorted_; }
    void SetSorted(bool value);
    bool Selected(int index) const { return selected_.contains(index); }
    void SetSelected(int index, bool value);
    int SelCount() const { return static_cast<int>(selected_.size()); }
    bool IsPropertyStored(const char* name) const override;

protected:
    QWidget* CreateWidget(QWidget* parent) override;
    void UpdateWidget() override;
    TColor DefaultColor() const override { return clWindow; }

private:
    void itemsChanged();

    TListBoxStyle style_ = lbStandard;
    int itemIndex_ = -1;
    TStrings* items_;
    TOwnerDrawItems draw_;
    bool multiSelect_ = false;
    bool sorted_ = false;
    QList<int> selected_;
};

class TRadioGroup : public TWinControl {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(int Columns READ Columns WRITE SetColumns)
    Q_PROPERTY(int ItemIndex READ ItemIndex WRITE SetItemIndex)
    Q_PROPERTY(TStrings* Items READ Items WRITE SetItems)
public:
    explicit TRadioGroup(TComponent* owner = nullptr);
    int Columns() const { return columns_; }
    void SetColumns(int value) { Set(columns_, std::max(1, value)); }
    int ItemIndex() const { return itemIndex_ < items_->Count() ? itemIndex_ : -1; }
    void SetItemIndex(int value);
    TStrings* Items() const { return items_; }
    void SetItems(TStrings* items) { items_->Assign(items); }

protected:
    QWidget* CreateWidget(QWidget* parent) override;
    void UpdateWidget() override;

private:
    int columns_ = 1;
    int itemIndex_ = -1;
    TStrings* items_;
};
