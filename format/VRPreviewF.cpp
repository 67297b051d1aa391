#include "format/VRPreviewF.h"

#include "format/PageGeometry.h"
#include "format/TfrmVRConvPic.h"
#include "format/VRBaseFmtF.h"
#include "runtime/forms/ComCtrls.h"
#include "runtime/forms/Dialogs.h"
#include "runtime/forms/FormReader.h"
#include "runtime/forms/Menus.h"
#include "runtime/forms/StdCtrls.h"
#include "runtime/report/QRPreview.h"
#include "runtime/report/QRPrinter.h"
#include "runtime/system/AutoObject.h"
#include "runtime/system/NativePath.h"
#include "runtime/system/PathCase.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QUrl>

namespace {

bool readInt(const QString& text, int& value)
{
    bool ok = false;
    value = text.trimmed().toInt(&ok);
    return ok;
}

} // namespace

int ZoomFromText(const QString& text, int lowest, int highest, int fallback)
{
    int zoom = 0;
    if (!readInt(text, zoom))
        return fallback;
    return std::clamp(zoom, lowest, highest);
}

TfrmVRPreview::TfrmVRPreview(TfrmVRBaseFmt* owner)
    : THVForm(owner)
    , format_(owner)
{
    InitFormatResources();
    RegisterReportClasses();
    ReadFormResource(this, QStringLiteral(":/format/TfrmVRPreview.dfm"));
    QRPreview = FindComponent<TQRPreview>(QStringLiteral("QRPreview"));
    moPaperSize = FindComponent<TMemo>(QStringLiteral("moPaperSize"));
    moUnits = FindComponent<TMemo>(QStringLiteral("moUnits"));
    ToolBar1 = FindComponent<TToolBar>(QStringLiteral("ToolBar1"));
    const auto button
        = [this](const char* name) { return FindComponent<TToolButton>(QString::fromLatin1(name)); };
    btnZoomToPage = button("btnZoomToPage");
    btnZoomToWidth = button("btnZoomToWidth");
    btnPrint = button("btnPrint");
    btnFirstPage = button("btnFirstPage");
    btnPreviousPage = button("btnPreviousPage");
    btnNextPage = button("btnNextPage");
    btnLastPage = button("btnLastPage");
    btnSaveBMP = button("btnSaveBMP");
    btnExit = button("btnExit");
    btnEmail = button("btnEmail");
    btnFax = button("btnFax");
    lblScale = FindComponent<TLabel>(QStringLiteral("lblScale"));
    cboZoom = FindComponent<TComboBox>(QStringLiteral("cboZoom"));
    lblPageNo = FindComponent<TLabel>(QStringLiteral("lblPageNo"));
    edtPageNo = FindComponent<TEdit>(QStringLiteral("edtPageNo"));
    StatusBar = FindComponent<TStatusBar>(QStringLiteral("StatusBar"));
    pmuSaveBMP = FindComponent<TPopupMenu>(QStringLiteral("pmuSaveBMP"));
    pmBMP = FindComponent<TMenuItem>(QStringLiteral("pmBMP"));
    pmGIF = FindComponent<TMenuItem>(QStringLiteral("pmGIF"));
    pmJPG = FindComponent<TMenuItem>(QStringLiteral("pmJPG"));
    pmPDF = FindComponent<TMenuItem>(QStringLiteral("pmPDF"));
    pmVectorPDF = FindComponent<TMenuItem>(QStringLiteral("pmVectorPDF"));
    PopupmenuSendFax = FindComponent<TPopupMenu>(QStringLiteral("PopupmenuSendFax"));
    if (!QRPreview || !cboZoom || !edtPageNo || !StatusBar || StatusBar->Panels()->Count() < 2 || !btnFax
        || !btnEmail || !btnFirstPage || !btnLastPage || !btnNextPage || !btnPreviousPage || !PopupmenuSendFax
        || !btnSaveBMP)
        throw EComponentError(QStringLiteral("TfrmVRPreview: the form description lacks its controls"));
    report_ = owner ? owner->QuickRep1 : nullptr;
    FormCreate(this);
}

void TfrmVRPreview::FormCreate(TObject*)
{
    QRPreview->SetZoom(100);
    GoToPage(0);
    SetWindowState(wsMaximized);
    StatusBar->Panels()->Items(1)->SetText(paperCaption());
    btnSaveBMP->SetVisible(true);
}

QString TfrmVRPreview::paperCaption() const
{
    return GetFormMessage(QStringLiteral("TfrmVRPreview"), QStringLiteral("sPaperFormat"), true,
        QStringLiteral(" 纸张格式 : "));
}

void TfrmVRPreview::FormDestroy(TObject*)
{
    QRPreview->SetQRPrinter(nullptr);
}

void TfrmVRPreview::FormClose(TObject*, Vcl::TCloseAction& Action)
{
    // The format form frees this window when the modal run returns.
    Action = caHide;
}

void TfrmVRPreview::Prepare()
{
    if (report_) {
        QRPreview->SetQRPrinter(report_->QRPrinter());
        QRPreview->SetOnPageAvailable(TNotifyEvent::Of(this, &TfrmVRPreview::QRPreviewPageAvailable));
    }
    ZoomTo(100);
    GoToPage(1);
    setupSendButtons();
    StatusBar->Panels()->Items(1)->SetText(paperText());
}

void TfrmVRPreview::ShowPreview()
{
    Prepare();
    PrepareShow();
    if (report_)
        SetCaption(Caption() + QStringLiteral(" - ") + format_->DisplayTitle());
    Dialogs().ShowModal(this);
    FormDestroy(this);
}

QString TfrmVRPreview::paperText() const
{
    if (!report_)
        return StatusBar->Panels()->Items(1)->Text();
    // Length and width in the report's units ("279.4 x 215.9 / MM").
    const TPaperInfo paper = format_->PaperInfo();
    const QString size = moPaperSize->Lines()->Lines().value(paper.PaperSize);
    const QString unit = moUnits->Lines()->Lines().value(paper.Units);
    return paperCaption() + size + QStringLiteral(" ( ") + QString::number(paper.Length)
        + QStringLiteral(" x ") + QString::number(paper.Width) + QStringLiteral(" / ") + unit
        + QStringLiteral(" ) ");
}

// --- send buttons ---------------------------------------------------------------------------

namespace {

// Why the mail client cannot send from here, or empty. Logging on reads the
// mail settings and connects nowhere, so the preview can tell before the
// user presses the button.
QString mailUnusable()
{
    try {
        CreateOleObject(QStringLiteral("Outlook.Application"))
            .Call(QStringLiteral("GetNamespace"), {Variant("MAPI")})
            .Call(QStringLiteral("Logon"));
        return {};
    } catch (const std::exception& e) {
        return QString::fromUtf8(e.what());
    }
}

// A greyed send button says why in its tool tip (shown on a disabled button too).
void disableWithReason(TToolButton* button, const QString& reason)
{
    button->SetEnabled(false);
    button->SetHint(reason);
    button->SetShowHint(true);
}

QString sendText(const TfrmVRBaseFmt* format, const char* name, const char* chinese)
{
    return format->GetFormMessage(
        QStringLiteral("TfrmVRPreview"), QString::fromLatin1(name), true, QString::fromUtf8(chinese));
}

} // namespace

void TfrmVRPreview::setupSendButtons()
{
    const int flags = format_ ? format_->SendFlags : 0;
    const bool email = flags > 0 && (flags & 1);
    const bool fax = flags > 0 && (flags & 2);
    btnEmail->SetEnabled(email);
    btnEmail->SetVisible(email);
    btnFax->SetEnabled(fax);
    btnFax->SetVisible(fax);
    if (email) {
        const QString why = mailUnusable();
        if (!why.isEmpty())
            disableWithReason(btnEmail, sendText(format_, "sNoMailClient", "不能发送电子邮件: ") + why);
    }
    if (fax)
        addFaxServers();
}

void TfrmVRPreview::addFaxServers()
{
    try {
        const Variant service = CreateOleObject(QStringLiteral("HVNFAX.APP"));
        service.Call(QStringLiteral("RefreshFaxServerInfo"));
        const int count = service.Get(QStringLiteral("FaxServerCount")).ToInt();
        for (int i = 0; i < count; ++i) {
            Variant name, number;
            service.Call(QStringLiteral("GetFaxServerInfo"), {i, Variant::Ref(name), Variant::Ref(number)});
            auto* item = new TMenuItem(this);
            const QString caption = format_->HvConverter()
                ? format_->HvConverter()->ToDisplay(name.Deref()).ToString()
                : name.Deref().ToString();
            item->SetCaption(caption + u'(' + number.Deref().ToString() + u')');
            item->SetOnClick(TNotifyEvent::Of(
                this, [this, item](TObject*) { format_->Send(2, TOutputKind::Jpg, item->Caption()); }));
            PopupmenuSendFax->Items()->Add(item);
        }
        if (count <= 0)
            disableWithReason(btnFax,
                sendText(format_, "sNoFaxServer",
                    "不能发送传真: StewardC.ini 的 [Fax] 节没有设置传真服务器 (Server1=名称|主机)"));
    } catch (const std::exception& e) {
        // Without the fax service nothing can be sent; the preview still shows.
        const QString why
            = sendText(format_, "sNoFaxService", "不能发送传真: ") + QString::fromUtf8(e.what());
        disableWithReason(btnEmail, why);
        disableWithReason(btnFax, why);
    }
}

// --- paging and zoom ------------------------------------------------------------------------

void TfrmVRPreview::RefreshState()
{
    QRPreview->ScrollToTop();
    const int count = QRPreview->PageCount();
    if (count == 0) {
        for (TToolButton* b : {btnFirstPage, btnPreviousPage, btnNextPage, btnLastPage})
            b->SetEnabled(false);
        StatusBar->Panels()->Items(0)->SetText(QString());
        edtPageNo->SetText(QStringLiteral("0"));
        return;
    }
    const int page = QRPreview->PageNumber();
    // While the report is still being made the count is only what exists so far.
    if (QRPreview->QRPrinter() && QRPreview->QRPrinter()->Generating())
        StatusBar->Panels()->Items(0)->SetText(GetFormMessage(QStringLiteral("TfrmVRPreview"),
            QStringLiteral("sGenerating"), true, QStringLiteral("%1 / %2+ 页面生成中..."))
                                                   .arg(page)
                                                   .arg(count));
    else
        StatusBar->Panels()->Items(0)->SetText(QStringLiteral("%1 / %2").arg(page).arg(count));
    edtPageNo->SetText(QString::number(page));
    selectZoomItem(QRPreview->Zoom());
    btnFirstPage->SetEnabled(page > 1);
    btnPreviousPage->SetEnabled(page > 1);
    btnNextPage->SetEnabled(page < count);
    btnLastPage->SetEnabled(page < count);
}

void TfrmVRPreview::GoToPage(int page)
{
    const int count = QRPreview->PageCount();
    if (count == 0) {
        edtPageNo->SetText(QStringLiteral("0"));
        RefreshState();
        return;
    }
    QRPreview->SetPageNumber(std::clamp(page, 1, count));
    RefreshState();
}

void TfrmVRPreview::selectZoomItem(int zoom)
{
    const int index = cboZoom->Items()->IndexOf(QString::number(zoom));
    cboZoom->SetItemIndex(index);
    // A zoom the list lacks (a fitted page or width) shows as its number.
    if (index < 0)
        cboZoom->SetText(QString::number(zoom));
}

int TfrmVRPreview::steppedZoom(int direction) const
{
    const int zoom = QRPreview->Zoom();
    int best = zoom;
    for (const QString& item : cboZoom->Items()->Lines()) {
        bool ok = false;
        const int value = item.trimmed().toInt(&ok);
        if (!ok || (direction > 0 ? value <= zoom : value >= zoom))
            continue;
        if (best == zoom || (direction > 0 ? value < best : value > best))
            best = value;
    }
    return best;
}

void TfrmVRPreview::ZoomTo(int zoom)
{
    selectZoomItem(zoom);
    if (zoom != QRPreview->Zoom()) {
        QRPreview->ScrollToTop();
        QRPreview->SetZoom(zoom);
    }
}

void TfrmVRPreview::btnZoomToPageClick(TObject*)
{
    QCoreApplication::processEvents();
    QRPreview->ZoomToFit();
    selectZoomItem(QRPreview->Zoom());
}

void TfrmVRPreview::btnZoomToWidthClick(TObject*)
{
    QCoreApplication::processEvents();
    QRPreview->ZoomToWidth();
    selectZoomItem(QRPreview->Zoom());
}

void TfrmVRPreview::cboZoomClick(TObject*)
{
    ZoomTo(ZoomFromText(cboZoom->Items()->Strings(cboZoom->ItemIndex()), 0, std::numeric_limits<int>::max()));
}

void TfrmVRPreview::cboZoomExit(TObject*)
{
    // The list runs from the largest zoom (first item) to the smallest (last).
    const QStringList& items = cboZoom->Items()->Lines();
    const int highest = items.isEmpty() ? 200 : items.first().toInt();
    const int lowest = items.isEmpty() ? 20 : items.last().toInt();
    ZoomTo(ZoomFromText(cboZoom->Text(), lowest, highest));
}

void TfrmVRPreview::cboZoomKeyPress(TObject* Sender, QChar& Key)
{
    if (Key != QChar(u'\r'))
        return;
    Key = QChar();
    cboZoomExit(Sender);
}

void TfrmVRPreview::cboZoomKeyDown(TObject*, Word& Key, Vcl::TShiftState Shift)
{
    if (Key == VK_F11 && Shift.testFlag(ssCtrl))
        btnSaveBMP->SetVisible(!btnSaveBMP->Visible());
}

void TfrmVRPreview::edtPageNoKeyPress(TObject* Sender, QChar& Key)
{
    if (Key != QChar(u'\r'))
        return;
    Key = QChar();
    edtPageNoExit(Sender);
}

void TfrmVRPreview::edtPageNoExit(TObject*)
{
    int page = 0;
    GoToPage(readInt(edtPageNo->Text(), page) ? page : QRPreview->PageNumber());
}

void TfrmVRPreview::btnFirstPageClick(TObject*)
{
    GoToPage(1);
}

void TfrmVRPreview::btnPreviousPageClick(TObject*)
{
    GoToPage(QRPreview->PageNumber() - 1);
}

void TfrmVRPreview::btnNextPageClick(TObject*)
{
    GoToPage(QRPreview->PageNumber() + 1);
}

void TfrmVRPreview::btnLastPageClick(TObject*)
{
    // The last page is the report's, not the last one made so far.
    if (QRPreview->QRPrinter())
        QRPreview->QRPrinter()->Complete();
    GoToPage(QRPreview->PageCount());
}

bool TfrmVRPreview::typingInABox() const
{
    const TWinControl* active = ActiveControl();
    return active && (active == cboZoom || active == edtPageNo) && active->Focused();
}

void TfrmVRPreview::FormKeyDown(TObject*, Word& Key, Vcl::TShiftState Shift)
{
    const bool ctrl = Shift.testFlag(ssCtrl);
    switch (Key) {
    case VK_PRIOR:
        btnPreviousPageClick(btnPreviousPage);
        break;
    case VK_NEXT:
        btnNextPageClick(btnNextPage);
        break;
    case VK_HOME:
    case VK_END:
        // In the zoom and page boxes Home and End move the cursor.
        if (!ctrl && typingInABox())
            return;
        if (Key == VK_HOME)
            btnFirstPageClick(btnFirstPage);
        else
            btnLastPageClick(btnLastPage);
        break;
    case VK_ESCAPE:
        Close();
        break;
    case 'P':
        // Ctrl+P is the print button, whatever printing does there.
        if (!ctrl || !btnPrint || !btnPrint->Enabled())
            return;
        btnPrintClick(btnPrint);
        break;
    default:
        return;
    }
    Key = 0;
}

void TfrmVRPreview::FormKeyPress(TObject*, QChar& Key)
{
    if (Key != QChar(u'+') && Key != QChar(u'-'))
        return;
    ZoomTo(steppedZoom(Key == QChar(u'+') ? 1 : -1));
    Key = QChar();
}

void TfrmVRPreview::QRPreviewPageAvailable(TObject*)
{
    RefreshState();
}

// --- output -------------------------------------------------------------------------------------

void TfrmVRPreview::btnPrintClick(TObject*)
{
    if (!report_)
        return;
    format_->PrintCountMode = 1;
    // The format form asks where and what to print, prints, counts the
    // slips that went out and says why when nothing did.
    if (report_->Tag() == 0)
        format_->PrintWithDialog();
}

void TfrmVRPreview::btnEmailClick(TObject*)
{
    format_->Send(1, TOutputKind::Gif, QString());
}

void TfrmVRPreview::btnFaxClick(TObject*)
{
    const QList<TComponent*> items = PopupmenuSendFax->Items()->GetChildren();
    auto* first = items.isEmpty() ? nullptr : qobject_cast<TMenuItem*>(items.first());
    format_->Send(2, TOutputKind::Jpg, first ? first->Caption() : QString());
}

QString TfrmVRPreview::exportBaseName()
{
    // The home's data folder as it is on disk ("C_DATA" of a home made on
    // Windows is the folder meant by "c_data"), and the path the user is
    // shown is the one of this system.
    const QString folder = NativePathOnDisk(IncludeTrailingBackslash(format_->HomeFolder())
        + QStringLiteral("c_data\\") + format_->Context().UserCode);
    if (!QDir().mkpath(folder)) {
        Dialogs().MessageDlg(format_->GetFormMessage(QStringLiteral("TdmSingle"),
                                 QStringLiteral("sCreateDirError"), true, QStringLiteral("创建目录失败："))
                + folder,
            mtError, mbOK, Caption());
        return QString();
    }
    return folder + u'/' + format_->Context().ProgramCode + u'_'
        + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMddHHmmss"));
}

bool TfrmVRPreview::Export(TOutputKind kind)
{
    return WritesPages(kind) ? ExportShownPage(kind) : ExportWholeReport(kind);
}

bool TfrmVRPreview::ExportShownPage(TOutputKind kind)
{
    exported_.clear();
    if (!report_ || !WritesPages(kind))
        return false;
    report_->QRPrinter()->Complete();
    const QString base = exportBaseName();
    if (base.isEmpty())
        return false;
    const int reportPages = report_->Pages() ? report_->Pages()->PageCount() : 0;
    const int counted
        = format_->PrintCounter > 0 ? std::min(format_->PrintCounter, reportPages) : reportPages;
    for (int page : ExportedPages(QRPreview->PageNumber(), report_->PageStyle() == psHalfPage, counted)) {
        QString written;
        if (!format_->WritePage(
                base + QStringLiteral("%1").arg(page, 3, 10, QLatin1Char('0')), kind, page, &written)) {
            // Both halves of a sheet or neither: the user is told why and
            // finds no half of the export.
            for (const QString& file : std::as_const(exported_))
                QFile::remove(NativePath(file));
            exported_.clear();
            Dialogs().MessageDlg(format_->LastError(), mtError, mbOK, Caption());
            return false;
        }
        exported_ << written;
    }
    if (exported_.isEmpty())
        return false;
    offerToOpen(base);
    return true;
}

bool TfrmVRPreview::ExportWholeReport(TOutputKind kind)
{
    exported_.clear();
    if (!report_ || WritesPages(kind))
        return false;
    const QString base = exportBaseName();
    if (base.isEmpty())
        return false;
    const QString file = base + ExtensionOf(kind);
    if (!format_->Export(*TExportTarget::File(kind, file))) {
        Dialogs().MessageDlg(format_->LastError(), mtError, mbOK, Caption());
        return false;
    }
    exported_ << file;
    offerToOpen(base);
    return true;
}

void TfrmVRPreview::offerToOpen(const QString& baseName)
{
    const QString question = format_->GetFormMessage(QStringLiteral("TdmSingle"), QStringLiteral("sOpenDoc"),
        true, QStringLiteral("转出文件为：%s\r\r是否打开文件？"));
    if (Dialogs().MessageDlg(QString(question).replace(QStringLiteral("%s"), baseName), mtConfirmation,
            TMsgDlgButtons(mbYes | mbNo), Caption())
        != mrYes)
        return;
    // Without a launcher, or when the desktop has no program for the kind,
    // the user is told instead of nothing happening.
    const bool launcher = !QStandardPaths::findExecutable(QStringLiteral("xdg-open")).isEmpty();
    QStringList unopened;
    for (const QString& file : exported_) {
        const QString path = QFileInfo(NativePath(file)).absoluteFilePath();
        if (!launcher || !QDesktopServices::openUrl(QUrl::fromLocalFile(path)))
            unopened << QDir::toNativeSeparators(path);
    }
    if (unopened.isEmpty())
        return;
    Dialogs().MessageDlg(
        format_->GetFormMessage(QStringLiteral("TfrmVRPreview"), QStringLiteral("sNoOpenProgram"), true,
            QStringLiteral("没有可以打开此文件的程序，请自行打开：\r"))
            + unopened.join(QStringLiteral("\r")),
        mtWarning, mbOK, Caption());
}

void TfrmVRPreview::pmBMPClick(TObject*)
{
    Export(TOutputKind::Bmp);
}

void TfrmVRPreview::pmJPGClick(TObject*)
{
    Export(TOutputKind::Jpg);
}

void TfrmVRPreview::pmGIFClick(TObject*)
{
    Export(TOutputKind::Gif);
}

void TfrmVRPreview::pmPDFClick(TObject*)
{
    Export(TOutputKind::PicturePdf);
}

void TfrmVRPreview::pmVectorPDFClick(TObject*)
{
    Export(TOutputKind::ReportPdf);
}

void TfrmVRPreview::btnExitClick(TObject*)
{
    Close();
}
