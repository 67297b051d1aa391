#pragma once
// How the work-centre manager reaches the application server: the first
// server of the client configuration (StewardC.ini), in this process for
// 127.0.0.1. The manager and its service objects share one link; it connects
// on first use and sends only keys and values (table, number, parameters),
// the statements themselves being the server's. The one exception, a
// "SimpleSql" query whose statement the caller writes, runs on the server
// only for a logged-in user: the link first logs in as the user set with
// SetUser (once per database) and answers no rows when none is set or the
// server refuses that user.

#include "runtime/system/Variant.h"

#include <QString>
#include <QStringList>
#include <memory>

class TSocketConnection;

// The rows of a predefined query and how to show them.
struct THubQueryAnswer {
    bool Ok = false; // the server answered (with rows or without)
    Variant Rows; // zero-based array of zero-based rows; an empty array for none
    QStringList Columns; // column captions
    QString Title; // window caption of the query
    QString Error; // why there is no answer
    int RowCount() const { return Rows.IsArray() ? Rows.HighBound() + 1 : 0; }
};

class THubServerLink {
public:
    // serverName: the server's programmatic identifier.
    explicit THubServerLink(QString serverName);
    ~THubServerLink();
    THubServerLink(const THubServerLink&) = delete;
    THubServerLink& operator=(const THubServerLink&) = delete;

    // The server object, connecting on first use. Raises when the client
    // configuration names no server or the server cannot be reached.
    Variant Server();
    // Uses server instead of the configured one (another process's link, tests).
    void SetServer(const Variant& server)
    {
        server_ = server;
        loggedIn_.clear();
    }
    const QString& ServerName() const { return serverName_; }
    void SetServerName(const QString& name) { serverName_ = name; }

    // The user the link logs in as before a "SimpleSql" query.
    const QString& User() const { return user_; }
    void SetUser(const QString& user);

    // "CHT" when the user interface runs in code page 950, else "CHS".
    QString Language();
    void SetLanguage(const QString& language) { language_ = language; }

    // A query of the catalogue by kind ("Query", "Lookup", "Counter",
    // "SimpleSql"), table or counter name, number. Never raises.
    THubQueryAnswer Query(const QString& kind, const QString& table, const QString& number,
        const QString& databaseName, const Variant& params);
    // The text of a coded message in the user's language, as the server has
    // it. When the server cannot be reached (or does not know the code) the
    // manager's own catalogue answers, so that the messages that tell of an
    // unreachable server can be shown; empty when neither knows the code.
    // An English interface (code page 437) gets the text of the English
    // language package "TCodedMessages" where it has one. Never raises.
    QString Message(const QString& kind, const QString& id);

private:
    QString catalogueMessage(const QString& kind, const QString& id);
    QString englishMessage(const QString& kind, const QString& id, const QString& chinese);

    // Logs in as user_ on databaseName unless that is the session already. Raises.
    void logIn(const Variant& server, const QString& databaseName);

    QString serverName_;
    QString user_;
    QString loggedIn_; // "user/database" of the session the server holds
    QString language_;
    Variant server_;
    std::unique_ptr<TSocketConnection> connection_;
};
