#include "SendFaxJob.h"

#include "FaxSettings.h"

#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
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
    static const QRegularExpression dialable(QStringLiteral(R"(^[0-9+(#*][0-9+\-() .,#*]{0,63}$)"));
    static const QRegularExpression digit(QStringLiteral("[0-9]"));
    return dialable.match(number).hasMatch() && number.contains(digit);
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
    const QString program = Program.contains(QLatin1Char('/')) ? Program : QStandardPaths::findExecutable(Program);
    if (program.isEmpty() || !QFileInfo(program).isExecutable())
        return QStringLiteral("The HylaFAX client \"%1\" is not installed").arg(Program);
    QProcess process;
    process.setProgram(program);
    process.setArguments(Arguments());
    process.setStandardInputFile(QProcess::nullDevice());
    process.start();
    if (!process.waitForStarted())
        return QStringLiteral("%1 could not be started: %2").arg(program, process.errorString());
    if (!process.waitForFinished(TimeoutSeconds * 1000)) {
        process.kill();
        process.waitForFinished(2000);
        return QStringLiteral("%1 did not finish within %2 seconds").arg(program).arg(TimeoutSeconds);
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        const QString output = QString::fromLocal8Bit(process.readAllStandardError()).trimmed();
        return QStringLiteral("%1 failed with status %2%3")
            .arg(program)
            .arg(process.exitCode())
            .arg(output.isEmpty() ? QString() : QStringLiteral(": ") + output);
    }
    return {};
}
