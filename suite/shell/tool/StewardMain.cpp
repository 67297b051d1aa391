// steward: the client shell. See ShellOptions.h for the command line.
#include "suite/shell/ShellOptions.h"
#include "suite/shell/StewardShell.h"

#include <QApplication>
#include <cstdio>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("steward"));
    QApplication::setQuitOnLastWindowClosed(false); // the shell decides when the program is over
    TShellOptions options;
    QString error;
    if (!ParseShellOptions(app.arguments().mid(1), options, error)) {
        std::fprintf(stderr, "steward: %s\n(steward --help explains the options)\n", qPrintable(error));
        return TStewardShell::UsageError;
    }
    return TStewardShell(options).Run();
}
