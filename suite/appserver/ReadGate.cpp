#include "suite/appserver/ReadGate.h"

#include "suite/appserver/DbBackend.h"
#include "suite/appserver/SqlTokens.h"

#include <QSet>

TReadGate::Pass& TReadGate::Pass::operator=(Pass&& other) noexcept
{
    if (this != &other) {
        Leave();
        gate_ = std::exchange(other.gate_, nullptr);
    }
    return *this;
}

void TReadGate::Pass::Leave()
{
    if (gate_)
        std::exchange(gate_, nullptr)->leave();
}

TReadGate::Pass TReadGate::Enter()
{
    if (lanes_ <= 0)
        return Pass();
    std::unique_lock lock(mutex_);
    const std::uint64_t ticket = nextTicket_++;
    freed_.wait(lock, [&] { return ticket == serving_ && busy_ < lanes_; });
    ++busy_;
    ++serving_;
    // The next in line may find a lane free as well.
    freed_.notify_all();
    return Pass(this);
}

void TReadGate::leave()
{
    {
        std::lock_guard lock(mutex_);
        --busy_;
    }
    freed_.notify_all();
}

int TReadGate::Busy() const
{
    std::lock_guard lock(mutex_);
    return busy_;
}

int TReadGate::Waiting() const
{
    std::lock_guard lock(mutex_);
    return static_cast<int>(nextTicket_ - serving_);
}

bool IsKeyRead(const QString& sql, const TDbBackend& db)
{
    using namespace sqltokens;
    QList<Token> tokens;
    try {
        tokens = tokenize(sql);
    } catch (const Exception&) {
        return false;
    }
    QSet<QString> tables;
    QStringList equated;
    const Token* before = nullptr; // the two significant tokens before this one
    const Token* last = nullptr;
    for (const Token& t : tokens) {
        if (!significant(t))
            continue;
        if (isWord(t, "OR") || isWord(t, "NOT"))
            return false;
        if (t.kind == Tok::Word) {
            if (QString table = tableOfWord(t.text); db.HasTable(table))
                tables.insert(std::move(table));
        }
        const bool value = t.kind == Tok::String || t.kind == Tok::Number || isPunct(t, "?");
        if (value && last && isPunct(*last, "=") && before && before->kind == Tok::Word)
            equated << tableOfWord(before->text); // of "A.HB" as of "$$H": the last part
        before = last;
        last = &t;
    }
    if (equated.isEmpty())
        return false;
    for (const QString& table : tables)
        if (db.CoversUniqueKey(table, equated))
            return true;
    return false;
}
