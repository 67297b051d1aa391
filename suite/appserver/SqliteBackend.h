#pragma once
// The embedded back end: one SQLite file per company database. Opened in WAL
// mode so that readers do not wait for writers; prepared statements are kept
// in a small cache keyed by text and access level. Client texts are prepared
// under an authorizer that allows only what their access level permits.

#include "suite/appserver/DbBackend.h"
#include "suite/appserver/DbCatalogue.h"

#include <QHash>

struct sqlite3;
struct sqlite3_stmt;

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
    bool IsTextColumn(const QString& column) const override { return catalogue_.IsTextColumn(column); }
    bool HasTable(const QString& table) const override { return catalogue_.HasTable(table); }
    bool HasColumn(const QString& table, const QString& column) const override
    {
        return catalogue_.HasColumn(table, column);
    }
    bool CoversUniqueKey(const QString& table, const QStringList& columns) const override
    {
        return catalogue_.CoversUniqueKey(table, columns);
    }
    bool KeepsOuterJoinOrder() const override { return true; }

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
    void bind(sqlite3_stmt* stmt, const VariantList& params);
    void loadCatalogue();
    [[noreturn]] void raise(const QString& what) const;

    sqlite3* db_ = nullptr;
    QString fileName_;
    QHash<QString, sqlite3_stmt*> cache_;
    QList<QString> cacheOrder_; // least recently prepared first
    TDbCatalogue catalogue_;
};
