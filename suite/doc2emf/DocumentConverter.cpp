#include "DocumentConverter.h"

#include "runtime/system/ChildProcess.h"
#include "runtime/system/SystemFacts.h"
#include "runtime/system/WholeFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>

namespace {

const QStringList Formats {
    QStringLiteral("png"), QStringLiteral("svg"), QStringLiteral("pdf"), QStringLiteral("emf")};

QString conversionFailure(const TProgramRun& run)
{
    const QString output = (run.ErrorOutput + run.Output).trimmed();
    return QStringLiteral("LibreOffice could not convert the document (status %1)%2")
        .arg(run.ExitCode)
        .arg(output.isEmpty() ? QString() : QStringLiteral(": ") + output);
}

} // namespace

QString TDocumentConverter::OfficeProgram()
{
    const QString configured = qEnvironmentVariable("STEWARD_SOFFICE");
    if (!configured.isEmpty())
        return QFileInfo(configured).isExecutable() ? configured : QString();
    for (const QString& name : {QStringLiteral("soffice"), QStringLiteral("libreoffice")}) {
        const QString found = QStandardPaths::findExecutable(name);
        if (!found.isEmpty())
            return found;
    }
    return {};
}

QString TDocumentConverter::NotInstalledMessage()
{
    return QStringLiteral(
        "LibreOffice is not installed on this computer. doc2emf needs it to turn a document "
        "into a page picture: install the Debian package libreoffice-writer (or "
        "libreoffice), or set STEWARD_SOFFICE to its soffice program.");
}

QString TDocumentConverter::DefaultTarget(const QString& document)
{
    const QFileInfo info(document);
    return info.absoluteDir().filePath(info.completeBaseName() + QStringLiteral(".png"));
}

QString TDocumentConverter::Convert(const QString& document, const QString& target) const
{
    const QFileInfo source(document);
    if (!source.isFile() || !source.isReadable())
        return QStringLiteral("The document \"%1\" cannot be read").arg(document);
    const QString format = QFileInfo(target).suffix().toLower();
    if (!Formats.contains(format))
        return QStringLiteral("\"%1\" is no picture name: use .png, .svg, .pdf or .emf").arg(target);
    const QString program = OfficeProgram();
    if (program.isEmpty())
        return NotInstalledMessage();

    QTemporaryDir work(GetTempFolder() + QStringLiteral("doc2emf-XXXXXX"));
    if (!work.isValid())
        return QStringLiteral("No temporary folder for the conversion");
    QDir(work.path()).mkdir(QStringLiteral("profile"));
    QDir(work.path()).mkdir(QStringLiteral("out"));
    const QString outFolder = work.filePath(QStringLiteral("out"));
    // An absolute document path: a name starting with "-" cannot pass for an option.
    const TProgramRun run = RunProgram(program,
        {QStringLiteral("--headless"), QStringLiteral("--norestore"), QStringLiteral("--nologo"),
            QStringLiteral("-env:UserInstallation=")
                + QUrl::fromLocalFile(work.filePath(QStringLiteral("profile"))).toString(),
            QStringLiteral("--convert-to"), format, QStringLiteral("--outdir"), outFolder,
            source.absoluteFilePath()},
        TimeoutSeconds);
    if (run.Result == TProgramRun::NotStarted)
        return QStringLiteral("%1 could not be started: %2").arg(program, run.StartError);
    if (run.Result == TProgramRun::TimedOut)
        return QStringLiteral("LibreOffice did not finish within %1 seconds").arg(TimeoutSeconds);
    if (!run.Succeeded())
        return conversionFailure(run);
    const QString produced = QDir(outFolder).filePath(source.completeBaseName() + QLatin1Char('.') + format);
    if (!QFileInfo(produced).isFile() || QFileInfo(produced).size() == 0)
        return conversionFailure(run);

    // Whole or not at all: a picture already there stays until the new one
    // replaces it in one step.
    QFile picture(produced);
    const bool written = picture.open(QIODevice::ReadOnly) && WriteWholeFile(target, [&](QIODevice& out) {
        char buffer[64 * 1024];
        for (qint64 got; (got = picture.read(buffer, sizeof buffer)) != 0;) {
            if (got < 0 || out.write(buffer, got) != got)
                return false;
        }
        return true;
    });
    if (!written)
        return QStringLiteral("The picture \"%1\" cannot be written").arg(target);
    return {};
}
