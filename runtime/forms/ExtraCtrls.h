#pragma once
// The tab set, the spin edit and the string grid.

#include "runtime/forms/Controls.h"

#include <QVector>

class TTabSet : public TWinControl {
    Q_OBJECT
    Q_PROPERTY(int TabIndex READ TabIndex WRITE SetTabIndex)
    Q_PROPERTY(TStrings* Tabs READ Tabs WRITE SetTabs)
    Q_PROPERTY(TNotifyEvent OnChange READ OnChange WRITE SetOnChange)
public:
    explicit TTabSet(TComponent* owner = nullptr);
    int TabIndex() const { return tabIndex_ < tabs_->Count() ? tabIndex_ : -1; }
    void SetTabIndex(int value);
    TStrings* Tabs() const { return tabs_; }
    void SetTabs(TStrings* tabs) { tabs_->Assign(tabs); }
    TNotifyEvent OnChange() const { return onChange_; }
    void SetOnChange(const TNotifyEvent& h) { onChange_ = h; }

protected:
    QWidget* CreateWidget(QWidget* parent) override;
    void UpdateWidget() override;

private:
    int tabIndex_ = -1;
    TStrings* tabs_;
    TNotifyEvent onChange_;
};

class TSpinEdit : public TWinControl {
    Q_OBJECT
    Q_PROPERTY(int Increment READ Increment WRITE SetIncrement)
    Q_PROPERTY(int MaxValue READ MaxValue WRITE SetMaxValue)
    Q_PROPERTY(int MinValue READ MinValue WRITE SetMinValue)
    Q_PROPERTY(int Value READ Value WRITE SetValue)
    Q_PROPERTY(TNotifyEvent OnChange READ OnChange WRITE SetOnChange)
public:
    explicit TSpinEdit(TComponent* owner = nullptr);
    int Increment() const { return increment_; }
    void SetIncrement(int value) { Set(increment_, value); }
    int MaxValue() const { return maxValue_; }
    void SetMaxValue(int value) { Set(maxValue_, value); }
    int MinValue() const { return minValue_; }
    void SetMinValue(int value) { Set(minValue_, value); }
    // Kept inside MinValue..MaxValue when MaxValue is above MinValue.
    int Value() const;
    void SetValue(int value);
    TNotifyEvent OnChange() const { return onChange_; }
    void SetOnChange(const TNotifyEvent& h) { onChange_ = h; }

protected:
    QWidget* CreateWidget(QWidget* parent) override;
    void UpdateWidget() override;
    TColor DefaultColor() const override { return clWindow; }

private:
    int increment_ = 1;
    int maxValue_ = 0;
    int minValue_ = 0;
    int value_ = 0;
    TNotifyEvent onChange_;
};

using TSelectCellEvent = TEvent<TObject*, int, int, bool&>;
Q_DECLARE_METATYPE(TSelectCellEvent)

class TStringGrid : public TWinControl {
    Q_OBJECT
    Q_PROPERTY(int ColCount READ ColCount WRITE SetColCount)
    Q_PROPERTY(int RowCount READ RowCount WRITE SetRowCount)
    Q_PROPERTY(int FixedCols READ FixedCols WRITE SetFixedCols)
    Q_PROPERTY(int FixedRows READ FixedRows WRITE SetFixedRows)
    Q_PROPERTY(int DefaultColWidth READ DefaultColWidth WRITE SetDefaultColWidth)
    Q_PROPERTY(int DefaultRowHeight READ DefaultRowHeight WRITE SetDefaultRowHeight)
    Q_PROPERTY(Vcl::TGridOptions Options READ Options WRITE SetOptions)
    Q_PROPERTY(TSelectCellEvent OnSelectCell READ OnSelectCell WRITE SetOnSelectCell)
public:
    // Grids larger than this many cells are refused (a damaged description
    // must not make the program allocate without bound).
    static constexpr int MaxCells = 1000000;

    explicit TStringGrid(TComponent* owner = nullptr);
    int ColCount() const { return colCount_; }
    void SetColCount(int value);
    int RowCount() const { return rowCount_; }
    void SetRowCount(int value);
    int FixedCols() const { return fixedCols_; }
    void SetFixedCols(int value) { Set(fixedCols_, std::clamp(value, 0, colCount_)); }
    int FixedRows() const { return fixedRows_; }
    void SetFixedRows(int value) { Set(fixedRows_, std::clamp(value, 0, rowCount_)); }
    int DefaultColWidth() const { return defaultColWidth_; }
    void SetDefaultColWidth(int value) { Set(defaultColWidth_, value); }
    int DefaultRowHeight() const { return defaultRowHeight_; }
    void SetDefaultRowHeight(int value) { Set(defaultRowHeight_, value); }
    TGridOptions Options() const { return options_; }
    void SetOptions(TGridOptions value) { Set(options_, value); }
    TSelectCellEvent OnSelectCell() const { return onSelectCell_; }
    void SetOnSelectCell(const TSelectCellEvent& h) { onSelectCell_ = h; }

    // Cells[col, row]; throws EListError outside the grid.
    QString Cells(int col, int row) const;
    void SetCells(int col, int row, const QString& text);
    int ColWidths(int col) const;
    void SetColWidths(int col, int width);
    int Col() const { return col_; }
    int Row() const { return row_; }
    // Moves the current cell, asking OnSelectCell first; false when refused.
    bool SelectCell(int col, int row);

protected:
    QWidget* CreateWidget(QWidget* parent) override;
    void UpdateWidget() override;
    TColor DefaultColor() const override { return clWindow; }

private:
    void resize(int cols, int rows);
    void checkCell(int col, int row) const;

    int colCount_ = 5;
    int rowCount_ = 5;
    int fixedCols_ = 1;
    int fixedRows_ = 1;
    int defaultColWidth_ = 64;
    int defaultRowHeight_ = 24;
    TGridOptions options_
        = TGridOptions(goFixedVertLine) | goFixedHorzLine | goVertLine | goHorzLine | goRangeSelect;
    QVector<QString> cells_; // row-major
    QVector<int> colWidths_;
    int col_ = 1;
    int row_ = 1;
    TSelectCellEvent onSelectCell_;
};
