#include "update/HVDownLoadNewFileU.h"

#include "common/LibStrs.h"
#include "runtime/forms/Dialogs.h"
#include "runtime/system/NativePath.h"
#include "runtime/system/RegistryFile.h"
#include "runtime/system/SystemFacts.h"
#include "update/HVDownLoad.h"

#include <QFile>
#include <QFileInfo>

namespace {

const QString LogName = QStringLiteral("HVDownLoadNewFileU");

// The folder of the running program, as a path text ending in "\Log".
QString UpdateLogFolder()
{
    return IncludeTrailingBackslash(QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath())
        + QStringLiteral("Log");
}

void WriteUpdateLog(const QString& message)
{
    WriteAlertLogIn(UpdateLogFolder(), LogName, message, QStringLiteral("D"));
}

// The text between an opening mark and the next closing mark after it; empty
// when the closing mark is missing.
bool TakeBetween(const QString& info, const QString& open, const QString& close, QString& value)
{
    const qsizetype start = info.indexOf(open);
    if (start < 0)
        return false;
    const qsizetype from = start + open.size();
    const qsizetype end = info.indexOf(close, from);
    value = end < 0 ? QString() : info.mid(from, end - from);
    return true;
}

QString InfoValue(const QString& info, const QString& tag, const QString& assignment)
{
    QString value;
    if (!TakeBetween(info, QLatin1Char('<') + tag + QLatin1Char('>'),
            QStringLiteral("</") + tag + QLatin1Char('>'), value))
        TakeBetween(info, assignment + QStringLiteral(" = '"), QStringLiteral("'"), value);
    return value;
}

// "\\server\share\x" names a file on another machine; so does "//server/share"
// here, where "/" separates as well.
bool IsNetworkPath(const QString& localFile)
{
    return localFile.contains(QStringLiteral("\\\\")) || localFile.startsWith(QStringLiteral("//"));
}

// Runs step until it succeeds. A failure gives message(reason); in
// interactive mode the user may retry it, otherwise it is raised.
template<typename Step, typename Message> void RetryUntilDone(bool interactive, Step step, Message message)
{
    QString reason;
    while (!step(reason)) {
        const QString text = message(reason);
        if (!interactive || MessageDlg(text, mtError, TMsgDlgButtons(mbAbort) | mbRetry) != mrRetry)
            throw Exception(text);
    }
}

} // namespace

QString UpdateLogFileName(const QDate& day)
{
    return UpdateLogFolder() + QStringLiteral("\\Alert_") + LogName + QLatin1Char('_')
        + day.toString(QStringLiteral("yyyyMMdd")) + QStringLiteral(".log");
}

bool UpdateAllowed()
{
    TRegistry registry;
    registry.RootKey = TRegistry::Root::LocalMachine;
    if (!registry.OpenKeyReadOnly(QStringLiteral("Software\\PLKT\\Velmor"))) {
        WriteUpdateLog(QStringLiteral("Read Upgrader Registry Error: No UPGRADER_REGISTRY_PATH"));
        return false;
    }
    return registry.ReadString(QStringLiteral("GoAhead")).trimmed() == QLatin1String("1");
}

void ParseFileInfo(const QString& info, QString& stamp, QString& serverFolder)
{
    stamp = InfoValue(info, QStringLiteral("Modify"), QStringLiteral("Modify"));
    const QString path = InfoValue(info, QStringLiteral("Path"), QStringLiteral("Path"));
    serverFolder = path.left(qMax(path.lastIndexOf(u'\\'), path.lastIndexOf(u'/')) + 1);
}

bool UpdateFileFromInfo(const QString& info, const QString& localFile, QString& error, bool interactive)
{
    QString stamp;
    QString serverFolder;
    ParseFileInfo(info, stamp, serverFolder);
    return DownloadNewFile(stamp, serverFolder, localFile, interactive, error);
}

bool DownloadNewFile(const QString& stamp, const QString& serverFolder, const QString& localFile,
    bool interactive, QString& error)
{
    if (!UpdateAllowed())
        return true;
    try {
        // Scoped so that the library is unloaded before a failure is logged.
        THVDownLoad loader;
        if (loader.CompareFileToDown(stamp, localFile) == 0)
            return true;
        if (IsNetworkPath(localFile))
            throw Exception(QStringLiteral("Net File can't update![%1]").arg(localFile));
        const QString name = ExtractFileName(localFile);
        // Only the folder is lower-cased; the file name keeps its spelling.
        const QString source
            = IncludeTrailingBackslash(serverFolder.trimmed()).toLower() + name + QStringLiteral(".zip");
        const QString target
            = IncludeTrailingBackslash(GetTempFolder().trimmed()) + name + QStringLiteral(".zip");
        RetryUntilDone(
            interactive, [&](QString& reason) { return loader.DownLoadFile(source, target, reason); },
            [&](const QString& reason) {
                return QStringLiteral("DownLoad new file[%1] failed. %2").arg(localFile, reason);
            });
        RetryUntilDone(
            interactive,
            [&](QString& reason) {
                return loader.UnZipFilesOrDir(target, ExtractFilePath(localFile), reason);
            },
            [&](const QString& reason) {
                return QStringLiteral("Unzip new file[%1] failed. %2").arg(localFile, reason);
            });
        QFile::remove(NativePath(target));
        return true;
    } catch (const Exception& e) {
        error = e.Message();
    } catch (const std::exception& e) {
        error = QString::fromUtf8(e.what());
    }
    WriteUpdateLog(error);
    return false;
}
