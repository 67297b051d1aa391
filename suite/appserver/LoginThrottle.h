#pragma once
// Slows password guessing: every failed login makes the next attempts for
// the same user and from the same peer wait longer.
//
// - Admit(user, peer): called before a password is checked. Answers how long
//   the caller must wait first (it waits itself), or refuses (false) when
//   that wait would be longer than MaxWaitMs: the caller then answers the
//   attempt as failed without checking. Attempts waiting at once for one
//   user or peer are spaced by the current delay, so parallel connections
//   do not multiply the rate.
// - Failed(user, peer): one more failure for both; the delay after n
//   failures is FirstDelayMs * 2^(n-1), at most MaxDelayMs.
// - Succeeded(user): the user's count starts again (the peer's does not: a
//   peer that guesses at many users stays slowed).
// - A count that saw no failure for ForgetMs is forgotten.
// Keys are compared as given (the caller folds case); an empty peer (the
// server in the client's own process) counts by user only. Safe to use
// from every session thread at once.

#include <QHash>
#include <QMutex>
#include <QString>

struct TLoginThrottleLimits {
    qint64 FirstDelayMs = 250;
    qint64 MaxDelayMs = 15000;
    qint64 MaxWaitMs = 30000;
    qint64 ForgetMs = 15 * 60 * 1000;
};

class TLoginThrottle {
public:
    explicit TLoginThrottle(TLoginThrottleLimits limits = {})
        : limits_(limits)
    {
    }
    bool Admit(const QString& user, const QString& peer, qint64& waitMs);
    void Failed(const QString& user, const QString& peer);
    void Succeeded(const QString& user);
    // The delay a new failure of this user would be followed by, for tests and logs.
    qint64 DelayAfterFailure(const QString& user) const;

private:
    struct Record {
        int failures = 0;
        qint64 lastFailure = 0; // ms since the epoch
        qint64 notBefore = 0; // ms since the epoch: the next attempt's earliest time
    };
    Record& record(const QString& key, qint64 now);
    qint64 delay(int failures) const;

    TLoginThrottleLimits limits_;
    mutable QMutex mutex_;
    QHash<QString, Record> records_;
};

// The process's throttle: one for every server object of a process, so that
// the daemon's connections and the in-process server count together.
TLoginThrottle& ProcessLoginThrottle();
