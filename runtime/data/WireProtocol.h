#pragma once
// The framed protocol between a client's socket connection and the
// application server daemon (steward-appserver). Both ends use this file;
// it is the contract.
//
// Frames. Every message is one frame: a 4-byte big-endian length L, then L
// bytes of payload. 1 <= L <= the receiver's frame limit (the daemon's
// MaxFrameKB, 16 MiB unless configured; a client takes the same default).
// A frame of length 0, above the limit, or cut short closes the connection
// (the daemon closes that one connection and goes on serving the others).
// Payload byte 0 is the message kind, the rest its body.
//
// Values in a body, in order, with no padding:
//   u8, u16, u32, i32, i64  big-endian integers
//   text                    u32 byte count + UTF-8
//   bytes                   u32 byte count + bytes
//   value                   one Variant:
//     tag u8: 0 Unassigned, 1 Null, 2 Boolean (u8 0/1), 3 Integer (i64),
//             4 Float (8-byte IEEE, big-endian), 5 Date (the same, a day
//             number), 6 String (text), 7 Bytes (bytes), 8 Array:
//             u8 dimensions (1 or 2), per dimension i32 low bound and
//             u32 element count, then the elements row by row (values).
//     Objects and references do not travel (encoding raises). Arrays nest
//     at most MaxValueDepth deep; an element count above what the rest of
//     the frame could hold is refused before anything is reserved, and so
//     are bounds a Variant array cannot hold (the high bound, low + count
//     - 1 computed in 64 bits, outside INT_MIN .. INT_MAX - 1).
//
// Conversation (C: client, S: daemon):
//   S Challenge  u16 version (1), bytes nonce (32 random bytes)
//   C Hello      u16 version, bytes proof = HMAC-SHA256(secret, nonce)
//   S Welcome    (empty)                 or  S Refused text, then close
//   C Create     text class ("ZORV52S.Class1")
//   S Created    (empty)                 or  S Failure
//   then any number of requests, each answered before the next is read:
//   C Call       u8 how (0 method, 1 property read, 2 property write),
//                text member, u32 n, n x (u8 by-reference flag, value)
//   S Result     value result, u32 m, m x (u32 argument index, value):
//                the final value of every by-reference argument
//   C Fetch      text provider, text data request, i32 options,
//                i32 rows wanted (-1: all remaining)
//   S Batch ...  bytes: a data packet (DataPacket.h) of at most the
//                daemon's BatchRows rows, as many as it takes, then
//   S FetchEnd   i64 rows sent in all, u8 end of data (1: no more rows)
//                (a Failure instead ends the fetch at any point)
//   C Ping       (empty)                 S Pong (empty)
//   S Failure    text exception class, text message: the request failed;
//                the connection stays usable.
//
// The daemon holds one server object per connection. A connection that
// says nothing within the daemon's IdleSeconds, or whose frame or handshake
// does not arrive whole within FrameSeconds, is closed.

#include "runtime/system/Variant.h"

#include <QByteArray>
#include <QString>
#include <cstdint>

ZORV_EXCEPTION_CLASS(EWireError, Exception)

namespace wire {

constexpr quint16 ProtocolVersion = 1;
constexpr int FrameHeaderSize = 4;
constexpr qint64 DefaultFrameLimit = 16 * 1024 * 1024;
constexpr int NonceSize = 32;
// Challenge, Hello, Welcome and Refused are small; a peer that has not yet
// proved the secret may send no more than this.
constexpr qint64 HandshakeFrameLimit = 1024;
constexpr int MaxValueDepth = 16;

enum class Kind : quint8 {
    Challenge = 0x01,
    Hello = 0x02,
    Welcome = 0x03,
    Refused = 0x04,
    Create = 0x10,
    Created = 0x11,
    Call = 0x20,
    Result = 0x21,
    Fetch = 0x30,
    Batch = 0x31,
    FetchEnd = 0x32,
    Ping = 0x40,
    Pong = 0x41,
    Failure = 0x7F,
};

enum class CallHow : quint8 { Method = 0, Get = 1, Set = 2 };

// HMAC-SHA256 of the nonce under the secret (its UTF-8 bytes).
QByteArray Proof(const QString& secret, const QByteArray& nonce);
// Compares two proofs in time that does not depend on where they differ.
bool SameProof(const QByteArray& a, const QByteArray& b);

// Builds one payload. Raises EWireError for a value that cannot travel.
class Writer {
public:
    explicit Writer(Kind kind);
    Writer& U8(quint8 v);
    Writer& U16(quint16 v);
    Writer& U32(quint32 v);
    Writer& I32(qint32 v);
    Writer& I64(qint64 v);
    Writer& Text(const QString& v);
    Writer& Bytes(QByteArrayView v);
    Writer& Value(const Variant& v);
    const QByteArray& Payload() const { return out_; }

private:
    void value(const Variant& v, int depth);
    QByteArray out_;
};

// Reads one payload from its start. Every read checks the bytes that
// remain and raises EWireError ("malformed frame: ...") when they do not
// hold what is asked for; nothing is reserved that the payload does not
// account for.
class Reader {
public:
    explicit Reader(const QByteArray& payload);
    Kind MessageKind() const { return kind_; }
    quint8 U8();
    quint16 U16();
    quint32 U32();
    qint32 I32();
    qint64 I64();
    QString Text();
    QByteArray Bytes();
    Variant Value();
    // Raises unless every byte was read: trailing bytes are a fault too.
    void End() const;
    qsizetype Remaining() const { return data_.size() - pos_; }

private:
    const char* take(qsizetype n);
    Variant value(int depth);
    QByteArray data_;
    qsizetype pos_ = 1;
    Kind kind_;
};

} // namespace wire
