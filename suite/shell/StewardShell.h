#pragma once
// TStewardShell: loads a program module by its program code, creates the
// work-centre manager and drives the module's controller: Open, then either
// the options window until it is gone, or one numbered command with the
// window hidden. The shell's messages go to stderr; so do the program's
// during a command (its message boxes become lines there, and an error
// message makes the exit status non-zero); Run() answers the exit status.

#include "suite/shell/ShellOptions.h"

#include "runtime/system/Variant.h"

#include <QString>

class TDLLBaseController;

class TStewardShell {
public:
    enum ExitStatus { Success = 0, ProgramFailed = 1, UsageError = 2, ModuleError = 3 };

    explicit TStewardShell(TShellOptions options);
    int Run();

private:
    int runDemo();
    int runProgram();
    int drive(TDLLBaseController* controller);
    int runWindow(TDLLBaseController* controller);
    // Shows the window until its first paint, saves screenshots when asked, closes it.
    int showOnce(TDLLBaseController* controller);
    int runCommand(TDLLBaseController* controller);
    void onEvent(int code, TDLLBaseController* controller);
    void closeWhenNoWindowIsLeft(TDLLBaseController* controller);
    // Closes the form and prints what the program left in its results.
    int fail(TDLLBaseController* controller, const QString& what);
    QString messageText(const Variant& value) const;
    // Whether a failed command found no rows and told nothing worse.
    bool noRowsFound(TDLLBaseController* controller) const;
    void createManager();
    // Message boxes at the window, console lines for a command (see the .cpp).
    void chooseMessageWay();
    void followConfiguredLocale();
    void say(const QString& text) const;
    void verbose(const QString& text) const;

    TShellOptions options_;
    Variant manager_;
    QString moduleName_;
    bool formGone_ = false;
};
