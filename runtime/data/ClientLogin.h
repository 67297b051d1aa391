#pragma once
// The login of the user this process works for, and how a connection
// presents it to the application server.
//
// The shell asks the user for the password once (suite/shell/ShellLogin.h)
// and sets it here; a module gets it from the shell with Open and sets its
// own copy. Every server object a TSocketConnection hands out (in-process
// or over the network) is wrapped by PresentingLogin: a Connect naming the
// logged-in user ([program, user, company, database, main table], as one
// array or one by one) goes to the server with the password appended as
// element 5; everything else passes unchanged, and a Connect for another
// user goes without a password (the server then refuses it unless it
// trusts the caller). The password stays in this process's memory only,
// and is never written to a log.
//
// Safe to use from every thread.

#include "runtime/system/Variant.h"

#include <QString>
#include <optional>

namespace clientlogin {

void Set(const QString& user, const QString& password);
void Clear();
// The password of user (compared without regard to case), when that user is logged in.
std::optional<QString> PasswordFor(const QString& user);

} // namespace clientlogin

// The connect arguments with the logged-in user's password added when they
// name that user and carry none yet; otherwise args unchanged.
VariantList WithLoginPassword(const VariantList& args);

// A server object whose Connect presents the login (see above). An empty or
// non-object Variant is answered as it is.
Variant PresentingLogin(const Variant& server);
