#include "SendFaxJob.h"

#include "FaxSettings.h"

#include "common/FaxNumber.h"

#include "runtime/system/ChildProcess.h"

#include <QFileInfo>
#include <QStandardPaths>

namespace {

QString withoutControls(QString text)
{
    for (QChar& ch : text) {
        if (ch.category() == QChar::Other_Control)
            ch = QLatin1Char(' ');
    }
    return text.trimmed();
}

} // namespace

bool TSendFaxJob::IsDialable(const QString& number)
{
    return ::IsDialable(number);
}

QString TSendFaxJob::ProgramPath(const QString& program)
{
    const QString path
        = program.contains(QLatin1Char('/')) ? program : QStandardPaths::findExecutable(program);
    return !path.isEmpty() && QFileInfo(path).isExecutable() ? path : QString();
}

QString TSendFaxJob::Check() const
{
    if (!TFaxServer::IsHost(Host))
        return QStringLiteral("\"%1\" is no fax server").arg(Host);
    if (!IsDialable(Number))
        return QStringLiteral("\"%1\" is no fax number").arg(withoutControls(Number));
    if (Files.isEmpty())
        return QStringLiteral("There is nothing to fax");
    for (const QString& file : Files) {
        if (!QFileInfo(file).isAbsolute())
            return QStringLiteral("\"%1\" is no absolute path").arg(file);
    }
    return {};
}

QStringList TSendFaxJob::Arguments() const
{
    QStringList args {QStringLiteral("-h"), Host, QStringLiteral("-m")};
    if (!CoverPage)
        args << QStringLiteral("-n");
    args << QStringLiteral("-d") << Number;
    if (!withoutControls(Identifier).isEmpty())
        args << QStringLiteral("-i") << withoutControls(Identifier);
    if (!withoutControls(Sender).isEmpty())
        args << QStringLiteral("-f") << withoutControls(Sender);
    return args + Files;
}

QString TSendFaxJob::Run() const
{
    const QString error = Check();
    if (!error.isEmpty())
        return error;
    const QString program = ProgramPath(Program);
    if (program.isEmpty())
        return QStringLiteral("The HylaFAX client \"%1\" is not installed").arg(Program);
    const TProgramRun run = RunProgram(program, Arguments(), TimeoutSeconds);
    switch (run.Result) {
    case TProgramRun::NotStarted:
        return QStringLiteral("%1 could not be started: %2").arg(program, run.StartError);
    case TProgramRun::TimedOut:
        return QStringLiteral("%1 did not finish within %2 seconds").arg(program).arg(TimeoutSeconds);
    case TProgramRun::Finished:
        break;
    }
    if (!run.Succeeded()) {
        const QString output = run.ErrorOutput.trimmed();
        return QStringLiteral("%1 failed with status %2%3")
            .arg(program)
            .arg(run.ExitCode)
            .arg(output.isEmpty() ? QString() : QStringLiteral(": ") + output);
    }
    return {};
}
