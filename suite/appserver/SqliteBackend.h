#pragma once
// The embedded back end: one SQLite file per company database. Opened in WAL
// mode so that readers do not wait for writers; prepared statements are kept
// in a small cache keyed by text and access level. Client texts are prepared
// under an authorizer that allows only what their access level permits
// (listed functions only, no recursive query), a read-only level takes only
// what sqlite3_stmt_readonly calls read-only, and a progress handler stops a
// client statement when its time budget is spent.

#include "suite/appserver/DbBackend.h"

#include <QHash>

#include <chrono>

struct sqlite3;
struct sqlite3_stmt;

// The time one client statement may run: within each client call that steps
// it, from its first step to its last (the server's work on the rows in
// between counts too); the time between calls (a client fetching packets at
// its own pace) does not.
struct TStepBudget {
    using Clock = std::chrono::steady_clock;
    int limitMs = 0; // 0: no limit
    quint64 call = 0; // the client call of the last step
    Clock::time_point callStart {}; // first step in that call
    Clock::time_point lastEnd {}; // end of the last step
    Clock::duration used {}; // spent in earlier calls
};

class TSqliteBackend : public TDbBackend {
public:
    // Raises EDatabaseError when the file cannot be opened (or is missing and
    // create is false).
    TSqliteBackend(const QString& fileName, bool create);
    ~TSqliteBackend() override;
    TSqliteBackend(const TSqliteBackend&) = delete;
    TSqliteBackend& operator=(const TSqliteBackend&) = delete;

    QString Kind() const override { return QStringLiteral("SQLITE"); }
    QString BindTableName(const QString& table) const override { return table; }
    bool KeepsOuterJoinOrder() const override { return true; }
    // Also starts a new client call (TStepBudget).
    void SetClientTimeBudget(int milliseconds) override
    {
        clientBudgetMs_ = milliseconds;
        ++clientCall_;
    }

    std::unique_ptr<TDbCursor> Query(
        const QString& sql, const VariantList& params, SqlAccess access) override;
    qint64 Execute(const QString& sql, const VariantList& params, SqlAccess access) override;
    void ExecuteScript(const QString& script) override;
    void Begin() override;
    void Commit() override;
    void Rollback() override;

    QString FileName() const { return fileName_; }

private:
    friend class TSqliteCursor;
    // A prepared statement with the parameters bound; cached ones are reset
    // when their cursor ends. Raises EDatabaseError.
    sqlite3_stmt* prepare(const QString& sql, const VariantList& params, SqlAccess access, bool& cached);
    void release(sqlite3_stmt* stmt, bool cached);
    // One sqlite3_step within what is left of the budget; adds the time taken.
    int step(sqlite3_stmt* stmt, TStepBudget& budget);
    // Raises EDatabaseError for a failed step; an interrupted one says it ran over its budget.
    [[noreturn]] void raiseStepFailure(int rc, const QString& what, const TStepBudget& budget) const;
    void bind(sqlite3_stmt* stmt, const VariantList& params);
    void loadCatalogue();
    [[noreturn]] void raise(const QString& what) const;

    sqlite3* db_ = nullptr;
    QString fileName_;
    int clientBudgetMs_ = 0;
    quint64 clientCall_ = 1;
    QHash<QString, sqlite3_stmt*> cache_;
    QList<QString> cacheOrder_; // least recently prepared first
};
