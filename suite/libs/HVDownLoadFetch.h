#pragma once
// Fetching one file from the server folder into a local file.
//
// The source is
//   - a path text of a local or mounted folder ("D:\Server\S_PKG\x.zip",
//     "/srv/pkg/x.zip"; drive letters and "\\server\share" map the way every
//     path text of the system does),
//   - a file:// URL, or
//   - an http:// or https:// URL (libcurl; redirects are followed to http and
//     https only, at most five).
// Other URL schemes are refused. Folder and file names of a local source are
// found whatever their case, because the module lower-cases the source text.
//
// The target (a path text) is replaced only when the whole file has arrived:
// the bytes go to a temporary file in the target's folder, which is renamed
// onto the target at the end; on any failure the target is left as it was.
//
// Limits: a source larger than MaxBytes is refused. For http(s) the time-out
// bounds the connection set-up and any stretch without incoming data (a slow
// but moving transfer is not cut off); reads from a local or mounted folder
// have no time-out of their own.

#include <QByteArray>
#include <QString>

namespace hvdownload {

struct TFetchOptions {
    int TimeoutSeconds = 60;
    QByteArray Credentials; // "user:password" for http(s); empty for none
    QByteArray UserAgent;
    qint64 MaxBytes = 512LL * 1024 * 1024;
};

struct TFetchResult {
    bool Ok = false;
    qint64 Bytes = 0; // bytes written to the target
    int Status = 0; // the http status of the last response; 0 for files
    QString Error; // why it failed; empty on success
};

TFetchResult FetchFile(const QString& source, const QString& target, const TFetchOptions& options);

// The largest download: $STEWARD_DOWNLOAD_MAX_BYTES when it holds a positive
// number, else 512 MiB.
qint64 DownloadLimit();

} // namespace hvdownload
