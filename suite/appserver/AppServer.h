#pragma once
// The application server object "ZORV52S.Class1": every operation that the
// change-slip program calls late-bound, and its providers. One object serves
// one client; it opens its database on first use (the main company database
// of StewardS.ini) and switches to the company database that Connect names.
//
// No operation raises to the caller: a failure answers the operation's failure
// value (an error text, or a negative number) and LastError tells why; the
// object keeps serving.

#include "runtime/system/AutoObject.h"
#include "suite/appserver/QueryLog.h"
#include "suite/appserver/ServerConfig.h"
#include "suite/appserver/UserRights.h"

#include <memory>

class TDbBackend;
class TDbCursor;
class TProviderSet;

class TAppServer : public TAutoObject {
public:
    // The configuration of StewardS.ini under the registry's "ServerPath".
    TAppServer();
    explicit TAppServer(TServerConfig config);
    ~TAppServer() override;

    // [program code, user code, company code, database name, main table] -> error text.
    QString Connect(const Variant& args);
    Variant PowerData() const { return rights_.PowerData(); }
    int SQLType();
    QString LastError() const { return lastError_; }

    QString LoadTable(const Variant& args);
    QString InsertConTable(const Variant& args);
    QString DeleteConTable(const Variant& args);
    QString ChangeConName(const Variant& oldKey, const Variant& newKey);

    int RunDeleteSQL(const Variant& key);
    int GetBlobField(const Variant& key, Variant& out);
    int RunUpdFlagSQL(const Variant& args);
    int RunInsUpdSQL(bool update, const Variant& lines, const Variant& params, int sizeKB);
    // [table, count column, key condition]: adds one to the count of the rows
    // the condition selects; the number of rows, or -1.
    int UpdatePrintCount(const Variant& args);
    // One SELECT (or INSERT, for the send log): the number of rows found or
    // inserted, -1 on failure.
    int RunFreeSQL(const QString& sql);
    Variant GetTWData(const QString& request);
    QString GetWebserviceTWData(const QString& request, Variant& out);

    QByteArray GetRecords(
        const QString& provider, int count, int& rowsSent, const QString& request, int options);

    // The catalogue of the work-centre manager (CatalogueService.cpp).
    // [kind ("Query", "Lookup", "Counter" or "SimpleSql"), table (a counter's
    // name), number, database name, parameters] -> [rows, column captions,
    // title]; Null on failure (LastError tells why).
    Variant CatalogueQuery(const Variant& args);
    // [kind, number, language ("CHS" or "CHT"), database name] -> the
    // message text; empty when the database has no such message.
    QString CatalogueMessage(const Variant& args);

    // The open database (opened on first use). Raises EDatabaseError.
    TDbBackend& Database();
    // A client text in the back end's dialect. Raises EDatabaseError.
    QString Translate(const QString& sql);

private:
    void registerMembers();
    void registerCatalogueMembers();
    // Opens the company database of a database name unless it is open.
    void useDatabase(const QString& databaseName);
    std::unique_ptr<TDbCursor> openProvider(const QString& provider, const QString& request);
    // Runs body; on an exception records it and answers failure.
    template<typename R, typename F> R guarded(const QString& operation, R failure, F body);

    TServerConfig config_;
    bool configLoaded_ = false;
    TQueryLog log_;
    QString session_; // holder of format edit locks taken through this object
    std::unique_ptr<TDbBackend> db_;
    QString dbFile_;
    std::unique_ptr<TProviderSet> providers_;
    TUserRights rights_;
    QString program_, user_, company_, databaseName_, mainTable_;
    QString schemeUser_, schemeProgram_; // chosen by LoadTable
    QString lastError_;
};

// Registers "ZORV52S.Class1" with the automation object factory.
void RegisterAppServer();
