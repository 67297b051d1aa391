// A fax run from the slip layout: the slips register their recipient while
// the report prints, the format writes each recipient's pages as JPEG at fax
// resolution, counts the prints and sends through the fax service; the
// pictures are gone afterwards and the resolution is back to the screen's.

#include "RecordingServer.h"
#include "SlipFormFixture.h"

#include "common/StewardIniTestHome.h"
#include "format/VRPreviewF.h"
#include "options/EmailSubjectF.h"
#include "runtime/data/ClientDataSet.h"
#include "runtime/forms/ComCtrls.h"
#include "runtime/forms/Dialogs.h"
#include "runtime/forms/Menus.h"
#include "runtime/forms/StdCtrls.h"
#include "runtime/report/QRPrinter.h"
#include "suite/fax/HvnFaxApplication.h"
#include "suite/mail/OutlookApplication.h"
#include "suite/mail/SmtpServerFixture.h"
#include "support/QStringPrinter.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

// A server that logs sends and counts prints.
class SendServer : public RecordingServer {
public:
    SendServer()
    {
        AddMethod(QStringLiteral("UpdatePrintCount"), [this](VariantList& args) {
            Counted << Arg(args, 0).Deref()[2].ToString();
            return Variant(1);
        });
    }
    QStringList Counted;
};

// A send run's context (1 e-mail, 2 fax) to one typed address, and a slip
// header that registers each slip (TO002) the way a program's header does.
void prepareSend(
    TfrmVRFormat* form, int mode, const QString& address, const std::shared_ptr<SendServer>& server)
{
    TFormatContext context;
    context.SendMode = mode;
    context.SendAddress = address;
    context.ProgramCode = QStringLiteral("ZORV52");
    context.UserCode = QStringLiteral("CHEN");
    context.Title = QStringLiteral("华威 - 工单变更单");
    context.SendCountColumn = QStringLiteral("TO053");
    context.ApplicationServer = Variant(server);
    form->SetContext(context);
    form->QRGroup->SetBeforePrint(TQRBandBeforePrintEvent::Of([form](TQRCustomBand* band, bool& print) {
        form->QRGroupBeforePrint(band, print);
        form->RegisterRecipient(QStringLiteral("$$MOCTO"),
            QStringLiteral("TO002='%1'")
                .arg(form->ClientDataSet1->FieldByName(QStringLiteral("TO002"))->AsString()));
    }));
}

} // namespace

TEST(FormatSendTest, AFaxRunSendsEachRecipientsPagesAndCountsTheirSlips)
{
    steward_test::TestHome home({});
    const testsupport::ScopedEnv path(
        "PATH", (home.Folder(QStringLiteral("bin")) + QStringLiteral(":/usr/bin:/bin")).toLocal8Bit());
    const QString script = home.Write(QStringLiteral("bin/sendfax"),
        testsupport::readAll(testsupport::sourcePath(QStringLiteral("tests/suite/fax/fake-sendfax.sh"))));
    QFile::setPermissions(script, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const QString ini
        = home.Write(QStringLiteral("client/StewardC.ini"), "[Fax]\nServer1=HQ|faxhost.example\n");
    home.WriteRegistry({{QStringLiteral("ClientPath"), QFileInfo(ini).absolutePath()}});
    RegisterHvnFax();
    QDir().mkpath(home.Folder(QStringLiteral("tmp")));
    const testsupport::ScopedEnv temp("TMPDIR", home.Folder(QStringLiteral("tmp")).toLocal8Bit());

    const auto server = std::make_shared<SendServer>();
    SlipForm slip(3);
    slip.AddSlip(QStringLiteral("0001"), 4); // two pages
    slip.AddSlip(QStringLiteral("0002"), 1);
    TfrmVRFormat* form = slip.Form();
    prepareSend(form, 2, QStringLiteral("5550101"), server);
    ASSERT_TRUE(form->GeneratePages());
    ASSERT_EQ(form->SendList.Count(), 1);
    EXPECT_EQ(form->SendList.Recipients().first().Pages(), QList<int>({1, 2, 3}));
    ScriptedDialogService dialogs;
    dialogs.ExpectMessage(mrOk, QStringLiteral("传真已发送给 1 位收件人。"));
    EXPECT_TRUE(form->Send(2, TOutputKind::Jpg, QStringLiteral("HQ(faxhost.example)")))
        << form->LastError().toStdString();
    EXPECT_EQ(dialogs.Pending(), 0) << "the user is told the fax went";
    EXPECT_TRUE(dialogs.Failures().isEmpty()) << dialogs.Failures().join(u'\n').toStdString();
    EXPECT_FALSE(form->SendFailed);
    EXPECT_EQ(form->Resolution, 96);
    EXPECT_EQ(form->PrintCountMode, 2);
    ASSERT_EQ(server->Statements.size(), 1);
    EXPECT_TRUE(server->Statements[0].contains(QStringLiteral("Send Fax Complete !")));
    EXPECT_TRUE(server->Statements[0].contains(QStringLiteral("'5550101'")));
    const QStringList args = QString::fromUtf8(home.Read(QStringLiteral("bin/argv"))).split(QChar(0));
    EXPECT_EQ(args.mid(0, 2), QStringList({QStringLiteral("-h"), QStringLiteral("faxhost.example")}));
    // Three pages went as files, and none of them is left behind.
    const QStringList sent
        = QDir(home.Folder(QStringLiteral("bin"))).entryList({QStringLiteral("file*")}, QDir::Files);
    EXPECT_EQ(sent.size(), 3) << sent.join(u' ').toStdString();
    EXPECT_TRUE(QDir(home.Folder(QStringLiteral("tmp"))).isEmpty());
    // Each slip counted once, however many pages it has.
    EXPECT_EQ(server->Counted, QStringList({QStringLiteral("TO002='0001'"), QStringLiteral("TO002='0002'")}));
}

TEST(FormatSendTest, NoRecipientMeansNothingToSend)
{
    SlipForm slip(3);
    slip.AddSlip(QStringLiteral("0001"), 2);
    ASSERT_TRUE(slip.Form()->GeneratePages());
    ScriptedDialogService dialogs;
    dialogs.ExpectMessage(mrOk, QStringLiteral("此报表没有可传送的收件人。"));
    EXPECT_FALSE(slip.Form()->Send(1, TOutputKind::Gif, QString()));
    EXPECT_FALSE(slip.Form()->LastError().isEmpty());
    EXPECT_EQ(dialogs.Pending(), 0) << "the user is told, not left wondering";
}

TEST(FormatSendTest, ARefusingMailServerIsToldToTheUserAndLoggedPerRecipient)
{
    if (!mail_test::SmtpServer::Available())
        GTEST_SKIP() << "/usr/bin/python3 has no aiosmtpd";
    mail_test::SmtpServer smtp(QStringLiteral("accept"));
    ASSERT_TRUE(smtp.Started()) << smtp.Failure().toStdString();
    const mail_test::MailHome home(
        "Server=127.0.0.1\nSecurity=None\nFrom=erp@korvane.example\nTimeout=5\nPort="
        + QByteArray::number(smtp.Port()) + "\n");
    RegisterOutlook();
    const auto server = std::make_shared<SendServer>();
    SlipForm slip(3);
    slip.AddSlip(QStringLiteral("0001"), 2);
    TfrmVRFormat* form = slip.Form();
    prepareSend(form, 1, QStringLiteral("refuse@client.example"), server);
    ScriptedDialogService dialogs;
    dialogs.ExpectModal(
        [](TForm* shown) { return qobject_cast<TfrmEmailSubject*>(shown) ? mrOk : mrCancel; });
    QString told;
    dialogs.Expect(DialogKind::Message,
        ScriptedDialogService::Answer {mrOk, true, {}, [&](const DialogRequest& request) {
                                           told = request.Text;
                                           return mrOk;
                                       }});
    EXPECT_FALSE(form->Send(1, TOutputKind::Gif, QString()));
    EXPECT_TRUE(form->SendFailed);
    EXPECT_TRUE(dialogs.Failures().isEmpty()) << dialogs.Failures().join(u'\n').toStdString();
    // Who failed and the server's own words, in the one message at the end.
    EXPECT_TRUE(told.contains(QStringLiteral("0 位成功, 1 位失败"))) << told.toStdString();
    EXPECT_TRUE(told.contains(QStringLiteral("<refuse@client.example>: Send e-Mail error!")))
        << told.toStdString();
    EXPECT_TRUE(told.contains(QStringLiteral("550 5.1.1 Mailbox unavailable"))) << told.toStdString();
    ASSERT_EQ(server->Statements.size(), 1);
    EXPECT_TRUE(server->Statements[0].contains(QStringLiteral("'N','Send e-Mail error!'")))
        << server->Statements[0].toStdString();
    EXPECT_TRUE(server->Counted.isEmpty()) << "a refused slip stays unsent";
    EXPECT_EQ(smtp.MessageCount(), 0);
}

TEST(FormatSendTest, ThePreviewSaysWhyASendButtonIsGreyed)
{
    SlipForm slip(3);
    slip.AddSlip(QStringLiteral("0001"), 2);
    ASSERT_TRUE(slip.Form()->QuickRep1->QRPrinter()->GenerateAhead());
    const auto preview = [&](int flags) {
        slip.Form()->SendFlags = flags;
        std::unique_ptr<TfrmVRPreview, FreeComponent> window(new TfrmVRPreview(slip.Form()));
        window->Prepare();
        return window;
    };
    RegisterOutlook();
    RegisterHvnFax();
    {
        // No [Mail] server: nothing could be sent, and the button's tip says why.
        const mail_test::MailHome home("Security=None\n");
        const auto window = preview(1);
        EXPECT_TRUE(window->btnEmail->Visible());
        EXPECT_FALSE(window->btnEmail->Enabled());
        EXPECT_TRUE(window->btnEmail->ShowHint());
        EXPECT_EQ(window->btnEmail->Hint(),
            QStringLiteral("不能发送电子邮件: No mail server in the [Mail] section of StewardC.ini"));
    }
    {
        const mail_test::MailHome home("Server=127.0.0.1\nSecurity=None\nFrom=erp@korvane.example\n");
        EXPECT_TRUE(preview(1)->btnEmail->Enabled()) << "a usable [Mail] section leaves it on";
        // No fax server in the configuration: the fax button says so.
        const auto window = preview(2);
        EXPECT_TRUE(window->btnFax->Visible());
        EXPECT_FALSE(window->btnFax->Enabled());
        EXPECT_TRUE(window->btnFax->Hint().contains(QStringLiteral("[Fax]")))
            << window->btnFax->Hint().toStdString();
    }
    {
        // Without the fax service at all its error is the reason.
        AutoObjectFactory::Unregister(QStringLiteral("HVNFAX.APP"));
        const auto window = preview(2);
        EXPECT_FALSE(window->btnFax->Enabled());
        EXPECT_EQ(window->btnFax->Hint(), QStringLiteral("不能发送传真: Invalid class string: HVNFAX.APP"));
        RegisterHvnFax();
    }
}

TEST(FormatSendTest, ThePreviewOffersTheFaxServersOfTheConfiguration)
{
    steward_test::TestHome home({});
    const QString ini = home.Write(QStringLiteral("client/StewardC.ini"),
        "[Fax]\nServer1=总公司|faxhost.example\nServer2=Branch|10.1.2.3:4559\n");
    home.WriteRegistry({{QStringLiteral("ClientPath"), QFileInfo(ini).absolutePath()}});
    RegisterHvnFax();
    SlipForm slip(3);
    slip.AddSlip(QStringLiteral("0001"), 2);
    slip.Form()->SendFlags = 2;
    ASSERT_TRUE(slip.Form()->QuickRep1->QRPrinter()->GenerateAhead());
    std::unique_ptr<TfrmVRPreview, FreeComponent> preview(new TfrmVRPreview(slip.Form()));
    preview->Prepare();
    EXPECT_TRUE(preview->btnFax->Visible());
    EXPECT_TRUE(preview->btnFax->Enabled());
    EXPECT_FALSE(preview->btnEmail->Visible());
    QStringList captions;
    for (TComponent* item : preview->PopupmenuSendFax->Items()->GetChildren())
        captions << qobject_cast<TMenuItem*>(item)->Caption();
    EXPECT_EQ(captions,
        QStringList({QStringLiteral("总公司(faxhost.example)"), QStringLiteral("Branch(10.1.2.3:4559)")}));
}

TEST(FormatSendTest, AMailRunAsksTheSubjectOnceAFormAndACancelSendsNothing)
{
    RegisterOutlook();
    const auto server = std::make_shared<SendServer>();
    SlipForm slip(3);
    slip.AddSlip(QStringLiteral("0001"), 2);
    TfrmVRFormat* form = slip.Form();
    prepareSend(form, 1, QStringLiteral("buyer@client.example"), server);
    ScriptedDialogService dialogs;
    TForm* first = nullptr;
    dialogs.ExpectModal([&](TForm* shown) {
        first = shown;
        auto* subject = qobject_cast<TfrmEmailSubject*>(shown);
        EXPECT_NE(subject, nullptr);
        if (subject) {
            EXPECT_EQ(subject->edtSubject->Text(), QStringLiteral("Korvane-ERP 工单变更单"));
        }
        return mrCancel;
    });
    TForm* second = nullptr;
    dialogs.ExpectModal([&](TForm* shown) {
        second = shown;
        return mrCancel;
    });
    EXPECT_FALSE(form->Send(1, TOutputKind::Gif, QString()));
    EXPECT_FALSE(form->Send(1, TOutputKind::Gif, QString()));
    EXPECT_EQ(first, second) << "one subject dialog for the form's life";
    EXPECT_TRUE(server->Statements.isEmpty()) << "a cancelled subject sends and logs nothing";
    EXPECT_TRUE(dialogs.Failures().isEmpty());
}

TEST(FormatSendTest, ARunWithoutAFolderForItsPicturesSaysWhyAndSendsNothing)
{
    RegisterOutlook();
    // No temporary folder, and a client home where C_DATA cannot be made (a file is in the way).
    testsupport::TempFolder home;
    home.write("file", "not a folder");
    const testsupport::ScopedEnv temp("TMPDIR", "/nonexistent/tmp");
    const auto server = std::make_shared<SendServer>();
    SlipForm slip(3);
    slip.AddSlip(QStringLiteral("0001"), 2);
    TfrmVRFormat* form = slip.Form();
    form->ClientHome = home.file(QStringLiteral("file"));
    for (const int kind : {1, 2}) {
        prepareSend(form, kind,
            kind == 1 ? QStringLiteral("buyer@client.example") : QStringLiteral("5550101"), server);
        ScriptedDialogService dialogs;
        dialogs.ExpectMessage(
            mrOk, QStringLiteral("Can not create directory :") + home.file(QStringLiteral("file")));
        EXPECT_FALSE(form->Send(
            kind, kind == 1 ? TOutputKind::Gif : TOutputKind::Jpg, QStringLiteral("HQ(faxhost.example)")));
        EXPECT_TRUE(form->SendFailed);
        EXPECT_EQ(form->Resolution, 96);
        EXPECT_TRUE(dialogs.Failures().isEmpty()) << dialogs.Failures().join(u'\n').toStdString();
        EXPECT_EQ(dialogs.Pending(), 0) << "the user is told";
    }
    EXPECT_TRUE(server->Statements.isEmpty());
    EXPECT_TRUE(server->Counted.isEmpty());
}
