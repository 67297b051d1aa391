#pragma once
// TSelectPanel: the group box in which the user enters one criterion of a
// report, as a range (begin and final value), as a list of chosen values, or,
// with sp_UserChoice, as either of the two by a tick of its check box.
//
// What goes in: published properties, as a form description sets them; the
// user's typing; rows from look-up windows through ListBox->AddRow.
// What is guaranteed:
//   - the children (cbUserChoice, pnlRange with lblBegin/edBegin/btnBegin and
//     lblFinal/edFinal/btnFinal, pnlList with ListBox, btnList, btnDeleteItem,
//     btnClearList) are owned by the panel and never written to a form
//     description; the panel's own properties are;
//   - every change of size, font, style, words or buttons lays the children
//     out again (side by side, stacked, or the list arrangement);
//   - when the focus leaves the panel, OrderRange puts begin and final in
//     order for the panel's ValueType, and only then OnExit is raised;
//   - a look-up button focuses its control and asks the form to open the
//     look-up window for it (as F2 on that control), then raises OnOpenWinClick;
//   - no event is raised while the panel is being designed.
// What is left alone: the texts themselves are never checked here (the form
// checks dates); an unreadable date compares as 0, before any valid date.

#include "common/forms/LibCodeConvert.h"
#include "controls/F2Button.h"
#include "criteria/PellControls.h"
#include "criteria/SelectTypes.h"
#include "runtime/forms/ExtCtrls.h"
#include "runtime/forms/StdCtrls.h"
#include "runtime/system/Variant.h"

class TLabel;
class TPanel;
class TGSpeedButton;
class TSelectPanel;

using TOpenWinClickEvent = TEvent<TSelectPanel*, TWinControl*>;
using TStyleChangingEvent = TEvent<TObject*, Sel::TSelectStyle, Sel::TSelectStyle&, bool&>;
using TStyleChangeEvent = TEvent<TObject*, Sel::TSelectStyle, Sel::TSelectStyle>;
using TListViewSelectItemEvent = TEvent<TObject*, TListItem*, int, bool>;
// The list view's own change events, under the names the panel publishes them by.
using TListViewDataChangeEvent = TLVChangeEvent;
using TListViewDataChangingEvent = TLVChangingEvent;
Q_DECLARE_METATYPE(TOpenWinClickEvent)
Q_DECLARE_METATYPE(TStyleChangingEvent)
Q_DECLARE_METATYPE(TStyleChangeEvent)
Q_DECLARE_METATYPE(TListViewSelectItemEvent)

// The marker characters of a criteria value and of a stored list text.
namespace selmark {
constexpr QChar SubItem = QChar(1); // before each sub-item of a stored row
constexpr QChar Field = QChar(3); // between the fields of a stored line
constexpr QChar Range = QChar(4); // criteria value: a range; stored list: end of a row
constexpr QChar List = QChar(5); // criteria value: a list of rows
} // namespace selmark

class TSelectPanel : public TGroupBox, public IF2WindowTarget, public ICodePageConvertible {
    Q_OBJECT
    Q_PROPERTY(Sel::TSelectStyle Style READ Style WRITE SetStyle)
    Q_PROPERTY(bool UserChoice READ UserChoice WRITE SetUserChoice)
    Q_PROPERTY(Sel::TValueType ValueType READ ValueType WRITE SetValueType)
    Q_PROPERTY(Sel::TDateType DateType READ DateType WRITE SetDateType)
    Q_PROPERTY(QString DateSign READ DateSign WRITE SetDateSign)
    Q_PROPERTY(bool AutoChangeDateSite READ AutoChangeDateSite WRITE SetAutoChangeDateSite)
    Q_PROPERTY(QString HintWord READ HintWord WRITE SetHintWord)
    Q_PROPERTY(TStrings* BeginWords READ BeginWords WRITE SetBeginWords)
    Q_PROPERTY(TStrings* FinalWords READ FinalWords WRITE SetFinalWords)
    Q_PROPERTY(TStrings* ChildHints READ ChildHints WRITE SetChildHints)
    Q_PROPERTY(QString EditMask READ EditMask WRITE SetEditMask)
    Q_PROPERTY(bool CanOpenWin READ CanOpenWin WRITE SetCanOpenWin)
    Q_PROPERTY(int GlyphIndex READ GlyphIndex WRITE SetGlyphIndex)
    Q_PROPERTY(bool UseVertical READ UseVertical WRITE SetUseVertical)
    Q_PROPERTY(QString Discard READ Discard WRITE SetDiscard)
    Q_PROPERTY(bool UseDiscard READ UseDiscard WRITE SetUseDiscard)
    Q_PROPERTY(int OtherWidth READ OtherWidth WRITE SetOtherWidth)
    Q_PROPERTY(int OtherHeight READ OtherHeight WRITE SetOtherHeight)
    Q_PROPERTY(bool SortListBox READ SortListBox WRITE SetSortListBox)
    Q_PROPERTY(Sel::TCheckDuplicate CheckDuplicate READ CheckDuplicate WRITE SetCheckDuplicate)
    Q_PROPERTY(TCollection* Columns READ Columns)
    Q_PROPERTY(TCollection* Items READ Items)
    Q_PROPERTY(TStrings* ColumnCaptions READ ColumnCaptions WRITE SetColumnCaptions)
    Q_PROPERTY(bool ShowColumnHeader READ ShowColumnHeader WRITE SetShowColumnHeader)
    Q_PROPERTY(bool ColumnsAutoSize READ ColumnsAutoSize WRITE SetColumnsAutoSize)
    Q_PROPERTY(bool HideSelection READ HideSelection WRITE SetHideSelection)
    Q_PROPERTY(TNotifyEvent OnTypeClick READ OnTypeClick WRITE SetOnTypeClick)
    Q_PROPERTY(TNotifyEvent OnClearClick READ OnClearClick WRITE SetOnClearClick)
    Q_PROPERTY(TOpenWinClickEvent OnOpenWinClick READ OnOpenWinClick WRITE SetOnOpenWinClick)
    Q_PROPERTY(TCloseQueryEvent OnDeleteClick READ OnDeleteClick WRITE SetOnDeleteClick)
    Q_PROPERTY(TStyleChangingEvent OnStyleChanging READ OnStyleChanging WRITE SetOnStyleChanging)
    Q_PROPERTY(TStyleChangeEvent OnStyleChange READ OnStyleChange WRITE SetOnStyleChange)
    Q_PROPERTY(TListViewSelectItemEvent OnItemSelect READ OnItemSelect WRITE SetOnItemSelect)
    Q_PROPERTY(TListViewDataChangeEvent OnItemChange READ OnItemChange WRITE SetOnItemChange)
    Q_PROPERTY(TListViewDataChangingEvent OnItemChanging READ OnItemChanging WRITE SetOnItemChanging)
public:
    // 353 x 45, sp_Range side by side, the default words and hints.
    explicit TSelectPanel(TComponent* owner = nullptr);
    ~TSelectPanel() override;

    // The children, for the form that fills and reads them.
    TPellCheckBox* cbUserChoice;
    TPanel* pnlRange;
    TLabel* lblBegin;
    TPellMaskEdit* edBegin;
    TF2Button* btnBegin;
    TLabel* lblFinal;
    TPellMaskEdit* edFinal;
    TF2Button* btnFinal;
    TPanel* pnlList;
    TPellListView* ListBox;
    TF2Button* btnList;
    TGSpeedButton* btnDeleteItem;
    TGSpeedButton* btnClearList;

    TSelectStyle Style() const { return style_; }
    // Asks OnStyleChanging (which may change or refuse the new style), swaps
    // to the other size when the change crosses between range and list, lays
    // out, raises OnStyleChange.
    void SetStyle(TSelectStyle value);
    bool UserChoice() const { return userChoice_; }
    // Only for sp_UserChoice: ticks or clears cbUserChoice and switches input.
    void SetUserChoice(bool value);
    TValueType ValueType() const { return valueType_; }
    void SetValueType(TValueType value) { valueType_ = value; }
    TDateType DateType() const { return dateType_; }
    void SetDateType(TDateType value) { dateType_ = value; }
    QString DateSign() const { return dateSign_; }
    void SetDateSign(const QString& value) { dateSign_ = value; }
    bool AutoChangeDateSite() const { return autoChangeDateSite_; }
    void SetAutoChangeDateSite(bool value) { autoChangeDateSite_ = value; }
    QString HintWord() const { return cbUserChoice->Caption(); }
    void SetHintWord(const QString& value);
    TStrings* BeginWords() const { return beginWords_; }
    // Keeps the first two words: entry 0 for the side-by-side layout, entry 1
    // for the stacked one; a single word serves both.
    void SetBeginWords(TStrings* value) { beginWords_->Assign(value); }
    TStrings* FinalWords() const { return finalWords_; }
    void SetFinalWords(TStrings* value) { finalWords_->Assign(value); }
    TStrings* ChildHints() const { return childHints_; }
    // Entry i becomes the hint of child i (cbUserChoice, edBegin, btnBegin,
    // edFinal, btnFinal, ListBox, btnList, btnDeleteItem, btnClearList).
    void SetChildHints(TStrings* value) { childHints_->Assign(value); }
    QString EditMask() const { return editMask_; }
    // Sets the mask of both edits, keeping their texts, and reads EmptyMaskText.
    void SetEditMask(const QString& value);
    // The text an empty edBegin shows under the current mask.
    QString EmptyMaskText() const { return emptyMaskText_; }
    bool CanOpenWin() const { return canOpenWin_; }
    void SetCanOpenWin(bool value);
    int GlyphIndex() const { return glyphIndex_; }
    // A glyph the bank lacks leaves the buttons on glyph 0 and the property as it was.
    void SetGlyphIndex(int value);
    bool UseVertical() const { return useVertical_; }
    void SetUseVertical(bool value);
    QString Discard() const { return discard_; }
    void SetDiscard(const QString& value) { discard_ = value; }
    bool UseDiscard() const { return useDiscard_; }
    void SetUseDiscard(bool value) { useDiscard_ = value; }
    int OtherWidth() const { return otherWidth_; }
    void SetOtherWidth(int value) { otherWidth_ = value; }
    int OtherHeight() const { return otherHeight_; }
    void SetOtherHeight(int value) { otherHeight_ = value; }
    bool SortListBox() const;
    void SetSortListBox(bool value);
    TCheckDuplicate CheckDuplicate() const { return checkDuplicate_; }
    // Any check turns SortListBox on (equal captions become neighbours) and,
    // outside range mode, drops the duplicates at once.
    void SetCheckDuplicate(TCheckDuplicate value);
    TListColumns* Columns() const { return ListBox->Columns(); }
    TListItems* Items() const { return ListBox->Items(); }
    // Reading gives the column captions; assigning replaces every column,
    // one per entry, each of width -1.
    TStrings* ColumnCaptions() const;
    void SetColumnCaptions(TStrings* value);
    bool ShowColumnHeader() const { return ListBox->ShowColumnHeaders(); }
    void SetShowColumnHeader(bool value) { ListBox->SetShowColumnHeaders(value); }
    bool ColumnsAutoSize() const { return ListBox->ColumnsAutoSize(); }
    void SetColumnsAutoSize(bool value) { ListBox->SetColumnsAutoSize(value); }
    bool HideSelection() const { return ListBox->HideSelection(); }
    void SetHideSelection(bool value) { ListBox->SetHideSelection(value); }

    TNotifyEvent OnTypeClick() const { return onTypeClick_; }
    void SetOnTypeClick(const TNotifyEvent& h) { onTypeClick_ = h; }
    TNotifyEvent OnClearClick() const { return onClearClick_; }
    void SetOnClearClick(const TNotifyEvent& h) { onClearClick_ = h; }
    TOpenWinClickEvent OnOpenWinClick() const { return onOpenWinClick_; }
    void SetOnOpenWinClick(const TOpenWinClickEvent& h) { onOpenWinClick_ = h; }
    TCloseQueryEvent OnDeleteClick() const { return onDeleteClick_; }
    void SetOnDeleteClick(const TCloseQueryEvent& h) { onDeleteClick_ = h; }
    TStyleChangingEvent OnStyleChanging() const { return onStyleChanging_; }
    void SetOnStyleChanging(const TStyleChangingEvent& h) { onStyleChanging_ = h; }
    TStyleChangeEvent OnStyleChange() const { return onStyleChange_; }
    void SetOnStyleChange(const TStyleChangeEvent& h) { onStyleChange_ = h; }
    TListViewSelectItemEvent OnItemSelect() const { return onItemSelect_; }
    void SetOnItemSelect(const TListViewSelectItemEvent& h) { onItemSelect_ = h; }
    TListViewDataChangeEvent OnItemChange() const { return onItemChange_; }
    void SetOnItemChange(const TListViewDataChangeEvent& h) { onItemChange_ = h; }
    TListViewDataChangingEvent OnItemChanging() const { return onItemChanging_; }
    void SetOnItemChanging(const TListViewDataChangingEvent& h) { onItemChanging_ = h; }

    // sp_Range, or sp_UserChoice with cbUserChoice ticked.
    bool IsRangeMode() const;
    // The panel and every child at every depth.
    void SetEnabled(bool value) override;
    // Focuses edBegin in range mode, else the list.
    void SetFocus();
    // Exchanges (Width, Height) with (OtherWidth, OtherHeight), unless the
    // parent is still being read.
    void SwapOtherSize();

    // Puts begin and final in order for ValueType (trims them first unless
    // the mask keeps blanks); the focus leaving the panel runs it.
    void OrderRange();
    // The day number of a date text in the date style of DateType with the
    // first character of DateSign between the parts (TDateStyle::DayOf:
    // "2024/05" counts as its first day); 0 when the text is empty, the
    // empty mask, no existing date, or DateType is dt_NoneCare.
    double ParseDateText(const QString& text) const;
    // Drops each row whose caption equals the one before (cd_CheckCase
    // exactly, cd_CaseInsensitive in upper case); nothing for cd_None.
    void RemoveDuplicates();
    // What a header click does: sort by that column, or turn the direction
    // when it already is the sort column.
    void SortByColumn(int column);
    int SortColumn() const { return sortColumn_; }
    bool SortAscending() const { return sortAscending_; }
    // Deletes the selected rows (OnDeleteClick may refuse) / all rows.
    void DeleteSelected();
    void ClearList();

    // The criteria value: range mode [#4, begin, final]; list mode
    // [#5, [caption, sub-item 1, ...], ...].
    Variant CriteriaValue() const;
    // The rows as one text: caption, #1 and each sub-item, #4 after each row.
    QString ListText() const;
    // Replaces the rows by those of a list text; false (rows as far as read)
    // when a row cannot be added.
    bool SetListText(const QString& text);

    // A look-up button's request: focus control, ask the form, raise OnOpenWinClick.
    void F2Window(TWinControl* control) override;
    // Children's focus changes: the panel's enter and exit.
    void ChildEntered();
    void ChildExited();

    // The form's code-page conversion of the panel's own texts, which live
    // outside its published Caption and Hint: the hint word (cbUserChoice),
    // the begin and final words, the child hints, and the list's column and
    // row texts. The panel lays out again for the converted words.
    void ConvertCodePage(TCodeConverter& converter, int direction, bool deep) override;

    void SetBounds(int left, int top, int width, int height) override;
    void Loaded() override;
    bool IsPropertyStored(const char* name) const override;

private:
    void createChildren();
    void routeChildEvents();
    void routePointerEvents();
    // A child's client point in the panel's client area.
    QPoint toPanel(const TControl* child, int x, int y) const;
    void applyHints();
    void wordsChanged(TStrings* words);
    void typeClick();
    void layout();
    void layoutSideBySide();
    void layoutStacked();
    void layoutList();
    QString word(const TStrings* words, int entry) const;
    int titleHeight() const;
    bool inside(const TControl* control) const;

    TSelectStyle style_ = sp_Range;
    bool userChoice_ = true;
    TValueType valueType_ = vt_String;
    TDateType dateType_ = dt_NoneCare;
    QString dateSign_ = QStringLiteral("/");
    bool autoChangeDateSite_ = true;
    TStrings* beginWords_;
    TStrings* finalWords_;
    TStrings* childHints_;
    TStrings* columnCaptions_;
    QString editMask_;
    QString emptyMaskText_;
    bool canOpenWin_ = true;
    int glyphIndex_ = 8;
    bool useVertical_ = false;
    QString discard_;
    bool useDiscard_ = false;
    int otherWidth_ = 200;
    int otherHeight_ = 105;
    TCheckDuplicate checkDuplicate_ = cd_None;
    int sortColumn_ = 0;
    bool sortAscending_ = true;
    bool enabledCopy_ = true;
    bool focusInside_ = false;
    bool layingOut_ = false;
    TNotifyEvent onTypeClick_, onClearClick_;
    TOpenWinClickEvent onOpenWinClick_;
    TCloseQueryEvent onDeleteClick_;
    TStyleChangingEvent onStyleChanging_;
    TStyleChangeEvent onStyleChange_;
    TListViewSelectItemEvent onItemSelect_;
    TListViewDataChangeEvent onItemChange_;
    TListViewDataChangingEvent onItemChanging_;
};

// Registers the selection panel and its children with the form reader (idempotent).
void RegisterSelectPanel();
