#pragma once
// steward-appserver as a network daemon: it listens on the configured
// address and port (DaemonConfig.h) and serves each accepted connection on a
// thread of its own (DaemonSession.h) until it ends. At most MaxClients
// connections are served at once, and apart from them at most
// MaxUnauthenticated (MaxUnauthenticatedPerPeer from one address) wait for
// their handshake (Admission.h); one more is logged and closed at once.
// Reads other than key look-ups share LongReads lanes (ReadGate.h).
//
// The listener runs on the thread of the Qt event loop; Start and the
// accepting happen there. Sessions never touch the listener.

#include "suite/appserver/Admission.h"
#include "suite/appserver/DaemonConfig.h"
#include "suite/appserver/DaemonSession.h"
#include "suite/appserver/ReadGate.h"

#include <QTcpServer>
#include <atomic>
#include <cstdio>

class TAppServerDaemon : public QTcpServer {
public:
    TAppServerDaemon(TServerConfig server, TDaemonConfig daemon);
    // Listens; false (ErrorText says why) when it cannot.
    bool Start();
    QString ErrorText() const { return errorText_; }
    // Stops listening and logs the shutdown with its reason and the
    // connections still open. Sessions are not waited for: the process ends
    // next, and a client sees its connection close as when the daemon dies.
    void Stop(const QString& reason);

protected:
    void incomingConnection(qintptr socketDescriptor) override;

private:
    TServerConfig server_;
    TDaemonConfig config_;
    TConnectionLog log_;
    TReadGate longReads_;
    TAdmission admission_;
    std::atomic<int> active_ {0};
    std::atomic<int> nextId_ {0};
    QString errorText_;
};

// steward-appserver --check: the configuration, the database (opened and one
// table read), the TLS files and the listening address, one line each on
// out. Answers 0 when everything holds, 1 otherwise.
int CheckDaemonSetup(const TServerConfig& server, const TDaemonConfig& daemon, std::FILE* out);
