// The send side of the format form: recipients registered while the report
// prints, print counts, and the e-mail and fax runs over them.

#include "format/VRBaseFmtF.h"

#include "format/PrintCounts.h"
#include "format/SendLog.h"
#include "format/SendSummary.h"
#include "format/TfrmVRSendOut.h"
#include "options/EmailSubjectF.h"
#include "runtime/forms/Dialogs.h"
#include "runtime/report/QRPrinter.h"
#include "runtime/report/QuickRpt.h"
#include "runtime/system/AutoObject.h"

#include <QDateTime>

namespace {

constexpr int SendEMailRun = 1;
constexpr int SendFaxRun = 2;
// Faxes go out at fine resolution; pictures of everything else at screen resolution.
constexpr int FaxResolution = 200;
constexpr int ScreenResolution = 96;

// The program's title: the part of the report title after "<company> - ".
QString programName(const TFormatContext& context)
{
    const qsizetype dash = context.Title.lastIndexOf(QStringLiteral(" - "));
    const QString name = dash >= 0 ? context.Title.mid(dash + 3) : QString();
    return name.isEmpty() ? context.ProgramCode : name;
}

} // namespace

void TfrmVRBaseFmt::RegisterRecipient(const QString& table, const QString& condition)
{
    if (SendFlags != SendEMailRun && SendFlags != SendFaxRun)
        return;
    // Without an address field every slip goes to the one typed address.
    const QString address = context_.SendAddressField.isEmpty()
        ? context_.SendAddress
        : FieldText(context_.SendAddressField).trimmed();
    const QString key
        = context_.SendKeyField.isEmpty() ? context_.SendAddress : FieldText(context_.SendKeyField).trimmed();
    const TSendGroup group {PrintCounter, table, context_.SendCountColumn, condition};
    if (SendFlags == SendEMailRun)
        SendList.Register(key, QString(), address, group);
    else
        SendList.Register(key, address, QString(), group);
}

int TfrmVRBaseFmt::UpdateSlipPrintCount(const TSendGroup& slip)
{
    return UpdatePrintCount(context_.ApplicationServer, PrintCountMode, slip);
}

void TfrmVRBaseFmt::CountSentSlips(const TSendRecipient& recipient)
{
    for (const TSendGroup& slip : recipient.PrintCounts())
        UpdateSlipPrintCount(slip);
}

void TfrmVRBaseFmt::tellOutcome(int kind, const TSendRun& run)
{
    const auto text = [this](const char* name, const QString& chinese) {
        return GetFormMessage(QStringLiteral("TfrmVRBaseFmt"), QString::fromLatin1(name), true, chinese);
    };
    const TSendSummaryTexts defaults;
    const TSendSummaryTexts texts {text("sMailSent", defaults.MailSent), text("sFaxSent", defaults.FaxSent),
        text("sSendFailed", defaults.SomeFailed), text("sSendCancelled", defaults.Cancelled),
        text("sMoreFailed", defaults.MoreFailed)};
    const TSendSummary summary = SummariseSend(kind, run.Outcomes, run.Cancelled, texts);
    if (!summary.Text.isEmpty())
        Dialogs().MessageDlg(summary.Text, summary.Failed ? mtError : mtInformation, mbOK, Caption());
}

bool TfrmVRBaseFmt::Send(int kind, TOutputKind pictureKind, const QString& serverCaption)
{
    return sendRun(kind, pictureKind, serverCaption, true);
}

QString TfrmVRBaseFmt::firstFaxServer() const
{
    // The same list the preview's fax menu shows; its first entry is what
    // the Fax button itself sends through.
    const Variant service = CreateOleObject(QStringLiteral("HVNFAX.APP"));
    service.Call(QStringLiteral("RefreshFaxServerInfo"));
    if (service.Get(QStringLiteral("FaxServerCount")).ToInt() <= 0)
        return QString();
    Variant name, number;
    service.Call(QStringLiteral("GetFaxServerInfo"), {0, Variant::Ref(name), Variant::Ref(number)});
    return name.Deref().ToString() + u'(' + number.Deref().ToString() + u')';
}

bool TfrmVRBaseFmt::SendToRecipients()
{
    // The pages go as the preview's buttons send them: GIF by mail, JPEG by fax.
    if (SendFlags == SendEMailRun)
        return sendRun(SendEMailRun, TOutputKind::Gif, QString(), false) && !SendFailed;
    if (SendFlags != SendFaxRun) {
        SetLastError(QStringLiteral("the run's delivery is printing, not e-mail or fax"));
        return false;
    }
    QString server, why;
    try {
        server = firstFaxServer();
    } catch (const std::exception& e) {
        why = QString::fromUtf8(e.what());
    }
    if (server.isEmpty()) {
        QString text = GetFormMessage(QStringLiteral("TfrmVRPreview"), QStringLiteral("sNoFaxServer"), true,
            QString::fromUtf8(
                "不能发送传真: StewardC.ini 的 [Fax] 节没有设置传真服务器 (Server1=名称|主机)"));
        if (!why.isEmpty())
            text += QStringLiteral(": ") + why;
        SetLastError(text);
        Dialogs().MessageDlg(text, mtError, mbOK, Caption());
        return false;
    }
    return sendRun(SendFaxRun, TOutputKind::Jpg, server, false) && !SendFailed;
}

bool TfrmVRBaseFmt::sendRun(int kind, TOutputKind pictureKind, const QString& serverCaption, bool askSubject)
{
    SendFailed = false;
    PrintCountMode = pcmSend;
    if (QuickRep1->Generating())
        QuickRep1->QRPrinter()->Complete();
    if (!PagesReady() && !GeneratePages())
        return false;
    if (SendList.IsEmpty()) {
        SetLastError(QStringLiteral("no recipient in this report"));
        Dialogs().MessageDlg(GetFormMessage(QStringLiteral("TfrmVRBaseFmt"), QStringLiteral("sNoRecipient"),
                                 true, QStringLiteral("此报表没有可传送的收件人。")),
            mtError, mbOK, Caption());
        return false;
    }
    // A run that cannot start (no folder for the attachments) fails with the
    // user told why: nothing of it may escape into the preview's button.
    try {
        TSendLog log(context_.ApplicationServer,
            {context_.CompanyCode, context_.UserCode, context_.UserGroup, context_.ProgramCode,
                programName(context_), HomeFolder()});
        TSendRun run(SendList, *this, log);
        const QString base
            = TSendRun::AttachmentBaseName(context_.ProgramCode, HomeFolder(), QDateTime::currentDateTime());
        bool sent = false;
        if (kind == SendEMailRun) {
            // One subject dialog for the form's life: the last subject is proposed again.
            const auto ask = [this, askSubject](QString& subject) {
                if (!askSubject)
                    return true; // nobody there to type one: the proposed subject
                if (!subjectDialog_)
                    subjectDialog_ = new TfrmEmailSubject(this);
                subjectDialog_->SetSubject(subject);
                if (Dialogs().ShowModal(subjectDialog_) != mrOk)
                    return false;
                subject = subjectDialog_->Subject();
                return true;
            };
            sent = run.SendEMail(
                pictureKind, base, QStringLiteral("Korvane-ERP ") + programName(context_), ask);
        } else if (kind == SendFaxRun) {
            Resolution = FaxResolution;
            std::unique_ptr<TfrmVRSendOut, FreeComponent> progress(new TfrmVRSendOut(this));
            progress->OnCancel = [this] { Cancelled = true; };
            progress->Start(QuickRep1->Pages() ? QuickRep1->Pages()->PageCount() : 0);
            progress->Show();
            sent = run.SendFax(serverCaption, base, context_.UserCode, *progress);
            Resolution = ScreenResolution;
        }
        SendFailed = run.SendFailed || !sent;
        tellOutcome(kind, run);
        return sent;
    } catch (const Exception& e) {
        Resolution = ScreenResolution;
        SendFailed = true;
        SetLastError(e.Message());
        Dialogs().MessageDlg(e.Message(), mtError, mbOK, Caption());
        return false;
    }
}
