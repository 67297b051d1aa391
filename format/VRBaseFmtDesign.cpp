// The format form's stored formats and design: the format store, the
// designer hook and the query builder wired together, the context handed to
// the store, the stored format read when the context arrives, and the design
// session the options window starts and ends.

#include "format/VRBaseFmtF.h"

#include "format/DocToEmf.h"
#include "format/FormatDesign.h"
#include "format/FormatStore.h"
#include "format/LinkPlannerCall.h"
#include "format/OptionSnapshot.h"
#include "runtime/designer/DCFormDesigner.h"
#include "runtime/designer/DesignSurface.h"
#include "runtime/designer/DesignerTexts.h"
#include "runtime/designer/DreamDesigner.h"
#include "runtime/designer/ReportQueryBuilder.h"
#include "runtime/forms/Dialogs.h"
#include "runtime/report/QRBarcode.h"
#include "runtime/report/QRCtrls.h"
#include "runtime/system/NativePath.h"

#include <QFile>
#include <QImage>
#include <QPointer>
#include <QScopedValueRollback>
#include <QWidget>

namespace {

// The design window says what is designed: the report and the format's name.
void showDesignTitle(TfrmVRBaseFmt* form)
{
    QWidget* window = form->DreamDesigner1 ? form->DreamDesigner1->Window() : nullptr;
    if (!window)
        return;
    const QString name = form->FormatName();
    const QString shown
        = form->HvConverter() ? form->HvConverter()->ToDisplay(Variant(name)).ToString() : name;
    window->setWindowTitle(form->DisplayTitle() + QStringLiteral(" [") + shown + u']');
}

} // namespace

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
    host.BuilderHandOver = [this] {
        if (designerStarting_)
            handOverStoredRelations();
    };
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
    DreamDesigner1->OnLoadChanges = [this](TDreamDesigner* sender, bool& done) {
        // The designer raises its load as it starts: what is read now is
        // read with the designer on.
        const QScopedValueRollback starting(designerStarting_, true);
        DreamDesigner1LoadChanges(sender, done);
    };
    design_->BeforeDesign = [this] { BeforeDesign(); };
    design_->DocToEmf = [this] { convertDocumentToBackground(); };
    design_->DesignerClosed = [this] { designerClosed(); };
    design_->AfterSaveCommand = [this] { showDesignTitle(this); };
    design_->PlannerData = [this]() -> TLinkPlannerData* {
        if (!plannerData_ && context_.Connection)
            plannerData_ = std::make_unique<TLinkPlannerData>(ColumnsThroughProvider(context_.Connection));
        return plannerData_.get();
    };
    design_->SetupExtendedText = [this](ReportDBText* text, const TQueryField&) { SetupExtendedText(text); };
    design_->SetupExtendedBarcode
        = [this](ReportDBBarcode* code, const TQueryField&) { SetupExtendedBarcode(code); };
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

void TfrmVRBaseFmt::InitQueryBuilder(const QString& select, const QString& from, const QString& where,
    const QString& orderBy, const QString& groupBy)
{
    SQLReBuilder->InitQueryBuilder(select, from, where, groupBy, orderBy, ListLayoutFields());
}

void TfrmVRBaseFmt::RunLinkPlanner()
{
    design_->RunLinkPlanner(true);
}

QString TfrmVRBaseFmt::GetFinalQuery(const QString& sql)
{
    // Nothing to add is no final text: the options window then opens the
    // data with its own query, and a failure there is no extended-field error.
    if (!SQLReBuilder->Active() || !SQLReBuilder->HasExtendedFields())
        return QString();
    return SQLReBuilder->GetFinalQuery(sql);
}

void TfrmVRBaseFmt::fillStoreHost()
{
    TFormatStoreHost& host = store_->Host();
    host.ApplicationServer = context_.ApplicationServer;
    host.CompanyCode = context_.CompanyCode;
    host.UserCode = context_.UserCode;
    host.UserGroup = context_.UserGroup;
    host.CustomFormatPath = context_.CustomFormatPath;
    QString home = HomeFolder();
    if (!home.isEmpty() && !home.endsWith(u'/') && !home.endsWith(u'\\'))
        home += u'\\';
    host.ClientHome = home;
    host.Converter = HvConverter();
    // On a Big5 system stored layouts name the Big5 character set, and the
    // name dialog's caption and prompt are shown in traditional characters,
    // as the form titles are (the converter's rule for the system code page).
    if (TCodeConverter* converter = HvConverter()) {
        host.SystemCodePage = converter->SystemCodePage();
        QPointer<TCodeConverter> guarded(converter);
        host.Translate = [guarded](const QString& text) {
            return guarded ? guarded->ConvertText(cdGBToBig5, text) : text;
        };
    }
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

void TfrmVRBaseFmt::BeginDesign(const TDesignContext& context)
{
    designContext_ = context;
    endingDesign_ = false;
    // The designer's windows take their words as they are made: in the
    // user's language, from the package of the designer.
    const QPointer<TfrmVRBaseFmt> self(this);
    SetDesignerTranslator([self](const QString& name, const QString& text) {
        return self ? self->GetFormMessage(QStringLiteral("TDesigner"), name, true, text) : text;
    });
    design_->StartDesign(true);
    showDesignTitle(this);
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
    QMetaObject::invokeMethod(
        this, [closed = designContext_.DesignerClosed] { closed(); }, Qt::QueuedConnection);
}

void TfrmVRBaseFmt::DreamDesigner1LoadChanges(TObject*, bool& Done)
{
    // Read once: the designer opening on a form the run has loaded already
    // must not read the row again over the session's state. Without a
    // server there is nothing to read yet, so a later call still loads.
    if (!formatLoaded_) {
        formatLoaded_ = !store_->Host().ApplicationServer.IsEmptyOrNull();
        store_->LoadChanges(Done);
    } else if (designerStarting_ && store_->StoredFormatRead()) {
        // Read before the designer started (the run's context brought it):
        // the designer's load still owes the stored relations the query.
        handOverStoredRelations();
    }
    Done = true;
}

void TfrmVRBaseFmt::handOverStoredRelations()
{
    // A stored format with relation tables, read with the designer on, gets
    // the options window's query parts as the base of its relations (the
    // designer flag off: they are the run's pieces now, not the designer's),
    // and the link planner joins its extended fields to them.
    if (!SQLReBuilder->HasRelationData() || SQLReBuilder->IsQueryEmpty() || !designContext_.QueryParts)
        return;
    const TQueryParts parts = designContext_.QueryParts();
    if (!AcceptQueryParts(parts))
        return;
    SetQueryParts(parts, false);
    design_->RunLinkPlanner(false);
}

void TfrmVRBaseFmt::loadBackground(const QString& path)
{
    QFile file(NativePath(path));
    if (file.open(QIODevice::ReadOnly))
        QuickRep1->Background()->SetData(file.readAll());
}

void TfrmVRBaseFmt::convertDocumentToBackground()
{
    const auto text = [this](const char* key, const char* chinese) {
        return GetFormMessage(
            QStringLiteral("TfrmVRBaseFmt"), QString::fromLatin1(key), true, QString::fromUtf8(chinese));
    };
    QString home = HomeFolder();
    if (!home.isEmpty() && !home.endsWith(u'/') && !home.endsWith(u'\\'))
        home += u'\\';
    TDocToEmf tool;
    const QPointer<TfrmVRBaseFmt> self(this);
    const bool started = tool.Start(home, this, [self, text](const QString& picture) {
        // Cancelled or failed: the converter has told the user why.
        if (!self || picture.isEmpty())
            return;
        QFile file(NativePath(picture));
        const QByteArray data = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        // The report draws what Qt can read; an EMF made for Windows is not that.
        if (data.isEmpty() || QImage::fromData(data).isNull()) {
            Dialogs().MessageDlg(text("sBackgroundUnreadable", "无法读取此图档作为背景: ") + picture, mtError,
                mbOK, self->Caption());
            return;
        }
        self->QuickRep1->Background()->SetData(data);
        if (TDCFormDesigner* model = self->DreamDesigner1->GetActiveDesigner())
            model->Modified();
        if (self->DreamDesigner1->Surface())
            self->DreamDesigner1->Surface()->update();
    });
    if (!started)
        Dialogs().MessageDlg(
            text("sNoDocToEmf", "找不到转换工具: ") + tool.LastError(), mtError, mbOK, Caption());
}
