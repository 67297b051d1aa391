#pragma once
// Who gets a place on the daemon. Sockets that have not yet proved the
// secret are counted apart from the served connections, so that a peer
// without the secret cannot take the places of those who have it:
//
// - Arrive: a new socket from a peer address. Refused when MaxClients
//   connections are served already, when MaxUnauthenticated sockets wait
//   for their handshake in all, or when MaxUnauthenticatedPerPeer of them
//   come from this address.
// - Authenticated: the socket proved the secret; it leaves the waiting
//   count and takes a served place, refused when none is left (several
//   handshakes may end at once).
// - Leave: the socket ended, in whichever count it was.
//
// Safe to use from every session thread and the listener at once. Each
// refusal says why, for the connection log.

#include <QHash>
#include <QMutex>
#include <QString>

struct TAdmissionLimits {
    int MaxClients = 64;
    int MaxUnauthenticated = 32;
    int MaxUnauthenticatedPerPeer = 4;
};

class TAdmission {
public:
    explicit TAdmission(TAdmissionLimits limits)
        : limits_(limits)
    {
    }
    bool Arrive(const QString& peer, QString& refusal);
    bool Authenticated(const QString& peer, QString& refusal);
    void Leave(const QString& peer, bool authenticated);
    int Served() const;

private:
    TAdmissionLimits limits_;
    mutable QMutex mutex_;
    int served_ = 0;
    int waiting_ = 0;
    QHash<QString, int> waitingByPeer_;
};
