#pragma once
// The common controls: list view, tree view, page control with tab sheets,
// status bar, tool bar and tool buttons.

#include "runtime/forms/Controls.h"

#include <functional>

class TListView;

class TListColumn : public TCollectionItem {
    Q_OBJECT
    Q_PROPERTY(Vcl::TAlignment Alignment READ Alignment WRITE SetAlignment)
    Q_PROPERTY(bool AutoSize READ AutoSize WRITE SetAutoSize)
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(int Width READ Width WRITE SetWidth)
public:
    explicit TListColumn(TCollection* collection = nullptr)
        : TCollectionItem(collection)
    {
    }
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment value) { set(alignment_, value); }
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool value) { set(autoSize_, value); }
    QString Caption() const { return caption_; }
    void SetCaption(const QString& value) { set(caption_, value); }
    int Width() const { return width_; }
    void SetWidth(int value) { set(width_, value); }

private:
    template<typename T> void set(T& field, const T& value)
    {
        if (field == value)
            return;
        field = value;
        changed();
    }
    TAlignment alignment_ = taLeftJustify;
    bool autoSize_ = false;
    QString caption_;
    int width_ = 50;
};

class TListItem : public TCollectionItem {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(bool Checked READ Checked WRITE SetChecked)
    Q_PROPERTY(int ImageIndex READ ImageIndex WRITE SetImageIndex)
    Q_PROPERTY(bool Selected READ Selected WRITE SetSelected)
    Q_PROPERTY(TStrings* SubItems READ SubItems WRITE SetSubItems)
public:
    explicit TListItem(TCollection* collection = nullptr);
    QString Caption() const { return caption_; }
    void SetCaption(const QString& value);
    bool Checked() const { return checked_; }
    void SetChecked(bool value);
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int value);
    bool Selected() const { return selected_; }
    void SetSelected(bool value);
    TStrings* SubItems() const { return subItems_; }
    void SetSubItems(TStrings* value) { subItems_->Assign(value); }
    // The program's own value for the item (a pointer or a number), never
    // looked at here; it stays with the item through sorting and is copied
    // by Assign. Not stored in form descriptions.
    void* Data() const { return data_; }
    void SetData(void* value) { data_ = value; }
    qintptr DataAsInteger() const { return reinterpret_cast<qintptr>(data_); }
    void SetDataAsInteger(qintptr value) { data_ = reinterpret_cast<void*>(value); }
    bool IsPropertyStored(const char* name) const override { return qstrcmp(name, "Selected") != 0; }
    void Assign(const TPersistent* source) override;

private:
    TListView* view() const;
    // Asks the view whether the change may happen; applies it and tells the
    // view; false when nothing changed.
    template<typename T> bool change(T& field, const T& value, TItemChange kind);

    void* data_ = nullptr;
    QString caption_;
    bool checked_ = false;
    int imageIndex_ = -1;
    bool selected_ = false;
    TStrings* subItems_;
};

using TListColumns = TOwnedCollection<TListColumn>;
using TListItems = TOwnedCollection<TListItem>;

using TLVColumnClickEvent = TEvent<TObject*, TListColumn*>;
using TLVSelectItemEvent = TEvent<TObject*, TListItem*, bool>;
using TLVChangeEvent = TEvent<TObject*, TListItem*, Vcl::TItemChange>;
using TLVChangingEvent = TEvent<TObject*, TListItem*, Vcl::TItemChange, bool&>;
Q_DECLARE_METATYPE(TLVColumnClickEvent)
Q_DECLARE_METATYPE(TLVSelectItemEvent)
Q_DECLARE_METATYPE(TLVChangeEvent)
Q_DECLARE_METATYPE(TLVChangingEvent)

class TListView : public TWinControl {
    Q_OBJECT
    Q_PROPERTY(bool Checkboxes READ Checkboxes WRITE SetCheckboxes)
    Q_PROPERTY(TCollection* Columns READ Columns)
    Q_PROPERTY(bool GridLines READ GridLines WRITE SetGridLines)
    Q_PROPERTY(bool HideSelection READ HideSelection WRITE SetHideSelection)
    Q_PROPERTY(TCollection* Items READ Items)
    Q_PROPERTY(TComponent* LargeImages READ LargeImages WRITE SetLargeImages)
    Q_PROPERTY(bool MultiSelect READ MultiSelect WRITE SetMultiSelect)
    Q_PROPERTY(bool ReadOnly READ ReadOnly WRITE SetReadOnly)
    Q_PROPERTY(bool RowSelect READ RowSelect WRITE SetRowSelect)
    Q_PROPERTY(bool ShowColumnHeaders READ ShowColumnHeaders WRITE SetShowColumnHeaders)
    Q_PROPERTY(TComponent* SmallImages READ SmallImages WRITE SetSmallImages)
    Q_PROPERTY(Vcl::TSortType SortType READ SortType WRITE SetSortType)
    Q_PROPERTY(Vcl::TViewStyle ViewStyle READ ViewStyle WRITE SetViewStyle)
    Q_PROPERTY(TLVColumnClickEvent OnColumnClick READ OnColumnClick WRITE SetOnColumnClick)
    Q_PROPERTY(TLVSelectItemEvent OnSelectItem READ OnSelectItem WRITE SetOnSelectItem)
    Q_PROPERTY(TLVChangingEvent OnChanging READ OnChanging WRITE SetOnChanging)
    Q_PROPERTY(TLVChangeEvent OnChange READ OnChange WRITE SetOnChange)
public:
    explicit TListView(TComponent* owner = nullptr);

    bool Checkboxes() const { return checkboxes_; }
    void SetCheckboxes(bool value) { Set(checkboxes_, value); }
    TListColumns* Columns() const { return columns_; }
    TListColumn* Column(int index) const { return columns_->Items(index); }
    bool GridLines() const { return gridLines_; }
    void SetGridLines(bool value) { Set(gridLines_, value); }
    bool HideSelection() const { return hideSelection_; }
    void SetHideSelection(bool value) { hideSelection_ = value; }
    TListItems* Items() const { return items_; }
    TComponent* LargeImages() const { return largeImages_; }
    void SetLargeImages(TComponent* images);
    bool MultiSelect() const { return multiSelect_; }
    void SetMultiSelect(bool value);
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool value) { readOnly_ = value; }
    bool RowSelect() const { return rowSelect_; }
    void SetRowSelect(bool value) { Set(rowSelect_, value); }
    bool ShowColumnHeaders() const { return showColumnHeaders_; }
    void SetShowColumnHeaders(bool value) { Set(showColumnHeaders_, value); }
    TComponent* SmallImages() const { return smallImages_; }
    void SetSmallImages(TComponent* images);
    TSortType SortType() const { return sortType_; }
    // stText or stBoth keep the items sorted by caption.
    void SetSortType(TSortType value);
    TViewStyle ViewStyle() const { return viewStyle_; }
    void SetViewStyle(TViewStyle value);
    TLVColumnClickEvent OnColumnClick() const { return onColumnClick_; }
    void SetOnColumnClick(const TLVColumnClickEvent& h) { onColumnClick_ = h; }
    TLVSelectItemEvent OnSelectItem() const { return onSelectItem_; }
    void SetOnSelectItem(const TLVSelectItemEvent& h) { onSelectItem_ = h; }
    // An item's caption (ctText), image (ctImage), or selection or check mark
    // (ctState) is about to change: a handler that clears the flag keeps the
    // item as it is. Not raised while the list is read from its description.
    TLVChangingEvent OnChanging() const { return onChanging_; }
    void SetOnChanging(const TLVChangingEvent& h) { onChanging_ = h; }
    // ... and has changed.
    TLVChangeEvent OnChange() const { return onChange_; }
    void SetOnChange(const TLVChangeEvent& h) { onChange_ = h; }

    // The first selected item, null when none.
    TListItem* Selected() const;
    // The first item whose Data is data, null when none.
    TListItem* FindData(const void* data) const;
    int SelCount() const;
    // Sorts by caption without regard to case (stable).
    void AlphaSort();
    // Sorts with compare(a, b) < 0 meaning a first (stable).
    void CustomSort(const std::function<int(TListItem*, TListItem*)>& compare);
    // The user's click on column header index.
    void ColumnClick(int index);
    void Loaded() override;

protected:
    QWidget* CreateWidget(QWidget* parent) override;
    void UpdateWidget() override;
    TColor DefaultColor() const override { return clWindow; }

private:
    friend class TListItem;
    void itemSelected(TListItem* item, bool selected);
    bool itemChanging(TListItem* item, TItemChange change);
    void itemChanged(TListItem* item, TItemChange change);
    void updateReport(QWidget* w);
    void updateList(QWidget* w);

    bool checkboxes_ = false;
    TListColumns* columns_;
    bool gridLines_ = false;
    bool hideSelection_ = true;
    TListItems* items_;
    QPointer<TComponent> largeImages_;
    bool multiSelect_ = false;
    bool readOnly_ = false;
    bool rowSelect_ = false;
    bool showColumnHeaders_ = true;
    QPointer<TComponent> smallImages_;
    TSortType sortType_ = stNone;
    TViewStyle viewStyle_ = vsIcon;
    bool sorting_ = false;
    TLVColumnClickEvent onColumnClick_;
    TLVSelectItemEvent onSelectItem_;
    TLVChangingEvent onChanging_;
    TLVChangeEvent onChange_;
};

// Tree nodes are kept as a list in display order, each with its depth.
class TTreeNode : public TCollectionItem {
    Q_OBJECT
    Q_PROPERTY(QString Text READ Text WRITE SetText)
    Q_PROPERTY(int Level READ Level WRITE SetLevel)
    Q_PROPERTY(int ImageIndex READ ImageIndex WRITE SetImageIndex)
    Q_PROPERTY(int SelectedIndex READ SelectedIndex WRITE SetSelectedIndex)
public:
    explicit TTreeNode(TCollection* collection = nullptr)
        : TCollectionItem(collection)
    {
    }
    QString Text() const { return text_; }
    void SetText(const QString& value);
    int Level() const { return level_; }
    void SetLevel(int value);
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int value) { imageIndex_ = value; }
    int SelectedIndex() const { return selectedIndex_; }
    void SetSelectedIndex(int value) { selectedIndex_ = value; }
    // The node above this one with a smaller level; null for a root node.
    TTreeNode* ParentNode() const;

private:
    QString text_;
    int level_ = 0;
    int imageIndex_ = -1;
    int selectedIndex_ = -1;
};

using TTreeNodes = TOwnedCollection<TTreeNode>;
using TTVChangedEvent = TEvent<TObject*, TTreeNode*>;
Q_DECLARE_METATYPE(TTVChangedEvent)

class TTreeView : public TWinControl {
    Q_OBJECT
    Q_PROPERTY(TCollection* Items READ Items)
    Q_PROPERTY(bool ReadOnly READ ReadOnly WRITE SetReadOnly)
    Q_PROPERTY(bool ShowLines READ ShowLines WRITE SetShowLines)
    Q_PROPERTY(bool ShowRoot READ ShowRoot WRITE SetShowRoot)
    Q_PROPERTY(TTVChangedEvent OnChange READ OnChange WRITE SetOnChange)
public:
    explicit TTreeView(TComponent* owner = nullptr);
    TTreeNodes* Items() const { return items_; }
    // Appends a node below parent (null: a root node) and answers it.
    TTreeNode* AddChild(TTreeNode* parent, const QString& text);
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool value) { readOnly_ = value; }
    bool ShowLines() const { return showLines_; }
    void SetShowLines(bool value) { Set(showLines_, value); }
    bool ShowRoot() const { return showRoot_; }
    void SetShowRoot(bool value) { Set(showRoot_, value); }
    TTreeNode* Selected() const { return selected_; }
    void SetSelected(TTreeNode* node);
    TTVChangedEvent OnChange() const { return onChange_; }
    void SetOnChange(const TTVChangedEvent& h) { onChange_ = h; }

protected:
    QWidget* CreateWidget(QWidget* parent) override;
    void UpdateWidget() override;
    TColor DefaultColor() const override { return clWindow; }

private:
    TTreeNodes* items_;
    bool readOnly_ = false;
    bool showLines_ = true;
    bool showRoot_ = true;
    QPointer<TTreeNode> selected_;
    TTVChangedEvent onChange_;
};

class TPageControl;

class TTabSheet : public TWinControl {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(int ImageIndex READ ImageIndex WRITE SetImageIndex)
    Q_PROPERTY(bool TabVisible READ TabVisible WRITE SetTabVisible)
public:
    explicit TTabSheet(TComponent* owner = nullptr);
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int value) { imageIndex_ = value; }
    // A sheet whose tab is hidden cannot be shown by the user.
    bool TabVisible() const { return tabVisible_; }
    void SetTabVisible(bool value);
    TPageControl* PageControl() const;
    int PageIndex() const;
    // The index among the visible tabs, -1 when the tab is hidden.
    int TabIndex() const;

protected:
    QWidget* CreateWidget(QWidget* parent) override;
    bool PlacedByParent() const override { return true; }

private:
    int imageIndex_ = -1;
    bool tabVisible_ = true;
};

using TTabChangingEvent = TEvent<TObject*, bool&>;

class TPageControl : public TWinControl {
    Q_OBJECT
    Q_PROPERTY(TTabSheet* ActivePage READ ActivePage WRITE SetActivePage)
    Q_PROPERTY(bool MultiLine READ MultiLine WRITE SetMultiLine)
    Q_PROPERTY(Vcl::TTabPosition TabPosition READ TabPosition WRITE SetTabPosition)
    Q_PROPERTY(Vcl::TTabStyle Style READ Style WRITE SetStyle)
    Q_PROPERTY(TNotifyEvent OnChange READ OnChange WRITE SetOnChange)
    Q_PROPERTY(TCloseQueryEvent OnChanging READ OnChanging WRITE SetOnChanging)
public:
    explicit TPageControl(TComponent* owner = nullptr);
    int PageCount() const;
    TTabSheet* Pages(int index) const;
    TTabSheet* ActivePage() const { return static_cast<TTabSheet*>(activePage_); }
    // Any page, also one whose tab is hidden (it shows without a selected
    // tab). While the control is being read the page may not have joined it
    // yet: it becomes active when it does. Otherwise a sheet of another
    // control is refused.
    void SetActivePage(TTabSheet* page);
    int ActivePageIndex() const { return activePage_ ? ActivePage()->PageIndex() : -1; }
    void SetActivePageIndex(int index)
    {
        SetActivePage(index >= 0 && index < PageCount() ? Pages(index) : nullptr);
    }
    bool MultiLine() const { return multiLine_; }
    void SetMultiLine(bool value) { multiLine_ = value; }
    TTabPosition TabPosition() const { return tabPosition_; }
    void SetTabPosition(TTabPosition value) { Set(tabPosition_, value); }
    TTabStyle Style() const { return style_; }
    void SetStyle(TTabStyle value) { Set(style_, value); }
    TNotifyEvent OnChange() const { return onChange_; }
    void SetOnChange(const TNotifyEvent& h) { onChange_ = h; }
    TCloseQueryEvent OnChanging() const { return onChanging_; }
    void SetOnChanging(const TCloseQueryEvent& h) { onChanging_ = h; }
    // What a user's tab click does: OnChanging may refuse, then OnChange.
    bool SelectPage(TTabSheet* page);
    // The next or previous page with a visible tab.
    void SelectNextPage(bool forward);

    QRect ClientRect() const override;
    void SetChildParent(TComponent* child) override;
    // The sheets take the new client area (and pass it on to their anchored controls).
    void SetBounds(int left, int top, int width, int height) override;
    // Without an active page by now, the first page with a visible tab is the one.
    void Loaded() override;

protected:
    QWidget* CreateWidget(QWidget* parent) override;
    void UpdateWidget() override;
    void ChildWidgetCreated(TControl* child) override;
    void InsertControl(TControl* control) override;
    void RemoveControl(TControl* control) override;

private:
    friend class TTabSheet;
    void placeSheets();

    // Kept as a QObject: a sheet leaves (and clears it) while it is being destroyed.
    QObject* activePage_ = nullptr;
    // Named while loading before the sheet joined this control.
    QPointer<TTabSheet> pendingPage_;
    bool multiLine_ = false;
    TTabPosition tabPosition_ = tpTop;
    TTabStyle style_ = tsTabs;
    TNotifyEvent onChange_;
    TCloseQueryEvent onChanging_;
};

class TStatusPanel : public TCollectionItem {
    Q_OBJECT
    Q_PROPERTY(Vcl::TAlignment Alignment READ Alignment WRITE SetAlignment)
    Q_PROPERTY(Vcl::TStatusPanelBevel Bevel READ Bevel WRITE SetBevel)
    Q_PROPERTY(Vcl::TStatusPanelStyle Style READ Style WRITE SetStyle)
    Q_PROPERTY(QString Text READ Text WRITE SetText)
    Q_PROPERTY(int Width READ Width WRITE SetWidth)
public:
    explicit TStatusPanel(TCollection* collection = nullptr)
        : TCollectionItem(collection)
    {
    }
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment value)
    {
        alignment_ = value;
        changed();
    }
    TStatusPanelBevel Bevel() const { return bevel_; }
    void SetBevel(TStatusPanelBevel value)
    {
        bevel_ = value;
        changed();
    }
    TStatusPanelStyle Style() const { return style_; }
    void SetStyle(TStatusPanelStyle value)
    {
        style_ = value;
        changed();
    }
    QString Text() const { return text_; }
    void SetText(const QString& value);
    int Width() const { return width_; }
    void SetWidth(int value)
    {
        width_ = value;
        changed();
    }

private:
    TAlignment alignment_ = taLeftJustify;
    TStatusPanelBevel bevel_ = pbLowered;
    TStatusPanelStyle style_ = psText;
    QString text_;
    int width_ = 50;
};

using TStatusPanels = TOwnedCollection<TStatusPanel>;

class TStatusBar : public TWinControl {
    Q_OBJECT
    Q_PROPERTY(TCollection* Panels READ Panels)
    Q_PROPERTY(bool SimplePanel READ SimplePanel WRITE SetSimplePanel)
    Q_PROPERTY(QString SimpleText READ SimpleText WRITE SetSimpleText)
    Q_PROPERTY(bool SizeGrip READ SizeGrip WRITE SetSizeGrip)
public:
    explicit TStatusBar(TComponent* owner = nullptr);
    TStatusPanels* Panels() const { return panels_; }
    bool SimplePanel() const { return simplePanel_; }
    void SetSimplePanel(bool value) { Set(simplePanel_, value); }
    QString SimpleText() const { return simpleText_; }
    void SetSimpleText(const QString& value) { Set(simpleText_, value); }
    bool SizeGrip() const { return sizeGrip_; }
    void SetSizeGrip(bool value) { Set(sizeGrip_, value); }

protected:
    QWidget* CreateWidget(QWidget* parent) override;
    void UpdateWidget() override;

private:
    TStatusPanels* panels_;
    bool simplePanel_ = false;
    QString simpleText_;
    bool sizeGrip_ = true;
};

class TToolButton;

class TToolBar : public TWinControl {
    Q_OBJECT
    Q_PROPERTY(int ButtonHeight READ ButtonHeight WRITE SetButtonHeight)
    Q_PROPERTY(int ButtonWidth READ ButtonWidth WRITE SetButtonWidth)
    Q_PROPERTY(bool Flat READ Flat WRITE SetFlat)
    Q_PROPERTY(TComponent* Images READ Images WRITE SetImages)
    Q_PROPERTY(bool ShowCaptions READ ShowCaptions WRITE SetShowCaptions)
public:
    explicit TToolBar(TComponent* owner = nullptr);
    int ButtonHeight() const { return buttonHeight_; }
    void SetButtonHeight(int value);
    int ButtonWidth() const { return buttonWidth_; }
    void SetButtonWidth(int value);
    bool Flat() const { return flat_; }
    void SetFlat(bool value) { Set(flat_, value); }
    TComponent* Images() const { return images_; }
    void SetImages(TComponent* images);
    bool ShowCaptions() const { return showCaptions_; }
    void SetShowCaptions(bool value) { Set(showCaptions_, value); }
    int ButtonCount() const;
    TToolButton* Buttons(int index) const;
    // Places the buttons left to right in creation order.
    void ArrangeButtons();
    void Loaded() override;

protected:
    QWidget* CreateWidget(QWidget* parent) override;
    void InsertControl(TControl* control) override;

private:
    int buttonHeight_ = 22;
    int buttonWidth_ = 23;
    bool flat_ = false;
    QPointer<TComponent> images_;
    bool showCaptions_ = false;
};

class TToolButton : public TGraphicControl {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(bool Down READ Down WRITE SetDown)
    Q_PROPERTY(TComponent* DropdownMenu READ DropdownMenu WRITE SetDropdownMenu)
    Q_PROPERTY(bool Grouped READ Grouped WRITE SetGrouped)
    Q_PROPERTY(int ImageIndex READ ImageIndex WRITE SetImageIndex)
    Q_PROPERTY(Vcl::TToolButtonStyle Style READ Style WRITE SetStyle)
public:
    explicit TToolButton(TComponent* owner = nullptr);
    bool Down() const { return down_; }
    void SetDown(bool value) { Set(down_, value); }
    TComponent* DropdownMenu() const { return dropdownMenu_; }
    void SetDropdownMenu(TComponent* menu);
    bool Grouped() const { return grouped_; }
    void SetGrouped(bool value) { grouped_ = value; }
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int value) { Set(imageIndex_, value); }
    TToolButtonStyle Style() const { return style_; }
    void SetStyle(TToolButtonStyle value);
    void Click() override;

protected:
    QWidget* CreateWidget(QWidget* parent) override;
    void UpdateWidget() override;

private:
    bool down_ = false;
    QPointer<TComponent> dropdownMenu_;
    bool grouped_ = false;
    int imageIndex_ = -1;
    TToolButtonStyle style_ = tbsButton;
};

// A month of days to pick a date from. Dates are day numbers as the runtime
// keeps them (whole days: a time of day is dropped). MinDate and MaxDate of 0
// mean no limit; a date outside the limits is refused, and narrowing the
// limits moves the date inside them.
// A progress bar: Position between Min and Max (kept inside them), StepIt
// advancing by Step.
class TProgressBar : public TWinControl {
    Q_OBJECT
    Q_PROPERTY(int Min READ Min WRITE SetMin)
    Q_PROPERTY(int Max READ Max WRITE SetMax)
    Q_PROPERTY(int Position READ Position WRITE SetPosition)
    Q_PROPERTY(int Step READ Step WRITE SetStep)
public:
    explicit TProgressBar(TComponent* owner = nullptr);
    int Min() const { return min_; }
    void SetMin(int value) { Set(min_, value); }
    int Max() const { return max_; }
    void SetMax(int value) { Set(max_, value); }
    int Position() const;
    void SetPosition(int value) { Set(position_, value); }
    int Step() const { return step_; }
    void SetStep(int value) { Set(step_, value); }
    void StepIt() { SetPosition(Position() + step_); }

protected:
    QWidget* CreateWidget(QWidget* parent) override;
    void UpdateWidget() override;

private:
    int min_ = 0;
    int max_ = 100;
    int position_ = 0;
    int step_ = 10;
};

class TMonthCalendar : public TWinControl {
    Q_OBJECT
    Q_PROPERTY(double Date READ Date WRITE SetDate)
    Q_PROPERTY(double MaxDate READ MaxDate WRITE SetMaxDate)
    Q_PROPERTY(double MinDate READ MinDate WRITE SetMinDate)
    Q_PROPERTY(bool WeekNumbers READ WeekNumbers WRITE SetWeekNumbers)
    Q_PROPERTY(TNotifyEvent OnChange READ OnChange WRITE SetOnChange)
public:
    explicit TMonthCalendar(TComponent* owner = nullptr);
    double Date() const { return date_; }
    // Throws EPropertyError for a day outside the limits or the calendar.
    void SetDate(double value);
    QDate DateValue() const;
    void SetDateValue(const QDate& date);
    double MinDate() const { return minDate_; }
    void SetMinDate(double value);
    double MaxDate() const { return maxDate_; }
    void SetMaxDate(double value);
    bool WeekNumbers() const { return weekNumbers_; }
    void SetWeekNumbers(bool value) { Set(weekNumbers_, value); }
    // Raised when the date changed, by code or by the user (not while loading).
    TNotifyEvent OnChange() const { return onChange_; }
    void SetOnChange(const TNotifyEvent& h) { onChange_ = h; }
    // OnClick is raised when the user clicks a day, after OnChange.

protected:
    QWidget* CreateWidget(QWidget* parent) override;
    void UpdateWidget() override;
    TColor DefaultColor() const override { return clWindow; }

private:
    // The whole day number of value; throws EPropertyError when it is no day.
    static double wholeDay(double value, const char* property);
    void changeDate(double value);

    double date_;
    double minDate_ = 0;
    double maxDate_ = 0;
    bool weekNumbers_ = false;
    TNotifyEvent onChange_;
};

// Registers the event families these controls use.
void RegisterCommonControlEvents();
