#include "runtime/system/Libraries.h"

#include "runtime/system/NativePath.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdlib>
#include <dlfcn.h>
#include <link.h>

namespace {

thread_local QString lastLoadError;

// The file of that name in the folder, the exact spelling first, else the first
// spelling that differs only in case.
QString FindInFolder(const QString& folder, const QString& fileName)
{
    const QDir dir(folder);
    if (folder.isEmpty() || !dir.exists())
        return {};
    if (QFileInfo(dir.filePath(fileName)).isFile())
        return dir.absoluteFilePath(fileName);
    const QStringList entries = dir.entryList(QDir::Files | QDir::Hidden, QDir::Name);
    for (const QString& entry : entries) {
        if (entry.compare(fileName, Qt::CaseInsensitive) == 0)
            return dir.absoluteFilePath(entry);
    }
    return {};
}

// dlopen of an existing file; nullptr with lastLoadError set.
void* OpenFile(const QString& path)
{
    dlerror();
    void* handle = dlopen(QFile::encodeName(path).constData(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const char* error = dlerror();
        lastLoadError = QStringLiteral("%1: %2").arg(
            path, error ? QString::fromLocal8Bit(error) : QStringLiteral("cannot be opened"));
    }
    return handle;
}

} // namespace

QString SharedObjectName(const QString& windowsName)
{
    QString base = ExtractFileName(windowsName.trimmed());
    if (ExtractFileExt(base).compare(QLatin1String(".dll"), Qt::CaseInsensitive) == 0)
        base = ChangeFileExt(base, QString());
    if (base.isEmpty() || base == QLatin1String(".") || base == QLatin1String(".."))
        return {};
    return QStringLiteral("lib") + base + QStringLiteral(".so");
}

QString ModuleFileName()
{
    Dl_info info {};
    link_map* map = nullptr;
    if (dladdr1(
            reinterpret_cast<void*>(&ModuleFileName), &info, reinterpret_cast<void**>(&map), RTLD_DL_LINKMAP)
        && map && map->l_name && *map->l_name)
        return QFileInfo(QString::fromLocal8Bit(map->l_name)).absoluteFilePath();
    // The main program has no name in its link map.
    return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
}

QStringList TLibrary::SearchFolders(const QStringList& extraFolders)
{
    QStringList folders {QFileInfo(ModuleFileName()).absolutePath()};
    for (const QString& folder : extraFolders) {
        if (!folder.trimmed().isEmpty())
            folders.append(NativePath(folder.trimmed()));
    }
    const char* libraryPath = std::getenv("STEWARD_LIBRARY_PATH");
    if (libraryPath)
        folders.append(QString::fromLocal8Bit(libraryPath).split(QLatin1Char(':'), Qt::SkipEmptyParts));
    return folders;
}

std::unique_ptr<TLibrary> TLibrary::Load(const QString& windowsName, const QStringList& extraFolders)
{
    lastLoadError.clear();
    const QString fileName = SharedObjectName(windowsName);
    if (fileName.isEmpty()) {
        lastLoadError = QStringLiteral("\"%1\" is no library name").arg(windowsName);
        return nullptr;
    }
    const QStringList folders = SearchFolders(extraFolders);
    for (const QString& folder : folders) {
        const QString path = FindInFolder(folder, fileName);
        if (path.isEmpty())
            continue;
        void* handle = OpenFile(path);
        return handle ? std::unique_ptr<TLibrary>(new TLibrary(handle, path)) : nullptr;
    }
    lastLoadError = QStringLiteral("%1 (%2) was not found in %3")
                        .arg(windowsName, fileName, folders.join(QStringLiteral(", ")));
    return nullptr;
}

std::unique_ptr<TLibrary> TLibrary::LoadFile(const QString& nativePath)
{
    lastLoadError.clear();
    // A name without a folder would make dlopen search the system's folders.
    const QString path = QFileInfo(nativePath).absoluteFilePath();
    if (nativePath.isEmpty() || !QFileInfo(path).isFile()) {
        lastLoadError = QStringLiteral("%1 was not found").arg(nativePath);
        return nullptr;
    }
    void* handle = OpenFile(path);
    return handle ? std::unique_ptr<TLibrary>(new TLibrary(handle, path)) : nullptr;
}

QString TLibrary::LastLoadError()
{
    return lastLoadError;
}

TLibrary::TLibrary(void* handle, QString path)
    : handle_(handle)
    , path_(std::move(path))
{
}

TLibrary::~TLibrary()
{
    if (handle_)
        dlclose(handle_);
}

void TLibrary::KeepLoaded(std::unique_ptr<TLibrary> library)
{
    if (library)
        library->handle_ = nullptr; // the system keeps it open; nothing to close
}

void* TLibrary::GetProcAddress(const QString& entryName) const
{
    if (entryName.isEmpty())
        return nullptr;
    return dlsym(handle_, entryName.toUtf8().constData());
}
