// steward end to end: the real shell driving the test module (whose options
// form logs each call to a file), the change-slip module, and libraries that
// are no modules.
#include "support/ProgramRun.h"
#include "support/TestSupport.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <gtest/gtest.h>

namespace {

struct ShellRun : testsupport::ProgramRun {
    QStringList Log; // the test form's calls
};

class ShellRunTest : public ::testing::Test {
protected:
    ShellRun steward(const QStringList& args, const QMap<QString, QString>& env = {})
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("ZTEST_LOG"), folder.file(QStringLiteral("calls.log")));
        for (auto it = env.begin(); it != env.end(); ++it)
            environment.insert(it.key(), it.value());
        QFile::remove(folder.file(QStringLiteral("calls.log")));
        ShellRun run;
        static_cast<testsupport::ProgramRun&>(run)
            = testsupport::RunProgram(QStringLiteral(ZORV_STEWARD), args, environment);
        run.Log
            = QString::fromUtf8(folder.read(QStringLiteral("calls.log"))).split(u'\n', Qt::SkipEmptyParts);
        return run;
    }

    testsupport::TempFolder folder;
};

#ifdef ZORV_SHELL_HAS_HUBDESK
const QString managerLine = QStringLiteral("SetHostObject Object(HubDesk.Manager)");
#else
const QString managerLine = QStringLiteral("SetHostObject Unassigned");
#endif
const QString openCall = QStringLiteral("ApplyParams [\"DS\", \"HV01\", \"DEMO\", 0, \"\"]");
const QString keys = QStringLiteral("[\"5101\", \"20110001\", \"0001\"]");

TEST_F(ShellRunTest, HelpExplainsTheCommandLine)
{
    for (const QStringList& args : {QStringList {QStringLiteral("--help")},
             QStringList {QStringLiteral("ZORV52"), QStringLiteral("--help")}}) {
        const ShellRun run = steward(args);
        EXPECT_EQ(run.Status, 0);
        for (const char* text :
            {"usage: steward PROGRAM", "--home DIR", "--keys TYPE,NUMBER,VERSION[,TYPEKEY]",
                "--export-pictures KIND PREFIX [RESOLUTION]", "--create-demo DIR", "Exit status"})
            EXPECT_TRUE(run.Out.contains(QLatin1String(text))) << text;
    }
    const ShellRun wrong = steward({QStringLiteral("ZORV52"), QStringLiteral("--keys")});
    EXPECT_EQ(wrong.Status, 2);
    EXPECT_TRUE(wrong.Err.contains(QStringLiteral("--keys needs a value"))) << qPrintable(wrong.Err);
}

TEST_F(ShellRunTest, ModulesThatCannotRunAreReportedWithNonZeroStatus)
{
    ShellRun run = steward({QStringLiteral("ZNOSUCH")});
    EXPECT_EQ(run.Status, 3);
    EXPECT_TRUE(run.Err.contains(QStringLiteral("cannot load the module of ZNOSUCH"))) << qPrintable(run.Err);
    EXPECT_TRUE(run.Err.contains(QStringLiteral("libZNOSUCHC.so"))) << qPrintable(run.Err);

    run = steward({QStringLiteral("ZNOENTRY")});
    EXPECT_EQ(run.Status, 3);
    EXPECT_TRUE(run.Err.contains(QStringLiteral("has no entry point GetController"))) << qPrintable(run.Err);

    // Without a client home the change-slip window cannot connect.
    run = steward(
        {QStringLiteral("ZORV52"), QStringLiteral("--home"), folder.file(QStringLiteral("nohome"))});
    EXPECT_NE(run.Status, 0);
    EXPECT_FALSE(run.Err.contains(QStringLiteral("frmVRBaseOptClass"))) << qPrintable(run.Err);

    run = steward({QStringLiteral("ZTEST"), QStringLiteral("--home"), folder.file(QStringLiteral("nohome"))});
    EXPECT_EQ(run.Status, 2);
    EXPECT_TRUE(run.Err.contains(QStringLiteral("is no client home"))) << qPrintable(run.Err);
}

TEST_F(ShellRunTest, ANewcomerHearsWhatToDoAndNothingFromQt)
{
    // Root, CI and containers have no XDG_RUNTIME_DIR: Qt must not say so.
    const QMap<QString, QString> bare {{QStringLiteral("XDG_RUNTIME_DIR"), QString()}};
    ShellRun run = steward({QStringLiteral("--help")}, bare);
    EXPECT_EQ(run.Status, 0);
    EXPECT_EQ(run.Err, QString());
    EXPECT_TRUE(run.Out.startsWith(QStringLiteral("usage: steward PROGRAM"))) << qPrintable(run.Out);

    const QString nohome = folder.file(QStringLiteral("nohome"));
    run = steward({QStringLiteral("ZTEST"), QStringLiteral("--home"), nohome}, bare);
    EXPECT_EQ(run.Status, 2);
    EXPECT_TRUE(
        run.Err.contains(QStringLiteral("(steward --create-demo %1 makes a demo home there)").arg(nohome)))
        << qPrintable(run.Err);
    EXPECT_FALSE(run.Err.contains(QStringLiteral("QStandardPaths"))) << qPrintable(run.Err);
}

TEST_F(ShellRunTest, ADemoHomeIsNotMadeOverAnotherUnlessForced)
{
    const QString home = folder.file(QStringLiteral("demo"));
    ShellRun run
        = steward({QStringLiteral("--create-demo"), home, QStringLiteral("--slips"), QStringLiteral("2")});
    ASSERT_EQ(run.Status, 0) << qPrintable(run.Err);
    const QByteArray database = folder.read(QStringLiteral("demo/C_DATA/DEMO.db"));
    run = steward({QStringLiteral("--create-demo"), home, QStringLiteral("--slips"), QStringLiteral("3")});
    EXPECT_EQ(run.Status, 1);
    EXPECT_TRUE(run.Err.contains(QStringLiteral("cannot make the demo home: %1 holds a client home already "
                                                "(registry.reg, StewardC.ini, StewardS.ini, UserDef.ini, "
                                                "C_DATA/DEMO.db); --force replaces it")
                                     .arg(home)))
        << qPrintable(run.Err);
    EXPECT_EQ(folder.read(QStringLiteral("demo/C_DATA/DEMO.db")), database);
    run = steward({QStringLiteral("--create-demo"), home, QStringLiteral("--slips"), QStringLiteral("3"),
        QStringLiteral("--force")});
    EXPECT_EQ(run.Status, 0) << qPrintable(run.Err);
    EXPECT_TRUE(run.Out.contains(QStringLiteral(": 3 slips"))) << qPrintable(run.Out);

    // The demo home is configured for code page 936: widgets speak Chinese.
    run = steward({QStringLiteral("ZTEST"), QStringLiteral("--home"), home, QStringLiteral("--print"),
        QStringLiteral("--verbose")});
    EXPECT_EQ(run.Status, 0) << qPrintable(run.Err);
    EXPECT_TRUE(run.Err.contains(QStringLiteral("locale zh_CN (code page 936)"))) << qPrintable(run.Err);
}

TEST_F(ShellRunTest, AFailingOpenShowsTheProgramsMessage)
{
    const ShellRun run = steward({QStringLiteral("ZTEST"), QStringLiteral("--print")},
        {{QStringLiteral("ZTEST_APPLY"), QStringLiteral("fail")}});
    EXPECT_EQ(run.Status, 1);
    // No server here: the manager's own catalogue gives the code its text.
    EXPECT_TRUE(run.Err.contains(
        QStringLiteral("ZTEST: the program could not start: 程序代号与窗体名称不符! (E;000036)")))
        << qPrintable(run.Err);
    EXPECT_FALSE(run.Log.join(u'\n').contains(QStringLiteral("PrintOrPreview")));
    EXPECT_EQ(run.Log.last(), QStringLiteral("OnDestroy"));
}

TEST_F(ShellRunTest, CommandsRunWithTheWindowHidden)
{
    ShellRun run = steward({QStringLiteral("ZTEST"), QStringLiteral("--features"), QStringLiteral("FEP"),
        QStringLiteral("--user"), QStringLiteral("CHEN"), QStringLiteral("--print")});
    EXPECT_EQ(run.Status, 0) << qPrintable(run.Err);
    EXPECT_EQ(run.Log,
        (QStringList {QStringLiteral("SetModulePath"), managerLine, QStringLiteral("messages console"),
            QStringLiteral("ApplyParams [\"CHEN\", \"HV01\", \"DEMO\", 0, \"FEP\"]"),
            QStringLiteral("PrintOrPreview print"), QStringLiteral("OnDestroy")}));

    run = steward({QStringLiteral("ZTEST"), QStringLiteral("--keys"), QStringLiteral("5101,20110001,0001"),
        QStringLiteral("--preview")});
    EXPECT_EQ(run.Status, 0) << qPrintable(run.Err);
    EXPECT_TRUE(run.Log.contains(QStringLiteral("PrintKeys %1 preview").arg(keys)))
        << qPrintable(run.Log.join(u'\n'));

    run = steward({QStringLiteral("ZTEST"), QStringLiteral("--keys"), QStringLiteral("5101,20110001,0001"),
        QStringLiteral("--export-pictures"), QStringLiteral("GIF"), QStringLiteral("/tmp/slip")});
    EXPECT_EQ(run.Status, 0) << qPrintable(run.Err);
    EXPECT_TRUE(run.Log.contains(
        QStringLiteral("ExportPictures %1 kind=2 extra=\"\" prefix=\"/tmp/slip\" resolution=96").arg(keys)))
        << qPrintable(run.Log.join(u'\n'));

    run = steward({QStringLiteral("ZTEST"), QStringLiteral("--keys"), QStringLiteral("5101,20110001,0001"),
        QStringLiteral("--export-pictures"), QStringLiteral("PDF"), QStringLiteral("p"),
        QStringLiteral("200")});
    EXPECT_TRUE(run.Log.contains(
        QStringLiteral("ExportPictures %1 kind=3 extra=\"\" prefix=\"p\" resolution=200").arg(keys)))
        << qPrintable(run.Log.join(u'\n'));
    // The vector PDF is the export kind 4, of the keys or, without keys, of the window's criteria.
    run = steward({QStringLiteral("ZTEST"), QStringLiteral("--export-pdf"), QStringLiteral("/tmp/all.pdf")});
    EXPECT_EQ(run.Status, 0) << qPrintable(run.Err);
    EXPECT_TRUE(run.Log.contains(
        QStringLiteral("ExportPictures [] kind=4 extra=\"\" prefix=\"/tmp/all.pdf\" resolution=96")))
        << qPrintable(run.Log.join(u'\n'));
    for (const QString& line : run.Log)
        EXPECT_FALSE(line.startsWith(QLatin1String("OnShow")));
}

TEST_F(ShellRunTest, AFailingCommandGivesItsMessageAndNonZeroStatus)
{
    const ShellRun run = steward({QStringLiteral("ZTEST"), QStringLiteral("--preview")},
        {{QStringLiteral("ZTEST_COMMAND"), QStringLiteral("fail")}});
    EXPECT_EQ(run.Status, 1);
    EXPECT_TRUE(run.Err.contains(QStringLiteral("ZTEST: command 5 failed: 没有符合条件的资料! (W;000006)")))
        << qPrintable(run.Err);
    EXPECT_TRUE(run.Log.contains(QStringLiteral("PrintOrPreview preview")));
}

TEST_F(ShellRunTest, ASchemeIsOpenedBeforeTheCommandRunsOnIt)
{
    ShellRun run = steward({QStringLiteral("ZTEST"), QStringLiteral("--scheme"), QStringLiteral("DAILY"),
        QStringLiteral("--send")});
    EXPECT_EQ(run.Status, 0) << qPrintable(run.Err);
    const qsizetype opened = run.Log.indexOf(QStringLiteral("OpenScheme \"DAILY\""));
    EXPECT_GE(opened, 0) << qPrintable(run.Log.join(u'\n'));
    EXPECT_EQ(run.Log.indexOf(QStringLiteral("SendReport")), opened + 1) << qPrintable(run.Log.join(u'\n'));
    for (const QString& line : run.Log)
        EXPECT_FALSE(line.startsWith(QLatin1String("OnShow"))) << "the window stays hidden";

    run = steward({QStringLiteral("ZTEST"), QStringLiteral("--scheme"), QStringLiteral("DAILY"),
        QStringLiteral("--export-pdf"), QStringLiteral("/tmp/d.pdf")});
    EXPECT_EQ(run.Status, 0) << qPrintable(run.Err);
    EXPECT_TRUE(run.Log.contains(
        QStringLiteral("ExportPictures [] kind=4 extra=\"\" prefix=\"/tmp/d.pdf\" resolution=96")))
        << qPrintable(run.Log.join(u'\n'));

    // A scheme the user does not have: the program's error, the shell's
    // line naming scheme and user, status 1, and no command after it.
    run = steward({QStringLiteral("ZTEST"), QStringLiteral("--user"), QStringLiteral("CHEN"),
        QStringLiteral("--scheme"), QStringLiteral("missing"), QStringLiteral("--print")});
    EXPECT_EQ(run.Status, 1);
    EXPECT_TRUE(run.Err.contains(QStringLiteral("error: No scheme \"missing\"."))) << qPrintable(run.Err);
    EXPECT_TRUE(run.Err.contains(
        QStringLiteral("ZTEST: the condition scheme \"missing\" of user CHEN could not be opened")))
        << qPrintable(run.Err);
    EXPECT_FALSE(run.Log.contains(QStringLiteral("PrintOrPreview print"))) << qPrintable(run.Log.join(u'\n'));
}

TEST_F(ShellRunTest, NoRowsIsAFailureUnlessTheRunSaysItIsNone)
{
    const QMap<QString, QString> noRows {{QStringLiteral("ZTEST_COMMAND"), QStringLiteral("fail")}};
    ShellRun run = steward({QStringLiteral("ZTEST"), QStringLiteral("--scheme"), QStringLiteral("DAILY"),
                               QStringLiteral("--send")},
        noRows);
    EXPECT_EQ(run.Status, 1) << qPrintable(run.Err);
    EXPECT_TRUE(run.Err.contains(QStringLiteral("ZTEST: command 13 failed: 没有符合条件的资料! (W;000006)"))
        || run.Err.contains(QStringLiteral("ZTEST: command 13 failed: W;000006")))
        << qPrintable(run.Err);

    run = steward({QStringLiteral("ZTEST"), QStringLiteral("--scheme"), QStringLiteral("DAILY"),
                      QStringLiteral("--send"), QStringLiteral("--no-rows-ok")},
        noRows);
    EXPECT_EQ(run.Status, 0) << qPrintable(run.Err);
    EXPECT_TRUE(run.Err.contains(QStringLiteral("ZTEST: no rows for the criteria: nothing to do")))
        << qPrintable(run.Err);

    // An error message on the way is a failure even when no rows were found.
    QMap<QString, QString> noRowsAndError = noRows;
    noRowsAndError.insert(QStringLiteral("ZTEST_MESSAGE"), QStringLiteral("error"));
    run = steward(
        {QStringLiteral("ZTEST"), QStringLiteral("--print"), QStringLiteral("--no-rows-ok")}, noRowsAndError);
    EXPECT_EQ(run.Status, 1) << qPrintable(run.Err);
    EXPECT_TRUE(run.Err.contains(QStringLiteral("command 5 failed"))) << qPrintable(run.Err);
}

TEST_F(ShellRunTest, ACommandsMessagesGoToStderrAndAnErrorFailsIt)
{
    // An error box the command shows on its way: the line on stderr, and a
    // non-zero status although the command itself reported success.
    ShellRun run = steward({QStringLiteral("ZTEST"), QStringLiteral("--print")},
        {{QStringLiteral("ZTEST_MESSAGE"), QStringLiteral("error")}});
    EXPECT_EQ(run.Status, 1) << qPrintable(run.Err);
    EXPECT_TRUE(run.Err.contains(QStringLiteral("error: The slip is locked.\n    Ask the administrator.\n")))
        << qPrintable(run.Err);
    EXPECT_TRUE(run.Err.contains(QStringLiteral("ZTEST: 1 error message(s)"))) << qPrintable(run.Err);
    EXPECT_TRUE(run.Log.contains(QStringLiteral("PrintOrPreview print")));

    // A warning is told and answered without waiting; the command succeeds.
    run = steward({QStringLiteral("ZTEST"), QStringLiteral("--preview")},
        {{QStringLiteral("ZTEST_MESSAGE"), QStringLiteral("warning")},
            {QStringLiteral("STEWARD_MESSAGE_ERRORS"), QStringLiteral("7")}});
    EXPECT_EQ(run.Status, 0) << qPrintable(run.Err);
    EXPECT_TRUE(run.Err.contains(QStringLiteral("warning: No rows. [answered Cancel]")))
        << qPrintable(run.Err);
    EXPECT_FALSE(run.Err.contains(QStringLiteral("error message")))
        << "a count inherited from outside is dropped";

    // The window keeps its message boxes, whatever the environment says.
    run = steward({QStringLiteral("ZTEST")},
        {{QStringLiteral("ZTEST_CLOSE"), QStringLiteral("free")},
            {QStringLiteral("STEWARD_MESSAGES"), QStringLiteral("console")},
            {QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen")}});
    EXPECT_EQ(run.Status, 0) << qPrintable(run.Err);
    EXPECT_TRUE(run.Log.contains(QStringLiteral("messages boxes"))) << qPrintable(run.Log.join(u'\n'));
}

TEST_F(ShellRunTest, TheWindowRunsUntilItIsGone)
{
    // The window frees itself once shown: the shell hears 0x100, 0x110, 0x130.
    ShellRun run = steward({QStringLiteral("ZTEST"), QStringLiteral("--verbose")},
        {{QStringLiteral("ZTEST_CLOSE"), QStringLiteral("free")}});
    EXPECT_EQ(run.Status, 0) << qPrintable(run.Err);
    const qsizetype created = run.Err.indexOf(QStringLiteral("event 0x100"));
    const qsizetype shown = run.Err.indexOf(QStringLiteral("event 0x110"));
    const qsizetype destroyed = run.Err.indexOf(QStringLiteral("event 0x130"));
    EXPECT_TRUE(created >= 0 && created < shown && shown < destroyed) << qPrintable(run.Err);
    EXPECT_EQ(run.Err.count(QStringLiteral("event 0x130")), 1);
#ifndef ZORV_SHELL_HAS_HUBDESK
    EXPECT_TRUE(run.Err.contains(QStringLiteral("without the work-centre manager"))) << qPrintable(run.Err);
#endif
    EXPECT_TRUE(run.Log.contains(openCall));

    // A window that only hides on close: nothing is left on screen, so the shell closes the program.
    run = steward({QStringLiteral("ZTEST"), QStringLiteral("--verbose")},
        {{QStringLiteral("ZTEST_CLOSE"), QStringLiteral("hide")}});
    EXPECT_EQ(run.Status, 0) << qPrintable(run.Err);
    EXPECT_TRUE(run.Err.contains(QStringLiteral("no window is left"))) << qPrintable(run.Err);
    EXPECT_EQ(run.Log.last(), QStringLiteral("OnDestroy"));
}

TEST_F(ShellRunTest, DemoHomeServesAsClientHome)
{
    const QString home = folder.file(QStringLiteral("demo"));
    ShellRun run
        = steward({QStringLiteral("--create-demo"), home, QStringLiteral("--slips"), QStringLiteral("2")});
    EXPECT_EQ(run.Status, 0) << qPrintable(run.Err);
    EXPECT_TRUE(folder.exists(QStringLiteral("demo/registry.reg")));
    EXPECT_TRUE(folder.exists(QStringLiteral("demo/C_DATA/DEMO.db")));
    run = steward({QStringLiteral("ZTEST"), QStringLiteral("--home"), home, QStringLiteral("--print"),
        QStringLiteral("--verbose")});
    EXPECT_EQ(run.Status, 0) << qPrintable(run.Err);
    EXPECT_TRUE(run.Err.contains(QStringLiteral("registry file %1/registry.reg").arg(home)))
        << qPrintable(run.Err);
#ifdef ZORV_SHELL_HAS_HUBDESK
    // The manager of the home knows the program's message codes.
    run = steward({QStringLiteral("ZTEST"), QStringLiteral("--home"), home, QStringLiteral("--print")},
        {{QStringLiteral("ZTEST_COMMAND"), QStringLiteral("fail")}});
    EXPECT_EQ(run.Status, 1);
    EXPECT_TRUE(run.Err.contains(QStringLiteral("command 5 failed: "))) << qPrintable(run.Err);
    EXPECT_FALSE(run.Err.contains(QStringLiteral("failed: W;000006")))
        << "code not resolved: " << qPrintable(run.Err);
    EXPECT_TRUE(run.Err.contains(QStringLiteral("(W;000006)"))) << qPrintable(run.Err);
#endif
}

} // namespace

TEST_F(ShellRunTest, TheChangeSlipWindowOpensOnADemoHome)
{
    const QString home = folder.file(QStringLiteral("demo"));
    ASSERT_EQ(
        steward({QStringLiteral("--create-demo"), home, QStringLiteral("--slips"), QStringLiteral("20")})
            .Status,
        0);
    const QMap<QString, QString> offscreen {{QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen")}};
    const QString prefix = folder.file(QStringLiteral("page"));
    const ShellRun run
        = steward({QStringLiteral("ZORV52"), QStringLiteral("--home"), home, QStringLiteral("--user"),
                      QStringLiteral("CHEN"), QStringLiteral("--features"), QStringLiteral("FEP"),
                      QStringLiteral("--screenshots"), prefix},
            offscreen);
    EXPECT_EQ(run.Status, 0) << qPrintable(run.Err);
    EXPECT_TRUE(run.Out.contains(QStringLiteral("first window painted "))) << qPrintable(run.Out);
    // Basic, advanced, system and fax/e-mail pages.
    for (int page = 1; page <= 4; ++page)
        EXPECT_TRUE(QFile::exists(QStringLiteral("%1-%2.png").arg(prefix).arg(page))) << page;
    EXPECT_FALSE(QFile::exists(prefix + QStringLiteral("-5.png")));

    // A key print of a slip type the home does not hold: the program's
    // message on stderr with its code, no box to close, a failed status.
    const ShellRun keys
        = steward({QStringLiteral("ZORV52"), QStringLiteral("--home"), home, QStringLiteral("--user"),
                      QStringLiteral("CHEN"), QStringLiteral("--keys"), QStringLiteral("Z999,1,0001"),
                      QStringLiteral("--print")},
            offscreen);
    EXPECT_EQ(keys.Status, 1) << qPrintable(keys.Err);
    EXPECT_TRUE(keys.Err.contains(QString::fromUtf8("E;100007 单别不存在或单据性质不符")))
        << qPrintable(keys.Err);
    EXPECT_TRUE(keys.Err.contains(QStringLiteral("ZORV52: command 6 failed"))) << qPrintable(keys.Err);

    // A key print of a slip there is, on a machine without any printer (CUPS
    // pointed at nothing): the message that says so, with its code.
    QMap<QString, QString> noPrinter = offscreen;
    noPrinter.insert(QStringLiteral("CUPS_SERVER"), folder.file(QStringLiteral("no-cups.sock")));
    const ShellRun print
        = steward({QStringLiteral("ZORV52"), QStringLiteral("--home"), home, QStringLiteral("--user"),
                      QStringLiteral("CHEN"), QStringLiteral("--keys"),
                      QStringLiteral("A511,20241105001,0001"), QStringLiteral("--print")},
            noPrinter);
    EXPECT_EQ(print.Status, 1) << qPrintable(print.Err);
    EXPECT_TRUE(print.Err.contains(QString::fromUtf8("E;000040 没有可用的打印机!"))) << qPrintable(print.Err);
}
