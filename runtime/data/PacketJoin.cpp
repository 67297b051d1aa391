#include "runtime/data/PacketJoin.h"

#include "runtime/system/Exceptions.h"

#include <QtEndian>

namespace {

// Offsets of the packet header (DataPacket.h).
constexpr qsizetype FlagsAt = 6;
constexpr qsizetype FieldCountAt = 8;
constexpr qsizetype RowCountAt = 12;
constexpr qsizetype LengthAt = 16;
constexpr qsizetype HeaderSize = 24;
constexpr qsizetype DescriptorFixed = 10; // type, attributes, reserved, size, name length

[[noreturn]] void damaged(const QString& what)
{
    throw EDatabaseError(QStringLiteral("a data packet of the batch is damaged: %1").arg(what));
}

// The end of the field descriptors.
qsizetype fieldsEnd(const QByteArray& p)
{
    const quint32 fields = qFromLittleEndian<quint32>(p.constData() + FieldCountAt);
    qsizetype at = HeaderSize;
    for (quint32 i = 0; i < fields; ++i) {
        if (p.size() - at < DescriptorFixed)
            damaged(QStringLiteral("field %1 cut short").arg(i));
        const quint16 nameLength = qFromLittleEndian<quint16>(p.constData() + at + 8);
        at += DescriptorFixed + nameLength;
        if (at > p.size())
            damaged(QStringLiteral("field %1 cut short").arg(i));
    }
    return at;
}

} // namespace

void TPacketJoiner::Append(const QByteArray& packet)
{
    if (packet.size() < HeaderSize || !packet.startsWith("ZDPK"))
        damaged(QStringLiteral("no packet header"));
    if (qFromLittleEndian<quint64>(packet.constData() + LengthAt) != static_cast<quint64>(packet.size()))
        damaged(QStringLiteral("length mismatch"));
    const qsizetype rowsAt = fieldsEnd(packet);
    const quint32 rows = qFromLittleEndian<quint32>(packet.constData() + RowCountAt);
    const bool end = PacketAtEnd(packet);
    if (joined_.isEmpty()) {
        end_ = end;
        joined_ = packet;
        fields_ = packet.mid(FieldCountAt, 4) + packet.mid(HeaderSize, rowsAt - HeaderSize);
        rows_ = rows;
        return;
    }
    if (packet.mid(FieldCountAt, 4) + packet.mid(HeaderSize, rowsAt - HeaderSize) != fields_)
        damaged(QStringLiteral("fields differ from the first packet's"));
    if (rows_ + rows > std::numeric_limits<quint32>::max())
        throw EDatabaseError(QStringLiteral("more rows than one data packet can hold"));
    rows_ += rows;
    end_ = end;
    joined_.append(packet.constData() + rowsAt, packet.size() - rowsAt);
    qToLittleEndian(static_cast<quint32>(rows_), joined_.data() + RowCountAt);
    qToLittleEndian(static_cast<quint64>(joined_.size()), joined_.data() + LengthAt);
    quint16 flags = qFromLittleEndian<quint16>(joined_.constData() + FlagsAt);
    flags = static_cast<quint16>(end_ ? (flags | 1) : (flags & ~1));
    qToLittleEndian(flags, joined_.data() + FlagsAt);
}

QByteArray TPacketJoiner::Result() const
{
    QByteArray result = joined_;
    result.squeeze();
    return result;
}

bool PacketAtEnd(const QByteArray& packet)
{
    return packet.size() >= HeaderSize && (qFromLittleEndian<quint16>(packet.constData() + FlagsAt) & 1) != 0;
}
