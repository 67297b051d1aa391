#include "runtime/data/FrameChannel.h"

#include <QAbstractSocket>
#include <QDateTime>
#include <QtEndian>

namespace {

qint64 now()
{
    return QDateTime::currentMSecsSinceEpoch();
}

} // namespace

TFrameChannel::TFrameChannel(QAbstractSocket& socket, qint64 frameLimit, int frameMs)
    : socket_(socket)
    , frameLimit_(frameLimit)
    , frameMs_(frameMs)
{
}

void TFrameChannel::readExactly(char* out, qint64 n, qint64 deadline, bool started)
{
    qint64 got = 0;
    while (got < n) {
        const qint64 r = socket_.read(out + got, n - got);
        if (r < 0)
            throw EWireError(QStringLiteral("connection failed: %1").arg(socket_.errorString()));
        got += r;
        if (got == n)
            break;
        if (socket_.state() != QAbstractSocket::ConnectedState)
            throw EWireError(started ? QStringLiteral("connection closed inside a frame")
                                     : QStringLiteral("connection closed"));
        const qint64 left = deadline < 0 ? -1 : deadline - now();
        if (deadline >= 0 && left <= 0)
            throw EWireError(started ? QStringLiteral("frame not complete in time")
                                     : QStringLiteral("no request in time"));
        if (!socket_.waitForReadyRead(left < 0 ? -1 : static_cast<int>(qMin<qint64>(left, 1 << 30)))
            && socket_.bytesAvailable() == 0) {
            if (socket_.state() != QAbstractSocket::ConnectedState)
                throw EWireError(started ? QStringLiteral("connection closed inside a frame")
                                         : QStringLiteral("connection closed"));
            if (deadline >= 0 && deadline - now() <= 0)
                throw EWireError(started ? QStringLiteral("frame not complete in time")
                                         : QStringLiteral("no request in time"));
        }
    }
}

QByteArray TFrameChannel::Receive(int waitMs, qint64 limit)
{
    char header[wire::FrameHeaderSize];
    // The wait for a frame to begin is the idle time; once its first byte
    // is here the whole frame must follow within the frame time.
    if (socket_.bytesAvailable() == 0 && !socket_.waitForReadyRead(waitMs) && socket_.bytesAvailable() == 0)
        throw EWireError(socket_.state() == QAbstractSocket::ConnectedState
                ? QStringLiteral("no request in time")
                : QStringLiteral("connection closed"));
    const qint64 deadline = now() + frameMs_;
    readExactly(header, wire::FrameHeaderSize, deadline, true);
    const quint32 length = qFromBigEndian<quint32>(header);
    const qint64 most = limit >= 0 ? qMin(limit, frameLimit_) : frameLimit_;
    if (length == 0 || static_cast<qint64>(length) > most)
        throw EWireError(QStringLiteral("frame of %1 bytes refused (limit %2)").arg(length).arg(most));
    QByteArray payload(static_cast<qsizetype>(length), Qt::Uninitialized);
    readExactly(payload.data(), length, deadline, true);
    return payload;
}

void TFrameChannel::Send(const QByteArray& payload)
{
    write(payload);
    Drain();
}

bool TFrameChannel::Queue(const wire::Writer& message, int waitMs)
{
    write(message.Payload());
    return drainUntil(now() + waitMs, false);
}

void TFrameChannel::Drain()
{
    drainUntil(now() + frameMs_, true);
}

void TFrameChannel::write(const QByteArray& payload)
{
    if (payload.isEmpty() || payload.size() > frameLimit_)
        throw EWireError(QStringLiteral("a message of %1 bytes exceeds the frame limit of %2")
                             .arg(payload.size())
                             .arg(frameLimit_));
    char header[wire::FrameHeaderSize];
    qToBigEndian(static_cast<quint32>(payload.size()), header);
    if (socket_.write(header, sizeof header) != sizeof header || socket_.write(payload) != payload.size())
        throw EWireError(QStringLiteral("connection failed: %1").arg(socket_.errorString()));
}

bool TFrameChannel::drainUntil(qint64 deadline, bool raise)
{
    while (socket_.bytesToWrite() > 0) {
        const qint64 left = deadline - now();
        if (left <= 0) {
            if (raise)
                throw EWireError(QStringLiteral("the peer does not read"));
            return false;
        }
        if (!socket_.waitForBytesWritten(static_cast<int>(left)) && socket_.bytesToWrite() > 0
            && socket_.state() != QAbstractSocket::ConnectedState)
            throw EWireError(QStringLiteral("connection closed"));
    }
    return true;
}
