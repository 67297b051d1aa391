#include "update/ServerProgram.h"

#include "common/StewardINI.h"
#include "runtime/system/Libraries.h"
#include "runtime/system/NativePath.h"
#include "update/HVDownLoadNewFileU.h"
#include "update/SvrController.h"

#include <QDir>
#include <QFileInfo>

namespace {

// The spelling of the file in the folder: exact first, else any case.
QString FileInFolder(const QString& folder, const QString& fileName)
{
    const QString exact = IncludeTrailingBackslash(folder) + fileName;
    if (FileExists(exact))
        return exact;
    const QStringList entries = QDir(NativePath(folder)).entryList(QDir::Files);
    for (const QString& entry : entries)
        if (entry.compare(fileName, Qt::CaseInsensitive) == 0)
            return IncludeTrailingBackslash(folder) + entry;
    return {};
}

QString FetchFolder(const QStringList& folders)
{
    for (const QString& folder : folders)
        if (folder.toUpper().contains(QLatin1String("S_PKG")))
            return folder;
    return folders.first();
}

} // namespace

QString ServerLibraryFileName(const QString& programCode)
{
    const QString code = programCode.trimmed();
    return code.isEmpty() ? QString() : SharedObjectName(code + QStringLiteral("S.DLL"));
}

QString ServerFileInfo(const Variant& manager, const QString& fileName)
{
    if (!manager.IsObject())
        return {};
    try {
        const Variant answer
            = manager.Call(QStringLiteral("GetFileList"), {Variant::ArrayOf({fileName.toLower()})});
        return answer.IsString() ? answer.ToString() : QString();
    } catch (const std::exception&) {
        return {}; // a manager without the member serves no newer copies
    }
}

QString LocateServerLibrary(
    const QStringList& folders, const QString& fileName, const QString& info, QString& error)
{
    if (folders.isEmpty()) {
        error = QStringLiteral("no work-library folder holds %1").arg(fileName);
        return {};
    }
    for (const QString& folder : folders) {
        const QString file = FileInFolder(folder, fileName);
        QString reason;
        if (!file.isEmpty() && UpdateFileFromInfo(info, file, reason, true))
            return file;
    }
    const QString target = IncludeTrailingBackslash(FetchFolder(folders)) + fileName;
    if (!UpdateFileFromInfo(info, target, error, true))
        return {};
    if (!FileExists(target)) {
        error = QStringLiteral("%1 was not found in the work-library folders").arg(fileName);
        return {};
    }
    return target;
}

bool RunServerLibrary(const QString& libraryFile, const Variant& params, QString& answer)
{
    const std::unique_ptr<TLibrary> library = TLibrary::LoadFile(NativePath(libraryFile));
    if (!library) {
        answer = TLibrary::LastLoadError();
        return false;
    }
    const auto getController
        = reinterpret_cast<TGetSvrController>(library->GetProcAddress(QStringLiteral("GetSvrController")));
    if (!getController) {
        answer = QStringLiteral("function %1.GetSvrController not found!").arg(ExtractFileName(libraryFile));
        return false;
    }
    TSvrController* controller = getController();
    if (!controller) {
        answer = QStringLiteral("%1 made no controller").arg(ExtractFileName(libraryFile));
        return false;
    }
    Variant reply;
    qint32 code = -1;
    try {
        code = controller->Run(params, reply);
    } catch (const std::exception& e) { // a controller that breaks its word still gets released
        reply = QString::fromUtf8(e.what());
    }
    // Released before the library goes: its code frees the controller.
    controller->Release();
    answer = reply.ToString();
    return code == 0;
}

bool RunProgramServerLibrary(
    const Variant& manager, const QString& programCode, const Variant& params, QString& error)
{
    const QString fileName = ServerLibraryFileName(programCode);
    if (fileName.isEmpty()) {
        error = QStringLiteral("no program code for the server library");
        return false;
    }
    TStewardIniS ini;
    QStringList folders;
    ini.GetWorkDLLPaths(folders);
    const QString library = LocateServerLibrary(folders, fileName, ServerFileInfo(manager, fileName), error);
    if (library.isEmpty())
        return false;
    QString answer;
    if (RunServerLibrary(library, params, answer))
        return true;
    error = answer;
    return false;
}
