#include "runtime/forms/StdCtrls.h"

#include "runtime/forms/EditLine.h"
#include "runtime/forms/Forms.h"
#include "runtime/forms/Graphics.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QStylePainter>
#include <QStyledItemDelegate>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>
#include <mutex>

namespace {

void registerOwnerDrawEvents()
{
    static std::once_flag once;
    std::call_once(once, [] {
        qRegisterMetaType<TWinControl*>("TWinControl*");
        qRegisterMetaType<Vcl::TOwnerDrawState>("TOwnerDrawState");
        RegisterEventFamily<TDrawItemEvent>(QStringLiteral("TDrawItemEvent"));
        RegisterEventFamily<TMeasureItemEvent>(QStringLiteral("TMeasureItemEvent"));
    });
}

TOwnerDrawState drawStateOf(const QStyleOptionViewItem& option)
{
    TOwnerDrawState state;
    if (option.state & QStyle::State_Selected)
        state |= odSelected;
    if (!(option.state & QStyle::State_Enabled))
        state |= odDisabled;
    if (option.state & QStyle::State_HasFocus)
        state |= odFocused;
    return state;
}

// Draws the items of an owner-drawn list through its control; the control
// decides whether it is owner-drawn at the moment.
class OwnerDrawDelegate : public QStyledItemDelegate {
public:
    using Drawn = std::function<bool()>;
    OwnerDrawDelegate(TOwnerDrawItems* items, Drawn drawn, std::function<int(int)> measure, QObject* parent)
        : QStyledItemDelegate(parent)
        , items_(items)
        , drawn_(std::move(drawn))
        , measure_(std::move(measure))
    {
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        if (!drawn_())
            return QStyledItemDelegate::paint(painter, option, index);
        items_->Paint(painter, index.row(), option.rect, drawStateOf(option));
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        if (!drawn_())
            return QStyledItemDelegate::sizeHint(option, index);
        return QSize(std::max(0, option.rect.width()), measure_(index.row()));
    }

private:
    TOwnerDrawItems* items_;
    Drawn drawn_;
    std::function<int(int)> measure_;
};

// A combo box whose closed box shows the current item drawn by its control.
class OwnerDrawComboBox : public QComboBox {
public:
    OwnerDrawComboBox(TComboBox* control, TOwnerDrawItems* items, QWidget* parent)
        : QComboBox(parent)
        , control_(control)
        , items_(items)
    {
    }

protected:
    void paintEvent(QPaintEvent* event) override
    {
        if (!control_->IsOwnerDrawn())
            return QComboBox::paintEvent(event);
        QStylePainter painter(this);
        QStyleOptionComboBox option;
        initStyleOption(&option);
        option.currentText.clear();
        option.currentIcon = QIcon();
        painter.drawComplexControl(QStyle::CC_ComboBox, option);
        if (currentIndex() < 0)
            return;
        const QRect field
            = style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
        TOwnerDrawState state = odComboBoxEdit;
        if (hasFocus())
            state |= TOwnerDrawState(odSelected) | odFocused;
        if (!isEnabled())
            state |= odDisabled;
        items_->Paint(&painter, currentIndex(), field, state);
    }

private:
    TComboBox* control_;
    TOwnerDrawItems* items_;
};

Qt::Alignment horizontalAlignment(TAlignment alignment)
{
    switch (alignment) {
    case taRightJustify:
        return Qt::AlignRight;
    case taCenter:
        return Qt::AlignHCenter;
    default:
        return Qt::AlignLeft;
    }
}

} // namespace

// TLabel -------------------------------------------------------------------

TLabel::TLabel(TComponent* owner)
    : TGraphicControl(owner)
{
    SetBoundsSilently(QRect(0, 0, 65, 17));
    connect(Font(), &TFont::Changed, this, [this] { AdjustBounds(); });
}

void TLabel::SetAutoSize(bool value)
{
    autoSize_ = value;
    AdjustBounds();
}

void TLabel::AdjustBounds()
{
    if (!autoSize_ || IsLoading() || wordWrap_)
        return;
    const QFontMetrics metrics(Font()->ToQFont());
    QString text = caption_;
    text.remove(u'&');
    SetBounds(Left(), Top(), metrics.horizontalAdvance(text), metrics.height());
}

void TLabel::Loaded()
{
    TGraphicControl::Loaded();
    AdjustBounds();
}

QWidget* TLabel::CreateWidget(QWidget* parent)
{
    return new QLabel(parent);
}

void TLabel::UpdateWidget()
{
    TGraphicControl::UpdateWidget();
    auto* label = static_cast<QLabel*>(Widget());
    label->setText(caption_);
    const Qt::Alignment vertical = layout_ == tlCenter ? Qt::AlignVCenter
        : layout_ == tlBottom                          ? Qt::AlignBottom
                                                       : Qt::AlignTop;
    label->setAlignment(horizontalAlignment(alignment_) | vertical);
    label->setWordWrap(wordWrap_);
    if (focusControl_ && focusControl_->HasWidget())
        label->setBuddy(focusControl_->Widget());
}

// TCustomEdit --------------------------------------------------------------

TCustomEdit::TCustomEdit(TComponent* owner)
    : TWinControl(owner)
{
    SetBoundsSilently(QRect(0, 0, 121, 21));
    SetColor(clWindow);
}

void TCustomEdit::SetCharCase(TEditCharCase value)
{
    charCase_ = value;
    SetText(caption_);
}

QString TCustomEdit::applyCharCase(const QString& text) const
{
    switch (charCase_) {
    case ecUpperCase:
        return text.toUpper();
    case ecLowerCase:
        return text.toLower();
    default:
        return text;
    }
}

void TCustomEdit::SetText(const QString& value)
{
    const QString text = applyCharCase(value);
    if (text == caption_)
        return;
    caption_ = text;
    Changed();
    Change();
}

void TCustomEdit::SelectAll()
{
    if (auto* edit = qobject_cast<QLineEdit*>(HasWidget() ? Widget() : nullptr))
        edit->selectAll();
}

void TCustomEdit::Change()
{
    if (!IsLoading())
        onChange_(this);
}

// TEdit --------------------------------------------------------------------

TEdit::TEdit(TComponent* owner)
    : TCustomEdit(owner)
{
}

QWidget* TEdit::CreateWidget(QWidget* parent)
{
    auto* edit = new EditLine(parent);
    connect(edit, &QLineEdit::textEdited, this, [this, edit](const QString& text) {
        const QString cased = applyCharCase(text);
        if (cased != text) {
            const int cursor = edit->cursorPosition();
            edit->setText(cased);
            edit->setCursorPosition(cursor);
        }
        caption_ = cased;
        Change();
    });
    return edit;
}

void TEdit::UpdateWidget()
{
    TCustomEdit::UpdateWidget();
    auto* edit = static_cast<QLineEdit*>(Widget());
    if (edit->text() != caption_)
        edit->setText(caption_);
    // Each of these setters puts the text in again, which drops the caret
    // and the selection: only real changes reach the widget.
    if (edit->isReadOnly() != ReadOnly())
        edit->setReadOnly(ReadOnly());
    if (const int length = MaxLength() > 0 ? MaxLength() : 32767; edit->maxLength() != length)
        edit->setMaxLength(length);
    if (const auto echo = passwordChar_.isEmpty() ? QLineEdit::Normal : QLineEdit::Password;
        edit->echoMode() != echo)
        edit->setEchoMode(echo);
}

// TMemo --------------------------------------------------------------------

TMemo::TMemo(TComponent* owner)
    : TCustomEdit(owner)
    , lines_(new TStrings(this))
{
    SetBoundsSilently(QRect(0, 0, 185, 89));
    connect(lines_, &TStrings::Changed, this, [this] {
        caption_ = lines_->Text();
        Changed();
        Change();
    });
}

QWidget* TMemo::CreateWidget(QWidget* parent)
{
    auto* edit = new QPlainTextEdit(parent);
    // As the original's memo without WantTabs: Tab moves on to the next
    // control instead of typing a tab character into the text.
    edit->setTabChangesFocus(true);
    connect(edit, &QPlainTextEdit::textChanged, this, [this, edit] {
        if (Updating())
            return;
        QSignalBlocker block(lines_);
        lines_->SetText(edit->toPlainText());
        caption_ = lines_->Text();
        Change();
    });
    connect(edit, &QPlainTextEdit::cursorPositionChanged, this, [this, edit] {
        const QTextCursor cursor = edit->textCursor();
        caretPos_ = QPoint(cursor.positionInBlock(), cursor.blockNumber());
    });
    return edit;
}

void TMemo::SetCaretPos(QPoint pos)
{
    const int lines = static_cast<int>(lines_->Count());
    const int line = std::clamp(pos.y(), 0, std::max(0, lines - 1));
    const int length = line < lines ? static_cast<int>(lines_->Strings(line).size()) : 0;
    caretPos_ = QPoint(std::clamp(pos.x(), 0, length), line);
    if (!HasWidget())
        return;
    auto* edit = static_cast<QPlainTextEdit*>(Widget());
    const QTextBlock block = edit->document()->findBlockByNumber(caretPos_.y());
    if (!block.isValid())
        return;
    QTextCursor cursor(block);
    cursor.setPosition(block.position() + std::min(caretPos_.x(), block.length() - 1));
    edit->setTextCursor(cursor);
}

void TMemo::UpdateWidget()
{
    TCustomEdit::UpdateWidget();
    auto* edit = static_cast<QPlainTextEdit*>(Widget());
    QString text = lines_->Lines().join(u'\n');
    if (edit->toPlainText() != text)
        edit->setPlainText(text);
    edit->setReadOnly(ReadOnly());
    edit->setLineWrapMode(wordWrap_ ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
    const bool vertical = scrollBars_ == ssVertical || scrollBars_ == ssBoth;
    const bool horizontal = scrollBars_ == ssHorizontal || scrollBars_ == ssBoth;
    edit->setVerticalScrollBarPolicy(vertical ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    edit->setHorizontalScrollBarPolicy(horizontal ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
}

// TButton ------------------------------------------------------------------

TButton::TButton(TComponent* owner)
    : TWinControl(owner)
{
    SetBoundsSilently(QRect(0, 0, 75, 25));
}

void TButton::Click()
{
    QPointer<TButton> self(this);
    TWinControl::Click();
    if (!self || modalResult_ == mrNone)
        return;
    if (TForm* form = ParentForm())
        form->SetModalResult(modalResult_);
}

QWidget* TButton::CreateWidget(QWidget* parent)
{
    auto* button = new QPushButton(parent);
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this, [this] { Click(); });
    return button;
}

void TButton::UpdateWidget()
{
    TWinControl::UpdateWidget();
    auto* button = static_cast<QPushButton*>(Widget());
    button->setText(caption_);
    button->setDefault(default_);
}

// TCheckBox ----------------------------------------------------------------

TCheckBox::TCheckBox(TComponent* owner)
    : TWinControl(owner)
{
    SetBoundsSilently(QRect(0, 0, 97, 17));
}

void TCheckBox::SetState(TCheckBoxState value)
{
    if (state_ == value)
        return;
    state_ = value;
    Changed();
    if (!IsLoading())
        Click();
}

void TCheckBox::Toggle()
{
    switch (state_) {
    case cbUnchecked:
        SetState(allowGrayed_ ? cbGrayed : cbChecked);
        break;
    case cbChecked:
        SetState(cbUnchecked);
        break;
    case cbGrayed:
        SetState(cbChecked);
        break;
    }
}

bool TCheckBox::IsPropertyStored(const char* name) const
{
    return qstrcmp(name, "Checked") != 0 && TWinControl::IsPropertyStored(name); // State carries it
}

QWidget* TCheckBox::CreateWidget(QWidget* parent)
{
    auto* box = new QCheckBox(parent);
    connect(box, &QCheckBox::clicked, this, [this, box] {
        // Qt has already moved on; the model decides the next state.
        const QSignalBlocker block(box);
        Toggle();
        Changed();
    });
    return box;
}

void TCheckBox::UpdateWidget()
{
    TWinControl::UpdateWidget();
    auto* box = static_cast<QCheckBox*>(Widget());
    box->setText(caption_);
    box->setTristate(allowGrayed_ || state_ == cbGrayed);
    box->setCheckState(state_ == cbChecked ? Qt::Checked
            : state_ == cbGrayed           ? Qt::PartiallyChecked
                                           : Qt::Unchecked);
    box->setLayoutDirection(alignment_ == taLeftJustify ? Qt::RightToLeft : Qt::LeftToRight);
}

// TRadioButton -------------------------------------------------------------

TRadioButton::TRadioButton(TComponent* owner)
    : TWinControl(owner)
{
    SetBoundsSilently(QRect(0, 0, 113, 17));
}

void TRadioButton::SetChecked(bool value)
{
    if (checked_ == value)
        return;
    checked_ = value;
    Changed();
    if (!value)
        return;
    if (Parent()) {
        for (TControl* sibling : Parent()->ControlList()) {
            if (auto* radio = qobject_cast<TRadioButton*>(sibling); radio && radio != this)
                radio->SetChecked(false);
        }
    }
    if (!IsLoading())
        Click();
}

QWidget* TRadioButton::CreateWidget(QWidget* parent)
{
    auto* button = new QRadioButton(parent);
    button->setAutoExclusive(false); // the model keeps the group
    connect(button, &QRadioButton::clicked, this, [this] {
        SetChecked(true);
        Changed();
    });
    return button;
}

void TRadioButton::UpdateWidget()
{
    TWinControl::UpdateWidget();
    auto* button = static_cast<QRadioButton*>(Widget());
    button->setText(caption_);
    button->setChecked(checked_);
}

// TGroupBox ----------------------------------------------------------------

TGroupBox::TGroupBox(TComponent* owner)
    : TWinControl(owner)
{
    SetBoundsSilently(QRect(0, 0, 185, 105));
    SetTabStop(false);
}

QRect TGroupBox::ClientRect() const
{
    const int captionHeight = QFontMetrics(Font()->ToQFont()).height();
    return QRect(2, captionHeight, std::max(0, Width() - 4), std::max(0, Height() - captionHeight - 2));
}

QWidget* TGroupBox::CreateWidget(QWidget* parent)
{
    auto* box = new QGroupBox(parent);
    box->setFocusPolicy(Qt::NoFocus);
    return box;
}

void TGroupBox::UpdateWidget()
{
    TWinControl::UpdateWidget();
    static_cast<QGroupBox*>(Widget())->setTitle(caption_);
}

// TComboBox ----------------------------------------------------------------

// TOwnerDrawItems ------------------------------------------------------------

TCanvas* TOwnerDrawItems::Canvas()
{
    if (!canvas_)
        canvas_ = new TCanvas(control_);
    return canvas_;
}

void TOwnerDrawItems::DrawItem(int index, const QRect& rect, TOwnerDrawState state)
{
    if (onDrawItem.Assigned()) {
        onDrawItem(control_, index, rect, state);
        return;
    }
    TCanvas* canvas = Canvas();
    canvas->FillRect(rect);
    if (items && index >= 0 && index < items->Count()) {
        const int top = rect.top() + std::max(0, (rect.height() - canvas->TextHeight(QString())) / 2);
        canvas->TextOut(rect.left() + 2, top, items->Strings(index));
    }
}

int TOwnerDrawItems::MeasureItem(int index, bool variable)
{
    int height = itemHeight;
    if (variable)
        onMeasureItem(control_, index, height);
    else if (!onDrawItem.Assigned())
        // Drawn as plain text: never lower than a line of the control's font,
        // whose height here may exceed the one ItemHeight was chosen for.
        height = std::max(height, QFontMetrics(control_->Font()->ToQFont()).height());
    return std::clamp(height, 1, 1000);
}

void TOwnerDrawItems::Paint(QPainter* painter, int index, const QRect& rect, TOwnerDrawState state)
{
    TCanvas* canvas = Canvas();
    painter->save();
    const TCanvasDraw lend(canvas, painter);
    canvas->Font()->Assign(control_->Font());
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(control_->Color());
    canvas->Pen()->SetColor(clWindowText);
    if (state & odSelected) {
        canvas->Brush()->SetColor(clHighlight);
        canvas->Font()->SetColor(clHighlightText);
    }
    try {
        DrawItem(index, rect, state);
    } catch (const std::exception& e) {
        // A painter cannot take an exception through Qt's painting; the item
        // is left as far as it got and the fault is told.
        qWarning("%s: drawing item %d failed: %s", qPrintable(control_->Name()), index, e.what());
    }
    if (state & odFocused)
        canvas->DrawFocusRect(rect);
    painter->restore();
}

void TOwnerDrawItems::SetItemHeight(int value)
{
    itemHeight = std::clamp(value, 1, 1000);
}

// TComboBox ----------------------------------------------------------------

TComboBox::TComboBox(TComponent* owner)
    : TWinControl(owner)
    , draw_(this)
    , items_(new TStrings(this))
{
    registerOwnerDrawEvents();
    draw_.items = items_;
    SetBoundsSilently(QRect(0, 0, 145, 21));
    SetColor(clWindow);
    connect(items_, &TStrings::Changed, this, &TComboBox::itemsChanged);
}

void TComboBox::itemsChanged()
{
    if (sorted_ && !IsLoading()) {
        QStringList lines = items_->Lines();
        std::stable_sort(lines.begin(), lines.end(),
            [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
        if (lines != items_->Lines()) {
            items_->SetLines(lines); // comes back here once, already sorted
            return;
        }
    }
    Changed();
}

void TComboBox::SetStyle(TComboBoxStyle value)
{
    if (style_ == value)
        return;
    const bool wasEditable = IsEditable();
    style_ = value;
    if (wasEditable != IsEditable())
        RecreateWidget();
    else
        Changed();
}

int TComboBox::ItemIndex() const
{
    return itemIndex_ >= 0 && itemIndex_ < items_->Count() ? itemIndex_ : -1;
}

void TComboBox::SetItemIndex(int value)
{
    if (!IsLoading() && (value < -1 || value >= items_->Count()))
        value = -1;
    if (itemIndex_ == value)
        return;
    itemIndex_ = value;
    if (ItemIndex() >= 0)
        caption_ = items_->Strings(itemIndex_);
    Changed();
}

void TComboBox::SetSorted(bool value)
{
    sorted_ = value;
    itemsChanged();
}

QString TComboBox::Text() const
{
    if (!IsEditable())
        return ItemIndex() >= 0 ? items_->Strings(itemIndex_) : QString();
    return caption_;
}

void TComboBox::SetText(const QString& value)
{
    const int index = items_->Lines().indexOf(value);
    if (!IsEditable()) {
        SetItemIndex(index);
        return;
    }
    if (caption_ == value && itemIndex_ == index)
        return;
    caption_ = value;
    itemIndex_ = index;
    Changed();
    if (!IsLoading())
        onChange_(this);
}

bool TComboBox::IsPropertyStored(const char* name) const
{
    if (qstrcmp(name, "Text") == 0)
        return IsEditable();
    return TWinControl::IsPropertyStored(name);
}

void TComboBox::Loaded()
{
    TWinControl::Loaded();
    if (itemIndex_ >= items_->Count())
        itemIndex_ = -1;
    itemsChanged();
}

int TComboBox::SelLength() const
{
    auto* combo = HasWidget() ? qobject_cast<QComboBox*>(const_cast<TComboBox*>(this)->Widget()) : nullptr;
    return combo && combo->lineEdit() ? static_cast<int>(combo->lineEdit()->selectedText().size()) : 0;
}

void TComboBox::SelectText(int start, int length)
{
    auto* combo = qobject_cast<QComboBox*>(Widget());
    if (combo && combo->lineEdit())
        combo->lineEdit()->setSelection(start, length);
}

QWidget* TComboBox::CreateWidget(QWidget* parent)
{
    auto* combo = new OwnerDrawComboBox(this, &draw_, parent);
    combo->setEditable(IsEditable());
    combo->setItemDelegate(new OwnerDrawDelegate(
        &draw_, [this] { return IsOwnerDrawn(); }, [this](int index) { return MeasureItem(index); }, combo));
    connect(combo, &QComboBox::activated, this, [this](int index) {
        itemIndex_ = index;
        caption_ = items_->Strings(index);
        onSelect_(this);
        onChange_(this);
    });
    if (IsEditable()) {
        connect(combo->lineEdit(), &QLineEdit::textEdited, this, [this](const QString& text) {
            caption_ = text;
            itemIndex_ = items_->Lines().indexOf(text);
            onChange_(this);
        });
    }
    return combo;
}

void TComboBox::UpdateWidget()
{
    TWinControl::UpdateWidget();
    auto* combo = static_cast<QComboBox*>(Widget());
    const QSignalBlocker block(combo);
    QStringList shown;
    for (int i = 0; i < combo->count(); ++i)
        shown << combo->itemText(i);
    if (shown != items_->Lines()) {
        combo->clear();
        combo->addItems(items_->Lines());
    }
    combo->setMaxVisibleItems(std::max(1, dropDownCount_));
    combo->setCurrentIndex(ItemIndex());
    if (IsOwnerDrawn()) {
        combo->view()->doItemsLayout(); // heights may have changed
        combo->update();
    }
    if (IsEditable()) {
        combo->lineEdit()->setText(caption_);
        combo->lineEdit()->setMaxLength(maxLength_ > 0 ? maxLength_ : 32767);
    }
}

// TListBox -----------------------------------------------------------------

TListBox::TListBox(TComponent* owner)
    : TWinControl(owner)
    , items_(new TStrings(this))
    , draw_(this)
{
    registerOwnerDrawEvents();
    draw_.items = items_;
    SetBoundsSilently(QRect(0, 0, 121, 97));
    SetColor(clWindow);
    connect(items_, &TStrings::Changed, this, &TListBox::itemsChanged);
}

void TListBox::itemsChanged()
{
    selected_.removeIf([this](int i) { return i >= items_->Count(); });
    if (sorted_ && !IsLoading()) {
        QStringList lines = items_->Lines();
        std::stable_sort(lines.begin(), lines.end(),
            [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
        if (lines != items_->Lines()) {
            items_->SetLines(lines);
            return;
        }
    }
    Changed();
}

int TListBox::ItemIndex() const
{
    return itemIndex_ >= 0 && itemIndex_ < items_->Count() ? itemIndex_ : -1;
}

void TListBox::SetItemIndex(int value)
{
    if (value < -1 || value >= items_->Count())
        value = -1;
    itemIndex_ = value;
    if (!multiSelect_)
        selected_ = value >= 0 ? QList<int> {value} : QList<int> {};
    Changed();
}

void TListBox::SetSorted(bool value)
{
    sorted_ = value;
    itemsChanged();
}

void TListBox::SetSelected(int index, bool value)
{
    if (index < 0 || index >= items_->Count())
        throw EListError(QStringLiteral("List index out of bounds (%1)").arg(index));
    if (!multiSelect_ && value) {
        SetItemIndex(index);
        return;
    }
    if (value && !selected_.contains(index))
        selected_ << index;
    else if (!value)
        selected_.removeAll(index);
    Changed();
}

bool TListBox::IsPropertyStored(const char* name) const
{
    return qstrcmp(name, "ItemIndex") != 0 && TWinControl::IsPropertyStored(name);
}

QWidget* TListBox::CreateWidget(QWidget* parent)
{
    auto* list = new QListWidget(parent);
    list->setItemDelegate(new OwnerDrawDelegate(
        &draw_, [this] { return IsOwnerDrawn(); }, [this](int index) { return MeasureItem(index); }, list));
    connect(list, &QListWidget::itemSelectionChanged, this, [this, list] {
        if (Updating())
            return;
        selected_.clear();
        for (int i = 0; i < list->count(); ++i) {
            if (list->item(i)->isSelected())
                selected_ << i;
        }
        itemIndex_ = list->currentRow();
    });
    connect(list, &QListWidget::itemClicked, this, [this] { Click(); });
    connect(list, &QListWidget::itemDoubleClicked, this, [this] { OnDblClick()(this); });
    return list;
}

void TListBox::UpdateWidget()
{
    TWinControl::UpdateWidget();
    auto* list = static_cast<QListWidget*>(Widget());
    const QSignalBlocker block(list);
    if (list->count() != items_->Count()) {
        list->clear();
        list->addItems(items_->Lines());
    } else {
        for (int i = 0; i < items_->Count(); ++i)
            list->item(i)->setText(items_->Strings(i));
    }
    list->setSelectionMode(
        multiSelect_ ? QAbstractItemView::ExtendedSelection : QAbstractItemView::SingleSelection);
    for (int i = 0; i < list->count(); ++i)
        list->item(i)->setSelected(selected_.contains(i));
    if (ItemIndex() >= 0)
        list->setCurrentRow(ItemIndex(), QItemSelectionModel::NoUpdate);
    if (IsOwnerDrawn()) {
        list->doItemsLayout(); // heights may have changed
        list->viewport()->update();
    }
}

// TRadioGroup --------------------------------------------------------------

TRadioGroup::TRadioGroup(TComponent* owner)
    : TWinControl(owner)
    , items_(new TStrings(this))
{
    SetBoundsSilently(QRect(0, 0, 185, 105));
    connect(items_, &TStrings::Changed, this, [this] { Changed(); });
}

void TRadioGroup::SetItemIndex(int value)
{
    if (!IsLoading() && (value < -1 || value >= items_->Count()))
        value = -1;
    if (itemIndex_ == value)
        return;
    itemIndex_ = value;
    Changed();
    if (!IsLoading())
        Click();
}

QWidget* TRadioGroup::CreateWidget(QWidget* parent)
{
    auto* box = new QGroupBox(parent);
    new QGridLayout(box);
    return box;
}

void TRadioGroup::UpdateWidget()
{
    TWinControl::UpdateWidget();
    auto* box = static_cast<QGroupBox*>(Widget());
    box->setTitle(caption_);
    auto* grid = static_cast<QGridLayout*>(box->layout());
    QList<QRadioButton*> buttons;
    for (QRadioButton* button : box->findChildren<QRadioButton*>(Qt::FindDirectChildrenOnly))
        if (button->objectName() != QLatin1String("retired"))
            buttons << button;
    const int count = items_->Count();
    const int rows = (count + columns_ - 1) / std::max(1, columns_);
    // A click on a button changes the index, which comes back here from
    // inside that button's own signal: the buttons are kept and updated, and
    // the ones no longer needed are deleted later, never the sender under it.
    while (buttons.size() > count) {
        QRadioButton* extra = buttons.takeLast();
        grid->removeWidget(extra);
        extra->setObjectName(QStringLiteral("retired"));
        extra->hide();
        extra->deleteLater();
    }
    for (int i = 0; i < count; ++i) {
        QRadioButton* button = i < buttons.size() ? buttons.at(i) : nullptr;
        if (!button) {
            button = new QRadioButton(box);
            button->setAutoExclusive(false);
            connect(button, &QRadioButton::clicked, this, [this, i] { SetItemIndex(i); });
        }
        button->setText(items_->Strings(i));
        button->setChecked(i == ItemIndex());
        grid->addWidget(button, rows > 0 ? i % rows : 0, rows > 0 ? i / rows : 0);
    }
}
