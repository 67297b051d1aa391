#include "format/VRBaseFmtF.h"

#include "common/StewardINI.h"
#include "format/FormatDesign.h"
#include "format/FormatStore.h"
#include "format/LinkPlannerCall.h"
#include "format/PrintCounts.h"
#include "format/TfrmVRConvPic.h"
#include "format/VRPreviewF.h"
#include "runtime/data/ClientDataSet.h"
#include "runtime/designer/DreamDesigner.h"
#include "runtime/designer/ReportQueryBuilder.h"
#include "runtime/forms/Dialogs.h"
#include "runtime/forms/FormReader.h"
#include "runtime/forms/StdCtrls.h"
#include "runtime/report/QRBarcode.h"
#include "runtime/report/QRCtrls.h"
#include "runtime/report/QRPrinter.h"
#include "runtime/report/QRProgress.h"

#include <QPrinter>
#include <QPrinterInfo>

// Routes the binder's type-4 handler to the form, so a slip layout's
// override decides what an amount prints.
class TfrmVRBaseFmt::FormatBinder : public TPrintBinder {
public:
    explicit FormatBinder(TfrmVRBaseFmt* form)
        : TPrintBinder(form)
        , form_(form)
    {
    }
    void OnAsteriskPrint(TObject* sender, QString& value) override { form_->OnAsteriskPrint(sender, value); }

private:
    TfrmVRBaseFmt* form_;
};

namespace {

TClientDataSet* makeDataSet(TComponent* owner, const QString& name, const QString& provider)
{
    auto* dataSet = new TClientDataSet(owner);
    dataSet->SetName(name);
    dataSet->SetProviderName(provider);
    return dataSet;
}

// Disables the windows of the options form while pages are made and gives
// them back (enabled state and activation) however generation ends.
class WindowsDisabled {
public:
    explicit WindowsDisabled(TComponent* owner)
        : window_(qobject_cast<TWinControl*>(owner))
    {
        if (window_ && window_->Enabled())
            window_->SetEnabled(false);
        else
            window_ = nullptr;
    }
    ~WindowsDisabled()
    {
        if (window_)
            window_->SetEnabled(true);
    }

private:
    TWinControl* window_;
};

} // namespace

int OldBarcodeKind(int kind)
{
    switch (static_cast<TQRBarcodeType>(kind)) {
    case bcCode39:
        return 7;
    case bcEAN13:
        return 12;
    case bcCode128:
        return 22;
    default:
        return -1;
    }
}

QString BarcodeInvalidCharText(int oldKind)
{
    if (oldKind == 7 || oldKind == 22)
        return QStringLiteral("00");
    if (oldKind == 12)
        return QStringLiteral("0");
    return QStringLiteral(" ");
}

TfrmVRBaseFmt::TfrmVRBaseFmt(TComponent* owner)
    : THVForm(owner)
{
    InitFormatResources();
    RegisterReportClasses();
    RegisterDesignerClasses();
    // The data sets are no form-description components: made here, under
    // the names the layouts' fields refer to.
    ClientDataSet1 = makeDataSet(this, QStringLiteral("ClientDataSet1"), QStringLiteral("Provider1"));
    ClientDataSet2 = makeDataSet(this, QStringLiteral("ClientDataSet2"), QStringLiteral("Provider2"));
    ReadFormResource(this, QStringLiteral(":/format/TfrmVRBaseFmt.dfm"));
    QuickRep1 = FindComponent<TQuickRep>(QStringLiteral("QuickRep1"));
    memoChCapital = FindComponent<TMemo>(QStringLiteral("memoChCapital"));
    qrLostFocus = FindComponent<TQRLabel>(QStringLiteral("qrLostFocus"));
    SQLReBuilder = FindComponent<ReportQueryBuilder>(QStringLiteral("SQLReBuilder"));
    if (!QuickRep1 || !memoChCapital || !SQLReBuilder)
        throw EComponentError(QStringLiteral("TfrmVRBaseFmt: the form description lacks its report"));
    binder_ = new FormatBinder(this);
    binder_->SetChineseWords(memoChCapital->Lines()->Lines());
    source1_ = std::make_unique<TQRDataSetSource>(ClientDataSet1);
    source2_ = std::make_unique<TQRDataSetSource>(ClientDataSet2);
    barcodeSource_ = std::make_unique<TQRDataSetSource>(ClientDataSet1);
    QuickRep1->AddDataSource(QStringLiteral("ClientDataSet1"), source1_.get());
    QuickRep1->AddDataSource(QStringLiteral("ClientDataSet2"), source2_.get());
    QuickRep1->AddDataSource(QString::fromLatin1(dsBarCode), barcodeSource_.get());
    buildDesign();
}

// --- virtual operations -------------------------------------------------------------------

void TfrmVRBaseFmt::OnAsteriskPrint(TObject*, QString&)
{
}

void TfrmVRBaseFmt::PrepareData()
{
    ClientDataSet1->SetRemoteServer(context_.Connection);
    ClientDataSet2->SetRemoteServer(context_.Connection);
    BindPrintHandlers();
}

int TfrmVRBaseFmt::OpenData(const QString& sql)
{
    try {
        ClientDataSet1->Close();
        ClientDataSet1->DataRequest(Variant(sql));
        ClientDataSet1->Open();
        if (ClientDataSet1->IsEmpty()) {
            ClientDataSet1->Close();
            return 0;
        }
        return 1;
    } catch (const Exception&) {
        return -1;
    }
}

void TfrmVRBaseFmt::OnConvertPrint(TObject*, QString& Value)
{
    if (DBMode != 0 && HvConverter())
        Value = HvConverter()->FromDatabase(Variant(Value)).ToString();
}

QString TfrmVRBaseFmt::ChineseAmount(const QString& text)
{
    QString value = text;
    binder_->OnChinesePrint(this, value);
    return value;
}

QString TfrmVRBaseFmt::ChineseGroup(const QString& digits)
{
    return TChineseCapital(memoChCapital->Lines()->Lines()).ChineseGroup(digits);
}

void TfrmVRBaseFmt::SetupExtendedBarcode(ReportDBBarcode* barcode)
{
    if (!barcode)
        return;
    if (barcode->DataSet().isEmpty())
        barcode->SetDataSet(QString::fromLatin1(dsBarCode));
    barcode->SetOnInvalidChar(TQRBarcodeInvalidCharEvent::Of(
        this, &TfrmVRBaseFmt::OnBarCodeInvalidChar, QStringLiteral("OnBarCodeInvalidChar")));
}

void TfrmVRBaseFmt::SetupExtendedText(ReportDBText* text)
{
    if (!text)
        return;
    if (text->DataSet().isEmpty())
        text->SetDataSet(QStringLiteral("ClientDataSet1"));
    binder_->BindOnPrint(text);
}

void TfrmVRBaseFmt::SetupNewLabel(TQRLabel* label)
{
    if (!label)
        return;
    label->Font()->SetName(QStringLiteral("SimSun"));
    label->SetTransparent(true);
}

QString TfrmVRBaseFmt::ListLayoutFields()
{
    QStringList fields;
    for (TQRCustomBand* band : QuickRep1->Bands())
        for (int i = 0; i < band->ControlCount(); ++i) {
            const auto* control = qobject_cast<const TQRPrintable*>(band->Controls(i));
            const TQRDataBound* binding = control ? control->DataBinding() : nullptr;
            if (!binding || binding->DataField().isEmpty())
                continue;
            const QString dataSet = binding->DataSet();
            const QString entry
                = (dataSet.isEmpty() ? QuickRep1->DataSet() : dataSet) + u'.' + binding->DataField();
            if (!fields.contains(entry, Qt::CaseInsensitive))
                fields << entry;
        }
    return fields.join(u',');
}

// --- IVRFormatForm ------------------------------------------------------------------------

void TfrmVRBaseFmt::SetContext(const TFormatContext& context)
{
    context_ = context;
    DateType = context.DateType;
    DateSeparator = context.DateSeparator;
    binder_->SetDateType(DateType);
    binder_->SetDateSeparator(DateSeparator);
    // The send mode of the window: 1 e-mail, 2 fax, else printing only.
    SendFlags = context.SendMode == 1 || context.SendMode == 2 ? context.SendMode : 0;
    if (HvConverter()) {
        DBMode = HvConverter()->DBConvertMode();
        LanguageMode = HvConverter()->UIConvertMode();
    }
    QuickRep1->SetReportTitle(context.Title);
    QuickRep1->SetCreator(context.ProgramCode);
    // A report form prints without ever being shown, so the conversion that
    // showing does (the layout's texts into the user's code page) happens
    // here, once: before a stored format brings texts of its own, which the
    // store has converted for display already.
    ConvertOnce();
    fillStoreHost();
    // The stored format of the name, now that the server is known: before
    // the data sets are prepared (the controls it adds need their print
    // handlers) and before the query builder is offered its parts.
    bool done = false;
    DreamDesigner1LoadChanges(this, done);
    // The slip's captions in the user's language, also when it only prints;
    // after the stored format, as showing would apply them.
    ApplyLanguageUnshown();
}

void TfrmVRBaseFmt::ClearField(const QString& dataField)
{
    const QString field = dataField.trimmed();
    if (field.isEmpty())
        return;
    // A user may have put the field on the layout more than once, as a bar
    // code or inside an expression ("ClientDataSet1.TO025 * 2"): each of
    // those must print empty too, not only the built-in text. Every control
    // of the form is asked, on a band or not (one the designer hid may be
    // brought back).
    for (TComponent* component : ComponentList())
        if (auto* control = qobject_cast<TQRPrintable*>(component))
            control->DropField(field);
}

QString TfrmVRBaseFmt::DisplayTitle() const
{
    const QString title = QuickRep1->ReportTitle();
    return HvConverter() ? HvConverter()->ToDisplay(Variant(title)).ToString() : title;
}

void TfrmVRBaseFmt::Preview()
{
    PrintCountMode = pcmPreview;
    // The first page shows while the others are still being made.
    if (!QuickRep1->QRPrinter()->GenerateAhead())
        return;
    ShowPreview();
}

bool TfrmVRBaseFmt::PreparePages()
{
    return GeneratePages();
}

TPaperInfo TfrmVRBaseFmt::PaperInfo() const
{
    TPaperInfo info;
    const TQRPage* page = QuickRep1->Page();
    info.PaperSize = static_cast<int>(page->PaperSize());
    info.Units = static_cast<int>(QuickRep1->Units());
    // Page values are tenths of a millimetre.
    const double perUnit = QuickRep1->Units() == Inches ? 254.0 : 10.0;
    info.Width = page->Value(TQRPage::Width) / perUnit;
    info.Length = page->Value(TQRPage::Length) / perUnit;
    return info;
}

// --- generation ---------------------------------------------------------------------------

bool TfrmVRBaseFmt::GeneratePages()
{
    const WindowsDisabled disabled(Owner());
    Cancelled = false;
    TQRProgress progress(QuickRep1);
    const bool done = progress.Run();
    Cancelled = QuickRep1->Cancelled();
    return done && !Cancelled;
}

bool TfrmVRBaseFmt::PagesReady() const
{
    return QuickRep1->Pages() && !QuickRep1->Generating() && !QuickRep1->Cancelled();
}

void TfrmVRBaseFmt::ShowPreview()
{
    std::unique_ptr<TfrmVRPreview, FreeComponent> preview(new TfrmVRPreview(this));
    preview->ShowPreview();
}

QString TfrmVRBaseFmt::Option(const QString& name) const
{
    return context_.Option ? context_.Option(name) : QString();
}

void TfrmVRBaseFmt::QuickRep1BeforePrint(TObject*, bool&)
{
    PageMarks.clear();
    PrintCounter = 0;
    SendList.Clear();
    slipPages_.Clear();
}

void TfrmVRBaseFmt::QuickRep1StartPage(TObject*)
{
    ++PrintCounter;
}

void TfrmVRBaseFmt::OnBarCodeInvalidChar(TObject*, int Kind, QString& Replacement)
{
    Replacement = BarcodeInvalidCharText(OldBarcodeKind(Kind));
}

void TfrmVRBaseFmt::BindPrintHandlers()
{
    for (TQRCustomBand* band : QuickRep1->Bands())
        for (int i = 0; i < band->ControlCount(); ++i) {
            auto* control = band->Controls(i);
            // Plain data texts of the layout keep the handlers the layout
            // bound by name; only a chosen text type brings its conversion.
            if (auto* text = qobject_cast<ReportDBText*>(control); text && text->TextType() != 0)
                binder_->BindOnPrint(text);
            else if (auto* barcode = qobject_cast<ReportDBBarcode*>(control);
                     barcode && !barcode->OnInvalidChar().Assigned())
                SetupExtendedBarcode(barcode);
        }
    if (DBMode == 0)
        return;
    const auto convert
        = TQRLabelOnPrintEvent::Of(this, &TfrmVRBaseFmt::OnConvertPrint, QStringLiteral("OnConvertPrint"));
    // Every text read from the database as it is, whose layout bound no
    // handler of its own, prints in the display code page.
    for (TQRCustomBand* band : QuickRep1->Bands())
        for (int i = 0; i < band->ControlCount(); ++i) {
            auto* text = qobject_cast<TQRCustomLabel*>(band->Controls(i));
            if (text && text->PrintsDatabaseText() && !text->OnPrint().Assigned())
                text->SetOnPrint(convert);
        }
}

QString TfrmVRBaseFmt::FieldText(const QString& field) const
{
    const int index = source1_->FieldIndex(field);
    return index < 0 ? QString() : source1_->FieldText(index);
}

QString TfrmVRBaseFmt::HomeFolder() const
{
    if (!ClientHome.isEmpty())
        return ClientHome;
    const TStewardIniC config;
    return config.HomePath;
}
