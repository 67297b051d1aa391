#include "suite/appserver/AppServerDaemon.h"

#include "suite/appserver/AppServer.h"
#include "suite/appserver/Catalogue.h"
#include "suite/appserver/DbBackend.h"

#include <QFile>
#include <QSslCertificate>
#include <QSslKey>
#include <QSslSocket>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace {

// The address a socket comes from, without its port: the admission counts
// waiting sockets per address.
QString peerAddress(qintptr descriptor)
{
    sockaddr_storage address {};
    socklen_t length = sizeof address;
    if (::getpeername(static_cast<int>(descriptor), reinterpret_cast<sockaddr*>(&address), &length) != 0)
        return QStringLiteral("?");
    QHostAddress host;
    host.setAddress(reinterpret_cast<const sockaddr*>(&address));
    return host.toString();
}

} // namespace

TAppServerDaemon::TAppServerDaemon(TServerConfig server, TDaemonConfig daemon)
    : server_(std::move(server))
    , config_(std::move(daemon))
    , log_(config_.ConnectionLog)
    , longReads_(config_.LongReads)
    , admission_({config_.MaxClients, config_.MaxUnauthenticated, config_.MaxUnauthenticatedPerPeer})
{
}

bool TAppServerDaemon::Start()
{
    errorText_ = !server_.ErrorText.isEmpty() ? server_.ErrorText : config_.ErrorText;
    if (errorText_.isEmpty() && config_.Tls() && !QSslSocket::supportsSsl())
        errorText_ = QStringLiteral("TLS is configured but this Qt has no TLS back end");
    if (!errorText_.isEmpty())
        return false;
    const QHostAddress address(config_.Listen);
    if (address.isNull()) {
        errorText_ = QStringLiteral("[AppServer] Listen=%1 is no address").arg(config_.Listen);
        return false;
    }
    try {
        appserver::TQueryCatalogue::Standard(); // made once here, before sessions could race to make it
    } catch (const Exception& e) {
        errorText_ = e.Message();
        return false;
    }
    setMaxPendingConnections(config_.MaxClients);
    if (!listen(address, static_cast<quint16>(config_.Port))) {
        errorText_ = QStringLiteral("cannot listen on %1:%2: %3")
                         .arg(config_.Listen)
                         .arg(config_.Port)
                         .arg(errorString());
        return false;
    }
    log_.Write(QStringLiteral("listening on %1:%2%3; long reads: %4")
                   .arg(serverAddress().toString())
                   .arg(serverPort())
                   .arg(config_.Tls() ? QStringLiteral(" (TLS)") : QString())
                   .arg(config_.LongReads > 0 ? QStringLiteral("%1 at once").arg(config_.LongReads)
                                              : QStringLiteral("no limit")));
    return true;
}

void TAppServerDaemon::Stop(const QString& reason)
{
    close();
    log_.Write(QStringLiteral("shutting down (%1); %2 connections open").arg(reason).arg(active_.load()));
}

void TAppServerDaemon::incomingConnection(qintptr socketDescriptor)
{
    const int id = ++nextId_;
    const QString peer = peerAddress(socketDescriptor);
    QString refusal;
    if (!admission_.Arrive(peer, refusal)) {
        log_.Write(QStringLiteral("#%1 %2 refused: %3").arg(id).arg(peer, refusal));
        ::close(static_cast<int>(socketDescriptor));
        return;
    }
    ++active_;
    // The session owns the socket and its admission from here; the thread ends with it.
    std::thread([this, socketDescriptor, id, peer] {
        {
            TDaemonSession session(
                server_, config_, log_, longReads_, admission_, peer, socketDescriptor, id);
            session.Run();
        }
        --active_;
    }).detach();
}

// ---------------------------------------------------------------------------

int CheckDaemonSetup(const TServerConfig& server, const TDaemonConfig& daemon, std::FILE* out)
{
    int faults = 0;
    const auto line = [&](bool ok, const QString& what, const QString& detail) {
        std::fprintf(out, "%-14s %s  %s\n", qPrintable(what), ok ? "ok  " : "FAIL", qPrintable(detail));
        faults += ok ? 0 : 1;
    };
    line(server.ErrorText.isEmpty(), QStringLiteral("configuration"),
        server.ErrorText.isEmpty() ? server.IniFile : server.ErrorText);
    if (server.ErrorText.isEmpty()) {
        try {
            TAppServer app(server);
            TDbBackend& db = app.Database();
            auto c = db.Query(
                QStringLiteral("SELECT COUNT(*) FROM ") + db.BindTableName(QStringLiteral("ADMMF")));
            const QString users = c->Next() ? c->Text(0) : QStringLiteral("?");
            line(true, QStringLiteral("database"),
                QStringLiteral("%1 %2, %3 users").arg(server.DBType, server.DBName, users));
        } catch (const Exception& e) {
            line(false, QStringLiteral("database"), e.Message());
        }
    }
    line(daemon.ErrorText.isEmpty(), QStringLiteral("daemon"),
        daemon.ErrorText.isEmpty() ? QStringLiteral("secret set, %1 clients at most").arg(daemon.MaxClients)
                                   : daemon.ErrorText);
    if (daemon.Tls()) {
        const auto certificates = QSslCertificate::fromPath(daemon.TlsCertificate);
        QFile keyFile(daemon.TlsKey);
        const QByteArray pem = keyFile.open(QIODevice::ReadOnly) ? keyFile.readAll() : QByteArray();
        const bool keyOk = !QSslKey(pem, QSsl::Rsa).isNull() || !QSslKey(pem, QSsl::Ec).isNull();
        const bool ok = QSslSocket::supportsSsl() && !certificates.isEmpty() && keyOk;
        line(ok, QStringLiteral("TLS"),
            ok ? certificates.first().subjectDisplayName()
               : QStringLiteral("certificate %1 or key %2 unusable")
                     .arg(daemon.TlsCertificate, daemon.TlsKey));
    }
    QTcpServer probe;
    const QHostAddress address(daemon.Listen);
    if (address.isNull()) {
        line(false, QStringLiteral("listen"), QStringLiteral("%1 is no address").arg(daemon.Listen));
    } else if (probe.listen(address, static_cast<quint16>(daemon.Port))) {
        line(
            true, QStringLiteral("listen"), QStringLiteral("%1:%2 free").arg(daemon.Listen).arg(daemon.Port));
    } else {
        // A running daemon holds the port: worth saying, not a fault of the setup.
        std::fprintf(out, "%-14s %s  %s:%d: %s\n", "listen", "note", qPrintable(daemon.Listen), daemon.Port,
            qPrintable(probe.errorString()));
    }
    return faults == 0 ? 0 : 1;
}
