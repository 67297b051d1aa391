#pragma once
// Where a company database keeps its users' passwords: table ADMMP beside
// the users (ADMMF), one row per user that has a password:
//   MP001 user code, MP002 the stored hash (PasswordHash.h), MP003 the time
//   it was set ("yyyyMMddhhmmss").
//
// The table is the server's alone: client texts never read it (the SQLite
// authorizer denies it, PostgreSQL's client role holds no right on it, and
// both refuse a text that names it). It is made on first use in a database
// that lacks it.
//
// StoredHash answers the user's hash, empty when the user has none (or the
// table does not exist yet). SetPassword replaces it; it raises Exception
// for a user that is not in ADMMF and for an empty password. User codes are
// compared as the users table compares them (exactly, after trimming).

#include "suite/appserver/PasswordHash.h"

#include <QString>

class TDbBackend;

namespace userpasswords {

inline constexpr const char* Table = "ADMMP";

QString StoredHash(TDbBackend& db, const QString& user);
void SetPassword(
    TDbBackend& db, const QString& user, const QString& password, TScryptCost cost = DefaultScryptCost);

} // namespace userpasswords
