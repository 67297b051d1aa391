#include "zorv52/Zorv52FmtF.h"

#include "common/LibConditions.h"
#include "common/LibDates.h"
#include "common/forms/LanguageController.h"
#include "format/PrintTexts.h"
#include "runtime/data/ClientDataSet.h"
#include "runtime/forms/FormReader.h"
#include "runtime/report/QRCtrls.h"

namespace {

// The change remarks of a line, by the suite's message codes.
const QLatin1String ReplacedItemCode("101571");
const QLatin1String AddedItemCode("100269");
const QLatin1String RemovedItemCode("100268");
const QLatin1String SlipTitleCode("101576");
// Weekday marks in their Chinese form ("<五>") and their English one ("<FRI>").
constexpr int ChineseWeekdayOrder = 4;
constexpr int EnglishWeekdayOrder = 1;

} // namespace

// Resources are initialised outside any namespace (the macro declares a global function).
static void initZorv52FmtResources()
{
    static const bool done = [] {
        Q_INIT_RESOURCE(zorv52);
        return true;
    }();
    (void)done;
}

std::unique_ptr<IVRFormatForm> CreateZorv52Format(TComponent* owner)
{
    // A stored format is this layout's difference from a fresh instance,
    // which the format store makes by class name.
    if (!FindClass(QStringLiteral("TfrmZorv52Fmt")))
        RegisterClass<TfrmZorv52Fmt>();
    return std::unique_ptr<IVRFormatForm>(CreateForm<TfrmZorv52Fmt>(owner));
}

TfrmZorv52Fmt::TfrmZorv52Fmt(TComponent* owner)
    : TfrmVRFormat(owner)
{
    initZorv52FmtResources();
    ReadFormResource(this, QStringLiteral(":/forms/TfrmZorv52Fmt.dfm"));
    CaptureDesignStates();
}

QString TfrmZorv52Fmt::KeyCondition(int sqlType, const QString& slipKey)
{
    switch (sqlType) {
    case 0:
        return QStringLiteral("TO001+'-'+TO002+'-'+TO003=") + QuoteSqlText(slipKey);
    case 1:
        return QStringLiteral("TO001||'-'||TO002||'-'||TO003=") + QuoteSqlText(slipKey);
    default:
        return QString();
    }
}

QString TfrmZorv52Fmt::message(const QString& code) const
{
    const QString text = Context().Message ? Context().Message(code) : QString();
    // The database holds its printing messages in Chinese only (simplified
    // and traditional): an English interface prints the English package's
    // text of the same code, and the database's where the package has none.
    if (text.isEmpty() || !HvConverter() || HvConverter()->UICodePage() != u"437")
        return text;
    return GetLangMessage(dtClient, QStringLiteral("TCodedMessages"), QStringLiteral("R") + code, text);
}

// --- bands --------------------------------------------------------------------------------

void TfrmZorv52Fmt::QRGroupBeforePrint(TQRCustomBand* Sender, bool& PrintBand)
{
    TfrmVRFormat::QRGroupBeforePrint(Sender, PrintBand);
    const QString condition = KeyCondition(Context().SqlType, FieldText(QStringLiteral("TO001T")));
    // Every page of the slip: a print of any of its pages counts the slip once.
    NoteSlipPage({0, QStringLiteral("$$MOCTO"), QStringLiteral("TO042"), condition});
    // Packing fields belong to installations that count packages (sys024 = 3).
    const bool packing = Option(QStringLiteral("sys024")) == u"3";
    for (const char* name :
        {"lblTO048", "txtTO048", "lblTO148", "txtTO148", "lblTO051", "txtTO051", "lblTO151", "txtTO151"})
        if (auto* control = FindComponent<TControl>(QString::fromLatin1(name)))
            control->SetEnabled(packing);
    RegisterRecipient(QStringLiteral("$$MOCTO"), condition);
}

void TfrmZorv52Fmt::QRDetailBandBeforePrint(TQRCustomBand* Sender, bool& PrintBand)
{
    // The one row of a slip without lines: no line, its room goes to the footer.
    if (FieldText(QStringLiteral("TP003")).trimmed().isEmpty()) {
        PrintBand = false;
        QRGroupFooter->SetHeight(QRGroupFooter->Height() + QRDetailBand->Height());
    }
    TfrmVRFormat::QRDetailBandBeforePrint(Sender, PrintBand);
}

// --- print handlers -----------------------------------------------------------------------

void TfrmZorv52Fmt::txtTO004Print(TObject*, QString& Value)
{
    Value = DatePrintText(Value, DateType, DateSeparator);
}

void TfrmZorv52Fmt::txtTP016Print(TObject* Sender, QString& Value)
{
    txtTO004Print(Sender, Value);
}

void TfrmZorv52Fmt::weekday(TObject* sender, QString& value)
{
    const auto* label = qobject_cast<const TComponent*>(sender);
    const QString date = label ? FieldText(label->Name().mid(3)).trimmed() : QString();
    // An English interface reads the English marks ("<FRI>").
    const bool english = HvConverter() && HvConverter()->UICodePage() == u"437";
    value = date.isEmpty()
        ? QString()
        : ToDisplay(WeekdayToken(date, english ? EnglishWeekdayOrder : ChineseWeekdayOrder));
}

void TfrmZorv52Fmt::lblTO006Print(TObject* Sender, QString& Value)
{
    weekday(Sender, Value);
}
void TfrmZorv52Fmt::lblTO012Print(TObject* Sender, QString& Value)
{
    weekday(Sender, Value);
}
void TfrmZorv52Fmt::lblTO013Print(TObject* Sender, QString& Value)
{
    weekday(Sender, Value);
}
void TfrmZorv52Fmt::lblTO007Print(TObject* Sender, QString& Value)
{
    weekday(Sender, Value);
}
void TfrmZorv52Fmt::lblTO106Print(TObject* Sender, QString& Value)
{
    weekday(Sender, Value);
}
void TfrmZorv52Fmt::lblTO112Print(TObject* Sender, QString& Value)
{
    weekday(Sender, Value);
}
void TfrmZorv52Fmt::lblTO113Print(TObject* Sender, QString& Value)
{
    weekday(Sender, Value);
}
void TfrmZorv52Fmt::lblTO107Print(TObject* Sender, QString& Value)
{
    weekday(Sender, Value);
}

void TfrmZorv52Fmt::txtTO070Print(TObject*, QString& Value)
{
    Value = PercentPrintText(Value);
}

void TfrmZorv52Fmt::txtTO170Print(TObject* Sender, QString& Value)
{
    txtTO070Print(Sender, Value);
}

bool TfrmZorv52Fmt::AddsItem() const
{
    // Compared trimmed, as the after-item is: a CHAR column (PostgreSQL, a
    // database of the older suite) pads the placeholder with blanks.
    return FieldText(QStringLiteral("TP004")).trimmed() == Placeholder();
}

void TfrmZorv52Fmt::beforeSide(QString& value)
{
    if (AddsItem())
        value.clear();
    OnConvertPrint(this, value);
}

void TfrmZorv52Fmt::txtTP004Print(TObject*, QString& Value)
{
    beforeSide(Value);
}
void TfrmZorv52Fmt::txtTP005Print(TObject*, QString& Value)
{
    beforeSide(Value);
}
void TfrmZorv52Fmt::txtTP006Print(TObject*, QString& Value)
{
    beforeSide(Value);
}
void TfrmZorv52Fmt::txtTP007Print(TObject*, QString& Value)
{
    beforeSide(Value);
}
void TfrmZorv52Fmt::txtTP008Print(TObject*, QString& Value)
{
    beforeSide(Value);
}
void TfrmZorv52Fmt::txtTP010Print(TObject*, QString& Value)
{
    beforeSide(Value);
}
void TfrmZorv52Fmt::txtTP012Print(TObject*, QString& Value)
{
    beforeSide(Value);
}
void TfrmZorv52Fmt::txtTP013Print(TObject*, QString& Value)
{
    beforeSide(Value);
}
void TfrmZorv52Fmt::txtTP014Print(TObject*, QString& Value)
{
    beforeSide(Value);
}
void TfrmZorv52Fmt::txtTP018Print(TObject*, QString& Value)
{
    beforeSide(Value);
}
void TfrmZorv52Fmt::txtCMSMC002CPrint(TObject*, QString& Value)
{
    beforeSide(Value);
}

void TfrmZorv52Fmt::lblMemoPrint(TObject*, QString& Value)
{
    const bool added = AddsItem();
    const bool hasAfter = !FieldText(QStringLiteral("TP104")).trimmed().isEmpty();
    QString code;
    if (!added && hasAfter)
        code = ReplacedItemCode;
    else if (added && hasAfter)
        code = AddedItemCode;
    else if (!added && !hasAfter)
        code = RemovedItemCode;
    if (!code.isEmpty())
        Value = message(code);
}

void TfrmZorv52Fmt::lblVoucherNamePrint(TObject*, QString& Value)
{
    QString title = message(SlipTitleCode);
    if (title.isEmpty())
        title = GetFormMessage(QStringLiteral("TfrmZorv52Fmt"), QStringLiteral("sSlipTitle"), true,
            QStringLiteral("工单变更单"));
    // Without a slip name the title stands alone rather than with empty brackets.
    if (!Value.trimmed().isEmpty())
        title += u'(' + Value + u')';
    Value = title;
}
