#include "support/ProgramRun.h"

#include <QFileInfo>
#include <QProcess>
#include <gtest/gtest.h>

namespace testsupport {

ProgramRun RunProgram(
    const QString& program, const QStringList& args, const QProcessEnvironment& environment, int timeoutMs)
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(program, args);
    ProgramRun run;
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
        ADD_FAILURE() << qPrintable(QFileInfo(program).fileName()) << " did not finish";
        return run;
    }
    run.Status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.Out = QString::fromUtf8(process.readAllStandardOutput());
    run.Err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

} // namespace testsupport
