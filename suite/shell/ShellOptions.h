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

#include <QString>
#include <QStringList>

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
    int PictureKind = 0; // 0 BMP, 1 JPG, 2 GIF, 3 PDF; VectorPdfKind for --export-pdf
    QString PicturePrefix; // --export-pdf: the file itself
    // The module's export kind that writes every page into one vector PDF.
    static constexpr int VectorPdfKind = 4;
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
bool ParseShellOptions(const QStringList& args, TShellOptions& options, QString& error);

// The text of --help.
QString ShellUsage();
