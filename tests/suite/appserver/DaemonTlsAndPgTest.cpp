// The daemon over TLS, and on PostgreSQL.
#include "DaemonFixture.h"
#include "PgTestSupport.h"

#include "suite/appserver/AppServer.h"
#include "suite/appserver/DemoHome.h"

#include <QProcess>
#include <QStandardPaths>
#include <optional>

TEST_F(DaemonTest, OverTlsTheDaemonServesVerifiedClientsAndDropsPlainOnes)
{
    const QString openssl = QStandardPaths::findExecutable(QStringLiteral("openssl"));
    if (openssl.isEmpty())
        GTEST_SKIP() << "no openssl program to make a test certificate";
    QProcess req;
    req.setStandardErrorFile(QProcess::nullDevice());
    req.start(openssl,
        {"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "1", "-subj", "/CN=127.0.0.2", "-addext",
            "subjectAltName=IP:127.0.0.2", "-keyout", home_.file("key.pem"), "-out", home_.file("cert.pem")});
    const int made = req.waitForFinished(60000) ? req.exitCode() : -1;
    ASSERT_EQ(made, 0);
    SetDaemonKey(QStringLiteral("TLSCertificate"), QStringLiteral("cert.pem"));
    SetDaemonKey(QStringLiteral("TLSKey"), QStringLiteral("key.pem"));
    StartDaemon();

    // Without TLS the client gets no answer it understands: refused, and the daemon goes on.
    EXPECT_THROW(RemoteServer(), ESocketConnectionError);
    // With TLS but without trusting the certificate: refused as well.
    const auto clientKeys = [&](const QByteArray& keys) {
        QByteArray client = home_.read(QStringLiteral("StewardC.ini"));
        client.replace("[Server Information]", "[Server Information]\n" + keys);
        home_.write(QStringLiteral("StewardC.ini"), client);
    };
    clientKeys("TLS=1");
    try {
        RemoteServer();
        ADD_FAILURE() << "an unknown certificate was trusted";
    } catch (const ESocketConnectionError& e) {
        EXPECT_TRUE(e.Message().contains(QStringLiteral("over TLS"))) << qPrintable(e.Message());
    }
    // Trusting it: served.
    clientKeys("TLSCAFile=cert.pem");
    const Variant server = RemoteServer();
    EXPECT_EQ(server.Call(QStringLiteral("RunFreeSQL"), {"SELECT MQ001 FROM $$CMSMQ"}).ToInt(), 4);
    EXPECT_EQ(Fetch(server, QStringLiteral("Provider1"), QStringLiteral("SELECT TP001 FROM $$MOCTP")).size(),
        Count(QStringLiteral("SELECT COUNT(*) FROM MOCTP")));
    const QString log = DaemonLog();
    EXPECT_TRUE(log.contains(QStringLiteral("TLS handshake failed"))) << qPrintable(log);
    EXPECT_TRUE(log.contains(QStringLiteral("connected (TLS)"))) << qPrintable(log);
}

TEST_F(DaemonTest, OnPostgreSqlTheDaemonAnswersAsTheInProcessServer)
{
    REQUIRE_POSTGRES();
    TPgTestSchema schema;
    TDemoOptions options;
    options.Slips = 120;
    options.Force = true;
    options.PostgresConnection = PgTestConnection();
    options.PostgresSchema = schema.Name();
    CreateDemoHome(home_.path(), options);
    ConfigureDaemonHome();
    StartDaemon();
    const QString database = schema.Name().toUpper();
    const Variant remote = RemoteServer(QStringLiteral("WANG"), database);
    TAppServer local(TServerConfig::FromHome(home_.path()));
    ASSERT_EQ(
        local.Connect(Variant::ArrayOf({"ZORV52", "WANG", "HV01", database, "MOCTO", DemoPassword("WANG")})),
        QString());
    const QString lines = QStringLiteral("SELECT TP001, TP002, TP003, TP004, TP009 FROM $$MOCTP "
                                         "ORDER BY TP001, TP002, TP003, TP004");
    const QList<VariantList> rows = Fetch(remote, QStringLiteral("Provider1"), lines);
    ASSERT_FALSE(rows.isEmpty());
    int sent = 0;
    QList<VariantList> want;
    DataPacketReader reader(local.GetRecords(QStringLiteral("Provider1"), -1, sent, lines, 1));
    while (reader.NextRow())
        want << reader.Row();
    EXPECT_EQ(rows, want);
    // WANG's data rights hold on PostgreSQL through the daemon too.
    EXPECT_EQ(
        remote.Call(QStringLiteral("RunFreeSQL"), {"SELECT TO001 FROM $$MOCTO WHERE TO021 <> 'F01'"}).ToInt(),
        0);
    EXPECT_GT(remote.Call(QStringLiteral("RunFreeSQL"), {"SELECT TO001 FROM $$MOCTO"}).ToInt(), 0);
}
