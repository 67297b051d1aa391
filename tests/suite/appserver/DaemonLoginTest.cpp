// Logging in to the daemon over loopback: only with the user's password,
// failures logged and slowed, and a connection that stays its user's.
#include "DaemonFixture.h"

#include "runtime/data/ClientLogin.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

namespace {

QString connectAs(const Variant& server, const QString& user, const QString& password)
{
    VariantList args {"ZORV52", user, "HV01", "DEMO", "MOCTO"};
    if (!password.isNull())
        args << password;
    return server.Call(QStringLiteral("Connect"), {Variant::ArrayOf(args)}).ToString();
}

} // namespace

TEST_F(DaemonTest, TheDaemonServesAUserOnlyWithTheirPasswordAndLogsWhoFailed)
{
    StartDaemon();
    clientlogin::Clear(); // no login in this process: what is sent is what counts
    const Variant server = RemoteServer(QString());
    // No password, and the super user's code: the daemon trusts nobody.
    EXPECT_TRUE(connectAs(server, QStringLiteral("DS"), QString()).contains(QStringLiteral("须输入密码")));
    EXPECT_TRUE(connectAs(server, QStringLiteral("DS"), QStringLiteral("guess"))
                    .contains(QStringLiteral("密码错误")));
    EXPECT_EQ(server.Call(QStringLiteral("RunFreeSQL"), {"SELECT TO001 FROM MOCTO"}).ToInt(), -1);
    EXPECT_EQ(connectAs(server, QStringLiteral("DS"), DemoPassword(QStringLiteral("DS"))), QString());
    EXPECT_EQ(server.Call(QStringLiteral("RunFreeSQL"), {"SELECT TO001 FROM MOCTO"}).ToInt(), 240);
    // Bound to DS now: WANG, even with WANG's password, is another connection's.
    EXPECT_THROW(connectAs(server, QStringLiteral("WANG"), DemoPassword(QStringLiteral("WANG"))), EOleError);
    const QString log = DaemonLog();
    EXPECT_TRUE(log.contains(QStringLiteral("Connect as DS refused: 用户 DS 须输入密码"))) << qPrintable(log);
    EXPECT_TRUE(log.contains(QStringLiteral("Connect as DS refused: 用户 DS 的密码错误"))) << qPrintable(log);
    EXPECT_TRUE(log.contains(QStringLiteral("DS logged in"))) << qPrintable(log);
    EXPECT_FALSE(log.contains(QStringLiteral("ds-demo"))) << "a password reached the log";
    EXPECT_FALSE(log.contains(QStringLiteral("guess"))) << "a password reached the log";
}

TEST_F(DaemonTest, EachWrongPasswordMakesTheNextAttemptWaitLongerAcrossConnections)
{
    StartDaemon();
    clientlogin::Clear();
    for (int i = 0; i < 4; ++i) {
        // A new connection each time, as a guesser would make.
        const Variant server = RemoteServer(QString());
        EXPECT_FALSE(connectAs(server, QStringLiteral("CHEN"), QStringLiteral("guess%1").arg(i)).isEmpty());
    }
    // The alert log of the server home names each wait the daemon imposed.
    QString lines;
    for (const QString& name :
        QDir(home_.file(QStringLiteral("Log"))).entryList({QStringLiteral("*AppServerLogin*")})) {
        QFile f(home_.file(QStringLiteral("Log/") + name));
        if (f.open(QIODevice::ReadOnly))
            lines += QString::fromUtf8(f.readAll());
    }
    QList<int> waits;
    static const QRegularExpression wait(QStringLiteral(
        "login of CHEN from 127\\.0\\.0\\.\\d+ refused: wrong password \\(slowed by (\\d+) ms\\)"));
    for (auto it = wait.globalMatch(lines); it.hasNext();)
        waits << it.next().captured(1).toInt();
    ASSERT_EQ(waits.size(), 4) << qPrintable(lines);
    EXPECT_EQ(waits[0], 0);
    for (int i = 1; i < waits.size(); ++i)
        EXPECT_GT(waits[i], waits[i - 1]) << i;
    // The right password still works once the wait is over, and clears CHEN's count.
    EXPECT_EQ(
        connectAs(RemoteServer(QString()), QStringLiteral("CHEN"), DemoPassword(QStringLiteral("CHEN"))),
        QString());
}
