// The base criteria form's messages, system parameters, report parameter
// arrays and look-ups.

#include "criteria/BaseGene.h"

#include "common/LibDates.h"
#include "criteria/BaseGeneU.h"
#include "criteria/SelectPnl.h"
#include "criteria/SysParamCache.h"
#include "runtime/forms/Dialogs.h"
#include "runtime/forms/Mask.h"
#include "runtime/forms/StdCtrls.h"

// --- messages -----------------------------------------------------------------------

QString TfrmBaseGene::formatMessage(
    const QString& kind, const QString& id, const QStringList& args, bool* ok) const
{
    QString text;
    try {
        if (!manager_.IsEmptyOrNull())
            text = manager_.Call(QStringLiteral("GetMessage"), {kind, id}).ToString();
    } catch (const Exception&) {
        text.clear();
    }
    if (text.isEmpty())
        text = QStringLiteral("Can not Get Message\rType= %1, ID= %2 ").arg(kind, id);
    return basegene::FormatMessage(text, args, ok);
}

int TfrmBaseGene::ShowCodedMessage(
    const QString& kind, const QString& id, const QStringList& args, TMsgDlgButtons buttons)
{
    const TMsgDlgType type = basegene::BoxTypeOf(kind);
    // Quiet runs (page changes, shell commands) show errors only.
    if (quiet_ && type != mtError)
        return mrNone;
    const QString text = formatMessage(kind, id, args, nullptr);
    const TMsgDlgButtons shown = buttons ? buttons : basegene::ButtonsOf(kind);
    TWinControl* focus = ActiveControl();
    const QString codePage = HvConverter() ? HvConverter()->UICodePage() : QString();
    // The captions are written in simplified Chinese, like every text of
    // the module, and shown in the user's code page like the message.
    auto captions = basegene::ButtonCaptionsOf(shown, codePage);
    if (HvConverter())
        for (QString& caption : captions)
            caption = HvConverter()->ToDisplay(caption).ToString();
    const TMessageBoxScope extras({kind + u';' + id, captions});
    const int result = Dialogs().MessageDlg(text, type, shown, Caption());
    if (type == mtError && focus && focus->ParentForm() == this)
        focus->SetFocus();
    return result;
}

void TfrmBaseGene::addError(const QString& code, const QString& text)
{
    if (!code.isEmpty())
        errorCodes_ += QStringLiteral("; ") + code;
    if (!text.isEmpty() && !errorTexts_.contains(QStringLiteral("; ") + text))
        errorTexts_ += QStringLiteral("; ") + text;
}

void TfrmBaseGene::ReportError(const QString& code)
{
    if (btnCancel && ActiveControl() == btnCancel)
        return; // the user is leaving: no checks speak up
    const basegene::MessageCode parsed = basegene::ParseMessageCode(code);
    bool ok = true;
    QString text = formatMessage(parsed.Kind, parsed.Id, parsed.Args, &ok);
    if (!ok) {
        text = formatMessage(parsed.Kind, parsed.Id, {}, nullptr) + u'\r';
        for (const QString& arg : parsed.Args)
            text += arg + u';';
    }
    addError(code, text);
    bool number = false;
    const int id = parsed.Id.toInt(&number);
    if (number && id > 0)
        ShowCodedMessage(parsed.Kind, parsed.Id, parsed.Args, mbOK);
}

QString TfrmBaseGene::GetSysParam(const QString& name)
{
    QString value = sysParams_ ? sysParams_->Value(name) : QString();
    const QString key = name.trimmed().toUpper();
    static const QStringList categories {QStringLiteral("SYS007"), QStringLiteral("SYS008"),
        QStringLiteral("SYS009"), QStringLiteral("SYS010")};
    const qsizetype category = categories.indexOf(key);
    if (value.isEmpty() && category >= 0) {
        const bool english = HvConverter() && HvConverter()->UICodePage() == u"437";
        static const char* const chinese[]
            = {"商品分类方式一", "商品分类方式二", "商品分类方式三", "商品分类方式四"};
        value = english ? QStringLiteral("Inv.Cate.%1").arg(category + 1)
                        : QString::fromUtf8(chinese[category]);
    }
    return value;
}

bool TfrmBaseGene::ValidatorQuery(
    const QString& table, const QString& number, const Variant& params, Variant& rows)
{
    if (validator_.IsEmptyOrNull())
        return false;
    try {
        Variant answer;
        const Variant sent = HvConverter() ? HvConverter()->ToDatabase(params) : params;
        const bool found = validator_
                               .Call(QStringLiteral("QueryData"),
                                   {table, number, databaseName_, sent, Variant::Ref(answer)})
                               .ToBool();
        if (found)
            rows = HvConverter() ? HvConverter()->FromDatabase(answer) : answer;
        return found;
    } catch (const Exception&) {
        return false; // a failed look-up counts as nothing found
    }
}

// --- report parameters ------------------------------------------------------------------

bool TfrmBaseGene::BuildReportParams()
{
    environment_ = Variant::CreateArray(1, environmentCount_);
    optionTexts_ = Variant::CreateArray(1, optionCount_);
    optionValues_ = Variant::CreateArray(1, optionCount_);
    auto name = [this](const char* key, const char* text) {
        return GetFormMessage(
            QStringLiteral("TfrmBaseGene"), QString::fromLatin1(key), true, QString::fromUtf8(text));
    };
    struct Filled {
        bool ok;
        Variant* array;
        QString name;
        int count;
    };
    // The order matters: descendants' fillers read what earlier ones wrote.
    const bool titles = PutTitleInfo(optionTexts_);
    const bool values = titles && PutPrintDate(optionValues_);
    const bool environment = values && PutEnvironment(environment_);
    if (!environment)
        return false;
    const Filled checks[] = {
        {titles, &optionTexts_, name("sOption", "选择条件文字"), optionCount_},
        {values, &optionValues_, name("sOptionInf", "选择条件信息"), optionCount_},
        {environment, &environment_, name("sEnvSetting", "环境设置"), environmentCount_},
    };
    for (const Filled& f : checks) {
        if (f.array->HighBound() != f.count) {
            ShowCodedMessage(QStringLiteral("W"), QStringLiteral("000002"),
                {f.name, QString::number(f.count), QString::number(f.array->HighBound())});
            return false;
        }
        for (int slot = 1; slot <= f.count; ++slot) {
            if (f.array->At(slot).IsEmpty()) {
                ShowCodedMessage(QStringLiteral("W"), QStringLiteral("000003"),
                    {f.name, QString::number(f.count), QString::number(slot)});
                return false;
            }
        }
    }
    return true;
}

bool TfrmBaseGene::PrintDateValue(QString& yyyymmdd) const
{
    const QString text = edPrintDate->Text().trimmed();
    yyyymmdd.clear();
    if (text.isEmpty() || text.startsWith(DateSeparator()) || text.endsWith(DateSeparator()))
        return true;
    const QString stored = DateToStorage(text);
    if (stored.isEmpty())
        return true;
    if (ParseDate8(stored) == 0)
        return false;
    yyyymmdd = stored;
    return true;
}

void TfrmBaseGene::PanelValueToVariant(TSelectPanel* panel, Variant& array, int slot) const
{
    const Variant value = panel->CriteriaValue();
    if (slot < 0 && !panel->IsRangeMode())
        array = value;
    else
        array.At(slot) = value;
}

// --- look-ups ----------------------------------------------------------------------------

Variant TfrmBaseGene::GetLookupData(const QString& lookupName, const Variant& conditions, bool multiple,
    const QString& queryNumber, const QString& caption)
{
    if (lookup_.IsEmptyOrNull() || conditions.IsEmptyOrNull())
        return Variant();
    const Variant converted = HvConverter() ? HvConverter()->ToDatabase(conditions) : conditions;
    // The request's layout is the look-up object's: 19 items, 10 to 18 reserved.
    Variant request = Variant::CreateArray(0, 18);
    request[0] = lookupName;
    request[1] = queryNumber;
    request[2] = converted;
    request[3] = databaseName_;
    request[4] = callerHandle_;
    request[5] = userCode_;
    request[6] = multiple;
    request[7] = caption;
    request[8] = QString();
    request[9] = companyCode_;
    Variant answer;
    try {
        answer = lookup_.Call(QStringLiteral("F2GetData"), {request});
    } catch (const Exception& e) {
        addError(QString(), e.Message());
        return Variant();
    }
    return HvConverter() ? HvConverter()->FromDatabase(answer) : answer;
}

void TfrmBaseGene::FillPanelFromLookup(TWinControl* control, const QString& lookupName,
    const Variant& conditions, bool allColumns, const QString& queryNumber)
{
    auto* panel = control ? qobject_cast<TSelectPanel*>(control->Owner()) : nullptr;
    if (!panel) {
        Dialogs().MessageDlg(
            GetFormMessage(QStringLiteral("TfrmBaseGene"), QStringLiteral("sBBM"), true,
                QStringLiteral("同学, 你吗帮帮忙, 这个 Procedure 是专门给TSelectPanel元件用的!")),
            mtError, mbOK, Caption());
        return;
    }
    auto joined = [panel](const Variant& row) {
        if (!row.IsArray())
            return row.ToString();
        QStringList items;
        for (const Variant& item : row.Elements())
            items << item.ToString();
        return items.join(panel->Discard());
    };
    const bool list = control == panel->ListBox;
    const Variant answer = GetLookupData(lookupName, conditions, list, queryNumber);
    if (answer.IsEmptyOrNull() || (answer.IsArray() && answer.HighBound() < answer.LowBound()))
        return;
    if (list) {
        const VariantList rows = answer.IsArray() ? answer.Elements() : VariantList {answer};
        for (const Variant& row : rows) {
            QStringList values;
            if (panel->UseDiscard()) {
                values << joined(row);
            } else if (row.IsArray()) {
                const VariantList items = row.Elements();
                for (qsizetype i = 0; i < items.size() && (allColumns || i < 4); ++i)
                    values << items.at(i).ToString();
            } else {
                values << row.ToString();
            }
            panel->ListBox->AddRow(values);
        }
        return;
    }
    auto* edit = qobject_cast<TCustomEdit*>(control);
    if (!edit)
        return;
    QString text;
    const Variant first = answer.IsArray() ? answer[answer.LowBound()] : answer;
    if (panel->UseDiscard())
        text = joined(first);
    else if (first.IsArray())
        text = first[first.LowBound()].ToString();
    else
        text = first.ToString();
    edit->SetText(text);
}
