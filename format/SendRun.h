#pragma once
// A send run: every recipient of a TSendList gets its pages by e-mail (the
// mail client "Outlook.Application") or by fax (the fax service
// "HVNFAX.APP"), and each outcome is logged.
//
// Per recipient, in list order:
// - without an address (number): logged "Not assign e-Mail address!" ("Not
//   assign fax number!"), failed;
// - its pages are written as picture files through IRecipientPages; when
//   that fails: "Generate attach file error!";
// - e-mail: one mail item in the default folder 6 with To, the subject and
//   every file attached, sent; fax: connect to the server, add every file,
//   SendFax(number, key, user, 0), disconnect; a server that refuses the
//   connection is a failure ("Send Fax error!"), not a silent success;
// - only once the mail or fax went are the recipient's slips counted as
//   sent (IRecipientPages::CountSentSlips): a slip whose sending failed
//   stays among the unsent ones and goes out with the next run;
// - any raised error: "Send e-Mail error!" ("Send Fax error!");
// - otherwise "Send e-Mail Complete !" ("Send Fax Complete !").
// The recipient's files are deleted afterwards, whatever happened. A
// failure marks that recipient's log row 'N' and sets SendFailed for the
// run; the run goes on with the next recipient. Cancel in the fax progress
// stops before the current recipient's fax is sent and ends the run.
//
// A mail client that cannot be created fails the run at once with the log
// row "Email|Create Outlook error!"; a subject the user cancels ends it
// without sending or logging anything.
//
// Beside the log, the run keeps every outcome with the reason of a failure
// in the words of the part that refused (the SMTP server's answer, the fax
// client's error, the picture writer's error), for the one message the user
// gets at the end (SendSummary.h).

#include "SendList.h"
#include "SendLog.h"
#include "options/OutputKind.h"

#include <QDateTime>
#include <QStringList>
#include <functional>

// The report side of a send run (the format form).
class IRecipientPages {
public:
    virtual ~IRecipientPages();
    // Writes the recipient's pages as files of a page kind named baseName +
    // page (+ the kind's extension). True with files filled when every page was written;
    // on failure or Cancel nothing of the recipient's is left behind.
    virtual bool WriteRecipientPages(
        const TSendRecipient& recipient, const QString& baseName, TOutputKind kind, QStringList& files)
        = 0;
    // Counts each slip of the recipient once, after its pages went out.
    virtual void CountSentSlips(const TSendRecipient& recipient) = 0;
    // Why the last WriteRecipientPages failed; empty when it cannot tell.
    virtual QString PagesError() const { return {}; }
};

// What became of one recipient, or of the whole run (key "Email") when the
// mail client could not be made.
struct TSendOutcome {
    QString Key;
    QString Address; // the e-mail address or fax number sent to; may be empty
    bool Failed = false;
    QString Text; // the send log's text
    QString Reason; // why it failed, when more is known than Text says
};

// The progress dialog of a fax run.
class ISendProgress {
public:
    virtual ~ISendProgress();
    virtual void Recipient(const QString& key, int index, int count) = 0; // index from 1
    virtual void File(int index, int count) = 0; // index from 1; advances the bar
    virtual bool Cancelled() const = 0;
};

class TSendRun {
public:
    TSendRun(const TSendList& list, IRecipientPages& pages, TSendLog& log);

    // Asks for the subject: proposed in, the user's text out; false = cancelled.
    using SubjectQuery = std::function<bool(QString& subject)>;

    bool SendEMail(TOutputKind pictureKind, const QString& baseName, const QString& proposedSubject,
        const SubjectQuery& ask);
    // serverCaption: the fax menu item, "name(address)"; pages go as JPEG.
    bool SendFax(const QString& serverCaption, const QString& baseName, const QString& userCode,
        ISendProgress& progress);

    // Set by any failure of the last run.
    bool SendFailed = false;
    // The last run's outcomes in log order; Cancelled when the user stopped it.
    QList<TSendOutcome> Outcomes;
    bool Cancelled = false;

    // Where a run's picture files go: the system's temporary folder when it
    // exists, else clientHome + "C_DATA\C_TEMP\" (made when missing; raises
    // Exception "Can not create directory :" + folder when it cannot be);
    // then programCode + "_" + yyyyMMdd + "_" + hhmmss. Pages append their number.
    static QString AttachmentBaseName(
        const QString& programCode, const QString& clientHome, const QDateTime& now);

    // The address between the last "(" and the ")" after it; empty when there is none.
    static QString ServerAddress(const QString& caption);

private:
    bool mailOne(const Variant& folder, const TSendRecipient& recipient, TOutputKind kind,
        const QString& baseName, const QString& subject);
    bool faxOne(const TSendRecipient& recipient, const QString& address, const QString& baseName,
        const QString& userCode, ISendProgress& progress, bool& cancelled);
    void start();
    void finish(const QString& key, const QString& address, const QString& text, bool failed,
        const QString& reason = {});

    const TSendList& list_;
    IRecipientPages& pages_;
    TSendLog& log_;
};
