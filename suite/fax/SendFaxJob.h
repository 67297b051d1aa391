#pragma once
// One fax job handed to HylaFAX's sendfax, never through a shell.
//
// The command is the program and a list of arguments:
//   sendfax -h <host> -m [-n] -d <number> -i <identifier> -f <sender> <file>...
// -m asks for fine resolution (196 lines per inch: the pages are rendered at
// 200 dpi), -n for no cover page. Numbers are checked (IsDialable), hosts
// must pass TFaxServer::IsHost, files are absolute paths, and identifier and
// sender lose their control characters, so no text can become an option or a
// second command.
//
// Run() answers empty when sendfax exited with status 0, else what went
// wrong (not found, not started, timed out, or its exit status and error
// output). The caller's files are left alone.

#include <QString>
#include <QStringList>

struct TSendFaxJob {
    QString Program = QStringLiteral("sendfax");
    QString Host;
    QString Number;
    QString Identifier;
    QString Sender;
    bool CoverPage = false;
    QStringList Files; // absolute paths of documents sendfax can read
    int TimeoutSeconds = 120;

    // A fax number as common/FaxNumber.h describes it.
    static bool IsDialable(const QString& number);

    // The executable program names (a path, or a name looked up on PATH),
    // or empty when there is none.
    static QString ProgramPath(const QString& program);

    // Empty when the job can be run, else why not.
    QString Check() const;
    QStringList Arguments() const;
    QString Run() const;
};
