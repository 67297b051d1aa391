#pragma once
// The database behind the application server. The server's operations speak
// to one TDbBackend and never to an engine directly, so that another engine
// (PostgreSQL through libpq) is one more class and nothing else changes.
//
// Statements use "?" placeholders; every value the server puts into its own
// statements is bound, never pasted. Texts that arrive from clients run with
// an access level that the back end enforces itself (a read-only query cannot
// write, a send-log insert cannot drop a table); whatever the level, a client
// text never runs VACUUM, ATTACH, DETACH, PRAGMA or transaction control, and
// it runs within a time budget and the engine's length and memory limits.

#include "runtime/system/Exceptions.h"
#include "runtime/system/Variant.h"
#include "suite/appserver/DbCatalogue.h"

#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <memory>

// What a statement may do. Server statements are our own; the others are
// texts received from clients.
enum class SqlAccess {
    Server, // trusted: any single statement
    Read, // a query that the engine itself reports as read-only
    ReadInsert, // a query, or an insert (the send log)
    Update, // an update of existing rows (print counts)
};

// Column kinds as the data packets need them.
enum class DbColumnKind { Text, Integer, Float, Blob, Unknown };

// Rows of one statement, read forwards. Owned by the caller; the back end
// stays usable while a cursor lives (a new statement may reset an older one
// of the same text).
class TDbCursor {
public:
    virtual ~TDbCursor();
    // Steps to the next row; false after the last one. Raises EDatabaseError.
    virtual bool Next() = 0;
    virtual int ColumnCount() const = 0;
    virtual QString ColumnName(int column) const = 0;
    // The declared kind of a result column (from the schema; Unknown for expressions).
    virtual DbColumnKind ColumnKind(int column) const = 0;
    // Values of the current row.
    virtual bool IsNull(int column) const = 0;
    virtual QString Text(int column) const = 0;
    // The text as UTF-8, valid until the cursor moves (no copy where the engine allows).
    virtual QByteArrayView Utf8(int column) const = 0;
    // Utf8 for a value that is not null, false for a null: what a provider
    // asks of every cell, in one step where the engine allows.
    virtual bool Utf8IfNotNull(int column, QByteArrayView& text) const
    {
        if (IsNull(column))
            return false;
        text = Utf8(column);
        return true;
    }
    virtual qint64 Int64(int column) const = 0;
    virtual double Double(int column) const = 0;
    // The value as a Variant: Null, Integer, Float, String or Bytes.
    virtual Variant Value(int column) const = 0;
};

class TDbBackend {
public:
    virtual ~TDbBackend();

    // "SQLITE", "POSTGRESQL", ...
    virtual QString Kind() const = 0;
    // The table name that a "$$" prefixed name in a client text binds to.
    virtual QString BindTableName(const QString& table) const = 0;
    // The string concatenation operator of the engine.
    virtual QString ConcatOperator() const { return QStringLiteral("||"); }
    // The dialect the module is told to write in: 0 LEFT JOIN, 1 "(+)".
    virtual int SqlType() const { return 0; }
    // True when the column holds text in some table of the database; decides
    // whether "+" next to it is a concatenation.
    bool IsTextColumn(const QString& column) const { return catalogue_.IsTextColumn(column); }
    // True when the table exists, and when it has the column.
    bool HasTable(const QString& table) const { return catalogue_.HasTable(table); }
    bool HasColumn(const QString& table, const QString& column) const
    {
        return catalogue_.HasColumn(table, column);
    }
    // True when rows that agree on these columns are one row at most (they
    // include the table's primary key or a unique index).
    bool CoversUniqueKey(const QString& table, const QStringList& columns) const
    {
        return catalogue_.CoversUniqueKey(table, columns);
    }
    // True for an engine that runs LEFT JOINs in the order written; the
    // server then moves joins that fan out behind the look-ups.
    virtual bool KeepsOuterJoinOrder() const { return false; }

    // Starts a client call: the time a client statement (any access but
    // Server) started from now on may run; 0: no limit. A statement's time
    // is what the server spends on it inside client calls (each call from
    // its first step of the statement to its last), so a client that fetches
    // rows in several calls is not charged for the time between them. A
    // statement over its budget fails with EDatabaseError and the back end
    // stays usable.
    virtual void SetClientTimeBudget(int milliseconds) = 0;

    // Runs a query and hands back its rows. Raises EDatabaseError.
    virtual std::unique_ptr<TDbCursor> Query(
        const QString& sql, const VariantList& params = {}, SqlAccess access = SqlAccess::Server)
        = 0;
    // Runs a statement; answers the number of rows it changed. Raises EDatabaseError.
    virtual qint64 Execute(
        const QString& sql, const VariantList& params = {}, SqlAccess access = SqlAccess::Server)
        = 0;
    // Runs a script of several statements (schema files). Server use only.
    virtual void ExecuteScript(const QString& script) = 0;
    // Adds rows to a table, each row's values in the order of columns. The
    // names are the server's own (never a client's text). Loads in bulk
    // where the engine can (PostgreSQL: COPY); by default one bound INSERT a
    // row. Raises EDatabaseError.
    virtual void InsertRows(const QString& table, const QStringList& columns, const QList<VariantList>& rows);

    virtual void Begin() = 0;
    virtual void Commit() = 0;
    virtual void Rollback() = 0;

protected:
    // Filled by the engine when it opens and after a script that creates tables.
    TDbCatalogue catalogue_;
};

// The back end of a database type as named in StewardS.ini ("SQLITE" or
// "POSTGRESQL"; type names are compared without regard to case), opened on
// location: for SQLite a native file path, for PostgreSQL a libpq connection
// text (PgBackend.h). Raises EDatabaseError for an unknown type or a database
// that cannot be opened. create: make the file (the schema) when it is missing.
std::unique_ptr<TDbBackend> OpenBackend(const QString& type, const QString& location, bool create = false);

// Rolls back unless committed: for statements that must go in together.
class TDbTransaction {
public:
    explicit TDbTransaction(TDbBackend& db)
        : db_(db)
    {
        db_.Begin();
    }
    ~TDbTransaction();
    TDbTransaction(const TDbTransaction&) = delete;
    TDbTransaction& operator=(const TDbTransaction&) = delete;
    void Commit();

private:
    TDbBackend& db_;
    bool done_ = false;
};
