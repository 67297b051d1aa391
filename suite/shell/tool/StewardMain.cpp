// steward: the client shell. See ShellOptions.h for the command line.
#include "runtime/system/ProcessSetup.h"
#include "runtime/system/SystemFacts.h"
#include "suite/shell/ShellOptions.h"
#include "suite/shell/StewardShell.h"

#include <QApplication>
#include <cstdio>

namespace {

bool HasDisplay()
{
    return !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

} // namespace

int main(int argc, char** argv)
{
    IgnoreFileSizeSignal();
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    TShellOptions options;
    QString error;
    const bool parsed = ParseShellOptions(args, options, error);
    // Help, demo homes and the commands without a window need no screen: on a
    // machine without one they run on the offscreen platform.
    if (!HasDisplay() && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        if (parsed && options.RunMode == TShellOptions::Mode::Window) {
            std::fprintf(stderr,
                "steward: no display to show the %s window on "
                "(set DISPLAY, or run it under xvfb-run)\n",
                qPrintable(options.Program));
            return TStewardShell::UsageError;
        }
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }

    PrepareRuntimeFolder(); // no word from Qt about a missing XDG_RUNTIME_DIR
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("steward"));
    QApplication::setQuitOnLastWindowClosed(false); // the shell decides when the program is over
    if (!parsed) {
        std::fprintf(stderr, "steward: %s\n(steward --help explains the options)\n", qPrintable(error));
        return TStewardShell::UsageError;
    }
    return TStewardShell(options).Run();
}
