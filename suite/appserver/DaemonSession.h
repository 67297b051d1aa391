#pragma once
// One client connection of the application server daemon, served by one
// thread from accept to close over the protocol of runtime/data/WireProtocol.h.
//
// What it guarantees:
// - Nothing but the handshake is read before the client proved the shared
//   secret; a wrong proof is answered Refused, logged, and closed. The
//   handshake has HandshakeSeconds (TLS and Hello each); the connection
//   waits for it in the daemon's admission (Admission.h) and takes a served
//   place only with a right proof, or is Refused when none is left.
// - The connection has its own server object (TAppServer) and with it its
//   own database connection: sessions never share a back end, so the
//   back ends need not be thread-safe.
// - Only the configured server class can be created, once per connection.
// - A Connect succeeds only with the user's password (AppServer.h); once
//   one succeeded the connection belongs to that user: a Connect naming
//   another user is refused (the log names the user who acts). Failed
//   logins are logged and slowed per user and per peer address.
// - A malformed, oversized or truncated frame, a stalled client and an idle
//   one end this connection only; Run never raises.
// - Each connection is logged: peer, authentication, user, end and why.
// - A data request that is not a key look-up (IsKeyRead) waits for a lane
//   of the daemon's long-read gate and holds it until it is answered; a
//   streamed fetch whose client does not take a batch within half a second
//   gives the lane up and waits for one again before its next batch.

#include "suite/appserver/DaemonConfig.h"

#include <QString>
#include <memory>

class QTcpSocket;
class TAdmission;
class TAppServer;
class TFrameChannel;
class TReadGate;
namespace wire {
class Reader;
}

// The connection log: one line per event, to standard error and, when
// configured, appended to a file. Safe to use from every session thread.
class TConnectionLog {
public:
    explicit TConnectionLog(QString file = QString())
        : file_(std::move(file))
    {
    }
    void Write(const QString& line) const;

private:
    QString file_;
};

class TDaemonSession {
public:
    // peerAddress: the address the socket comes from, as the admission
    // counted it at Arrive; the session leaves the admission when it ends.
    TDaemonSession(const TServerConfig& server, const TDaemonConfig& daemon, const TConnectionLog& log,
        TReadGate& longReads, TAdmission& admission, QString peerAddress, qintptr socketDescriptor, int id);
    ~TDaemonSession();
    void Run();

private:
    bool open();
    bool handshake();
    // Answers one request; false when the connection should end.
    void answer(wire::Reader& request);
    void create(wire::Reader& request);
    void call(wire::Reader& request);
    void fetch(wire::Reader& request);
    void failure(const QString& kind, const QString& message);
    void log(const QString& text) const;
    bool longRead(const QString& sql);

    const TServerConfig& serverConfig_;
    const TDaemonConfig& config_;
    const TConnectionLog& log_;
    TReadGate& longReads_;
    TAdmission& admission_;
    QString peerAddress_;
    enum class Place { Waiting, Served, None } place_ = Place::Waiting;
    qintptr descriptor_;
    int id_;
    QString peer_;
    QString user_;
    std::unique_ptr<QTcpSocket> socket_;
    std::unique_ptr<TFrameChannel> channel_;
    std::shared_ptr<TAppServer> server_;
    qint64 requests_ = 0;
};
