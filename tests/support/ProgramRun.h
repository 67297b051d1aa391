#pragma once
// Running one of the project's programs to its end, as the end-to-end tests
// of the shell and the server's tool do.

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

namespace testsupport {

struct ProgramRun {
    int Status = -1; // exit code; -1 when the program crashed or did not end in time
    QString Out; // standard output, UTF-8
    QString Err; // standard error, UTF-8
};

// Runs program with args in environment and waits up to timeoutMs for its end;
// a program still running then is killed and reported as a test failure.
ProgramRun RunProgram(const QString& program, const QStringList& args, const QProcessEnvironment& environment,
    int timeoutMs = 60000);

} // namespace testsupport
