#pragma once
// The command line of steward, the client shell:
//
//   steward PROGRAM [--home DIR] [--user U] [--password-file F | --password-stdin]
//                   [--company C] [--database D]
//                   [--features F] [--verbose] [--exit-after-show] [--screenshots PREFIX]
//                   [--preview | --print] [--keys TYPE,NUMBER,VERSION[,TYPEKEY]]
//                   [--export-pictures KIND PREFIX [RESOLUTION]] [--export-pdf FILE]
//                   [--scheme NAME [--send]] [--no-rows-ok]
//   steward --create-demo DIR [--slips N] [--code-page 936|950|437] [--force]
//   steward [PROGRAM] --help

#include "options/OutputKind.h"

#include <QString>
#include <QStringList>
#include <optional>

struct TShellOptions {
    enum class Mode {
        Window, // show the options window until it is gone
        PrintOrPreview, // command 5
        PrintKeys, // command 6
        ExportPictures, // command 11
        ExportPdf, // command 11 with the vector PDF kind, with or without keys
        Send, // command 13, on the criteria of a scheme (--scheme)
        CreateDemo,
        Help,
    };

    Mode RunMode = Mode::Window;
    QString Program; // upper case, e.g. ZORV52
    QString Home; // client home; empty = the registry file in place
    QString User = QStringLiteral("DS");
    QString Company = QStringLiteral("HV01");
    QString Database = QStringLiteral("DEMO");
    // Where the user's password comes from (ShellLogin.h): a file only the
    // user may read, or the first line of standard input.
    QString PasswordFile;
    bool PasswordStdin = false;
    QString Features;
    bool Verbose = false;
    bool Preview = false;
    QStringList Keys; // TYPE, NUMBER, VERSION[, TYPEKEY]
    // --scheme: the user's saved condition scheme whose criteria (and send
    // way and format) the command runs on, opened first by command 12.
    QString Scheme;
    // --no-rows-ok: criteria that find no rows (W;000006) end with status 0,
    // so that a scheduled run on a day without slips is no failure.
    bool NoRowsOk = false;
    // --export-pictures: a page kind with the prefix of its files;
    // --export-pdf: the whole-report kind with its file. Empty otherwise.
    std::optional<TExportTarget> Export;
    int Resolution = 0; // 0: the module's default
    QString DemoDir;
    int DemoSlips = 300;
    bool DemoForce = false; // --force: replace a home the folder holds
    QString DemoCodePage; // --code-page: "936", "950" or "437"; empty: 936
    // Window mode: close the window once it has painted, and print the
    // milliseconds from the shell's start to that first paint.
    bool ExitAfterShow = false;
    // Window mode: before closing, save each page of the window as
    // PREFIX-<n>.png (implies ExitAfterShow).
    QString ScreenshotPrefix;
};

// Reads the arguments after the program name. Returns false with a message in
// error when they do not make one valid call.
//
// An option is spelled with two dashes or one ("--verbose", "-v", "-user"),
// its value as the next argument or after "=" ("--user=CHEN"); an argument
// that starts with "--" is never taken as a value (the option then "needs a
// value"), and a switch given a value is refused. After "--" every argument
// is a plain one. Given twice, an option's last value counts, and so does
// the last --export-pictures with all of its values. Export is set exactly
// in the modes ExportPictures (a page kind and its prefix) and ExportPdf
// (the whole-report kind and its file).
bool ParseShellOptions(const QStringList& args, TShellOptions& options, QString& error);

// The text of --help.
QString ShellUsage();
