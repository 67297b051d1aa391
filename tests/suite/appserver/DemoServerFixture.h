#pragma once
// A demo home in a temporary folder, the registry pointing at it, and server
// objects made the way clients make them: CreateOleObject("ZORV52S.Class1").

#include "runtime/data/DataPacket.h"
#include "runtime/system/AutoObject.h"
#include "suite/appserver/DemoHome.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <memory>
#include <sqlite3.h>

class DemoServerTest : public ::testing::Test {
protected:
    void SetUp() override;

    // A new server object, connected as user (when user is not empty).
    Variant NewServer(const QString& user = QStringLiteral("DS"));
    // Rows of a provider through AS_GetRecords, all at once.
    static QList<VariantList> Fetch(const Variant& server, const QString& provider, const QString& request,
        QStringList* fields = nullptr);
    // One integer answer of the demo database, read directly (not through the server).
    qint64 Count(const QString& sql) const;
    QStringList Column(const QString& sql) const;
    // Runs a statement on the demo database directly, as someone with the
    // database in hand would (a tampered row); the error text on failure.
    QString Execute(const QString& sql) const;
    // table name -> a digest of all its rows (in any order), for every table
    // of the demo database, read directly: equal maps mean nothing changed.
    QMap<QString, QString> TableDigests() const;
    // Adds lines to a section of the demo home's StewardS.ini (before a server reads it).
    void AddServerSettings(const QString& section, const QString& lines);

    QString DatabaseFile() const { return summary_.DatabaseFile; }

    testsupport::TempFolder home_;
    std::unique_ptr<testsupport::ScopedEnv> registry_;
    TDemoSummary summary_;
};

// The change-slip query of the LEFT JOIN dialect, as the options form builds it.
QString ChangeSlipSelect();
QString ChangeSlipFromAndJoins();
