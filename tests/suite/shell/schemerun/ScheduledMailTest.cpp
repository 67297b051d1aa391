// The scheduled mail run end to end: a user saves a condition scheme in the
// change-slip window (approved slips, approval date the run day, not sent
// yet, e-mail to the suppliers), then the command of the shipped user unit
// steward-mail@.service runs the real steward on it against a local SMTP
// server, twice; and what the console says when the scheme is not the
// user's or finds nothing.
#include "../../../zorv52/Zorv52Fixture.h"

#include "criteria/GeneCondition.h"
#include "criteria/SelectPnl.h"
#include "runtime/forms/ExtCtrls.h"
#include "runtime/forms/Mask.h"
#include "runtime/forms/StdCtrls.h"
#include "suite/mail/SmtpServerFixture.h"
#include "support/ProgramRun.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QRegularExpression>
#include <QThread>

namespace {

QString text(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

const QString schemeName = text("今日寄送");

// The unit's ExecStart as systemd runs it: @bindir@ is where the package puts
// steward (here: the build's), each ${NAME} is one argument from the unit's
// Environment= lines and the EnvironmentFile, which overrides them.
QStringList unitCommand(const QMap<QString, QString>& conf, QMap<QString, QString>& environment)
{
    const QString unit = QString::fromUtf8(testsupport::readAll(
        testsupport::sourcePath(QStringLiteral("data/systemd/user/steward-mail@.service.in"))));
    QString exec;
    for (const QString& line : unit.split(u'\n')) {
        if (line.startsWith(QLatin1String("Environment="))) {
            const QString pair = line.mid(12);
            environment.insert(pair.section(u'=', 0, 0), pair.section(u'=', 1));
        } else if (line.startsWith(QLatin1String("ExecStart="))) {
            exec = line.mid(10);
        }
    }
    for (auto it = conf.begin(); it != conf.end(); ++it)
        environment.insert(it.key(), it.value());
    QStringList args;
    static const QRegularExpression variable(QStringLiteral("^\\$\\{([A-Z_]+)\\}$"));
    for (QString word : exec.split(u' ', Qt::SkipEmptyParts)) {
        const QRegularExpressionMatch m = variable.match(word);
        if (m.hasMatch()) {
            EXPECT_TRUE(environment.contains(m.captured(1))) << qPrintable(m.captured(1)) << " is never set";
            word = environment.value(m.captured(1));
        }
        args << word.replace(
            QStringLiteral("@bindir@"), QFileInfo(QStringLiteral(ZORV_STEWARD)).absolutePath());
    }
    return args;
}

class ScheduledMailTest : public Zorv52FormTest {
protected:
    void SetUp() override
    {
        if (!mail_test::SmtpServer::Available())
            GTEST_SKIP() << "/usr/bin/python3 has no aiosmtpd (Debian package python3-aiosmtpd)";
        Zorv52FormTest::SetUp();
        smtp_ = std::make_unique<mail_test::SmtpServer>(QStringLiteral("accept"));
        ASSERT_TRUE(smtp_->Started()) << smtp_->Failure().toStdString();
        QByteArray client = home_.read("StewardC.ini");
        client += "\n[Mail]\nServer=127.0.0.1\nPort=" + QByteArray::number(smtp_->Port())
            + "\nSecurity=None\nFrom=erp@korvane.example\nTimeout=10\n";
        home_.write("StewardC.ini", client);
    }

    // Three approved A511 slips of today for S0001 (two) and S0002, not
    // sent yet; beside them an approved slip of today sent already, an
    // unapproved one of today and an approved one of yesterday, none sent.
    void SetScene()
    {
        const QString today = QDate::currentDate().toString(QStringLiteral("yyyyMMdd"));
        const QString yesterday = QDate::currentDate().addDays(-1).toString(QStringLiteral("yyyyMMdd"));
        Execute("UPDATE MOCTO SET TO043='20200101' WHERE TO043 <> ''");
        const QStringList slips = Column(QStringLiteral(
            "SELECT TO001||'-'||TO002||'-'||TO003 FROM MOCTO WHERE TO001='A511' AND TO041='Y' "
            "AND EXISTS (SELECT 1 FROM MOCTP WHERE TP001=TO001 AND TP002=TO002 AND TP003=TO003) "
            "ORDER BY TO001, TO002, TO003 LIMIT 6"));
        ASSERT_EQ(slips.size(), 6);
        const QStringList suppliers {"S0001", "S0002", "S0001", "S0003", "S0004", "S0005"};
        for (int i = 0; i < 6; ++i)
            set(slips[i],
                QStringLiteral("TO033='%1', TO053=0, TO043='%2'")
                    .arg(suppliers[i], i == 5 ? yesterday : today));
        set(slips[3], QStringLiteral("TO053=1"));
        set(slips[4], QStringLiteral("TO041='N'"));
        due_ = slips.mid(0, 3);
        others_ = slips.mid(3);
    }

    void set(const QString& slip, const QString& assignments)
    {
        EXPECT_EQ(DemoServerTest::Execute(
                      QStringLiteral("UPDATE MOCTO SET %1 WHERE TO001||'-'||TO002||'-'||TO003='%2'")
                          .arg(assignments, slip)),
            QString());
    }

    // The scheme as CHEN saves it in the window: criteria and delivery, and
    // in the scheme dialog both ends of 选择审核日期 moving with the run day.
    void SaveSchemeInTheWindow(int sendWay = 1)
    {
        TfrmZorv52* form = Open(QStringLiteral("CHEN"));
        EnterSlipType(form, QStringLiteral("A511"));
        form->cboTO041->SetItemIndex(0); // 已审核
        form->cboTO042->SetItemIndex(2); // printed or not
        // Some day long ago: the rule, not this date, decides the run's.
        form->spTO043->edBegin->SetText(form->StorageToDate(QStringLiteral("20241101")));
        form->spTO043->edFinal->SetText(form->StorageToDate(QStringLiteral("20241101")));
        form->rgSendType->SetItemIndex(1);
        form->rgSendTypeClick(form->rgSendType);
        form->cboSendWay->SetItemIndex(sendWay); // 0 FAX To 供应商, 1 Email To 供应商
        form->cboSendWayChange(form->cboSendWay);
        ASSERT_EQ(form->cboSendStatus->ItemIndex(), 1) << "未传送";
        dialogs_->ExpectModal([&](TForm* shown) {
            auto* dialog = qobject_cast<TfrmGeneCondition*>(shown);
            EXPECT_NE(dialog, nullptr);
            if (!dialog)
                return int(mrCancel);
            dialog->edConName->SetText(schemeName);
            const int approval = dialog->cbodatecondition->Items()->IndexOf(form->spTO043->Caption());
            EXPECT_GE(approval, 0) << dialog->cbodatecondition->Items()->Lines().join(u',').toStdString();
            dialog->cbodatecondition->SetItemIndex(approval);
            dialog->cbodateconditionChange(dialog->cbodatecondition);
            dialog->spDate_B->SetChecked(true);
            dialog->spDate_E->SetChecked(true);
            dialog->btnOkClick(dialog->btnOk);
            return dialog->ModalResult();
        });
        form->btnInsert->Click();
        form_.reset(); // the window is closed before the scheduled run
    }

    testsupport::ProgramRun runUnit(const QMap<QString, QString>& conf)
    {
        QMap<QString, QString> variables;
        const QStringList command = unitCommand(conf, variables);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(QStringLiteral("DISPLAY"));
        for (auto it = variables.begin(); it != variables.end(); ++it)
            environment.insert(it.key(), it.value());
        return testsupport::RunProgram(command.value(0), command.mid(1), environment, 120000);
    }

    QMap<QString, QString> conf(
        const QString& user = QStringLiteral("CHEN"), const QString& scheme = schemeName) const
    {
        return {{QStringLiteral("STEWARD_HOME"), home_.path()}, {QStringLiteral("STEWARD_USER"), user},
            {QStringLiteral("STEWARD_SCHEME"), scheme}};
    }

    QList<qint64> sendCounts(const QStringList& slips) const
    {
        QList<qint64> counts;
        for (const QString& slip : slips)
            counts << Count(
                QStringLiteral("SELECT TO053 FROM MOCTO WHERE TO001||'-'||TO002||'-'||TO003='%1'").arg(slip));
        return counts;
    }

    // The recipients of the messages received so far, sorted.
    QStringList recipients() const
    {
        QStringList out;
        for (int i = 1; i <= smtp_->MessageCount(); ++i)
            for (const QJsonValue& to : smtp_->Message(i).value(QStringLiteral("rcpt_tos")).toArray())
                out << to.toString();
        out.sort();
        return out;
    }

    std::unique_ptr<mail_test::SmtpServer> smtp_;
    QStringList due_, others_;
};

} // namespace

TEST_F(ScheduledMailTest, TheDaysApprovedUnsentSlipsReachTheirSuppliersOnce)
{
    SetScene();
    ASSERT_FALSE(HasFailure());
    SaveSchemeInTheWindow();
    ASSERT_FALSE(HasFailure());
    const QStringList stored = Column(QStringLiteral("SELECT SCONDITION FROM GENES WHERE CREATOR='CHEN'"));
    ASSERT_EQ(stored.size(), 1);
    EXPECT_TRUE(stored[0].contains(QStringLiteral("cboSendWay.itemindex;"))) << stored[0].toStdString();
    EXPECT_TRUE(stored[0].contains(QStringLiteral("RunDayRules.records;"))) << stored[0].toStdString();
    const qint64 logBefore = Count(QStringLiteral("SELECT COUNT(*) FROM ADMTA"));

    const testsupport::ProgramRun first = runUnit(conf());
    EXPECT_EQ(first.Status, 0) << qPrintable(first.Err);
    EXPECT_EQ(recipients(),
        (QStringList {
            QStringLiteral("sales1@supplier1.example.com"), QStringLiteral("sales2@supplier2.example.com")}))
        << "one mail per supplier of the day's approved, unsent slips; " << qPrintable(first.Err);
    for (int i = 1; i <= smtp_->MessageCount(); ++i) {
        const QJsonObject message = smtp_->Message(i);
        const bool two
            = message.value(QStringLiteral("rcpt_tos")).toArray().first().toString().startsWith(u"sales1");
        EXPECT_GE(message.value(QStringLiteral("attachments")).toArray().size(), two ? 2 : 1)
            << "the pages of the supplier's slips";
        EXPECT_TRUE(
            message.value(QStringLiteral("subject")).toString().startsWith(QStringLiteral("Korvane-ERP ")))
            << "the proposed subject, nobody asked";
    }
    EXPECT_EQ(sendCounts(due_), (QList<qint64> {1, 1, 1}));
    EXPECT_EQ(sendCounts(others_), (QList<qint64> {1, 0, 0}))
        << "sent before, unapproved, yesterday's: untouched";
    EXPECT_EQ(
        Column(QStringLiteral("SELECT TA002||'|'||TA003 FROM ADMTA ORDER BY rowid")).mid(int(logBefore)),
        (QStringList {QStringLiteral("S0001|Y"), QStringLiteral("S0002|Y")}));

    // The second run of the day: nothing new goes, and that is no failure.
    const testsupport::ProgramRun second = runUnit(conf());
    EXPECT_EQ(second.Status, 0) << qPrintable(second.Err);
    EXPECT_TRUE(second.Err.contains(QStringLiteral("W;000006"))) << qPrintable(second.Err);
    EXPECT_TRUE(second.Err.contains(QStringLiteral("ZORV52: no rows for the criteria: nothing to do")))
        << qPrintable(second.Err);
    QThread::msleep(300); // a message still on its way would be there by now
    EXPECT_EQ(smtp_->MessageCount(), 2);
    EXPECT_EQ(sendCounts(due_), (QList<qint64> {1, 1, 1}));

    // Without --no-rows-ok the same empty result fails, as a key command's does.
    const QString pdf = home_.file(QStringLiteral("today.pdf"));
    QProcessEnvironment offscreen = QProcessEnvironment::systemEnvironment();
    offscreen.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    const testsupport::ProgramRun empty = testsupport::RunProgram(QStringLiteral(ZORV_STEWARD),
        {QStringLiteral("ZORV52"), QStringLiteral("--home"), home_.path(), QStringLiteral("--user"),
            QStringLiteral("CHEN"), QStringLiteral("--features"), QStringLiteral("FEP"),
            QStringLiteral("--scheme"), schemeName, QStringLiteral("--export-pdf"), pdf},
        offscreen);
    EXPECT_EQ(empty.Status, 1) << qPrintable(empty.Err);
    EXPECT_TRUE(empty.Err.contains(QStringLiteral("W;000006"))) << qPrintable(empty.Err);
    EXPECT_TRUE(empty.Err.contains(QStringLiteral("ZORV52: command 11 failed"))) << qPrintable(empty.Err);
    EXPECT_FALSE(QFileInfo::exists(pdf));
}

TEST_F(ScheduledMailTest, ASchemeThatIsNotTheUsersSendsNothingAndFails)
{
    SetScene();
    ASSERT_FALSE(HasFailure());
    SaveSchemeInTheWindow();
    ASSERT_FALSE(HasFailure());

    const testsupport::ProgramRun unknown = runUnit(conf(QStringLiteral("CHEN"), QStringLiteral("NOSUCH")));
    EXPECT_EQ(unknown.Status, 1);
    EXPECT_TRUE(unknown.Err.contains(text("用户 CHEN 没有 ZORV52 的条件方案: NOSUCH")))
        << qPrintable(unknown.Err);
    EXPECT_TRUE(unknown.Err.contains(
        QStringLiteral("ZORV52: the condition scheme \"NOSUCH\" of user CHEN could not be opened")))
        << qPrintable(unknown.Err);

    // LIU may run the program but CHEN's scheme is CHEN's.
    const testsupport::ProgramRun other = runUnit(conf(QStringLiteral("LIU")));
    EXPECT_EQ(other.Status, 1);
    EXPECT_TRUE(other.Err.contains(text("用户 LIU 没有 ZORV52 的条件方案: 今日寄送")))
        << qPrintable(other.Err);
    EXPECT_TRUE(other.Err.contains(text("of user LIU could not be opened"))) << qPrintable(other.Err);

    QThread::msleep(300);
    EXPECT_EQ(smtp_->MessageCount(), 0);
    EXPECT_EQ(sendCounts(due_), (QList<qint64> {0, 0, 0}));
}

TEST_F(ScheduledMailTest, AFaxSchemeFaxesEachSupplierThroughTheFirstServer)
{
    // The stand-in sendfax of the fax tests counts its runs beside itself.
    QDir().mkpath(home_.file(QStringLiteral("bin")));
    home_.write("bin/sendfax",
        testsupport::readAll(testsupport::sourcePath(QStringLiteral("tests/suite/fax/fake-sendfax.sh"))));
    QFile::setPermissions(
        home_.file(QStringLiteral("bin/sendfax")), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    home_.write("StewardC.ini",
        home_.read("StewardC.ini")
            + "\n[Fax]\nServer1=总公司传真|faxhost.example\nServer2=Branch|other.example\nSendFax="
            + home_.file(QStringLiteral("bin/sendfax")).toUtf8() + "\n");
    SetScene();
    ASSERT_FALSE(HasFailure());
    SaveSchemeInTheWindow(0);
    ASSERT_FALSE(HasFailure());

    const testsupport::ProgramRun run = runUnit(conf());
    EXPECT_EQ(run.Status, 0) << qPrintable(run.Err);
    EXPECT_EQ(QString::fromUtf8(home_.read("bin/calls")).count(QStringLiteral("run")), 2)
        << "one fax per supplier";
    const QStringList args = QString::fromUtf8(home_.read("bin/argv")).split(QChar(0), Qt::SkipEmptyParts);
    EXPECT_EQ(args.mid(0, 2), (QStringList {QStringLiteral("-h"), QStringLiteral("faxhost.example")}))
        << "the first server, as the preview's Fax button sends";
    EXPECT_EQ(sendCounts(due_), (QList<qint64> {1, 1, 1}));
    EXPECT_EQ(smtp_->MessageCount(), 0);
}
