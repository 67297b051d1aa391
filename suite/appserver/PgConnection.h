#pragma once
// One libpq connection and the results it hands back, for the PostgreSQL back
// end. Nothing here knows the server's tables; it runs statements and raises.
//
// Parameters: a statement written with "?" places (the server's own
// statements, as for SQLite) is turned into "$1", "$2", ... by PgPlaceholders;
// values are then sent apart from the text, never pasted into it. Texts,
// numbers and Booleans go as untyped texts, so that the server gives each the
// type of the column it meets (as SQLite's loose typing lets "1" meet an
// integer column); byte arrays go as bytea in binary form; Null and
// Unassigned as SQL NULL.

#include "runtime/system/Variant.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>
#include <list>
#include <memory>

struct pg_conn;
struct pg_result;

// Owns a PGresult (PQclear on destruction). Null after a move.
class TPgResult {
public:
    TPgResult() = default;
    explicit TPgResult(pg_result* result)
        : result_(result)
    {
    }
    pg_result* get() const { return result_.get(); }
    explicit operator bool() const { return result_ != nullptr; }
    int Rows() const;
    int Columns() const;
    // Rows a statement changed (PQcmdTuples); 0 when it tells none.
    qint64 Changed() const;

private:
    struct Clear {
        void operator()(pg_result* r) const;
    };
    std::unique_ptr<pg_result, Clear> result_;
};

class TPgConnection {
public:
    // Connects with a libpq connection text ("host=... port=... dbname=...")
    // and runs setup (session settings; may be empty). Raises EDatabaseError
    // with the server's reason when that fails.
    explicit TPgConnection(const QString& conninfo, const QByteArray& setup = {});
    ~TPgConnection();
    TPgConnection(const TPgConnection&) = delete;
    TPgConnection& operator=(const TPgConnection&) = delete;

    pg_conn* Handle() const { return conn_; }

    // Runs one statement written with "$n" places and the values bound to
    // them; answers its result (rows or a command status). Raises
    // EDatabaseError with the server's message on failure.
    TPgResult Exec(const QByteArray& sql, const VariantList& params = {});
    // Runs a text of one or more statements without parameters (the simple
    // protocol). Raises EDatabaseError.
    TPgResult Script(const QByteArray& sql);
    // Sends a statement without waiting for its answer; Take() collects it.
    void Send(const QByteArray& sql);
    // The answer of the statement sent last. Raises EDatabaseError.
    TPgResult Take();

    // Sends a query whose rows are then read one by one with NextRow
    // (libpq's single-row mode): the server sends rows as it makes them, and
    // the caller reads the first ones while the rest are still coming.
    // statement: the name Prepared gave, or empty to send sql itself.
    // Raises EDatabaseError when it cannot be sent.
    void SendRows(const QByteArray& sql, const VariantList& params, const QByteArray& statement = {});
    // The next row of the query SendRows sent: a result of one row; at the
    // end the query's closing result (no rows, the same columns), then an
    // empty result. Raises EDatabaseError with the server's message when the
    // query fails (the connection is then ready again); sqlState receives
    // the failure's SQLSTATE.
    TPgResult NextRow(QByteArray* sqlState = nullptr);
    // Asks the server to stop the query SendRows sent and reads what is left
    // of it, so that the connection is ready for the next statement.
    // Raises nothing; a connection that cannot be cancelled is left broken.
    void CancelRows() noexcept;

    // The name of sql prepared on this connection with placeCount "$n"
    // places of unspecified type: prepared when first met; the server then
    // keeps its plan once the plan no longer depends on the values. The 64
    // met last stay prepared. Raises EDatabaseError when the server refuses
    // to prepare it, and remembers that: an empty name is answered for sql
    // from then on. Preparing inside a transaction ends it in error on refusal.
    QByteArray Prepared(const QByteArray& sql, int placeCount);
    // Drops what Prepared knows of sql (its plan no longer fits the tables).
    void ForgetPrepared(const QByteArray& sql);

    // True inside a transaction block (also a failed one).
    bool InTransaction() const;
    // True when the connection is known to be broken (a statement found the
    // server gone; an idle connection is not checked).
    bool Broken() const;
    // Connects again (after the server restarted) and runs the setup again.
    // Raises EDatabaseError when the server cannot be reached.
    void Reconnect();

    // Raises EDatabaseError: what, then the server's message of the result
    // (or of the connection when result is null).
    [[noreturn]] void Raise(const QString& what, const pg_result* result = nullptr) const;

private:
    // Checks the outcome of a finished statement; raises on an error.
    TPgResult checked(TPgResult result, const char* what);

    void prepareSession();

    pg_conn* conn_ = nullptr;
    QByteArray setup_;
    // Prepared statements by text: name (empty when refused), newest first.
    QHash<QByteArray, QByteArray> prepared_;
    std::list<QByteArray> preparedOrder_;
    int preparedCount_ = 0; // for the next name
};

// The statement with each "?" place outside literals, quoted names and
// comments written as "$1", "$2", ... in order; count receives their number.
// Raises EDatabaseError for an unterminated literal or comment.
QString PgPlaceholders(const QString& sql, int* count = nullptr);

// A client query written with "?" places (numbered "$1", "$2", ... as
// PgPlaceholders does), with each text literal that stands right after a
// comparison operator ("=", "<", ">", and so "<=", ">=", "<>", "!=") written
// as a further place numbered after them, and the literal's value in values
// (quotes undone): "TO001='A511'" becomes "TO001=$1". A key query then has one
// text for every key, so its plan can be kept. Literals elsewhere stay as they
// are: in a select list or a LIKE pattern a place would have no type for the
// server to infer, or a worse plan. Raises EDatabaseError for an unterminated
// literal or comment.
struct PgParameterized {
    QString text;
    int places = 0; // "?" places of the client text
    QStringList values; // the literals, places places+1 onwards
    bool keyLookup = false; // values were found, each compared with "=" (a key, not a range)
};
PgParameterized PgLiteralParameters(const QString& sql);

// A name as an SQL identifier: as it stands when it is a plain lower-case
// name, else in double quotes (inner quotes doubled).
QString PgIdentifier(const QString& name);
