// libHVDownLoad.so: the suite's download library. It tells whether a local
// file is older than the server's copy, fetches the zip archive of the new
// copy, and unpacks it over the local folder.
//
// Texts cross the C boundary as NUL-terminated UTF-8; paths are the system's
// path texts ("D:\App\S_PKG\x", "\\server\share\x") or native paths. Error
// buffers are 256 bytes: a message is cut at a character boundary so that it
// always ends in NUL within them. Non-zero answers mean success (for
// CompareFileToDown: "replace the file"). No entry point throws.
//
//   int CompareFileToDown(const char* stamp, const char* localFile)
//       Non-zero when the local file is missing or older than the stamp
//       (fourteen digits "yyyyMMddhhmmss", local time; see HVDownLoadStamp.h).
//       An empty or unreadable stamp answers 0: the server has no copy.
//
//   int HVDownLoadFileEx(int window, const char* credentials, const char* realm,
//                        const char* timeout, const char* source, const char* target,
//                        int* bytes, char* error, int* status, int flags)
//       Fetches source (a folder path, file:// or http(s):// URL) into target.
//       window: the caller's window, not used (nothing is shown). credentials:
//       "user:password" for http(s), empty for none. realm: the name the
//       transfer gives itself (the http User-Agent "<realm> HVDownLoad").
//       timeout: seconds, as text; empty or not a positive number means 60.
//       bytes receives the bytes written, status the last http status (0 for
//       files); either may be null. flags: none defined, pass 0.
//
//   int UnZipFilesOrDir(const char* zipFile, const char* destFolder, char* error)
//       Unpacks the archive into the folder (see HVDownLoadUnzip.h for what
//       is refused).
//
// Limits: $STEWARD_DOWNLOAD_MAX_BYTES (default 512 MiB) for an archive,
// $STEWARD_UNZIP_MAX_BYTES (default 1 GiB) for its unpacked content.

#include "runtime/system/NativePath.h"
#include "suite/libs/HVDownLoadFetch.h"
#include "suite/libs/HVDownLoadStamp.h"
#include "suite/libs/HVDownLoadUnzip.h"

#include <QByteArray>
#include <QString>

#include <climits>
#include <cstring>

#define HV_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

constexpr int ErrorBufferSize = 256;

QString Text(const char* utf8)
{
    return QString::fromUtf8(utf8 ? utf8 : "");
}

// Copies the message into the caller's 256-byte buffer, cut before a UTF-8
// sequence that would not fit whole.
void PutError(char* buffer, const QString& message)
{
    if (!buffer)
        return;
    const QByteArray bytes = message.toUtf8();
    int length = qMin<int>(bytes.size(), ErrorBufferSize - 1);
    while (length > 0 && length < bytes.size() && (static_cast<uchar>(bytes[length]) & 0xC0) == 0x80)
        --length;
    std::memcpy(buffer, bytes.constData(), static_cast<size_t>(length));
    buffer[length] = '\0';
}

int TimeoutSeconds(const char* text)
{
    bool ok = false;
    const int seconds = Text(text).trimmed().toInt(&ok);
    return ok && seconds > 0 ? seconds : 60;
}

} // namespace

HV_EXPORT int CompareFileToDown(const char* stamp, const char* localFile)
{
    try {
        return hvdownload::NeedsReplacing(Text(stamp), NativePath(Text(localFile))) ? 1 : 0;
    } catch (...) {
        return 0;
    }
}

HV_EXPORT int HVDownLoadFileEx(int /*window*/, const char* credentials, const char* realm,
    const char* timeout, const char* source, const char* target, int* bytes, char* error, int* status,
    int /*flags*/)
{
    PutError(error, QString());
    try {
        hvdownload::TFetchOptions options;
        options.TimeoutSeconds = TimeoutSeconds(timeout);
        options.Credentials = QByteArray(credentials ? credentials : "");
        options.UserAgent = (Text(realm).trimmed() + QStringLiteral(" HVDownLoad")).trimmed().toUtf8();
        options.MaxBytes = hvdownload::DownloadLimit();
        const hvdownload::TFetchResult result = hvdownload::FetchFile(Text(source), Text(target), options);
        if (bytes)
            *bytes = static_cast<int>(qMin<qint64>(result.Bytes, INT_MAX));
        if (status)
            *status = result.Status;
        PutError(error, result.Error);
        return result.Ok ? 1 : 0;
    } catch (const std::exception& e) {
        PutError(error, QString::fromUtf8(e.what()));
    } catch (...) {
        PutError(error, QStringLiteral("download failed"));
    }
    return 0;
}

HV_EXPORT int UnZipFilesOrDir(const char* zipFile, const char* destFolder, char* error)
{
    PutError(error, QString());
    try {
        QString message;
        const bool ok = hvdownload::UnzipInto(
            NativePath(Text(zipFile)), NativePath(Text(destFolder)), hvdownload::UnzipLimits(), message);
        PutError(error, message);
        return ok ? 1 : 0;
    } catch (const std::exception& e) {
        PutError(error, QString::fromUtf8(e.what()));
    } catch (...) {
        PutError(error, QStringLiteral("unpacking failed"));
    }
    return 0;
}
