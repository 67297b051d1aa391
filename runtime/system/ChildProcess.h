#pragma once
// Running a helper program (the fax client, the office converter) and
// waiting for it, never through a shell.
//
// The program is started with the argument list as it stands: no text of
// any argument is ever read by a shell, so blanks, quotes, ";" or "$(...)"
// reach the program as they are. Standard input is empty. The call blocks
// the calling thread for at most timeoutSeconds; a program still running
// then is killed.

#include <QString>
#include <QStringList>

struct TProgramRun {
    enum Outcome { Finished, NotStarted, TimedOut };
    Outcome Result = NotStarted;
    int ExitCode = -1; // when Finished
    bool Crashed = false; // when Finished: ended by a signal
    QString Output; // standard output, decoded by the locale
    QString ErrorOutput; // standard error, decoded by the locale
    QString StartError; // when NotStarted: why

    // Finished normally with status 0.
    bool Succeeded() const { return Result == Finished && !Crashed && ExitCode == 0; }
};

TProgramRun RunProgram(const QString& program, const QStringList& arguments, int timeoutSeconds);
