#pragma once
// Where the application server finds its database and query log: the
// [DBE Setting] of StewardS.ini (MainDBType, MainDBName) under the registry's
// "ServerPath", and [AppServer] QueryLog.
//
// Limits on what clients send, also from StewardS.ini:
// - [AppServer] FreeSqlSeconds (default 5) and ProviderSeconds (default 30):
//   the time one client statement may run, for free SQL (RunFreeSQL, the
//   catalogue's "SimpleSql") and for a provider's data request (summed over
//   all the packets it is fetched in). 0 or less turns the limit off. A
//   month's report takes about a second of it; a runaway cross join of the
//   report tables is stopped after 30 s instead of two minutes per call.
// - [PrintCount]: lines TABLE=COLUMN[,COLUMN...] naming the count columns of
//   a slip header table (how often a slip was printed, how often sent),
//   beside those of every known program's slip tables (the Slip lines of its
//   descriptor, common/ProgramDescriptor.h; ZORV52: MOCTO=TO042,TO053).
//   UpdatePrintCount touches no other column.
// - [AppServer] TrustHomeOwner (default 1): a server object that runs in
//   the client's own process (the single-machine install) accepts a Connect
//   without a password when this process's user owns the SQLite database
//   file: that user can read and change the file anyway. 0 asks every user
//   for the password there too. The daemon never trusts anyone this way.
//
// Company databases: MainDBName names the file of the main company database
// (relative names are taken under the home folder). The database name that a
// client passes to Connect selects a company database: empty, or the main
// file's base name (without regard to case), is the main file; any other name
// N is the file N.db beside it, which must exist.
//
// PostgreSQL (MainDBType=POSTGRESQL): MainDBName names the PostgreSQL database,
// MainServerName the server as host or host:port (or a whole libpq connection
// text, when it holds "="), MainUserName and "XXXXXX" (the stored password)
// the login. A company database is a schema of that database: the database
// name that a client passes to Connect, in lower case, selects the schema of
// that name; an empty name selects "public". The "file" of a company database
// is then the libpq connection text of its schema; whether the schema exists
// is known only when the back end connects.

#include <QHash>
#include <QString>

struct TServerConfig {
    QString HomePath; // path text of the server home, ends in "\"
    QString IniFile; // path text of the StewardS.ini read
    QString DBType; // "SQLITE", ...
    QString DBName; // MainDBName as configured
    QString ServerName; // MainServerName (PostgreSQL)
    QString UserName; // MainUserName (PostgreSQL)
    QString Password; // decoded "XXXXXX" (PostgreSQL)
    QString QueryLogFile; // native path; empty: no query log
    QString ErrorText; // why the configuration could not be read, else empty
    int FreeSqlBudgetMs = 5000;
    int ProviderBudgetMs = 30000;
    bool TrustHomeOwner = true;
    // Upper-case table (without "$$") -> its upper-case count columns; at
    // first those of the known programs (ProgramCountColumns).
    QHash<QString, QStringList> PrintCountColumns = ProgramCountColumns();

    // Reads the registry and StewardS.ini; never raises (ErrorText says what failed).
    static TServerConfig Load();
    // The count columns of every known program's slip tables.
    static QHash<QString, QStringList> ProgramCountColumns();
    // The configuration of a server home folder (a path text) without the registry.
    static TServerConfig FromHome(const QString& homePath);

    bool IsPostgres() const;
    // Native path of the main database file (PostgreSQL: its connection text).
    QString MainDatabaseFile() const;
    // Native path of the company database that a Connect database name selects
    // (PostgreSQL: its connection text); empty when that database does not
    // exist or the name is no plain name.
    QString CompanyDatabaseFile(const QString& databaseName) const;
};
