#pragma once
// The one message a user gets when a send run ends: how many recipients got
// their mail or fax, and for each one that did not, who it was and why.
//
// In: the run's kind (1 e-mail, 2 fax), its outcomes (TSendRun::Outcomes,
// in log order), whether the user cancelled it, and the fixed texts (the
// caller passes them through the user's language; the defaults are the
// system's own). Each failure becomes one line
//   key <address>: log text reason
// (the address and the reason only when known); past MaxFailureLines
// lines one line says how many more failed. A run with no outcome and no
// cancel (the subject was cancelled) has nothing to say: Text is empty.
//
// Out: the text and whether it reports a failure (the caller shows an error
// then, else an information). Nothing is shown or logged here.

#include "format/SendRun.h"

#include <QString>

struct TSendSummaryTexts {
    QString MailSent = QStringLiteral("电子邮件已发送给 %1 位收件人。");
    QString FaxSent = QStringLiteral("传真已发送给 %1 位收件人。");
    QString SomeFailed = QStringLiteral("传送完成: %1 位成功, %2 位失败。失败的收件人:");
    QString Cancelled = QStringLiteral("传送已取消, 其后的收件人未传送。");
    QString MoreFailed = QStringLiteral("另有 %1 位收件人失败, 详见传送记录。");
};

struct TSendSummary {
    QString Text;
    bool Failed = false;
};

constexpr int MaxFailureLines = 15;

TSendSummary SummariseSend(
    int kind, const QList<TSendOutcome>& outcomes, bool cancelled, const TSendSummaryTexts& texts = {});
