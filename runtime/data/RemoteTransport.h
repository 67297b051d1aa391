#pragma once
// The network transport of a socket connection ("socket", ServerTransport.h):
// it reaches the server object of an application server daemon over the
// framed protocol of WireProtocol.h, and hands out a proxy whose late-bound
// members run there.
//
// What the proxy does:
// - Every member call, property read and property write goes over as one
//   Call; by-reference arguments come back filled. A failure at the other
//   end raises here with the same message (EDatabaseError stays
//   EDatabaseError, anything else arrives as EOleError).
// - AS_GetRecords (DataPacket.h) goes over as a Fetch: the daemon streams
//   the rows in batches and the proxy joins them into the one packet the
//   caller asked for, with the same rows, fields and end-of-data flag.
// - A lost connection (the daemon stopped, the network failed, no answer
//   within the timeout) fails the call in progress with
//   ESocketConnectionError naming the server. The next call connects
//   afresh and first repeats the last Connect and LoadTable that succeeded,
//   so the caller's session goes on once the daemon is back; a call is
//   never sent twice.
// - An answer that cannot be read to its end (a message out of protocol, a
//   damaged batch, a fetch observer that raised) closes the link the same
//   way, so that what is left of it is never read as the next answer.
//
// Settings come from the function set with SetRemoteSettingsSource (the
// client configuration installs one); without it the defaults below apply.

#include "runtime/data/ServerTransport.h"
#include "runtime/data/WireProtocol.h"

#include <functional>
#include <memory>

struct TRemoteSettings {
    QString Secret; // the daemon's shared secret
    bool Tls = false; // connect with TLS (the daemon's certificate is verified)
    QString TlsCaFile; // PEM certificates to trust besides the system's
    int ConnectMs = 5000; // to reach a server before the broker tries the next
    int TimeoutMs = 300000; // for one answer (a provider may run minutes)
    qint64 FrameLimit = wire::DefaultFrameLimit;
};

void SetRemoteSettingsSource(std::function<TRemoteSettings()> source);
TRemoteSettings CurrentRemoteSettings();

// Told on the fetching thread after each batch of a streamed fetch has
// arrived: the rows and packet bytes received so far in this fetch. For
// a display of a long fetch's progress; empty (the default) tells nobody.
// What the observer raises reaches the caller of the fetch unchanged, and
// the rest of that answer is not read: the link is closed, and the next
// call connects afresh as after a lost connection.
using FetchObserver = std::function<void(qint64 rows, qint64 bytes)>;
void SetFetchObserver(FetchObserver observer);

class TRemoteLink;

class TRemoteTransport : public IServerTransport {
public:
    TRemoteTransport();
    explicit TRemoteTransport(TRemoteSettings settings);
    ~TRemoteTransport() override;
    void Connect(const QString& host, const QString& address, int port) override;
    AutoObjectPtr CreateServerObject(const QString& serverName) override;
    void Disconnect() override;

private:
    TRemoteSettings settings_;
    std::shared_ptr<TRemoteLink> link_;
};
