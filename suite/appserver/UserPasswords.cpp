#include "suite/appserver/UserPasswords.h"

#include "suite/appserver/DbBackend.h"
#include "suite/appserver/PasswordHash.h"

#include <QDateTime>

namespace userpasswords {

namespace {

void ensureTable(TDbBackend& db)
{
    if (db.HasTable(QLatin1String(Table)))
        return;
    // ExecuteScript refreshes the back end's catalogue after a CREATE.
    db.ExecuteScript(QStringLiteral("CREATE TABLE IF NOT EXISTS ADMMP (MP001 TEXT NOT NULL PRIMARY KEY, "
                                    "MP002 TEXT NOT NULL, MP003 TEXT)"));
}

} // namespace

QString StoredHash(TDbBackend& db, const QString& user)
{
    if (!db.HasTable(QLatin1String(Table)))
        return QString();
    auto c = db.Query(QStringLiteral("SELECT MP002 FROM ADMMP WHERE MP001 = ?"), {user.trimmed()});
    return c->Next() ? c->Text(0).trimmed() : QString();
}

void SetPassword(TDbBackend& db, const QString& user, const QString& password, TScryptCost cost)
{
    const QString code = user.trimmed();
    if (password.isEmpty())
        throw Exception(QStringLiteral("an empty password is not set"));
    {
        auto c = db.Query(QStringLiteral("SELECT 1 FROM ADMMF WHERE MF001 = ?"), {code});
        if (!c->Next())
            throw Exception(QStringLiteral("user %1 does not exist").arg(code));
    }
    ensureTable(db);
    const QString hash = HashPassword(password, cost);
    const QString now = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMddhhmmss"));
    TDbTransaction tx(db);
    db.Execute(QStringLiteral("DELETE FROM ADMMP WHERE MP001 = ?"), {code});
    db.Execute(QStringLiteral("INSERT INTO ADMMP (MP001, MP002, MP003) VALUES (?, ?, ?)"), {code, hash, now});
    tx.Commit();
}

} // namespace userpasswords
