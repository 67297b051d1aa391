#include "runtime/data/SocketConnection.h"

#include "runtime/data/ClientLogin.h"

namespace {

const QString kLocalAddress = QStringLiteral("127.0.0.1");

} // namespace

// ---------------------------------------------------------------------------
// TSimpleObjectBroker

void TSimpleObjectBroker::AddServer(const QString& computerName, int port, bool enabled)
{
    servers_.append(Server {computerName, port, enabled, false});
}

QString TSimpleObjectBroker::GetComputerForProgID(const QString&)
{
    const auto n = servers_.size();
    for (qsizetype i = 0; i < n; ++i) {
        const qsizetype at = loadBalanced_ ? (next_ + i) % n : i;
        const Server& s = servers_[at];
        if (s.Enabled && !s.HasFailed && !s.ComputerName.trimmed().isEmpty()) {
            if (loadBalanced_)
                next_ = static_cast<int>((at + 1) % n);
            return s.ComputerName.trimmed();
        }
    }
    return {};
}

int TSimpleObjectBroker::GetPortForComputer(const QString& computerName) const
{
    for (const auto& s : servers_)
        if (s.ComputerName.trimmed().compare(computerName, Qt::CaseInsensitive) == 0)
            return s.Port;
    return 0;
}

void TSimpleObjectBroker::SetConnectStatus(const QString& computerName, bool success)
{
    for (auto& s : servers_)
        if (s.ComputerName.trimmed().compare(computerName, Qt::CaseInsensitive) == 0)
            s.HasFailed = !success;
}

// ---------------------------------------------------------------------------
// TSocketConnection

TSocketConnection::TSocketConnection(QObject* owner)
    : QObject(owner)
{
}

TSocketConnection::~TSocketConnection()
{
    Close();
}

void TSocketConnection::SetConnected(bool connected)
{
    if (connected)
        Open();
    else
        Close();
}

void TSocketConnection::Open()
{
    if (connected_)
        return;
    if (!broker_ || broker_->Servers().isEmpty()) {
        connectTo(address_, host_, port_);
        return;
    }
    // Each machine the broker offers is tried once; the last failure is reported.
    QString lastError;
    for (;;) {
        const QString computer = broker_->GetComputerForProgID(serverName_);
        if (computer.isEmpty())
            break;
        const int port = broker_->GetPortForComputer(computer);
        try {
            connectTo(computer, QString(), port > 0 ? port : port_);
            broker_->SetConnectStatus(computer, true);
            address_ = computer;
            return;
        } catch (const Exception& e) {
            broker_->SetConnectStatus(computer, false);
            lastError = e.Message();
        }
    }
    // Every machine failed: clear the marks so that a later attempt tries them again.
    for (auto& s : broker_->Servers())
        s.HasFailed = false;
    throw ESocketConnectionError(
        lastError.isEmpty() ? QStringLiteral("No application server available") : lastError);
}

void TSocketConnection::connectTo(const QString& address, const QString& host, int port)
{
    if (serverName_.trimmed().isEmpty())
        throw ESocketConnectionError(QStringLiteral("Application server name is missing"));
    if (address.trimmed() == kLocalAddress) {
        // raises EOleSysError for an unknown class
        appServer_ = PresentingLogin(CreateOleObject(serverName_.trimmed()));
        inProcess_ = true;
        connected_ = true;
        return;
    }
    if (address.trimmed().isEmpty() && host.trimmed().isEmpty())
        throw ESocketConnectionError(QStringLiteral("Address or host of the application server is missing"));
    auto transport = ServerTransports::Create(transportName_);
    if (!transport)
        throw ESocketConnectionError(
            QStringLiteral(
                "Cannot reach the application server at %1:%2: no network transport '%3' is available")
                .arg(address.trimmed().isEmpty() ? host.trimmed() : address.trimmed())
                .arg(port)
                .arg(transportName_));
    transport->Connect(host.trimmed(), address.trimmed(), port);
    AutoObjectPtr server;
    try {
        server = transport->CreateServerObject(serverName_.trimmed());
    } catch (...) {
        transport->Disconnect();
        throw;
    }
    if (!server) {
        transport->Disconnect();
        throw EOleSysError(QStringLiteral("The application server did not create '%1'").arg(serverName_), -1);
    }
    transport_ = std::move(transport);
    appServer_ = PresentingLogin(Variant(server));
    inProcess_ = false;
    connected_ = true;
}

void TSocketConnection::Close()
{
    appServer_ = Variant();
    if (transport_) {
        transport_->Disconnect();
        transport_.reset();
    }
    connected_ = false;
    inProcess_ = false;
}

Variant TSocketConnection::GetServer()
{
    Open();
    return appServer_;
}

void TSocketConnection::SetAppServer(const Variant& server)
{
    Close();
    if (!server.IsObject())
        return;
    appServer_ = PresentingLogin(server);
    inProcess_ = true;
    connected_ = true;
}
