#include "criteria/BaseGene.h"

#include "common/LibDates.h"
#include "common/StewardINI.h"
#include "controls/ExtPage.h"
#include "controls/GlyphBank.h"
#include "criteria/BaseGeneU.h"
#include "criteria/CriteriaState.h"
#include "criteria/ProgramHelp.h"
#include "criteria/SelectPnl.h"
#include "criteria/SysParamCache.h"
#include "runtime/data/ClientDataSet.h"
#include "runtime/data/SocketConnection.h"
#include "runtime/forms/ComCtrls.h"
#include "runtime/forms/Dialogs.h"
#include "runtime/forms/ExtCtrls.h"
#include "runtime/forms/ImgList.h"
#include "runtime/forms/Mask.h"
#include "runtime/forms/Menus.h"
#include "runtime/forms/StdCtrls.h"
#include "runtime/system/ArgReader.h"
#include "runtime/system/AutoObject.h"
#include "update/ServerProgram.h"
#include "update/ServerRunParams.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QWidget>

namespace {

// Esc in the in-place editor of a list (renaming a scheme) gives up the
// edit, as the editor's own window does in the original, where the form
// never sees that key: true when an editor was closed so.
bool cancelItemEdit()
{
    QWidget* editor = QApplication::focusWidget();
    for (QWidget* p = editor ? editor->parentWidget() : nullptr; p; p = p->parentWidget()) {
        auto* view = qobject_cast<QAbstractItemView*>(p);
        if (!view)
            continue;
        if (editor == view->viewport() || !view->itemDelegate())
            return false;
        emit view->itemDelegate()->closeEditor(editor, QAbstractItemDelegate::RevertModelCache);
        return true;
    }
    return false;
}

} // namespace

static void initCriteriaResources()
{
    Q_INIT_RESOURCE(criteria);
}

TfrmBaseGene::TfrmBaseGene(TComponent* owner)
    : THVForm(owner)
{
    initCriteriaResources();
    RegisterSelectPanel();
    // Not components: the connection, its broker and the scheme data set
    // live beside the form description, as the non-visual parts they are.
    mainMidas_ = new TSocketConnection(this);
    mainMidas_->setObjectName(QStringLiteral("MainMidas"));
    objBroker_ = new TSimpleObjectBroker(this);
    objBroker_->setObjectName(QStringLiteral("ObjBroker"));
    clientDataSet_ = new TClientDataSet(this);
    clientDataSet_->SetName(QStringLiteral("ClientDataSet1"));
    clientDataSet_->SetProviderName(QStringLiteral("pvdConSave"));
    clientDataSet_->SetRemoteServer(mainMidas_);
    ReadFormResource(this, QStringLiteral(":/forms/TfrmBaseGene.dfm"));
    bindChildren();
    fillImages();
}

void TfrmBaseGene::fillImages()
{
    // Scheme rows and tool buttons take their pictures from the glyph bank:
    // 0 a scheme, 1 save, 2 open, 3 delete, 4 the view styles.
    static const int glyphs[] = {12, 5, 3, 47, 4};
    for (const char* name : {"ImageList1", "ImageList2"}) {
        auto* images = FindComponent<TImageList>(QString::fromLatin1(name));
        if (!images || images->Count() > 0)
            continue;
        for (int glyph : glyphs) {
            const QImage strip = GlyphImage(glyph);
            images->Add(strip.isNull() ? QImage() : strip.copy(0, 0, strip.height(), strip.height()));
        }
    }
}

TfrmBaseGene::~TfrmBaseGene() = default;

void TfrmBaseGene::bindChildren()
{
    pnlCondition = FindComponent<TPanel>(QStringLiteral("pnlCondition"));
    lblCondition = FindComponent<TLabel>(QStringLiteral("lblCondition"));
    btnInsert = FindComponent<TToolButton>(QStringLiteral("btnInsert"));
    btnOpen = FindComponent<TToolButton>(QStringLiteral("btnOpen"));
    btnDelete = FindComponent<TToolButton>(QStringLiteral("btnDelete"));
    ToolButton1 = FindComponent<TToolButton>(QStringLiteral("ToolButton1"));
    lstCondition = FindComponent<TListView>(QStringLiteral("lstCondition"));
    mnList = FindComponent<TPopupMenu>(QStringLiteral("mnList"));
    pgOption = FindComponent<TExtPageControl>(QStringLiteral("pgOption"));
    tsOption1 = FindComponent<TTabSheet>(QStringLiteral("tsOption1"));
    tsOption2 = FindComponent<TTabSheet>(QStringLiteral("tsOption2"));
    lblToday = FindComponent<TLabel>(QStringLiteral("lblToday"));
    edPrintDate = FindComponent<TMaskEdit>(QStringLiteral("edPrintDate"));
    btnPrintDate = FindComponent<TF2Button>(QStringLiteral("btnPrintDate"));
    Panel1 = FindComponent<TPanel>(QStringLiteral("Panel1"));
    btnOk = FindComponent<TButton>(QStringLiteral("btnOk"));
    btnCancel = FindComponent<TButton>(QStringLiteral("btnCancel"));
    if (!pgOption || !edPrintDate || !lstCondition || !btnOk || !btnCancel)
        throw EComponentError(QStringLiteral("TfrmBaseGene: the form description lacks its frame"));
}

void TfrmBaseGene::FormCreate(TObject*)
{
    if (HvConverter() && HvConverter()->UICodePage() == u"950") {
        const QString sep = QLocale().dateFormat(QLocale::ShortFormat).contains(u'-') ? QStringLiteral("-")
                                                                                      : QStringLiteral("/");
        dateStyle_ = dateStyle_.WithSeparator(sep);
    }
    // Hints of the criteria stay up while the user reads them (long
    // Chinese texts): about eight minutes instead of a few seconds.
    SetHintHidePause(500000);
    errorCodes_.clear();
    errorTexts_.clear();
    dateRules_.clear();
    PrepareDataSets();
}

// --- virtual operations -------------------------------------------------------

void TfrmBaseGene::SystemPageFirstShow()
{
    systemPageShown_ = true;
    tsOption2->SetParentFont(true);
    tsOption2->Font()->SetSize(9);
    tsOption2->SetParentFont(false);
    if (Width() < 315)
        SetWidth(315);
    if (Height() < 110)
        SetHeight(110);
    lblToday->SetAutoSize(true);
    lblToday->SetBounds(8, 12, lblToday->Width(), lblToday->Height());
    edPrintDate->SetBounds(60, 8, 85, edPrintDate->Height());
    btnPrintDate->AlignToEdit();
}

void TfrmBaseGene::SetupEnvironment()
{
    reportKind_ = QStringLiteral("R");
    if (programCode_.isEmpty() && !modulePath_.isEmpty())
        programCode_ = basegene::ProgramCodeOf(modulePath_);
    SetDateFields(QStringLiteral("edPrintDate"));
}

void TfrmBaseGene::PickPhrase(TWinControl* control)
{
    if (!control || lookup_.IsEmptyOrNull())
        return;
    QString phrase;
    try {
        phrase
            = lookup_.Call(QStringLiteral("GetPhrase"), {userCode_, databaseName_, callerHandle_}).ToString();
    } catch (const Exception&) {
        return;
    }
    if (!phrase.isEmpty())
        control->setProperty("Text", phrase);
}

bool TfrmBaseGene::RunServerProgram()
{
    // The server library takes the run as one array: 6 items for batch
    // programs (kind "B"), 11 for the rest; the library finder brings its copy
    // up to date from the server first.
    TServerRunParams run;
    run.ProgramCode = programCode_;
    run.CompanyCode = companyCode_;
    run.UserCode = userCode_;
    run.DatabaseName = databaseName_;
    run.ReportKind = reportKind_;
    run.OptionValues = optionValues_;
    run.OptionTexts = optionTexts_;
    run.Environment = environment_;
    run.ServerClassName = ServerClassName();
    run.CallerHandle = callerHandle_.toLongLong();
    run.Moment = QDateTime::currentDateTime();
    QString error;
    try {
        if (RunProgramServerLibrary(manager_, programCode_, BuildServerRunParams(run), error))
            return true;
    } catch (const Exception& e) {
        error = e.Message();
    }
    addError(QString(), error);
    return false;
}

void TfrmBaseGene::PrepareDataSets()
{
    // Labels, and the texts the fields show and take, in the user's code
    // page; the stored values stay in the database's (names and values of
    // schemes are converted where they are read).
    TCodeConverter* converter = HvConverter();
    if (!converter)
        return;
    for (TClientDataSet* dataSet : findChildren<TClientDataSet*>())
        converter->HookFieldTexts(*dataSet);
}

void TfrmBaseGene::InitializeForm()
{
    recordColours();
    ObtainServices();
    SetupEnvironment();
    ObtainLookupServer();
}

bool TfrmBaseGene::ApplyParams(const Variant& params)
{
    if (!companyCode_.isEmpty())
        return true;
    try {
        sysParams_ = std::make_unique<TSysParamCache>([this]() -> Variant {
            if (counter_.IsEmptyOrNull())
                return Variant();
            return counter_.Call(QStringLiteral("GetSysInfo"), {companyCode_, databaseName_});
        });
        counter_ = validator_ = lookup_ = appServer_ = Variant();
        errorTexts_.clear();
        edPrintDate->Clear();
        // Elements count from the array's low bound; a missing one reads as
        // empty, and fewer than five make the arguments unusable.
        const TArgReader args(params);
        callerHandle_ = args.Text(3);
        if (args.Count() < 5) {
            ReportError(QStringLiteral("E;000038"));
            return false;
        }
        Hide();
        userCode_ = args.Text(0).trimmed();
        companyCode_ = args.Text(1).section(u';', 0, 0).trimmed();
        databaseName_ = args.Text(2).trimmed();
        InitializeForm();
        // Each program's form carries the program's first letters in its name
        // (frmZorv52 for ZORV52); another program's form is refused.
        if (Name().mid(3, 3).compare(programCode_.left(3), Qt::CaseInsensitive) != 0) {
            ReportError(QStringLiteral("E;000036"));
            return false;
        }
        connectServer();
        if (appServer_.IsEmptyOrNull()) {
            ReportError(QStringLiteral("E;000006"));
            return false;
        }
        InitializeDone();
        return true;
    } catch (const Exception& e) {
        addError(QString(), e.Message());
        return false;
    }
}

void TfrmBaseGene::connectServer()
{
    mainMidas_->Close();
    mainMidas_->SetServerName(ServerClassName());
    mainMidas_->SetObjectBroker(objBroker_);
    objBroker_->Servers().clear();
    TStewardIniC config;
    if (config.LoadSettings() && config.Servers.IsArray()) {
        for (int i = config.Servers.LowBound(2); i <= config.Servers.HighBound(2); ++i)
            objBroker_->AddServer(config.Servers.At(0, i).ToString(), config.Servers.At(1, i).ToInt());
    }
    if (objBroker_->Servers().isEmpty())
        objBroker_->AddServer(QStringLiteral("127.0.0.1"));
    const QString address = objBroker_->Servers().first().ComputerName;
    mainMidas_->SetAddress(address);
    if (objBroker_->Servers().first().Port > 0)
        mainMidas_->SetPort(objBroker_->Servers().first().Port);
    ConnectionPrepared(mainMidas_);
    try {
        if (address == u"127.0.0.1")
            mainMidas_->SetAppServer(CreateOleObject(mainMidas_->ServerName()));
        else
            mainMidas_->Open();
        appServer_ = mainMidas_->AppServer();
    } catch (const Exception& e) {
        addError(QString(), e.Message());
        appServer_ = Variant();
    }
}

void TfrmBaseGene::InitializeDone()
{
}

bool TfrmBaseGene::PutPrintDate(Variant& values)
{
    QString date;
    if (!PrintDateValue(date)) {
        ReportError(QStringLiteral("E;000030"));
        return false;
    }
    values[1] = date;
    return true;
}

int TfrmBaseGene::ValidateOptions()
{
    return 0;
}

void TfrmBaseGene::OptionsValidated()
{
}

bool TfrmBaseGene::PutEnvironment(Variant& environment)
{
    environment[1] = programCode_.toUpper();
    environment[2] = environmentCount_;
    environment[3] = optionCount_;
    environment[4] = companyCode_;
    environment[5] = userCode_;
    environment[6] = databaseName_;
    environment[7] = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMddhhmmss"));
    environment[8] = ServerClassName();
    environment[9] = reportKind_.toUpper();
    return true;
}

bool TfrmBaseGene::PutTitleInfo(Variant& texts)
{
    texts[1] = Variant::ArrayOf({lblToday->Caption(), edPrintDate->Name()});
    return true;
}

void TfrmBaseGene::PutOptionExtras()
{
}

void TfrmBaseGene::ConnectionPrepared(TSocketConnection*)
{
}

void TfrmBaseGene::AfterSchemeOpened()
{
}

void TfrmBaseGene::SchemeListRefreshed()
{
}

void TfrmBaseGene::BeforeRestoreControl(TComponent*, const QString&)
{
}

void TfrmBaseGene::AfterRestoreControl(TComponent*, const QString&)
{
}

void TfrmBaseGene::ObtainServices()
{
    if (manager_.IsEmptyOrNull()) {
        try {
            manager_ = CreateOleObject(QStringLiteral("HubDesk.Manager"));
        } catch (const Exception&) {
            manager_ = Variant();
        }
    }
    auto service = [this](const char* name) {
        try {
            return manager_.IsEmptyOrNull() ? Variant() : manager_.Get(QString::fromLatin1(name));
        } catch (const Exception&) {
            return Variant();
        }
    };
    counter_ = service("Com_Counter");
    validator_ = service("Com_Validator");
    titleSuffix_ = GetSysParam(QStringLiteral("HVN002"));
    // An unset separator keeps the one the window chose (the locale's on a
    // Traditional Chinese interface, else "/").
    const QString separator = GetSysParam(QStringLiteral("Sys002"));
    dateStyle_ = TDateStyle::FromSetting(
        GetSysParam(QStringLiteral("Sys001")), separator.isEmpty() ? dateStyle_.Separator() : separator);
}

void TfrmBaseGene::ObtainLookupServer()
{
    if (!(optionFlags_ & 4) || manager_.IsEmptyOrNull())
        return;
    try {
        lookup_ = manager_.Get(QStringLiteral("Com_F2Window"));
    } catch (const Exception&) {
        lookup_ = Variant();
    }
}

void TfrmBaseGene::OpenLookup(Word key, TWinControl* control)
{
    if (key != VK_F2 || !control || lookup_.IsEmptyOrNull())
        return;
    if (control == edPrintDate)
        PickDate(edPrintDate);
}

void TfrmBaseGene::PickDate(TCustomEdit* edit)
{
    if (!edit || lookup_.IsEmptyOrNull())
        return;
    // The picker starts on the date in the field when there is one, else today.
    QString start = DateToStorage(edit->Text());
    if (ParseDate8(start) == 0)
        start = QDate::currentDate().toString(QStringLiteral("yyyyMMdd"));
    QString answer;
    try {
        answer = lookup_
                     .Call(QStringLiteral("ShowInputDay"),
                         {Variant::ArrayOf({dateStyle_.CountsFrom1911(), start, databaseName_})})
                     .ToString();
    } catch (const Exception&) {
        return;
    }
    if (!answer.trimmed().isEmpty())
        edit->SetText(StorageToDate(answer.trimmed()));
}

// --- colours --------------------------------------------------------------------

void TfrmBaseGene::recordColours()
{
    colours_.clear();
    std::function<void(TWinControl*)> walk = [&](TWinControl* parent) {
        for (TControl* c : parent->ControlList()) {
            if (auto* panel = qobject_cast<TSelectPanel*>(c)) {
                colours_.insert(panel->Name() + QStringLiteral(".edBegin="), panel->edBegin->Color());
                colours_.insert(panel->Name() + QStringLiteral(".edFinal="), panel->edFinal->Color());
                colours_.insert(panel->Name() + QStringLiteral(".ListBox="), panel->ListBox->Color());
                continue;
            }
            if (!c->Name().isEmpty())
                colours_.insert(c->Name() + u'=', c->Color());
            auto* container = qobject_cast<TWinControl*>(c);
            if (container && !container->inherits("TSpinEdit"))
                walk(container);
        }
    };
    walk(this);
}

// --- show, close, keys ------------------------------------------------------------

void TfrmBaseGene::FormShow(TObject*)
{
    QString caption = Caption();
    if (programTitle_.isEmpty())
        programTitle_ = caption;
    const bool library = modulePath_.isEmpty()
        || modulePath_.endsWith(QLatin1String(".so"), Qt::CaseInsensitive)
        || modulePath_.endsWith(QLatin1String(".dll"), Qt::CaseInsensitive);
    const QString exeNotice = GetFormMessage(QStringLiteral("TfrmBaseGene"), QStringLiteral("sExeVer"), true,
        QStringLiteral("[您现在运行的是Exe版本!]"));
    if (!library && !caption.contains(exeNotice))
        caption += exeNotice;
    const QString suffix = u'[' + titleSuffix_ + u']';
    if (!caption.endsWith(suffix))
        caption += suffix;
    SetCaption(caption);
    pgOption->SetActivePageIndex(0);
    FocusFirstControl();
    if (lstCondition->Columns()->Count() == 0) {
        for (const auto& [key, text] :
            {std::pair {"sProjectName", "方案名称"}, std::pair {"sCreateTime", "创建时间"}}) {
            TListColumn* column = lstCondition->Columns()->Add();
            column->SetCaption(GetFormMessage(
                QStringLiteral("TfrmBaseGene"), QString::fromLatin1(key), true, QString::fromUtf8(text)));
            column->SetWidth(-2);
        }
    }
    try {
        RefreshSchemeList();
    } catch (const Exception& e) {
        ReportError(QStringLiteral("E;000000;") + e.Message());
    }
    KeepCriteria();
}

bool TfrmBaseGene::CriteriaTyped() const
{
    // A window never shown (a run of the shell's keys) has no typing in it.
    return keptCriteria_ && CriteriaState(pgOption) != *keptCriteria_;
}

void TfrmBaseGene::KeepCriteria()
{
    keptCriteria_ = CriteriaState(pgOption);
}

bool TfrmBaseGene::MayCloseOnEscape()
{
    if (!CriteriaTyped())
        return true;
    // Esc is pressed to leave a list or a field as often as to leave the
    // window: criteria typed by hand are not dropped without asking.
    const QString question = GetFormMessage(QStringLiteral("TfrmBaseGene"), QStringLiteral("sCloseAsk"), true,
        QStringLiteral("已输入的选择条件将会清除，确定要关闭吗?"));
    const TMsgDlgButtons buttons = TMsgDlgButtons(mbYes) | mbNo;
    const QString codePage = HvConverter() ? HvConverter()->UICodePage() : QString();
    const TMessageBoxScope extras({QString(), basegene::ButtonCaptionsOf(buttons, codePage)});
    TWinControl* focus = ActiveControl();
    const bool close = Dialogs().MessageDlg(question, mtConfirmation, buttons, Caption()) == mrYes;
    if (!close && focus && focus->ParentForm() == this)
        focus->SetFocus();
    return close;
}

void TfrmBaseGene::ShowHelp()
{
    const QString topic = HelpTopic();
    if (!topic.isEmpty() && !manager_.IsEmptyOrNull()) {
        try {
            if (manager_.Call(QStringLiteral("CallHelp"), {Variant::ArrayOf({programCode_.left(3), topic})})
                    .ToBool())
                return;
        } catch (const Exception&) {
            // the program's own page follows
        }
    }
    const QString page = TProgramHelp::PagePath(modulePath_, programCode_);
    if (TProgramHelp::Open(page))
        return;
    const QString text = GetFormMessage(QStringLiteral("TfrmBaseGene"), QStringLiteral("sHelpFailed"), true,
        QStringLiteral("无法打开说明文件:"));
    Dialogs().MessageDlg(text + u'\r' + QDir::toNativeSeparators(page), mtInformation, mbOK, Caption());
}

void TfrmBaseGene::FocusFirstControl()
{
    TTabSheet* page = pgOption->ActivePage();
    if (!page)
        return;
    std::function<TWinControl*(TWinControl*)> first = [&](TWinControl* parent) -> TWinControl* {
        for (TWinControl* c : parent->TabList()) {
            if (!c->Visible() || !c->Enabled())
                continue;
            if (auto* panel = qobject_cast<TSelectPanel*>(c))
                return panel->IsRangeMode() ? static_cast<TWinControl*>(panel->edBegin) : panel->ListBox;
            if (c->TabStop() && c->ControlCount() == 0)
                return c;
            if (TWinControl* inner = first(c))
                return inner;
        }
        return nullptr;
    };
    if (TWinControl* target = first(page))
        target->SetFocus();
}

void TfrmBaseGene::FormDestroy(TObject*)
{
    sysParams_.reset();
    counter_ = validator_ = lookup_ = Variant();
    clientDataSet_->Close();
    appServer_ = Variant();
    if (!mainMidas_->InProcess())
        mainMidas_->Close();
    dateRules_.clear();
}

void TfrmBaseGene::FormClose(TObject*, TCloseAction& Action)
{
    Action = caFree;
    RepaintCaller();
}

void TfrmBaseGene::FormResize(TObject*)
{
    RepaintCaller();
}

void TfrmBaseGene::RepaintCaller() const
{
    // The caller's window may have been covered by this one: it paints again
    // at once rather than wait for the window system.
    bool ok = false;
    const qulonglong id = callerHandle_.trimmed().toULongLong(&ok);
    if (!ok || id == 0)
        return;
    if (QWidget* caller = QWidget::find(static_cast<WId>(id)); caller && caller->isVisible())
        caller->repaint();
}

void TfrmBaseGene::btnCancelClick(TObject*)
{
    Close();
}

void TfrmBaseGene::btnOkClick(TObject*)
{
}

void TfrmBaseGene::pgOptionChanging(TObject*, bool& AllowChange)
{
    if (busy_) {
        AllowChange = false;
        return;
    }
    // The field being left is checked before its page goes, without boxes
    // other than errors.
    if (TWinControl* active = ActiveControl()) {
        const bool wasQuiet = std::exchange(quiet_, true);
        active->OnExit()(active);
        quiet_ = wasQuiet;
    }
}

void TfrmBaseGene::pgOptionChange(TObject*)
{
    if (pgOption->ActivePage() == tsOption2 && !systemPageShown_)
        SystemPageFirstShow();
}

QString TfrmBaseGene::HelpTopic() const
{
    return basegene::HelpTopic(programCode_);
}

void TfrmBaseGene::FormKeyDown(TObject*, Word& Key, TShiftState Shift)
{
    const bool ctrl = Shift.testFlag(ssCtrl);
    const bool shift = Shift.testFlag(ssShift);
    if (Key == VK_ESCAPE) {
        Key = 0;
        if (cancelItemEdit())
            return;
        if (MayCloseOnEscape())
            Close();
    } else if (Key == VK_F2) {
        Key = 0;
        OpenLookup(VK_F2, ActiveControl());
    } else if (Key == VK_F1) {
        Key = 0;
        ShowHelp();
    } else if (ctrl && Shift.testFlag(ssAlt) && Key == 'V') {
        Key = 0;
        ShowModuleProperties();
    } else if (ctrl && (Key == VK_TAB || (shift && (Key == '1' || Key == 0xDE)))) {
        // Ctrl+Tab forward, Ctrl+Shift+Tab back; Ctrl+"!" back and Ctrl+'"' forward.
        const bool forward = Key == VK_TAB ? !shift : Key == 0xDE;
        Key = 0;
        // The focus goes with the page, as Enter at a page's end takes it:
        // a control of the page left behind is no longer on screen.
        const TTabSheet* before = pgOption->ActivePage();
        pgOption->SelectNextPage(forward);
        if (pgOption->ActivePage() != before)
            FocusFirstControl();
    } else if (Key == VK_RETURN && !ctrl) {
        enterForControl_ = !HandleEnter(ActiveControl());
        if (!enterForControl_)
            Key = 0;
    }
}

void TfrmBaseGene::FormKeyPress(TObject*, QChar& Key)
{
    // Enter was handled as a key-down, unless that left it to the control
    // (a memo starting a line): then its character goes on to the control.
    if (Key == QChar(13) && !std::exchange(enterForControl_, false))
        Key = QChar();
}

void TfrmBaseGene::ShowModuleProperties()
{
    const QFileInfo info(modulePath_);
    QString text
        = QStringLiteral("%1\r%2\r").arg(info.fileName(), QDir::toNativeSeparators(info.absoluteFilePath()));
    if (info.exists()) {
        text += QStringLiteral("%1 bytes\r%2")
                    .arg(info.size())
                    .arg(info.lastModified().toString(QStringLiteral("yyyy/MM/dd hh:mm:ss")));
    }
    Dialogs().MessageDlg(text + QStringLiteral("\r") + versionText_, mtInformation, mbOK, Caption());
}
