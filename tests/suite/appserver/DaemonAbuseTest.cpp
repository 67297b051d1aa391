// What one peer can do to a daemon that serves others: a frame built to
// crash it, a flood of sockets that never authenticate, readers that never
// read. Each costs that peer its own connections; honest clients are served
// all along.
#include "DaemonFixture.h"

#include <QElapsedTimer>
#include <QThread>
#include <QtEndian>
#include <limits>

namespace {

QByteArray framed(const wire::Writer& message)
{
    QByteArray h(4, '\0');
    qToBigEndian(static_cast<quint32>(message.Payload().size()), h.data());
    return h + message.Payload();
}

} // namespace

TEST_F(DaemonTest, AnArrayWithBoundsNoVariantHoldsCostsOnlyItsConnection)
{
    StartDaemon();
    const Variant good = RemoteServer();
    auto s = RawClient();
    ASSERT_EQ(wire::Reader(ReadFrame(*s)).MessageKind(), wire::Kind::Welcome);
    SendFrame(*s, wire::Writer(wire::Kind::Create).Text("ZORV52S.Class1"));
    ASSERT_EQ(wire::Reader(ReadFrame(*s)).MessageKind(), wire::Kind::Created);
    // No Connect: a by-reference empty array whose low bound is the lowest int.
    wire::Writer call(wire::Kind::Call);
    call.U8(0).Text("RunFreeSQL").U32(1).U8(1).U8(8).U8(1).I32(std::numeric_limits<qint32>::min()).U32(0);
    SendRaw(*s, framed(call));
    EXPECT_TRUE(ClosedByPeer(*s));
    EXPECT_TRUE(DaemonRunning());
    EXPECT_EQ(good.Call(QStringLiteral("RunFreeSQL"), {"SELECT MQ001 FROM $$CMSMQ"}).ToInt(), 4);
    const QString log = DaemonLog();
    EXPECT_TRUE(
        log.contains(QStringLiteral("malformed frame: array bounds -2147483648..-2147483649 out of range")))
        << qPrintable(log);
}

TEST_F(DaemonTest, ClientTextsInTheConnectionLogStayOnTheirLineAndShowTheirControls)
{
    StartDaemon();
    const QString forged = QStringLiteral("2026-12-09 04:00:00.000 #1 127.0.0.1:50000 DS logged in");
    // A user code that ends the line, writes a line of its own and sets the
    // console's title; a class name that clears the screen.
    auto s = RawClient();
    ASSERT_EQ(wire::Reader(ReadFrame(*s)).MessageKind(), wire::Kind::Welcome);
    SendFrame(*s, wire::Writer(wire::Kind::Create).Text(QStringLiteral("X\x1b[2J\x1b[H")));
    ASSERT_EQ(wire::Reader(ReadFrame(*s)).MessageKind(), wire::Kind::Failure);
    SendFrame(*s, wire::Writer(wire::Kind::Create).Text("ZORV52S.Class1"));
    ASSERT_EQ(wire::Reader(ReadFrame(*s)).MessageKind(), wire::Kind::Created);
    wire::Writer connect(wire::Kind::Call);
    connect.U8(0).Text("Connect").U32(1).U8(0).Value(Variant::ArrayOf(
        {"ZORV52", QStringLiteral("NOBODY\r\n") + forged + QStringLiteral("\x1b]0;owned\x07"), "HV01", "DEMO",
            "MOCTO"}));
    SendFrame(*s, connect);
    ASSERT_EQ(wire::Reader(ReadFrame(*s)).MessageKind(), wire::Kind::Result);
    s->abort();
    // The refusal is logged once Connect answered; give the file a moment.
    QString log;
    for (int i = 0; i < 50 && !log.contains(QStringLiteral("refused:")); ++i) {
        QThread::msleep(50);
        log = DaemonLog();
    }
    EXPECT_FALSE(log.contains(QChar(0x1B))) << qPrintable(log);
    EXPECT_FALSE(log.contains(QChar(0x07))) << qPrintable(log);
    EXPECT_FALSE(log.contains(u'\r')) << qPrintable(log);
    for (const QString& line : log.split(u'\n', Qt::SkipEmptyParts))
        EXPECT_FALSE(line.startsWith(forged)) << qPrintable(line);
    EXPECT_TRUE(log.contains(QStringLiteral("Connect as NOBODY\\x0D\\x0A") + forged
        + QStringLiteral("\\x1B]0;owned\\x07 refused")))
        << qPrintable(log);
}

TEST_F(DaemonTest, ThroughTheDaemonTheReportedRightsBypassesReadOnlyTheUsersRows)
{
    StartDaemon();
    const Variant wang = RemoteServer(QStringLiteral("WANG"));
    const Variant ds = RemoteServer(QStringLiteral("DS"));
    const auto freeSql = [](const Variant& server, const QString& sql) {
        return server.Call(QStringLiteral("RunFreeSQL"), {sql}).ToInt();
    };
    const int own = freeSql(ds, QStringLiteral("SELECT TO021 FROM MOCTO WHERE TO021 = 'F01'"));
    ASSERT_GT(own, 0);
    ASSERT_GT(freeSql(ds, QStringLiteral("SELECT TO021 FROM MOCTO")), own);
    for (const QString& sql : {QStringLiteral("SELECT TO021 FROM MOCTO -- "),
             QStringLiteral("SELECT TO021 FROM (MOCTO)"), QStringLiteral("SELECT TO021 FROM ((MOCTO))")})
        EXPECT_EQ(freeSql(wang, sql), own) << qPrintable(sql);
    for (const QString& sql :
        {QStringLiteral("SELECT TO021 FROM MOCTO") + QChar(0), QStringLiteral("SELECT TO021 FROM 'MOCTO'"),
            QStringLiteral("SELECT TO021 FROM (TABLE mocto) t")})
        EXPECT_LT(freeSql(wang, sql), 0) << qPrintable(sql);
    const QList<VariantList> rows
        = Fetch(wang, QStringLiteral("Provider1"), QStringLiteral("SELECT TO021 FROM (MOCTO) -- "));
    EXPECT_EQ(rows.size(), own);
    for (const VariantList& row : rows)
        ASSERT_EQ(row.value(0).ToString(), QStringLiteral("F01"));
}

TEST_F(DaemonTest, AFloodOfSocketsWithoutTheSecretLeavesHonestClientsServed)
{
    SetDaemonKey(QStringLiteral("MaxClients"), QStringLiteral("4"));
    SetDaemonKey(QStringLiteral("MaxUnauthenticated"), QStringLiteral("8"));
    SetDaemonKey(QStringLiteral("MaxUnauthenticatedPerPeer"), QStringLiteral("3"));
    SetDaemonKey(QStringLiteral("HandshakeSeconds"), QStringLiteral("1"));
    SetDaemonKey(QStringLiteral("FrameSeconds"), QStringLiteral("30"));
    StartDaemon();
    // One peer opens 40 sockets and says nothing; four more peers one each.
    std::vector<std::unique_ptr<QTcpSocket>> flood;
    const auto open = [&](const QString& from) {
        auto s = std::make_unique<QTcpSocket>();
        s->bind(QHostAddress(from));
        s->connectToHost(QString::fromLatin1(Address), static_cast<quint16>(Port()));
        ASSERT_TRUE(s->waitForConnected(2000)) << qPrintable(from);
        flood.push_back(std::move(s));
    };
    for (int i = 0; i < 40; ++i)
        open(QStringLiteral("127.0.0.3"));
    for (int i = 10; i < 14; ++i)
        open(QStringLiteral("127.0.0.%1").arg(i));
    // As many honest clients as MaxClients are served meanwhile.
    std::vector<Variant> honest;
    for (int i = 0; i < 4; ++i) {
        ASSERT_NO_THROW(honest.push_back(RemoteServer())) << i;
        EXPECT_EQ(honest.back().Call(QStringLiteral("RunFreeSQL"), {"SELECT MQ001 FROM $$CMSMQ"}).ToInt(), 4)
            << i;
    }
    // Every flooding socket is closed: at once beyond the limits, after the
    // handshake time otherwise.
    for (auto& s : flood)
        EXPECT_TRUE(ClosedByPeer(*s, 4000));
    const QString log = DaemonLog();
    EXPECT_TRUE(log.contains(QStringLiteral("3 connections from 127.0.0.3 wait for their handshake already")))
        << qPrintable(log);
    EXPECT_TRUE(DaemonRunning());
}

TEST_F(DaemonTest, StreamsWhoseClientsDoNotReadGiveUpTheirLongReadLanes)
{
    SetDaemonKey(QStringLiteral("LongReads"), QStringLiteral("2"));
    SetDaemonKey(QStringLiteral("FrameSeconds"), QStringLiteral("30"));
    StartDaemon();
    // Every pair of lines: far more bytes than the sockets' buffers hold.
    const QString huge = QStringLiteral("SELECT A.TP001, A.TP002, A.TP003, A.TP004, B.TP001, B.TP002, "
                                        "B.TP003, B.TP004 FROM $$MOCTP A, $$MOCTP B");
    std::vector<std::unique_ptr<QTcpSocket>> stalled;
    for (int i = 0; i < 2; ++i) {
        auto s = RawClient();
        s->setReadBufferSize(4096); // this client takes no more than this
        ASSERT_EQ(wire::Reader(ReadFrame(*s)).MessageKind(), wire::Kind::Welcome);
        SendFrame(*s, wire::Writer(wire::Kind::Create).Text("ZORV52S.Class1"));
        ASSERT_EQ(wire::Reader(ReadFrame(*s)).MessageKind(), wire::Kind::Created);
        wire::Writer connect(wire::Kind::Call);
        connect.U8(0).Text("Connect").U32(1).U8(0).Value(
            Variant::ArrayOf({"ZORV52", "DS", "HV01", "DEMO", "MOCTO", "ds-demo"}));
        SendFrame(*s, connect);
        ASSERT_EQ(wire::Reader(ReadFrame(*s)).MessageKind(), wire::Kind::Result);
        SendFrame(*s, wire::Writer(wire::Kind::Fetch).Text("Provider2").Text(huge).I32(1).I32(-1));
        stalled.push_back(std::move(s));
    }
    QThread::msleep(300); // both streams are running and hold the lanes
    // A long read of an honest client comes through in a few seconds, not
    // after the stalled clients' frame time of 30 s.
    const Variant honest = RemoteServer();
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(honest.Call(QStringLiteral("RunFreeSQL"), {"SELECT TP001 FROM $$MOCTP"}).ToInt(),
        Count(QStringLiteral("SELECT COUNT(*) FROM MOCTP")));
    Variant sent;
    EXPECT_NO_THROW(honest.Call(QStringLiteral("AS_GetRecords"),
        {"Provider1", -1, Variant::Ref(sent), "SELECT TP001, TP002 FROM $$MOCTP ORDER BY TP001", 1}));
    EXPECT_LT(clock.elapsed(), 10000);
    EXPECT_TRUE(DaemonLog().contains(QStringLiteral("gave up its long-read lane")))
        << qPrintable(DaemonLog());
}
