#pragma once
// One end of a framed connection (WireProtocol.h) over a connected socket,
// used in blocking style by the thread that owns the socket: the daemon's
// thread of one client, or a client's calling thread.
//
// Guaranteed: Receive answers one whole payload or raises EWireError: on a
// length of 0 or above the limit, on a frame that does not arrive whole
// within the frame time (counted from its first byte), on silence longer
// than the wait given, and when the peer closes. Send raises EWireError
// when the bytes cannot be handed to the peer within the frame time (a peer
// that does not read). After a raise the channel is broken: the caller
// closes the socket.

#include "runtime/data/WireProtocol.h"

class QAbstractSocket;

class TFrameChannel {
public:
    TFrameChannel(QAbstractSocket& socket, qint64 frameLimit, int frameMs);

    // Waits at most waitMs (-1: without end) for a frame to begin. limit,
    // when given, is a lower frame limit for this one frame (a handshake
    // takes a few bytes: an unknown peer may not make the receiver reserve
    // a full frame).
    QByteArray Receive(int waitMs, qint64 limit = -1);
    void Send(const wire::Writer& message) { Send(message.Payload()); }
    void Send(const QByteArray& payload);
    // Send in two steps, for a sender that holds something a slow reader
    // should not keep: Queue hands the frame to the socket and waits at
    // most waitMs for the peer to take it, false when bytes remain; Drain
    // then waits for them within the frame time (raising as Send does).
    bool Queue(const wire::Writer& message, int waitMs);
    void Drain();
    qint64 FrameLimit() const { return frameLimit_; }

private:
    // Reads exactly n bytes into out before the deadline (ms since epoch).
    void readExactly(char* out, qint64 n, qint64 deadline, bool started);
    void write(const QByteArray& payload);
    // Waits until every byte was taken or the deadline passed: false then,
    // or EWireError when raise is set.
    bool drainUntil(qint64 deadline, bool raise);

    QAbstractSocket& socket_;
    qint64 frameLimit_;
    int frameMs_;
};
