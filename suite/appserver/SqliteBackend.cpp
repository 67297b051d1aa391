#include "suite/appserver/SqliteBackend.h"

#include "suite/appserver/UserPasswords.h"

#include <QFileInfo>
#include <QSet>
#include <sqlite3.h>

#include <chrono>
#include <cstring>

namespace {

constexpr int cacheLimit = 64;

// Engine limits for every statement of a connection. The longest value the
// server stores is a form text of a format (a few hundred kilobytes) or a
// scheme's value text; 64 MB leaves room for those and stops a client's
// randomblob(999999999) or zeroblob(999999999) at once.
constexpr int maxValueBytes = 64 * 1024 * 1024;
constexpr int maxSqlBytes = 8 * 1024 * 1024;
constexpr int maxLikePattern = 1000;
// All connections of the process together: the page caches (64 MB each)
// and the working memory of sorts and temporary tables.
constexpr sqlite3_int64 heapLimitBytes = sqlite3_int64(2) * 1024 * 1024 * 1024;
// The progress handler looks at the clock every this many virtual machine
// instructions: often enough to stop within milliseconds, rare enough to cost
// nothing measurable.
constexpr int progressInstructions = 4000;

using Clock = std::chrono::steady_clock;

int overDeadline(void* deadline)
{
    return Clock::now() > *static_cast<const Clock::time_point*>(deadline) ? 1 : 0;
}

// The first word of a statement, upper-cased, after blanks and comments.
QByteArray leadingKeyword(const char* sql)
{
    const char* p = sql;
    for (;;) {
        while (*p == ' ' || *p == '\t' || *p == '\n' || *p == '\r' || *p == '\f' || *p == '\v')
            ++p;
        if (p[0] == '-' && p[1] == '-') {
            while (*p && *p != '\n')
                ++p;
        } else if (p[0] == '/' && p[1] == '*') {
            const char* end = std::strstr(p + 2, "*/");
            p = end ? end + 2 : p + std::strlen(p);
        } else {
            break;
        }
    }
    QByteArray word;
    while ((*p >= 'A' && *p <= 'Z') || (*p >= 'a' && *p <= 'z'))
        word += *p++;
    return word.toUpper();
}

// Statements that no client text may be, whatever its access level. The
// authorizer sees most of them, but not VACUUM, and the engine calls
// transaction control and ATTACH read-only.
bool isAdministrative(const QByteArray& keyword)
{
    static const QList<QByteArray> refused = {"VACUUM", "ATTACH", "DETACH", "PRAGMA", "BEGIN", "COMMIT",
        "END", "ROLLBACK", "SAVEPOINT", "RELEASE", "ANALYZE", "REINDEX"};
    return refused.contains(keyword);
}

// The functions a client text may call: SQLite's plain scalar, date,
// aggregate and window functions, each bounded by the engine's limits and
// the progress handler. Everything else is refused by name, so that a
// function an SQLite build adds later stays out until it is listed here.
// Left out on purpose: printf() and format() (they repeat a character as
// often as a precision says, "%.*c" with 2000000000, in one call that
// neither the length limit nor the progress handler stops), randomblob() and
// zeroblob() (memory on demand), fts3_tokenizer() (hands out and takes code
// pointers), load_extension(), the sqlite_*() introspection functions and
// the JSON functions (SQL Server texts have none of them).
bool isClientFunction(const char* name)
{
    static const QSet<QByteArray> allowed = {"abs", "avg", "char", "coalesce", "concat", "concat_ws", "count",
        "cume_dist", "date", "datetime", "dense_rank", "first_value", "glob", "group_concat", "hex", "ifnull",
        "iif", "instr", "julianday", "lag", "last_value", "lead", "length", "like", "likely", "lower",
        "ltrim", "max", "min", "nth_value", "ntile", "nullif", "octet_length", "percent_rank", "quote",
        "random", "rank", "replace", "round", "row_number", "rtrim", "sign", "strftime", "string_agg",
        "substr", "substring", "sum", "time", "total", "trim", "typeof", "unicode", "unlikely", "upper",
        "unixepoch"};
    return name && allowed.contains(QByteArray(name).toLower());
}

// What the authorizer of a client statement knows and tells.
struct TClientStatement {
    SqlAccess Access;
    bool Recursive = false; // refused: it reads itself
};

int authorize(void* data, int action, const char* table, const char* name, const char*, const char*)
{
    auto& statement = *static_cast<TClientStatement*>(data);
    const SqlAccess access = statement.Access;
    switch (action) {
    case SQLITE_FUNCTION:
        return isClientFunction(name) ? SQLITE_OK : SQLITE_DENY;
    case SQLITE_SELECT:
        return SQLITE_OK;
    case SQLITE_READ:
        // The users' password hashes are the server's alone, however a
        // client text names their table.
        return table && sqlite3_stricmp(table, userpasswords::Table) == 0 ? SQLITE_DENY : SQLITE_OK;
    case SQLITE_RECURSIVE:
        // A WITH that reads itself repeats until it stops itself, and a
        // runaway one until the time budget ends it, on every call. Report
        // texts have none.
        statement.Recursive = true;
        return SQLITE_DENY;
    case SQLITE_INSERT:
        if (table && sqlite3_stricmp(table, userpasswords::Table) == 0)
            return SQLITE_DENY;
        return access == SqlAccess::ReadInsert ? SQLITE_OK : SQLITE_DENY;
    case SQLITE_UPDATE:
        if (table && sqlite3_stricmp(table, userpasswords::Table) == 0)
            return SQLITE_DENY;
        return access == SqlAccess::Update ? SQLITE_OK : SQLITE_DENY;
    default:
        return SQLITE_DENY;
    }
}

DbColumnKind kindOf(const char* declared)
{
    if (!declared)
        return DbColumnKind::Unknown;
    const QByteArray t = QByteArray(declared).toUpper();
    if (t.contains("INT"))
        return DbColumnKind::Integer;
    if (t.contains("CHAR") || t.contains("TEXT") || t.contains("CLOB"))
        return DbColumnKind::Text;
    if (t.contains("REAL") || t.contains("FLOA") || t.contains("DOUB") || t.contains("NUMERIC")
        || t.contains("DEC"))
        return DbColumnKind::Float;
    if (t.contains("BLOB"))
        return DbColumnKind::Blob;
    return DbColumnKind::Unknown;
}

} // namespace

class TSqliteCursor : public TDbCursor {
public:
    TSqliteCursor(TSqliteBackend& owner, sqlite3_stmt* stmt, bool cached, int budgetMs)
        : owner_(owner)
        , stmt_(stmt)
        , cached_(cached)
        , budget_(budgetMs)
    {
    }
    ~TSqliteCursor() override { owner_.release(stmt_, cached_); }

    bool Next() override
    {
        if (done_)
            return false;
        const int rc = owner_.step(stmt_, budget_);
        if (rc == SQLITE_ROW)
            return true;
        done_ = true;
        if (rc != SQLITE_DONE)
            owner_.raiseStepFailure(rc, QStringLiteral("query failed"), budget_);
        return false;
    }
    int ColumnCount() const override { return sqlite3_column_count(stmt_); }
    QString ColumnName(int column) const override
    {
        return QString::fromUtf8(sqlite3_column_name(stmt_, column));
    }
    DbColumnKind ColumnKind(int column) const override
    {
        return kindOf(sqlite3_column_decltype(stmt_, column));
    }
    bool IsNull(int column) const override { return sqlite3_column_type(stmt_, column) == SQLITE_NULL; }
    QString Text(int column) const override
    {
        const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
        return p ? QString::fromUtf8(p, sqlite3_column_bytes(stmt_, column)) : QString();
    }
    QByteArrayView Utf8(int column) const override
    {
        const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
        return p ? QByteArrayView(p, sqlite3_column_bytes(stmt_, column)) : QByteArrayView();
    }
    bool Utf8IfNotNull(int column, QByteArrayView& text) const override
    {
        // One look-up of the cell, then the cheap value accessors: fewer
        // calls into the engine than asking the statement three times.
        sqlite3_value* v = sqlite3_column_value(stmt_, column);
        if (sqlite3_value_type(v) == SQLITE_NULL)
            return false;
        const auto* p = reinterpret_cast<const char*>(sqlite3_value_text(v));
        text = p ? QByteArrayView(p, sqlite3_value_bytes(v)) : QByteArrayView();
        return true;
    }
    qint64 Int64(int column) const override { return sqlite3_column_int64(stmt_, column); }
    double Double(int column) const override { return sqlite3_column_double(stmt_, column); }
    Variant Value(int column) const override
    {
        switch (sqlite3_column_type(stmt_, column)) {
        case SQLITE_NULL:
            return Variant::Null();
        case SQLITE_INTEGER:
            return Variant(static_cast<long long>(sqlite3_column_int64(stmt_, column)));
        case SQLITE_FLOAT:
            return Variant(sqlite3_column_double(stmt_, column));
        case SQLITE_BLOB: {
            const auto* p = static_cast<const char*>(sqlite3_column_blob(stmt_, column));
            return Variant(QByteArray(p, sqlite3_column_bytes(stmt_, column)));
        }
        default:
            return Variant(Text(column));
        }
    }

private:
    TSqliteBackend& owner_;
    sqlite3_stmt* stmt_;
    bool cached_;
    TStepBudget budget_;
    bool done_ = false;
};

TSqliteBackend::TSqliteBackend(const QString& fileName, bool create)
    : fileName_(fileName)
{
    if (!create && !QFileInfo::exists(fileName))
        throw EDatabaseError(QStringLiteral("database file not found: %1").arg(fileName));
    const int flags = SQLITE_OPEN_READWRITE | (create ? SQLITE_OPEN_CREATE : 0) | SQLITE_OPEN_NOMUTEX;
    if (sqlite3_open_v2(fileName.toUtf8().constData(), &db_, flags, nullptr) != SQLITE_OK) {
        const QString message
            = db_ ? QString::fromUtf8(sqlite3_errmsg(db_)) : QStringLiteral("out of memory");
        sqlite3_close(db_);
        db_ = nullptr;
        throw EDatabaseError(QStringLiteral("cannot open database %1: %2").arg(fileName, message));
    }
    sqlite3_busy_timeout(db_, 10000);
    sqlite3_extended_result_codes(db_, 1);
    // fts3_tokenizer() with two arguments installs a tokenizer from a code
    // pointer given as a blob; nothing here uses full-text search. The
    // defensive mode keeps the schema and the shadow tables out of reach of
    // any statement, and functions that a schema names run only when harmless.
    sqlite3_db_config(db_, SQLITE_DBCONFIG_ENABLE_FTS3_TOKENIZER, 0, nullptr);
    sqlite3_db_config(db_, SQLITE_DBCONFIG_ENABLE_LOAD_EXTENSION, 0, nullptr);
    sqlite3_db_config(db_, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
    sqlite3_db_config(db_, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
    sqlite3_limit(db_, SQLITE_LIMIT_LENGTH, maxValueBytes);
    sqlite3_limit(db_, SQLITE_LIMIT_SQL_LENGTH, maxSqlBytes);
    // A LIKE runs in one function call, out of the progress handler's reach;
    // its time grows with the pattern's length.
    sqlite3_limit(db_, SQLITE_LIMIT_LIKE_PATTERN_LENGTH, maxLikePattern);
    if (sqlite3_hard_heap_limit64(-1) == 0)
        sqlite3_hard_heap_limit64(heapLimitBytes);
    ExecuteScript(
        QStringLiteral("PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL; PRAGMA cache_size=-65536;"
                       "PRAGMA temp_store=MEMORY;"
                       // Pages read straight from the mapped file: a query over the
                       // whole slip table then copies no page into the cache.
                       "PRAGMA mmap_size=2147418112;"));
    loadCatalogue();
}

TSqliteBackend::~TSqliteBackend()
{
    for (sqlite3_stmt* stmt : std::as_const(cache_))
        sqlite3_finalize(stmt);
    sqlite3_close_v2(db_);
}

void TSqliteBackend::raise(const QString& what) const
{
    throw EDatabaseError(QStringLiteral("%1: %2").arg(what, QString::fromUtf8(sqlite3_errmsg(db_))));
}

void TSqliteBackend::loadCatalogue()
{
    catalogue_.Clear();
    QStringList tables;
    {
        auto c = Query(QStringLiteral("SELECT name FROM sqlite_master WHERE type IN ('table','view')"), {},
            SqlAccess::Server);
        while (c->Next())
            tables << c->Text(0);
    }
    for (const QString& table : std::as_const(tables)) {
        catalogue_.AddTable(table);
        auto c = Query(
            QStringLiteral("SELECT name, type, pk FROM pragma_table_info(?)"), {table}, SqlAccess::Server);
        QSet<QString> primaryKey;
        while (c->Next()) {
            const QString name = c->Text(0);
            catalogue_.AddColumn(table, name, kindOf(c->Text(1).toUtf8().constData()) == DbColumnKind::Text);
            if (c->Int64(2) > 0)
                primaryKey.insert(name);
        }
        catalogue_.AddUniqueKey(table, primaryKey); // an INTEGER PRIMARY KEY has no index of its own
        // A partial index ("... WHERE ACTIVE = 1") is unique only among the
        // rows it covers: no key for the table.
        auto indexes = Query(
            QStringLiteral("SELECT name FROM pragma_index_list(?) WHERE \"unique\" = 1 AND partial = 0"),
            {table}, SqlAccess::Server);
        QStringList unique;
        while (indexes->Next())
            unique << indexes->Text(0);
        indexes.reset();
        for (const QString& index : std::as_const(unique)) {
            QSet<QString> key;
            auto info
                = Query(QStringLiteral("SELECT name FROM pragma_index_info(?)"), {index}, SqlAccess::Server);
            bool expression = false;
            while (info->Next()) {
                expression = expression || info->IsNull(0);
                key.insert(info->Text(0).toUpper());
            }
            if (!expression)
                catalogue_.AddUniqueKey(table, key);
        }
    }
}

void TSqliteBackend::bind(sqlite3_stmt* stmt, const VariantList& params)
{
    if (params.size() != sqlite3_bind_parameter_count(stmt))
        throw EDatabaseError(QStringLiteral("statement expects %1 parameters, %2 given")
                                 .arg(sqlite3_bind_parameter_count(stmt))
                                 .arg(params.size()));
    for (int i = 0; i < params.size(); ++i) {
        const Variant& v = params[i].Deref();
        int rc = SQLITE_OK;
        switch (v.Type()) {
        case VarType::Unassigned:
        case VarType::Null:
            rc = sqlite3_bind_null(stmt, i + 1);
            break;
        case VarType::Boolean:
        case VarType::Integer:
            rc = sqlite3_bind_int64(stmt, i + 1, v.ToInt64());
            break;
        case VarType::Float:
            rc = sqlite3_bind_double(stmt, i + 1, v.ToDouble());
            break;
        case VarType::Bytes: {
            const QByteArray b = v.ToBytes();
            rc = sqlite3_bind_blob64(
                stmt, i + 1, b.constData(), static_cast<sqlite3_uint64>(b.size()), SQLITE_TRANSIENT);
            break;
        }
        default: {
            const QByteArray t = v.ToString().toUtf8();
            rc = sqlite3_bind_text64(stmt, i + 1, t.constData(), static_cast<sqlite3_uint64>(t.size()),
                SQLITE_TRANSIENT, SQLITE_UTF8);
            break;
        }
        }
        if (rc != SQLITE_OK)
            raise(QStringLiteral("cannot bind parameter %1").arg(i + 1));
    }
}

sqlite3_stmt* TSqliteBackend::prepare(
    const QString& sql, const VariantList& params, SqlAccess access, bool& cached)
{
    const QString key = QString::number(static_cast<int>(access)) + u'|' + sql;
    sqlite3_stmt* stmt = cache_.value(key);
    cached = stmt && !sqlite3_stmt_busy(stmt);
    if (!cached) {
        const QByteArray utf8 = sql.toUtf8();
        const char* tail = nullptr;
        TClientStatement level {access};
        if (access != SqlAccess::Server)
            sqlite3_set_authorizer(db_, authorize, &level);
        const int rc = sqlite3_prepare_v3(
            db_, utf8.constData(), static_cast<int>(utf8.size()), SQLITE_PREPARE_PERSISTENT, &stmt, &tail);
        if (access != SqlAccess::Server)
            sqlite3_set_authorizer(db_, nullptr, nullptr);
        if (rc != SQLITE_OK) {
            sqlite3_finalize(stmt);
            if (level.Recursive)
                throw EDatabaseError(QStringLiteral("statement rejected: a recursive query (a WITH that "
                                                    "reads itself) is not allowed from a client"));
            raise(QStringLiteral("statement rejected"));
        }
        if (!stmt)
            throw EDatabaseError(QStringLiteral("empty statement"));
        if (tail && QByteArray(tail).trimmed().size() > 0) {
            sqlite3_finalize(stmt);
            throw EDatabaseError(QStringLiteral("only one statement may be sent at a time"));
        }
        if (access != SqlAccess::Server) {
            const QByteArray keyword = leadingKeyword(sqlite3_sql(stmt));
            if (isAdministrative(keyword)) {
                sqlite3_finalize(stmt);
                throw EDatabaseError(QStringLiteral("%1 is not allowed from a client").arg(keyword));
            }
            if (access == SqlAccess::Read && !sqlite3_stmt_readonly(stmt)) {
                sqlite3_finalize(stmt);
                throw EDatabaseError(QStringLiteral("only a statement that reads is allowed here"));
            }
        }
        if (!cache_.contains(key)) {
            if (cacheOrder_.size() >= cacheLimit) {
                const QString old = cacheOrder_.takeFirst();
                sqlite3_stmt* victim = cache_.take(old);
                if (sqlite3_stmt_busy(victim)) { // still read by a cursor
                    cache_.insert(old, victim);
                    cacheOrder_.append(old);
                } else {
                    sqlite3_finalize(victim);
                }
            }
            cache_.insert(key, stmt);
            cacheOrder_.append(key);
            cached = true;
        }
    }
    try {
        bind(stmt, params);
    } catch (...) {
        release(stmt, cached);
        throw;
    }
    return stmt;
}

void TSqliteBackend::release(sqlite3_stmt* stmt, bool cached)
{
    if (cached) {
        sqlite3_reset(stmt);
        sqlite3_clear_bindings(stmt);
    } else {
        sqlite3_finalize(stmt);
    }
}

int TSqliteBackend::step(sqlite3_stmt* stmt, TStepBudget& budget)
{
    if (budget.limitMs <= 0)
        return sqlite3_step(stmt);
    const Clock::time_point now = Clock::now();
    if (budget.call != clientCall_) {
        if (budget.call != 0)
            budget.used += budget.lastEnd - budget.callStart;
        budget.call = clientCall_;
        budget.callStart = now;
    }
    Clock::time_point deadline = budget.callStart + std::chrono::milliseconds(budget.limitMs) - budget.used;
    sqlite3_progress_handler(db_, progressInstructions, overDeadline, &deadline);
    const int rc = now >= deadline ? SQLITE_INTERRUPT : sqlite3_step(stmt);
    sqlite3_progress_handler(db_, 0, nullptr, nullptr);
    budget.lastEnd = Clock::now();
    return rc;
}

void TSqliteBackend::raiseStepFailure(int rc, const QString& what, const TStepBudget& budget) const
{
    if ((rc & 0xff) == SQLITE_INTERRUPT && budget.limitMs > 0)
        throw EDatabaseError(
            QStringLiteral("%1: the statement ran longer than its %2 ms").arg(what).arg(budget.limitMs));
    raise(what);
}

std::unique_ptr<TDbCursor> TSqliteBackend::Query(
    const QString& sql, const VariantList& params, SqlAccess access)
{
    bool cached = false;
    sqlite3_stmt* stmt = prepare(sql, params, access, cached);
    return std::make_unique<TSqliteCursor>(
        *this, stmt, cached, access == SqlAccess::Server ? 0 : clientBudgetMs_);
}

qint64 TSqliteBackend::Execute(const QString& sql, const VariantList& params, SqlAccess access)
{
    bool cached = false;
    sqlite3_stmt* stmt = prepare(sql, params, access, cached);
    TStepBudget budget {access == SqlAccess::Server ? 0 : clientBudgetMs_};
    int rc;
    while ((rc = step(stmt, budget)) == SQLITE_ROW) { }
    const qint64 changes = sqlite3_changes64(db_);
    if (rc != SQLITE_DONE) {
        try {
            raiseStepFailure(rc, QStringLiteral("statement failed"), budget);
        } catch (...) {
            release(stmt, cached);
            throw;
        }
    }
    release(stmt, cached);
    return changes;
}

void TSqliteBackend::ExecuteScript(const QString& script)
{
    char* error = nullptr;
    if (sqlite3_exec(db_, script.toUtf8().constData(), nullptr, nullptr, &error) != SQLITE_OK) {
        const QString message = QString::fromUtf8(error ? error : "unknown error");
        sqlite3_free(error);
        throw EDatabaseError(QStringLiteral("script failed: %1").arg(message));
    }
    if (script.contains(QLatin1String("CREATE"), Qt::CaseInsensitive))
        loadCatalogue();
}

void TSqliteBackend::Begin()
{
    ExecuteScript(QStringLiteral("BEGIN IMMEDIATE"));
}

void TSqliteBackend::Commit()
{
    ExecuteScript(QStringLiteral("COMMIT"));
}

void TSqliteBackend::Rollback()
{
    if (!sqlite3_get_autocommit(db_))
        ExecuteScript(QStringLiteral("ROLLBACK"));
}
