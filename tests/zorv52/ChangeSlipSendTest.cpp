// Change slips sent from the preview, end to end: the options window on a
// demo home asks for the unsent slips of a slip type to go to their
// suppliers, the change-slip layout registers each slip's supplier while
// it prints, and the preview's e-mail button sends through the mail object
// to a real SMTP server on loopback (aiosmtpd), its fax menu through the
// fax object to a stand-in sendfax; every supplier's outcome lands in the
// send log.

#include "ChangeSlipWindowFixture.h"

#include "format/VRBaseFmtF.h"
#include "format/VRPreviewF.h"
#include "options/EmailSubjectF.h"
#include "runtime/forms/Dialogs.h"
#include "runtime/forms/ExtCtrls.h"
#include "runtime/forms/Menus.h"
#include "runtime/forms/StdCtrls.h"
#include "runtime/report/QRPrinter.h"
#include "suite/fax/HvnFaxApplication.h"
#include "suite/mail/OutlookApplication.h"
#include "suite/mail/SmtpServerFixture.h"
#include "support/QStringPrinter.h"
#include "zorv52/Zorv52F.h"

#include <QDir>
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

class ChangeSlipSendTest : public ChangeSlipWindowTest {
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
        // The stand-in sendfax of the fax tests records each run in bin/.
        QDir().mkpath(home_.file(QStringLiteral("bin")));
        home_.write("bin/sendfax",
            testsupport::readAll(testsupport::sourcePath(QStringLiteral("tests/suite/fax/fake-sendfax.sh"))));
        QFile::setPermissions(home_.file(QStringLiteral("bin/sendfax")),
            QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        client += "\n[Fax]\nServer1=总公司传真|faxhost.example\nSendFax="
            + home_.file(QStringLiteral("bin/sendfax")).toUtf8() + "\n";
        home_.write("StewardC.ini", client);
        RegisterOutlook();
        RegisterHvnFax();
        OpenWindow();
        if (HasFatalFailure())
            return;
    }

    // Leaves exactly five unsent approved A511 slips and hands them, in slip
    // order, to suppliers S0002, S0001, S0003, S0001 again and S0004, whose
    // address column (MA011 e-mail, MA010 fax) then gets the given texts.
    // Answers the slips' keys.
    QStringList SetScene(const QString& column, const QMap<QString, QString>& addresses)
    {
        const QStringList slips = Column(QStringLiteral(
            "SELECT TO001||'-'||TO002||'-'||TO003 FROM MOCTO WHERE TO001='A511' AND TO041='Y' AND TO042=0 "
            "AND EXISTS (SELECT 1 FROM MOCTP WHERE TP001=TO001 AND TP002=TO002 AND TP003=TO003) "
            "ORDER BY TO001, TO002, TO003 LIMIT 5"));
        EXPECT_EQ(slips.size(), 5);
        execute(DatabaseFile(), QStringLiteral("UPDATE MOCTO SET TO053=1"));
        const QStringList suppliers {"S0002", "S0001", "S0003", "S0001", "S0004"};
        for (int i = 0; i < slips.size(); ++i)
            execute(DatabaseFile(),
                QStringLiteral(
                    "UPDATE MOCTO SET TO053=0, TO033='%1' WHERE TO001||'-'||TO002||'-'||TO003='%2'")
                    .arg(suppliers[i], slips[i]));
        for (auto it = addresses.begin(); it != addresses.end(); ++it)
            execute(DatabaseFile(),
                QStringLiteral("UPDATE PURMA SET %1='%2' WHERE MA001='%3'")
                    .arg(column, it.value(), it.key()));
        return slips;
    }

    // The window as the user sets it: slip type A511, send to the suppliers
    // by e-mail (send way 1, "Email To 供应商") or fax (0, "FAX To 供应商").
    void ChooseSuppliers(int sendWay)
    {
        form_->edTO001->SetText(QStringLiteral("A511"));
        form_->edTO001Exit(form_->edTO001);
        form_->rgSendType->SetItemIndex(1);
        form_->rgSendTypeClick(form_->rgSendType);
        form_->cboSendWay->SetItemIndex(sendWay);
        form_->cboSendWayChange(form_->cboSendWay);
    }

    // The send counts of the slips, in their order.
    QList<qint64> SendCounts(const QStringList& slips) const
    {
        QList<qint64> counts;
        for (const QString& slip : slips)
            counts << Counted(QStringLiteral("TO053"), slip);
        return counts;
    }

    QStringList LogRows() const
    {
        return Column(QStringLiteral(
            "SELECT COMPANY||'|'||CREATOR||'|'||FLAG||'|'||TA001||'|'||TA002||'|'||TA003||'|'||TA004 "
            "FROM ADMTA ORDER BY rowid"));
    }

    qint64 Counted(const QString& column, const QString& slip) const
    {
        return Count(QStringLiteral("SELECT %1 FROM MOCTO WHERE TO001||'-'||TO002||'-'||TO003='%2'")
                         .arg(column, slip));
    }

    std::unique_ptr<mail_test::SmtpServer> smtp_;
};

TEST_F(ChangeSlipSendTest, EachSupplierGetsOneMessageWithThePagesOfAllItsSlips)
{
    // S0002's server refuses, S0003 has no address, S0004's address tries to
    // bring a header of its own.
    const QStringList slips = SetScene(QStringLiteral("MA011"),
        {{QStringLiteral("S0002"), QStringLiteral("refuse@supplier2.example.com")},
            {QStringLiteral("S0003"), QString()},
            {QStringLiteral("S0004"),
                QStringLiteral("buyer@supplier4.example.com\r\nBcc: victim@elsewhere.example")}});
    ASSERT_EQ(slips.size(), 5);
    ChooseSuppliers(1);

    int pagesOfS0001 = 0;
    QStringList sendList;
    ExpectPreview(
        [&](TfrmVRBaseFmt* format, TfrmVRPreview* preview) {
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
        },
        false);
    dialogs_->ExpectModal([](TForm* shown) {
        auto* subject = qobject_cast<TfrmEmailSubject*>(shown);
        EXPECT_NE(subject, nullptr);
        if (!subject)
            return mrCancel;
        subject->edtSubject->SetText(QStringLiteral("工单变更 第一批"));
        subject->BitBtn1Click(subject->BitBtn1);
        return mrOk;
    });
    // The run ends with one message naming each supplier that got nothing, and why.
    QString told;
    dialogs_->Expect(DialogKind::Message,
        ScriptedDialogService::Answer {mrOk, true, {}, [&](const DialogRequest& request) {
                                           told = request.Text;
                                           return mrOk;
                                       }});
    ASSERT_TRUE(form_->PrintOrPreview(true));
    EXPECT_TRUE(told.contains(QStringLiteral("1 位成功, 3 位失败"))) << told.toStdString();
    EXPECT_TRUE(told.contains(QStringLiteral("S0002 <refuse@supplier2.example.com>: Send e-Mail error!")))
        << told.toStdString();
    EXPECT_TRUE(told.contains(QStringLiteral("550 5.1.1 Mailbox unavailable"))) << told.toStdString();
    EXPECT_TRUE(told.contains(QStringLiteral("S0003: Not assign e-Mail address!"))) << told.toStdString();
    EXPECT_TRUE(told.contains(QStringLiteral("is no mail address")))
        << "S0004's address: " << told.toStdString();

    // Four suppliers in the order their first slip printed; S0001 holds two slips.
    ASSERT_EQ(sendList.size(), 4) << sendList.join(u'\n').toStdString();
    EXPECT_TRUE(sendList[0].startsWith(QStringLiteral("S0002=|refuse@supplier2.example.com|")));
    EXPECT_TRUE(sendList[1].startsWith(QStringLiteral("S0001=|sales1@supplier1.example.com|")));
    EXPECT_TRUE(sendList[2].startsWith(QStringLiteral("S0003=||")));
    // A slip's header registers it on each of its pages; the two slips are two print counts.
    EXPECT_EQ(sendList[1].count(QStringLiteral(",$$MOCTO;TO053;")), pagesOfS0001)
        << sendList[1].toStdString();
    EXPECT_TRUE(sendList[1].contains(slips[1]) && sendList[1].contains(slips[3]))
        << sendList[1].toStdString();
    ASSERT_GE(pagesOfS0001, 2);

    // The refused address got nothing, nor did the one with a line break;
    // S0001 got exactly one message.
    ASSERT_EQ(smtp_->MessageCount(), 1);
    EXPECT_FALSE(smtp_->Message(1)[QStringLiteral("to")].toString().contains(QStringLiteral("victim")));
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
    EXPECT_EQ(LogRows(),
        (QStringList {QStringLiteral("HV01|CHEN|1|ZORV52|S0002|N|Send e-Mail error!"),
            QStringLiteral("HV01|CHEN|1|ZORV52|S0001|Y|Send e-Mail Complete !"),
            QStringLiteral("HV01|CHEN|1|ZORV52|S0003|N|Not assign e-Mail address!"),
            QStringLiteral("HV01|CHEN|1|ZORV52|S0004|N|Send e-Mail error!")}));

    // Only the slips that went out count as sent, each once however many
    // pages it has; nothing counts as printed.
    EXPECT_EQ(SendCounts(slips), (QList<qint64> {0, 1, 0, 1, 0}));
    for (const QString& slip : slips)
        EXPECT_EQ(Counted(QStringLiteral("TO042"), slip), 0) << slip.toStdString();
}

TEST_F(ChangeSlipSendTest, AFaxRunSendsEachSupplierItsPagesAndKeepsBadNumbersOffTheCommandLine)
{
    // S0002's number carries a command, S0003 has none, S0004's a line break.
    const QStringList slips = SetScene(QStringLiteral("MA010"),
        {{QStringLiteral("S0001"), QStringLiteral("+86 512-6200 0000")},
            {QStringLiteral("S0002"), QStringLiteral("5550101; touch pwned")},
            {QStringLiteral("S0003"), QString()},
            {QStringLiteral("S0004"), QStringLiteral("5550104\n-o evil")}});
    ASSERT_EQ(slips.size(), 5);
    ChooseSuppliers(0);

    int resolutionAfter = 0;
    int pagesOfS0001 = 0;
    ExpectPreview(
        [&](TfrmVRBaseFmt* format, TfrmVRPreview* preview) {
            EXPECT_TRUE(preview->btnFax->Enabled());
            EXPECT_EQ(preview->PopupmenuSendFax->Items()->GetChildren().size(), 1);
            dialogs_->ExpectMessage(mrOk, QStringLiteral("1 位成功, 3 位失败"));
            preview->btnFaxClick(preview->btnFax);
            resolutionAfter = format->Resolution;
            for (const TSendRecipient& r : format->SendList.Recipients())
                if (r.Key == QLatin1String("S0001"))
                    pagesOfS0001 = int(r.Pages().size());
            return mrOk;
        },
        false);
    ASSERT_TRUE(form_->PrintOrPreview(true));
    EXPECT_EQ(resolutionAfter, 96) << "the screen's resolution again after faxing";

    // One run of sendfax, for S0001, with the pages of both its slips.
    EXPECT_EQ(home_.read("bin/calls").count('\n'), 1);
    QStringList args = QString::fromUtf8(home_.read("bin/argv")).split(QChar(0));
    args.removeLast(); // after the last NUL
    ASSERT_GE(args.size(), 10) << args.join(u' ').toStdString();
    EXPECT_EQ(args.mid(0, 2), (QStringList {QStringLiteral("-h"), QStringLiteral("faxhost.example")}));
    EXPECT_TRUE(args.contains(QStringLiteral("+86 512-6200 0000"))) << args.join(u' ').toStdString();
    for (const QString& arg : args)
        EXPECT_FALSE(arg.contains(QStringLiteral("pwned")) || arg.contains(QStringLiteral("evil")));
    EXPECT_FALSE(home_.exists(QStringLiteral("pwned")));
    ASSERT_GE(pagesOfS0001, 2);
    // Each page as a document of its own, made from a Letter page at fax resolution (1700 x 2200 pixels at
    // 200 dpi).
    int files = 0;
    for (int i = 1; i <= args.size(); ++i) {
        const QString copy = QStringLiteral("bin/file%1").arg(i);
        if (!home_.exists(copy))
            continue;
        ++files;
        const QByteArray document = home_.read(copy);
        EXPECT_TRUE(document.startsWith("%PDF")) << copy.toStdString();
        EXPECT_TRUE(document.contains("/Width 1700")) << copy.toStdString();
    }
    EXPECT_EQ(files, pagesOfS0001) << "every page of both slips went to sendfax";

    EXPECT_EQ(LogRows(),
        (QStringList {QStringLiteral("HV01|CHEN|1|ZORV52|S0002|N|Send Fax error!"),
            QStringLiteral("HV01|CHEN|1|ZORV52|S0001|Y|Send Fax Complete !"),
            QStringLiteral("HV01|CHEN|1|ZORV52|S0003|N|Not assign fax number!"),
            QStringLiteral("HV01|CHEN|1|ZORV52|S0004|N|Send Fax error!")}));
    EXPECT_EQ(SendCounts(slips), (QList<qint64> {0, 1, 0, 1, 0}));
}

TEST_F(ChangeSlipSendTest, SendingWhilePagesAreStillMadeCountsEachSentSlipOnceAndNoFailedOne)
{
    // S0002's server refuses, S0003 has no address; S0001 (two slips) and S0004 get theirs.
    const QStringList slips = SetScene(QStringLiteral("MA011"),
        {{QStringLiteral("S0002"), QStringLiteral("refuse@supplier2.example.com")},
            {QStringLiteral("S0003"), QString()},
            {QStringLiteral("S0004"), QStringLiteral("buyer@supplier4.example.com")}});
    ASSERT_EQ(slips.size(), 5);
    ChooseSuppliers(1);

    bool generating = false;
    dialogs_->ExpectModal([&](TForm* shown) {
        auto* preview = qobject_cast<TfrmVRPreview*>(shown);
        EXPECT_NE(preview, nullptr);
        if (!preview)
            return mrCancel;
        // The first page shows while the others are still being made: the
        // user sends now.
        generating = preview->Report()->Generating();
        preview->btnEmailClick(preview->btnEmail);
        return mrOk;
    });
    dialogs_->ExpectModal([](TForm* shown) {
        auto* subject = qobject_cast<TfrmEmailSubject*>(shown);
        if (subject)
            subject->BitBtn1Click(subject->BitBtn1);
        return subject ? mrOk : mrCancel;
    });
    dialogs_->ExpectMessage(mrOk, QStringLiteral("2 位成功, 2 位失败"));
    ASSERT_TRUE(form_->PrintOrPreview(true));
    ASSERT_TRUE(generating) << "the send came before the last page was made";

    EXPECT_EQ(smtp_->MessageCount(), 2);
    // Sent once each, whether its pages were made before or after the click;
    // the refused and the unaddressed slips stay unsent; nothing is printed.
    EXPECT_EQ(SendCounts(slips), (QList<qint64> {0, 1, 0, 1, 1}));
    for (const QString& slip : slips)
        EXPECT_EQ(Counted(QStringLiteral("TO042"), slip), 0) << slip.toStdString();
    // Every log row carries the user's group beside the user.
    EXPECT_EQ(Column(QStringLiteral(
                  "SELECT CREATOR||'/'||USR_GROUP||'/'||TA002||'/'||TA003 FROM ADMTA ORDER BY rowid")),
        (QStringList {QStringLiteral("CHEN/PMC/S0002/N"), QStringLiteral("CHEN/PMC/S0001/Y"),
            QStringLiteral("CHEN/PMC/S0003/N"), QStringLiteral("CHEN/PMC/S0004/Y")}));
}
