// The base criteria form's field checks: date and year-month fields, required
// fields, and the Enter key's way through the form.

#include "criteria/BaseGene.h"

#include "common/LibDates.h"
#include "controls/ExtPage.h"
#include "criteria/BaseGeneU.h"
#include "criteria/SelectPnl.h"
#include "runtime/forms/ComCtrls.h"
#include "runtime/forms/Dialogs.h"
#include "runtime/forms/ExtraCtrls.h"
#include "runtime/forms/Mask.h"
#include "runtime/forms/StdCtrls.h"

namespace {

QString handlerKey(const QString& name, const char* event)
{
    return name + u'.' + QString::fromLatin1(event) + QStringLiteral(".Code");
}

// The page a control stands on, null when none.
TTabSheet* pageOf(TControl* control)
{
    for (TControl* c = control; c; c = c->Parent()) {
        if (auto* page = qobject_cast<TTabSheet*>(c))
            return page;
    }
    return nullptr;
}

// The windowed controls below parent that take the focus, in tab order.
void focusChain(TWinControl* parent, QList<TWinControl*>& chain)
{
    for (TWinControl* c : parent->TabList()) {
        if (!c->Visible() || !c->Enabled())
            continue;
        if (c->ControlCount() == 0 || qobject_cast<TCustomEdit*>(c)) {
            if (c->TabStop())
                chain << c;
        } else {
            focusChain(c, chain);
        }
    }
}

} // namespace

// --- date fields ------------------------------------------------------------------

QString TfrmBaseGene::DateEditMask() const
{
    return dateStyle_.DateMask();
}

QString TfrmBaseGene::YearMonthEditMask() const
{
    return dateStyle_.YearMonthMask();
}

QString TfrmBaseGene::DateToStorage(const QString& text) const
{
    return dateStyle_.ToStorage(text, TEditMask(DateEditMask()).EmptyText());
}

QString TfrmBaseGene::StorageToDate(const QString& yyyymmdd) const
{
    return dateStyle_.FromStorage(yyyymmdd);
}

QString TfrmBaseGene::YearMonthToStorage(const QString& text) const
{
    return dateStyle_.YearMonthToStorage(text, TEditMask(YearMonthEditMask()).EmptyText());
}

QString TfrmBaseGene::StorageToYearMonth(const QString& yyyymm) const
{
    return dateStyle_.YearMonthFromStorage(yyyymm);
}

void TfrmBaseGene::SetDateFields(const QString& list)
{
    QString fields = list;
    if (!fields.contains(QLatin1String("edPrintDate")) && !dateFields_.isEmpty())
        fields += u',' + dateFields_;
    dateFields_ = fields;
    hookFields(fields, QString(), false);
}

void TfrmBaseGene::SetYearMonthFields(const QString& list)
{
    yearMonthFields_ = list;
    hookFields(list, QString(), true);
}

void TfrmBaseGene::hookFields(const QString& list, const QString&, bool yearMonth)
{
    QStringList& hooked = yearMonth ? hookedYearMonths_ : hookedDates_;
    // Give the previous fields their own handlers back first.
    for (const QString& name : std::as_const(hooked)) {
        auto* control = FindComponent<TWinControl>(name);
        if (!control)
            continue;
        control->SetOnEnter(TNotifyEvent(savedHandlers_.take(handlerKey(name, "OnEnter"))));
        control->SetOnExit(TNotifyEvent(savedHandlers_.take(handlerKey(name, "OnExit"))));
    }
    hooked.clear();
    for (const QString& raw : list.split(u',', Qt::SkipEmptyParts)) {
        const QString name = raw.trimmed();
        auto* control = FindComponent<TWinControl>(name);
        // A name listed twice is hooked once, or its saved handler would be our own.
        if (!control || hooked.contains(name, Qt::CaseInsensitive))
            continue;
        hooked << name;
        savedHandlers_.insert(handlerKey(name, "OnEnter"), control->OnEnter());
        savedHandlers_.insert(handlerKey(name, "OnExit"), control->OnExit());
        if (yearMonth) {
            control->SetOnEnter(TNotifyEvent::Of(this, &TfrmBaseGene::OnYearMonthFieldEnter));
            control->SetOnExit(TNotifyEvent::Of(this, &TfrmBaseGene::OnYearMonthFieldExit));
        } else {
            control->SetOnEnter(TNotifyEvent::Of(this, &TfrmBaseGene::OnDateFieldEnter));
            control->SetOnExit(TNotifyEvent::Of(this, &TfrmBaseGene::OnDateFieldExit));
        }
        if (auto* panel = qobject_cast<TSelectPanel*>(control)) {
            panel->SetValueType(vt_Date);
            panel->SetDateSign(dateStyle_.Separator());
            panel->SetDateType(static_cast<TDateType>(dateStyle_.Number()));
        }
    }
}

void TfrmBaseGene::RunSavedHandler(const QString& key, TObject* sender)
{
    const TNotifyEvent handler(savedHandlers_.value(key));
    handler(sender);
}

namespace {

void applyMask(TObject* sender, const QString& mask)
{
    if (auto* panel = qobject_cast<TSelectPanel*>(sender)) {
        if (panel->EditMask() != mask)
            panel->SetEditMask(mask);
    } else if (auto* edit = qobject_cast<TMaskEdit*>(sender)) {
        if (edit->EditMask() != mask)
            edit->SetEditMask(mask);
    } else if (auto* plain = qobject_cast<TEdit*>(sender)) {
        if (plain->Text().isEmpty())
            plain->SetText(TEditMask(mask).EmptyText());
    }
}

} // namespace

// Entering a date field shows its mask; leaving it checks the date, and the
// field's own handler runs only for a date that passed.
void TfrmBaseGene::fieldEntered(TObject* sender, bool yearMonth)
{
    applyMask(sender, yearMonth ? YearMonthEditMask() : DateEditMask());
    if (auto* c = qobject_cast<TComponent*>(sender))
        RunSavedHandler(handlerKey(c->Name(), "OnEnter"), sender);
}

void TfrmBaseGene::fieldLeft(TObject* sender, bool yearMonth)
{
    auto* c = qobject_cast<TComponent*>(sender);
    if (c && checkDates(c, yearMonth))
        RunSavedHandler(handlerKey(c->Name(), "OnExit"), sender);
}

void TfrmBaseGene::OnDateFieldEnter(TObject* Sender)
{
    fieldEntered(Sender, false);
}

void TfrmBaseGene::OnDateFieldExit(TObject* Sender)
{
    fieldLeft(Sender, false);
}

void TfrmBaseGene::OnYearMonthFieldEnter(TObject* Sender)
{
    fieldEntered(Sender, true);
}

void TfrmBaseGene::OnYearMonthFieldExit(TObject* Sender)
{
    fieldLeft(Sender, true);
}

bool TfrmBaseGene::CheckDateField(TComponent* control)
{
    return checkDates(control, false);
}

bool TfrmBaseGene::CheckYearMonthField(TComponent* control)
{
    return checkDates(control, true);
}

bool TfrmBaseGene::checkDates(TComponent* control, bool yearMonth)
{
    QList<TWinControl*> edits;
    if (auto* panel = qobject_cast<TSelectPanel*>(control))
        edits = {panel->edBegin, panel->edFinal};
    else if (qobject_cast<TCustomEdit*>(control))
        edits = {static_cast<TWinControl*>(control)};
    else {
        const QString text = yearMonth
            ? GetFormMessage(QStringLiteral("TfrmBaseGene"), QStringLiteral("sYMPramError"), true,
                QStringLiteral("判断年月的函数第一个参数错误, 只能传下列三种物件:"))
            : GetFormMessage(QStringLiteral("TfrmBaseGene"), QStringLiteral("sDatePramError"), true,
                QStringLiteral("判断日期的函数第一个参数错误, 只能传下列三种物件:"));
        Dialogs().MessageDlg(
            text + QStringLiteral("\rTSelectPanel, TMaskedit, TEdit"), mtError, mbOK, Caption());
        return false;
    }
    for (TWinControl* edit : edits) {
        const QString text = edit->property("Text").toString();
        const QString stored = yearMonth ? YearMonthToStorage(text) : DateToStorage(text);
        if (stored.isEmpty())
            continue;
        const QString day = yearMonth ? stored + QStringLiteral("01") : stored;
        if (ParseDate8(day) == 0) {
            ReportError(QStringLiteral("E;000005"));
            edit->SetFocus();
            return false;
        }
    }
    return true;
}

// --- required fields --------------------------------------------------------------

void TfrmBaseGene::restoreRequired()
{
    for (const basegene::RequiredEntry& entry : basegene::ParseRequiredList(requiredFields_)) {
        TComponent* c = FindComponent(entry.Name);
        if (auto* panel = qobject_cast<TSelectPanel*>(c)) {
            const QString n = panel->Name();
            panel->edBegin->SetColor(TColor(colours_.value(n + QStringLiteral(".edBegin="), clWindow)));
            panel->edFinal->SetColor(TColor(colours_.value(n + QStringLiteral(".edFinal="), clWindow)));
            panel->ListBox->SetColor(TColor(colours_.value(n + QStringLiteral(".ListBox="), clWindow)));
        } else if (auto* control = qobject_cast<TControl*>(c)) {
            control->SetColor(TColor(colours_.value(control->Name() + u'=', control->Color())));
        }
    }
    for (const char* name : {"btnOk", "btnQuery", "btnDesign", "btnPeriod"}) {
        const QString key = handlerKey(QString::fromLatin1(name), "OnClick");
        auto* button = FindComponent<TControl>(QString::fromLatin1(name));
        if (button && savedHandlers_.contains(key))
            button->SetOnClick(TNotifyEvent(savedHandlers_.take(key)));
    }
}

void TfrmBaseGene::SetRequiredFields(const QString& list)
{
    restoreRequired();
    requiredFields_ = list;
    const QList<basegene::RequiredEntry> entries = basegene::ParseRequiredList(list);
    if (entries.isEmpty())
        return;
    const TColor required = TColor(basegene::RequiredColour);
    for (const basegene::RequiredEntry& entry : entries) {
        TComponent* c = FindComponent(entry.Name);
        if (auto* panel = qobject_cast<TSelectPanel*>(c)) {
            if (entry.Part == 0 || entry.Part == 1)
                panel->edBegin->SetColor(required);
            if (entry.Part == 0 || entry.Part == 2)
                panel->edFinal->SetColor(required);
            if (entry.Part == 0 || entry.Part == 3)
                panel->ListBox->SetColor(required);
        } else if (auto* control = qobject_cast<TControl*>(c)) {
            control->SetColor(required);
        }
    }
    for (const char* name : {"btnOk", "btnQuery", "btnDesign", "btnPeriod"}) {
        auto* button = FindComponent<TControl>(QString::fromLatin1(name));
        if (!button)
            continue;
        savedHandlers_.insert(handlerKey(button->Name(), "OnClick"), button->OnClick());
        button->SetOnClick(TNotifyEvent::Of(this, &TfrmBaseGene::OnRequiredExit));
    }
}

void TfrmBaseGene::OnRequiredExit(TObject* Sender)
{
    auto* button = qobject_cast<TControl*>(Sender);
    if (!button)
        return;
    const bool period = button->Name().compare(QLatin1String("btnPeriod"), Qt::CaseInsensitive) == 0;
    // The period button asks for the fields only while it is down.
    if (period && !button->property("Down").toBool()) {
        RunSavedHandler(handlerKey(button->Name(), "OnClick"), Sender);
        return;
    }
    if (CheckRequiredFields(button)) {
        RunSavedHandler(handlerKey(button->Name(), "OnClick"), Sender);
        return;
    }
    TControl* periodButton = FindComponent<TControl>(QStringLiteral("btnPeriod"));
    TTabSheet* last = pgOption->PageCount() > 0 ? pgOption->Pages(pgOption->PageCount() - 1) : nullptr;
    if (periodButton && last && pgOption->ActivePage() != last) {
        periodButton->setProperty("Down", false);
        last->SetTabVisible(false);
    }
}

bool TfrmBaseGene::CheckRequiredFields(TComponent*)
{
    auto emptyEdit = [](TWinControl* edit) {
        const QString text = edit->property("Text").toString().trimmed();
        if (auto* masked = qobject_cast<TMaskEdit*>(edit))
            return text == masked->Mask().EmptyText().trimmed();
        return text.isEmpty();
    };
    for (const basegene::RequiredEntry& entry : basegene::ParseRequiredList(requiredFields_)) {
        if (!entry.Checked())
            continue;
        TComponent* c = FindComponent(entry.Name);
        TWinControl* offending = nullptr;
        if (auto* panel = qobject_cast<TSelectPanel*>(c)) {
            if (panel->IsRangeMode()) {
                if (emptyEdit(panel->edBegin))
                    offending = panel->edBegin;
                else if (emptyEdit(panel->edFinal))
                    offending = panel->edFinal;
            } else if (panel->Items()->Count() == 0) {
                offending = panel->ListBox;
            }
        } else if (auto* control = qobject_cast<TWinControl*>(c)) {
            if (control->property("Text").isValid() && emptyEdit(control))
                offending = control;
        }
        if (!offending)
            continue;
        ReportError(QStringLiteral("E;000037"));
        if (TTabSheet* page = pageOf(offending))
            pgOption->SetActivePage(page);
        offending->SetFocus();
        return false;
    }
    return true;
}

// --- Enter --------------------------------------------------------------------------

bool TfrmBaseGene::HandleEnter(TWinControl* control)
{
    if (!control)
        return false;
    if (auto* memo = qobject_cast<TMemo*>(control)) {
        // A memo takes Enter on its first two lines and moves on from the
        // third: where the caret is decides, not how many lines there are
        // (a caret moved back up into a long memo still starts a line).
        if (memo->CaretPos().y() < 2)
            return false;
    }
    if (auto* grid = qobject_cast<TStringGrid*>(control)) {
        // In a grid Enter walks the cells as the eye reads them: the next
        // column, then the first column of the next row, which is added
        // after the last one.
        int col = grid->Col() + 1;
        int row = grid->Row();
        if (col >= grid->ColCount()) {
            col = grid->FixedCols();
            ++row;
            if (row >= grid->RowCount())
                grid->SetRowCount(row + 1);
        }
        grid->SelectCell(col, row);
        return true;
    }
    // Page-end controls: a panel counts through its final edit or its list.
    TWinControl* pageEnd = control;
    if (auto* panel = qobject_cast<TSelectPanel*>(control->Owner()))
        pageEnd = panel;
    const bool atPageEnd = pageEnds_.contains(pageEnd) || pageEnds_.contains(control->Parent());
    bool panelEnd = true;
    if (auto* panel = qobject_cast<TSelectPanel*>(pageEnd); panel && panel != control)
        panelEnd = control == panel->edFinal || control == panel->ListBox;
    if (atPageEnd && panelEnd && pgOption->ActivePageIndex() < pgOption->PageCount() - 1) {
        pgOption->SelectNextPage(true);
        FocusFirstControl();
        return true;
    }
    QList<TWinControl*> chain;
    focusChain(this, chain);
    const qsizetype at = chain.indexOf(control);
    if (at < 0 || chain.isEmpty())
        return false;
    chain.at((at + 1) % chain.size())->SetFocus();
    return true;
}
