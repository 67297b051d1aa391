#pragma once
// TSocketConnection: the connection through which forms and client data sets
// reach the application server object, and TSimpleObjectBroker, which picks
// the server machine from a list.
//
// Address "127.0.0.1" means the server runs in this process: the server
// object is created by its class name (ServerName, e.g. "ZORV52S.Class1")
// from the automation factory registry. Any other address goes through the
// network transport registered under TransportName. Failures raise: a missing
// address or transport with ESocketConnectionError, an unknown class with
// EOleSysError, and whatever the transport raises.
//
// The server object it hands out presents this process's login at Connect
// (ClientLogin.h), wherever the object runs.

#include "runtime/data/ServerTransport.h"

#include <QList>
#include <QObject>
#include <QString>
#include <memory>

ZORV_EXCEPTION_CLASS(ESocketConnectionError, Exception)

// Chooses among the configured server machines; a machine whose connection
// failed is passed over until every one has failed.
class TSimpleObjectBroker : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool LoadBalanced READ LoadBalanced WRITE SetLoadBalanced)

public:
    struct Server {
        QString ComputerName;
        int Port = 0; // 0: the connection's own port
        bool Enabled = true;
        bool HasFailed = false;
    };

    explicit TSimpleObjectBroker(QObject* owner = nullptr)
        : QObject(owner)
    {
    }

    QList<Server>& Servers() { return servers_; }
    const QList<Server>& Servers() const { return servers_; }
    void AddServer(const QString& computerName, int port = 0, bool enabled = true);
    // Spreads connections over the machines instead of taking the first good one.
    bool LoadBalanced() const { return loadBalanced_; }
    void SetLoadBalanced(bool on) { loadBalanced_ = on; }

    // The machine to try next; empty when none is left.
    QString GetComputerForProgID(const QString& progId);
    int GetPortForComputer(const QString& computerName) const;
    void SetConnectStatus(const QString& computerName, bool success);

private:
    QList<Server> servers_;
    bool loadBalanced_ = false;
    int next_ = 0;
};

class TSocketConnection : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString Address READ Address WRITE SetAddress)
    Q_PROPERTY(QString Host READ Host WRITE SetHost)
    Q_PROPERTY(int Port READ Port WRITE SetPort)
    Q_PROPERTY(QString ServerName READ ServerName WRITE SetServerName)
    Q_PROPERTY(bool Connected READ Connected WRITE SetConnected)

public:
    explicit TSocketConnection(QObject* owner = nullptr);
    ~TSocketConnection() override;

    const QString& Address() const { return address_; }
    void SetAddress(const QString& address) { address_ = address; }
    const QString& Host() const { return host_; }
    void SetHost(const QString& host) { host_ = host; }
    int Port() const { return port_; }
    void SetPort(int port) { port_ = port; }
    // Programmatic identifier of the server object: program code + "S.Class1".
    const QString& ServerName() const { return serverName_; }
    void SetServerName(const QString& name) { serverName_ = name; }
    TSimpleObjectBroker* ObjectBroker() const { return broker_; }
    void SetObjectBroker(TSimpleObjectBroker* broker) { broker_ = broker; }
    const QString& TransportName() const { return transportName_; }
    void SetTransportName(const QString& name) { transportName_ = name; }

    bool Connected() const { return connected_; }
    void SetConnected(bool connected);
    void Open();
    // Releases the server object and the link. Never raises.
    void Close();
    // True when the server object was created in this process.
    bool InProcess() const { return inProcess_; }

    // The server object; Unassigned while not connected.
    Variant AppServer() const { return appServer_; }
    // Connects when needed, then answers the server object.
    Variant GetServer();
    // Hands the connection a server object made elsewhere (in-process).
    void SetAppServer(const Variant& server);

private:
    void connectTo(const QString& address, const QString& host, int port);

    QString address_;
    QString host_;
    int port_ = 211;
    QString serverName_;
    QString transportName_ = QStringLiteral("socket");
    TSimpleObjectBroker* broker_ = nullptr;
    bool connected_ = false;
    bool inProcess_ = false;
    Variant appServer_;
    std::unique_ptr<IServerTransport> transport_;
};
