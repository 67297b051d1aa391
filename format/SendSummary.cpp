#include "format/SendSummary.h"

#include <QStringList>

namespace {

constexpr int SendEMailRun = 1;

QString failureLine(const TSendOutcome& outcome)
{
    QString line = outcome.Key.isEmpty() ? QStringLiteral("?") : outcome.Key;
    if (!outcome.Address.trimmed().isEmpty())
        line += QStringLiteral(" <") + outcome.Address.trimmed() + u'>';
    line += QStringLiteral(": ") + outcome.Text;
    // A reason is worth its line only when it says more than the log text.
    const QString reason = outcome.Reason.simplified();
    if (!reason.isEmpty() && reason != outcome.Text)
        line += u' ' + reason;
    return line;
}

} // namespace

TSendSummary SummariseSend(
    int kind, const QList<TSendOutcome>& outcomes, bool cancelled, const TSendSummaryTexts& texts)
{
    TSendSummary summary;
    int sent = 0;
    QList<const TSendOutcome*> failures;
    for (const TSendOutcome& outcome : outcomes) {
        if (outcome.Failed)
            failures << &outcome;
        else
            ++sent;
    }
    if (outcomes.isEmpty() && !cancelled)
        return summary;
    summary.Failed = cancelled || !failures.isEmpty();
    QStringList lines;
    if (failures.isEmpty())
        lines << (kind == SendEMailRun ? texts.MailSent : texts.FaxSent).arg(sent);
    else
        lines << texts.SomeFailed.arg(sent).arg(failures.size());
    for (qsizetype i = 0; i < failures.size() && i < MaxFailureLines; ++i)
        lines << failureLine(*failures[i]);
    if (failures.size() > MaxFailureLines)
        lines << texts.MoreFailed.arg(failures.size() - MaxFailureLines);
    if (cancelled)
        lines << texts.Cancelled;
    summary.Text = lines.join(u'\n');
    return summary;
}
