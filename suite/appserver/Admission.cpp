#include "suite/appserver/Admission.h"

bool TAdmission::Arrive(const QString& peer, QString& refusal)
{
    QMutexLocker lock(&mutex_);
    if (served_ >= limits_.MaxClients)
        refusal = QStringLiteral("%1 connections are served already").arg(limits_.MaxClients);
    else if (waiting_ >= limits_.MaxUnauthenticated)
        refusal = QStringLiteral("%1 connections wait for their handshake already")
                      .arg(limits_.MaxUnauthenticated);
    else if (waitingByPeer_.value(peer) >= limits_.MaxUnauthenticatedPerPeer)
        refusal = QStringLiteral("%1 connections from %2 wait for their handshake already")
                      .arg(limits_.MaxUnauthenticatedPerPeer)
                      .arg(peer);
    else {
        ++waiting_;
        ++waitingByPeer_[peer];
        return true;
    }
    return false;
}

bool TAdmission::Authenticated(const QString& peer, QString& refusal)
{
    QMutexLocker lock(&mutex_);
    --waiting_;
    if (--waitingByPeer_[peer] <= 0)
        waitingByPeer_.remove(peer);
    if (served_ >= limits_.MaxClients) {
        refusal = QStringLiteral("%1 connections are served already").arg(limits_.MaxClients);
        return false;
    }
    ++served_;
    return true;
}

void TAdmission::Leave(const QString& peer, bool authenticated)
{
    QMutexLocker lock(&mutex_);
    if (authenticated) {
        --served_;
        return;
    }
    --waiting_;
    if (--waitingByPeer_[peer] <= 0)
        waitingByPeer_.remove(peer);
}

int TAdmission::Served() const
{
    QMutexLocker lock(&mutex_);
    return served_;
}
