#include "runtime/system/InstallLayout.h"

#include <QDir>
#include <QFileInfo>

// The install rules pass the relative paths from the programs' folder to the
// module and data folders; a build without them (a tool built on its own)
// takes the layout of an install without a multiarch triplet.
#ifndef ZORV_BIN_TO_MODULES
#define ZORV_BIN_TO_MODULES "../lib/zorv52"
#endif
#ifndef ZORV_BIN_TO_DATA
#define ZORV_BIN_TO_DATA "../share/zorv52"
#endif

namespace {

// The build folder puts the modules beside the programs' bin/ in lib/.
const char* const BuildModules = "../lib";

QString below(const QString& exeDir, const char* relative)
{
    return QDir::cleanPath(exeDir + QLatin1Char('/') + QLatin1String(relative));
}

} // namespace

QString ExecutableFolder()
{
    // The kernel's own link, so that a program started through a symbolic
    // link or by a relative name still finds its folder.
    const QString exe = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
    return exe.isEmpty() ? QString() : QFileInfo(exe).absolutePath();
}

QStringList ProgramModuleFolders(const QString& exeDir)
{
    if (exeDir.isEmpty())
        return {};
    QStringList folders {below(exeDir, ZORV_BIN_TO_MODULES)};
    const QString built = below(exeDir, BuildModules);
    if (!folders.contains(built))
        folders << built;
    return folders;
}

QString SharedDataFolder(const QString& exeDir)
{
    const QString configured = qEnvironmentVariable("STEWARD_DATA_PATH");
    if (!configured.isEmpty())
        return QDir::cleanPath(QFileInfo(configured).absoluteFilePath());
    if (exeDir.isEmpty())
        return {};
    const QString folder = below(exeDir, ZORV_BIN_TO_DATA);
    return QFileInfo(folder).isDir() ? folder : QString();
}
