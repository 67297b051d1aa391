#include "runtime/data/RemoteTransport.h"

#include "runtime/data/FrameChannel.h"
#include "runtime/data/PacketJoin.h"
#include "runtime/data/SocketConnection.h"

#include <QMutex>
#include <QSslConfiguration>
#include <QSslSocket>
#include <QTcpSocket>

namespace {

QMutex sourceMutex;
std::function<TRemoteSettings()>& settingsSource()
{
    static std::function<TRemoteSettings()> source;
    return source;
}

FetchObserver& fetchObserver()
{
    static FetchObserver observer;
    return observer;
}

FetchObserver currentFetchObserver()
{
    QMutexLocker lock(&sourceMutex);
    return fetchObserver();
}

} // namespace

void SetRemoteSettingsSource(std::function<TRemoteSettings()> source)
{
    QMutexLocker lock(&sourceMutex);
    settingsSource() = std::move(source);
}

void SetFetchObserver(FetchObserver observer)
{
    QMutexLocker lock(&sourceMutex);
    fetchObserver() = std::move(observer);
}

TRemoteSettings CurrentRemoteSettings()
{
    QMutexLocker lock(&sourceMutex);
    return settingsSource() ? settingsSource()() : TRemoteSettings();
}

// ---------------------------------------------------------------------------
// The link: one socket to one daemon and the server object made there.

class TRemoteLink {
public:
    TRemoteLink(TRemoteSettings settings, QString host, int port)
        : settings_(std::move(settings))
        , host_(std::move(host))
        , port_(port)
    {
    }

    // Connects and authenticates. Raises ESocketConnectionError.
    void Open();
    // Makes the server object of that class at the other end. Raises.
    void Create(const QString& className);
    void Close(bool forGood);
    // Sends one request and answers the first frame of its reply,
    // reconnecting first when the link was lost. Raises.
    wire::Reader Request(const wire::Writer& request);
    // The next frame of a reply in progress (a fetch's batches).
    wire::Reader Next();
    // Remembered to repeat on a new connection: the last successful ones.
    void RememberSession(const QString& member, const VariantList& args);

private:
    [[noreturn]] void lost(const Exception& e);
    void reconnect();
    void replay(const QString& member, const VariantList& args);

    TRemoteSettings settings_;
    QString host_;
    int port_;
    QString className_;
    std::unique_ptr<QTcpSocket> socket_;
    std::unique_ptr<TFrameChannel> channel_;
    bool closedForGood_ = false;
    VariantList connectArgs_, loadTableArgs_;
};

[[noreturn]] static void raiseFailure(wire::Reader& r)
{
    const QString kind = r.Text();
    const QString message = r.Text();
    if (kind == QLatin1String("EDatabaseError"))
        throw EDatabaseError(message);
    throw EOleError(message);
}

void TRemoteLink::Open()
{
    Close(false);
    const QString where = QStringLiteral("%1:%2").arg(host_).arg(port_);
    std::unique_ptr<QTcpSocket> socket;
    if (settings_.Tls) {
        if (!QSslSocket::supportsSsl())
            throw ESocketConnectionError(
                QStringLiteral("TLS is configured but not available to %1").arg(where));
        auto ssl = std::make_unique<QSslSocket>();
        if (!settings_.TlsCaFile.isEmpty()) {
            QSslConfiguration tls = ssl->sslConfiguration();
            tls.addCaCertificates(settings_.TlsCaFile);
            ssl->setSslConfiguration(tls);
        }
        ssl->connectToHostEncrypted(host_, static_cast<quint16>(port_));
        if (!ssl->waitForEncrypted(settings_.ConnectMs))
            throw ESocketConnectionError(
                QStringLiteral("Cannot reach the application server at %1 over TLS: %2")
                    .arg(where, ssl->errorString()));
        socket = std::move(ssl);
    } else {
        socket = std::make_unique<QTcpSocket>();
        socket->connectToHost(host_, static_cast<quint16>(port_));
        if (!socket->waitForConnected(settings_.ConnectMs))
            throw ESocketConnectionError(QStringLiteral("Cannot reach the application server at %1: %2")
                                             .arg(where, socket->errorString()));
    }
    socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    // Once a frame has begun it may take as long as an answer may.
    auto channel = std::make_unique<TFrameChannel>(*socket, settings_.FrameLimit, settings_.TimeoutMs);
    try {
        wire::Reader challenge(channel->Receive(settings_.ConnectMs, wire::HandshakeFrameLimit));
        if (challenge.MessageKind() != wire::Kind::Challenge)
            throw EWireError(QStringLiteral("no challenge"));
        const quint16 version = challenge.U16();
        const QByteArray nonce = challenge.Bytes();
        if (version != wire::ProtocolVersion)
            throw EWireError(
                QStringLiteral("protocol version %1, not %2").arg(version).arg(wire::ProtocolVersion));
        channel->Send(wire::Writer(wire::Kind::Hello)
                          .U16(wire::ProtocolVersion)
                          .Bytes(wire::Proof(settings_.Secret, nonce)));
        wire::Reader answer(channel->Receive(settings_.ConnectMs, wire::HandshakeFrameLimit));
        if (answer.MessageKind() == wire::Kind::Refused)
            throw ESocketConnectionError(
                QStringLiteral("The application server at %1 refused the connection: %2")
                    .arg(where, answer.Text()));
        if (answer.MessageKind() != wire::Kind::Welcome)
            throw EWireError(QStringLiteral("no welcome"));
    } catch (const EWireError& e) {
        throw ESocketConnectionError(
            QStringLiteral("The application server at %1 did not answer: %2").arg(where, e.Message()));
    }
    socket_ = std::move(socket);
    channel_ = std::move(channel);
}

void TRemoteLink::Create(const QString& className)
{
    wire::Reader r = Request(wire::Writer(wire::Kind::Create).Text(className));
    if (r.MessageKind() == wire::Kind::Failure)
        raiseFailure(r);
    if (r.MessageKind() != wire::Kind::Created)
        lost(EWireError(QStringLiteral("unexpected answer to Create")));
    className_ = className;
}

void TRemoteLink::Close(bool forGood)
{
    channel_.reset();
    if (socket_) {
        socket_->abort();
        socket_.reset();
    }
    closedForGood_ = closedForGood_ || forGood;
}

void TRemoteLink::lost(const Exception& e)
{
    Close(false);
    throw ESocketConnectionError(
        QStringLiteral("The connection to the application server at %1:%2 was lost: %3")
            .arg(host_)
            .arg(port_)
            .arg(e.Message()));
}

void TRemoteLink::reconnect()
{
    Open();
    Create(className_);
    // A fresh server object knows no session: the caller's goes on.
    if (!connectArgs_.isEmpty())
        replay(QStringLiteral("Connect"), connectArgs_);
    if (!loadTableArgs_.isEmpty())
        replay(QStringLiteral("LoadTable"), loadTableArgs_);
}

void TRemoteLink::replay(const QString& member, const VariantList& args)
{
    wire::Writer call(wire::Kind::Call);
    call.U8(static_cast<quint8>(wire::CallHow::Method)).Text(member).U32(static_cast<quint32>(args.size()));
    for (const Variant& a : args)
        call.U8(0).Value(a);
    wire::Reader r = Request(call);
    if (r.MessageKind() == wire::Kind::Failure)
        raiseFailure(r);
    const QString error = r.Value().ToString();
    if (!error.isEmpty())
        throw ESocketConnectionError(
            QStringLiteral("The application server refused the session again: %1").arg(error));
}

void TRemoteLink::RememberSession(const QString& member, const VariantList& args)
{
    if (member.compare(QLatin1String("Connect"), Qt::CaseInsensitive) == 0) {
        connectArgs_ = args;
        loadTableArgs_.clear();
    } else if (member.compare(QLatin1String("LoadTable"), Qt::CaseInsensitive) == 0) {
        loadTableArgs_ = args;
    }
}

wire::Reader TRemoteLink::Request(const wire::Writer& request)
{
    if (closedForGood_)
        throw ESocketConnectionError(QStringLiteral("The connection to the application server is closed"));
    if (!channel_ && !className_.isEmpty())
        reconnect();
    if (!channel_)
        throw ESocketConnectionError(QStringLiteral("Not connected to the application server"));
    try {
        channel_->Send(request);
        return wire::Reader(channel_->Receive(settings_.TimeoutMs));
    } catch (const EWireError& e) {
        lost(e);
    }
}

wire::Reader TRemoteLink::Next()
{
    try {
        return wire::Reader(channel_->Receive(settings_.TimeoutMs));
    } catch (const EWireError& e) {
        lost(e);
    }
}

// ---------------------------------------------------------------------------
// The proxy of the server object.

namespace {

class TRemoteServerObject : public IAutoObject {
public:
    TRemoteServerObject(std::shared_ptr<TRemoteLink> link, QString className)
        : link_(std::move(link))
        , className_(std::move(className))
    {
    }
    QString ClassName() const override { return className_; }
    Variant Invoke(const QString& member, VariantList& args) override
    {
        if (member.compare(QLatin1String("AS_GetRecords"), Qt::CaseInsensitive) == 0)
            return fetch(args);
        return call(wire::CallHow::Method, member, args);
    }
    Variant GetProperty(const QString& property, VariantList& args) override
    {
        return call(wire::CallHow::Get, property, args);
    }
    void SetProperty(const QString& property, const Variant& value) override
    {
        VariantList args {value};
        call(wire::CallHow::Set, property, args);
    }

private:
    Variant call(wire::CallHow how, const QString& member, VariantList& args);
    Variant fetch(VariantList& args);

    std::shared_ptr<TRemoteLink> link_;
    QString className_;
};

Variant TRemoteServerObject::call(wire::CallHow how, const QString& member, VariantList& args)
{
    wire::Writer request(wire::Kind::Call);
    request.U8(static_cast<quint8>(how)).Text(member).U32(static_cast<quint32>(args.size()));
    for (const Variant& a : args)
        request.U8(a.IsReference() ? 1 : 0).Value(a.Deref());
    wire::Reader r = link_->Request(request);
    if (r.MessageKind() == wire::Kind::Failure)
        raiseFailure(r);
    if (r.MessageKind() != wire::Kind::Result) {
        link_->Close(false); // out of step: what follows may belong to another answer
        throw ESocketConnectionError(QStringLiteral("The application server answered a call with message %1")
                                         .arg(static_cast<int>(r.MessageKind())));
    }
    const Variant result = r.Value();
    const quint32 outs = r.U32();
    for (quint32 i = 0; i < outs; ++i) {
        const quint32 index = r.U32();
        const Variant value = r.Value();
        if (index < static_cast<quint32>(args.size()) && args[static_cast<qsizetype>(index)].IsReference())
            args[static_cast<qsizetype>(index)].Assign(value);
    }
    r.End();
    if (how == wire::CallHow::Method && result.IsString() && result.ToString().isEmpty())
        link_->RememberSession(member, [&] {
            VariantList plain;
            for (const Variant& a : args)
                plain << a.Deref();
            return plain;
        }());
    return result;
}

Variant TRemoteServerObject::fetch(VariantList& args)
{
    const auto arg = [&](int i) { return i < args.size() ? args[i].Deref() : Variant(); };
    const int wanted = arg(1).IsEmptyOrNull() ? -1 : arg(1).ToInt();
    wire::Reader r = link_->Request(wire::Writer(wire::Kind::Fetch)
                                        .Text(arg(0).ToString())
                                        .Text(arg(3).ToString())
                                        .I32(arg(4).IsEmptyOrNull() ? 0 : arg(4).ToInt())
                                        .I32(wanted));
    TPacketJoiner joined;
    const FetchObserver observer = currentFetchObserver();
    qint64 bytes = 0;
    for (;;) {
        if (r.MessageKind() == wire::Kind::Failure)
            raiseFailure(r);
        if (r.MessageKind() == wire::Kind::FetchEnd)
            break;
        if (r.MessageKind() != wire::Kind::Batch) {
            link_->Close(false); // out of step, as for a call
            throw ESocketConnectionError(
                QStringLiteral("The application server answered a fetch with message %1")
                    .arg(static_cast<int>(r.MessageKind())));
        }
        try {
            const QByteArray packet = r.Bytes();
            joined.Append(packet);
            bytes += packet.size();
            if (observer)
                observer(joined.RowCount(), bytes);
        } catch (...) {
            // Batches may still be on their way: the link cannot be read in
            // step any more, so the next call starts on a new one.
            link_->Close(false);
            throw;
        }
        r = link_->Next();
    }
    const qint64 sent = r.I64();
    r.U8();
    if (sent != joined.RowCount())
        throw EDatabaseError(QStringLiteral("the application server sent %1 rows but announced %2")
                                 .arg(joined.RowCount())
                                 .arg(sent));
    if (args.size() > 2 && args[2].IsReference())
        args[2].Assign(Variant(static_cast<int>(sent)));
    return Variant(joined.Result());
}

} // namespace

// ---------------------------------------------------------------------------

TRemoteTransport::TRemoteTransport()
    : TRemoteTransport(CurrentRemoteSettings())
{
}

TRemoteTransport::TRemoteTransport(TRemoteSettings settings)
    : settings_(std::move(settings))
{
}

TRemoteTransport::~TRemoteTransport()
{
    Disconnect();
}

void TRemoteTransport::Connect(const QString& host, const QString& address, int port)
{
    Disconnect();
    auto link = std::make_shared<TRemoteLink>(settings_, address.isEmpty() ? host : address, port);
    link->Open();
    link_ = std::move(link);
}

AutoObjectPtr TRemoteTransport::CreateServerObject(const QString& serverName)
{
    if (!link_)
        throw ESocketConnectionError(QStringLiteral("Not connected to the application server"));
    link_->Create(serverName);
    return std::make_shared<TRemoteServerObject>(link_, serverName);
}

void TRemoteTransport::Disconnect()
{
    if (link_)
        link_->Close(true);
    link_.reset();
}
