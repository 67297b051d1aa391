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
#include <QString>
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
    // Connects with a libpq connection text ("host=... port=... dbname=...").
    // Raises EDatabaseError with the server's reason when that fails.
    explicit TPgConnection(const QString& conninfo);
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

    // True inside a transaction block (also a failed one).
    bool InTransaction() const;
    // True when the connection is broken (the server went away).
    bool Broken() const;

    // Raises EDatabaseError: what, then the server's message of the result
    // (or of the connection when result is null).
    [[noreturn]] void Raise(const QString& what, const pg_result* result = nullptr) const;

private:
    // Checks the outcome of a finished statement; raises on an error.
    TPgResult checked(TPgResult result, const char* what);

    pg_conn* conn_ = nullptr;
};

// The statement with each "?" place outside literals, quoted names and
// comments written as "$1", "$2", ... in order; count receives their number.
// Raises EDatabaseError for an unterminated literal or comment.
QString PgPlaceholders(const QString& sql, int* count = nullptr);

// A name as an SQL identifier: as it stands when it is a plain lower-case
// name, else in double quotes (inner quotes doubled).
QString PgIdentifier(const QString& name);
