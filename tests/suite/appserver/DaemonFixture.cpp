#include "DaemonFixture.h"

#include "runtime/data/ClientLogin.h"
#include "runtime/data/RemoteTransport.h"

#include <QElapsedTimer>
#include <QtEndian>

void DaemonTest::SetUp()
{
    DemoServerTest::SetUp();
    ConfigureDaemonHome();
    // As the shell does once it asked for the password: the connections of
    // this process present it when they Connect as DS.
    clientlogin::Set(QStringLiteral("DS"), DemoPassword(QStringLiteral("DS")));
}

void DaemonTest::TearDown()
{
    clientlogin::Clear();
    SetFetchObserver({}); // a test's observer may not outlive its test
    connections_.clear();
    KillDaemon();
}

Variant DaemonTest::RemoteServer(const QString& user, const QString& database)
{
    auto connection = std::make_unique<TSocketConnection>();
    connection->SetAddress(QLatin1String(Address));
    connection->SetPort(Port());
    connection->SetServerName(QStringLiteral("ZORV52S.Class1"));
    Variant server = connection->GetServer();
    EXPECT_FALSE(connection->InProcess());
    if (!user.isEmpty()) {
        const Variant error = server.Call(QStringLiteral("Connect"),
            {Variant::ArrayOf({"ZORV52", user, "HV01", database, "MOCTO", DemoPassword(user)})});
        EXPECT_EQ(error.ToString(), QString()) << qPrintable(user);
    }
    connections_.push_back(std::move(connection));
    return server;
}

std::unique_ptr<QTcpSocket> DaemonTest::RawClient(bool handshake, const QString& secret)
{
    auto s = std::make_unique<QTcpSocket>();
    s->connectToHost(QLatin1String(Address), static_cast<quint16>(Port()));
    EXPECT_TRUE(s->waitForConnected(5000));
    if (!handshake)
        return s;
    wire::Reader challenge(ReadFrame(*s));
    EXPECT_EQ(challenge.MessageKind(), wire::Kind::Challenge);
    challenge.U16();
    const QByteArray nonce = challenge.Bytes();
    SendFrame(*s,
        wire::Writer(wire::Kind::Hello)
            .U16(wire::ProtocolVersion)
            .Bytes(wire::Proof(secret.isEmpty() ? Secret() : secret, nonce)));
    return s;
}

void DaemonTest::SendRaw(QTcpSocket& s, const QByteArray& bytes)
{
    s.write(bytes);
    s.waitForBytesWritten(5000);
}

void DaemonTest::SendFrame(QTcpSocket& s, const wire::Writer& message)
{
    QByteArray frame(4, '\0');
    qToBigEndian(static_cast<quint32>(message.Payload().size()), frame.data());
    SendRaw(s, frame + message.Payload());
}

QByteArray DaemonTest::ReadFrame(QTcpSocket& s, int waitMs)
{
    QElapsedTimer timer;
    timer.start();
    while (s.bytesAvailable() < 4 && timer.elapsed() < waitMs && s.state() == QAbstractSocket::ConnectedState)
        s.waitForReadyRead(50);
    if (s.bytesAvailable() < 4)
        return {};
    char header[4];
    s.peek(header, 4);
    const quint32 n = qFromBigEndian<quint32>(header);
    while (s.bytesAvailable() < 4 + qint64(n) && timer.elapsed() < waitMs
        && s.state() == QAbstractSocket::ConnectedState)
        s.waitForReadyRead(50);
    if (s.bytesAvailable() < 4 + qint64(n))
        return {};
    s.read(header, 4);
    return s.read(n);
}

bool DaemonTest::ClosedByPeer(QTcpSocket& s, int waitMs)
{
    QElapsedTimer timer;
    timer.start();
    while (s.state() == QAbstractSocket::ConnectedState && timer.elapsed() < waitMs) {
        s.waitForReadyRead(50);
        s.readAll();
    }
    return s.state() != QAbstractSocket::ConnectedState;
}
