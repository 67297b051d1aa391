#pragma once
// A demo home served by a real steward-appserver --serve process on a
// loopback address other than 127.0.0.1 (so that clients go through the
// network), and the ways tests talk to it: as the module does (a socket
// connection to a proxy), or frame by frame over a raw socket.

#include "DaemonProcess.h"
#include "DemoServerFixture.h"
#include "runtime/data/SocketConnection.h"
#include "runtime/data/WireProtocol.h"

#include <QTcpSocket>
#include <memory>

class DaemonTest : public DemoServerTest {
protected:
    static constexpr const char* Address = TDaemonProcess::Address;

    void SetUp() override;
    void TearDown() override;

    // The daemon's settings and process (DaemonProcess.h).
    void ConfigureDaemonHome() { daemon_.Configure(); }
    void SetDaemonKey(const QString& key, const QString& value) { daemon_.SetKey(key, value); }
    void StartDaemon() { daemon_.Start(); }
    void KillDaemon() { daemon_.Kill(); }
    int TerminateDaemon(int waitMs) { return daemon_.Terminate(waitMs); }
    bool DaemonRunning() const { return daemon_.Running(); }
    QString DaemonLog() { return daemon_.Log(); }
    int Port() const { return daemon_.Port(); }
    QString Secret() const { return daemon_.Secret(); }

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
    TDaemonProcess daemon_ {home_.path()};
};
