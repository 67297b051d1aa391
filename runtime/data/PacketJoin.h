#pragma once
// Joins data packets (DataPacket.h) of one provider query, delivered one
// after the other, into one packet: the field descriptors of the first, the
// rows of all in order, the end-of-data flag of the last. The network
// transport fetches a large result in batches this way and hands the data
// set the one packet it asked for.
//
// Guaranteed: Append raises EDatabaseError for a packet whose header is
// damaged or whose field descriptors differ from the first packet's; rows
// are copied byte for byte, never decoded. Result() on an empty joiner
// answers an empty array.

#include <QByteArray>

class TPacketJoiner {
public:
    void Append(const QByteArray& packet);
    // The joined packet, without spare capacity (a data set may keep it).
    QByteArray Result() const;
    qint64 RowCount() const { return rows_; }
    bool EndOfData() const { return end_; }

private:
    QByteArray joined_;
    QByteArray fields_; // descriptor bytes of the first packet
    qint64 rows_ = 0;
    bool end_ = false;
};

// The end-of-data flag of one packet (false for a packet too short to have one).
bool PacketAtEnd(const QByteArray& packet);
