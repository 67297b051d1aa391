// Change slips sent from the preview, end to end: the options window on a
// demo home asks for the unsent slips of a slip type to go to their
// suppliers, the change-slip layout registers each slip's supplier while
// it prints, and the preview's e-mail button sends through the mail object
// to a real SMTP server on loopback (aiosmtpd) and logs every supplier's
// outcome in the send log.

#include "format/VRBaseFmtF.h"
#include "format/VRPreviewF.h"
#include "options/EmailSubjectF.h"
#include "runtime/forms/Dialogs.h"
#include "runtime/forms/ExtCtrls.h"
#include "runtime/forms/StdCtrls.h"
#include "runtime/report/QRPrinter.h"
#include "suite/appserver/DemoServerFixture.h"
#include "suite/hubdesk/HubDeskManager.h"
#include "suite/mail/OutlookApplication.h"
#include "suite/mail/SmtpServerFixture.h"
#include "support/QStringPrinter.h"
#include "zorv52/Zorv52F.h"

#include <QFile>
#include <QImage>
#include <QJsonArray>

namespace {

// Statements against the demo database that the test sets its scene with.
void execute(const QString& databaseFile, const QString& sql)
{
    sqlite3* db = nullptr;
    ASSERT_EQ(
        sqlite3_open_v2(databaseFile.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr), SQLITE_OK);
    char* error = nullptr;
    const int rc = sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &error);
    const QString message = error ? QString::fromUtf8(error) : QString();
    sqlite3_free(error);
    sqlite3_close(db);
    ASSERT_EQ(rc, SQLITE_OK) << message.toStdString();
}

} // namespace

class ChangeSlipSendTest : public DemoServerTest {
protected:
    void SetUp() override
    {
        if (!mail_test::SmtpServer::Available())
            GTEST_SKIP() << "/usr/bin/python3 has no aiosmtpd (Debian package python3-aiosmtpd)";
        DemoServerTest::SetUp();
        smtp_ = std::make_unique<mail_test::SmtpServer>(QStringLiteral("accept"));
        ASSERT_TRUE(smtp_->Started()) << smtp_->Failure().toStdString();
        QByteArray client = home_.read("StewardC.ini");
        client += "\n[Mail]\nServer=127.0.0.1\nPort=" + QByteArray::number(smtp_->Port())
            + "\nSecurity=None\nFrom=erp@korvane.example\nTimeout=5\n";
        home_.write("StewardC.ini", client);
        RegisterOutlook();
        RegisterHubDesk();
        manager_ = CreateOleObject(QStringLiteral("HubDesk.Manager"));
        dialogs_ = std::make_unique<ScriptedDialogService>();
        form_.reset(CreateForm<TfrmZorv52>());
        form_->SetHostObject(manager_);
        form_->SetModulePath(QStringLiteral("/opt/steward/libZORV52C.so"));
        ASSERT_TRUE(form_->ApplyParams(Variant::ArrayOf(
            {Variant("CHEN"), Variant("HV01"), Variant("DEMO"), Variant(0), Variant("FEP")})))
            << form_->ErrorCodes().toStdString();
    }

    void TearDown() override
    {
        if (!dialogs_)
            return;
        EXPECT_TRUE(dialogs_->Failures().isEmpty()) << dialogs_->Failures().join(u'\n').toStdString();
        EXPECT_EQ(dialogs_->Pending(), 0) << "expected dialogs that never came";
        form_.reset();
        dialogs_.reset();
        manager_ = Variant();
    }

    // Leaves exactly four unsent approved A511 slips and hands them, in slip
    // order, to suppliers S0002 (whose server refuses the address), S0001,
    // S0003 (no address) and S0001 again. Answers their key conditions.
    QStringList SetScene()
    {
        const QStringList slips = Column(QStringLiteral(
            "SELECT TO001||'-'||TO002||'-'||TO003 FROM MOCTO WHERE TO001='A511' AND TO041='Y' AND TO042=0 "
            "AND EXISTS (SELECT 1 FROM MOCTP WHERE TP001=TO001 AND TP002=TO002 AND TP003=TO003) "
            "ORDER BY TO001, TO002, TO003 LIMIT 4"));
        EXPECT_EQ(slips.size(), 4);
        execute(DatabaseFile(), QStringLiteral("UPDATE MOCTO SET TO053=1"));
        const QStringList suppliers {"S0002", "S0001", "S0003", "S0001"};
        for (int i = 0; i < slips.size(); ++i)
            execute(DatabaseFile(),
                QStringLiteral(
                    "UPDATE MOCTO SET TO053=0, TO033='%1' WHERE TO001||'-'||TO002||'-'||TO003='%2'")
                    .arg(suppliers[i], slips[i]));
        execute(DatabaseFile(),
            QStringLiteral("UPDATE PURMA SET MA011='refuse@supplier2.example.com' WHERE MA001='S0002'"));
        execute(DatabaseFile(), QStringLiteral("UPDATE PURMA SET MA011='' WHERE MA001='S0003'"));
        return slips;
    }

    // The window as the user sets it: slip type A511, send by e-mail to the suppliers.
    void ChooseMailToSuppliers()
    {
        form_->edTO001->SetText(QStringLiteral("A511"));
        form_->edTO001Exit(form_->edTO001);
        form_->rgSendType->SetItemIndex(1);
        form_->rgSendTypeClick(form_->rgSendType);
        form_->cboSendWay->SetItemIndex(1); // "Email To 供应商"
        form_->cboSendWayChange(form_->cboSendWay);
    }

    qint64 Counted(const QString& column, const QString& slip) const
    {
        return Count(QStringLiteral("SELECT %1 FROM MOCTO WHERE TO001||'-'||TO002||'-'||TO003='%2'")
                         .arg(column, slip));
    }

    std::unique_ptr<mail_test::SmtpServer> smtp_;
    Variant manager_;
    std::unique_ptr<ScriptedDialogService> dialogs_;
    std::unique_ptr<TfrmZorv52, FreeComponent> form_;
};

TEST_F(ChangeSlipSendTest, EachSupplierGetsOneMessageWithThePagesOfAllItsSlips)
{
    const QStringList slips = SetScene();
    ASSERT_EQ(slips.size(), 4);
    ChooseMailToSuppliers();

    int pagesOfS0001 = 0;
    QStringList sendList;
    dialogs_->ExpectModal([&](TForm* shown) {
        auto* preview = qobject_cast<TfrmVRPreview*>(shown);
        EXPECT_NE(preview, nullptr);
        if (!preview)
            return mrCancel;
        auto* format = qobject_cast<TfrmVRBaseFmt*>(preview->Owner());
        EXPECT_NE(format, nullptr);
        if (!format)
            return mrCancel;
        EXPECT_TRUE(preview->btnEmail->Enabled());
        // Previewing every page counts nothing.
        preview->Report()->QRPrinter()->Complete();
        for (const QString& slip : slips) {
            EXPECT_EQ(Counted(QStringLiteral("TO042"), slip), 0) << slip.toStdString();
            EXPECT_EQ(Counted(QStringLiteral("TO053"), slip), 0) << slip.toStdString();
        }
        preview->btnEmailClick(preview->btnEmail);
        sendList = format->SendList.Text();
        for (const TSendRecipient& r : format->SendList.Recipients())
            if (r.Key == QLatin1String("S0001"))
                pagesOfS0001 = int(r.Pages().size());
        return mrOk;
    });
    dialogs_->ExpectModal([](TForm* shown) {
        auto* subject = qobject_cast<TfrmEmailSubject*>(shown);
        EXPECT_NE(subject, nullptr);
        if (!subject)
            return mrCancel;
        subject->edtSubject->SetText(QStringLiteral("工单变更 第一批"));
        subject->BitBtn1Click(subject->BitBtn1);
        return mrOk;
    });
    ASSERT_TRUE(form_->PrintOrPreview(true));

    // Three suppliers in the order their first slip printed; S0001 holds two slips.
    ASSERT_EQ(sendList.size(), 3) << sendList.join(u'\n').toStdString();
    EXPECT_TRUE(sendList[0].startsWith(QStringLiteral("S0002=|refuse@supplier2.example.com|")));
    EXPECT_TRUE(sendList[1].startsWith(QStringLiteral("S0001=|sales1@supplier1.example.com|")));
    EXPECT_TRUE(sendList[2].startsWith(QStringLiteral("S0003=||")));
    // A slip's header registers it on each of its pages; the two slips are two print counts.
    EXPECT_EQ(sendList[1].count(QStringLiteral(",$$MOCTO;TO053;")), pagesOfS0001)
        << sendList[1].toStdString();
    EXPECT_TRUE(sendList[1].contains(slips[1]) && sendList[1].contains(slips[3]))
        << sendList[1].toStdString();
    ASSERT_GE(pagesOfS0001, 2);

    // The refused address got nothing; S0001 got exactly one message.
    ASSERT_EQ(smtp_->MessageCount(), 1);
    const QJsonObject message = smtp_->Message(1);
    EXPECT_EQ(message[QStringLiteral("rcpt_tos")].toArray().size(), 1);
    EXPECT_EQ(message[QStringLiteral("rcpt_tos")].toArray()[0].toString(),
        QStringLiteral("sales1@supplier1.example.com"));
    EXPECT_EQ(message[QStringLiteral("subject")].toString(), QStringLiteral("工单变更 第一批"));
    EXPECT_TRUE(message[QStringLiteral("defects")].toArray().isEmpty());
    const QJsonArray attachments = message[QStringLiteral("attachments")].toArray();
    ASSERT_EQ(attachments.size(), pagesOfS0001);
    for (const auto& value : attachments) {
        const QJsonObject part = value.toObject();
        EXPECT_EQ(part[QStringLiteral("type")].toString(), QStringLiteral("image/gif"));
        const QByteArray bytes = QByteArray::fromBase64(part[QStringLiteral("data")].toString().toLatin1());
        EXPECT_TRUE(bytes.startsWith("GIF8"));
        const QImage picture = QImage::fromData(bytes, "GIF");
        // A Letter page at 96 dpi, and not a blank one.
        EXPECT_EQ(picture.size(), QSize(816, 1056))
            << part[QStringLiteral("filename")].toString().toStdString();
        int dark = 0;
        for (int y = 0; y < picture.height(); y += 4)
            for (int x = 0; x < picture.width(); x += 4)
                dark += qGray(picture.pixel(x, y)) < 128;
        EXPECT_GT(dark, 200) << "the page shows the slip";
    }

    // One log row per supplier, with its outcome.
    EXPECT_EQ(Column(QStringLiteral(
                  "SELECT COMPANY||'|'||CREATOR||'|'||FLAG||'|'||TA001||'|'||TA002||'|'||TA003||'|'||TA004 "
                  "FROM ADMTA ORDER BY rowid")),
        (QStringList {QStringLiteral("HV01|CHEN|1|ZORV52|S0002|N|Send e-Mail error!"),
            QStringLiteral("HV01|CHEN|1|ZORV52|S0001|Y|Send e-Mail Complete !"),
            QStringLiteral("HV01|CHEN|1|ZORV52|S0003|N|Not assign e-Mail address!")}));

    // Only the slips that went out count as sent, each once however many
    // pages it has; nothing counts as printed.
    const QList<qint64> sent {Counted(QStringLiteral("TO053"), slips[0]),
        Counted(QStringLiteral("TO053"), slips[1]), Counted(QStringLiteral("TO053"), slips[2]),
        Counted(QStringLiteral("TO053"), slips[3])};
    EXPECT_EQ(sent, (QList<qint64> {0, 1, 0, 1}));
    for (const QString& slip : slips)
        EXPECT_EQ(Counted(QStringLiteral("TO042"), slip), 0) << slip.toStdString();
}
