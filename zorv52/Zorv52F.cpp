#include "zorv52/Zorv52F.h"

#include "common/VariantElements.h"
#include "controls/ExtPage.h"
#include "controls/F2Button.h"
#include "criteria/SelectPnl.h"
#include "runtime/forms/ComCtrls.h"
#include "runtime/forms/Dialogs.h"
#include "runtime/forms/StdCtrls.h"
#include "zorv52/ChangeSlipCriteria.h"
#include "zorv52/ChangeSlipQuery.h"
#include "zorv52/SlipTypeQueries.h"
#include "zorv52/Zorv52FmtF.h"

static void initZorv52Resources()
{
    Q_INIT_RESOURCE(zorv52);
}

namespace {

std::function<std::unique_ptr<IVRFormatForm>(TComponent*)>& formatCreator()
{
    static std::function<std::unique_ptr<IVRFormatForm>(TComponent*)> create = CreateZorv52Format;
    return create;
}

// Panel edit lengths: slip numbers have 11 characters, versions 4.
constexpr int SlipNumberLength = 11;
constexpr int VersionLength = 4;
constexpr int SlipTypeLength = 4;

bool isRangeMarker(const QString& text)
{
    return text.size() == 1 && (text.at(0) == QChar(4) || text.at(0) == QChar(5));
}

} // namespace

TFormatClass Zorv52FormatClass()
{
    return {QStringLiteral("TfrmZorv52Fmt"), formatCreator()};
}

void RegisterZorv52Format(std::function<std::unique_ptr<IVRFormatForm>(TComponent*)> create)
{
    formatCreator() = std::move(create);
}

TfrmZorv52::TfrmZorv52(TComponent* owner)
    : TfrmVROpt(owner)
{
    initZorv52Resources();
    ReadFormResource(this, QStringLiteral(":/forms/TfrmZorv52.dfm"));
    lblTO001Caption = FindComponent<TLabel>(QStringLiteral("lblTO001Caption"));
    edTO001 = FindComponent<TEdit>(QStringLiteral("edTO001"));
    btnTA001 = FindComponent<TF2Button>(QStringLiteral("btnTA001"));
    lblTO001 = FindComponent<TLabel>(QStringLiteral("lblTO001"));
    spTO002 = FindComponent<TSelectPanel>(QStringLiteral("spTO002"));
    spTO003 = FindComponent<TSelectPanel>(QStringLiteral("spTO003"));
    spTO004 = FindComponent<TSelectPanel>(QStringLiteral("spTO004"));
    spTO043 = FindComponent<TSelectPanel>(QStringLiteral("spTO043"));
    tsOption3 = FindComponent<TTabSheet>(QStringLiteral("tsOption3"));
    cboTO041 = FindComponent<TComboBox>(QStringLiteral("cboTO041"));
    cboTO042 = FindComponent<TComboBox>(QStringLiteral("cboTO042"));
    ChkPricePower = FindComponent<TCheckBox>(QStringLiteral("ChkPricePower"));
    if (!edTO001 || !lblTO001 || !spTO002 || !spTO003 || !spTO004 || !spTO043 || !cboTO041 || !cboTO042
        || !ChkPricePower || !tsOption3)
        throw EComponentError(QStringLiteral("TfrmZorv52: the form description lacks its criteria"));
    // The advanced page reads between the basic and the system page: the
    // pages inherited after the basic one move behind it.
    for (TTabSheet* page : {tsOption2, tsFEP}) {
        page->SetParent(nullptr);
        page->SetParent(pgOption);
    }
    SetVersionStamp(QStringLiteral("890911-1.4.1.1"));
}

void TfrmZorv52::SetupEnvironment()
{
    TfrmVROpt::SetupEnvironment();
    SetFormatClass(Zorv52FormatClass());
    MainTable = QString(ChangeSlipMainTable);
    SetDateFields(QStringLiteral("spTO004,spTO043"));
    SetProgramOptionCount(ChangeSlipOptionCount);
    edTO001->SetMaxLength(SlipTypeLength);
    spTO002->edBegin->SetMaxLength(SlipNumberLength);
    spTO002->edFinal->SetMaxLength(SlipNumberLength);
    spTO003->edBegin->SetMaxLength(VersionLength);
    spTO003->edFinal->SetMaxLength(VersionLength);
    cboTO041->SetItemIndex(0);
    cboTO042->SetItemIndex(1);
    for (TWinControl* control :
        {static_cast<TWinControl*>(spTO043), static_cast<TWinControl*>(ChkPricePower)})
        if (!PageEndControls().contains(control))
            PageEndControls() << control;
    SendWayTable = QString(ChangeSlipSendWayTable);
    SendCountColumn = QString(ChangeSlipSendCountColumn);
}

void TfrmZorv52::ApplyRights()
{
    TfrmVROpt::ApplyRights();
    ChkPricePower->SetChecked(PriceRight());
    ChkPricePower->SetEnabled(PriceRight());
}

bool TfrmZorv52::PutTitleInfo(Variant& texts)
{
    if (!TfrmVROpt::PutTitleInfo(texts))
        return false;
    const QStringList columns = ChangeSlipOptionTexts();
    for (int i = 0; i < columns.size(); ++i)
        texts[i + 1] = columns.at(i);
    return true;
}

Variant TfrmZorv52::panelValue(TSelectPanel* panel) const
{
    Variant slot = Variant::CreateArray(1, 1);
    PanelValueToVariant(panel, slot, 1);
    return slot[1];
}

Variant TfrmZorv52::storageDates(TSelectPanel* panel) const
{
    Variant value = panelValue(panel);
    if (!value.IsArray())
        return value.IsEmptyOrNull() ? value : Variant(DateToStorage(value.ToString()));
    for (int i = value.LowBound(); i <= value.HighBound(); ++i) {
        const QString text = value[i].ToString();
        if (!value[i].IsArray() && !isRangeMarker(text))
            value[i] = DateToStorage(text);
    }
    return value;
}

bool TfrmZorv52::PutPrintDate(Variant& values)
{
    if (!TfrmVROpt::PutPrintDate(values))
        return false;
    if (edTO001->Text().trimmed().isEmpty()) {
        // The message names the field by its caption: the name label is
        // empty while no slip type is chosen.
        ShowCodedMessage(QStringLiteral("E"), QStringLiteral("000003"), {lblTO001Caption->Caption()});
        pgOption->SetActivePage(tsOption1);
        edTO001->SetFocus();
        return false;
    }
    try {
        TChangeSlipInputs inputs;
        inputs.SlipType = edTO001->Text().trimmed();
        inputs.SlipNumber = panelValue(spTO002);
        inputs.Version = panelValue(spTO003);
        inputs.ChangeDate = storageDates(spTO004);
        inputs.ApprovalDate = storageDates(spTO043);
        inputs.ApprovalItem = cboTO041->ItemIndex();
        inputs.PrintItem = cboTO042->ItemIndex();
        return FillChangeSlipOptionValues(values, inputs);
    } catch (const Exception&) {
        return false;
    }
}

bool TfrmZorv52::ValidateSlipType()
{
    const QString slipType = edTO001->Text().trimmed();
    Variant row;
    if (!RunPredefinedQuery(SlipTypeCheckQuery(slipType), row)) {
        ShowCodedMessage(QStringLiteral("E"), QStringLiteral("100007"));
        edTO001->SetText(QString());
        lblTO001->SetCaption(QString());
        edTO001->SetFocus();
        return false;
    }
    SlipTypeKey = SlipTypeKeyOfRow(row);
    Variant settings;
    LoadSlipTypeSettings(slipType, false, settings);
    if (settings.IsEmptyOrNull()) {
        edTO001->SetText(QString());
        lblTO001->SetCaption(QString());
    } else if (settings.IsArray()) {
        lblTO001->SetCaption(ElementText(settings, 0)); // the slip type's name
    } else {
        lblTO001->SetCaption(QString());
    }
    return true;
}

void TfrmZorv52::edTO001Exit(TObject*)
{
    if (edTO001->Text().trimmed().isEmpty())
        lblTO001->SetCaption(QString());
    else
        ValidateSlipType();
}

void TfrmZorv52::OpenLookup(Word key, TWinControl* control)
{
    if (control == edTO001) {
        const TPredefinedQuery q = SlipTypeLookupQuery(edTO001->Text().trimmed());
        const Variant answer = GetLookupData(q.Table, q.Params, false, q.Number);
        Variant row = ElementAt(answer, answer.IsArray() ? answer.LowBound() : 0);
        const QString chosen = row.IsArray() ? ElementText(row, 0) : ElementText(answer, 0);
        if (!chosen.isEmpty()) {
            edTO001->SetText(chosen);
            ValidateSlipType();
        }
        return;
    }
    for (TSelectPanel* dates : {spTO004, spTO043}) {
        // Either date of a date panel (F2 in it, or its button) takes the quick-pick.
        if (control && (control == dates->edBegin || control == dates->edFinal)) {
            PickDate(static_cast<TCustomEdit*>(control));
            return;
        }
    }
    if (control && (control->Owner() == spTO002 || control->Parent() == spTO002)) {
        const TPredefinedQuery q = SlipNumberLookupQuery(edTO001->Text().trimmed());
        FillPanelFromLookup(control, q.Table, q.Params, false, q.Number);
        return;
    }
    TfrmVROpt::OpenLookup(key, control);
}

void TfrmZorv52::BuildQuery(int mode, const Variant& values, Variant& sql)
{
    TfrmVROpt::BuildQuery(mode, values, sql);
    TChangeSlipQuery(SqlType).BuildQuery(mode, values, Pieces());
}

void TfrmZorv52::AdjustQuery(Variant& sql)
{
    TQuerySettings settings = QuerySettings();
    sql = TChangeSlipQuery(SqlType).AdjustQuery(Pieces(), settings);
}

bool TfrmZorv52::PrintKeys(const Variant& keys, bool preview)
{
    SlipTypeKey = SlipTypeKeyOfKeys(keys);
    return TfrmVROpt::PrintKeys(keys, preview);
}

void TfrmZorv52::BeforeOutput(IVRFormatForm* format)
{
    TfrmVROpt::BeforeOutput(format);
    // Prices print only for a user who holds the right and asks for them;
    // the right is asked again here, as a scheme may have ticked the box.
    if (format && (!PriceRight() || !ChkPricePower->Checked()))
        for (const QString& field : ChangeSlipPriceFields())
            format->ClearField(field);
}

void TfrmZorv52::AfterRestoreControl(TComponent* control, const QString& line)
{
    TfrmVROpt::AfterRestoreControl(control, line);
    if (control == ChkPricePower && !PriceRight())
        ChkPricePower->SetChecked(false);
}
