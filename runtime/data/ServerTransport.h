#pragma once
// The way a socket connection reaches an application server on another
// machine. The connection itself only knows this interface; the network
// implementation registers itself under a name ("socket" is the one a
// connection uses unless told otherwise), so it plugs in without changes to
// the connection. "socket" is the application server daemon's protocol
// (RemoteTransport.h) unless another transport is registered under it.

#include "runtime/system/AutoObject.h"

#include <QString>
#include <functional>
#include <memory>

class IServerTransport {
public:
    virtual ~IServerTransport();
    // Opens the link to the server at host (a name) or address (an IP text;
    // preferred when both are given) and port. Raises on failure.
    virtual void Connect(const QString& host, const QString& address, int port) = 0;
    // Creates the server object of the given class ("ZORV52S.Class1") at the
    // other end and returns a proxy whose members are called over the link.
    // Raises on failure.
    virtual AutoObjectPtr CreateServerObject(const QString& serverName) = 0;
    // Closes the link; proxies fail from then on. Never raises.
    virtual void Disconnect() = 0;
};

// Registry of transports by name (compared without regard to case).
class ServerTransports {
public:
    using Creator = std::function<std::unique_ptr<IServerTransport>()>;
    static void Register(const QString& name, Creator creator);
    static void Unregister(const QString& name);
    static bool IsRegistered(const QString& name);
    // A new transport, or nullptr when none is registered under the name.
    static std::unique_ptr<IServerTransport> Create(const QString& name);
};
