#include "SendRun.h"

#include "runtime/system/AutoObject.h"
#include "runtime/system/NativePath.h"
#include "runtime/system/SystemFacts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

// Outlook's inbox: where the mail client has always made new items.
constexpr int DefaultMailFolder = 6;

// Deletes the files when it goes out of scope: a recipient's attachments
// never outlive its turn, whether it succeeded, failed or raised.
class FilesGuard {
public:
    QStringList Files;
    ~FilesGuard()
    {
        for (const QString& file : Files)
            QFile::remove(file);
    }
};

// Why the fax object would not connect: its own word when it has one (the
// stand-in tells, a fax service may not), else the address it refused.
QString connectError(const Variant& job, const QString& address)
{
    try {
        const QString error = job.Get(QStringLiteral("LastError")).ToString();
        if (!error.isEmpty())
            return error;
    } catch (const std::exception&) {
    }
    return address.isEmpty() ? QStringLiteral("No fax server was chosen")
                             : QStringLiteral("The fax server \"%1\" refused the connection").arg(address);
}

} // namespace

IRecipientPages::~IRecipientPages() = default;
ISendProgress::~ISendProgress() = default;

TSendRun::TSendRun(const TSendList& list, IRecipientPages& pages, TSendLog& log)
    : list_(list)
    , pages_(pages)
    , log_(log)
{
}

QString TSendRun::AttachmentBaseName(
    const QString& programCode, const QString& clientHome, const QDateTime& now)
{
    QString folder = GetTempFolder();
    if (!QFileInfo(NativePath(folder)).isDir()) {
        folder = clientHome;
        if (!folder.isEmpty() && !folder.endsWith(QLatin1Char('\\')) && !folder.endsWith(QLatin1Char('/')))
            folder += QLatin1Char('\\');
        folder += QStringLiteral("C_DATA\\C_TEMP\\");
        if (!QDir().mkpath(NativePath(folder)))
            throw Exception(QStringLiteral("Can not create directory :") + folder);
    }
    return folder + programCode + QLatin1Char('_') + now.toString(QStringLiteral("yyyyMMdd_HHmmss"));
}

QString TSendRun::ServerAddress(const QString& caption)
{
    const qsizetype open = caption.lastIndexOf(QLatin1Char('('));
    const qsizetype close = caption.indexOf(QLatin1Char(')'), open + 1);
    if (open < 0 || close < 0)
        return {};
    return caption.mid(open + 1, close - open - 1).trimmed();
}

void TSendRun::start()
{
    SendFailed = false;
    Cancelled = false;
    Outcomes.clear();
}

void TSendRun::finish(
    const QString& key, const QString& address, const QString& text, bool failed, const QString& reason)
{
    if (failed)
        SendFailed = true;
    Outcomes << TSendOutcome {key, address, failed, text, reason};
    log_.Write(key, text, failed);
}

bool TSendRun::SendEMail(
    TOutputKind pictureKind, const QString& baseName, const QString& proposedSubject, const SubjectQuery& ask)
{
    start();
    Variant folder;
    try {
        const Variant outlook = CreateOleObject(QStringLiteral("Outlook.Application"));
        folder = outlook.Call(QStringLiteral("GetNamespace"), {Variant("MAPI")})
                     .Call(QStringLiteral("GetDefaultFolder"), {Variant(DefaultMailFolder)});
    } catch (const std::exception& e) {
        finish(QStringLiteral("Email"), QString(), QStringLiteral("Create Outlook error!"), true,
            QString::fromUtf8(e.what()));
        return false;
    }
    QString subject = proposedSubject;
    if (ask && !ask(subject))
        return false;
    for (const TSendRecipient& recipient : list_.Recipients()) {
        if (recipient.EMail.trimmed().isEmpty()) {
            finish(recipient.Key, QString(), QStringLiteral("Not assign e-Mail address!"), true);
            continue;
        }
        try {
            if (mailOne(folder, recipient, pictureKind, baseName, subject))
                finish(recipient.Key, recipient.EMail, QStringLiteral("Send e-Mail Complete !"), false);
        } catch (const std::exception& e) {
            finish(recipient.Key, recipient.EMail, QStringLiteral("Send e-Mail error!"), true,
                QString::fromUtf8(e.what()));
        }
    }
    return !SendFailed;
}

bool TSendRun::mailOne(const Variant& folder, const TSendRecipient& recipient, TOutputKind kind,
    const QString& baseName, const QString& subject)
{
    FilesGuard written;
    if (!pages_.WriteRecipientPages(recipient, baseName, kind, written.Files)) {
        finish(recipient.Key, recipient.EMail, QStringLiteral("Generate attach file error!"), true,
            pages_.PagesError());
        return false;
    }
    const Variant item = folder.Get(QStringLiteral("Items")).Call(QStringLiteral("Add"));
    item.Set(QStringLiteral("To"), Variant(recipient.EMail));
    item.Set(QStringLiteral("Subject"), Variant(subject));
    const Variant attachments = item.Get(QStringLiteral("Attachments"));
    for (const QString& file : written.Files)
        attachments.Call(QStringLiteral("Add"), {Variant(file)});
    item.Call(QStringLiteral("Send"));
    pages_.CountSentSlips(recipient);
    return true;
}

bool TSendRun::SendFax(
    const QString& serverCaption, const QString& baseName, const QString& userCode, ISendProgress& progress)
{
    start();
    const QString address = ServerAddress(serverCaption);
    const QList<TSendRecipient>& recipients = list_.Recipients();
    for (int i = 0; i < recipients.size(); ++i) {
        const TSendRecipient& recipient = recipients[i];
        if (recipient.FaxNumber.trimmed().isEmpty()) {
            finish(recipient.Key, QString(), QStringLiteral("Not assign fax number!"), true);
            continue;
        }
        progress.Recipient(recipient.Key, i + 1, int(recipients.size()));
        bool cancelled = false;
        try {
            if (faxOne(recipient, address, baseName, userCode, progress, cancelled))
                finish(recipient.Key, recipient.FaxNumber, QStringLiteral("Send Fax Complete !"), false);
        } catch (const std::exception& e) {
            finish(recipient.Key, recipient.FaxNumber, QStringLiteral("Send Fax error!"), true,
                QString::fromUtf8(e.what()));
        }
        if (cancelled || progress.Cancelled()) {
            SendFailed = true;
            Cancelled = true;
            break;
        }
    }
    return !SendFailed;
}

bool TSendRun::faxOne(const TSendRecipient& recipient, const QString& address, const QString& baseName,
    const QString& userCode, ISendProgress& progress, bool& cancelled)
{
    const Variant job = CreateOleObject(QStringLiteral("HVNFAX.APP")).Get(QStringLiteral("SendFax"));
    FilesGuard written;
    if (!pages_.WriteRecipientPages(recipient, baseName, TOutputKind::Jpg, written.Files)) {
        finish(recipient.Key, recipient.FaxNumber, QStringLiteral("Generate attach file error!"), true,
            pages_.PagesError());
        cancelled = progress.Cancelled();
        return false;
    }
    if (!job.Call(QStringLiteral("ConnectFaxServer"), {Variant(address)}).ToBool()) {
        finish(recipient.Key, recipient.FaxNumber, QStringLiteral("Send Fax error!"), true,
            connectError(job, address));
        return false;
    }
    for (int f = 0; f < written.Files.size(); ++f) {
        progress.File(f + 1, int(written.Files.size()));
        if (progress.Cancelled()) {
            // A fax of part of the pages is worse than none.
            cancelled = true;
            job.Call(QStringLiteral("DisconnectFaxServer"));
            return false;
        }
        job.Call(QStringLiteral("AddFaxFile"), {Variant(written.Files[f])});
    }
    job.Call(QStringLiteral("SendFax"),
        {Variant(recipient.FaxNumber), Variant(recipient.Key), Variant(userCode), Variant(0)});
    job.Call(QStringLiteral("DisconnectFaxServer"));
    pages_.CountSentSlips(recipient);
    return true;
}
