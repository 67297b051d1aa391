#include "criteria/SelectPnl.h"

#include "controls/GSpdBtn.h"
#include "controls/GlyphBank.h"
#include "criteria/SchemeListView.h"
#include "runtime/forms/Forms.h"

#include <QFontMetrics>
#include <mutex>

namespace {

void registerEvents()
{
    static std::once_flag once;
    std::call_once(once, [] {
        RegisterEventFamily<TOpenWinClickEvent>(QStringLiteral("TOpenWinClickEvent"));
        RegisterEventFamily<TStyleChangingEvent>(QStringLiteral("TStyleChangingEvent"));
        RegisterEventFamily<TStyleChangeEvent>(QStringLiteral("TStyleChangeEvent"));
        RegisterEventFamily<TListViewSelectItemEvent>(QStringLiteral("TListViewSelectItemEvent"));
        // The change events are the list view's (RegisterCommonControlEvents).
    });
}

// Glyph numbers of the bank: delete row, clear list.
constexpr int DeleteGlyph = 47;
constexpr int ClearGlyph = 4;
constexpr int ButtonSize = 23;
// The least height of a list button: its 16-pixel glyph and a pixel around it.
constexpr int MinButtonHeight = 18;
constexpr int EditHeight = 24;

template<typename T> T* child(TSelectPanel* owner, TWinControl* parent, const char* name)
{
    auto* c = new T(owner);
    c->SetName(QString::fromLatin1(name));
    c->SetParent(parent);
    return c;
}

TPanel* innerPanel(TSelectPanel* owner, const char* name)
{
    auto* panel = child<TPanel>(owner, owner, name);
    panel->SetBevelInner(bvNone);
    panel->SetBevelOuter(bvNone);
    panel->SetCaption(QStringLiteral(" "));
    return panel;
}

TF2Button* lookupButton(TSelectPanel* owner, TWinControl* parent, const char* name)
{
    auto* button = child<TF2Button>(owner, parent, name);
    button->SetFlat(true);
    button->SetBounds(0, 0, ButtonSize, ButtonSize);
    return button;
}

TGSpeedButton* listButton(TSelectPanel* owner, TWinControl* parent, const char* name, int glyph)
{
    auto* button = child<TGSpeedButton>(owner, parent, name);
    button->SetFlat(true);
    button->SetBounds(0, 0, ButtonSize, ButtonSize);
    button->SetGlyphIndex(glyph);
    return button;
}

} // namespace

TSelectPanel::TSelectPanel(TComponent* owner)
    : TGroupBox(owner)
    , beginWords_(new TStrings(this))
    , finalWords_(new TStrings(this))
    , childHints_(new TStrings(this))
    , columnCaptions_(new TStrings(this))
{
    registerEvents();
    RegisterCriteriaControls();
    SetBoundsSilently(QRect(0, 0, 353, 45));
    createChildren();
    beginWords_->SetLines({QStringLiteral("起"), QStringLiteral("起")});
    finalWords_->SetLines({QStringLiteral("止"), QStringLiteral("止")});
    childHints_->SetLines({QStringLiteral("用户自定输入方式"), QStringLiteral("区间选择-起始信息"),
        QStringLiteral("区间选择-起始信息开窗"), QStringLiteral("区间选择-截止信息"),
        QStringLiteral("区间选择-截止信息开窗"), QStringLiteral("多选-己选择的信息"),
        QStringLiteral("多选-信息开窗"), QStringLiteral("多选-删除一笔信息"),
        QStringLiteral("多选-删除己选信息")});
    applyHints();
    connect(beginWords_, &TStrings::Changed, this, [this] { wordsChanged(beginWords_); });
    connect(finalWords_, &TStrings::Changed, this, [this] { wordsChanged(finalWords_); });
    connect(childHints_, &TStrings::Changed, this, [this] { applyHints(); });
    connect(columnCaptions_, &TStrings::Changed, this, [this] { SetColumnCaptions(columnCaptions_); });
    connect(Font(), &TFont::Changed, this, [this] { layout(); });
    routeChildEvents();
    layout();
}

TSelectPanel::~TSelectPanel() = default;

void TSelectPanel::createChildren()
{
    cbUserChoice = child<TPellCheckBox>(this, this, "cbUserChoice");
    cbUserChoice->SetCaption(QStringLiteral("区间选择"));
    cbUserChoice->SetChecked(true);
    cbUserChoice->SetBounds(16, 17, cbUserChoice->Width(), cbUserChoice->Height());
    cbUserChoice->SetVisible(false);

    pnlRange = innerPanel(this, "pnlRange");
    lblBegin = child<TLabel>(this, pnlRange, "lblBegin");
    edBegin = child<TPellMaskEdit>(this, pnlRange, "edBegin");
    btnBegin = lookupButton(this, pnlRange, "btnBegin");
    lblFinal = child<TLabel>(this, pnlRange, "lblFinal");
    edFinal = child<TPellMaskEdit>(this, pnlRange, "edFinal");
    btnFinal = lookupButton(this, pnlRange, "btnFinal");
    // Bound buttons follow their edits; their click reaches F2Window below.
    btnBegin->SetF2Control(edBegin);
    btnFinal->SetF2Control(edFinal);

    pnlList = innerPanel(this, "pnlList");
    ListBox = child<TPellListView>(this, pnlList, "ListBox");
    ListBox->SetViewStyle(vsReport);
    ListBox->SetMultiSelect(true);
    ListBox->SetRowSelect(true);
    ListBox->SetReadOnly(true);
    ListBox->SetShowColumnHeaders(false);
    ListBox->SetHideSelection(false);
    btnList = lookupButton(this, pnlList, "btnList");
    btnList->SetAutoAlign(false);
    btnDeleteItem = listButton(this, pnlList, "btnDeleteItem", DeleteGlyph);
    btnClearList = listButton(this, pnlList, "btnClearList", ClearGlyph);
    pnlList->SetVisible(false);
    for (TF2Button* b : {btnBegin, btnFinal, btnList})
        b->SetGlyphIndex(glyphIndex_);
}

void TSelectPanel::routeChildEvents()
{
    cbUserChoice->SetOnClick(TNotifyEvent::Of(this, [this](TObject*) { typeClick(); }));
    btnList->SetOnClick(TNotifyEvent::Of(this, [this](TObject*) {
        if (!IsDesigning())
            F2Window(ListBox);
    }));
    btnDeleteItem->SetOnClick(TNotifyEvent::Of(this, [this](TObject*) { DeleteSelected(); }));
    btnClearList->SetOnClick(TNotifyEvent::Of(this, [this](TObject*) { ClearList(); }));
    ListBox->SetOnColumnClick(TLVColumnClickEvent::Of(
        this, [this](TObject*, TListColumn* column) { SortByColumn(column->Index()); }));
    ListBox->SetOnSelectItem(
        TLVSelectItemEvent::Of(this, [this](TObject* sender, TListItem* item, bool selected) {
            if (IsDesigning())
                return;
            onItemSelect_(sender, item, item ? item->Index() : -1, selected);
        }));
    // Changes of a row (its text, picture, selection) reach the panel's own
    // events, with the list as Sender.
    ListBox->SetOnChanging(
        TLVChangingEvent::Of(this, [this](TObject* sender, TListItem* item, TItemChange change, bool& allow) {
            if (!IsDesigning())
                onItemChanging_(sender, item, change, allow);
        }));
    ListBox->SetOnChange(
        TLVChangeEvent::Of(this, [this](TObject* sender, TListItem* item, TItemChange change) {
            if (!IsDesigning())
                onItemChange_(sender, item, change);
        }));
    // Keys, clicks and focus of the children count as the panel's own.
    const QList<TWinControl*> routed {edBegin, edFinal, ListBox, pnlRange, pnlList};
    for (TWinControl* c : routed) {
        c->SetOnKeyDown(
            TKeyEvent::Of(this, [this](TObject* s, Word& k, TShiftState sh) { OnKeyDown()(s, k, sh); }));
        c->SetOnKeyUp(
            TKeyEvent::Of(this, [this](TObject* s, Word& k, TShiftState sh) { OnKeyUp()(s, k, sh); }));
        c->SetOnKeyPress(TKeyPressEvent::Of(this, [this](TObject* s, QChar& k) { OnKeyPress()(s, k); }));
    }
    for (TWinControl* c : {static_cast<TWinControl*>(edBegin), static_cast<TWinControl*>(edFinal),
             static_cast<TWinControl*>(ListBox), static_cast<TWinControl*>(cbUserChoice)}) {
        c->SetOnEnter(TNotifyEvent::Of(this, [this](TObject*) { ChildEntered(); }));
        c->SetOnExit(TNotifyEvent::Of(this, [this](TObject*) { ChildExited(); }));
    }
    routePointerEvents();
    for (TControl* c : QList<TControl*> {edBegin, edFinal, ListBox, pnlRange, pnlList, lblBegin, lblFinal}) {
        const bool ownSender = c == edBegin || c == edFinal || c == ListBox;
        c->SetOnClick(
            TNotifyEvent::Of(this, [this, c, ownSender](TObject*) { OnClick()(ownSender ? c : this); }));
        c->SetOnDblClick(
            TNotifyEvent::Of(this, [this, c, ownSender](TObject*) { OnDblClick()(ownSender ? c : this); }));
    }
}

QPoint TSelectPanel::toPanel(const TControl* child, int x, int y) const
{
    QPoint at(x, y);
    for (const TControl* c = child; c && c != this; c = c->Parent())
        at += c->BoundsRect().topLeft();
    return at;
}

void TSelectPanel::routePointerEvents()
{
    // Mouse and drag events of every child are the panel's own: with the
    // panel as Sender and coordinates in the panel, except for the list and
    // the two edits, which stay Sender with their own coordinates.
    const QList<TControl*> children {cbUserChoice, pnlRange, lblBegin, edBegin, btnBegin, lblFinal, edFinal,
        btnFinal, pnlList, ListBox, btnList, btnDeleteItem, btnClearList};
    for (TControl* c : children) {
        const bool own = c == edBegin || c == edFinal || c == ListBox;
        auto sender = [this, c, own]() -> TObject* { return own ? static_cast<TObject*>(c) : this; };
        auto where = [this, c, own](int x, int y) { return own ? QPoint(x, y) : toPanel(c, x, y); };
        c->SetOnMouseDown(
            TMouseEvent::Of(this, [=, this](TObject*, TMouseButton b, TShiftState sh, int x, int y) {
                const QPoint at = where(x, y);
                OnMouseDown()(sender(), b, sh, at.x(), at.y());
            }));
        c->SetOnMouseUp(
            TMouseEvent::Of(this, [=, this](TObject*, TMouseButton b, TShiftState sh, int x, int y) {
                const QPoint at = where(x, y);
                OnMouseUp()(sender(), b, sh, at.x(), at.y());
            }));
        c->SetOnMouseMove(TMouseMoveEvent::Of(this, [=, this](TObject*, TShiftState sh, int x, int y) {
            const QPoint at = where(x, y);
            OnMouseMove()(sender(), sh, at.x(), at.y());
        }));
        c->SetOnDragOver(TDragOverEvent::Of(
            this, [=, this](TObject*, TObject* source, int x, int y, TDragState state, bool& accept) {
                // The panel decides; without a handler of its own it takes nothing.
                const QPoint at = where(x, y);
                accept = OnDragOver().Assigned();
                OnDragOver()(sender(), source, at.x(), at.y(), state, accept);
            }));
        c->SetOnDragDrop(TDragDropEvent::Of(this, [=, this](TObject*, TObject* source, int x, int y) {
            const QPoint at = where(x, y);
            OnDragDrop()(sender(), source, at.x(), at.y());
        }));
        c->SetOnStartDrag(TNotifyEvent::Of(this, [=, this](TObject*) { OnStartDrag()(sender()); }));
        c->SetOnEndDrag(TEndDragEvent::Of(this,
            [=, this](TObject*, TObject* target, int x, int y) { OnEndDrag()(sender(), target, x, y); }));
    }
}

void TSelectPanel::ChildEntered()
{
    if (std::exchange(focusInside_, true))
        return;
    if (!IsDesigning())
        OnEnter()(this);
}

void TSelectPanel::ChildExited()
{
    TForm* form = ParentForm();
    if (form && inside(form->ActiveControl()))
        return; // the focus moves between the panel's own children
    focusInside_ = false;
    OrderRange();
    if (!IsDesigning())
        OnExit()(this);
}

bool TSelectPanel::inside(const TControl* control) const
{
    for (const TControl* c = control; c; c = c->Parent()) {
        if (c == this)
            return true;
    }
    return false;
}

void TSelectPanel::F2Window(TWinControl* control)
{
    if (IsDesigning())
        return;
    control->SetFocus();
    if (auto* target = dynamic_cast<IF2WindowTarget*>(ParentForm()))
        target->F2Window(control);
    onOpenWinClick_(this, control);
}

void TSelectPanel::applyHints()
{
    const QList<TControl*> children {
        cbUserChoice, edBegin, btnBegin, edFinal, btnFinal, ListBox, btnList, btnDeleteItem, btnClearList};
    for (int i = 0; i < childHints_->Count() && i < children.size(); ++i)
        children.at(i)->SetHint(childHints_->Strings(i));
}

void TSelectPanel::wordsChanged(TStrings* words)
{
    // Only two words have a use: one per layout family.
    if (words->Count() > 2) {
        QStringList two = words->Lines().mid(0, 2);
        words->SetLines(two);
        return; // SetLines comes back here
    }
    layout();
}

QString TSelectPanel::word(const TStrings* words, int entry) const
{
    if (words->Count() == 0)
        return QString();
    return words->Strings(std::min(entry, words->Count() - 1));
}

void TSelectPanel::SetHintWord(const QString& value)
{
    cbUserChoice->SetCaption(value);
    layout();
}

void TSelectPanel::ConvertCodePage(TCodeConverter& converter, int direction, bool)
{
    const QString hintWord = converter.ConvertText(direction, HintWord());
    if (hintWord != HintWord())
        SetHintWord(hintWord);
    // One library call per list, as for the form's own lists.
    for (TStrings* list : {beginWords_, finalWords_, childHints_}) {
        const QStringList lines = converter.ConvertLines(direction, list->Lines());
        if (lines != list->Lines())
            list->SetLines(lines); // Changed lays out again or applies the hints
    }
    converter.ConvertListView(ListBox, direction);
}

void TSelectPanel::SetEditMask(const QString& value)
{
    editMask_ = value;
    edBegin->SetMuted(true);
    const QString kept = edBegin->Text();
    edBegin->SetText(QString());
    edBegin->SetEditMask(value);
    edFinal->SetEditMask(value);
    emptyMaskText_ = edBegin->Text();
    edBegin->SetText(kept);
    edBegin->SetMuted(false);
}

void TSelectPanel::SetCanOpenWin(bool value)
{
    canOpenWin_ = value;
    for (TF2Button* b : {btnBegin, btnFinal, btnList})
        b->SetVisible(value);
    layout();
}

void TSelectPanel::SetGlyphIndex(int value)
{
    if (value < 0 || value > MaxGlyphIndex() || GlyphImage(value).isNull()) {
        for (TF2Button* b : {btnBegin, btnFinal, btnList})
            b->SetGlyphIndex(0);
        return;
    }
    glyphIndex_ = value;
    for (TF2Button* b : {btnBegin, btnFinal, btnList})
        b->SetGlyphIndex(value);
}

void TSelectPanel::SetUseVertical(bool value)
{
    useVertical_ = value;
    layout();
}

bool TSelectPanel::SortListBox() const
{
    return ListBox->SortType() == stText || ListBox->SortType() == stBoth;
}

void TSelectPanel::SetSortListBox(bool value)
{
    ListBox->SetSortType(value ? stText : stNone);
}

void TSelectPanel::SetCheckDuplicate(TCheckDuplicate value)
{
    checkDuplicate_ = value;
    if (value == cd_None)
        return;
    SetSortListBox(true);
    if (!IsRangeMode())
        RemoveDuplicates();
}

TStrings* TSelectPanel::ColumnCaptions() const
{
    QStringList captions;
    for (int i = 0; i < Columns()->Count(); ++i)
        captions << Columns()->Items(i)->Caption();
    if (captions != columnCaptions_->Lines()) {
        const QSignalBlocker quiet(columnCaptions_);
        columnCaptions_->SetLines(captions);
    }
    return columnCaptions_;
}

void TSelectPanel::SetColumnCaptions(TStrings* value)
{
    const QStringList captions = value->Lines();
    Columns()->BeginUpdate();
    Columns()->Clear();
    for (const QString& caption : captions) {
        TListColumn* column = Columns()->Add();
        column->SetCaption(caption);
        column->SetWidth(-1);
    }
    Columns()->EndUpdate();
}

bool TSelectPanel::IsRangeMode() const
{
    return style_ == sp_Range || (style_ == sp_UserChoice && cbUserChoice->Checked());
}

void TSelectPanel::SetEnabled(bool value)
{
    enabledCopy_ = value;
    TGroupBox::SetEnabled(value);
    // Every child at every depth, so a disabled panel takes no input anywhere.
    std::function<void(TWinControl*)> apply = [&apply, value](TWinControl* parent) {
        for (TControl* c : parent->ControlList()) {
            c->SetEnabled(value);
            if (auto* w = qobject_cast<TWinControl*>(c))
                apply(w);
        }
    };
    apply(this);
}

void TSelectPanel::SetFocus()
{
    if (IsRangeMode())
        edBegin->SetFocus();
    else
        ListBox->SetFocus();
}

void TSelectPanel::SwapOtherSize()
{
    if (Parent() && Parent()->IsLoading())
        return;
    const int w = Width();
    const int h = Height();
    SetBounds(Left(), Top(), otherWidth_, otherHeight_);
    otherWidth_ = w;
    otherHeight_ = h;
}

void TSelectPanel::SetStyle(TSelectStyle value)
{
    bool accept = true;
    if (!IsDesigning())
        onStyleChanging_(this, style_, value, accept);
    if (!accept)
        return;
    const TSelectStyle old = style_;
    cbUserChoice->SetVisible(value == sp_UserChoice);
    const bool range = value == sp_Range || (value == sp_UserChoice && cbUserChoice->Checked());
    pnlRange->SetVisible(range);
    pnlList->SetVisible(!range);
    const bool crosses = old != value && (old == sp_Range || value == sp_Range);
    style_ = value;
    if (crosses && !useVertical_ && !IsLoading())
        SwapOtherSize();
    layout();
    if (!IsDesigning())
        onStyleChange_(this, old, value);
}

void TSelectPanel::SetUserChoice(bool value)
{
    userChoice_ = value;
    if (style_ != sp_UserChoice)
        return;
    if (cbUserChoice->Checked() != value)
        cbUserChoice->SetChecked(value); // raises OnClick, which runs typeClick
    else
        typeClick();
}

void TSelectPanel::typeClick()
{
    if (style_ != sp_UserChoice)
        return;
    userChoice_ = cbUserChoice->Checked();
    pnlRange->SetVisible(userChoice_);
    pnlList->SetVisible(!userChoice_);
    layout();
    if (!IsDesigning())
        onTypeClick_(this);
}

void TSelectPanel::SetBounds(int left, int top, int width, int height)
{
    TGroupBox::SetBounds(left, top, width, height);
    layout();
}

void TSelectPanel::Loaded()
{
    TGroupBox::Loaded();
    layout();
}

bool TSelectPanel::IsPropertyStored(const char* name) const
{
    // The columns are written as the Columns collection; their captions again would replace them.
    if (qstrcmp(name, "ColumnCaptions") == 0)
        return false;
    return TGroupBox::IsPropertyStored(name);
}

int TSelectPanel::titleHeight() const
{
    return QFontMetrics(Font()->ToQFont()).height();
}

void TSelectPanel::layout()
{
    if (layingOut_ || IsLoading() || !pnlList)
        return;
    layingOut_ = true;
    const int title = titleHeight();
    QRect inner;
    if (style_ == sp_UserChoice) {
        const QFontMetrics metrics(cbUserChoice->Font()->ToQFont());
        QString caption = cbUserChoice->Caption();
        caption.remove(u'&');
        const int textHeight = metrics.height();
        cbUserChoice->SetBounds(16, title + 1, metrics.horizontalAdvance(caption) + 24, textHeight + 2);
        const int top = cbUserChoice->Top() + textHeight + 2;
        inner = QRect(2, top, std::max(0, Width() - 4), std::max(0, Height() - top - 2));
    } else {
        const int top = title + 3;
        inner = QRect(2, top, std::max(0, Width() - 4), std::max(0, Height() - top - 2));
    }
    pnlRange->SetBounds(inner.x(), inner.y(), inner.width(), inner.height());
    pnlList->SetBounds(inner.x(), inner.y(), inner.width(), inner.height());
    if (style_ == sp_Range && !useVertical_)
        layoutSideBySide();
    else
        layoutStacked();
    layoutList();
    layingOut_ = false;
}

void TSelectPanel::layoutSideBySide()
{
    // Side by side the short words stand before the edits (entry 0).
    lblBegin->SetCaption(word(beginWords_, 0));
    lblFinal->SetCaption(word(finalWords_, 0));
    const int buttons = canOpenWin_ ? btnBegin->Width() + btnFinal->Width() : 4;
    const int editWidth
        = std::max(0, (pnlRange->Width() - 2 - lblBegin->Width() - lblFinal->Width() - 8 - buttons) / 2);
    const int top = std::max(0, (pnlRange->Height() - EditHeight) / 2);
    // Labels are centred on the edits' line so their text reads level with what is typed.
    const int labelTop = top + (EditHeight - lblBegin->Height()) / 2;
    lblBegin->SetBounds(2, labelTop, lblBegin->Width(), lblBegin->Height());
    edBegin->SetBounds(lblBegin->Left() + lblBegin->Width() + 1, top, editWidth, EditHeight);
    int next = edBegin->Left() + editWidth + 4;
    if (canOpenWin_) {
        btnBegin->AlignToEdit();
        next = btnBegin->Left() + btnBegin->Width() + 2;
    }
    lblFinal->SetBounds(next, labelTop, lblFinal->Width(), lblFinal->Height());
    edFinal->SetBounds(lblFinal->Left() + lblFinal->Width() + 2, top, editWidth, EditHeight);
    btnFinal->AlignToEdit();
}

void TSelectPanel::layoutStacked()
{
    lblBegin->SetCaption(word(beginWords_, 1));
    lblFinal->SetCaption(word(finalWords_, 1));
    const int gap = std::max(0, (pnlRange->Height() - 2 * EditHeight) / 3);
    const int labelWidth = std::max(lblBegin->Width(), lblFinal->Width());
    const int editLeft = 2 + labelWidth + 2;
    const int editWidth
        = std::max(0, pnlRange->Width() - 2 - labelWidth - (canOpenWin_ ? btnBegin->Width() + 4 : 2) - 2);
    const int labelShift = (EditHeight - lblBegin->Height()) / 2;
    lblBegin->SetBounds(2, gap + labelShift, lblBegin->Width(), lblBegin->Height());
    edBegin->SetBounds(editLeft, gap, editWidth, EditHeight);
    const int finalTop = gap + gap + EditHeight;
    lblFinal->SetBounds(2, finalTop + labelShift, lblFinal->Width(), lblFinal->Height());
    edFinal->SetBounds(editLeft, finalTop, editWidth, EditHeight);
    // The stacked buttons sit one pixel from their edits.
    btnBegin->SetGap(1);
    btnFinal->SetGap(1);
    btnBegin->AlignToEdit();
    btnFinal->AlignToEdit();
    btnBegin->SetGap(2);
    btnFinal->SetGap(2);
}

void TSelectPanel::layoutList()
{
    const int listWidth = std::max(0, pnlList->Width() - ButtonSize - 3);
    ListBox->SetBounds(0, 0, listWidth, pnlList->Height());
    // The buttons stand one under the other beside the list; in a list too
    // low for three full buttons (a user-choice panel of a few rows) they
    // get lower, down to what their 16-pixel glyphs need, so that the last
    // one is not cut off by the panel's edge.
    const int stacked = canOpenWin_ ? 3 : 2;
    const int height = std::clamp(pnlList->Height() / stacked, MinButtonHeight, ButtonSize);
    btnList->SetBounds(listWidth + 2, 0, ButtonSize, height);
    const int under = canOpenWin_ ? btnList->Top() + btnList->Height() : 0;
    btnDeleteItem->SetBounds(listWidth + 2, under, ButtonSize, height);
    btnClearList->SetBounds(listWidth + 2, btnDeleteItem->Top() + height, ButtonSize, height);
}

void RegisterSelectPanel()
{
    static const bool registered = [] {
        RegisterCriteriaControls();
        RegisterClass<TSelectPanel>();
        RegisterClass<TPellMaskEdit>();
        RegisterClass<TPellListView>();
        RegisterClass<TPellCheckBox>();
        RegisterClass<TSchemeListView>();
        return true;
    }();
    Q_UNUSED(registered);
}
