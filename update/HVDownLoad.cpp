#include "update/HVDownLoad.h"

#include "runtime/system/Libraries.h"

namespace {

// The library's error buffers: 255 bytes of text and the terminating NUL.
constexpr int ErrorBufferSize = 256;

QString BufferText(const char* buffer)
{
    return QString::fromUtf8(buffer, static_cast<int>(qstrnlen(buffer, ErrorBufferSize)));
}

} // namespace

THVDownLoad::THVDownLoad(const QStringList& extraFolders)
    : library_(TLibrary::Load(QStringLiteral("HVDownLoad.dll"), extraFolders))
{
    if (!library_)
        return;
    const auto entry
        = [this](const char* name) { return library_->GetProcAddress(QString::fromLatin1(name)); };
    hvDownLoadFileEx_ = reinterpret_cast<THVDownLoadFileEx>(entry("HVDownLoadFileEx"));
    unZipFilesOrDir_ = reinterpret_cast<TUnZipFilesOrDir>(entry("UnZipFilesOrDir"));
    compareFileToDown_ = reinterpret_cast<TCompareFileToDown>(entry("CompareFileToDown"));
}

THVDownLoad::~THVDownLoad() = default;

bool THVDownLoad::HasEntry(const QString& name) const
{
    return library_ && library_->GetProcAddress(name) != nullptr;
}

int THVDownLoad::CompareFileToDown(const QString& stamp, const QString& localFile)
{
    if (!compareFileToDown_)
        throw EHVDownLoadError(QStringLiteral("function HvDownLoad.CompareFileToDown not found!"));
    return compareFileToDown_(stamp.toUtf8().constData(), localFile.toUtf8().constData());
}

bool THVDownLoad::DownLoadFile(const QString& source, const QString& target, QString& error)
{
    if (!hvDownLoadFileEx_) {
        error = QStringLiteral("function HvDownLoad.HVDownLoadFile not found!");
        return false;
    }
    char buffer[ErrorBufferSize] = {};
    int bytes = 0;
    int status = 0;
    // The realm and the time-out in seconds are fixed texts of the system.
    const int ok = hvDownLoadFileEx_(0, credentials_.constData(), "PLKT", "60", source.toUtf8().constData(),
        target.toUtf8().constData(), &bytes, buffer, &status, 0);
    error = BufferText(buffer);
    return ok != 0;
}

bool THVDownLoad::UnZipFilesOrDir(const QString& zipFile, const QString& destFolder, QString& error)
{
    if (!unZipFilesOrDir_) {
        error = QStringLiteral("function HvDownLoad.UnZipFilesOrDir not found!");
        return false;
    }
    char buffer[ErrorBufferSize] = {};
    const int ok = unZipFilesOrDir_(zipFile.toUtf8().constData(), destFolder.toUtf8().constData(), buffer);
    error = BufferText(buffer);
    return ok != 0;
}
