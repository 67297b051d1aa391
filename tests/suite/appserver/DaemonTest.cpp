// The daemon serves the same server object as the in-process one: calls,
// out-arguments, failures and provider data come back alike; hostile,
// broken and vanished peers cost only their own connection.
#include "DaemonFixture.h"

#include "common/QNERPGeneratorU.h"
#include "runtime/data/ClientDataSet.h"
#include "runtime/data/RemoteTransport.h"
#include "support/ProgramRun.h"

#include <QProcessEnvironment>

#include <QThread>
#include <QtEndian>
#include <atomic>
#include <thread>
#include <vector>

namespace {

QList<VariantList> rowsOf(const QByteArray& packet)
{
    QList<VariantList> rows;
    DataPacketReader reader(packet);
    while (reader.NextRow())
        rows << reader.Row();
    return rows;
}

QByteArray header(quint32 length)
{
    QByteArray h(4, '\0');
    qToBigEndian(length, h.data());
    return h;
}

const QString allLines = QStringLiteral(
    "SELECT TP001, TP002, TP003, TP004, TP005, TP009 FROM $$MOCTP ORDER BY TP001, TP002, TP003, TP004");

} // namespace

TEST_F(DaemonTest, CallsOutArgumentsFailuresAndRowsComeBackAsInProcess)
{
    StartDaemon();
    const Variant remote = RemoteServer();
    const Variant local = NewServer();
    EXPECT_EQ(remote.Get(QStringLiteral("PowerData")), local.Get(QStringLiteral("PowerData")));
    EXPECT_EQ(remote.Get(QStringLiteral("SQLType")).ToInt(), local.Get(QStringLiteral("SQLType")).ToInt());
    EXPECT_EQ(remote.Call(QStringLiteral("RunFreeSQL"), {"SELECT MQ001 FROM $$CMSMQ"}).ToInt(), 4);

    // By-reference arguments come back filled; the others stay as they were.
    Variant remoteOut, localOut;
    Variant key = Variant::ArrayOf({"TfrmZorv52Fmt", "nothing-stored"});
    EXPECT_EQ(remote.Call(QStringLiteral("GetWebserviceTWData"), {"x", Variant::Ref(remoteOut)}).ToString(),
        local.Call(QStringLiteral("GetWebserviceTWData"), {"x", Variant::Ref(localOut)}).ToString());
    EXPECT_EQ(remoteOut, localOut);
    Variant countArgs = Variant::ArrayOf({"$$MOCTO", "TO042", "TO001='none'"});
    EXPECT_EQ(remote.Call(QStringLiteral("UpdatePrintCount"), {Variant::Ref(countArgs)}).ToInt(), 0);

    // A failure answers the same way and leaves the same error text.
    EXPECT_EQ(remote.Call(QStringLiteral("RunFreeSQL"), {"DELETE FROM $$CMSMQ"}).ToInt(), -1);
    EXPECT_EQ(local.Call(QStringLiteral("RunFreeSQL"), {"DELETE FROM $$CMSMQ"}).ToInt(), -1);
    EXPECT_EQ(remote.Get(QStringLiteral("LastError")), local.Get(QStringLiteral("LastError")));
    // A raising member raises here with the server's message.
    try {
        Variant sent;
        remote.Call(
            QStringLiteral("AS_GetRecords"), {"NoSuchProvider", -1, Variant::Ref(sent), "SELECT 1", 1});
        ADD_FAILURE() << "no error";
    } catch (const Exception& e) {
        EXPECT_FALSE(e.Message().isEmpty());
    }
    EXPECT_THROW(remote.Call(QStringLiteral("NoSuchMember")), EOleError);

    // All rows in batches of 100 join into the one packet asked for.
    Variant remoteSent, localSent;
    const QByteArray remotePacket
        = remote
              .Call(QStringLiteral("AS_GetRecords"),
                  {"Provider1", -1, Variant::Ref(remoteSent), allLines, GetRecordsReset})
              .ToBytes();
    const QByteArray localPacket
        = local
              .Call(QStringLiteral("AS_GetRecords"),
                  {"Provider1", -1, Variant::Ref(localSent), allLines, GetRecordsReset})
              .ToBytes();
    ASSERT_GT(localSent.ToInt(), 300);
    EXPECT_EQ(remoteSent.ToInt(), localSent.ToInt());
    EXPECT_EQ(rowsOf(remotePacket), rowsOf(localPacket));
    EXPECT_TRUE(DataPacketReader(remotePacket).EndOfData());
}

TEST_F(DaemonTest, AClientDataSetFetchesPacketByPacketThroughTheConnection)
{
    StartDaemon();
    RemoteServer();
    TSocketConnection& connection = *connections_.back();
    TClientDataSet cds;
    cds.SetRemoteServer(&connection);
    cds.SetProviderName(QStringLiteral("Provider2"));
    cds.SetPacketRecords(150);
    cds.SetFetchOnDemand(false);
    cds.SetCommandText(allLines);
    cds.Open();
    EXPECT_EQ(cds.RecordCount(), 150);
    int packets = 1;
    while (cds.GetNextPacket() > 0)
        ++packets;
    EXPECT_EQ(cds.RecordCount(), Count(QStringLiteral("SELECT COUNT(*) FROM MOCTP")));
    EXPECT_EQ(packets, (cds.RecordCount() + 149) / 150);
}

TEST_F(DaemonTest, HostilePeersLoseTheirOwnConnectionOnly)
{
    SetDaemonKey(QStringLiteral("MaxFrameKB"), QStringLiteral("64"));
    StartDaemon();
    const Variant good = RemoteServer();
    const auto stillServed = [&](const char* after) {
        EXPECT_EQ(good.Call(QStringLiteral("RunFreeSQL"), {"SELECT MQ001 FROM $$CMSMQ"}).ToInt(), 4) << after;
    };

    auto wrong = RawClient(true, QStringLiteral("not the secret"));
    const QByteArray refused = ReadFrame(*wrong);
    ASSERT_FALSE(refused.isEmpty());
    EXPECT_EQ(wire::Reader(refused).MessageKind(), wire::Kind::Refused);
    EXPECT_TRUE(ClosedByPeer(*wrong));
    stillServed("wrong secret");

    // Before the handshake: nothing but a Hello is read.
    auto early = RawClient(false);
    ReadFrame(*early);
    SendFrame(*early, wire::Writer(wire::Kind::Create).Text("ZORV52S.Class1"));
    EXPECT_TRUE(ClosedByPeer(*early));
    stillServed("a request before the handshake");
    // Nor can an unknown peer make the daemon reserve a full frame.
    auto bulky = RawClient(false);
    ReadFrame(*bulky);
    SendRaw(*bulky, header(2000) + QByteArray(2000, 'h'));
    EXPECT_TRUE(ClosedByPeer(*bulky));
    stillServed("a big frame before the handshake");

    const QList<std::pair<const char*, QByteArray>> frames {
        {"an empty frame", header(0)},
        {"an oversized frame", header(64 * 1024 + 1) + QByteArray(1000, 'x')},
        {"a huge length", header(0xFFFFFFFFu)},
        {"an unknown message", header(1) + QByteArray(1, '\x55')},
        {"a call with four billion arguments",
            header(11)
                + wire::Writer(wire::Kind::Call).U8(0).U32(0).U32(0xFFFFFFFFu).U8(0).Payload().left(11)},
        {"an array claiming more elements than bytes",
            [] {
                const QByteArray p = wire::Writer(wire::Kind::Call)
                                         .U8(0)
                                         .Text("RunFreeSQL")
                                         .U32(1)
                                         .U8(0)
                                         .U8(8)
                                         .U8(1)
                                         .I32(0)
                                         .U32(1000000)
                                         .Payload();
                return header(static_cast<quint32>(p.size())) + p;
            }()},
        {"trailing bytes",
            [] {
                const QByteArray p = wire::Writer(wire::Kind::Ping).U8(7).Payload();
                return header(static_cast<quint32>(p.size())) + p;
            }()},
    };
    for (const auto& [what, bytes] : frames) {
        auto s = RawClient();
        ASSERT_EQ(wire::Reader(ReadFrame(*s)).MessageKind(), wire::Kind::Welcome) << what;
        SendRaw(*s, bytes);
        EXPECT_TRUE(ClosedByPeer(*s)) << what;
        stillServed(what);
    }

    // Truncated: the frame never arrives whole; the daemon gives up after
    // FrameSeconds (2 s here) and closes.
    auto cut = RawClient();
    ReadFrame(*cut);
    SendRaw(*cut, header(100) + QByteArray(10, 'x'));
    stillServed("while a frame hangs");
    EXPECT_TRUE(ClosedByPeer(*cut, 6000));
    stillServed("a truncated frame");

    const QString log = DaemonLog();
    EXPECT_TRUE(log.contains(QStringLiteral("refused: wrong secret"))) << qPrintable(log);
    EXPECT_TRUE(log.contains(QStringLiteral("frame not complete in time"))) << qPrintable(log);
    EXPECT_TRUE(log.contains(QStringLiteral("frame of 65537 bytes refused"))) << qPrintable(log);
    EXPECT_TRUE(log.contains(QStringLiteral("frame of 2000 bytes refused (limit 1024)"))) << qPrintable(log);
    EXPECT_TRUE(DaemonRunning());
}

TEST_F(DaemonTest, IdleClientsAreClosedAndAClientKilledMidStreamFreesItsPlace)
{
    SetDaemonKey(QStringLiteral("IdleSeconds"), QStringLiteral("1"));
    SetDaemonKey(QStringLiteral("MaxClients"), QStringLiteral("2"));
    SetDaemonKey(QStringLiteral("BatchRows"), QStringLiteral("5"));
    StartDaemon();
    auto idle = RawClient();
    ReadFrame(*idle);
    EXPECT_TRUE(ClosedByPeer(*idle, 5000));

    // A client asks for every line in batches of 5 rows, reads one and vanishes.
    auto vanishing = RawClient();
    ReadFrame(*vanishing);
    SendFrame(*vanishing, wire::Writer(wire::Kind::Create).Text("ZORV52S.Class1"));
    ASSERT_EQ(wire::Reader(ReadFrame(*vanishing)).MessageKind(), wire::Kind::Created);
    wire::Writer connect(wire::Kind::Call);
    connect.U8(0).Text("Connect").U32(1).U8(0).Value(
        Variant::ArrayOf({"ZORV52", "DS", "HV01", "DEMO", "MOCTO", "ds-demo"}));
    SendFrame(*vanishing, connect);
    ASSERT_EQ(wire::Reader(ReadFrame(*vanishing)).MessageKind(), wire::Kind::Result);
    SendFrame(*vanishing, wire::Writer(wire::Kind::Fetch).Text("Provider1").Text(allLines).I32(1).I32(-1));
    ASSERT_EQ(wire::Reader(ReadFrame(*vanishing)).MessageKind(), wire::Kind::Batch);
    vanishing->abort();
    vanishing.reset();

    // Both places are free again: two clients are served at once.
    const Variant first = RemoteServer();
    const Variant second = RemoteServer();
    EXPECT_EQ(first.Call(QStringLiteral("RunFreeSQL"), {"SELECT MQ001 FROM $$CMSMQ"}).ToInt(), 4);
    EXPECT_EQ(second.Call(QStringLiteral("RunFreeSQL"), {"SELECT MQ001 FROM $$CMSMQ"}).ToInt(), 4);
    // A third is one too many.
    auto third = RawClient(false);
    EXPECT_TRUE(ClosedByPeer(*third));
    EXPECT_TRUE(DaemonLog().contains(QStringLiteral("2 connections are served already")));
}

TEST_F(DaemonTest, AConnectionActsForOneUserAndEveryConnectIsLogged)
{
    StartDaemon();
    const Variant server = RemoteServer(QStringLiteral("WANG"));
    EXPECT_THROW(
        server.Call(QStringLiteral("Connect"), {Variant::ArrayOf({"ZORV52", "DS", "HV01", "DEMO", "MOCTO"})}),
        EOleError);
    // The session is still WANG's, held to WANG's data rights.
    EXPECT_EQ(
        server.Call(QStringLiteral("RunFreeSQL"), {"SELECT TO001 FROM MOCTO WHERE TO021 <> 'F01'"}).ToInt(),
        0);
    const QString log = DaemonLog();
    EXPECT_TRUE(log.contains(QStringLiteral("WANG logged in"))) << qPrintable(log);
    EXPECT_TRUE(log.contains(QStringLiteral("refused Connect as DS"))) << qPrintable(log);
}

TEST_F(DaemonTest, AServerKilledMidReportFailsTheCallAndTheSessionGoesOnAfterARestart)
{
    StartDaemon();
    const Variant server = RemoteServer(QStringLiteral("WANG"));
    const int before = server.Call(QStringLiteral("RunFreeSQL"), {"SELECT TO001 FROM MOCTO"}).ToInt();
    ASSERT_GT(before, 0);
    KillDaemon();
    Variant sent;
    try {
        server.Call(QStringLiteral("AS_GetRecords"),
            {"Provider1", -1, Variant::Ref(sent), allLines, GetRecordsReset});
        ADD_FAILURE() << "no error";
    } catch (const ESocketConnectionError& e) {
        EXPECT_TRUE(e.Message().contains(QStringLiteral("127.0.0.2"))) << qPrintable(e.Message());
    }
    // Still down: the next call fails too, and says so.
    EXPECT_THROW(server.Call(QStringLiteral("RunFreeSQL"), {"SELECT 1"}), ESocketConnectionError);
    StartDaemon();
    // Back: the session is WANG's again without a new Connect.
    EXPECT_EQ(server.Call(QStringLiteral("RunFreeSQL"), {"SELECT TO001 FROM MOCTO"}).ToInt(), before);
    EXPECT_EQ(server.Get(QStringLiteral("PowerData")),
        NewServer(QStringLiteral("WANG")).Get(QStringLiteral("PowerData")));
}

TEST_F(DaemonTest, AFetchTellsItsProgressAndAnObserverThatRaisesLeavesTheLinkUsable)
{
    SetDaemonKey(QStringLiteral("BatchRows"), QStringLiteral("7"));
    StartDaemon();
    const Variant server = RemoteServer(QStringLiteral("WANG"));
    const int slips = server.Call(QStringLiteral("RunFreeSQL"), {"SELECT TO001 FROM MOCTO"}).ToInt();
    const qint64 lines = Count(QStringLiteral("SELECT COUNT(*) FROM MOCTP"));
    QList<qint64> told;
    SetFetchObserver([&](qint64 rows, qint64) { told << rows; });
    Variant sent;
    server.Call(
        QStringLiteral("AS_GetRecords"), {"Provider1", -1, Variant::Ref(sent), allLines, GetRecordsReset});
    ASSERT_EQ(sent.ToInt(), lines);
    // Every batch, 7 rows each, the last with what remained.
    ASSERT_EQ(told.size(), (lines + 6) / 7);
    for (qsizetype i = 0; i + 1 < told.size(); ++i)
        EXPECT_EQ(told[i], 7 * (i + 1));
    EXPECT_EQ(told.last(), lines);

    // Given up after the second batch: the rest of that answer is not taken
    // for the answer of the next call.
    SetFetchObserver([](qint64 rows, qint64) {
        if (rows >= 14)
            throw EAbort(QStringLiteral("enough"));
    });
    EXPECT_THROW(server.Call(QStringLiteral("AS_GetRecords"),
                     {"Provider1", -1, Variant::Ref(sent), allLines, GetRecordsReset}),
        EAbort);
    SetFetchObserver({});
    EXPECT_EQ(server.Call(QStringLiteral("RunFreeSQL"), {"SELECT TO001 FROM MOCTO"}).ToInt(), slips)
        << "WANG's session goes on, rights and all";
    EXPECT_EQ(Fetch(server, QStringLiteral("Provider1"), allLines).size(), lines);
}

TEST_F(DaemonTest, WithOneLaneLongReadsTakeTurnsAndKeyReadsComeBackBesideThem)
{
    SetDaemonKey(QStringLiteral("LongReads"), QStringLiteral("1"));
    StartDaemon();
    const qint64 lines = Count(QStringLiteral("SELECT COUNT(*) FROM MOCTP"));
    const QStringList slips
        = Column(QStringLiteral("SELECT TO001 || '|' || TO002 || '|' || TO003 FROM MOCTO"));
    ASSERT_GE(slips.size(), 4);
    // Four clients at once, each on a connection and thread of its own: two
    // read every line again and again through the one lane (into a
    // client data set, and as rows of a provider); two look up slips by key meanwhile. Nothing may be lost
    // or mixed up, and nobody may be left waiting.
    std::atomic<int> wrong {0}, longReads {0}, keyReads {0};
    std::vector<std::thread> clients;
    for (int c = 0; c < 4; ++c) {
        clients.emplace_back([&, c] {
            try {
                TSocketConnection connection;
                connection.SetAddress(QLatin1String(Address));
                connection.SetPort(Port());
                connection.SetServerName(QStringLiteral("ZORV52S.Class1"));
                const Variant server = connection.GetServer();
                server.Call(
                    QStringLiteral("Connect"), {Variant::ArrayOf({"ZORV52", "DS", "HV01", "DEMO", "MOCTO"})});
                for (int i = 0; i < 6; ++i) {
                    if (c == 0) {
                        TClientDataSet cds;
                        cds.SetRemoteServer(&connection);
                        cds.SetProviderName(QStringLiteral("Provider2"));
                        cds.SetPacketRecords(-1);
                        cds.SetCommandText(allLines);
                        cds.Open();
                        wrong += cds.RecordCount() == lines ? 0 : 1;
                        ++longReads;
                    } else if (c == 1) {
                        wrong += Fetch(server, QStringLiteral("Provider2"), allLines).size() == lines ? 0 : 1;
                        ++longReads;
                    } else {
                        const QStringList key = slips[(c * 31 + i) % slips.size()].split(u'|');
                        const QList<VariantList> rows = Fetch(server, QStringLiteral("Provider1"),
                            QStringLiteral(
                                "SELECT TO001, TO002, TO003 FROM $$MOCTO WHERE TO001='%1' AND TO002='%2' "
                                "AND TO003='%3'")
                                .arg(key[0], key[1], key[2]));
                        wrong += rows.size() == 1 && rows[0][1].ToString() == key[1] ? 0 : 1;
                        ++keyReads;
                    }
                }
            } catch (const std::exception& e) {
                ADD_FAILURE() << "client " << c << ": " << e.what();
            }
        });
    }
    for (std::thread& t : clients)
        t.join();
    EXPECT_EQ(wrong.load(), 0);
    EXPECT_EQ(longReads.load(), 12);
    EXPECT_EQ(keyReads.load(), 12);
    EXPECT_TRUE(DaemonLog().contains(QStringLiteral("long reads: 1 at once"))) << qPrintable(DaemonLog());
}

TEST_F(DaemonTest, TheBrokerPassesOverAServerThatDoesNotAnswer)
{
    StartDaemon();
    TSimpleObjectBroker broker;
    broker.AddServer(QStringLiteral("127.0.0.3"), Port()); // nobody listens there
    broker.AddServer(QLatin1String(Address), Port());
    TSocketConnection connection;
    connection.SetServerName(QStringLiteral("ZORV52S.Class1"));
    connection.SetObjectBroker(&broker);
    connection.Open();
    EXPECT_EQ(connection.Address(), QLatin1String(Address));
    EXPECT_TRUE(broker.Servers()[0].HasFailed);
    EXPECT_EQ(
        connection.AppServer()
            .Call(QStringLiteral("Connect"), {Variant::ArrayOf({"ZORV52", "DS", "HV01", "DEMO", "MOCTO"})})
            .ToString(),
        QString());
}

TEST_F(DaemonTest, ABatchTooBigForAFrameFailsTheFetchNotTheConnection)
{
    SetDaemonKey(QStringLiteral("MaxFrameKB"), QStringLiteral("64"));
    SetDaemonKey(QStringLiteral("BatchRows"), QStringLiteral("100000"));
    StartDaemon();
    const Variant server = RemoteServer();
    Variant sent;
    try {
        server.Call(QStringLiteral("AS_GetRecords"),
            {"Provider1", -1, Variant::Ref(sent), allLines, GetRecordsReset});
        ADD_FAILURE() << "a batch larger than a frame was sent";
    } catch (const EDatabaseError& e) {
        EXPECT_TRUE(e.Message().contains(QStringLiteral("more than a frame may hold")))
            << qPrintable(e.Message());
    }
    // The connection goes on; a smaller request fits.
    EXPECT_EQ(server.Call(QStringLiteral("RunFreeSQL"), {"SELECT MQ001 FROM $$CMSMQ"}).ToInt(), 4);
    const QByteArray some = server
                                .Call(QStringLiteral("AS_GetRecords"),
                                    {"Provider1", 50, Variant::Ref(sent), allLines, GetRecordsReset})
                                .ToBytes();
    EXPECT_EQ(rowsOf(some).size(), 50);
    EXPECT_EQ(sent.ToInt(), 50);
}

TEST_F(DaemonTest, SigtermEndsTheDaemonWithAShutdownLineWhileAClientIsConnected)
{
    StartDaemon();
    const Variant remote = RemoteServer();
    EXPECT_EQ(remote.Call(QStringLiteral("RunFreeSQL"), {"SELECT MQ001 FROM $$CMSMQ"}).ToInt(), 4);
    // A generous bound: the stop itself does not wait for the sessions.
    EXPECT_EQ(TerminateDaemon(5000), 0);
    const QString log = DaemonLog();
    EXPECT_TRUE(log.contains(QStringLiteral("shutting down (signal 15"))) << qPrintable(log);
    EXPECT_TRUE(log.contains(QStringLiteral("1 connections open"))) << qPrintable(log);
}

TEST_F(DaemonTest, CheckSaysWhatHoldsAndFailsOnWhatDoesNot)
{
    const auto check = [&] {
        return testsupport::RunProgram(QStringLiteral(ZORV_APPSERVER_TOOL),
            {"--check", "--home", home_.path()}, QProcessEnvironment::systemEnvironment(), 60000);
    };
    const testsupport::ProgramRun good = check();
    EXPECT_EQ(good.Status, 0) << qPrintable(good.Out);
    EXPECT_TRUE(good.Out.contains(QStringLiteral("4 users"))) << qPrintable(good.Out);
    EXPECT_FALSE(good.Out.contains(QStringLiteral("FAIL"))) << qPrintable(good.Out);

    SetDaemonKey(QStringLiteral("Secret"), QString());
    SetDaemonKey(QStringLiteral("TLSCertificate"), QStringLiteral("missing.pem"));
    const testsupport::ProgramRun noSecret = check();
    EXPECT_EQ(noSecret.Status, 1);
    EXPECT_TRUE(noSecret.Out.contains(QStringLiteral("Secret is not set"))) << qPrintable(noSecret.Out);
    // Nor does the daemon serve so.
    const testsupport::ProgramRun serve = testsupport::RunProgram(QStringLiteral(ZORV_APPSERVER_TOOL),
        {"--serve", "--home", home_.path()}, QProcessEnvironment::systemEnvironment(), 60000);
    EXPECT_EQ(serve.Status, 1);
    EXPECT_TRUE(serve.Err.contains(QStringLiteral("Secret is not set"))) << qPrintable(serve.Err);

    // A database that is not there fails the check too.
    SetDaemonKey(QStringLiteral("Secret"), EncodePassword(QStringLiteral("s")));
    SetDaemonKey(QStringLiteral("TLSCertificate"), QString());
    QFile::remove(DatabaseFile());
    const testsupport::ProgramRun noDatabase = check();
    EXPECT_EQ(noDatabase.Status, 1);
    EXPECT_TRUE(noDatabase.Out.contains(QStringLiteral("database       FAIL"))) << qPrintable(noDatabase.Out);
}
