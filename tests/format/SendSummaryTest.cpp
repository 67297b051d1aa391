#include "format/SendSummary.h"
#include "support/QStringPrinter.h"

#include <gtest/gtest.h>

namespace {

TSendOutcome sent(const char* key, const char* address)
{
    return {QString::fromUtf8(key), QString::fromUtf8(address), false,
        QStringLiteral("Send e-Mail Complete !"), {}};
}

TSendOutcome failed(const char* key, const char* address, const char* text, const char* reason = "")
{
    return {QString::fromUtf8(key), QString::fromUtf8(address), true, QString::fromUtf8(text),
        QString::fromUtf8(reason)};
}

} // namespace

TEST(SendSummary, ARunWithoutFailuresSaysHowManyWereSent)
{
    const TSendSummary mail = SummariseSend(1, {sent("S0001", "a@x.cn"), sent("S0002", "b@x.cn")}, false);
    EXPECT_FALSE(mail.Failed);
    EXPECT_EQ(mail.Text, QStringLiteral("电子邮件已发送给 2 位收件人。"));
    const TSendSummary fax = SummariseSend(2, {sent("S0001", "5550101")}, false);
    EXPECT_EQ(fax.Text, QStringLiteral("传真已发送给 1 位收件人。"));
    // A cancelled subject: nothing ran, nothing to say.
    EXPECT_TRUE(SummariseSend(1, {}, false).Text.isEmpty());
}

TEST(SendSummary, EachFailureNamesItsRecipientAndWhy)
{
    const TSendSummary summary = SummariseSend(1,
        {failed("S0002", "refuse@x.cn", "Send e-Mail error!",
             "Sending to smtp://127.0.0.1:2525 failed: RCPT failed: 550 (server reply: 550 5.1.1 Mailbox "
             "unavailable)"),
            sent("S0001", "a@x.cn"), failed("S0003", "", "Not assign e-Mail address!"),
            failed("S0004", "b@x.cn", "Generate attach file error!", "Generate attach file error!")},
        false);
    EXPECT_TRUE(summary.Failed);
    EXPECT_EQ(summary.Text,
        QStringLiteral(
            "传送完成: 1 位成功, 3 位失败。失败的收件人:\n"
            "S0002 <refuse@x.cn>: Send e-Mail error! Sending to smtp://127.0.0.1:2525 failed: RCPT "
            "failed: 550 (server reply: 550 5.1.1 Mailbox unavailable)\n"
            "S0003: Not assign e-Mail address!\n"
            "S0004 <b@x.cn>: Generate attach file error!"));
    // The mail client that could not be made fails the whole run.
    const TSendSummary none = SummariseSend(1,
        {failed("Email", "", "Create Outlook error!", "Invalid class string: Outlook.Application")}, false);
    EXPECT_EQ(none.Text,
        QStringLiteral(
            "传送完成: 0 位成功, 1 位失败。失败的收件人:\nEmail: Create Outlook error! Invalid class string: "
            "Outlook.Application"));
}

TEST(SendSummary, ALongListStopsAndACancelIsSaid)
{
    QList<TSendOutcome> outcomes;
    for (int i = 0; i < MaxFailureLines + 3; ++i)
        outcomes << failed("K", "1", "Send Fax error!", "line\r\nbreak");
    const TSendSummary summary = SummariseSend(2, outcomes, true);
    const QStringList lines = summary.Text.split(u'\n');
    ASSERT_EQ(lines.size(), 1 + MaxFailureLines + 2);
    EXPECT_EQ(lines[1], QStringLiteral("K <1>: Send Fax error! line break")) << "a reason keeps to its line";
    EXPECT_EQ(lines[MaxFailureLines + 1], QStringLiteral("另有 3 位收件人失败, 详见传送记录。"));
    EXPECT_EQ(lines.last(), QStringLiteral("传送已取消, 其后的收件人未传送。"));
    EXPECT_TRUE(summary.Failed);

    const TSendSummary cancelledFirst = SummariseSend(2, {}, true);
    EXPECT_TRUE(cancelledFirst.Failed);
    EXPECT_EQ(
        cancelledFirst.Text, QStringLiteral("传真已发送给 0 位收件人。\n传送已取消, 其后的收件人未传送。"));

    const TSendSummaryTexts translated {QStringLiteral("郵件已發送給 %1 位收件人。")};
    EXPECT_EQ(SummariseSend(1, {sent("S0001", "a@x.cn")}, false, translated).Text,
        QStringLiteral("郵件已發送給 1 位收件人。"));
}
