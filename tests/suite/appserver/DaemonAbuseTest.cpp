// What one peer can do to a daemon that serves others: a frame built to
// crash it, a flood of sockets that never authenticate, readers that never
// read. Each costs that peer its own connections; honest clients are served
// all along.
#include "DaemonFixture.h"

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
    EXPECT_TRUE(log.contains(QStringLiteral("malformed frame: array bounds -2147483648..-2147483649 out of range")))
        << qPrintable(log);
}
