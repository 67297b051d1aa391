#pragma once
// The application server object: every operation that a print program
// calls late-bound, and its providers. Clients create it by their program's
// server class id ("ZORV52S.Class1"); one class serves every program, whose
// code Connect names. One object serves
// one client; it opens its database on first use (the main company database
// of StewardS.ini) and switches to the company database that Connect names.
//
// No operation raises to the caller: a failure answers the operation's failure
// value (an error text, or a negative number) and LastError tells why; the
// object keeps serving.
//
// Every operation but Connect refuses until a Connect on this object has
// succeeded, and then works for that user and program only: schemes are the
// connected user's, deleting a format needs right 3 of the user's rights
// string, saving one right 2, the report's data (providers "Provider1",
// "Provider2", "pvdTemp", RunFreeSQL, sign-off data) right 2 or 6, and a print
// count right 6 (rights counted from 1; a super user holds them all). A failed
// Connect ends the session of the one before. Every read of a client text
// (providers, RunFreeSQL, the catalogue's "SimpleSql") is held to the
// connected user's data rights (ServerDataRights.h). The catalogue's
// predefined queries and messages (CatalogueQuery, CatalogueMessage) run
// the server's own statements and need no Connect; its "SimpleSql", which
// runs a text the client sends, needs one. In a connected session the
// catalogue reads the session's database only.
//
// Users prove who they are: Connect takes the user's password as element 5
// and checks it against the hash the company database keeps
// (UserPasswords.h). A wrong or missing password, a user without one and an
// unknown user fail the Connect with a text that says which; every failure
// is logged (query log, alert log "AppServerLogin") and slows the next
// attempts for that user and from that peer (LoginThrottle.h). Once a user
// has proved the password, this object is bound to that user and database:
// a later Connect for them needs no password again, a Connect for anyone
// else needs that one's. Where the login policy trusts the home's owner
// (the in-process server, ServerConfig.h's TrustHomeOwner), a Connect that
// brings no password is accepted for that owner.

#include "runtime/system/AutoObject.h"
#include "suite/appserver/QueryLog.h"
#include "suite/appserver/ServerConfig.h"
#include "suite/appserver/UserRights.h"

#include <initializer_list>
#include <memory>

class TDbBackend;
class TDbCursor;
class TProviderSet;

// Who may connect how: set by whoever makes the server object.
struct TLoginPolicy {
    // Where the attempts come from: the peer address (the daemon); empty
    // for the client's own process. Slowing and logs go by it.
    QString Peer;
    // The server runs in the client's process: TrustHomeOwner may apply.
    bool InProcess = false;
};

class TAppServer : public TAutoObject {
public:
    // The configuration of StewardS.ini under the registry's "ServerPath".
    // classId is the name the object was created by (ClassName()); empty
    // for an object made directly.
    explicit TAppServer(const QString& classId = QString());
    explicit TAppServer(TServerConfig config, const QString& classId = QString());
    void SetLoginPolicy(TLoginPolicy policy) { policy_ = std::move(policy); }
    ~TAppServer() override;

    // [program code, user code, company code, database name, main table,
    // password] -> error text (empty on success).
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
    // the condition selects; the number of rows, or -1. Only a print-count
    // column the configuration names (ServerConfig.h), and only a key
    // condition of ClientStatements.h.
    int UpdatePrintCount(const Variant& args);
    // A query the engine reports as read-only, or the send-log insert of
    // ClientStatements.h: the number of rows found or inserted; -1 on failure,
    // also for anything else and for an argument that is no text.
    int RunFreeSQL(const Variant& sql);
    // Answers [0] for an argument that is no text.
    Variant GetTWData(const Variant& request);
    QString GetWebserviceTWData(const Variant& request, Variant& out);

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
    // A client's read in the back end's dialect, held to the connected
    // user's data rights (ServerDataRights.h). Raises EDatabaseError, also
    // without a successful Connect.
    QString TranslateClientRead(const QString& sql);

private:
    void registerMembers();
    void registerCatalogueMembers();
    // Opens the company database of a database name unless it is open.
    void useDatabase(const QString& databaseName);
    // The database a catalogue call reads: the one named, or, in a
    // connected session, the session's own (raises EDatabaseError when
    // another is named: the session's reads would follow it there).
    QString catalogueDatabase(const QString& named);
    std::unique_ptr<TDbCursor> openProvider(const QString& provider, const QString& request);
    // Runs body; on an exception records it and answers failure.
    template<typename R, typename F> R guarded(const QString& operation, R failure, F body);
    // Raise EDatabaseError without a successful Connect, or when the user
    // lacks every one of the rights (positions counted from 1).
    void requireConnection() const;
    void requireRight(std::initializer_list<int> anyOf, const QString& what) const;
    // Raises EDatabaseError unless user is the connected user.
    void requireOwnUser(const QString& user) const;
    // Empty when the connecting user proved who they are (or is trusted),
    // else the reason. Slows and logs failures.
    QString authenticate(const QString& password);
    bool trustedOwner() const;
    void loginFailed(const QString& key, const QString& reason, qint64 waitedMs);

    TServerConfig config_;
    bool configLoaded_ = false;
    TQueryLog log_;
    QString session_; // holder of format edit locks taken through this object
    std::unique_ptr<TDbBackend> db_;
    QString dbFile_;
    std::unique_ptr<TProviderSet> providers_;
    TUserRights rights_;
    bool connected_ = false; // the last Connect succeeded
    TLoginPolicy policy_;
    QString authenticated_; // "<database file>|<USER>" that proved its password here
    QString program_, user_, company_, databaseName_, mainTable_;
    QString schemeUser_, schemeProgram_; // chosen by LoadTable
    QString lastError_;
};

// Registers the server with the automation object factory under the server
// class id of every known program (common/ProgramDescriptor.h: the module's
// own and those installed), each made as the in-process server. Answers the
// class ids registered; a program known later is not registered.
QStringList RegisterAppServer();
