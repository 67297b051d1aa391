#include "SmtpServerFixture.h"

#include "common/QNERPGeneratorU.h"
#include "suite/mail/OutlookApplication.h"

#include <QJsonArray>
#include <QTcpServer>
#include <gtest/gtest.h>

using mail_test::MailHome;
using mail_test::SmtpServer;

namespace {

QByteArray plainServer(int port, const QByteArray& more = {})
{
    return "Server=127.0.0.1\nPort=" + QByteArray::number(port)
        + "\nSecurity=None\nFrom=erp@korvane.example\n"
          "Timeout=3\n"
        + more;
}

// A mail item as the e-mail run makes it: namespace, default folder 6, items.
Variant NewMailItem()
{
    const Variant outlook = CreateOleObject(QStringLiteral("Outlook.Application"));
    const Variant ns = outlook.Call(QStringLiteral("GetNamespace"), {Variant("MAPI")});
    const Variant folder = ns.Call(QStringLiteral("GetDefaultFolder"), {Variant(6)});
    return folder.Get(QStringLiteral("Items")).Call(QStringLiteral("Add"));
}

// An unused port on loopback: nothing listens there afterwards.
int ClosedPort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

class OutlookSend : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!SmtpServer::Available())
            GTEST_SKIP() << "/usr/bin/python3 has no aiosmtpd (Debian package python3-aiosmtpd)";
        RegisterOutlook();
    }

    // Sends item and answers the error text, empty when it went.
    static QString SendError(const Variant& item)
    {
        try {
            item.Call(QStringLiteral("Send"));
            return {};
        } catch (const EOleError& e) {
            return e.Message();
        }
    }

    testsupport::TempFolder files_;
};

} // namespace

TEST_F(OutlookSend, OneMessageCarriesEveryAttachmentToEveryRecipient)
{
    SmtpServer server(QStringLiteral("accept"));
    ASSERT_TRUE(server.Started()) << server.Failure().toStdString();
    MailHome home(plainServer(server.Port()));
    QByteArray gif(20000, '\0');
    for (int i = 0; i < gif.size(); ++i)
        gif[i] = char((i * 31) ^ (i >> 8));
    const QString first = files_.write(QStringLiteral("ZORV52_20111028_093000001.gif"), gif);
    const QString second
        = files_.write(QStringLiteral("ZORV52_20111028_093000007.gif"), QByteArray("GIF89a second"));

    const Variant item = NewMailItem();
    item.Set(
        QStringLiteral("To"), Variant(QStringLiteral("buyer@client.example; 王五 <wang@client.example>")));
    item.Set(QStringLiteral("Subject"), Variant(QStringLiteral("Korvane-ERP 工单变更单")));
    const Variant attachments = item.Get(QStringLiteral("Attachments"));
    attachments.Call(QStringLiteral("Add"), {Variant(first)});
    attachments.Call(QStringLiteral("Add"), {Variant(second)});
    EXPECT_EQ(attachments.Get(QStringLiteral("Count")).ToInt(), 2);
    ASSERT_EQ(SendError(item), QString());

    ASSERT_EQ(server.MessageCount(), 1);
    const QJsonObject message = server.Message(1);
    EXPECT_EQ(message[QStringLiteral("mail_from")].toString(), QStringLiteral("erp@korvane.example"));
    EXPECT_EQ(message[QStringLiteral("rcpt_tos")].toArray(),
        QJsonArray({QStringLiteral("buyer@client.example"), QStringLiteral("wang@client.example")}));
    EXPECT_EQ(message[QStringLiteral("subject")].toString(), QStringLiteral("Korvane-ERP 工单变更单"));
    EXPECT_TRUE(message[QStringLiteral("to")].toString().contains(QStringLiteral("王五")));
    EXPECT_TRUE(message[QStringLiteral("defects")].toArray().isEmpty());
    const QJsonArray parts = message[QStringLiteral("attachments")].toArray();
    ASSERT_EQ(parts.size(), 2);
    EXPECT_EQ(parts[0].toObject()[QStringLiteral("filename")].toString(),
        QStringLiteral("ZORV52_20111028_093000001.gif"));
    EXPECT_EQ(parts[0].toObject()[QStringLiteral("type")].toString(), QStringLiteral("image/gif"));
    EXPECT_EQ(QByteArray::fromBase64(parts[0].toObject()[QStringLiteral("data")].toString().toLatin1()), gif);
    EXPECT_EQ(QByteArray::fromBase64(parts[1].toObject()[QStringLiteral("data")].toString().toLatin1()),
        QByteArray("GIF89a second"));

    // The attachments went with the message: the caller may delete its files now.
    EXPECT_TRUE(item.Get(QStringLiteral("Sent")).ToBool());
    EXPECT_NE(SendError(item), QString()) << "a sent item cannot go twice";
    EXPECT_EQ(server.MessageCount(), 1);
}

TEST_F(OutlookSend, LogsInWithThePasswordTheConfigurationStoresEncoded)
{
    SmtpServer server(QStringLiteral("accept"), {QStringLiteral("erp"), QStringLiteral("密码 pw")});
    ASSERT_TRUE(server.Started()) << server.Failure().toStdString();
    {
        MailHome home(plainServer(server.Port(),
            "User=erp\nPassword=" + EncodePassword(QStringLiteral("密码 pw")).toLatin1() + "\n"));
        const Variant item = NewMailItem();
        item.Set(QStringLiteral("To"), Variant("a@client.example"));
        ASSERT_EQ(SendError(item), QString());
        ASSERT_EQ(server.MessageCount(), 1);
        EXPECT_EQ(server.Message(1)[QStringLiteral("login")].toString(), QStringLiteral("erp"));
    }
    MailHome wrong(plainServer(
        server.Port(), "User=erp\nPassword=" + EncodePassword(QStringLiteral("guess")).toLatin1() + "\n"));
    const Variant item = NewMailItem();
    item.Set(QStringLiteral("To"), Variant("a@client.example"));
    EXPECT_NE(SendError(item), QString());
    EXPECT_EQ(server.MessageCount(), 1);
}

TEST_F(OutlookSend, ARefusedRecipientFailsTheItemAndTheNextOneStillGoes)
{
    SmtpServer server(QStringLiteral("accept"));
    ASSERT_TRUE(server.Started()) << server.Failure().toStdString();
    MailHome home(plainServer(server.Port()));

    const Variant refused = NewMailItem();
    refused.Set(QStringLiteral("To"), Variant("refuse@client.example; ok@client.example"));
    const QString error = SendError(refused);
    // The refusal in the server's own words, for the user to read.
    EXPECT_TRUE(error.contains(QStringLiteral("(server reply: 550 5.1.1 Mailbox unavailable)")))
        << error.toStdString();
    EXPECT_EQ(server.MessageCount(), 0) << "a message is not half delivered";

    const Variant next = NewMailItem();
    next.Set(QStringLiteral("To"), Variant("ok@client.example"));
    EXPECT_EQ(SendError(next), QString());
    EXPECT_EQ(server.MessageCount(), 1);
}

TEST_F(OutlookSend, ServersThatFailGiveAnErrorNotAHang)
{
    SmtpServer dropping(QStringLiteral("drop"));
    SmtpServer silent(QStringLiteral("silent"));
    ASSERT_TRUE(dropping.Started()) << dropping.Failure().toStdString();
    ASSERT_TRUE(silent.Started()) << silent.Failure().toStdString();
    for (const int port : {dropping.Port(), silent.Port(), ClosedPort()}) {
        MailHome home(plainServer(port));
        const Variant item = NewMailItem();
        item.Set(QStringLiteral("To"), Variant("a@client.example"));
        item.Get(QStringLiteral("Attachments"))
            .Call(QStringLiteral("Add"), {Variant(files_.write(QStringLiteral("p.gif"), "GIF"))});
        const QString error = SendError(item);
        EXPECT_NE(error, QString()) << "port " << port;
        EXPECT_TRUE(error.contains(QStringLiteral("127.0.0.1"))) << error.toStdString();
        EXPECT_FALSE(item.Get(QStringLiteral("Sent")).ToBool());
    }
}

TEST_F(OutlookSend, LineBreaksInAddressOrSubjectNeverMakeHeaders)
{
    SmtpServer server(QStringLiteral("accept"));
    ASSERT_TRUE(server.Started()) << server.Failure().toStdString();
    MailHome home(plainServer(server.Port()));

    const Variant injected = NewMailItem();
    injected.Set(QStringLiteral("To"), Variant("a@client.example\r\nBcc: evil@else.example"));
    EXPECT_TRUE(SendError(injected).contains(QStringLiteral("no mail address")));
    EXPECT_EQ(server.MessageCount(), 0);

    const Variant subject = NewMailItem();
    subject.Set(QStringLiteral("To"), Variant("a@client.example"));
    subject.Set(QStringLiteral("Subject"), Variant("Slip\r\nBcc: evil@else.example\r\n\r\nforged body"));
    ASSERT_EQ(SendError(subject), QString());
    ASSERT_EQ(server.MessageCount(), 1);
    const QJsonObject message = server.Message(1);
    EXPECT_EQ(
        message[QStringLiteral("rcpt_tos")].toArray(), QJsonArray({QStringLiteral("a@client.example")}));
    const QString received = message[QStringLiteral("subject")].toString();
    EXPECT_TRUE(received.startsWith(QStringLiteral("Slip"))) << received.toStdString();
    EXPECT_TRUE(received.contains(QStringLiteral("forged body"))) << "the whole subject stays in the subject";
    EXPECT_FALSE(received.contains(QLatin1Char('\n')));
    EXPECT_TRUE(message[QStringLiteral("body")].isNull()
        || !message[QStringLiteral("body")].toString().contains(QStringLiteral("forged")));
}

TEST_F(OutlookSend, UnusableSettingsOrItemsFailBeforeAnyConnection)
{
    const Variant item = NewMailItem();
    item.Set(QStringLiteral("To"), Variant("a@client.example"));
    const Variant ns = CreateOleObject(QStringLiteral("Outlook.Application"))
                           .Call(QStringLiteral("GetNamespace"), {Variant("MAPI")});
    {
        MailHome none("");
        EXPECT_TRUE(SendError(item).contains(QStringLiteral("No mail server")));
        // Logging on tells the same before anything is sent.
        try {
            ns.Call(QStringLiteral("Logon"));
            ADD_FAILURE() << "Logon without a mail server";
        } catch (const EOleError& e) {
            EXPECT_EQ(e.Message(), QStringLiteral("No mail server in the [Mail] section of StewardC.ini"));
        }
    }
    {
        MailHome url(plainServer(25).replace("Server=127.0.0.1", "Server=evil.example/path?x"));
        EXPECT_TRUE(SendError(item).contains(QStringLiteral("no host name")));
    }
    MailHome home(plainServer(ClosedPort()));
    EXPECT_NO_THROW(ns.Call(QStringLiteral("Logon"))) << "usable settings; logging on connects nowhere";
    const Variant empty = NewMailItem();
    EXPECT_TRUE(SendError(empty).contains(QStringLiteral("at least one name")));
    EXPECT_THROW(item.Get(QStringLiteral("Attachments"))
                     .Call(QStringLiteral("Add"), {Variant(files_.file(QStringLiteral("missing.gif")))}),
        EOleError);
    const Variant outlook = CreateOleObject(QStringLiteral("Outlook.Application"));
    EXPECT_THROW(outlook.Call(QStringLiteral("GetNamespace"), {Variant("OTHER")}), EOleError);
    EXPECT_THROW(outlook.Call(QStringLiteral("CreateItem"), {Variant(2)}), EOleError);
}
