#pragma once
// The demo client home: one command makes a whole installation to try the
// program on, deterministically (the same options give the same files).
//
//   DIR/registry.reg   the suite's registry key (ClientPath, ServerPath = ".",
//                      the registry file's folder: the home works wherever
//                      it is copied or moved)
//   DIR/StewardC.ini   server 127.0.0.1:211; interface code page
//                      UICodePage (936 simplified, 950 traditional Chinese,
//                      437 English: language CHS, CHT or ENG), database
//                      code page 936
//   DIR/StewardS.ini   MainDBType=SQLITE, MainDBName=C_DATA\DEMO.db; the
//                      query log is off ([AppServer] QueryLog= names a file)
//   DIR/UserDef.ini    [VoucherFormatDef]
//   DIR/C_DATA/DEMO.db the company database of company HV01
//   DIR/C_TEMP, C_HVBIN, C_PKG, Log, MultiLanguage/CHS, CHT, ENG
//                      the language folders hold copies of the packages of
//                      TDemoOptions::LanguagePackages (empty without it)
//
// With PostgresConnection set, the company database is the schema
// PostgresSchema of that PostgreSQL database instead (made again when it
// exists), and StewardS.ini says MainDBType=POSTGRESQL with the server, database
// and login of the connection text (the password stored encoded); clients
// reach it by the database name PostgresSchema.
//
// Users of the demo database: DS (super user), CHEN (every right of ZORV52),
// LIU (no print, no price right), WANG (every right, restricted by data
// rights to factory F01 and to suppliers other than S0001). Each has the
// known demo password DemoPassword(user) ("ds-demo", "chen-demo", ...), which
// --create-demo prints; they are for trying the program, not for keeping.

#include <QString>
#include <QStringList>

struct TDemoOptions {
    int Slips = 300; // slip headers (MOCTO rows), 1..15 lines each
    unsigned Seed = 52; // the generator's seed
    // A libpq connection text (host, port, dbname, user, password): fill
    // PostgreSQL rather than the SQLite file.
    QString PostgresConnection;
    QString PostgresSchema = QStringLiteral("demo"); // a plain lower-case name
    bool Force = false; // replace the files of a home already in the folder
    // The interface code page written into StewardC.ini: "936" (simplified),
    // "950" (traditional Chinese) or "437" (English); any other text is
    // refused. It is written even though the system code page would be its
    // default, so that a home behaves the same on every machine.
    QString UICodePage = QStringLiteral("936");
    // A folder holding the language packages by language (CHS/, CHT/, ENG/,
    // each with *.Lng files), usually InstalledLanguagePackages(): every
    // package is copied into the home's MultiLanguage folder, replacing a
    // file of the same name. A folder that holds no package of the home's
    // own language is refused (the home would show its built-in texts).
    // Empty: the language folders are made empty.
    QString LanguagePackages;
};

// The language packages installed with the program (or linked into the
// build folder): the MultiLanguage folder of the shared data folder
// (runtime/system/InstallLayout.h); empty when there is none.
QString InstalledLanguagePackages();
// "CHS", "CHT" or "ENG": the language folder of a demo home's code page;
// empty for a code page a demo home does not take.
QString DemoLanguage(const QString& uiCodePage);

struct TDemoSummary {
    QString DatabaseFile; // native path; for PostgreSQL the schema's connection text
    qint64 Slips = 0;
    qint64 Lines = 0;
    qint64 SignOffRecords = 0;
    QStringList Users; // the demo users, each with DemoPassword(user)
};

// The demo password of a demo user: the code in lower case + "-demo".
QString DemoPassword(const QString& user);
// "DS ds-demo, CHEN chen-demo, ...": the line --create-demo prints.
QString DemoLogins(const TDemoSummary& summary);

// The files of a client home that dir holds already (of those a demo home
// writes: registry.reg, StewardC.ini, StewardS.ini, UserDef.ini,
// C_DATA/DEMO.db), as relative names; empty when it holds none.
QStringList ExistingHomeFiles(const QString& dir);

// Makes the home in dir (created when missing). A folder that holds a home
// already (ExistingHomeFiles) is refused with an Exception naming what is
// there, unless options.Force is set; then its demo files are replaced.
// Raises Exception on failure.
TDemoSummary CreateDemoHome(const QString& dir, const TDemoOptions& options = {});

// Creates the schema in an empty database file and fills it. Raises.
TDemoSummary CreateDemoDatabase(const QString& fileName, const TDemoOptions& options = {});
// The same in the schema options.PostgresSchema of options.PostgresConnection,
// dropped first when it exists. Raises.
TDemoSummary CreateDemoSchema(const TDemoOptions& options);

class TDbBackend;
// Creates the demo tables in an empty database and fills them. Raises.
TDemoSummary FillDemoDatabase(TDbBackend& db, const TDemoOptions& options);
// The connection text of a schema: the connection text with that schema first
// in the search_path.
QString PostgresSchemaConnection(const QString& conninfo, const QString& schema);

// Text of a file embedded in the server library (":/appserver/<name>").
QString AppServerResource(const QString& name);
