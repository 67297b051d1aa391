#include "suite/appserver/PgBackend.h"

#include "suite/appserver/PgClientText.h"
#include "suite/appserver/PgConnection.h"
#include "suite/appserver/PgCursor.h"

#include <libpq-fe.h>

namespace {

// The first entry of a search_path setting, unquoted; empty for "$user".
QString firstSchema(const QString& searchPath)
{
    QString first = searchPath.section(u',', 0, 0).trimmed();
    if (first.size() >= 2 && first.startsWith(u'"') && first.endsWith(u'"'))
        first = first.mid(1, first.size() - 2).replace(QLatin1String("\"\""), QLatin1String("\""));
    return first == QLatin1String("$user") ? QString() : first;
}

// One value in COPY's text form: backslash escapes, \N for null.
void appendCopyValue(QByteArray& out, const Variant& value)
{
    const Variant& v = value.Deref();
    QByteArray text;
    switch (v.Type()) {
    case VarType::Unassigned:
    case VarType::Null:
        out += "\\N";
        return;
    case VarType::Boolean:
        out += v.ToInt64() ? '1' : '0';
        return;
    case VarType::Integer:
        out += QByteArray::number(v.ToInt64());
        return;
    case VarType::Float:
        out += QByteArray::number(v.ToDouble(), 'g', 17);
        return;
    case VarType::Bytes:
        out += "\\\\x" + v.ToBytes().toHex();
        return;
    default:
        text = v.ToString().toUtf8();
        break;
    }
    for (const char c : std::as_const(text)) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        default:
            out += c;
        }
    }
}

} // namespace

TPgBackend::TPgBackend(const QString& conninfo, bool create)
    : main_(std::make_unique<TPgConnection>(conninfo))
    , readers_(std::make_shared<TPgReaderPool>(conninfo))
{
    {
        const TPgResult path = main_->Exec("SELECT current_setting('search_path'), current_schema()");
        schema_ = firstSchema(QString::fromUtf8(PQgetvalue(path.get(), 0, 0)));
        if (schema_.isEmpty())
            schema_ = PQgetisnull(path.get(), 0, 1) ? QStringLiteral("public")
                                                    : QString::fromUtf8(PQgetvalue(path.get(), 0, 1));
    }
    if (main_->Exec("SELECT 1 FROM pg_namespace WHERE nspname = $1", {schema_}).Rows() == 0) {
        if (!create)
            throw EDatabaseError(QStringLiteral("database %1 not found (no such schema)").arg(schema_));
        main_->Exec("CREATE SCHEMA " + PgIdentifier(schema_).toUtf8());
    }
    {
        const TPgResult names = main_->Exec("SELECT lower(nspname) FROM pg_namespace");
        for (int r = 0; r < names.Rows(); ++r)
            schemas_.insert(QString::fromUtf8(PQgetvalue(names.get(), r, 0)));
    }
    prepareClientRole();
    timeouts_.insert(static_cast<int>(SqlAccess::Read), 120000);
    timeouts_.insert(static_cast<int>(SqlAccess::ReadInsert), 10000);
    timeouts_.insert(static_cast<int>(SqlAccess::Update), 10000);
    loadCatalogue();
}

TPgBackend::~TPgBackend() = default;

void TPgBackend::SetStatementTimeout(SqlAccess access, int milliseconds)
{
    timeouts_.insert(static_cast<int>(access), std::max(0, milliseconds));
}

void TPgBackend::SetClientTimeBudget(int milliseconds)
{
    clientBudget_ = std::max(0, milliseconds);
}

QByteArray TPgBackend::beginClient(SqlAccess access) const
{
    const int timeout = clientBudget_ >= 0 ? clientBudget_ : timeouts_.value(static_cast<int>(access), 0);
    // LOCAL: the role ends with the transaction, and a client text cannot
    // change it back (no SET, no set_config reaches the server).
    return QByteArray(access == SqlAccess::Read ? "BEGIN READ ONLY" : "BEGIN READ WRITE")
        + "; SET LOCAL statement_timeout = " + QByteArray::number(timeout) + "; SET LOCAL ROLE "
        + PgIdentifier(clientRole_).toUtf8();
}

void TPgBackend::prepareClientRole()
{
    {
        const TPgResult me = main_->Exec("SELECT current_user");
        clientRole_ = QString::fromUtf8(PQgetvalue(me.get(), 0, 0)) + QStringLiteral("_client");
    }
    const QString role = clientRole_;
    const QString fix = QStringLiteral("as an administrator: CREATE ROLE %1 NOLOGIN; GRANT %1 TO %2")
                            .arg(PgIdentifier(role), PgIdentifier(role.chopped(7)));
    if (main_->Exec("SELECT 1 FROM pg_roles WHERE rolname = $1", {role}).Rows() == 0) {
        // Made here when this login may make roles; else an administrator makes it.
        try {
            main_->Script("CREATE ROLE " + PgIdentifier(role).toUtf8() + " NOLOGIN; GRANT "
                + PgIdentifier(role).toUtf8() + " TO CURRENT_USER");
        } catch (const EDatabaseError& e) {
            throw EDatabaseError(QStringLiteral(
                "client statements run as role %1, which does not exist and cannot be made (%2): %3")
                                     .arg(role, e.Message(), fix));
        }
    }
    const TPgResult facts = main_->Exec("SELECT pg_has_role(current_user, $1, 'MEMBER'), r.rolsuper, "
                                        "pg_has_role($1, 'pg_read_all_stats', 'USAGE'), r.rolbypassrls "
                                        "FROM pg_roles r WHERE r.rolname = $1",
        {role});
    const auto yes = [&](int column) { return *PQgetvalue(facts.get(), 0, column) == 't'; };
    if (!yes(0))
        throw EDatabaseError(
            QStringLiteral("client statements run as role %1, which this login may not take: %2")
                .arg(role, fix));
    // The point of the role: it sees no other session's statements.
    if (yes(1) || yes(2))
        throw EDatabaseError(QStringLiteral("role %1 may read every session's statements (super user or "
                                            "pg_read_all_stats); client statements do not run as it")
                                 .arg(role));
    grantClientRole();
}

void TPgBackend::grantClientRole()
{
    // What the client role lacks in this schema, granted once: a GRANT
    // writes the catalogue, which sessions opening together would fight
    // over. The users' password table stays the server's alone.
    const QByteArray role = PgIdentifier(clientRole_).toUtf8();
    const QByteArray schema = PgIdentifier(schema_).toUtf8();
    const TPgResult usage
        = main_->Exec("SELECT has_schema_privilege($1, $2, 'USAGE')", {clientRole_, schema_});
    if (*PQgetvalue(usage.get(), 0, 0) != 't')
        main_->Script("GRANT USAGE ON SCHEMA " + schema + " TO " + role);
    const TPgResult missing = main_->Exec(
        "SELECT c.relname FROM pg_class c JOIN pg_namespace n ON n.oid = c.relnamespace "
        "WHERE n.nspname = $1 AND c.relkind IN ('r', 'v', 'm', 'p', 'f') AND lower(c.relname) <> 'admmp' "
        "AND NOT (has_table_privilege($2, c.oid, 'SELECT') AND has_table_privilege($2, c.oid, 'INSERT') "
        "AND has_table_privilege($2, c.oid, 'UPDATE'))",
        {schema_, clientRole_});
    for (int r = 0; r < missing.Rows(); ++r)
        main_->Script("GRANT SELECT, INSERT, UPDATE ON " + schema + '.'
            + PgIdentifier(QString::fromUtf8(PQgetvalue(missing.get(), r, 0))).toUtf8() + " TO " + role);
    const TPgResult passwords = main_->Exec(
        "SELECT 1 FROM pg_class c JOIN pg_namespace n ON n.oid = c.relnamespace "
        "WHERE n.nspname = $1 AND lower(c.relname) = 'admmp' AND has_table_privilege($2, c.oid, 'SELECT')",
        {schema_, clientRole_});
    if (passwords.Rows() > 0)
        main_->Script("REVOKE ALL ON " + schema + ".admmp FROM " + role);
}

TPgConnection& TPgBackend::main()
{
    // A statement that found the server gone failed; the next one connects
    // again (rather than retrying a write that may have been done), unless a
    // transaction was open: its statements were lost with the connection, and
    // the rest of it must not run alone.
    if (main_->Broken()) {
        if (transaction_)
            throw EDatabaseError(
                QStringLiteral("the connection to PostgreSQL was lost inside a transaction"));
        main_->Reconnect();
    }
    return *main_;
}

QString TPgBackend::BindTableName(const QString& table) const
{
    return PgIdentifier(schema_) + u'.' + table;
}

void TPgBackend::loadCatalogue()
{
    catalogue_.Clear();
    const TPgResult cols = main_->Exec(
        "SELECT c.relname, a.attname, t.typcategory = 'S' FROM pg_class c "
        "JOIN pg_namespace n ON n.oid = c.relnamespace JOIN pg_attribute a ON a.attrelid = c.oid "
        "JOIN pg_type t ON t.oid = a.atttypid "
        "WHERE n.nspname = $1 AND c.relkind IN ('r', 'v', 'm', 'p', 'f') AND a.attnum > 0 AND NOT "
        "a.attisdropped",
        {schema_});
    for (int r = 0; r < cols.Rows(); ++r)
        catalogue_.AddColumn(QString::fromUtf8(PQgetvalue(cols.get(), r, 0)),
            QString::fromUtf8(PQgetvalue(cols.get(), r, 1)), *PQgetvalue(cols.get(), r, 2) == 't');
    // Unique indexes on plain columns only: a partial index is unique only
    // among the rows it covers, an expression index on no set of columns.
    const TPgResult keys
        = main_->Exec("SELECT c.relname, i.indexrelid, a.attname FROM pg_index i "
                      "JOIN pg_class c ON c.oid = i.indrelid JOIN pg_namespace n ON n.oid = c.relnamespace "
                      "JOIN pg_attribute a ON a.attrelid = c.oid AND a.attnum = ANY (i.indkey) "
                      "WHERE n.nspname = $1 AND i.indisunique AND i.indpred IS NULL AND i.indexprs IS NULL "
                      "ORDER BY 2",
            {schema_});
    QSet<QString> key;
    for (int r = 0; r < keys.Rows(); ++r) {
        key.insert(QString::fromUtf8(PQgetvalue(keys.get(), r, 2)));
        const bool last = r + 1 == keys.Rows()
            || qstrcmp(PQgetvalue(keys.get(), r, 1), PQgetvalue(keys.get(), r + 1, 1)) != 0;
        if (last) {
            catalogue_.AddUniqueKey(QString::fromUtf8(PQgetvalue(keys.get(), r, 0)), key);
            key.clear();
        }
    }
}

std::unique_ptr<TDbCursor> TPgBackend::Query(const QString& sql, const VariantList& params, SqlAccess access)
{
    if (access == SqlAccess::Server)
        return std::make_unique<TPgCursor>(main().Exec(PgPlaceholders(sql).toUtf8(), params));
    if (main().InTransaction())
        throw EDatabaseError(QStringLiteral("a client statement cannot run inside the server's transaction"));
    CheckPgClientText(sql, SqlAccess::Read);
    CheckPgSchemaReach(sql, schema_, schemas_);
    const PgParameterized keyed = PgLiteralParameters(sql);
    VariantList values = params;
    for (const QString& literal : keyed.values)
        values << Variant(literal);
    // A key lookup's plan does not depend on which key is asked for: the
    // plan made once serves every later key, where the server would
    // otherwise plan the first five anew (some 12 ms each for a report query,
    // four times its run).
    const QByteArray begin = beginClient(SqlAccess::Read)
        + (keyed.keyLookup ? QByteArray("; SET LOCAL plan_cache_mode = force_generic_plan") : QByteArray());
    auto stream = std::make_unique<TPgRowStream>(
        readers_->Begin(begin), begin, keyed.text.toUtf8(), values, keyed.places + int(keyed.values.size()));
    TPgResult first = stream->Next();
    return std::make_unique<TPgCursor>(std::move(first), std::move(stream));
}

qint64 TPgBackend::Execute(const QString& sql, const VariantList& params, SqlAccess access)
{
    const QByteArray text = PgPlaceholders(sql).toUtf8();
    if (access == SqlAccess::Server)
        return main().Exec(text, params).Changed();
    if (main().InTransaction())
        throw EDatabaseError(QStringLiteral("a client statement cannot run inside the server's transaction"));
    CheckPgClientText(sql, access);
    CheckPgSchemaReach(sql, schema_, schemas_);
    const bool read = access == SqlAccess::Read;
    TPgReaderPool::Lease conn = readers_->Begin(beginClient(access));
    try {
        const qint64 changed = conn->Exec(text, params).Changed();
        // A read commits nothing; rolled back, whatever it set in the session goes too.
        conn->Script(read ? "ROLLBACK" : "COMMIT");
        return read ? 0 : changed;
    } catch (...) {
        if (conn->InTransaction() && !conn->Broken()) {
            try {
                conn->Script("ROLLBACK");
            } catch (const Exception&) {
                // the lease drops a connection left in a transaction
            }
        }
        throw;
    }
}

void TPgBackend::ExecuteScript(const QString& script)
{
    main().Script(script.toUtf8());
    if (script.contains(QLatin1String("CREATE"), Qt::CaseInsensitive)) {
        loadCatalogue();
        grantClientRole(); // a new table is open to client reads at once (the password table is not)
    }
}

void TPgBackend::InsertRows(const QString& table, const QStringList& columns, const QList<VariantList>& rows)
{
    if (rows.isEmpty())
        return;
    QByteArray data;
    for (const VariantList& row : rows) {
        for (qsizetype i = 0; i < row.size(); ++i) {
            if (i > 0)
                data += '\t';
            appendCopyValue(data, row[i]);
        }
        data += '\n';
    }
    PGconn* conn = main().Handle();
    const QByteArray copy
        = "COPY " + table.toUtf8() + " (" + columns.join(QStringLiteral(", ")).toUtf8() + ") FROM STDIN";
    const TPgResult start(PQexec(conn, copy.constData()));
    if (PQresultStatus(start.get()) != PGRES_COPY_IN)
        main().Raise(QStringLiteral("cannot copy into %1").arg(table), start.get());
    if (PQputCopyData(conn, data.constData(), static_cast<int>(data.size())) != 1
        || PQputCopyEnd(conn, nullptr) != 1)
        main().Raise(QStringLiteral("cannot copy into %1").arg(table));
    main().Take();
}

void TPgBackend::Begin()
{
    main().Script("BEGIN");
    transaction_ = true;
}

void TPgBackend::Commit()
{
    main().Script("COMMIT");
    transaction_ = false;
}

void TPgBackend::Rollback()
{
    transaction_ = false;
    if (main_->Broken())
        main_->Reconnect(); // the server rolled it back when the connection went
    else if (main_->InTransaction())
        main_->Script("ROLLBACK");
}
