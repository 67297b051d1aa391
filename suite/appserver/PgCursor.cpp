#include "suite/appserver/PgCursor.h"

#include "runtime/system/Exceptions.h"

#include <charconv>
#include <cstdlib>
#include <libpq-fe.h>

namespace {

// Type oids of the server's built-in types (pg_type.dat); stable across versions.
constexpr Oid boolOid = 16, byteaOid = 17, charOid = 18, nameOid = 19, int8Oid = 20, int2Oid = 21,
              int4Oid = 23, textOid = 25, oidOid = 26, float4Oid = 700, float8Oid = 701, bpcharOid = 1042,
              varcharOid = 1043, numericOid = 1700;

DbColumnKind kindOf(Oid type)
{
    switch (type) {
    case boolOid:
    case int2Oid:
    case int4Oid:
    case int8Oid:
    case oidOid:
        return DbColumnKind::Integer;
    case float4Oid:
    case float8Oid:
    case numericOid:
        return DbColumnKind::Float;
    case textOid:
    case varcharOid:
    case bpcharOid:
    case charOid:
    case nameOid:
        return DbColumnKind::Text;
    case byteaOid:
        return DbColumnKind::Blob;
    default:
        return DbColumnKind::Unknown;
    }
}

// How many idle reader connections wait for the next client text.
constexpr std::size_t idleLimit = 2;

// Set once on every reader connection.
// - No JIT: a report query joins some twenty tables over 300 columns; compiled
//   and inlined, its expressions took 17 s before the first row of the
//   800,000-row stream (230 ms without), and the month query never runs long
//   enough to win it back.
// - Sorts of a report's rows (a month: 5,500 rows of 5 kB) stay in memory
//   rather than spilling to disk at the default 4 MB.
// - A client that stops asking for a stream's rows does not hold its
//   transaction open for ever.
// - No parallel plans: a report row is some 5 kB wide, and handing such rows
//   from workers to the leader cost more than it saved (all slips: 32 s in
//   parallel, 28 s in one process, on two cores).
constexpr char readerSetup[]
    = "SET default_transaction_read_only = on; SET jit = off; SET work_mem = '64MB'; "
      "SET idle_in_transaction_session_timeout = '15min'; "
      "SET max_parallel_workers_per_gather = 0";

} // namespace

TPgReaderPool::Lease::~Lease()
{
    if (auto pool = pool_.lock(); pool && conn_ && !conn_->Broken() && !conn_->InTransaction())
        pool->give(std::move(conn_));
}

TPgReaderPool::Lease TPgReaderPool::Begin(const QByteArray& begin)
{
    while (!idle_.empty()) {
        std::unique_ptr<TPgConnection> conn = std::move(idle_.back());
        idle_.pop_back();
        try {
            conn->Script(begin);
            return Lease(shared_from_this(), std::move(conn));
        } catch (const EDatabaseError&) {
            // Broken while idle (a restart, an administrator): a BEGIN did
            // nothing, so it is safe to try it on a new connection.
            if (!conn->Broken())
                throw;
        }
    }
    auto conn = std::make_unique<TPgConnection>(conninfo_, readerSetup);
    conn->Script(begin);
    return Lease(shared_from_this(), std::move(conn));
}

void TPgReaderPool::give(std::unique_ptr<TPgConnection> conn)
{
    if (idle_.size() < idleLimit)
        idle_.push_back(std::move(conn));
}

namespace {

// Failures after which a kept plan is dropped and the text runs unprepared:
// "cached plan must not change result type" (a table read with "*" changed)
// and "prepared statement does not exist".
bool planNoLongerFits(const QByteArray& sqlState)
{
    return sqlState == "0A000" || sqlState == "26000";
}

} // namespace

TPgRowStream::TPgRowStream(TPgReaderPool::Lease lease, QByteArray begin, const QByteArray& sql,
    const VariantList& params, int placeCount)
    : lease_(std::move(lease))
    , begin_(std::move(begin))
    , sql_(sql)
    , params_(params)
    , placeCount_(placeCount)
{
    try {
        send(true);
    } catch (...) {
        close();
        throw;
    }
}

TPgRowStream::~TPgRowStream()
{
    close();
}

void TPgRowStream::send(bool prepare)
{
    QByteArray statement;
    if (prepare) {
        try {
            statement = lease_->Prepared(sql_, placeCount_);
        } catch (const EDatabaseError&) {
            if (lease_->Broken())
                throw;
            // Refused (a place whose type the server cannot infer): the
            // failed transaction is begun again for the text as it stands.
            lease_->Script("ROLLBACK; " + begin_);
        }
    }
    prepared_ = !statement.isEmpty();
    lease_->SendRows(sql_, params_, statement);
    running_ = true;
}

TPgResult TPgRowStream::Next()
{
    if (!running_)
        return TPgResult();
    QByteArray sqlState;
    try {
        TPgResult row = lease_->NextRow(&sqlState);
        running_ = row && row.Rows() > 0;
        started_ = started_ || running_;
        if (!running_)
            close();
        return row;
    } catch (const EDatabaseError&) {
        running_ = false;
        if (prepared_ && !started_ && planNoLongerFits(sqlState) && !lease_->Broken()) {
            lease_->ForgetPrepared(sql_);
            try {
                lease_->Script("ROLLBACK; " + begin_);
                send(false);
            } catch (...) {
                close();
                throw;
            }
            return Next();
        }
        close();
        throw;
    }
}

void TPgRowStream::close() noexcept
{
    if (closed_)
        return;
    closed_ = true;
    if (running_) {
        running_ = false;
        lease_->CancelRows();
    }
    try {
        if (!lease_->Broken() && lease_->InTransaction())
            lease_->Script("ROLLBACK");
    } catch (const Exception&) {
        // a connection still in its transaction is not given back to the pool
    }
}

TPgCursor::TPgCursor(TPgResult result, std::unique_ptr<TPgRowStream> stream)
    : result_(std::move(result))
    , stream_(std::move(stream))
{
    const int n = result_.Columns();
    kinds_.reserve(n);
    booleans_.reserve(n);
    for (int i = 0; i < n; ++i) {
        const Oid type = PQftype(result_.get(), i);
        kinds_.push_back(kindOf(type));
        booleans_.push_back(type == boolOid);
    }
}

TPgCursor::~TPgCursor() = default;

bool TPgCursor::Next()
{
    if (++row_ < result_.Rows())
        return true;
    if (!stream_)
        return false;
    TPgResult batch = stream_->Next();
    if (!batch || batch.Rows() == 0) {
        stream_.reset(); // the connection goes back now, not when the cursor does
        row_ = result_.Rows();
        return false;
    }
    result_ = std::move(batch);
    row_ = 0;
    return true;
}

int TPgCursor::ColumnCount() const
{
    return static_cast<int>(kinds_.size());
}

QString TPgCursor::ColumnName(int column) const
{
    // Unquoted names come with their ASCII letters folded to lower case (the
    // server folds no others); the suite writes them upper.
    const char* name = PQfname(result_.get(), column);
    for (const char* p = name; *p; ++p)
        if (*p >= 'A' && *p <= 'Z')
            return QString::fromUtf8(name);
    return QString::fromUtf8(name).toUpper();
}

DbColumnKind TPgCursor::ColumnKind(int column) const
{
    return kinds_[column];
}

bool TPgCursor::IsNull(int column) const
{
    return PQgetisnull(result_.get(), row_, column);
}

QString TPgCursor::Text(int column) const
{
    return QString::fromUtf8(
        PQgetvalue(result_.get(), row_, column), PQgetlength(result_.get(), row_, column));
}

QByteArrayView TPgCursor::Utf8(int column) const
{
    return QByteArrayView(PQgetvalue(result_.get(), row_, column), PQgetlength(result_.get(), row_, column));
}

bool TPgCursor::Utf8IfNotNull(int column, QByteArrayView& text) const
{
    // Each libpq accessor checks its row and column again; a null has length
    // 0, so most cells need two calls, not three.
    const int length = PQgetlength(result_.get(), row_, column);
    if (length == 0 && PQgetisnull(result_.get(), row_, column))
        return false;
    text = QByteArrayView(PQgetvalue(result_.get(), row_, column), length);
    return true;
}

qint64 TPgCursor::Int64(int column) const
{
    const char* p = PQgetvalue(result_.get(), row_, column);
    if (booleans_[column])
        return *p == 't' ? 1 : 0;
    return std::strtoll(p, nullptr, 10);
}

double TPgCursor::Double(int column) const
{
    // from_chars reads the server's text form ("12.5000", "-1e+300", "NaN",
    // "Infinity") without strtod's locale handling, which showed in profiles
    // of streamed reports.
    const char* p = PQgetvalue(result_.get(), row_, column);
    double value = 0;
    const auto [end, error] = std::from_chars(p, p + PQgetlength(result_.get(), row_, column), value);
    if (error != std::errc())
        return std::strtod(p, nullptr);
    return value;
}

Variant TPgCursor::Value(int column) const
{
    if (IsNull(column))
        return Variant::Null();
    switch (kinds_[column]) {
    case DbColumnKind::Integer:
        return Variant(static_cast<long long>(Int64(column)));
    case DbColumnKind::Float:
        return Variant(Double(column));
    case DbColumnKind::Blob: {
        size_t length = 0;
        unsigned char* bytes = PQunescapeBytea(
            reinterpret_cast<const unsigned char*>(PQgetvalue(result_.get(), row_, column)), &length);
        const QByteArray value(reinterpret_cast<const char*>(bytes), static_cast<qsizetype>(length));
        PQfreemem(bytes);
        return Variant(value);
    }
    default:
        return Variant(Text(column));
    }
}
