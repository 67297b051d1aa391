#include "DaemonFixture.h"

#include "common/QNERPGeneratorU.h"
#include "runtime/system/IniFile.h"

#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <QThread>
#include <QtEndian>

void DaemonTest::SetUp()
{
    DemoServerTest::SetUp();
    ConfigureDaemonHome();
}

void DaemonTest::ConfigureDaemonHome()
{
    SetDaemonKey(QStringLiteral("Listen"), QLatin1String(Address));
    SetDaemonKey(QStringLiteral("Port"), QStringLiteral("0"));
    SetDaemonKey(QStringLiteral("FrameSeconds"), QStringLiteral("2"));
    SetDaemonKey(QStringLiteral("BatchRows"), QStringLiteral("100"));
    SetDaemonKey(QStringLiteral("ConnectionLog"), QStringLiteral("connections.log"));
    // The module's client configuration names the daemon's address.
    QByteArray client = home_.read(QStringLiteral("StewardC.ini"));
    client.replace("ComputerName=127.0.0.1", QByteArray("ComputerName=") + Address);
    home_.write(QStringLiteral("StewardC.ini"), client);
}

void DaemonTest::TearDown()
{
    connections_.clear();
    KillDaemon();
}

void DaemonTest::SetDaemonKey(const QString& key, const QString& value)
{
    QFile file(home_.file(QStringLiteral("StewardS.ini")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QString text = QString::fromUtf8(file.readAll());
    file.close();
    const QRegularExpression line(
        QStringLiteral("^%1=[^\r\n]*").arg(key), QRegularExpression::MultilineOption);
    if (text.contains(line))
        text.replace(line, key + u'=' + value);
    else
        text.replace(
            QRegularExpression(QStringLiteral("^\\[AppServer\\]\r?\n"), QRegularExpression::MultilineOption),
            QStringLiteral("[AppServer]\n%1=%2\n").arg(key, value));
    ASSERT_TRUE(text.contains(key + u'=' + value)) << qPrintable(text);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(text.toUtf8());
}

QString DaemonTest::Secret() const
{
    const TIniFile ini(home_.file(QStringLiteral("StewardS.ini")));
    return DecodePassword(ini.ReadString(QStringLiteral("AppServer"), QStringLiteral("Secret"), QString()));
}

void DaemonTest::StartDaemon()
{
    if (port_ > 0)
        SetDaemonKey(QStringLiteral("Port"), QString::number(port_));
    daemon_ = std::make_unique<QProcess>();
    daemon_->setProgram(QStringLiteral(ZORV_APPSERVER_TOOL));
    daemon_->setArguments({QStringLiteral("--serve"), QStringLiteral("--home"), home_.path()});
    daemon_->setStandardErrorFile(QProcess::nullDevice()); // the log file has it all
    daemon_->start();
    ASSERT_TRUE(daemon_->waitForStarted(10000));
    QByteArray out;
    QElapsedTimer timer;
    timer.start();
    const QRegularExpression listening(QStringLiteral("listening on [0-9.]+:([0-9]+)"));
    while (timer.elapsed() < 20000) {
        daemon_->waitForReadyRead(200);
        out += daemon_->readAllStandardOutput();
        const auto m = listening.match(QString::fromUtf8(out));
        if (m.hasMatch()) {
            port_ = m.captured(1).toInt();
            return;
        }
        if (daemon_->state() != QProcess::Running)
            break;
    }
    FAIL() << "the daemon did not start: " << out.constData() << daemon_->readAllStandardError().constData();
}

void DaemonTest::KillDaemon()
{
    if (!daemon_)
        return;
    daemon_->kill();
    daemon_->waitForFinished(10000);
    daemon_.reset();
}

QString DaemonTest::DaemonLog()
{
    QThread::msleep(100); // the session threads write as they go
    return QString::fromUtf8(home_.read(QStringLiteral("connections.log")));
}

Variant DaemonTest::RemoteServer(const QString& user, const QString& database)
{
    auto connection = std::make_unique<TSocketConnection>();
    connection->SetAddress(QLatin1String(Address));
    connection->SetPort(port_);
    connection->SetServerName(QStringLiteral("ZORV52S.Class1"));
    Variant server = connection->GetServer();
    EXPECT_FALSE(connection->InProcess());
    if (!user.isEmpty()) {
        const Variant error = server.Call(
            QStringLiteral("Connect"), {Variant::ArrayOf({"ZORV52", user, "HV01", database, "MOCTO"})});
        EXPECT_EQ(error.ToString(), QString()) << qPrintable(user);
    }
    connections_.push_back(std::move(connection));
    return server;
}

std::unique_ptr<QTcpSocket> DaemonTest::RawClient(bool handshake, const QString& secret)
{
    auto s = std::make_unique<QTcpSocket>();
    s->connectToHost(QLatin1String(Address), static_cast<quint16>(port_));
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
