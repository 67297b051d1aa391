#include "suite/appserver/PgConnection.h"

#include "runtime/system/Exceptions.h"
#include "suite/appserver/SqlTokens.h"

#include <libpq-fe.h>
#include <vector>

namespace {

constexpr Oid byteaOid = 17;

QString serverMessage(const PGconn* conn, const PGresult* result)
{
    const char* text = result ? PQresultErrorMessage(result) : PQerrorMessage(conn);
    return QString::fromUtf8(text ? text : "").trimmed();
}

// The values of a statement's parameters as libpq takes them; the buffers
// live as long as this object.
class BoundValues {
public:
    explicit BoundValues(const VariantList& params)
    {
        const auto n = params.size();
        texts_.reserve(n);
        values_.resize(n);
        lengths_.resize(n);
        formats_.resize(n);
        types_.resize(n);
        for (qsizetype i = 0; i < n; ++i) {
            const Variant& v = params[i].Deref();
            switch (v.Type()) {
            case VarType::Unassigned:
            case VarType::Null:
                texts_.emplace_back();
                continue; // values_[i] stays null: SQL NULL
            case VarType::Boolean:
                texts_.push_back(v.ToInt64() ? "1" : "0");
                break;
            case VarType::Integer:
                texts_.push_back(QByteArray::number(v.ToInt64()));
                break;
            case VarType::Float:
                // 17 digits give the double back exactly.
                texts_.push_back(QByteArray::number(v.ToDouble(), 'g', 17));
                break;
            case VarType::Bytes:
                texts_.push_back(v.ToBytes());
                formats_[i] = 1;
                types_[i] = byteaOid;
                break;
            default:
                texts_.push_back(v.ToString().toUtf8());
                break;
            }
            values_[i] = texts_.back().constData();
            lengths_[i] = static_cast<int>(texts_.back().size());
        }
    }
    int Count() const { return static_cast<int>(values_.size()); }
    const char* const* Values() const { return values_.data(); }
    const int* Lengths() const { return lengths_.data(); }
    const int* Formats() const { return formats_.data(); }
    const Oid* Types() const { return types_.data(); }

private:
    std::vector<QByteArray> texts_;
    std::vector<const char*> values_;
    std::vector<int> lengths_;
    std::vector<int> formats_;
    std::vector<Oid> types_;
};

} // namespace

void TPgResult::Clear::operator()(pg_result* r) const
{
    PQclear(r);
}

int TPgResult::Rows() const
{
    return result_ ? PQntuples(result_.get()) : 0;
}

int TPgResult::Columns() const
{
    return result_ ? PQnfields(result_.get()) : 0;
}

qint64 TPgResult::Changed() const
{
    return result_ ? QByteArray(PQcmdTuples(result_.get())).toLongLong() : 0;
}

TPgConnection::TPgConnection(const QString& conninfo)
{
    conn_ = PQconnectdb(conninfo.toUtf8().constData());
    if (!conn_ || PQstatus(conn_) != CONNECTION_OK) {
        const QString reason = conn_ ? serverMessage(conn_, nullptr) : QStringLiteral("out of memory");
        PQfinish(conn_);
        conn_ = nullptr;
        throw EDatabaseError(QStringLiteral("cannot connect to PostgreSQL: %1").arg(reason));
    }
    if (PQsetClientEncoding(conn_, "UTF8") != 0)
        Raise(QStringLiteral("cannot set the client encoding"));
    // Notices ("schema ... does not exist, skipping") are no failures; libpq
    // would print them on the server's standard error.
    PQsetNoticeProcessor(conn_, [](void*, const char*) {}, nullptr);
}

TPgConnection::~TPgConnection()
{
    PQfinish(conn_);
}

void TPgConnection::Raise(const QString& what, const pg_result* result) const
{
    throw EDatabaseError(QStringLiteral("%1: %2").arg(what, serverMessage(conn_, result)));
}

TPgResult TPgConnection::checked(TPgResult result, const char* what)
{
    const ExecStatusType status = result ? PQresultStatus(result.get()) : PGRES_FATAL_ERROR;
    if (status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK)
        return result;
    Raise(QString::fromLatin1(what), result.get());
}

TPgResult TPgConnection::Exec(const QByteArray& sql, const VariantList& params)
{
    const BoundValues bound(params);
    return checked(TPgResult(PQexecParams(conn_, sql.constData(), bound.Count(), bound.Types(),
                       bound.Values(), bound.Lengths(), bound.Formats(), 0)),
        "statement failed");
}

TPgResult TPgConnection::Script(const QByteArray& sql)
{
    return checked(TPgResult(PQexec(conn_, sql.constData())), "statement failed");
}

void TPgConnection::Send(const QByteArray& sql)
{
    if (!PQsendQuery(conn_, sql.constData()))
        Raise(QStringLiteral("cannot send the statement"));
}

TPgResult TPgConnection::Take()
{
    // A statement's results end with a null one; an error among them wins
    // over the rows before it (the connection is then ready again).
    TPgResult kept;
    while (PGresult* r = PQgetResult(conn_)) {
        TPgResult next(r);
        if (!kept || PQresultStatus(kept.get()) != PGRES_FATAL_ERROR)
            kept = std::move(next);
    }
    return checked(std::move(kept), "statement failed");
}

bool TPgConnection::InTransaction() const
{
    const PGTransactionStatusType s = PQtransactionStatus(conn_);
    return s == PQTRANS_INTRANS || s == PQTRANS_INERROR || s == PQTRANS_ACTIVE;
}

bool TPgConnection::Broken() const
{
    return PQstatus(conn_) != CONNECTION_OK;
}

QString PgPlaceholders(const QString& sql, int* count)
{
    using namespace sqltokens;
    QString out;
    out.reserve(sql.size() + 16);
    int n = 0;
    for (const Token& t : tokenize(sql)) {
        if (isPunct(t, "?"))
            out += u'$' + QString::number(++n);
        else
            out += t.text;
    }
    if (count)
        *count = n;
    return out;
}

QString PgIdentifier(const QString& name)
{
    bool plain = !name.isEmpty() && (name[0].isLower() || name[0] == u'_');
    for (const QChar c : name)
        plain = plain && c.unicode() < 128 && (c.isLower() || c.isDigit() || c == u'_');
    if (plain)
        return name;
    return u'"' + QString(name).replace(u'"', QLatin1String("\"\"")) + u'"';
}
