#pragma once
// Lanes for long reads in the daemon. A report over a month of slips keeps a
// database process and a session thread busy for a quarter of a second; a
// one-slip key read needs a few milliseconds. With many clients at once the
// long reads would take every core and the short ones would wait behind
// them, so long reads pass through a gate with a fixed number of lanes and
// short ones never wait at it.
//
// TReadGate
// - Enter waits until a lane is free and answers a pass that holds it until
//   the pass goes. Waiters get lanes in the order they came (no long read
//   waits for ever behind later ones).
// - Lanes 0: no gate; Enter answers at once.
// - Safe to use from every session thread.
//
// IsKeyRead: true when a client's query text names a table and compares, with
// "=" to a literal or a "?" place, columns that cover one of that table's
// unique keys (so it finds one row of it, or none), and has no OR or NOT
// that could widen it. Joined look-ups may add rows of other tables; the
// read stays short. Anything else counts as long. Raises nothing: a text
// that does not tokenize is long (the query itself reports the fault).

#include <QString>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <utility>

class TDbBackend;

class TReadGate {
public:
    explicit TReadGate(int lanes)
        : lanes_(lanes)
    {
    }
    TReadGate(const TReadGate&) = delete;
    TReadGate& operator=(const TReadGate&) = delete;

    class Pass {
    public:
        Pass() = default;
        Pass(Pass&& other) noexcept
            : gate_(std::exchange(other.gate_, nullptr))
        {
        }
        Pass& operator=(Pass&& other) noexcept;
        ~Pass() { Leave(); }
        void Leave();
        bool Holds() const { return gate_ != nullptr; }

    private:
        friend class TReadGate;
        explicit Pass(TReadGate* gate)
            : gate_(gate)
        {
        }
        TReadGate* gate_ = nullptr;
    };

    Pass Enter();
    int Lanes() const { return lanes_; }
    // Long reads passing or waiting now (for tests and the log).
    int Busy() const;
    int Waiting() const;

private:
    void leave();

    const int lanes_;
    mutable std::mutex mutex_;
    std::condition_variable freed_;
    int busy_ = 0;
    std::uint64_t nextTicket_ = 0; // handed to the next one who comes
    std::uint64_t serving_ = 0; // the ticket whose turn it is
};

bool IsKeyRead(const QString& sql, const TDbBackend& db);
