#include "criteria/GeneCondition.h"

#include "criteria/BaseGene.h"
#include "criteria/ByteLimit.h"
#include "criteria/SelectPnl.h"
#include "runtime/forms/Dialogs.h"
#include "runtime/forms/ExtCtrls.h"
#include "runtime/forms/ExtraCtrls.h"
#include "runtime/forms/StdCtrls.h"
#include "runtime/system/CodePages.h"

#include <QMetaProperty>

namespace {

const QChar sep = selmark::Field;

QString yn(bool value)
{
    return value ? QStringLiteral("Y") : QStringLiteral("N");
}

} // namespace

TfrmGeneCondition::TfrmGeneCondition(TfrmBaseGene* owner, const QString& dateFields, int notDates)
    : THVForm(owner)
    , base_(owner)
{
    ReadFormResource(this, QStringLiteral(":/forms/TfrmGeneCondition.dfm"));
    auto find = [this]<typename T>(T*& field, const char* name) {
        field = FindComponent<T>(QString::fromLatin1(name));
        if (!field)
            throw EComponentError(
                QStringLiteral("TfrmGeneCondition lacks %1").arg(QString::fromLatin1(name)));
    };
    find(edConName, "edConName");
    find(cbodatecondition, "cbodatecondition");
    find(gbDateFields, "gbDateFields");
    find(pnEdit, "pnEdit");
    find(pnSp, "pnSp");
    find(edSetDate, "edSetDate");
    find(seSetDay1, "seSetDay1");
    find(cboSetDay1, "cboSetDay1");
    find(cboSetDay2, "cboSetDay2");
    find(seSetDay2, "seSetDay2");
    find(spDate_B, "spDate_B");
    find(seSetDay_B1, "seSetDay_B1");
    find(cboSetDay_B1, "cboSetDay_B1");
    find(cboSetDay_B2, "cboSetDay_B2");
    find(seSetDay_B2, "seSetDay_B2");
    find(spDate_E, "spDate_E");
    find(seSetDay_E1, "seSetDay_E1");
    find(cboSetDay_E1, "cboSetDay_E1");
    find(cboSetDay_E2, "cboSetDay_E2");
    find(seSetDay_E2, "seSetDay_E2");
    find(btnOk, "btnOk");
    single_ = {edSetDate, seSetDay1, cboSetDay1, cboSetDay2, seSetDay2};
    begin_ = {spDate_B, seSetDay_B1, cboSetDay_B1, cboSetDay_B2, seSetDay_B2};
    end_ = {spDate_E, seSetDay_E1, cboSetDay_E1, cboSetDay_E2, seSetDay_E2};
    // The title and the date fields are the window's texts, in the
    // interface's script already: the dialog converts its own designed texts
    // before it takes them in, so that they are not converted a second time
    // (稽核 would turn 稽覈).
    ConvertOnce();
    SetCaption(owner->Caption());
    // The name field stops where the server's field does, as the user types.
    LimitEditBytes(edConName, MaxNameBytes, nameCodePage());
    buildRules(dateFields, notDates);
}

QString TfrmGeneCondition::SchemeName() const
{
    return edConName->Text().trimmed();
}

int TfrmGeneCondition::nameCodePage() const
{
    const int codePage = base_->HvConverter() ? base_->HvConverter()->DBCodePage().toInt() : 0;
    return codePage ? codePage : 936;
}

QStringList& TfrmGeneCondition::DateRuleList()
{
    return base_->DateRuleList();
}

QString TfrmGeneCondition::partOf(const RuleControls& c)
{
    return yn(c.moves->Checked()) + sep + QString::number(c.offset->Value()) + sep
        + QString::number(std::max(0, c.unit->ItemIndex())) + sep
        + QString::number(std::max(0, c.anchor->ItemIndex())) + sep + QString::number(c.days->Value());
}

void TfrmGeneCondition::setPart(const RuleControls& c, const QStringList& fields, int first)
{
    c.moves->SetChecked(fields.value(first - 1) == u"Y");
    c.offset->SetValue(fields.value(first).trimmed().toInt());
    c.unit->SetItemIndex(fields.value(first + 1).trimmed().toInt());
    c.anchor->SetItemIndex(fields.value(first + 2).trimmed().toInt());
    c.days->SetValue(fields.value(first + 3).trimmed().toInt());
}

QString TfrmGeneCondition::rangeRecord(const QString& name) const
{
    return QStringLiteral("0") + sep + name + sep + partOf(begin_) + sep + partOf(end_) + sep + u'D';
}

QString TfrmGeneCondition::singleRecord(const QString& name, const QString& kind) const
{
    return QStringLiteral("1") + sep + name + sep + partOf(single_) + sep + kind;
}

QString TfrmGeneCondition::captionOf(TComponent* edit, const Variant& optionTexts) const
{
    // The option text that names the edit, its own caption, the caption of
    // the label that focuses it, or at last its name.
    for (int i = optionTexts.LowBound(); optionTexts.IsArray() && i <= optionTexts.HighBound(); ++i) {
        const Variant& entry = optionTexts[i];
        if (entry.IsArray() && entry.HighBound() >= entry.LowBound() + 1
            && entry[entry.LowBound() + 1].ToString().compare(edit->Name(), Qt::CaseInsensitive) == 0)
            return entry[entry.LowBound()].ToString();
    }
    const QMetaProperty caption
        = edit->metaObject()->property(edit->metaObject()->indexOfProperty("Caption"));
    if (caption.isValid())
        return caption.read(edit).toString();
    for (TComponent* c : base_->ComponentList()) {
        if (auto* label = qobject_cast<TLabel*>(c); label && label->FocusControl() == edit)
            return label->Caption();
    }
    return edit->Name();
}

void TfrmGeneCondition::buildRules(const QString& dateFields, int notDates)
{
    for (TComboBox* c : {cboSetDay1, cboSetDay2, cboSetDay_B1, cboSetDay_B2, cboSetDay_E1, cboSetDay_E2})
        c->SetItemIndex(0);
    DateRuleList().clear();
    Variant optionTexts = Variant::CreateArray(1, std::max(1, base_->OptionCount()));
    try {
        base_->PutTitleInfo(optionTexts);
    } catch (const Exception&) {
        optionTexts = Variant(); // the captions then come from the controls
    }
    const QStringList names = dateFields.split(u',');
    const qsizetype count = names.size() - notDates;
    cbodatecondition->Items()->Clear();
    for (qsizetype k = 0; k < count; ++k) {
        const QString name = names.at(k).trimmed();
        TComponent* component = name.isEmpty() ? nullptr : base_->FindComponent(name);
        if (!component)
            continue;
        if (auto* panel = qobject_cast<TSelectPanel*>(component)) {
            cbodatecondition->Items()->Add(panel->Caption());
            DateRuleList() << rangeRecord(name);
        } else {
            cbodatecondition->Items()->Add(captionOf(component, optionTexts));
            DateRuleList() << singleRecord(name, QStringLiteral("D"));
        }
    }
    const bool any = cbodatecondition->Items()->Count() > 0;
    gbDateFields->SetEnabled(any);
    if (any) {
        cbodatecondition->SetItemIndex(0);
        LoadItem(0);
    }
}

QString TfrmGeneCondition::kindOf(int index) const
{
    const QStringList fields = base_->DateRuleList().value(index).split(sep);
    return fields.isEmpty() ? QString() : fields.last();
}

void TfrmGeneCondition::LoadItem(int index)
{
    const QStringList fields = DateRuleList().value(index).split(sep);
    if (fields.size() < 2)
        return;
    const bool range = fields.value(0) == u"0";
    pnSp->SetVisible(range);
    pnEdit->SetVisible(!range);
    loading_ = true;
    const QString kind = fields.last();
    if (range) {
        setPart(begin_, fields, 3);
        applyRules(begin_, kind, false);
        setPart(end_, fields, 8);
        applyRules(end_, kind, true);
    } else {
        setPart(single_, fields, 3);
        applyRules(single_, kind, false);
    }
    loading_ = false;
    writeBack();
}

void TfrmGeneCondition::applyRules(const RuleControls& c, const QString& kind, bool end)
{
    const bool moves = c.moves->Checked();
    if (kind == u"D") {
        c.offset->SetEnabled(moves);
        c.unit->SetEnabled(moves);
        c.anchor->SetEnabled(moves);
        c.days->SetEnabled(moves && c.anchor->ItemIndex() <= 0);
    } else {
        // Other kinds move by the offset only; an end date then counts months.
        c.offset->SetEnabled(moves);
        c.unit->SetEnabled(false);
        c.anchor->SetEnabled(false);
        c.days->SetEnabled(false);
        if (end)
            c.unit->SetItemIndex(1);
    }
}

void TfrmGeneCondition::writeBack()
{
    const int index = cbodatecondition->ItemIndex();
    if (index < 0 || index >= DateRuleList().size())
        return;
    const QStringList old = DateRuleList().at(index).split(sep);
    const QString name = old.value(1);
    if (old.value(0) == u"0")
        DateRuleList()[index] = rangeRecord(name);
    else
        DateRuleList()[index] = singleRecord(name, old.value(7, QStringLiteral("D")));
}

void TfrmGeneCondition::cbodateconditionChange(TObject*)
{
    LoadItem(cbodatecondition->ItemIndex());
}

void TfrmGeneCondition::RuleChange(TObject*)
{
    if (loading_)
        return;
    const QString kind = kindOf(cbodatecondition->ItemIndex());
    if (pnSp->Visible()) {
        applyRules(begin_, kind, false);
        applyRules(end_, kind, true);
    } else {
        applyRules(single_, kind, false);
    }
    writeBack();
}

void TfrmGeneCondition::RuleClick(TObject* Sender)
{
    RuleChange(Sender);
}

void TfrmGeneCondition::btnOkClick(TObject*)
{
    const QString name = SchemeName();
    auto refuse = [this](const char* key, const char* text) {
        Dialogs().MessageDlg(GetFormMessage(QStringLiteral("TfrmGeneCondition"), QString::fromLatin1(key),
                                 true, QString::fromUtf8(text)),
            mtError, mbOK, Caption());
        edConName->SetFocus();
    };
    if (name.isEmpty()) {
        refuse("sEmptyProjName", "方案名不可空白!");
        return;
    }
    // The field stops at the limit as the user types; a name that still
    // does not fit (one put there by other means) is refused here, where it
    // can be mended.
    if (ByteLength(name, nameCodePage()) > MaxNameBytes) {
        refuse("sProjNameError", "方案名长度不可大于20!");
        return;
    }
    Variant rows;
    const bool exists = base_->ValidatorQuery(QStringLiteral("GENES"), QStringLiteral("01"),
        Variant::ArrayOf({name, base_->UserCode(), base_->ProgramCode()}), rows);
    if (exists) {
        const QString question
            = GetFormMessage(QStringLiteral("TfrmGeneCondition"), QStringLiteral("sReplaceProj"), true,
                QStringLiteral("此方案名已存在！是否将原来的方案替换为此方案?"));
        if (Dialogs().MessageDlg(question, mtConfirmation, TMsgDlgButtons(mbYes) | mbNo, Caption())
            != mrYes) {
            edConName->SetFocus();
            return;
        }
        replaceExisting_ = true;
    }
    SetModalResult(mrOk);
}

void TfrmGeneCondition::FormKeyDown(TObject*, Word& Key, TShiftState Shift)
{
    if (Key != VK_RETURN || ActiveControl() == btnOk || (Shift & (ssCtrl | ssAlt)))
        return;
    // A name typed and Enter pressed: that is 确定.
    if (ActiveControl() == edConName) {
        Key = 0;
        btnOk->Click();
        return;
    }
    // Enter moves on, as everywhere in the criteria forms.
    QList<TWinControl*> chain;
    std::function<void(TWinControl*)> collect = [&](TWinControl* parent) {
        for (TWinControl* c : parent->TabList()) {
            if (!c->Visible() || !c->Enabled())
                continue;
            if (c->ControlCount() == 0)
                chain << c;
            else
                collect(c);
        }
    };
    collect(this);
    const qsizetype at = chain.indexOf(ActiveControl());
    if (at >= 0 && !chain.isEmpty()) {
        chain.at((at + 1) % chain.size())->SetFocus();
        Key = 0;
    }
}
