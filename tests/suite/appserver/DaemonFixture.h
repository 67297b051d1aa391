#pragma once
// A demo home served by a real steward-appserver --serve process on a
// loopback address other than 127.0.0.1 (so that clients go through the
// network), and the ways tests talk to it: as the module does (a socket
// connection to a proxy), or frame by frame over a raw socket.

#include "DemoServerFixture.h"
#include "runtime/data/SocketConnection.h"
#include "runtime/data/WireProtocol.h"

#include <QProcess>
#include <QTcpSocket>
#include <memory>

class DaemonTest : public DemoServerTest {
protected:
    static constexpr const char* Address = "127.0.0.2";

    void SetUp() override;
    void TearDown() override;

    // Points the home's client at the daemon's address and gives the daemon
    // the settings of these tests (any free port, 2 s frame time, batches of
    // 100 rows, a connection log file).
    void ConfigureDaemonHome();
    // Sets key=value in the [AppServer] section of StewardS.ini.
    void SetDaemonKey(const QString& key, const QString& value);
    // Starts the daemon (on the port of the last start when again) and waits
    // until it listens.
    void StartDaemon();
    void KillDaemon();
    bool DaemonRunning() const { return daemon_ && daemon_->state() == QProcess::Running; }
    // The connection log so far.
    QString DaemonLog();
    int Port() const { return port_; }
    QString Secret() const;

    // A socket connection to the daemon, as the module makes one, and its
    // server object, connected as user (when not empty).
    Variant RemoteServer(
        const QString& user = QStringLiteral("DS"), const QString& database = QStringLiteral("DEMO"));

    // A raw socket that passed the handshake (or not: wrongSecret).
    std::unique_ptr<QTcpSocket> RawClient(bool handshake = true, const QString& secret = QString());
    // Sends a frame of raw bytes (header included).
    static void SendRaw(QTcpSocket& s, const QByteArray& bytes);
    static void SendFrame(QTcpSocket& s, const wire::Writer& message);
    // The next frame's payload; empty when the socket closed or nothing came in waitMs.
    static QByteArray ReadFrame(QTcpSocket& s, int waitMs = 5000);
    // True once the daemon closed the socket (within waitMs).
    static bool ClosedByPeer(QTcpSocket& s, int waitMs = 5000);

    std::list<std::unique_ptr<TSocketConnection>> connections_;

private:
    std::unique_ptr<QProcess> daemon_;
    int port_ = 0;
};
