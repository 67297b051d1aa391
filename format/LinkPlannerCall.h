#pragma once
// The relation wizard ("LinkPlanner.dll", entry "GetSQLFixed") as a format
// form calls it: TLinkPlannerData is what the wizard reads (the tables it
// offers and their columns); RunLinkPlanner loads the library from the
// client's c_hvbin folder (or the module's folder, or the library path),
// calls the entry with (form, builder, data) and unloads it.
//
// Messages (error, OK): "DLL Call Error" when the library does not load,
// "Create LinkPlanner Internal Error" when the entry is missing, "Create
// LinkPlanner Error" when the call fails. Without extended fields the
// wizard runs only when asked for explicitly (force).

#include <QObject>
#include <QStringList>
#include <functional>

class ReportQueryBuilder;
class TSocketConnection;

class TLinkPlannerData : public QObject {
    Q_OBJECT
public:
    using ColumnReader = std::function<QStringList(const QString& table)>;
    explicit TLinkPlannerData(ColumnReader columns, QStringList tables = StandardRelationTables());

    Q_INVOKABLE QStringList Tables() const { return tables_; }
    // The columns of a table; empty for a name that is no plain identifier
    // or a table that cannot be read.
    Q_INVOKABLE QStringList Columns(const QString& table) const;

    // The suite's master tables a slip commonly relates to (items, vendors,
    // customers, slip types, warehouses, work centres, users, departments).
    static QStringList StandardRelationTables();

private:
    ColumnReader columns_;
    QStringList tables_;
};

// Reads a table's columns through a client data set on the connection's
// provider "pvdTemp" (a query for no rows: only the field definitions come).
TLinkPlannerData::ColumnReader ColumnsThroughProvider(TSocketConnection* connection);

// 1 when the wizard added a relation, 0 when nothing was done, -1 on failure.
int RunLinkPlanner(const QString& clientHome, QObject* form, ReportQueryBuilder* builder,
    TLinkPlannerData* data, bool force = false);
