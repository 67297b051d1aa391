#pragma once
// Where the application server finds its database and query log: the
// [DBE Setting] of StewardS.ini (MainDBType, MainDBName) under the registry's
// "ServerPath", and [AppServer] QueryLog.
//
// Limits on what clients send, also from StewardS.ini:
// - [AppServer] FreeSqlSeconds (default 5) and ProviderSeconds (default 120):
//   the time one client statement may run, for free SQL (RunFreeSQL, the
//   catalogue's "SimpleSql") and for a provider's data request (summed over
//   all the packets it is fetched in). 0 or less turns the limit off.
// - [PrintCount]: lines TABLE=COLUMN naming the print-count column of a slip
//   header table, beside the built-in MOCTO=TO042. UpdatePrintCount touches
//   no other column.
//
// Company databases: MainDBName names the file of the main company database
// (relative names are taken under the home folder). The database name that a
// client passes to Connect selects a company database: empty, or the main
// file's base name (without regard to case), is the main file; any other name
// N is the file N.db beside it, which must exist.

#include <QHash>
#include <QString>

struct TServerConfig {
    QString HomePath; // path text of the server home, ends in "\"
    QString DBType; // "SQLITE", ...
    QString DBName; // MainDBName as configured
    QString QueryLogFile; // native path; empty: no query log
    QString ErrorText; // why the configuration could not be read, else empty
    int FreeSqlBudgetMs = 5000;
    int ProviderBudgetMs = 120000;
    // Upper-case table (without "$$") -> its upper-case print-count column.
    QHash<QString, QString> PrintCountColumns {{QStringLiteral("MOCTO"), QStringLiteral("TO042")}};

    // Reads the registry and StewardS.ini; never raises (ErrorText says what failed).
    static TServerConfig Load();
    // The configuration of a server home folder (a path text) without the registry.
    static TServerConfig FromHome(const QString& homePath);

    // Native path of the main database file.
    QString MainDatabaseFile() const;
    // Native path of the company database that a Connect database name selects;
    // empty when that database does not exist.
    QString CompanyDatabaseFile(const QString& databaseName) const;
};
