#include "format/SendRun.h"

#include "RecordingServer.h"
#include "common/StewardIniTestHome.h"
#include "suite/fax/HvnFaxApplication.h"
#include "suite/mail/OutlookApplication.h"
#include "suite/mail/SmtpServerFixture.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <gtest/gtest.h>

using mail_test::SmtpServer;

namespace {

// The report side: each page a real picture "<base><page>.<ext>"; a
// recipient named in FailFor gets none.
class PictureWriter : public IRecipientPages {
public:
    bool WriteRecipientPages(const TSendRecipient& recipient, const QString& baseName, TOutputKind kind,
        QStringList& files) override
    {
        Calls << recipient.Key;
        if (FailFor.contains(recipient.Key))
            return false;
        for (const int page : recipient.Pages()) {
            QImage image(85, 110, QImage::Format_RGB32);
            image.fill(QColor(page * 20, 255, 255));
            const QString file = baseName + QString::number(page) + ExtensionOf(kind);
            // Qt writes no GIF; the mail does not look inside.
            if (!image.save(file, kind == TOutputKind::Jpg ? "JPG" : "PNG"))
                return false;
            files << file;
        }
        return true;
    }
    void CountSentSlips(const TSendRecipient& recipient) override { Counted << recipient.Key; }
    QString PagesError() const override { return Error; }
    QString Error;
    QStringList Calls;
    QStringList FailFor;
    QStringList Counted; // recipients whose slips were counted as sent
};

class Progress : public ISendProgress {
public:
    void Recipient(const QString& key, int index, int count) override
    {
        Seen << QStringLiteral("%1 %2/%3").arg(key).arg(index).arg(count);
    }
    void File(int index, int count) override
    {
        Seen << QStringLiteral("file %1/%2").arg(index).arg(count);
        cancelled_ = cancelled_ || index == CancelAtFile;
    }
    bool Cancelled() const override { return cancelled_; }
    QStringList Seen;
    int CancelAtFile = 0;

private:
    bool cancelled_ = false;
};

TSendGroup Slip(int page, int number)
{
    return TSendGroup {
        page, QStringLiteral("MOCTO"), QStringLiteral("TO030"), QStringLiteral("TO002='%1'").arg(number)};
}

class SendRunTest : public ::testing::Test {
protected:
    SendRunTest()
        : home_({})
        , path_(
              "PATH", (home_.Folder(QStringLiteral("bin")) + QStringLiteral(":/usr/bin:/bin")).toLocal8Bit())
        , server_(std::make_shared<RecordingServer>())
        , log_(Variant(server_),
              TSendContext {QStringLiteral("KV"), QStringLiteral("CHEN"), QStringLiteral("G1"),
                  QStringLiteral("ZORV52"), QStringLiteral("工单变更单"),
                  home_.Folder(QStringLiteral("client"))})
    {
        QDir().mkpath(home_.Folder(QStringLiteral("tmp")));
        QDir().mkpath(home_.Folder(QStringLiteral("out")));
        const QString script = home_.Write(QStringLiteral("bin/sendfax"),
            testsupport::readAll(testsupport::sourcePath(QStringLiteral("tests/suite/fax/fake-sendfax.sh"))));
        QFile::setPermissions(script, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        RegisterOutlook();
        RegisterHvnFax();
        WriteIni(0);
    }

    void WriteIni(int smtpPort)
    {
        const QString ini = home_.Write(QStringLiteral("client/StewardC.ini"),
            "[Mail]\nServer=127.0.0.1\nSecurity=None\nFrom=erp@korvane.example\nTimeout=3\nPort="
                + QByteArray::number(smtpPort) + "\n[Fax]\nServer1=总公司|faxhost.example\n");
        home_.WriteRegistry({{QStringLiteral("ClientPath"), QFileInfo(ini).absolutePath()}});
    }

    QString Base() const { return home_.Folder(QStringLiteral("out/ZORV52_20111028_093000")); }
    bool OutputLeft() const { return !QDir(home_.Folder(QStringLiteral("out"))).isEmpty(); }

    // "key Y|N text" for each log row, in order.
    QStringList LogRows() const
    {
        QStringList rows;
        for (const QString& sql : server_->Statements) {
            const QStringList values = sql.section(QStringLiteral("VALUES("), 1).split(QStringLiteral("','"));
            rows << values[6] + QLatin1Char(' ') + values[7] + QLatin1Char(' ') + values[8];
        }
        return rows;
    }

    steward_test::TestHome home_;
    testsupport::ScopedEnv path_;
    std::shared_ptr<RecordingServer> server_;
    TSendLog log_;
    PictureWriter pages_;
};

} // namespace

TEST_F(SendRunTest, EachRecipientGetsOneMailAndItsOwnLogRow)
{
    if (!SmtpServer::Available())
        GTEST_SKIP() << "/usr/bin/python3 has no aiosmtpd";
    SmtpServer smtp(QStringLiteral("accept"));
    ASSERT_TRUE(smtp.Started()) << smtp.Failure().toStdString();
    WriteIni(smtp.Port());
    TSendList list;
    list.Register(QStringLiteral("C001"), QString(), QStringLiteral("buyer@client.example"), Slip(1, 1));
    list.Register(QStringLiteral("C001"), QString(), QString(), Slip(2, 1));
    list.Register(QStringLiteral("C002"), QString(), QString(), Slip(3, 2));
    list.Register(QStringLiteral("C003"), QString(), QStringLiteral("refuse@client.example"), Slip(4, 3));
    list.Register(QStringLiteral("C001"), QString(), QString(), Slip(5, 4));
    list.Register(QStringLiteral("C004"), QString(), QStringLiteral("other@client.example"), Slip(6, 5));

    TSendRun run(list, pages_, log_);
    QString asked;
    const bool sent = run.SendEMail(
        TOutputKind::Gif, Base(), QStringLiteral("Korvane-ERP 工单变更单"), [&](QString& subject) {
            asked = subject;
            subject = QStringLiteral("十月 slips");
            return true;
        });
    EXPECT_FALSE(sent);
    EXPECT_TRUE(run.SendFailed);
    EXPECT_EQ(asked, QStringLiteral("Korvane-ERP 工单变更单"));
    EXPECT_EQ(LogRows(),
        (QStringList {QStringLiteral("C001 Y Send e-Mail Complete !"),
            QStringLiteral("C002 N Not assign e-Mail address!"), QStringLiteral("C003 N Send e-Mail error!"),
            QStringLiteral("C004 Y Send e-Mail Complete !")}))
        << LogRows().join(QLatin1Char('\n')).toStdString();

    ASSERT_EQ(smtp.MessageCount(), 2);
    const QJsonObject first = smtp.Message(1);
    EXPECT_EQ(
        first[QStringLiteral("rcpt_tos")].toArray(), QJsonArray({QStringLiteral("buyer@client.example")}));
    EXPECT_EQ(first[QStringLiteral("subject")].toString(), QStringLiteral("十月 slips"));
    const QJsonArray files = first[QStringLiteral("attachments")].toArray();
    ASSERT_EQ(files.size(), 3) << "both slips' pages in one mail";
    EXPECT_EQ(files[2].toObject()[QStringLiteral("filename")].toString(),
        QStringLiteral("ZORV52_20111028_0930005.gif"));
    EXPECT_EQ(smtp.Message(2)[QStringLiteral("rcpt_tos")].toArray(),
        QJsonArray({QStringLiteral("other@client.example")}));
    EXPECT_EQ(pages_.Counted, (QStringList {QStringLiteral("C001"), QStringLiteral("C004")}))
        << "the refused recipient's slip stays unsent";
    EXPECT_FALSE(OutputLeft()) << "attachments are deleted after each recipient";

    // Beside the log the run keeps who failed and why, the refusal in the server's words.
    ASSERT_EQ(run.Outcomes.size(), 4);
    EXPECT_FALSE(run.Outcomes[0].Failed);
    EXPECT_EQ(run.Outcomes[0].Address, QStringLiteral("buyer@client.example"));
    EXPECT_TRUE(run.Outcomes[1].Failed);
    EXPECT_EQ(run.Outcomes[1].Key, QStringLiteral("C002"));
    const TSendOutcome& refused = run.Outcomes[2];
    EXPECT_TRUE(refused.Failed);
    EXPECT_EQ(refused.Address, QStringLiteral("refuse@client.example"));
    EXPECT_TRUE(refused.Reason.contains(QStringLiteral("550 5.1.1 Mailbox unavailable")))
        << refused.Reason.toStdString();
    EXPECT_FALSE(run.Cancelled);
}

TEST_F(SendRunTest, MailFailuresBeforeSendingAreLoggedToo)
{
    TSendList list;
    list.Register(QStringLiteral("C001"), QString(), QStringLiteral("a@client.example"), Slip(1, 1));
    pages_.FailFor << QStringLiteral("C001");
    pages_.Error = QStringLiteral("Could not write /full/P1.gif: No space left on device");
    TSendRun run(list, pages_, log_);
    EXPECT_FALSE(run.SendEMail(TOutputKind::Gif, Base(), QStringLiteral("s"), {}));
    EXPECT_EQ(LogRows(), QStringList {QStringLiteral("C001 N Generate attach file error!")});
    ASSERT_EQ(run.Outcomes.size(), 1);
    EXPECT_EQ(run.Outcomes[0].Reason, pages_.Error);

    server_->Statements.clear();
    EXPECT_FALSE(
        run.SendEMail(TOutputKind::Gif, Base(), QStringLiteral("s"), [](QString&) { return false; }));
    EXPECT_TRUE(server_->Statements.isEmpty()) << "a cancelled subject sends and logs nothing";

    AutoObjectFactory::Unregister(QStringLiteral("Outlook.Application"));
    EXPECT_FALSE(run.SendEMail(TOutputKind::Gif, Base(), QStringLiteral("s"), {}));
    EXPECT_EQ(LogRows(), QStringList {QStringLiteral("Email N Create Outlook error!")});
    ASSERT_EQ(run.Outcomes.size(), 1) << "the outcomes are those of the last run";
    EXPECT_TRUE(run.Outcomes[0].Reason.contains(QStringLiteral("Invalid class string")))
        << run.Outcomes[0].Reason.toStdString();
    RegisterOutlook();
}

TEST_F(SendRunTest, FaxesGoToTheServerOfTheMenuItem)
{
    TSendList list;
    list.Register(QStringLiteral("C001"), QStringLiteral("+86 21 5555-0101"), QString(), Slip(1, 1));
    list.Register(QStringLiteral("C001"), QString(), QString(), Slip(2, 1));
    list.Register(QStringLiteral("C002"), QString(), QString(), Slip(3, 2));
    list.Register(QStringLiteral("C003"), QStringLiteral("call me"), QString(), Slip(4, 3));
    TSendRun run(list, pages_, log_);
    Progress progress;
    EXPECT_FALSE(run.SendFax(
        QStringLiteral("总公司(上海)(faxhost.example)"), Base(), QStringLiteral("CHEN"), progress));
    EXPECT_EQ(LogRows(),
        (QStringList {QStringLiteral("C001 Y Send Fax Complete !"),
            QStringLiteral("C002 N Not assign fax number!"), QStringLiteral("C003 N Send Fax error!")}));
    EXPECT_EQ(progress.Seen,
        (QStringList {QStringLiteral("C001 1/3"), QStringLiteral("file 1/2"), QStringLiteral("file 2/2"),
            QStringLiteral("C003 3/3"), QStringLiteral("file 1/1")}));
    QStringList args = QString::fromUtf8(home_.Read(QStringLiteral("bin/argv"))).split(QChar(0));
    EXPECT_EQ(args.mid(0, 10),
        (QStringList {QStringLiteral("-h"), QStringLiteral("faxhost.example"), QStringLiteral("-m"),
            QStringLiteral("-n"), QStringLiteral("-d"), QStringLiteral("+86 21 5555-0101"),
            QStringLiteral("-i"), QStringLiteral("C001"), QStringLiteral("-f"), QStringLiteral("CHEN")}));
    EXPECT_EQ(home_.Read(QStringLiteral("bin/calls")).count('\n'), 1)
        << "the bad number never reached sendfax";
    ASSERT_EQ(run.Outcomes.size(), 3);
    EXPECT_EQ(run.Outcomes[2].Address, QStringLiteral("call me"));
    EXPECT_EQ(run.Outcomes[2].Reason, QStringLiteral("\"call me\" is no fax number"));
    EXPECT_EQ(pages_.Counted, QStringList {QStringLiteral("C001")});
    EXPECT_FALSE(OutputLeft());
}

TEST_F(SendRunTest, CancelStopsBeforeAPartialFax)
{
    TSendList list;
    list.Register(QStringLiteral("C001"), QStringLiteral("5550101"), QString(), Slip(1, 1));
    list.Register(QStringLiteral("C001"), QString(), QString(), Slip(2, 1));
    list.Register(QStringLiteral("C002"), QStringLiteral("5550102"), QString(), Slip(3, 2));
    TSendRun run(list, pages_, log_);
    Progress progress;
    progress.CancelAtFile = 2;
    EXPECT_FALSE(
        run.SendFax(QStringLiteral("HQ(faxhost.example)"), Base(), QStringLiteral("CHEN"), progress));
    EXPECT_TRUE(run.Cancelled);
    EXPECT_FALSE(home_.Exists(QStringLiteral("bin/calls")));
    EXPECT_EQ(pages_.Calls, QStringList {QStringLiteral("C001")}) << "the run ends at the cancel";
    EXPECT_TRUE(pages_.Counted.isEmpty()) << "a cancelled fax counts nothing";
    EXPECT_FALSE(OutputLeft());
}

TEST_F(SendRunTest, AFaxServerThatCannotBeReachedIsAFailure)
{
    const testsupport::ScopedEnv noHylaFax("PATH", "/nonexistent");
    TSendList list;
    list.Register(QStringLiteral("C001"), QStringLiteral("5550101"), QString(), Slip(1, 1));
    TSendRun run(list, pages_, log_);
    Progress progress;
    EXPECT_FALSE(
        run.SendFax(QStringLiteral("HQ(faxhost.example)"), Base(), QStringLiteral("CHEN"), progress));
    EXPECT_EQ(LogRows(), QStringList {QStringLiteral("C001 N Send Fax error!")});
    EXPECT_TRUE(pages_.Counted.isEmpty());
    ASSERT_EQ(run.Outcomes.size(), 1);
    EXPECT_TRUE(run.Outcomes[0].Reason.contains(QStringLiteral("is not installed")))
        << run.Outcomes[0].Reason.toStdString();
}

TEST(SendRunAddress, TheLastParenthesesOfTheCaptionHoldTheServer)
{
    EXPECT_EQ(TSendRun::ServerAddress(QStringLiteral("总公司(上海)(faxhost.example)")),
        QStringLiteral("faxhost.example"));
    EXPECT_EQ(
        TSendRun::ServerAddress(QStringLiteral("Branch(10.1.2.3:4559)")), QStringLiteral("10.1.2.3:4559"));
    EXPECT_EQ(TSendRun::ServerAddress(QStringLiteral("no server")), QString());
    EXPECT_EQ(TSendRun::ServerAddress(QStringLiteral("open(")), QString());
}

TEST(SendRunFiles, AttachmentsGoToTheTemporaryFolderElseTheClientHome)
{
    testsupport::TempFolder folder;
    const QDateTime when(QDate(2011, 10, 28), QTime(9, 30, 5));
    {
        const testsupport::ScopedEnv tmp("TMPDIR", folder.path().toLocal8Bit());
        EXPECT_EQ(TSendRun::AttachmentBaseName(QStringLiteral("ZORV52"), QStringLiteral("D:\\App\\"), when),
            folder.path() + QStringLiteral("/ZORV52_20111028_093005"));
    }
    const testsupport::ScopedEnv noTmp("TMPDIR", folder.file(QStringLiteral("gone")).toLocal8Bit());
    const QString home = folder.file(QStringLiteral("home"));
    EXPECT_EQ(TSendRun::AttachmentBaseName(QStringLiteral("ZORV52"), home, when),
        home + QStringLiteral("\\C_DATA\\C_TEMP\\ZORV52_20111028_093005"));
    EXPECT_TRUE(QFileInfo(folder.file(QStringLiteral("home/C_DATA/C_TEMP"))).isDir());

    folder.write(QStringLiteral("file"), "a file where the home should be");
    try {
        TSendRun::AttachmentBaseName(QStringLiteral("ZORV52"), folder.file(QStringLiteral("file")), when);
        ADD_FAILURE() << "no exception";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(),
            QStringLiteral("Can not create directory :") + folder.file(QStringLiteral("file"))
                + QStringLiteral("\\C_DATA\\C_TEMP\\"));
    }
}
