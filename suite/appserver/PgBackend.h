#pragma once
// The PostgreSQL back end (libpq): a company database is one schema of a
// PostgreSQL database; "$$MOCTO" binds to schema.MOCTO, and the schema is the
// first entry of the connection's search_path (given in the connection text
// as options='-c search_path=<schema>'), so the server's own unqualified
// statements find the same tables.
//
// Connections: the main connection runs the server's own statements and
// transactions; their queries come back whole (they are small look-ups).
// Every client text (any access but Server) runs on a reader connection of
// its own, taken from a small pool:
// - a query streams: it runs in a READ ONLY transaction and its rows come
//   one by one as the server makes them (PgCursor.h); the transaction is
//   rolled back when the cursor ends, so nothing a query changed in the
//   session (set_config, search_path) outlives it. Other statements may run
//   while a cursor is open. Text literals compared with a column become
//   parameters (PgLiteralParameters), and the query a prepared statement of
//   its reader connection, so that a key query asked again with other keys
//   is not planned again.
// - an insert or update runs in a transaction of its own, committed.
// - each statement (a query with the reading of its rows) runs under a statement_timeout,
//   by access level (SetStatementTimeout); over it, the server cancels it and
//   the call raises EDatabaseError.
// - every client statement runs as the client role "<login>_client"
//   (SET LOCAL ROLE inside its transaction): a role of its own that holds
//   SELECT, INSERT and UPDATE on the schema's tables but none on the users'
//   password table (ADMMP), is no super user and lacks pg_read_all_stats,
//   and of which the login is a member but not the other way round. So a
//   client read sees no other session's statement in pg_stat_activity (all
//   of them run under the login or other roles). The back end makes the
//   role when the login may (CREATEROLE); otherwise opening fails, naming
//   the two statements an administrator runs. Grants it lacks are given at
//   open and after a script that creates tables.
// Client texts are checked first (PgClientText.h). A client text inside an
// open transaction of the server raises: client statements are never part of
// the server's transactions.
//
// A restarted server: the statement that finds the main connection broken
// fails, and the next call connects again; a reader connection found broken
// when its transaction begins is replaced at once.
//
// Names: PostgreSQL folds unquoted names to lower case, so the schema's tables
// and columns are lower case; result column names that are all lower case are
// handed out in upper case, the suite's spelling (a quoted lower-case alias
// comes out in upper case too). Text columns of the demo schema use the
// binary "C" collation, as the suite's databases sort by code.

#include "suite/appserver/DbBackend.h"

#include <QHash>
#include <QSet>
#include <memory>

class TPgConnection;
class TPgReaderPool;

class TPgBackend : public TDbBackend {
public:
    // Connects with a libpq connection text. Raises EDatabaseError when the
    // server cannot be reached or refuses, and when the schema of the
    // search_path does not exist (create: it is made instead).
    TPgBackend(const QString& conninfo, bool create);
    ~TPgBackend() override;
    TPgBackend(const TPgBackend&) = delete;
    TPgBackend& operator=(const TPgBackend&) = delete;

    QString Kind() const override { return QStringLiteral("POSTGRESQL"); }
    QString BindTableName(const QString& table) const override;

    std::unique_ptr<TDbCursor> Query(
        const QString& sql, const VariantList& params, SqlAccess access) override;
    qint64 Execute(const QString& sql, const VariantList& params, SqlAccess access) override;
    void ExecuteScript(const QString& script) override;
    void InsertRows(
        const QString& table, const QStringList& columns, const QList<VariantList>& rows) override;
    void Begin() override;
    void Commit() override;
    void Rollback() override;

    // The time a client statement of that access level may run, in
    // milliseconds (0: no limit). Defaults: 120 s for reads (until the last
    // row is read), 10 s for inserts and updates. Server statements have none.
    void SetStatementTimeout(SqlAccess access, int milliseconds);
    // The server's budget for the client statements of the calls to come: it
    // replaces the per-level defaults as each statement's
    // statement_timeout; 0: no limit.
    void SetClientTimeBudget(int milliseconds) override;
    // The schema that "$$" names bind to.
    QString Schema() const { return schema_; }

private:
    void loadCatalogue();
    // Finds (or makes) the client role and checks it sees no other session; raises.
    void prepareClientRole();
    void grantClientRole();
    // The script that begins a client statement's transaction.
    QByteArray beginClient(SqlAccess access) const;
    // The main connection, connected again when a statement found it broken.
    TPgConnection& main();

    std::unique_ptr<TPgConnection> main_;
    std::shared_ptr<TPgReaderPool> readers_;
    QString schema_;
    QString clientRole_; // the role client statements run as
    QSet<QString>
        schemas_; // every schema of the database at open, lower case: client texts reach only schema_
    QHash<int, int> timeouts_; // SqlAccess -> milliseconds
    int clientBudget_ = -1; // milliseconds; -1: none given, the per-level defaults hold
    bool transaction_ = false; // between Begin and Commit or Rollback
};
