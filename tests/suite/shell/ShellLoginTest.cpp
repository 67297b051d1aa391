// The shell's login: where the password comes from, and what the user hears
// when the server refuses it, in a command and in the window.

#include "suite/shell/ShellLogin.h"
#include "suite/shell/ShellOptions.h"

#include "support/ProgramRun.h"
#include "support/TestSupport.h"

#include <QFile>
#include <QImage>
#include <QProcess>
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString mode(const QString& file, mode_t bits)
{
    ::chmod(QFile::encodeName(file).constData(), bits);
    return file;
}

TEST(ShellLogin, APasswordFileIsReadOnlyWhenNobodyElseMayReadOrWriteIt)
{
    testsupport::TempFolder folder;
    folder.write(QStringLiteral("pw"), "chen-demo \r\nsecond line\n");
    const QString file = folder.file(QStringLiteral("pw"));
    for (const mode_t open : {0644, 0640, 0604, 0620, 0602}) {
        const TLoginAnswer answer = ReadPasswordFile(mode(file, open));
        EXPECT_FALSE(answer.Password) << std::oct << open;
        EXPECT_TRUE(answer.Error.contains(QStringLiteral("chmod 600"))) << qPrintable(answer.Error);
        EXPECT_TRUE(answer.Error.contains(QString::number(open, 8))) << qPrintable(answer.Error);
    }
    for (const mode_t closed : {0600, 0400}) {
        const TLoginAnswer answer = ReadPasswordFile(mode(file, closed));
        EXPECT_EQ(answer.Error, QString());
        // The first line as it stands, blanks included; the line end is no part of it.
        EXPECT_EQ(answer.Password.value_or(QStringLiteral("none")), QStringLiteral("chen-demo "));
    }
    // A link to the file says nothing of who may read it: refused too.
    const QString link = folder.file(QStringLiteral("link"));
    ASSERT_EQ(::symlink(QFile::encodeName(file).constData(), QFile::encodeName(link).constData()), 0);
    EXPECT_FALSE(ReadPasswordFile(link).Password);
    EXPECT_FALSE(ReadPasswordFile(folder.file(QStringLiteral("missing"))).Password);
}

TEST(ShellLogin, TheCommandLineNamesOneSourceOfThePassword)
{
    TShellOptions o;
    QString error;
    ASSERT_TRUE(ParseShellOptions(
        {QStringLiteral("ZORV52"), QStringLiteral("--password-file"), QStringLiteral("/p")}, o, error))
        << qPrintable(error);
    EXPECT_EQ(o.PasswordFile, QStringLiteral("/p"));
    TShellOptions s;
    ASSERT_TRUE(ParseShellOptions({QStringLiteral("ZORV52"), QStringLiteral("--password-stdin")}, s, error));
    EXPECT_TRUE(s.PasswordStdin);
    TShellOptions both;
    EXPECT_FALSE(ParseShellOptions({QStringLiteral("ZORV52"), QStringLiteral("--password-file"),
                                       QStringLiteral("/p"), QStringLiteral("--password-stdin")},
        both, error));
    EXPECT_TRUE(error.contains(QStringLiteral("exclude each other"))) << qPrintable(error);
    EXPECT_TRUE(ShellUsage().contains(QStringLiteral("--password-file FILE")));
}

// steward on a demo home whose server wants a password from everyone.
class ShellLoginRun : public ::testing::Test {
protected:
    void SetUp() override
    {
        home_ = folder_.file(QStringLiteral("demo"));
        const testsupport::ProgramRun made
            = run({QStringLiteral("--create-demo"), home_, QStringLiteral("--slips"), QStringLiteral("5")});
        ASSERT_EQ(made.Status, 0) << qPrintable(made.Err);
        demoOut_ = made.Out;
        // The keys of the first slip.
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open_v2((home_ + QStringLiteral("/C_DATA/DEMO.db")).toUtf8().constData(), &db,
                      SQLITE_OPEN_READONLY, nullptr),
            SQLITE_OK);
        sqlite3_stmt* stmt = nullptr;
        sqlite3_prepare_v2(db, "SELECT TO001 || ',' || TO002 || ',' || TO003 FROM MOCTO ORDER BY 1 LIMIT 1",
            -1, &stmt, nullptr);
        if (sqlite3_step(stmt) == SQLITE_ROW)
            keys_ = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)));
        sqlite3_finalize(stmt);
        sqlite3_close(db);
        ASSERT_FALSE(keys_.isEmpty());
        QFile ini(home_ + QStringLiteral("/StewardS.ini"));
        ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
        QByteArray text = ini.readAll();
        ini.close();
        ASSERT_TRUE(text.contains("TrustHomeOwner=1"));
        text.replace("TrustHomeOwner=1", "TrustHomeOwner=0");
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ini.write(text);
    }
    testsupport::ProgramRun run(const QStringList& args, const QString& password = QString()) const
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        environment.remove(QStringLiteral("STEWARD_PASSWORD"));
        if (!password.isNull())
            environment.insert(QStringLiteral("STEWARD_PASSWORD"), password);
        return testsupport::RunProgram(QStringLiteral(ZORV_STEWARD), args, environment, 120000);
    }
    QStringList exportAs(const QString& user) const
    {
        return {QStringLiteral("ZORV52"), QStringLiteral("--home"), home_, QStringLiteral("--user"), user,
            QStringLiteral("--keys"), keys_, QStringLiteral("--export-pdf"),
            folder_.file(QStringLiteral("out.pdf")), QStringLiteral("--verbose")};
    }

    testsupport::TempFolder folder_;
    QString home_;
    QString demoOut_;
    QString keys_;
};

TEST_F(ShellLoginRun, ADemoHomeNamesItsUsersPasswords)
{
    EXPECT_TRUE(demoOut_.contains(
        QStringLiteral("demo users and passwords: DS ds-demo, CHEN chen-demo, LIU liu-demo, WANG wang-demo")))
        << qPrintable(demoOut_);
}

TEST_F(ShellLoginRun, ACommandEndsWithTheServersReasonAndRunsOnlyWithTheRightPassword)
{
    const testsupport::ProgramRun none = run(exportAs(QStringLiteral("CHEN")));
    EXPECT_EQ(none.Status, 1);
    EXPECT_TRUE(none.Err.contains(QStringLiteral("用户 CHEN 须输入密码"))) << qPrintable(none.Err);
    // Not the message of a server that cannot be reached.
    EXPECT_FALSE(none.Err.contains(QStringLiteral("000025"))) << qPrintable(none.Err);
    EXPECT_FALSE(none.Err.contains(QStringLiteral("无法取得数据"))) << qPrintable(none.Err);

    const testsupport::ProgramRun wrong = run(exportAs(QStringLiteral("CHEN")), QStringLiteral("guess"));
    EXPECT_EQ(wrong.Status, 1);
    EXPECT_TRUE(wrong.Err.contains(QStringLiteral("用户 CHEN 的密码错误"))) << qPrintable(wrong.Err);
    EXPECT_FALSE(wrong.Err.contains(QStringLiteral("guess"))) << "the password reached stderr";
    EXPECT_FALSE(QFile::exists(folder_.file(QStringLiteral("out.pdf"))));

    const testsupport::ProgramRun unknown = run(exportAs(QStringLiteral("NOBODY")), QStringLiteral("x"));
    EXPECT_EQ(unknown.Status, 1);
    EXPECT_TRUE(unknown.Err.contains(QStringLiteral("用户 NOBODY 不存在"))) << qPrintable(unknown.Err);

    const testsupport::ProgramRun right = run(exportAs(QStringLiteral("CHEN")), QStringLiteral("chen-demo"));
    EXPECT_EQ(right.Status, 0) << qPrintable(right.Err);
    EXPECT_TRUE(QFile::exists(folder_.file(QStringLiteral("out.pdf"))));
    EXPECT_FALSE(right.Err.contains(QStringLiteral("chen-demo"))) << "the password reached stderr";
}

TEST_F(ShellLoginRun, APasswordFileOfTheUserAloneLogsIn)
{
    folder_.write(QStringLiteral("pw"), "chen-demo\n");
    const QString file = mode(folder_.file(QStringLiteral("pw")), 0644);
    const testsupport::ProgramRun open
        = run(exportAs(QStringLiteral("CHEN")) << QStringLiteral("--password-file") << file);
    EXPECT_EQ(open.Status, 2);
    EXPECT_TRUE(open.Err.contains(QStringLiteral("chmod 600"))) << qPrintable(open.Err);
    mode(file, 0600);
    const testsupport::ProgramRun closed
        = run(exportAs(QStringLiteral("CHEN")) << QStringLiteral("--password-file") << file);
    EXPECT_EQ(closed.Status, 0) << qPrintable(closed.Err);
}

TEST_F(ShellLoginRun, APasswordOnStandardInputLogsIn)
{
    QProcess steward;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.remove(QStringLiteral("STEWARD_PASSWORD"));
    steward.setProcessEnvironment(environment);
    steward.start(
        QStringLiteral(ZORV_STEWARD), exportAs(QStringLiteral("CHEN")) << QStringLiteral("--password-stdin"));
    ASSERT_TRUE(steward.waitForStarted());
    steward.write("chen-demo\n");
    steward.closeWriteChannel();
    ASSERT_TRUE(steward.waitForFinished(120000));
    EXPECT_EQ(steward.exitCode(), 0) << steward.readAllStandardError().toStdString();
}

// Red pixels in the top strip of a picture: where the window writes the reason.
int redPixelsOnTop(const QString& file)
{
    const QImage image(file);
    int red = 0;
    for (int y = 0; y < std::min(image.height(), 30); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            red += c.red() > 180 && c.green() < 80 && c.blue() < 80;
        }
    return red;
}

TEST_F(ShellLoginRun, TheWindowOfARefusedLoginSaysWhyAtItsTop)
{
    const QString refused = folder_.file(QStringLiteral("refused"));
    const testsupport::ProgramRun shown
        = run({QStringLiteral("ZORV52"), QStringLiteral("--home"), home_, QStringLiteral("--user"),
                  QStringLiteral("CHEN"), QStringLiteral("--screenshots"), refused},
            QStringLiteral("guess"));
    ASSERT_TRUE(QFile::exists(refused + QStringLiteral("-1.png"))) << qPrintable(shown.Err);
    const QString served = folder_.file(QStringLiteral("served"));
    run({QStringLiteral("ZORV52"), QStringLiteral("--home"), home_, QStringLiteral("--user"),
            QStringLiteral("CHEN"), QStringLiteral("--screenshots"), served},
        QStringLiteral("chen-demo"));
    ASSERT_TRUE(QFile::exists(served + QStringLiteral("-1.png")));
    EXPECT_GT(redPixelsOnTop(refused + QStringLiteral("-1.png")), 20);
    EXPECT_EQ(redPixelsOnTop(served + QStringLiteral("-1.png")), 0);
}

} // namespace
