#include "common/HomeFolder.h"

#include "runtime/system/NativePath.h"
#include "runtime/system/RegistryFile.h"

#include <QDir>
#include <QFileInfo>

namespace {

bool isRooted(const QString& path)
{
    if (path.startsWith(u'\\') || path.startsWith(u'/'))
        return true;
    // "D:..." names a drive, whatever follows.
    return path.size() >= 2 && path.at(1) == u':' && path.at(0).isLetter() && path.at(0).unicode() < 128;
}

QString iniFileOf(const QString& valueName)
{
    return valueName.compare(QLatin1String("ServerPath"), Qt::CaseInsensitive) == 0
        ? QStringLiteral("StewardS.ini")
        : QStringLiteral("StewardC.ini");
}

} // namespace

QString RegistryHomeFolder(TRegistry& registry, const QString& valueName)
{
    const QString recorded = registry.ReadString(valueName);
    if (recorded.isEmpty())
        return recorded;
    // The registry file's own folder: where a home that carries its
    // registry file with it now is.
    const QString registryFolder = QFileInfo(NativePath(registry.FileName())).absolutePath();
    if (!isRooted(recorded)) {
        QString relative = recorded;
        relative.replace(u'\\', u'/');
        return QDir::cleanPath(registryFolder + u'/' + relative);
    }
    if (DirectoryExists(recorded))
        return recorded;
    // An older home records its absolute place; copied or moved, that place
    // is gone (or was never on this machine), and the copy stands here.
    if (QFileInfo(registryFolder + u'/' + iniFileOf(valueName)).isFile())
        return registryFolder;
    return recorded;
}
