#pragma once
// THVDownLoad: the download library "HVDownLoad.dll" (libHVDownLoad.so),
// loaded by name for the lifetime of the object and unloaded by its
// destructor, whatever happened in between.
//
// A library that cannot be loaded, or that lacks an entry point, leaves that
// entry point absent; the operations then fail with the system's texts:
// "function HvDownLoad.CompareFileToDown not found!" (raised),
// "function HvDownLoad.HVDownLoadFile not found!" and
// "function HvDownLoad.UnZipFilesOrDir not found!" (returned as the error).
//
// Texts cross to the library as UTF-8; error texts come back from 256-byte
// buffers. Only these three entry points are called; HasEntry tells a caller
// what else the installed library offers (CompareFileToDownEx, NeedDownLoad,
// UnZipFilesList, UnZipFilesXML, GetFileList in the suite's full library).

#include "runtime/system/Exceptions.h"

#include <QString>
#include <QStringList>

#include <memory>

class TLibrary;

ZORV_EXCEPTION_CLASS(EHVDownLoadError, Exception)

class THVDownLoad {
public:
    using TCompareFileToDown = int (*)(const char* stamp, const char* localFile);
    using THVDownLoadFileEx
        = int (*)(int window, const char* credentials, const char* realm, const char* timeout,
            const char* source, const char* target, int* bytes, char* error, int* status, int flags);
    using TUnZipFilesOrDir = int (*)(const char* zipFile, const char* destFolder, char* error);

    // Loads the library from the module's folder, the given folders and
    // $STEWARD_LIBRARY_PATH (runtime/system/Libraries.h).
    explicit THVDownLoad(const QStringList& extraFolders = {});
    ~THVDownLoad();
    THVDownLoad(const THVDownLoad&) = delete;
    THVDownLoad& operator=(const THVDownLoad&) = delete;

    // Non-zero when the local file must be replaced by the server's copy of
    // that stamp. Raises EHVDownLoadError when the entry point is missing.
    int CompareFileToDown(const QString& stamp, const QString& localFile);
    // Fetches source into target with the realm "PLKT" and the time-out "60";
    // false with error set on failure.
    bool DownLoadFile(const QString& source, const QString& target, QString& error);
    // Unpacks the archive into the folder; false with error set on failure.
    bool UnZipFilesOrDir(const QString& zipFile, const QString& destFolder, QString& error);

    bool Loaded() const { return library_ != nullptr; }
    // Whether the library offers an entry point of that name.
    bool HasEntry(const QString& name) const;

private:
    std::unique_ptr<TLibrary> library_;
    THVDownLoadFileEx hvDownLoadFileEx_ = nullptr;
    TUnZipFilesOrDir unZipFilesOrDir_ = nullptr;
    TCompareFileToDown compareFileToDown_ = nullptr;
    // Passed as the download's credentials; always empty.
    const QByteArray credentials_;
};
