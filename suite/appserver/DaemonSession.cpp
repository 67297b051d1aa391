#include "suite/appserver/DaemonSession.h"

#include "runtime/data/FrameChannel.h"
#include "runtime/data/PacketJoin.h"
#include "suite/appserver/Admission.h"
#include "suite/appserver/AppServer.h"
#include "suite/appserver/LogText.h"
#include "suite/appserver/ReadGate.h"

#include <QDateTime>
#include <QFile>
#include <QMutex>
#include <QRandomGenerator>
#include <QSslKey>
#include <QSslSocket>
#include <QTcpSocket>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

QMutex logMutex;

// The user a Connect names: [program, user, ...] as one array or one by one.
QString connectUser(const VariantList& args)
{
    if (args.isEmpty())
        return QString();
    const Variant& first = args[0].Deref();
    if (first.IsArray())
        return first.DimCount() == 1 && first.HighBound() > first.LowBound()
            ? first.At(first.LowBound() + 1).ToString().trimmed()
            : QString();
    return args.size() > 1 ? args[1].Deref().ToString().trimmed() : QString();
}

} // namespace

void TConnectionLog::Write(const QString& line) const
{
    // Lines quote what clients sent (user codes, class names, messages):
    // escaped, they cannot end the line early or drive the console.
    const QByteArray text = (QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss.zzz "))
        + LogSafe(line) + u'\n')
                                .toUtf8();
    QMutexLocker lock(&logMutex);
    std::fwrite(text.constData(), 1, static_cast<size_t>(text.size()), stderr);
    std::fflush(stderr);
    if (!file_.isEmpty()) {
        QFile f(file_);
        if (f.open(QIODevice::Append))
            f.write(text);
    }
}

TDaemonSession::TDaemonSession(const TServerConfig& server, const TDaemonConfig& daemon,
    const TConnectionLog& log, TReadGate& longReads, TAdmission& admission, QString peerAddress,
    qintptr socketDescriptor, int id)
    : serverConfig_(server)
    , config_(daemon)
    , log_(log)
    , longReads_(longReads)
    , admission_(admission)
    , peerAddress_(std::move(peerAddress))
    , descriptor_(socketDescriptor)
    , id_(id)
{
}

TDaemonSession::~TDaemonSession()
{
    server_.reset(); // the database goes before the socket
    channel_.reset();
    if (socket_)
        socket_->abort();
    if (place_ != Place::None)
        admission_.Leave(peerAddress_, place_ == Place::Served);
}

void TDaemonSession::log(const QString& text) const
{
    log_.Write(QStringLiteral("#%1 %2%3%4")
                   .arg(id_)
                   .arg(peer_, user_.isEmpty() ? QString() : u' ' + user_, u' ' + text));
}

bool TDaemonSession::open()
{
    if (!config_.Tls()) {
        socket_ = std::make_unique<QTcpSocket>();
        if (!socket_->setSocketDescriptor(descriptor_))
            return false;
    } else {
        auto ssl = std::make_unique<QSslSocket>();
        if (!ssl->setSocketDescriptor(descriptor_))
            return false;
        peer_ = ssl->peerAddress().toString() + u':' + QString::number(ssl->peerPort());
        ssl->setLocalCertificate(config_.TlsCertificate);
        ssl->setPrivateKey(config_.TlsKey);
        ssl->startServerEncryption();
        if (!ssl->waitForEncrypted(config_.HandshakeMs)) {
            log(QStringLiteral("closed: TLS handshake failed: %1").arg(ssl->errorString()));
            ssl->abort();
            return false;
        }
        socket_ = std::move(ssl);
    }
    peer_ = socket_->peerAddress().toString() + u':' + QString::number(socket_->peerPort());
    socket_->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    channel_ = std::make_unique<TFrameChannel>(*socket_, config_.MaxFrameBytes, config_.FrameMs);
    return true;
}

bool TDaemonSession::handshake()
{
    QByteArray nonce(wire::NonceSize, Qt::Uninitialized);
    QRandomGenerator::system()->generate(nonce.begin(), nonce.end());
    channel_->Send(wire::Writer(wire::Kind::Challenge).U16(wire::ProtocolVersion).Bytes(nonce));
    // A peer without the secret gets a short while only: it holds a place
    // among the sockets that wait for their handshake.
    wire::Reader hello(
        channel_->Receive(qMin(config_.FrameMs, config_.HandshakeMs), wire::HandshakeFrameLimit));
    if (hello.MessageKind() != wire::Kind::Hello)
        throw EWireError(QStringLiteral("no hello"));
    const quint16 version = hello.U16();
    const QByteArray proof = hello.Bytes();
    hello.End();
    QString refusal;
    if (version != wire::ProtocolVersion)
        refusal = QStringLiteral("protocol version %1 is not served (%2 is)")
                      .arg(version)
                      .arg(wire::ProtocolVersion);
    else if (!wire::SameProof(proof, wire::Proof(config_.Secret, nonce)))
        refusal = QStringLiteral("wrong secret");
    else if (!admission_.Authenticated(peerAddress_, refusal))
        place_ = Place::None;
    else
        place_ = Place::Served;
    if (!refusal.isEmpty()) {
        log(QStringLiteral("refused: %1").arg(refusal));
        channel_->Send(wire::Writer(wire::Kind::Refused).Text(refusal));
        return false;
    }
    channel_->Send(wire::Writer(wire::Kind::Welcome));
    log(QStringLiteral("authenticated"));
    return true;
}

void TDaemonSession::Run()
{
    try {
        if (!open())
            return;
        log(QStringLiteral("connected%1").arg(config_.Tls() ? QStringLiteral(" (TLS)") : QString()));
        if (!handshake())
            return;
        for (;;) {
            wire::Reader request(channel_->Receive(config_.IdleMs));
            ++requests_;
            answer(request);
        }
    } catch (const Exception& e) {
        log(QStringLiteral("closed after %1 requests: %2").arg(requests_).arg(e.Message()));
    } catch (const std::exception& e) {
        log(QStringLiteral("closed after %1 requests: %2").arg(requests_).arg(QString::fromUtf8(e.what())));
    }
}

void TDaemonSession::answer(wire::Reader& request)
{
    switch (request.MessageKind()) {
    case wire::Kind::Create:
        return create(request);
    case wire::Kind::Call:
        return call(request);
    case wire::Kind::Fetch:
        return fetch(request);
    case wire::Kind::Ping:
        request.End();
        return channel_->Send(wire::Writer(wire::Kind::Pong));
    default:
        throw EWireError(
            QStringLiteral("malformed frame: request kind %1").arg(static_cast<int>(request.MessageKind())));
    }
}

bool TDaemonSession::longRead(const QString& sql)
{
    if (longReads_.Lanes() <= 0)
        return false;
    try {
        return !IsKeyRead(sql, server_->Database());
    } catch (const Exception&) {
        return false; // no database: the request fails by itself, without waiting
    }
}

void TDaemonSession::failure(const QString& kind, const QString& message)
{
    channel_->Send(wire::Writer(wire::Kind::Failure).Text(kind).Text(message));
}

void TDaemonSession::create(wire::Reader& request)
{
    const QString className = request.Text();
    request.End();
    if (server_)
        return failure(QStringLiteral("EOleError"), QStringLiteral("the server object exists already"));
    const QString served = config_.ServedClass(className);
    if (served.isEmpty())
        return failure(
            QStringLiteral("EOleSysError"), QStringLiteral("Invalid class string: %1").arg(className));
    server_ = std::make_shared<TAppServer>(serverConfig_, served);
    // Failed logins slow down per peer address as well as per user.
    TLoginPolicy policy;
    policy.Peer = peerAddress_;
    server_->SetLoginPolicy(policy);
    channel_->Send(wire::Writer(wire::Kind::Created));
}

void TDaemonSession::call(wire::Reader& request)
{
    const auto how = static_cast<wire::CallHow>(request.U8());
    const QString member = request.Text();
    const quint32 count = request.U32();
    // Every argument takes two bytes at least.
    if (count > static_cast<quint32>(request.Remaining() / 2))
        throw EWireError(
            QStringLiteral("malformed frame: %1 arguments in %2 bytes").arg(count).arg(request.Remaining()));
    std::vector<Variant> values(count);
    std::vector<bool> byRef(count);
    for (quint32 i = 0; i < count; ++i) {
        byRef[i] = request.U8() != 0;
        values[i] = request.Value();
    }
    request.End();
    if (!server_)
        return failure(QStringLiteral("EOleError"), QStringLiteral("no server object: Create comes first"));
    VariantList args;
    for (quint32 i = 0; i < count; ++i)
        args << (byRef[i] ? Variant::Ref(values[i]) : values[i]);

    const bool isConnect
        = how == wire::CallHow::Method && member.compare(QLatin1String("Connect"), Qt::CaseInsensitive) == 0;
    const QString user = isConnect ? connectUser(args) : QString();
    if (isConnect && !user_.isEmpty() && user.compare(user_, Qt::CaseInsensitive) != 0) {
        log(QStringLiteral("refused Connect as %1").arg(user));
        return failure(
            QStringLiteral("EOleError"), QStringLiteral("this connection is logged in as %1").arg(user_));
    }
    Variant result;
    try {
        TReadGate::Pass lane;
        if (how == wire::CallHow::Method
            && member.compare(QLatin1String("AS_GetRecords"), Qt::CaseInsensitive) == 0
            && longRead(args.size() > 3 ? args[3].Deref().ToString() : QString()))
            lane = longReads_.Enter();
        switch (how) {
        case wire::CallHow::Method:
            result = server_->Invoke(member, args);
            break;
        case wire::CallHow::Get:
            result = server_->GetProperty(member, args);
            break;
        case wire::CallHow::Set:
            server_->SetProperty(member, args.isEmpty() ? Variant() : args[0].Deref());
            break;
        default:
            throw EWireError(QStringLiteral("malformed frame: call kind %1").arg(static_cast<int>(how)));
        }
        lane.Leave(); // built: a slow reader of the answer holds no lane
        wire::Writer reply(wire::Kind::Result);
        reply.Value(result).U32(static_cast<quint32>(std::count(byRef.begin(), byRef.end(), true)));
        for (quint32 i = 0; i < count; ++i)
            if (byRef[i])
                reply.U32(i).Value(values[i]);
        if (isConnect) {
            if (result.ToString().isEmpty()) {
                user_ = user;
                log(QStringLiteral("logged in"));
            } else {
                log(QStringLiteral("Connect as %1 refused: %2").arg(user, result.ToString()));
            }
        }
        channel_->Send(reply);
    } catch (const EWireError&) {
        throw;
    } catch (const Exception& e) {
        failure(e.ClassName(), e.Message());
    } catch (const std::exception& e) {
        failure(QStringLiteral("Exception"), QString::fromUtf8(e.what()));
    }
}

void TDaemonSession::fetch(wire::Reader& request)
{
    const QString provider = request.Text();
    const QString dataRequest = request.Text();
    const qint32 options = request.I32();
    const qint32 wanted = request.I32();
    request.End();
    if (!server_)
        return failure(QStringLiteral("EOleError"), QStringLiteral("no server object: Create comes first"));
    qint64 total = 0;
    bool end = false;
    // Batches stay well inside a frame: after each one the next is sized by
    // the bytes a row took so far, to at most half the frame limit.
    int batchRows = config_.BatchRows;
    try {
        // A stream holds its lane while the database works on it and the
        // client takes the batches. A client that does not take a batch
        // within laneStallMs gives the lane to the next long read and
        // queues again for its next batch: two clients that open big
        // streams and never read could otherwise keep every lane until the
        // frame time ends their connections.
        constexpr int laneStallMs = 500;
        const bool laned = longRead(dataRequest);
        TReadGate::Pass lane;
        bool inLane = false;
        bool stallLogged = false;
        for (bool first = true;; first = false) {
            if (laned && !inLane) {
                lane = longReads_.Enter();
                inLane = true;
            }
            const int batch
                = wanted < 0 ? batchRows : static_cast<int>(qMin<qint64>(batchRows, wanted - total));
            int sent = 0;
            const QByteArray packet = server_->GetRecords(
                provider, batch, sent, first ? dataRequest : QString(), first ? options : 0);
            if (packet.size() + 64 > channel_->FrameLimit())
                return failure(QStringLiteral("EDatabaseError"),
                    QStringLiteral(
                        "%1 rows of %2 take %3 bytes, more than a frame may hold (%4): raise MaxFrameKB "
                        "or lower BatchRows")
                        .arg(sent)
                        .arg(provider)
                        .arg(packet.size())
                        .arg(channel_->FrameLimit()));
            wire::Writer batchFrame(wire::Kind::Batch);
            batchFrame.Bytes(packet);
            if (!inLane) {
                channel_->Send(batchFrame);
            } else if (!channel_->Queue(batchFrame, laneStallMs)) {
                lane.Leave();
                inLane = false;
                if (!stallLogged)
                    log(QStringLiteral("a reader that does not keep up gave up its long-read lane"));
                stallLogged = true;
                channel_->Drain();
            }
            total += sent;
            end = PacketAtEnd(packet) || sent < batch;
            if (end || batch == 0 || (wanted >= 0 && total >= wanted))
                break;
            if (sent > 0)
                batchRows = static_cast<int>(qBound<qint64>(qint64(1),
                    channel_->FrameLimit() / 2 / qMax<qint64>(1, packet.size() / sent),
                    qint64(config_.BatchRows)));
        }
    } catch (const EWireError&) {
        throw;
    } catch (const Exception& e) {
        return failure(e.ClassName(), e.Message());
    }
    channel_->Send(wire::Writer(wire::Kind::FetchEnd).I64(total).U8(end ? 1 : 0));
}
