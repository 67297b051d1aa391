#pragma once
// Where the shell gets the user's password from, in this order:
//
// 1. --password-file FILE: the file's first line. The file must be a plain
//    file of the user running the shell that nobody else may read or
//    write (mode 0600 or 0400); anything else is refused, naming the mode.
// 2. --password-stdin: the first line of standard input (for scripts that
//    pipe it in).
// 3. The environment variable STEWARD_PASSWORD (for scripts and services);
//    it is taken out of the environment at once, so that the programs the
//    shell starts (fax, mail, converters) do not inherit it.
// 4. A terminal on standard input: the shell asks for it there, without
//    echo. An empty answer sends none (see below).
// Without any of them the login carries no password: the application
// server then refuses the user unless it trusts this process's user (the
// single-machine install; README "Users and passwords").
//
// What is guaranteed: the password never reaches a log, the command line or
// stderr. A trailing CR/LF is not part of it; other characters are.

#include <QString>
#include <optional>

struct TShellOptions;

struct TLoginAnswer {
    std::optional<QString> Password; // none: log in without one
    QString Error; // why a source named could not be used; empty when fine
};

// Reads the password for options.User from the first source above that
// applies.
TLoginAnswer ObtainPassword(const TShellOptions& options);

// The first line of a password file, refusing a file others could read or
// write (see above). Exposed for tests.
TLoginAnswer ReadPasswordFile(const QString& file);
