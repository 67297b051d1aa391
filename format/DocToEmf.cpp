#include "format/DocToEmf.h"

#include "runtime/system/InstallLayout.h"
#include "runtime/system/PathCase.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>

namespace {

QString converterIn(const QDir& folder)
{
    // Tools copied from a Windows installation keep their upper-case names.
    for (const QString& entry : folder.entryList(QDir::Files | QDir::Executable)) {
        if (entry.compare(QLatin1String("doc2emf"), Qt::CaseInsensitive) == 0
            || entry.compare(QLatin1String("doc2emf.exe"), Qt::CaseInsensitive) == 0)
            return folder.filePath(entry);
    }
    return QString();
}

} // namespace

QString TDocToEmf::ProgramPath(const QString& clientHome, const QString& programFolder)
{
    QString home = clientHome;
    if (!home.isEmpty() && !home.endsWith(u'\\') && !home.endsWith(u'/'))
        home += u'\\';
    const QString own = converterIn(QDir(NativePathOnDisk(home + QStringLiteral("C_HVBIN"))));
    if (!own.isEmpty() || programFolder.isEmpty())
        return own;
    return converterIn(QDir(programFolder));
}

TDocToEmf::TDocToEmf()
    : programFolder_(ExecutableFolder())
{
}

bool TDocToEmf::Start(const QString& clientHome, QObject* parent, FinishedEvent finished)
{
    lastError_.clear();
    const QString program = ProgramPath(clientHome, programFolder_);
    if (program.isEmpty()) {
        lastError_ = clientHome + QStringLiteral("C_HVBIN\\doc2emf");
        if (!programFolder_.isEmpty())
            lastError_ += QStringLiteral(", ") + QDir(programFolder_).filePath(QStringLiteral("doc2emf"));
        return false;
    }
    auto* process = new QProcess(parent);
    process->setProgram(program);
    process->setWorkingDirectory(QFileInfo(program).absolutePath());
    // Its questions are the user's to answer; its output is ours to read.
    process->setProcessChannelMode(QProcess::SeparateChannels);
    QObject::connect(
        process, &QProcess::finished, process, [process, finished](int status, QProcess::ExitStatus how) {
            QString picture;
            if (how == QProcess::NormalExit && status == 0) {
                const QStringList lines = QString::fromLocal8Bit(process->readAllStandardOutput())
                                              .split(u'\n', Qt::SkipEmptyParts);
                for (qsizetype i = lines.size() - 1; i >= 0 && picture.isEmpty(); --i)
                    picture = lines.at(i).trimmed();
            }
            process->deleteLater();
            if (finished)
                finished(picture);
        });
    process->start();
    if (!process->waitForStarted(5000)) {
        lastError_ = program + QStringLiteral(": ") + process->errorString();
        // A process that never ran never finishes: nothing of it is left.
        process->disconnect();
        process->deleteLater();
        return false;
    }
    return true;
}
