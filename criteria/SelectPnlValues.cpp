// The selection panel's values: ordering a range, reading date texts, the
// list's duplicates and sorting, and the value the form collects.

#include "criteria/SelectPnl.h"

#include "common/DateStyle.h"
#include "runtime/system/CodePages.h"

namespace {

// Texts compare as the old system compared them: byte by byte in the
// Simplified Chinese code page, so CJK text sorts in GBK order.
int compareBytes(const QString& a, const QString& b)
{
    const QByteArray x = EncodeText(a, 936);
    const QByteArray y = EncodeText(b, 936);
    const int n = static_cast<int>(std::min(x.size(), y.size()));
    for (int i = 0; i < n; ++i) {
        const auto cx = static_cast<unsigned char>(x.at(i));
        const auto cy = static_cast<unsigned char>(y.at(i));
        if (cx != cy)
            return cx < cy ? -1 : 1;
    }
    return x.size() == y.size() ? 0 : (x.size() < y.size() ? -1 : 1);
}

qint64 integerOf(const QString& text)
{
    bool ok = false;
    const qint64 value = text.trimmed().toLongLong(&ok);
    return ok ? value : 0;
}

// A decimal text with its integer part before the first "." and a "." after
// it: ".5" becomes "0.5", "-.5" "-0.5", "3." "3.0"; a whole number stays as
// it is. Texts that are no number stay too.
QString canonicalDecimal(const QString& text)
{
    const qsizetype dot = text.indexOf(u'.');
    if (dot < 0)
        return text;
    bool ok = false;
    text.toDouble(&ok);
    if (!ok)
        return text;
    QString whole = text.left(dot);
    QString fraction = text.mid(dot + 1);
    if (whole.isEmpty() || whole == QLatin1String("-") || whole == QLatin1String("+"))
        whole += u'0';
    if (fraction.isEmpty())
        fraction = QStringLiteral("0");
    return whole + u'.' + fraction;
}

double numberOf(const QString& text)
{
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    return ok ? value : 0.0;
}

} // namespace

void TSelectPanel::OrderRange()
{
    QString begin = edBegin->Text();
    QString final = edFinal->Text();
    if (!editMask_.startsWith(u'!')) {
        begin = begin.trimmed();
        final = final.trimmed();
        edBegin->SetText(begin);
        edFinal->SetText(final);
        begin = edBegin->Text();
        final = edFinal->Text();
    }
    if (begin.trimmed().isEmpty() || final.trimmed().isEmpty())
        return;
    const bool discarded = useDiscard_ && (begin.trimmed() == discard_ || final.trimmed() == discard_);
    const bool maskEmpty = begin == emptyMaskText_ || final == emptyMaskText_;
    bool swap = false;
    switch (valueType_) {
    case vt_String:
    case vt_Time:
        swap = !maskEmpty && !discarded && compareBytes(begin, final) > 0;
        break;
    case vt_Number:
        swap = integerOf(begin) > integerOf(final);
        break;
    case vt_Date:
        if (!autoChangeDateSite_ || maskEmpty || discarded)
            break;
        swap = dateType_ == dt_NoneCare ? compareBytes(begin, final) > 0
                                        : ParseDateText(begin) > ParseDateText(final);
        break;
    case vt_Float:
        begin = canonicalDecimal(begin.trimmed());
        final = canonicalDecimal(final.trimmed());
        edBegin->SetText(begin);
        edFinal->SetText(final);
        swap = numberOf(begin) > numberOf(final);
        break;
    case vt_OtherMask:
        break;
    }
    if (swap) {
        edBegin->SetText(final);
        edFinal->SetText(begin);
    }
}

// The panel's date types are the user's date styles under the names its
// form descriptions use; the criteria form sets one from the other.
static_assert(int(dt_YYYYMMDD) == TDateStyle::YearMonthDay && int(dt_MMDDYYYY) == TDateStyle::MonthDayYear
    && int(dt_DDMMYYYY) == TDateStyle::DayMonthYear && int(dt_YYMMDD) == TDateStyle::MinguoTwoDigits
    && int(dt_YYYMMDD) == TDateStyle::MinguoThreeDigits);

double TSelectPanel::ParseDateText(const QString& text) const
{
    if (text.trimmed() == emptyMaskText_.trimmed())
        return 0;
    const std::optional<TDateStyle> style = TDateStyle::Of(dateType_, dateSign_);
    return style ? style->DayOf(text) : 0;
}

void TSelectPanel::RemoveDuplicates()
{
    if (checkDuplicate_ == cd_None)
        return;
    TListItems* items = Items();
    items->BeginUpdate();
    for (int i = items->Count() - 1; i >= 1; --i) {
        const QString a = items->Items(i)->Caption();
        const QString b = items->Items(i - 1)->Caption();
        const bool same = checkDuplicate_ == cd_CheckCase ? a == b : a.toUpper() == b.toUpper();
        if (same)
            items->Delete(i);
    }
    items->EndUpdate();
}

void TSelectPanel::SortByColumn(int column)
{
    if (column == sortColumn_)
        sortAscending_ = !sortAscending_;
    else {
        sortColumn_ = column;
        sortAscending_ = true;
    }
    auto cell = [](const TListItem* item, int c) {
        if (c == 0)
            return item->Caption();
        return c - 1 < item->SubItems()->Count() ? item->SubItems()->Strings(c - 1) : QString();
    };
    const int sortColumn = sortColumn_;
    const int direction = sortAscending_ ? 1 : -1;
    ListBox->CustomSort([&](TListItem* a, TListItem* b) {
        int result = cell(a, sortColumn).compare(cell(b, sortColumn), Qt::CaseInsensitive);
        if (result == 0)
            result = a->Caption().compare(b->Caption(), Qt::CaseInsensitive);
        if (result == 0 && sortColumn != 1)
            result = cell(a, 1).compare(cell(b, 1), Qt::CaseInsensitive);
        return result * direction;
    });
}

void TSelectPanel::DeleteSelected()
{
    bool accept = true;
    if (!IsDesigning())
        onDeleteClick_(this, accept);
    if (!accept)
        return;
    TListItems* items = Items();
    for (int i = items->Count() - 1; i >= 0; --i) {
        TListItem* item = items->Items(i);
        if (!item->Selected())
            continue;
        bool allow = true;
        if (!IsDesigning())
            onItemChanging_(ListBox, item, ctText, allow);
        if (allow)
            items->Delete(i);
    }
}

void TSelectPanel::ClearList()
{
    ListBox->ClearRows();
    ListBox->SetFocus();
    if (!IsDesigning())
        onClearClick_(this);
}

Variant TSelectPanel::CriteriaValue() const
{
    if (IsRangeMode())
        return Variant::ArrayOf({QString(selmark::Range), edBegin->Text(), edFinal->Text()});
    VariantList rows {QString(selmark::List)};
    for (int r = 0; r < Items()->Count(); ++r) {
        const TListItem* item = Items()->Items(r);
        VariantList row {item->Caption()};
        for (const QString& sub : item->SubItems()->Lines())
            row << sub;
        rows << Variant::ArrayOf(row);
    }
    return Variant::ArrayOf(rows);
}

QString TSelectPanel::ListText() const
{
    QString text;
    for (int r = 0; r < Items()->Count(); ++r) {
        const TListItem* item = Items()->Items(r);
        text += item->Caption();
        for (const QString& sub : item->SubItems()->Lines())
            text += selmark::SubItem + sub;
        text += selmark::Range;
    }
    return text;
}

bool TSelectPanel::SetListText(const QString& text)
{
    ListBox->ClearRows();
    const QStringList rows = text.split(selmark::Range);
    for (qsizetype r = 0; r < rows.size(); ++r) {
        // The text ends with a row's closing mark, so the last piece is empty.
        if (r == rows.size() - 1 && rows.at(r).isEmpty())
            break;
        if (!ListBox->AddRow(rows.at(r).split(selmark::SubItem)))
            return false;
    }
    return true;
}
