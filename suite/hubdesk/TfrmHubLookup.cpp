#include "suite/hubdesk/TfrmHubLookup.h"

#include "runtime/forms/Dialogs.h"

#include <QCollator>

void InitHubDeskResources();

TfrmHubLookup::TfrmHubLookup(TComponent* owner)
    : TForm(owner)
{
    InitHubDeskResources();
    ReadFormResource(this, QStringLiteral(":/hubdesk/TfrmHubLookup.dfm"));
    edSearch = FindComponent<TEdit>(QStringLiteral("edSearch"));
    lblCount = FindComponent<TLabel>(QStringLiteral("lblCount"));
    lvRows = FindComponent<TListView>(QStringLiteral("lvRows"));
    btnAll = FindComponent<TButton>(QStringLiteral("btnAll"));
    btnOK = FindComponent<TButton>(QStringLiteral("btnOK"));
    btnCancel = FindComponent<TButton>(QStringLiteral("btnCancel"));
    edSearch->SetOnChange(TNotifyEvent::Of(this, &TfrmHubLookup::edSearchChange));
    lvRows->SetOnColumnClick(TLVColumnClickEvent::Of(this, &TfrmHubLookup::lvRowsColumnClick));
    lvRows->SetOnDblClick(TNotifyEvent::Of(this, &TfrmHubLookup::lvRowsDblClick));
    btnAll->SetOnClick(TNotifyEvent::Of(this, &TfrmHubLookup::btnAllClick));
    btnOK->SetOnClick(TNotifyEvent::Of(this, &TfrmHubLookup::btnOKClick));
}

void TfrmHubLookup::SetData(
    const QString& caption, const QStringList& columns, const Variant& rows, bool multiple)
{
    SetCaption(caption);
    rows_.clear();
    columnCount_ = static_cast<int>(columns.size());
    if (rows.IsArray())
        for (const Variant& row : rows.Elements()) {
            rows_ << (row.IsArray() ? row.Elements() : VariantList {row});
            columnCount_ = std::max(columnCount_, static_cast<int>(rows_.last().size()));
        }
    lvRows->Columns()->Clear();
    for (int c = 0; c < columnCount_; ++c) {
        TListColumn* column = lvRows->Columns()->Add();
        column->SetCaption(c < columns.size() && !columns[c].isEmpty() ? columns[c] : QString::number(c));
        column->SetWidth(c == 0 ? 90 : 120);
    }
    lvRows->SetMultiSelect(multiple);
    btnAll->SetVisible(multiple);
    sortColumn_ = -1;
    fill();
}

QString TfrmHubLookup::cell(int row, int column) const
{
    return column < rows_[row].size() ? rows_[row][column].ToString() : QString();
}

void TfrmHubLookup::fill()
{
    const QString text = edSearch->Text().trimmed();
    lvRows->Items()->Clear();
    rowOf_.clear();
    for (int r = 0; r < rows_.size(); ++r) {
        bool match = text.isEmpty();
        for (int c = 0; c < columnCount_ && !match; ++c)
            match = cell(r, c).contains(text, Qt::CaseInsensitive);
        if (!match)
            continue;
        TListItem* item = lvRows->Items()->Add();
        item->SetCaption(cell(r, 0));
        for (int c = 1; c < columnCount_; ++c)
            item->SubItems()->Add(cell(r, c));
        rowOf_.insert(item, r);
    }
    if (sortColumn_ >= 0) {
        QCollator collator(QLocale(QLocale::Chinese, QLocale::China));
        collator.setNumericMode(true);
        const int column = sortColumn_;
        const bool descending = descending_;
        lvRows->CustomSort([&](TListItem* a, TListItem* b) {
            const int order = collator.compare(cell(rowOf_.value(a), column), cell(rowOf_.value(b), column));
            return descending ? -order : order;
        });
    }
    if (!Multiple() && lvRows->Items()->Count() > 0)
        lvRows->Items()->Items(0)->SetSelected(true);
    lblCount->SetCaption(QStringLiteral("共 %1 笔").arg(lvRows->Items()->Count()));
}

void TfrmHubLookup::SetSearchText(const QString& text)
{
    edSearch->SetText(text);
    fill();
}

void TfrmHubLookup::SortByColumn(int column)
{
    if (column < 0 || column >= columnCount_)
        return;
    descending_ = column == sortColumn_ && !descending_;
    sortColumn_ = column;
    fill();
}

QString TfrmHubLookup::ShownText(int index, int column) const
{
    if (index < 0 || index >= ShownCount())
        return QString();
    return cell(rowOf_.value(lvRows->Items()->Items(index)), column);
}

void TfrmHubLookup::ChooseShown(int index)
{
    if (index < 0 || index >= ShownCount())
        return;
    if (!Multiple())
        for (int i = 0; i < ShownCount(); ++i)
            lvRows->Items()->Items(i)->SetSelected(false);
    lvRows->Items()->Items(index)->SetSelected(true);
}

Variant TfrmHubLookup::ChosenRows() const
{
    VariantList chosen;
    for (int i = 0; i < ShownCount(); ++i) {
        const TListItem* item = lvRows->Items()->Items(i);
        if (item->Selected())
            chosen << Variant::ArrayOf(rows_[rowOf_.value(item)]);
    }
    return chosen.isEmpty() ? Variant() : Variant::ArrayOf(chosen);
}

void TfrmHubLookup::edSearchChange(TObject*)
{
    fill();
}

void TfrmHubLookup::lvRowsColumnClick(TObject*, TListColumn* column)
{
    SortByColumn(lvRows->Columns()->IndexOf(column));
}

void TfrmHubLookup::lvRowsDblClick(TObject*)
{
    if (lvRows->Selected())
        SetModalResult(mrOk);
}

void TfrmHubLookup::btnAllClick(TObject*)
{
    for (int i = 0; i < ShownCount(); ++i)
        lvRows->Items()->Items(i)->SetSelected(true);
}

void TfrmHubLookup::btnOKClick(TObject*)
{
    if (ChosenRows().IsArray())
        SetModalResult(mrOk);
    else
        ShowMessage(QStringLiteral("请先选择一笔资料!"));
}
