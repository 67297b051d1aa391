#pragma once
// The three child controls a selection panel is built from.
//
// TPellMaskEdit: a masked edit that can be muted; while muted, text changes
//   raise no OnChange (the panel uses that to read the empty text of a mask).
// TPellListView: the panel's list of chosen values. Its first left click only
//   takes the focus; AddRow appends a row of values, growing the columns
//   ("Data1", "Data2" ...) as needed and keeping every row's sub-items as
//   many as the widest row's.
// TPellCheckBox: the bitmap check box, under the name the panel knows it by.

#include "controls/BtChkBox.h"
#include "runtime/forms/ComCtrls.h"
#include "runtime/forms/Mask.h"

#include <QStringList>

class TPellMaskEdit : public TMaskEdit {
    Q_OBJECT
public:
    explicit TPellMaskEdit(TComponent* owner = nullptr);
    bool Muted() const { return muted_; }
    void SetMuted(bool value) { muted_ = value; }

protected:
    void Change() override;

private:
    bool muted_ = false;
};

class TPellListView : public TListView {
    Q_OBJECT
    Q_PROPERTY(bool ColumnsAutoSize READ ColumnsAutoSize WRITE SetColumnsAutoSize)
public:
    explicit TPellListView(TComponent* owner = nullptr);

    bool ColumnsAutoSize() const { return columnsAutoSize_; }
    void SetColumnsAutoSize(bool value) { columnsAutoSize_ = value; }

    // Appends one row: values[0] is the caption, the rest its sub-items (no
    // more than the columns hold). Missing columns are added first, every
    // row is padded to the same number of sub-items, the owning panel drops
    // duplicates, and with ColumnsAutoSize the columns fit their texts.
    // False for an empty row or when anything fails; the list is then as
    // the failure left it, never with a half-added row.
    bool AddRow(const QStringList& values);
    void ClearRows();
    // Each column as wide as its longest text (caption or cell), counted in
    // characters of the width of "W"; the first column 24 more with check boxes.
    void AutoSizeColumns();

    // The user's first click on an unfocused list only focuses it.
    bool eventFilter(QObject* watched, QEvent* event) override;

protected:
    QWidget* CreateWidget(QWidget* parent) override;

private:
    bool columnsAutoSize_ = true;
};

class TPellCheckBox : public TBitCheckBox {
    Q_OBJECT
public:
    using TBitCheckBox::TBitCheckBox;
};
