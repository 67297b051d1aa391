#pragma once
// The look-up window: the rows of a predefined query in a list that the user
// narrows by typing (every column is searched), sorts by clicking a column
// heading (again: the other way round) and chooses from, one row or several.

#include "runtime/forms/ComCtrls.h"
#include "runtime/forms/Forms.h"
#include "runtime/forms/StdCtrls.h"
#include "runtime/system/Variant.h"

#include <QHash>

class TfrmHubLookup : public TForm {
    Q_OBJECT
public:
    explicit TfrmHubLookup(TComponent* owner = nullptr);

    // Fills the list: one column per caption (more columns in the rows get
    // their column number as caption); rows is an array of row arrays.
    void SetData(const QString& caption, const QStringList& columns, const Variant& rows, bool multiple);
    // Shows only the rows that contain text in some column (without regard to case).
    void SetSearchText(const QString& text);
    // Sorts the shown rows by a column; the same column twice sorts descending.
    void SortByColumn(int column);

    int ShownCount() const { return lvRows->Items()->Count(); }
    // The text of a shown row's column, in display order.
    QString ShownText(int index, int column) const;
    // Selects a shown row (the only one unless several may be chosen).
    void ChooseShown(int index);
    // The chosen rows, whole, in display order: a zero-based array, or
    // Unassigned when none is chosen.
    Variant ChosenRows() const;
    bool Multiple() const { return lvRows->MultiSelect(); }

    TEdit* edSearch = nullptr;
    TLabel* lblCount = nullptr;
    TListView* lvRows = nullptr;
    TButton* btnAll = nullptr;
    TButton* btnOK = nullptr;
    TButton* btnCancel = nullptr;

private:
    void edSearchChange(TObject* sender);
    void lvRowsColumnClick(TObject* sender, TListColumn* column);
    void lvRowsDblClick(TObject* sender);
    void btnAllClick(TObject* sender);
    void btnOKClick(TObject* sender);
    void fill();
    QString cell(int row, int column) const;

    QList<VariantList> rows_;
    int columnCount_ = 0;
    QHash<const TListItem*, int> rowOf_; // shown item -> index in rows_
    int sortColumn_ = -1;
    bool descending_ = false;
};
