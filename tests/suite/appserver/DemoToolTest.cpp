// Making demo homes: a folder that holds a home already is not written over
// unless asked, by the library call and by steward-appserver alike.
#include "suite/appserver/DemoHome.h"

#include "runtime/system/Exceptions.h"
#include "suite/appserver/AppServer.h"
#include "support/ProgramRun.h"
#include "support/TestSupport.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <gtest/gtest.h>
#include <sqlite3.h>

namespace {

testsupport::ProgramRun appserver(const QStringList& args)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    // Where containers and CI leave it unset, Qt would say so on every run.
    environment.remove(QStringLiteral("XDG_RUNTIME_DIR"));
    return testsupport::RunProgram(QStringLiteral(ZORV_APPSERVER_TOOL), args, environment, 120000);
}

TEST(DemoHomeRefusal, AnyFileOfAHomeKeepsTheFolderFromBeingWrittenOver)
{
    testsupport::TempFolder folder;
    EXPECT_TRUE(ExistingHomeFiles(folder.path()).isEmpty());
    folder.write(QStringLiteral("StewardC.ini"), "[CodePage]\r\nUICodePage=950\r\n");
    folder.write(QStringLiteral("C_DATA/DEMO.db"), "not a database");
    folder.write(QStringLiteral("notes.txt"), "someone's notes"); // not a home's file
    EXPECT_EQ(ExistingHomeFiles(folder.path()), QStringList({"StewardC.ini", "C_DATA/DEMO.db"}));

    TDemoOptions options;
    options.Slips = 2;
    try {
        CreateDemoHome(folder.path(), options);
        FAIL() << "a folder holding a home was written over";
    } catch (const Exception& e) {
        EXPECT_TRUE(e.Message().contains(
            QStringLiteral("holds a client home already (StewardC.ini, C_DATA/DEMO.db)")))
            << qPrintable(e.Message());
        EXPECT_TRUE(e.Message().contains(QStringLiteral("--force"))) << qPrintable(e.Message());
    }
    EXPECT_EQ(folder.read(QStringLiteral("StewardC.ini")), "[CodePage]\r\nUICodePage=950\r\n");
    EXPECT_EQ(folder.read(QStringLiteral("C_DATA/DEMO.db")), "not a database");
    EXPECT_FALSE(folder.exists(QStringLiteral("registry.reg")));

    options.Force = true;
    EXPECT_EQ(CreateDemoHome(folder.path(), options).Slips, 2);
    EXPECT_TRUE(folder.read(QStringLiteral("StewardC.ini")).contains("UICodePage=936"));
    EXPECT_EQ(folder.read(QStringLiteral("notes.txt")), "someone's notes");
}

TEST(DemoTool, HelpGoesToStandardOutputAndTheToolSaysNothingElse)
{
    testsupport::ProgramRun run = appserver({QStringLiteral("--help")});
    EXPECT_EQ(run.Status, 0);
    EXPECT_TRUE(run.Out.startsWith(QStringLiteral("usage: steward-appserver --serve")))
        << qPrintable(run.Out);
    for (const char* form : {"steward-appserver --check", "steward-appserver --create-demo DIR"})
        EXPECT_TRUE(run.Out.contains(QLatin1String(form))) << form;
    EXPECT_TRUE(run.Out.contains(QStringLiteral("--force"))) << qPrintable(run.Out);
    EXPECT_EQ(run.Err, QString());

    run = appserver({QStringLiteral("--slips")});
    EXPECT_EQ(run.Status, 2);
    EXPECT_TRUE(run.Err.startsWith(QStringLiteral("usage: "))) << qPrintable(run.Err);
    EXPECT_EQ(run.Out, QString());
}

TEST(DemoTool, ASecondDemoHomeInTheSameFolderWantsForce)
{
    testsupport::TempFolder folder;
    const QString home = folder.file(QStringLiteral("demo"));
    testsupport::ProgramRun run
        = appserver({QStringLiteral("--create-demo"), home, QStringLiteral("--slips"), QStringLiteral("2")});
    ASSERT_EQ(run.Status, 0) << qPrintable(run.Err);
    EXPECT_EQ(run.Err, QString());
    const QByteArray database = folder.read(QStringLiteral("demo/C_DATA/DEMO.db"));
    ASSERT_FALSE(database.isEmpty());

    run = appserver({QStringLiteral("--create-demo"), home, QStringLiteral("--slips"), QStringLiteral("3")});
    EXPECT_EQ(run.Status, 1);
    EXPECT_TRUE(run.Err.contains(QStringLiteral("holds a client home already (registry.reg, StewardC.ini, "
                                                "StewardS.ini, UserDef.ini, C_DATA/DEMO.db)")))
        << qPrintable(run.Err);
    EXPECT_EQ(folder.read(QStringLiteral("demo/C_DATA/DEMO.db")), database);

    run = appserver({QStringLiteral("--create-demo"), home, QStringLiteral("--slips"), QStringLiteral("3"),
        QStringLiteral("--force")});
    EXPECT_EQ(run.Status, 0) << qPrintable(run.Err);
    EXPECT_TRUE(run.Out.contains(QStringLiteral(": 3 slips"))) << qPrintable(run.Out);
}

} // namespace

TEST(DemoTool, SetPasswordStoresAHashThatTheServerThenTakes)
{
    testsupport::TempFolder folder;
    const QString home = folder.file(QStringLiteral("home"));
    const testsupport::ProgramRun made
        = appserver({QStringLiteral("--create-demo"), home, QStringLiteral("--slips"), QStringLiteral("2")});
    ASSERT_EQ(made.Status, 0) << qPrintable(made.Err);
    EXPECT_TRUE(made.Out.contains(QStringLiteral("demo users and passwords: DS ds-demo, CHEN chen-demo")))
        << qPrintable(made.Out);
    const auto setPassword = [&](const QStringList& args, const QByteArray& input) {
        QProcess tool;
        tool.start(QStringLiteral(ZORV_APPSERVER_TOOL), QStringList {QStringLiteral("--home"), home} + args);
        tool.waitForStarted();
        tool.write(input);
        tool.closeWriteChannel();
        tool.waitForFinished(60000);
        return std::make_pair(
            tool.exitCode(), QString::fromUtf8(tool.readAllStandardOutput() + tool.readAllStandardError()));
    };
    auto [status, out] = setPassword({QStringLiteral("--set-password"), QStringLiteral("LIU")}, "新 密码\n");
    EXPECT_EQ(status, 0) << qPrintable(out);
    EXPECT_FALSE(out.contains(QStringLiteral("密码\n"))) << "the password was echoed";
    std::tie(status, out) = setPassword({QStringLiteral("--set-password"), QStringLiteral("NOBODY")}, "x\n");
    EXPECT_EQ(status, 1);
    EXPECT_TRUE(out.contains(QStringLiteral("user NOBODY does not exist"))) << qPrintable(out);
    std::tie(status, out) = setPassword({QStringLiteral("--set-password"), QStringLiteral("LIU"),
                                            QStringLiteral("--database"), QStringLiteral("ELSEWHERE")},
        "x\n");
    EXPECT_EQ(status, 1);
    EXPECT_TRUE(out.contains(QStringLiteral("ELSEWHERE"))) << qPrintable(out);

    // Only a hash in the database; the daemon's kind of server takes the new password, not the demo one.
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open_v2((home + QStringLiteral("/C_DATA/DEMO.db")).toUtf8().constData(), &db,
                  SQLITE_OPEN_READONLY, nullptr),
        SQLITE_OK);
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(db, "SELECT MP002 FROM ADMMP WHERE MP001 = 'LIU'", -1, &stmt, nullptr);
    ASSERT_EQ(sqlite3_step(stmt), SQLITE_ROW);
    const QString stored = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)));
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    EXPECT_TRUE(stored.startsWith(QStringLiteral("scrypt$15$8$3$"))) << qPrintable(stored);
    EXPECT_FALSE(stored.contains(QStringLiteral("密码")));
    auto server = std::make_shared<TAppServer>(TServerConfig::FromHome(home));
    server->SetLoginPolicy(TLoginPolicy {QStringLiteral("192.0.2.1"), false});
    const auto connect = [&](const QString& password) {
        return server->Connect(Variant::ArrayOf({"ZORV52", "LIU", "HV01", "DEMO", "MOCTO", password}));
    };
    EXPECT_FALSE(connect(QStringLiteral("liu-demo")).isEmpty());
    EXPECT_EQ(connect(QStringLiteral("新 密码")), QString());
}
