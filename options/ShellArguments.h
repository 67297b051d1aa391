#pragma once
// The shell's argument array to an options window, read element by element:
//   0 user code, 1 company (its code, then optionally ";" and more),
//   2 database name, 3 the caller's window handle, 4 the feature list.
//
// What goes in: the Variant the shell handed over (an array, or a reference
// to one; counted from its low bound), and, once the window has opened, who
// it opened for.
// What is guaranteed: CheckShellArguments returns only for an array of at
// least five elements whose user, company and database are non-blank texts,
// whose handle is empty or a whole number and whose feature list is a text;
// with an opened identity, user, company and database must also name that
// identity (a window connected as one user to one database cannot become
// another one's). Anything else raises EArgumentError whose message names the
// element by number and meaning and says what is wrong with it.
// What is left alone: the arguments; elements past the fifth.

#include "runtime/system/ArgReader.h"

#include <QString>
#include <optional>

struct TShellIdentity {
    QString UserCode;
    QString CompanyCode;
    QString DatabaseName;
};

void CheckShellArguments(const Variant& params, const std::optional<TShellIdentity>& opened);
