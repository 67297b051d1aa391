#include "runtime/system/ChildProcess.h"

#include <QProcess>

TProgramRun RunProgram(const QString& program, const QStringList& arguments, int timeoutSeconds)
{
    TProgramRun run;
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    process.setStandardInputFile(QProcess::nullDevice());
    process.start();
    if (!process.waitForStarted()) {
        run.StartError = process.errorString();
        return run;
    }
    if (!process.waitForFinished(timeoutSeconds * 1000)) {
        process.kill();
        process.waitForFinished(2000);
        run.Result = TProgramRun::TimedOut;
        return run;
    }
    run.Result = TProgramRun::Finished;
    run.ExitCode = process.exitCode();
    run.Crashed = process.exitStatus() != QProcess::NormalExit;
    run.Output = QString::fromLocal8Bit(process.readAllStandardOutput());
    run.ErrorOutput = QString::fromLocal8Bit(process.readAllStandardError());
    return run;
}
