#include "runtime/forms/ExtraCtrls.h"

#include "runtime/forms/ComCtrls.h"

#include <QHeaderView>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTabBar>
#include <QTableWidget>

// TTabSet ------------------------------------------------------------------

TTabSet::TTabSet(TComponent* owner)
    : TWinControl(owner)
    , tabs_(new TStrings(this))
{
    SetBoundsSilently(QRect(0, 0, 185, 21));
    connect(tabs_, &TStrings::Changed, this, [this] { Changed(); });
}

void TTabSet::SetTabIndex(int value)
{
    if (!IsLoading() && (value < -1 || value >= tabs_->Count()))
        value = -1;
    if (tabIndex_ == value)
        return;
    tabIndex_ = value;
    Changed();
    if (!IsLoading())
        onChange_(this);
}

QWidget* TTabSet::CreateWidget(QWidget* parent)
{
    auto* bar = new QTabBar(parent);
    bar->setShape(QTabBar::RoundedSouth);
    bar->setDrawBase(false);
    connect(bar, &QTabBar::currentChanged, this, [this](int index) {
        if (!Updating())
            SetTabIndex(index);
    });
    return bar;
}

void TTabSet::UpdateWidget()
{
    TWinControl::UpdateWidget();
    auto* bar = static_cast<QTabBar*>(Widget());
    const QSignalBlocker block(bar);
    while (bar->count() > tabs_->Count())
        bar->removeTab(bar->count() - 1);
    for (int i = 0; i < tabs_->Count(); ++i) {
        if (i < bar->count())
            bar->setTabText(i, tabs_->Strings(i));
        else
            bar->addTab(tabs_->Strings(i));
    }
    bar->setCurrentIndex(TabIndex());
}

// TSpinEdit ----------------------------------------------------------------

TSpinEdit::TSpinEdit(TComponent* owner)
    : TWinControl(owner)
{
    SetBoundsSilently(QRect(0, 0, 121, 22));
    SetColor(clWindow);
}

int TSpinEdit::Value() const
{
    if (maxValue_ > minValue_)
        return std::clamp(value_, minValue_, maxValue_);
    return value_;
}

void TSpinEdit::SetValue(int value)
{
    if (value_ == value)
        return;
    value_ = value;
    Changed();
    if (!IsLoading())
        onChange_(this);
}

QWidget* TSpinEdit::CreateWidget(QWidget* parent)
{
    auto* spin = new QSpinBox(parent);
    connect(spin, &QSpinBox::valueChanged, this, [this](int value) {
        if (!Updating())
            SetValue(value);
    });
    return spin;
}

void TSpinEdit::UpdateWidget()
{
    TWinControl::UpdateWidget();
    auto* spin = static_cast<QSpinBox*>(Widget());
    if (maxValue_ > minValue_)
        spin->setRange(minValue_, maxValue_);
    else
        spin->setRange(std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
    spin->setSingleStep(increment_);
    spin->setValue(Value());
}

// TStringGrid --------------------------------------------------------------

TStringGrid::TStringGrid(TComponent* owner)
    : TWinControl(owner)
{
    RegisterCommonControlEvents();
    SetBoundsSilently(QRect(0, 0, 320, 120));
    SetColor(clWindow);
    resize(colCount_, rowCount_);
}

void TStringGrid::resize(int cols, int rows)
{
    if (cols < 0 || rows < 0 || static_cast<qint64>(cols) * rows > MaxCells)
        throw EPropertyError(QStringLiteral("Grid size %1 x %2 is out of range").arg(cols).arg(rows));
    QVector<QString> cells(cols * rows);
    for (int r = 0; r < std::min(rows, rowCount_); ++r) {
        for (int c = 0; c < std::min(cols, colCount_); ++c)
            cells[r * cols + c] = cells_.value(r * colCount_ + c);
    }
    cells_ = cells;
    colWidths_.resize(cols);
    for (int c = colCount_; c < cols; ++c)
        colWidths_[c] = -1;
    colCount_ = cols;
    rowCount_ = rows;
    fixedCols_ = std::min(fixedCols_, cols);
    fixedRows_ = std::min(fixedRows_, rows);
    Changed();
}

void TStringGrid::SetColCount(int value)
{
    if (value != colCount_)
        resize(value, rowCount_);
}

void TStringGrid::SetRowCount(int value)
{
    if (value != rowCount_)
        resize(colCount_, value);
}

void TStringGrid::checkCell(int col, int row) const
{
    if (col < 0 || row < 0 || col >= colCount_ || row >= rowCount_)
        throw EListError(QStringLiteral("Cell (%1, %2) is outside the grid").arg(col).arg(row));
}

QString TStringGrid::Cells(int col, int row) const
{
    checkCell(col, row);
    return cells_.at(row * colCount_ + col);
}

void TStringGrid::SetCells(int col, int row, const QString& text)
{
    checkCell(col, row);
    QString& cell = cells_[row * colCount_ + col];
    if (cell == text)
        return;
    cell = text;
    if (HasWidget()) {
        auto* table = static_cast<QTableWidget*>(Widget());
        const QSignalBlocker block(table);
        if (QTableWidgetItem* item = table->item(row, col))
            item->setText(text);
    }
}

int TStringGrid::ColWidths(int col) const
{
    checkCell(col, 0);
    return colWidths_.at(col) >= 0 ? colWidths_.at(col) : defaultColWidth_;
}

void TStringGrid::SetColWidths(int col, int width)
{
    checkCell(col, 0);
    colWidths_[col] = width;
    Changed();
}

bool TStringGrid::SelectCell(int col, int row)
{
    checkCell(col, row);
    bool allow = true;
    onSelectCell_(this, col, row, allow);
    if (!allow)
        return false;
    col_ = col;
    row_ = row;
    Changed();
    return true;
}

QWidget* TStringGrid::CreateWidget(QWidget* parent)
{
    auto* table = new QTableWidget(parent);
    table->horizontalHeader()->hide();
    table->verticalHeader()->hide();
    connect(table, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
        if (!Updating())
            cells_[item->row() * colCount_ + item->column()] = item->text();
    });
    connect(table, &QTableWidget::currentCellChanged, this, [this](int row, int col) {
        if (!Updating() && row >= 0 && col >= 0)
            SelectCell(col, row);
    });
    return table;
}

void TStringGrid::UpdateWidget()
{
    TWinControl::UpdateWidget();
    auto* table = static_cast<QTableWidget*>(Widget());
    const QSignalBlocker block(table);
    table->setColumnCount(colCount_);
    table->setRowCount(rowCount_);
    const QColor fixed = ColorToQColor(clBtnFace);
    for (int r = 0; r < rowCount_; ++r) {
        table->setRowHeight(r, defaultRowHeight_);
        for (int c = 0; c < colCount_; ++c) {
            QTableWidgetItem* item = table->item(r, c);
            if (!item) {
                item = new QTableWidgetItem;
                table->setItem(r, c, item);
            }
            item->setText(cells_.at(r * colCount_ + c));
            const bool isFixed = r < fixedRows_ || c < fixedCols_;
            item->setBackground(isFixed ? QBrush(fixed) : QBrush());
            Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
            if (options_.testFlag(goEditing) && !isFixed)
                flags |= Qt::ItemIsEditable;
            item->setFlags(flags);
        }
    }
    for (int c = 0; c < colCount_; ++c)
        table->setColumnWidth(c, ColWidths(c));
    table->setShowGrid(options_.testFlag(goVertLine) || options_.testFlag(goHorzLine));
    table->setSelectionBehavior(
        options_.testFlag(goRowSelect) ? QAbstractItemView::SelectRows : QAbstractItemView::SelectItems);
    if (row_ < rowCount_ && col_ < colCount_)
        table->setCurrentCell(row_, col_);
}
