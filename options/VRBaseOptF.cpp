// The options window's set-up, rights, delivery choice and format list.
// Running format forms lives in VRBaseOptRun.cpp.

#include "options/VRBaseOptF.h"

#include "common/LibDates.h"
#include "common/PowerData.h"
#include "common/StewardINI.h"
#include "common/VariantElements.h"
#include "common/forms/LibCodeConvert.h"
#include "controls/BtChkBox.h"
#include "controls/ExtPage.h"
#include "criteria/SelectPnl.h"
#include "options/FormatList.h"
#include "options/OptionRights.h"
#include "options/SendStatus.h"
#include "options/ShellArguments.h"
#include "options/TypedAddress.h"
#include "options/UserDefIni.h"
#include "runtime/forms/Buttons.h"
#include "runtime/forms/ComCtrls.h"
#include "runtime/forms/Dialogs.h"
#include "runtime/forms/Mask.h"
#include "runtime/forms/StdCtrls.h"
#include "runtime/system/ArgReader.h"
#include "runtime/system/DateTime.h"
#include "runtime/system/IniFile.h"

#include <QPrinterInfo>
#include <QRegularExpression>

static void initOptionsResources()
{
    Q_INIT_RESOURCE(options);
}

namespace {

// The colour of an address the user must type (light yellow, as every
// required field) and of one that is not asked for.
constexpr int TypedAddressColour = 0xAFFFFF;
constexpr int UnusedAddressColour = 0xFFFFFF;
// Longest format name the box takes.
constexpr int FormatNameLimit = 20;

} // namespace

TfrmVRBaseOpt::TfrmVRBaseOpt(TComponent* owner)
    : TfrmBaseGene(owner)
{
    initOptionsResources();
    ReadFormResource(this, QStringLiteral(":/forms/TfrmVRBaseOpt.dfm"));
    bindOptionChildren();
    readClientComponents();
    SetProgramOptionCount(0);
    PrinterNames = [] { return QPrinterInfo::availablePrinterNames(); };
}

TfrmVRBaseOpt::~TfrmVRBaseOpt()
{
    // A designer still open is switched off before the window goes.
    if (designForm_)
        designForm_->EndDesign();
}

void TfrmVRBaseOpt::bindOptionChildren()
{
    btnPreview = FindComponent<TButton>(QStringLiteral("btnPreview"));
    btnDesign = FindComponent<TButton>(QStringLiteral("btnDesign"));
    btnPrintSetup = FindComponent<TButton>(QStringLiteral("btnPrintSetup"));
    btnPaperSize = FindComponent<TButton>(QStringLiteral("btnPaperSize"));
    lblFormStyleName = FindComponent<TLabel>(QStringLiteral("lblFormStyleName"));
    cboFormStyleName = FindComponent<TComboBox>(QStringLiteral("cboFormStyleName"));
    btnDelFormStype = FindComponent<TSpeedButton>(QStringLiteral("btnDelFormStype"));
    lblDateType = FindComponent<TLabel>(QStringLiteral("lblDateType"));
    cboDateType = FindComponent<TComboBox>(QStringLiteral("cboDateType"));
    tsFEP = FindComponent<TTabSheet>(QStringLiteral("tsFEP"));
    rgSendType = FindComponent<TRadioGroup>(QStringLiteral("rgSendType"));
    cboSendStatus = FindComponent<TComboBox>(QStringLiteral("cboSendStatus"));
    cboSendWay = FindComponent<TComboBox>(QStringLiteral("cboSendWay"));
    lblFaxEmail = FindComponent<TLabel>(QStringLiteral("lblFaxEmail"));
    edtFaxEmailData = FindComponent<TEdit>(QStringLiteral("edtFaxEmailData"));
    moPaperSize = FindComponent<TMemo>(QStringLiteral("moPaperSize"));
    moUnits = FindComponent<TMemo>(QStringLiteral("moUnits"));
    if (!btnPreview || !btnDesign || !cboFormStyleName || !cboDateType || !tsFEP || !rgSendType
        || !cboSendStatus || !cboSendWay || !edtFaxEmailData || !moPaperSize || !moUnits || !btnDelFormStype)
        throw EComponentError(QStringLiteral("TfrmVRBaseOpt: the form description lacks its options"));
}

void TfrmVRBaseOpt::readClientComponents()
{
    TStewardIniC client;
    client.LoadSettings();
    QString file = client.ProfilePath + QStringLiteral("\\StewardC.ini");
    while (file.contains(QLatin1String("\\\\")))
        file.replace(QLatin1String("\\\\"), QLatin1String("\\"));
    const TIniFile ini(file);
    RTBuilderDataPath
        = ini.ReadString(QStringLiteral("Client Components"), QStringLiteral("RTBuilderDataPath"), QString())
              .trimmed();
    if (!RTBuilderDataPath.endsWith(u'\\'))
        RTBuilderDataPath += u'\\';
    // The format store puts its file names right after this folder.
    CustomFormatPath
        = ini.ReadString(QStringLiteral("Client Components"), QStringLiteral("CustomFormatPath"), QString())
              .trimmed();
    if (!CustomFormatPath.isEmpty()) {
        // A folder of this system ("/srv/formats") stands as it is; a
        // Windows text resolves as the configuration's folders do.
        if (!CustomFormatPath.startsWith(u'/'))
            CustomFormatPath = ResolvePath(CustomFormatPath, client.HomePath);
        if (!CustomFormatPath.endsWith(u'\\') && !CustomFormatPath.endsWith(u'/'))
            CustomFormatPath += u'\\';
    }
    SqlBuilderEnabled
        = ini.ReadBool(QStringLiteral("Client Components"), QStringLiteral("SQLBuilderEnabled"), true);
    DataRightsEnabled = true;
}

void TfrmVRBaseOpt::SetProgramOptionCount(int count)
{
    programOptions_ = count;
    SetOptionCount(count + 2);
}

QString TfrmVRBaseOpt::Text(const char* name, const char* chinese) const
{
    return GetFormMessage(
        QStringLiteral("TfrmVRBaseOpt"), QString::fromLatin1(name), true, QString::fromUtf8(chinese));
}

QString TfrmVRBaseOpt::ToStorage(const QString& text) const
{
    return HvConverter() ? HvConverter()->ToDatabase(HvConverter()->FromDisplay(Variant(text))).ToString()
                         : text;
}

QString TfrmVRBaseOpt::ToDisplay(const QString& text) const
{
    return HvConverter() ? HvConverter()->ToDisplay(HvConverter()->FromDatabase(Variant(text))).ToString()
                         : text;
}

// --- set-up ----------------------------------------------------------------------------

void TfrmVRBaseOpt::SetupEnvironment()
{
    TfrmBaseGene::SetupEnvironment();
    SetOptionFlags(OptionFlags() | 1 | 2 | 4);
    // Taiwan's year count is offered only where the system does not forbid it.
    if (GetSysParam(QStringLiteral("Sys026")) == u"2" && cboDateType->Items()->Count() >= 5) {
        cboDateType->Items()->Delete(4);
        cboDateType->Items()->Delete(3);
    }
    const int style = DateFormatType() - 1;
    cboDateType->SetItemIndex(style < cboDateType->Items()->Count() ? style : 0);
    // The print date starts as today, in the user's style and separator.
    edPrintDate->SetText(DateStyle().FormatDate(datetime::Today()));
    SendWayTable.clear();
    SqlBuilderMode = true;
}

bool TfrmVRBaseOpt::ApplyParams(const Variant& params)
{
    const bool ok = TfrmBaseGene::ApplyParams(params);
    const TArgReader args(params);
    features_ = args.Text(4).toUpper().split(QRegularExpression(QStringLiteral("[,; ]")), Qt::SkipEmptyParts);
    const Variant server = ApplicationServer();
    if (!server.IsEmptyOrNull()) {
        try {
            connectRefusal_ = server
                                  .Call(QStringLiteral("Connect"),
                                      {Variant::ArrayOf({ProgramCode(), UserCode(), CompanyCode(),
                                          DatabaseName(), MainTable})})
                                  .ToString()
                                  .trimmed();
            PowerData = server.Get(QStringLiteral("PowerData"));
            SqlType = server.Get(QStringLiteral("SQLType")).ToInt();
        } catch (const Exception& e) {
            ReportError(QStringLiteral("E;000006;") + e.Message());
        }
    }
    rights_ = ElementText(PowerData, PowerDataRightsString);
    priceRight_ = ElementText(PowerData, PowerDataPriceRight).trimmed().toUpper() == u"Y";
    Variant company;
    if (RunPredefinedQuery(
            {QStringLiteral("CMSML"), QStringLiteral("01"), Variant::ArrayOf({CompanyCode()})}, company)) {
        const TArgReader row(company);
        for (int i = 0; i < row.Count(); ++i)
            CompanyInfo << row.Text(i);
    }
    if (!SqlBuilderEnabled)
        SqlBuilderMode = false;
    ApplyRights();
    InitPrintOptions();
    return ok;
}

void TfrmVRBaseOpt::showConnectRefusal()
{
    // The server's own words (who it does not know, whose password was
    // wrong, which company database is missing) in a red line across the top
    // of the window, and on the greyed buttons; no box that would hold a
    // window opened without a user in front of it.
    const QString text = ConnectRefusalText();
    if (!connectRefusalLabel_) {
        connectRefusalLabel_ = new TLabel(this);
        connectRefusalLabel_->SetName(QStringLiteral("lblConnectRefusal"));
        connectRefusalLabel_->SetParent(this);
        connectRefusalLabel_->SetAlign(alTop);
        connectRefusalLabel_->SetWordWrap(true);
        connectRefusalLabel_->Font()->SetColor(clRed);
    }
    connectRefusalLabel_->SetCaption(text);
    for (TControl* button : {static_cast<TControl*>(btnOk), static_cast<TControl*>(btnPreview)}) {
        button->SetHint(text);
        button->SetShowHint(true);
    }
}

QString TfrmVRBaseOpt::ConnectRefusalText() const
{
    return connectRefusal_.isEmpty()
        ? QString()
        : Text("sConnectRefused", "应用服务器拒绝登录: ") + ToDisplay(connectRefusal_);
}

void TfrmVRBaseOpt::SetParams(const Variant& params)
{
    // The shell may hand new arguments while the window lives; the window
    // keeps the ones it opened with (its connection is made for them), so
    // arguments for another user, company or database are refused.
    std::optional<TShellIdentity> opened;
    if (!CompanyCode().isEmpty())
        opened = TShellIdentity {UserCode(), CompanyCode(), DatabaseName()};
    CheckShellArguments(params, opened);
}

bool TfrmVRBaseOpt::RunPredefinedQueryRows(const TPredefinedQuery& query, Variant& rows) const
{
    const Variant validator = ValidatorObject();
    if (validator.IsEmptyOrNull())
        return false;
    Variant params = query.Params;
    if (HvConverter())
        params = HvConverter()->ToDatabase(HvConverter()->FromDisplay(params));
    try {
        Variant out;
        const bool found = validator
                               .Call(QStringLiteral("QueryData"),
                                   {query.Table, query.Number, DatabaseName(), params, Variant::Ref(out)})
                               .ToBool();
        if (!found)
            return false;
        rows = HvConverter() ? HvConverter()->ToDisplay(HvConverter()->FromDatabase(out)) : out;
        return true;
    } catch (const Exception&) {
        return false;
    }
}

bool TfrmVRBaseOpt::RunPredefinedQuery(const TPredefinedQuery& query, Variant& row) const
{
    Variant rows;
    if (!RunPredefinedQueryRows(query, rows))
        return false;
    row = ElementAt(rows, rows.IsArray() ? rows.LowBound() : 0);
    return row.IsArray();
}

void TfrmVRBaseOpt::InitPrintOptions()
{
    Variant program;
    if (RunPredefinedQuery(
            {QStringLiteral("CMSMT"), QStringLiteral("01"), Variant::ArrayOf({ProgramCode()})}, program)) {
        SelectFirstFormat({ElementText(program, 12)});
    } else {
        cboFormStyleName->SetText(QString());
        cboFormStyleName->SetEnabled(true);
    }
    const bool fep
        = features_.contains(QStringLiteral("FEP")) && GetSysParam(QStringLiteral("Sys042")) != u"N";
    tsFEP->SetTabVisible(fep);
    tsFEP->SetVisible(fep);
    cboSendStatus->SetItemIndex(2);
    cboSendWay->SetItemIndex(0);
    applySendWay();
}

// --- rights ------------------------------------------------------------------------------

void TfrmVRBaseOpt::ApplyRights()
{
    const TOptionRights rights = OptionRightsOf(rights_);
    btnDesign->SetEnabled(rights.Design);
    btnDelFormStype->SetEnabled(rights.DeleteFormat);
    btnOk->SetEnabled(rights.PrintAndPreview);
    btnPreview->SetEnabled(rights.PrintAndPreview);
    if (!connectRefusal_.isEmpty())
        showConnectRefusal();
    BuildOptionControlList();
    if (optionControls_.trimmed().isEmpty())
        pnlCondition->SetVisible(false);
}

void TfrmVRBaseOpt::BuildOptionControlList()
{
    optionControls_.clear();
    for (int p = 0; p < pgOption->PageCount(); ++p) {
        TTabSheet* page = pgOption->Pages(p);
        if (page == tsFEP || page == tsOption2)
            continue;
        for (TWinControl* control : page->TabList()) {
            const QString name = control->Name();
            if (name.trimmed().isEmpty() || control == rgSendType || !control->Visible()
                || qobject_cast<TMemo*>(control))
                continue;
            QString key;
            if (qobject_cast<TSelectPanel*>(control))
                key = QStringLiteral(".style");
            else if (qobject_cast<TComboBox*>(control) || qobject_cast<TRadioGroup*>(control))
                key = QStringLiteral(".itemindex");
            else if (qobject_cast<TCheckBox*>(control) || qobject_cast<TBitCheckBox*>(control))
                key = QStringLiteral(".checked"); // a check box of either kind
            else if (qobject_cast<TCustomEdit*>(control))
                key = QStringLiteral(".text");
            if (!key.isEmpty())
                optionControls_ += name + key + u';';
        }
    }
    // A scheme run without the window sends or prints as it was saved; with
    // no criteria to save there is no scheme pane, and no delivery to keep.
    if (!optionControls_.trimmed().isEmpty())
        optionControls_ += DeliveryControlKeys();
}

// --- delivery ------------------------------------------------------------------------------

void TfrmVRBaseOpt::rgSendTypeClick(TObject*)
{
    const bool sending = rgSendType->ItemIndex() == 1;
    cboSendStatus->SetEnabled(sending);
    cboSendWay->SetEnabled(sending);
    // Sending starts with the slips not sent yet; printing takes them all.
    cboSendStatus->SetItemIndex(sending ? 1 : 2);
    applySendWay();
}

void TfrmVRBaseOpt::cboSendWayChange(TObject*)
{
    applySendWay();
}

void TfrmVRBaseOpt::applySendWay()
{
    sendWay_
        = ChooseSendWay(SendWayTable, cboSendWay->ItemIndex(), rgSendType->ItemIndex(), sendWay_.SendMode);
    if (!sendWay_.AddressCaption.isEmpty())
        lblFaxEmail->SetCaption(sendWay_.AddressCaption);
    edtFaxEmailData->SetEnabled(sendWay_.AddressTyped);
    edtFaxEmailData->SetColor(
        static_cast<TColor>(sendWay_.AddressTyped ? TypedAddressColour : UnusedAddressColour));
    QList<TWinControl*>& ends = PageEndControls();
    for (const QString& name : sendWay_.PageEndLeave)
        ends.removeAll(FindComponent<TWinControl>(name));
    for (const QString& name : sendWay_.PageEndJoin) {
        TWinControl* control = FindComponent<TWinControl>(name);
        if (control && !ends.contains(control))
            ends << control;
    }
}

void TfrmVRBaseOpt::edtFaxEmailDataExit(TObject*)
{
    acceptTypedAddress();
}

bool TfrmVRBaseOpt::acceptTypedAddress()
{
    if (!sendWay_.AddressTyped)
        return true;
    const TAddressRefusal refusal = CheckTypedAddress(sendWay_.SendMode, edtFaxEmailData->Text());
    if (!refusal.Refused())
        return true;
    pgOption->SetActivePage(tsFEP);
    const auto translated = [this](const QString& key, const QString& text) {
        return key.isEmpty() ? QString() : GetFormMessage(QStringLiteral("TfrmVRBaseOpt"), key, true, text);
    };
    Dialogs().MessageDlg(
        refusal.Message(translated(refusal.Key, refusal.Text), translated(refusal.DetailKey, refusal.Detail)),
        mtError, mbOK, Caption());
    edtFaxEmailData->SetFocus();
    return false;
}

bool TfrmVRBaseOpt::PutPrintDate(Variant& values)
{
    if (!TfrmBaseGene::PutPrintDate(values))
        return false;
    // The criteria form writes the print date first; it belongs in the last slot.
    values[OptionCount()] = values[1];
    if (SendAddressMissing(sendWay_, edtFaxEmailData->Text())) {
        pgOption->SetActivePage(tsFEP);
        ShowCodedMessage(QStringLiteral("E"), QStringLiteral("000003"), {lblFaxEmail->Caption()});
        edtFaxEmailData->SetFocus();
        return false;
    }
    if (!acceptTypedAddress())
        return false;
    values[SendStatusSlot()] = ::SendStatusCondition(cboSendStatus->ItemIndex());
    return true;
}

bool TfrmVRBaseOpt::PutTitleInfo(Variant& texts)
{
    if (!TfrmBaseGene::PutTitleInfo(texts))
        return false;
    texts[OptionCount()] = texts[1];
    texts[SendStatusSlot()] = Text("sSendStatusTitle", "传送状态");
    return true;
}

TQuerySettings TfrmVRBaseOpt::QuerySettings() const
{
    return {MainTable, PowerData, sendWay_.SendMode, SendCountColumn, sendStatus_, DatabaseName()};
}

void TfrmVRBaseOpt::BuildQuery(int mode, const Variant& values, Variant&)
{
    sendStatus_ = SendStatusOfValues(mode, values, SendStatusSlot());
}

void TfrmVRBaseOpt::AdjustQuery(Variant&)
{
    pieces_.AdjustQuery(QuerySettings());
}

int TfrmVRBaseOpt::RefreshQuery()
{
    if (BuildReportParams()) {
        Variant sql;
        BuildQuery(0, OptionValueArray(), sql);
        AdjustQuery(sql);
    }
    return 0;
}

void TfrmVRBaseOpt::BeforeOutput(IVRFormatForm*)
{
}

QString TfrmVRBaseOpt::UserGroup() const
{
    return ElementText(PowerData, PowerDataGroup).trimmed();
}

QString TfrmVRBaseOpt::LookupDefaultFormat(const QString& slipType) const
{
    return TUserDefIni().Lookup(ProgramCode().toUpper(), slipType);
}

// --- format list ------------------------------------------------------------------------------

void TfrmVRBaseOpt::SetFormatClass(const TFormatClass& formatClass)
{
    formatClass_ = formatClass;
    ReloadFormatList();
}

std::optional<QString> TfrmVRBaseOpt::OptionValueOf(const QString& name) const
{
    TComponent* c = FindComponent(name);
    if (auto* combo = qobject_cast<TComboBox*>(c))
        return QString::number(combo->ItemIndex());
    if (auto* group = qobject_cast<TRadioGroup*>(c))
        return QString::number(group->ItemIndex());
    if (auto* check = qobject_cast<TCheckBox*>(c))
        return QString::fromLatin1(check->Checked() ? "1" : "0");
    if (auto* check = qobject_cast<TBitCheckBox*>(c))
        return QString::fromLatin1(check->Checked() ? "1" : "0");
    if (c)
        return QString();
    return std::nullopt;
}

bool TfrmVRBaseOpt::FormatMatches(const QString& optionText) const
{
    return FormatMatchesOptions(optionText, [this](const QString& name) { return OptionValueOf(name); });
}

Variant TfrmVRBaseOpt::StoredFormats() const
{
    Variant rows;
    if (!formatClass_.ClassName.isEmpty())
        RunPredefinedQueryRows(
            {QStringLiteral("WARRANT"), QStringLiteral("01"), Variant::ArrayOf({formatClass_.ClassName})},
            rows);
    return rows;
}

void TfrmVRBaseOpt::ReloadFormatList()
{
    TStrings* items = cboFormStyleName->Items();
    const QString remembered = items->Count() == 0 ? QStringLiteral("<New>") : cboFormStyleName->Text();
    const QStringList fitting = FormatListItems(StoredFormats(), cboFormStyleName->Enabled(),
        [this](const QString& name) { return OptionValueOf(name); });
    items->SetLines(fitting);
    cboFormStyleName->SetItemIndex(FormatListSelection(fitting, remembered));
}

bool TfrmVRBaseOpt::SelectFormat(const QString& name)
{
    const int index = cboFormStyleName->Items()->IndexOf(name);
    if (index < 0)
        return false;
    cboFormStyleName->SetItemIndex(index);
    return true;
}

bool TfrmVRBaseOpt::SelectFirstFormat(const QStringList& names)
{
    for (const QString& name : names)
        if (!name.trimmed().isEmpty() && SelectFormat(name))
            return true;
    // A format the list does not hold (deleted, or not fitting the options)
    // falls to the built-in layout, never to what the box showed before: that
    // was chosen for another slip type.
    if (!SelectFormat(QStringLiteral("<New>"))) {
        cboFormStyleName->SetItemIndex(-1);
        cboFormStyleName->SetText(QString());
    }
    return false;
}

void TfrmVRBaseOpt::cboFormStyleNameDropDown(TObject*)
{
    ReloadFormatList();
}

void TfrmVRBaseOpt::cboFormStyleNameKeyPress(TObject*, QChar& Key)
{
    // Backspace and Delete shorten the text; everything else may not pass
    // the limit (the name is a key of the format store). A typed character
    // replaces the selected ones. Delete arrives as character 127; 46 is the
    // Delete key's virtual-key number but, as a character, a "." that
    // lengthens the name like any other.
    if (Key == QChar(8) || Key == QChar(127))
        return;
    if (cboFormStyleName->Text().size() - cboFormStyleName->SelLength() + 1 > FormatNameLimit) {
        ShowCodedMessage(QStringLiteral("E"), QStringLiteral("100319"));
        Key = QChar(0);
    }
}

// --- layout -------------------------------------------------------------------------------------

void TfrmVRBaseOpt::FormShow(TObject* Sender)
{
    TfrmBaseGene::FormShow(Sender);
    pgOption->SetActivePageIndex(0);
    if (Width() < 655)
        SetWidth(655);
    SizeSchemeList();
    btnDelFormStype->SetBounds(cboFormStyleName->Left() + cboFormStyleName->Width() + 2,
        cboFormStyleName->Top(), btnDelFormStype->Width(), btnDelFormStype->Height());
}

void TfrmVRBaseOpt::pgOptionChange(TObject* Sender)
{
    TfrmBaseGene::pgOptionChange(Sender);
    if (pgOption->ActivePage() == tsOption2 && Width() < 708)
        SetWidth(708);
}
