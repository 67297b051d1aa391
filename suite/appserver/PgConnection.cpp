#include "suite/appserver/PgConnection.h"

#include "runtime/system/Exceptions.h"
#include "suite/appserver/SqlTokens.h"

#include <libpq-fe.h>
#include <vector>

namespace {

constexpr Oid byteaOid = 17;

// Prepared statements kept on one connection. A session's reports ask a few
// query shapes again and again; the cap bounds the server memory their plans
// hold (a report query's plan is some hundreds of kB).
constexpr std::size_t preparedLimit = 64;

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

TPgConnection::TPgConnection(const QString& conninfo, const QByteArray& setup)
    : setup_(setup)
{
    conn_ = PQconnectdb(conninfo.toUtf8().constData());
    if (!conn_ || PQstatus(conn_) != CONNECTION_OK) {
        const QString reason = conn_ ? serverMessage(conn_, nullptr) : QStringLiteral("out of memory");
        PQfinish(conn_);
        conn_ = nullptr;
        throw EDatabaseError(QStringLiteral("cannot connect to PostgreSQL: %1").arg(reason));
    }
    // Notices ("schema ... does not exist, skipping") are no failures; libpq
    // would print them on the server's standard error.
    PQsetNoticeProcessor(
        conn_, [](void*, const char*) {}, nullptr);
    prepareSession();
}

void TPgConnection::prepareSession()
{
    if (PQsetClientEncoding(conn_, "UTF8") != 0)
        Raise(QStringLiteral("cannot set the client encoding"));
    if (!setup_.isEmpty())
        Script(setup_);
}

void TPgConnection::Reconnect()
{
    // The server forgot this session's prepared statements.
    prepared_.clear();
    preparedOrder_.clear();
    PQreset(conn_);
    if (PQstatus(conn_) != CONNECTION_OK)
        Raise(QStringLiteral("cannot connect to PostgreSQL again"));
    prepareSession();
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

void TPgConnection::SendRows(const QByteArray& sql, const VariantList& params, const QByteArray& statement)
{
    const BoundValues bound(params);
    const int sent = statement.isEmpty() ? PQsendQueryParams(conn_, sql.constData(), bound.Count(),
                         bound.Types(), bound.Values(), bound.Lengths(), bound.Formats(), 0)
                                         : PQsendQueryPrepared(conn_, statement.constData(), bound.Count(),
                                             bound.Values(), bound.Lengths(), bound.Formats(), 0);
    if (!sent)
        Raise(QStringLiteral("cannot send the statement"));
    if (!PQsetSingleRowMode(conn_)) {
        // Only refused right after a send that failed; read what came.
        Take();
        Raise(QStringLiteral("cannot read the rows one by one"));
    }
}

TPgResult TPgConnection::NextRow(QByteArray* sqlState)
{
    TPgResult row(PQgetResult(conn_));
    if (!row)
        return row;
    const ExecStatusType status = PQresultStatus(row.get());
    if (status == PGRES_SINGLE_TUPLE)
        return row;
    // The closing result, or a failure: the null result after it makes the
    // connection ready for the next statement.
    while (PGresult* rest = PQgetResult(conn_))
        PQclear(rest);
    if (status == PGRES_TUPLES_OK || status == PGRES_COMMAND_OK)
        return row;
    if (sqlState) {
        const char* code = PQresultErrorField(row.get(), PG_DIAG_SQLSTATE);
        *sqlState = code ? QByteArray(code) : QByteArray();
    }
    Raise(QStringLiteral("statement failed"), row.get());
}

void TPgConnection::CancelRows() noexcept
{
    if (PGcancel* cancel = PQgetCancel(conn_)) {
        char reason[256];
        PQcancel(cancel, reason, sizeof reason);
        PQfreeCancel(cancel);
    }
    // The rows sent before the server saw the request, then its error.
    while (PGresult* rest = PQgetResult(conn_))
        PQclear(rest);
}

QByteArray TPgConnection::Prepared(const QByteArray& sql, int placeCount)
{
    if (const auto known = prepared_.constFind(sql); known != prepared_.cend()) {
        if (!known->isEmpty()) {
            preparedOrder_.remove(sql);
            preparedOrder_.push_front(sql);
        }
        return *known;
    }
    if (preparedOrder_.size() >= preparedLimit) {
        const QByteArray oldest = preparedOrder_.back();
        preparedOrder_.pop_back();
        Script("DEALLOCATE " + prepared_.take(oldest));
    }
    const QByteArray name = "zorv_q" + QByteArray::number(++preparedCount_);
    // Unspecified types: each place takes the type of what it is compared with.
    const std::vector<Oid> types(static_cast<std::size_t>(placeCount), 0);
    const TPgResult done(PQprepare(conn_, name.constData(), sql.constData(), placeCount, types.data()));
    if (PQresultStatus(done.get()) != PGRES_COMMAND_OK) {
        if (!Broken())
            prepared_.insert(sql, QByteArray());
        Raise(QStringLiteral("cannot prepare the statement"), done.get());
    }
    prepared_.insert(sql, name);
    preparedOrder_.push_front(sql);
    return name;
}

void TPgConnection::ForgetPrepared(const QByteArray& sql)
{
    // The server still holds the statement; DEALLOCATE would need a
    // transaction that did not fail. The name is not used again, and the
    // statement goes with the connection.
    prepared_.remove(sql);
    preparedOrder_.remove(sql);
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

namespace {

bool isComparison(QStringView op)
{
    static constexpr QLatin1StringView comparisons[]
        = {QLatin1StringView("="), QLatin1StringView("<"), QLatin1StringView(">"), QLatin1StringView("<>"),
            QLatin1StringView("<="), QLatin1StringView(">="), QLatin1StringView("!=")};
    return std::find(std::begin(comparisons), std::end(comparisons), op) != std::end(comparisons);
}

} // namespace

PgParameterized PgLiteralParameters(const QString& sql)
{
    using namespace sqltokens;
    const QList<Token> tokens = tokenize(sql);
    PgParameterized out;
    for (const Token& t : tokens)
        out.places += isPunct(t, "?") ? 1 : 0;
    out.text.reserve(sql.size() + 16);
    int place = 0;
    const Token* previous = nullptr; // the last significant token
    for (const Token& t : tokens) {
        // An "E" or "N" right before the quote makes another kind of literal;
        // the tokenizer then gives a word before it, not an operator.
        const bool compared = previous && previous->kind == Tok::Punct && isComparison(previous->text);
        if (isPunct(t, "?")) {
            out.text += u'$' + QString::number(++place);
        } else if (t.kind == Tok::String && compared && t.text.size() >= 2 && t.text.startsWith(u'\'')) {
            out.keyLookup = (out.values.isEmpty() || out.keyLookup) && isPunct(*previous, "=");
            out.values << t.text.mid(1, t.text.size() - 2).replace(QLatin1String("''"), QLatin1String("'"));
            out.text += u'$' + QString::number(out.places + out.values.size());
        } else {
            out.text += t.text;
        }
        if (significant(t))
            previous = &t;
    }
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
