#include "options/VROptF.h"

#include "common/VariantElements.h"
#include "controls/F2Button.h"
#include "runtime/forms/Mask.h"
#include "runtime/forms/StdCtrls.h"
#include "runtime/system/ArgReader.h"

static void initVROptResources()
{
    Q_INIT_RESOURCE(options);
}

namespace {

// Longest footer or sign-off line the layout prints.
constexpr int SignLineLimit = 255;

} // namespace

TfrmVROpt::TfrmVROpt(TComponent* owner)
    : TfrmVRBaseOpt(owner)
{
    initVROptResources();
    ReadFormResource(this, QStringLiteral(":/forms/TfrmVROpt.dfm"));
    grpNote = FindComponent<TGroupBox>(QStringLiteral("grpNote"));
    edtNoteID = FindComponent<TEdit>(QStringLiteral("edtNoteID"));
    btnNote = FindComponent<TF2Button>(QStringLiteral("btnNote"));
    edtNote1 = FindComponent<TEdit>(QStringLiteral("edtNote1"));
    edtNote2 = FindComponent<TEdit>(QStringLiteral("edtNote2"));
    edtNote3 = FindComponent<TEdit>(QStringLiteral("edtNote3"));
    grpSignIn = FindComponent<TGroupBox>(QStringLiteral("grpSignIn"));
    edtSignInID = FindComponent<TEdit>(QStringLiteral("edtSignInID"));
    btnSignIn = FindComponent<TF2Button>(QStringLiteral("btnSignIn"));
    edtSignIn1 = FindComponent<TEdit>(QStringLiteral("edtSignIn1"));
    edtSignIn2 = FindComponent<TEdit>(QStringLiteral("edtSignIn2"));
    edtSignIn3 = FindComponent<TEdit>(QStringLiteral("edtSignIn3"));
    chkNoteEPPrint = FindComponent<TCheckBox>(QStringLiteral("chkNoteEPPrint"));
    chkSignInEPPrint = FindComponent<TCheckBox>(QStringLiteral("chkSignInEPPrint"));
    chkTotalPrint = FindComponent<TCheckBox>(QStringLiteral("chkTotalPrint"));
    if (!grpNote || !edtNoteID || !edtNote3 || !grpSignIn || !edtSignInID || !edtSignIn3 || !chkTotalPrint)
        throw EComponentError(
            QStringLiteral("TfrmVROpt: the form description lacks its footer and sign-off"));
}

TfrmVROpt::Block TfrmVROpt::block(TSignBlockKind kind) const
{
    if (kind == SignBlockFooter)
        return {kind, grpNote, edtNoteID, btnNote, {edtNote1, edtNote2, edtNote3}, chkNoteEPPrint};
    return {kind, grpSignIn, edtSignInID, btnSignIn, {edtSignIn1, edtSignIn2, edtSignIn3}, chkSignInEPPrint};
}

void TfrmVROpt::SetupEnvironment()
{
    TfrmVRBaseOpt::SetupEnvironment();
    for (TSignBlockKind kind : {SignBlockFooter, SignBlockSignOff})
        for (TEdit* line : block(kind).Lines)
            line->SetMaxLength(SignLineLimit);
    chkTotalPrint->SetChecked(false);
    chkTotalPrint->SetEnabled(false);
    KeyMode = false;
    ExportMode = false;
}

bool TfrmVROpt::loadBlock(TSignBlockKind kind, const QString& code, bool showMessages)
{
    const Block b = block(kind);
    b.Code->SetText(QString());
    for (TEdit* line : b.Lines)
        line->SetText(QString());
    if (code.isEmpty())
        return true;
    Variant row;
    if (RunPredefinedQuery(SignBlockQuery(kind, code), row)) {
        b.Code->SetText(code);
        for (int i = 0; i < 3; ++i)
            b.Lines[i]->SetText(ElementText(row, i + 1));
        return true;
    }
    if (!showMessages)
        return true;
    // The block's name is a resource text ("R;100235"); the code itself
    // stands in when the manager cannot give it.
    const QString name = SignBlockNameResource(kind);
    QString resource;
    try {
        if (!HostObject().IsEmptyOrNull())
            resource = HostObject()
                           .Call(QStringLiteral("GetMessage"), {QStringLiteral("R"), name.mid(2)})
                           .ToString();
    } catch (const Exception&) {
        resource.clear();
    }
    ShowCodedMessage(QStringLiteral("W"), QStringLiteral("000004"), {resource.isEmpty() ? name : resource});
    return false;
}

bool TfrmVROpt::LoadFooter(const QString& code, bool showMessages)
{
    return loadBlock(SignBlockFooter, code, showMessages);
}

bool TfrmVROpt::LoadSignOff(const QString& code, bool showMessages)
{
    return loadBlock(SignBlockSignOff, code, showMessages);
}

void TfrmVROpt::enableBlock(TSignBlockKind kind, bool enabled)
{
    const Block b = block(kind);
    b.Group->SetEnabled(enabled);
    b.Code->SetColor(enabled ? clWindow : clBtnFace);
    b.Code->SetEnabled(enabled);
    if (b.Button)
        b.Button->SetEnabled(enabled);
    for (TEdit* line : b.Lines)
        line->SetEnabled(enabled);
    if (b.EveryPage)
        b.EveryPage->SetEnabled(enabled);
}

void TfrmVROpt::applyPlan(const TSlipTypePlan& plan, bool showMessages)
{
    // The slip type's format, else the program's default, else the built-in
    // layout: a format the list lacks is passed over, never left standing.
    QStringList formats;
    if (plan.Format)
        formats << *plan.Format;
    if (plan.FallbackFormat)
        formats << *plan.FallbackFormat;
    SelectFirstFormat(formats);
    if (plan.FormatBoxEnabled)
        cboFormStyleName->SetEnabled(*plan.FormatBoxEnabled);
    if (plan.FooterEveryPage)
        chkNoteEPPrint->SetChecked(*plan.FooterEveryPage);
    if (plan.SignOffEveryPage)
        chkSignInEPPrint->SetChecked(*plan.SignOffEveryPage);
    chkTotalPrint->SetEnabled(plan.TotalEnabled);
    chkTotalPrint->SetChecked(plan.TotalChecked);
    const std::pair<TSignBlockKind, const std::optional<TSignBlockPlan>*> blocks[]
        = {{SignBlockFooter, &plan.Footer}, {SignBlockSignOff, &plan.SignOff}};
    for (const auto& [kind, blockPlan] : blocks) {
        if (!*blockPlan)
            continue;
        loadBlock(kind, QString(), false);
        loadBlock(kind, (*blockPlan)->Code, showMessages);
        enableBlock(kind, (*blockPlan)->Editable);
    }
}

void TfrmVROpt::LoadSlipTypeSettings(const QString& slipType, bool showMessages, Variant& row)
{
    CurrentSlipType = slipType;
    row = Variant();
    std::optional<Variant> slipRow;
    if (!slipType.isEmpty()) {
        Variant found;
        if (RunPredefinedQuery(SlipTypeSettingsQuery(slipType, KeyMode, SlipTypeKey), found))
            slipRow = found;
        else
            ShowCodedMessage(QStringLiteral("E"), QStringLiteral("100007"));
    }
    std::optional<Variant> programRow;
    Variant program;
    if ((slipType.isEmpty() || slipRow) && RunPredefinedQuery(ProgramSettingsQuery(ProgramCode()), program))
        programRow = program;
    const TSlipTypePlan plan = PlanSlipTypeSettings(slipType, slipRow, programRow);
    if (plan.Known) {
        applyPlan(plan, showMessages);
        row = plan.Row;
        SlipTypeExtra = plan.SlipTypeExtra;
        // The slip type's own name (element 0 of its row) titles its slips.
        SlipTypeName = slipRow ? ElementText(*slipRow, 0).trimmed() : QString();
    }
    // A key print keeps the format the slip type names; everything else
    // takes the user's own default for the slip type, when the list holds
    // it (a default whose format is gone leaves the slip type's choice).
    if (!(KeyMode && !ExportMode)) {
        const QString own = LookupDefaultFormat(slipType);
        if (own.compare(QLatin1String("<New>"), Qt::CaseInsensitive) != 0)
            SelectFormat(own);
    }
}

void TfrmVROpt::SignCodeEnter(TObject* Sender)
{
    if (auto* edit = qobject_cast<TEdit*>(Sender))
        codeOnEntry_ = edit->Text();
}

void TfrmVROpt::SignCodeExit(TObject* Sender)
{
    auto* edit = qobject_cast<TEdit*>(Sender);
    if (!edit || edit->Text() == codeOnEntry_)
        return;
    const TSignBlockKind kind = edit == edtNoteID ? SignBlockFooter : SignBlockSignOff;
    const QString code = edit->Text();
    if (!loadBlock(kind, code, true)) {
        edit->SetText(code);
        edit->SetFocus();
    }
}

void TfrmVROpt::OpenLookup(Word key, TWinControl* control)
{
    if (control != edtNoteID && control != edtSignInID) {
        TfrmVRBaseOpt::OpenLookup(key, control);
        return;
    }
    const TSignBlockKind kind = control == edtNoteID ? SignBlockFooter : SignBlockSignOff;
    const Variant answer
        = GetLookupData(QStringLiteral("CMSMS"), Variant(QString::number(kind)), false, QStringLiteral("01"));
    Variant row = ElementAt(answer, answer.IsArray() ? answer.LowBound() : 0);
    if (!row.IsArray())
        row = answer;
    if (!row.IsArray())
        return;
    const Block b = block(kind);
    b.Code->SetText(ElementText(row, 0));
    codeOnEntry_ = b.Code->Text();
    for (int i = 0; i < 3; ++i)
        b.Lines[i]->SetText(ElementText(row, i + 2));
}

bool TfrmVROpt::PrintKeys(const Variant& keys, bool preview)
{
    KeyMode = true;
    Variant row;
    LoadSlipTypeSettings(ElementText(keys, 0), true, row);
    if (row.IsEmptyOrNull() || (!row.IsArray() && row.ToString().isEmpty()))
        return false;
    return TfrmVRBaseOpt::PrintKeys(keys, preview);
}

bool TfrmVROpt::ExportPictures(
    const Variant& keys, int kind, const QString& extra, const QString& prefix, int resolution)
{
    // Without keys the window's own criteria choose the slips.
    if (!HasElements(keys))
        return TfrmVRBaseOpt::ExportPictures(keys, kind, extra, prefix, resolution);
    KeyMode = true;
    ExportMode = true;
    Variant row;
    LoadSlipTypeSettings(ElementText(keys, 0), false, row);
    if (row.IsEmptyOrNull() || (!row.IsArray() && row.ToString().isEmpty()))
        return false;
    return TfrmVRBaseOpt::ExportPictures(keys, kind, extra, prefix, resolution);
}

void TfrmVROpt::BeforeOutput(IVRFormatForm* format)
{
    auto* slip = dynamic_cast<IVRSlipFormat*>(format);
    if (!slip)
        return;
    slip->SetSlipType(CurrentSlipType);
    // Only this exact code hands the sign-off to the workflow product.
    const bool workflow = IsWorkflowSignOff(edtSignInID->Text());
    slip->SetWorkflowSignOff(workflow, workflow ? ProgramCode() : QString());
    // The slip name beside the title: the slip type's extra text when it has
    // one, else its name ("工单变更单(厂内工单变更单)").
    slip->SetText(0, SlipTypeExtra.trimmed().isEmpty() ? SlipTypeName : SlipTypeExtra);
    slip->SetText(1, DateToStorage(edPrintDate->Text()));
    slip->SetEveryPage(chkSignInEPPrint->Checked(), chkNoteEPPrint->Checked(), chkTotalPrint->Checked());
    slip->SetFooterLines({edtNote1->Text(), edtNote2->Text(), edtNote3->Text()});
    slip->SetSignOffLines({edtSignIn1->Text(), edtSignIn2->Text(), edtSignIn3->Text()});
}
