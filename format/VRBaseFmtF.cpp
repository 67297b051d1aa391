#include "format/VRBaseFmtF.h"

#include "common/StewardINI.h"
#include "format/FormatDesign.h"
#include "format/FormatStore.h"
#include "format/LinkPlannerCall.h"
#include "format/OptionSnapshot.h"
#include "format/PrintCounts.h"
#include "format/TfrmVRConvPic.h"
#include "format/VRPreviewF.h"
#include "runtime/data/ClientDataSet.h"
#include "runtime/forms/Dialogs.h"
#include "runtime/forms/FormReader.h"
#include "runtime/forms/StdCtrls.h"
#include "runtime/report/QRBarcode.h"
#include "runtime/report/QRCtrls.h"
#include "runtime/report/QRPrinter.h"
#include "runtime/report/QRProgress.h"
#include "runtime/designer/DreamDesigner.h"
#include "runtime/designer/ReportQueryBuilder.h"
#include "runtime/system/NativePath.h"

#include <QFile>
#include <QWidget>
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

void TfrmVRBaseFmt::buildDesign()
{
    // Every instance, the fresh one a stored text is the difference from
    // included, gets the same store, designer and menu: what they set up
    // then never shows as a change.
    TFormatStoreHost host;
    host.Form = this;
    host.OptionSnapshot = [this] { return GetOptionSnapshot(); };
    host.HideForm = [this] { Hide(); };
    host.LoadBackground = [this](const QString& path) { loadBackground(path); };
    host.PageStyle = [this] { return QuickRep1->PageStyle() == psHalfPage ? 1 : 0; };
    host.FormatAdded = [this](const QString& shown) {
        if (designContext_.FormatAdded)
            designContext_.FormatAdded(shown);
    };
    store_ = std::make_unique<TFormatStore>(std::move(host));
    design_ = std::make_unique<TFormatDesign>(this, QuickRep1, SQLReBuilder, store_.get());
    DreamDesigner1 = design_->Designer();
    PopupMenu1 = design_->PopupMenu();
    // The load goes through the form, so a layout form can add what it
    // keeps of the loaded layout.
    DreamDesigner1->OnLoadChanges = [this](TDreamDesigner* sender, bool& done) { DreamDesigner1LoadChanges(sender, done); };
    design_->BeforeDesign = [this] { BeforeDesign(); };
    design_->DesignerClosed = [this] { designerClosed(); };
    design_->PlannerData = [this]() -> TLinkPlannerData* {
        if (!plannerData_ && context_.Connection)
            plannerData_ = std::make_unique<TLinkPlannerData>(ColumnsThroughProvider(context_.Connection));
        return plannerData_.get();
    };
    design_->SetupExtendedText = [this](ReportDBText* text, const TQueryField&) { SetupExtendedText(text); };
    design_->SetupExtendedBarcode = [this](ReportDBBarcode* code, const TQueryField&) { SetupExtendedBarcode(code); };
    design_->SetupNewLabel = [this](TQRLabel* label) { SetupNewLabel(label); };
}

TfrmVRBaseFmt::~TfrmVRBaseFmt()
{
    // The report may still be generating from the event loop (a preview
    // that closed early); it must stop before the data sets go.
    if (QuickRep1) {
        if (QuickRep1->Generating())
            QuickRep1->Cancel();
        QuickRep1->RemoveDataSource(QStringLiteral("ClientDataSet1"));
        QuickRep1->RemoveDataSource(QStringLiteral("ClientDataSet2"));
        QuickRep1->RemoveDataSource(QString::fromLatin1(dsBarCode));
    }
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

int TfrmVRBaseFmt::OpenData(const QString&)
{
    return 0;
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

QString TfrmVRBaseFmt::GetOptionSnapshot()
{
    // The options window owns this form for the run and reads no pointer
    // back, so its controls are looked up through the owner when asked.
    return OptionSnapshotText(Owner(), FormatOptionControls, SQLReBuilder->HasExtendedFields());
}

void TfrmVRBaseFmt::BeforeDesign()
{
}

namespace {

TBuilderPieces builderPieces(const TQueryParts& parts)
{
    return {parts.Select, parts.From, parts.OrderBy, parts.GroupBy, parts.Where, parts.Join};
}

} // namespace

bool TfrmVRBaseFmt::AcceptQueryParts(const TQueryParts& parts)
{
    return SQLReBuilder->AcceptQueryParts(builderPieces(parts));
}

bool TfrmVRBaseFmt::IsQueryEmpty()
{
    return SQLReBuilder->IsQueryEmpty();
}

void TfrmVRBaseFmt::SetQueryParts(const TQueryParts& parts, bool designer)
{
    SQLReBuilder->SetQueryParts(builderPieces(parts), designer);
}

void TfrmVRBaseFmt::InitQueryBuilder(
    const QString& select, const QString& from, const QString& where, const QString& orderBy, const QString& groupBy)
{
    SQLReBuilder->InitQueryBuilder(select, from, where, groupBy, orderBy, ListLayoutFields());
}

void TfrmVRBaseFmt::RunLinkPlanner()
{
    design_->RunLinkPlanner(true);
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
            QString dataSet, field;
            if (auto* text = qobject_cast<TQRDBText*>(band->Controls(i))) {
                dataSet = text->DataSet();
                field = text->DataField();
            } else if (auto* barcode = qobject_cast<ReportDBBarcode*>(band->Controls(i))) {
                dataSet = barcode->DataSet();
                field = barcode->DataField();
            }
            if (field.isEmpty())
                continue;
            const QString entry = (dataSet.isEmpty() ? QuickRep1->DataSet() : dataSet) + u'.' + field;
            if (!fields.contains(entry, Qt::CaseInsensitive))
                fields << entry;
        }
    return fields.join(u',');
}

QString TfrmVRBaseFmt::GetFinalQuery(const QString& sql)
{
    // Nothing to add is no final text: the options window then opens the
    // data with its own query, and a failure there is no extended-field error.
    if (!SQLReBuilder->Active() || !SQLReBuilder->HasExtendedFields())
        return QString();
    return SQLReBuilder->GetFinalQuery(sql);
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
    fillStoreHost();
    // The stored format of the name, now that the server is known: before
    // the data sets are prepared (the controls it adds need their print
    // handlers) and before the query builder is offered its parts.
    bool done = false;
    DreamDesigner1LoadChanges(this, done);
}

void TfrmVRBaseFmt::fillStoreHost()
{
    TFormatStoreHost& host = store_->Host();
    host.ApplicationServer = context_.ApplicationServer;
    host.CompanyCode = context_.CompanyCode;
    host.UserCode = context_.UserCode;
    QString home = HomeFolder();
    if (!home.isEmpty() && !home.endsWith(u'/') && !home.endsWith(u'\\'))
        home += u'\\';
    host.ClientHome = home;
    host.Converter = HvConverter();
    host.Query = context_.Query;
}

void TfrmVRBaseFmt::SetFormatName(const QString& storageName)
{
    store_->FormatName = storageName;
}

QString TfrmVRBaseFmt::FormatName() const
{
    return store_->FormatName;
}

bool TfrmVRBaseFmt::QueryBuilderActive() const
{
    return SQLReBuilder->Active();
}

void TfrmVRBaseFmt::SetQueryBuilderMode(bool on)
{
    SQLReBuilder->SetActive(on);
}

void TfrmVRBaseFmt::UnbindExtendedFields()
{
    design_->UnbindExtendedFields();
}

void TfrmVRBaseFmt::ClearDataField(const QString& controlName)
{
    if (auto* text = FindComponent<TQRDBText>(controlName))
        text->SetDataField(QString());
}

QString TfrmVRBaseFmt::DisplayTitle() const
{
    const QString title = QuickRep1->ReportTitle();
    return HvConverter() ? HvConverter()->ToDisplay(Variant(title)).ToString() : title;
}

void TfrmVRBaseFmt::Print()
{
    // The printer first: generating counts the slips' prints, which must
    // not happen for a print that cannot go anywhere.
    const QList<QPrinterInfo> printers = QPrinterInfo::availablePrinters();
    if (printers.isEmpty())
        throw Exception(QStringLiteral("没有可用的打印机 (no printer is installed)"));
    const int index = context_.PrinterIndex;
    const QPrinterInfo info
        = index >= 0 && index < printers.size() ? printers.at(index) : QPrinterInfo::defaultPrinter();
    QPrinter printer(info.isNull() ? printers.first() : info, QPrinter::HighResolution);
    PrintCountMode = pcmPrint;
    QuickRep1->SetReportTitle(DisplayTitle());
    if (!GeneratePages())
        return;
    if (!PrintTo(printer))
        throw Exception(QStringLiteral("打印失败: ") + printer.printerName());
}

bool TfrmVRBaseFmt::PrintTo(QPrinter& printer)
{
    QuickRep1->QRPrinter()->Complete();
    return QuickRep1->QRPrinter()->Print(printer);
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

void TfrmVRBaseFmt::BeginDesign(const TDesignContext& context)
{
    designContext_ = context;
    endingDesign_ = false;
    design_->StartDesign(true);
    // The window says what is designed: the report and the format's name.
    if (QWidget* window = DreamDesigner1->Window()) {
        const QString name = FormatName();
        const QString shown = HvConverter() ? HvConverter()->ToDisplay(Variant(name)).ToString() : name;
        window->setWindowTitle(DisplayTitle() + QStringLiteral(" [") + shown + u']');
    }
}

void TfrmVRBaseFmt::EndDesign()
{
    // Ended from outside while the designer is still on: it stops the way
    // the user would stop it (the save question), and the window, which
    // ends the session itself, is not told again.
    endingDesign_ = true;
    if (DreamDesigner1->Active())
        DreamDesigner1->SetActive(false);
    Hide();
}

bool TfrmVRBaseFmt::DesignActive() const
{
    return DreamDesigner1->Active();
}

void TfrmVRBaseFmt::designerClosed()
{
    if (endingDesign_ || !designContext_.DesignerClosed)
        return;
    // The designer is still inside its own stop when it says so; the window
    // frees this form when told, so it is told from the event loop. A form
    // freed before then drops the call with it.
    QMetaObject::invokeMethod(this, [closed = designContext_.DesignerClosed] { closed(); }, Qt::QueuedConnection);
}

void TfrmVRBaseFmt::DreamDesigner1LoadChanges(TObject*, bool& Done)
{
    // Read once: the designer opening on a form the run has loaded already
    // must not read the row again over the session's state. Without a
    // server there is nothing to read yet, so a later call still loads.
    if (!formatLoaded_) {
        formatLoaded_ = !store_->Host().ApplicationServer.IsEmptyOrNull();
        store_->LoadChanges(Done);
    }
    Done = true;
}

void TfrmVRBaseFmt::loadBackground(const QString& path)
{
    QFile file(NativePath(path));
    if (file.open(QIODevice::ReadOnly))
        QuickRep1->Background()->SetData(file.readAll());
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
    for (TQRCustomBand* band : QuickRep1->Bands())
        for (int i = 0; i < band->ControlCount(); ++i) {
            auto* text = qobject_cast<TQRDBText*>(band->Controls(i));
            if (!text || text->OnPrint().Assigned())
                continue;
            auto* coded = qobject_cast<TQRDBIDText*>(text);
            if (coded && coded->Items()->Count() > 0)
                continue;
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
