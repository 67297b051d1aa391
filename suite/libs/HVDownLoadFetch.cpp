#include "suite/libs/HVDownLoadFetch.h"

#include "runtime/system/NativePath.h"
#include "suite/libs/HVDownLoadFiles.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QUrl>

#include <cerrno>
#include <curl/curl.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace hvdownload {
namespace {

enum class Transport { Local, Http, Unsupported };

Transport TransportOf(const QString& source)
{
    static const QRegularExpression scheme(QStringLiteral("^([A-Za-z][A-Za-z0-9+.-]*)://"));
    const QRegularExpressionMatch match = scheme.match(source);
    if (!match.hasMatch())
        return Transport::Local;
    const QString name = match.captured(1).toLower();
    if (name == u"file")
        return Transport::Local;
    if (name == u"http" || name == u"https")
        return Transport::Http;
    return Transport::Unsupported;
}

QString LocalSourcePath(const QString& source)
{
    if (source.startsWith(QStringLiteral("file://"), Qt::CaseInsensitive))
        return ResolveNoCase(QUrl(source).toLocalFile());
    return ResolveNoCase(NativePath(source));
}

// Copies an open regular file into the staged file.
bool CopyLocal(const QString& path, TWholeFile& out, const TFetchOptions& options, TFetchResult& result)
{
    const int in = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (in < 0) {
        result.Error = QStringLiteral("cannot open %1: %2").arg(path, SystemError(errno));
        return false;
    }
    struct stat info { };
    bool ok = ::fstat(in, &info) == 0 && S_ISREG(info.st_mode);
    if (!ok)
        result.Error = QStringLiteral("%1 is no file").arg(path);
    else if (info.st_size > options.MaxBytes) {
        ok = false;
        result.Error = QStringLiteral("%1 is larger than %2 bytes").arg(path).arg(options.MaxBytes);
    }
    char buffer[64 * 1024];
    while (ok) {
        const ssize_t got = ::read(in, buffer, sizeof buffer);
        if (got == 0)
            break;
        if (got < 0) {
            if (errno == EINTR)
                continue;
            result.Error = QStringLiteral("cannot read %1: %2").arg(path, SystemError(errno));
            ok = false;
        } else if (out.Size() + got > options.MaxBytes) {
            // The file grew while it was read.
            result.Error = QStringLiteral("%1 is larger than %2 bytes").arg(path).arg(options.MaxBytes);
            ok = false;
        } else if (!out.Write(QByteArrayView(buffer, got))) {
            result.Error = out.Error();
            ok = false;
        }
    }
    ::close(in);
    return ok;
}

struct HttpSink {
    TWholeFile* File;
    qint64 MaxBytes;
    bool TooLarge = false;
    bool WriteFailed = false;
};

size_t WriteHttp(char* data, size_t size, size_t count, void* context)
{
    auto* sink = static_cast<HttpSink*>(context);
    const qint64 bytes = static_cast<qint64>(size * count);
    if (sink->File->Size() + bytes > sink->MaxBytes) {
        sink->TooLarge = true;
        return 0; // makes libcurl stop with CURLE_WRITE_ERROR
    }
    if (!sink->File->Write(QByteArrayView(data, qsizetype(bytes)))) {
        sink->WriteFailed = true;
        return 0;
    }
    return size * count;
}

bool CopyHttp(const QString& url, TWholeFile& out, const TFetchOptions& options, TFetchResult& result)
{
    // Thread-safe from libcurl 7.84 on; repeated calls only count up.
    curl_global_init(CURL_GLOBAL_DEFAULT);
    CURL* curl = curl_easy_init();
    if (!curl) {
        result.Error = QStringLiteral("cannot start a transfer");
        curl_global_cleanup();
        return false;
    }
    HttpSink sink {&out, options.MaxBytes};
    char curlError[CURL_ERROR_SIZE] = {};
    const QByteArray address = url.toUtf8();
    curl_easy_setopt(curl, CURLOPT_URL, address.constData());
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(curl, CURLOPT_MAXREDIRS, 5L);
    curl_easy_setopt(curl, CURLOPT_FAILONERROR, 1L);
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, static_cast<long>(options.TimeoutSeconds));
    // "No byte for the whole time-out" ends the transfer.
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, static_cast<long>(options.TimeoutSeconds));
    curl_easy_setopt(curl, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(options.MaxBytes));
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &WriteHttp);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &sink);
    curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, curlError);
    if (!options.UserAgent.isEmpty())
        curl_easy_setopt(curl, CURLOPT_USERAGENT, options.UserAgent.constData());
    if (!options.Credentials.isEmpty())
        curl_easy_setopt(curl, CURLOPT_USERPWD, options.Credentials.constData());

    const CURLcode code = curl_easy_perform(curl);
    long status = 0;
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
    result.Status = static_cast<int>(status);
    if (code != CURLE_OK) {
        if (sink.TooLarge || code == CURLE_FILESIZE_EXCEEDED)
            result.Error = QStringLiteral("%1 is larger than %2 bytes").arg(url).arg(options.MaxBytes);
        else if (sink.WriteFailed)
            result.Error = out.Error();
        else
            result.Error = QStringLiteral("%1: %2").arg(
                url, QString::fromUtf8(*curlError ? curlError : curl_easy_strerror(code)).trimmed());
    }
    curl_easy_cleanup(curl);
    curl_global_cleanup();
    return code == CURLE_OK;
}

} // namespace

qint64 DownloadLimit()
{
    bool ok = false;
    const qint64 limit = qEnvironmentVariable("STEWARD_DOWNLOAD_MAX_BYTES").toLongLong(&ok);
    return ok && limit > 0 ? limit : 512LL * 1024 * 1024;
}

TFetchResult FetchFile(const QString& source, const QString& target, const TFetchOptions& options)
{
    TFetchResult result;
    const Transport transport = TransportOf(source.trimmed());
    if (transport == Transport::Unsupported) {
        result.Error = QStringLiteral("%1: only folders, file:// and http(s):// are supported").arg(source);
        return result;
    }
    const QFileInfo targetInfo(NativePath(target));
    const QString targetName = targetInfo.fileName();
    if (targetName.isEmpty()) {
        result.Error = QStringLiteral("no target file name in %1").arg(target);
        return result;
    }
    const int folder = OpenFolder(targetInfo.absolutePath());
    if (folder < 0) {
        result.Error
            = QStringLiteral("cannot open folder %1: %2").arg(targetInfo.absolutePath(), SystemError(errno));
        return result;
    }
    {
        TWholeFile out(folder, QFile::encodeName(targetName), targetName);
        bool ok = out.Open(0644);
        if (!ok)
            result.Error = out.Error();
        else if (transport == Transport::Http)
            ok = CopyHttp(source.trimmed(), out, options, result);
        else
            ok = CopyLocal(LocalSourcePath(source.trimmed()), out, options, result);
        if (ok && !(out.Finish() && out.Commit())) {
            ok = false;
            result.Error = out.Error();
        }
        result.Bytes = out.Size();
        result.Ok = ok;
    }
    ::close(folder);
    return result;
}

} // namespace hvdownload
