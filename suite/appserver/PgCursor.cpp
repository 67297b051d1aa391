#include "suite/appserver/PgCursor.h"

#include "runtime/system/Exceptions.h"

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

// Set once on every reader connection. Reports read every row, so the
// planner plans for the whole result (a cursor otherwise favours the first
// tenth); a client that stops asking for a stream's rows does not hold its
// transaction open for ever.
constexpr char readerSetup[] = "SET default_transaction_read_only = on; SET cursor_tuple_fraction = 1.0; "
                               "SET idle_in_transaction_session_timeout = '15min'";

} // namespace

TPgReaderPool::Lease::~Lease()
{
    if (auto pool = pool_.lock(); pool && conn_ && !conn_->Broken() && !conn_->InTransaction())
        pool->give(std::move(conn_));
}

TPgReaderPool::Lease TPgReaderPool::Take()
{
    std::unique_ptr<TPgConnection> conn;
    if (!idle_.empty()) {
        conn = std::move(idle_.back());
        idle_.pop_back();
    } else {
        conn = std::make_unique<TPgConnection>(conninfo_);
        conn->Script(readerSetup);
    }
    return Lease(shared_from_this(), std::move(conn));
}

void TPgReaderPool::give(std::unique_ptr<TPgConnection> conn)
{
    if (idle_.size() < idleLimit)
        idle_.push_back(std::move(conn));
}

TPgStream::TPgStream(TPgReaderPool::Lease lease, const QByteArray& sql, const VariantList& params, int timeoutMs)
    : lease_(std::move(lease))
{
    try {
        lease_->Script("BEGIN READ ONLY; SET LOCAL statement_timeout = " + QByteArray::number(timeoutMs));
        lease_->Exec("DECLARE zorv_rows NO SCROLL CURSOR FOR " + sql, params);
        lease_->Send(fetchStatement());
        pending_ = true;
    } catch (...) {
        close();
        throw;
    }
}

TPgStream::~TPgStream()
{
    close();
}

QByteArray TPgStream::fetchStatement()
{
    return "FETCH " + QByteArray::number(BatchRows) + " FROM zorv_rows";
}

TPgResult TPgStream::NextBatch()
{
    if (done_ || !pending_)
        return TPgResult();
    pending_ = false;
    TPgResult batch;
    try {
        batch = lease_->Take();
    } catch (...) {
        close();
        throw;
    }
    if (batch.Rows() < BatchRows) {
        done_ = true;
        close();
    } else {
        // The server reads the next rows while the caller reads these.
        lease_->Send(fetchStatement());
        pending_ = true;
    }
    return batch;
}

void TPgStream::close() noexcept
{
    if (closed_)
        return;
    closed_ = true;
    try {
        if (pending_) {
            pending_ = false;
            lease_->Take();
        }
    } catch (const Exception&) {
        // the batch nobody will read failed: the rollback below still ends it
    }
    try {
        if (lease_->InTransaction())
            lease_->Script("ROLLBACK");
    } catch (const Exception&) {
        // a connection still in its transaction is not given back to the pool
    }
}

TPgCursor::TPgCursor(TPgResult result, std::unique_ptr<TPgStream> stream)
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
    TPgResult batch = stream_->NextBatch();
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
    const QString name = QString::fromUtf8(PQfname(result_.get(), column));
    // Unquoted names come folded to lower case; the suite writes them upper.
    return name == name.toLower() ? name.toUpper() : name;
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
    return QString::fromUtf8(PQgetvalue(result_.get(), row_, column), PQgetlength(result_.get(), row_, column));
}

QByteArrayView TPgCursor::Utf8(int column) const
{
    return QByteArrayView(PQgetvalue(result_.get(), row_, column), PQgetlength(result_.get(), row_, column));
}

bool TPgCursor::Utf8IfNotNull(int column, QByteArrayView& text) const
{
    if (PQgetisnull(result_.get(), row_, column))
        return false;
    text = Utf8(column);
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
    return std::strtod(PQgetvalue(result_.get(), row_, column), nullptr);
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
