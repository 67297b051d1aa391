#include "suite/appserver/LoginThrottle.h"

#include <QDateTime>
#include <algorithm>

namespace {

QString userKey(const QString& user)
{
    return QStringLiteral("user:") + user;
}

QString peerKey(const QString& peer)
{
    return QStringLiteral("peer:") + peer;
}

} // namespace

qint64 TLoginThrottle::delay(int failures) const
{
    if (failures <= 0)
        return 0;
    const int shift = std::min(failures - 1, 30);
    return std::min(limits_.FirstDelayMs << shift, limits_.MaxDelayMs);
}

TLoginThrottle::Record& TLoginThrottle::record(const QString& key, qint64 now)
{
    Record& r = records_[key];
    if (r.failures > 0 && now - r.lastFailure > limits_.ForgetMs)
        r = Record();
    return r;
}

bool TLoginThrottle::Admit(const QString& user, const QString& peer, qint64& waitMs)
{
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    QMutexLocker lock(&mutex_);
    // Forgotten records would otherwise pile up under a peer that tries
    // a new user name each time.
    if (records_.size() > 10000)
        records_.removeIf([&](const auto& it) { return now - it.value().lastFailure > limits_.ForgetMs; });
    Record& u = record(userKey(user), now);
    Record none;
    Record& p = peer.isEmpty() ? none : record(peerKey(peer), now);
    const qint64 start = std::max({now, u.notBefore, p.notBefore});
    waitMs = start - now;
    if (waitMs > limits_.MaxWaitMs)
        return false;
    // The next attempt goes after this one by the current delay; a key
    // without failures holds nobody up.
    if (u.failures > 0)
        u.notBefore = start + delay(u.failures);
    if (p.failures > 0)
        p.notBefore = start + delay(p.failures);
    return true;
}

void TLoginThrottle::Failed(const QString& user, const QString& peer)
{
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    QMutexLocker lock(&mutex_);
    for (const QString& key : {userKey(user), peerKey(peer)}) {
        if (key == peerKey(QString()))
            continue;
        Record& r = record(key, now);
        ++r.failures;
        r.lastFailure = now;
        r.notBefore = std::max(r.notBefore, now + delay(r.failures));
    }
}

void TLoginThrottle::Succeeded(const QString& user)
{
    QMutexLocker lock(&mutex_);
    records_.remove(userKey(user));
}

qint64 TLoginThrottle::DelayAfterFailure(const QString& user) const
{
    QMutexLocker lock(&mutex_);
    return delay(records_.value(userKey(user)).failures + 1);
}

TLoginThrottle& ProcessLoginThrottle()
{
    static TLoginThrottle throttle;
    return throttle;
}
