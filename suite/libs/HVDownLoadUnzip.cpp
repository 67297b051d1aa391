#include "suite/libs/HVDownLoadUnzip.h"

#include "suite/libs/HVDownLoadFiles.h"

#include <QByteArrayList>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QSet>

#include <cctype>
#include <cerrno>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>
#include <zip.h>

namespace hvdownload {
namespace {

struct Entry {
    zip_uint64_t Index = 0;
    QByteArrayList Folders; // folder parts below the destination
    QByteArray Name; // file name; empty for a folder entry
    qint64 Size = 0;
    unsigned Mode = 0644;
    QString Shown; // the name as the archive spells it, for messages
};

QString BombMessage(qint64 limit)
{
    return QStringLiteral("the archive unpacks to more than %1 bytes; refused as a possible zip bomb")
        .arg(limit);
}

// Splits and checks an entry name; false with error set when it is unsafe.
bool ParseName(const QByteArray& raw, Entry& entry, bool& isFolder, QString& error)
{
    QByteArray name = raw;
    name.replace('\\', '/');
    const auto refuse = [&](const QString& why) {
        error = QStringLiteral("zip entry \"%1\" %2").arg(entry.Shown, why);
        return false;
    };
    if (name.startsWith('/')
        || (name.size() >= 2 && name[1] == ':' && std::isalpha(static_cast<uchar>(name[0]))))
        return refuse(QStringLiteral("has an absolute name"));
    for (const char c : name)
        if (static_cast<uchar>(c) < 0x20 || c == 0x7f)
            return refuse(QStringLiteral("has a control character in its name"));
    isFolder = name.endsWith('/');
    QByteArrayList parts;
    for (const QByteArray& part : name.split('/')) {
        if (part.isEmpty() || part == ".")
            continue;
        if (part == "..")
            return refuse(QStringLiteral("leaves the destination folder"));
        parts.append(part);
    }
    if (parts.isEmpty()) {
        if (isFolder)
            return true; // "./": the destination itself
        return refuse(QStringLiteral("has no file name"));
    }
    if (!isFolder)
        entry.Name = parts.takeLast();
    entry.Folders = parts;
    return true;
}

quint64 little(const QByteArray& b, qsizetype at, int bytes)
{
    quint64 v = 0;
    for (int i = bytes - 1; i >= 0; --i)
        v = (v << 8) | static_cast<uchar>(b[at + i]);
    return v;
}

// libzip makes a NUL inside a stored name a blank before anyone sees it
// ("evil\0.txt" comes out as "evil .txt"), so the names are read here as the
// central directory stores them, counted bytes, and a NUL among them refuses
// the archive. A directory this reading cannot find is left to libzip, which
// refuses what it cannot read itself.
bool StoredNamesHoldNul(const QString& zipFile)
{
    QFile file(zipFile);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const qint64 size = file.size();
    constexpr qint64 endRecord = 22;
    const qint64 tailStart = qMax<qint64>(0, size - endRecord - 65535);
    if (!file.seek(tailStart))
        return false;
    const QByteArray tail = file.read(size - tailStart);
    const qsizetype end = tail.lastIndexOf(QByteArrayView("PK\x05\x06", 4));
    if (end < 0 || tail.size() - end < endRecord)
        return false;
    quint64 dirSize = little(tail, end + 12, 4);
    quint64 dirOffset = little(tail, end + 16, 4);
    const qsizetype locator = end - 20;
    if ((dirSize == 0xFFFFFFFFu || dirOffset == 0xFFFFFFFFu) && locator >= 0
        && tail.mid(locator, 4) == QByteArrayView("PK\x06\x07", 4)) {
        // Zip64: the sizes live in a record of their own.
        if (!file.seek(static_cast<qint64>(little(tail, locator + 8, 8))))
            return false;
        const QByteArray record = file.read(56);
        if (record.size() < 56 || !record.startsWith(QByteArrayView("PK\x06\x06", 4)))
            return false;
        dirSize = little(record, 40, 8);
        dirOffset = little(record, 48, 8);
    }
    constexpr quint64 dirLimit = 64 * 1024 * 1024;
    if (dirSize > dirLimit || !file.seek(static_cast<qint64>(dirOffset)))
        return false;
    const QByteArray dir = file.read(static_cast<qint64>(dirSize));
    for (qsizetype at = 0; at + 46 <= dir.size() && dir.mid(at, 4) == QByteArrayView("PK\x01\x02", 4);) {
        const qsizetype nameLength = static_cast<qsizetype>(little(dir, at + 28, 2));
        const qsizetype rest
            = nameLength + static_cast<qsizetype>(little(dir, at + 30, 2) + little(dir, at + 32, 2));
        if (dir.mid(at + 46, nameLength).contains('\0'))
            return true;
        at += 46 + rest;
    }
    return false;
}

// Reads and checks the archive's directory; nothing is written here. Names are
// taken as the bytes stored (no guessing of code pages), so the name checked is
// exactly the name written.
bool ReadDirectory(zip_t* archive, const TUnzipLimits& limits, std::vector<Entry>& files,
    QSet<QByteArray>& folders, QString& error)
{
    const zip_int64_t count = zip_get_num_entries(archive, 0);
    if (count > limits.MaxEntries) {
        error
            = QStringLiteral("the archive holds %1 entries, more than %2").arg(count).arg(limits.MaxEntries);
        return false;
    }
    QSet<QByteArray> filePaths;
    qint64 total = 0;
    for (zip_int64_t i = 0; i < count; ++i) {
        zip_stat_t stat;
        zip_stat_init(&stat);
        if (zip_stat_index(archive, static_cast<zip_uint64_t>(i), ZIP_FL_ENC_RAW, &stat) != 0
            || !(stat.valid & ZIP_STAT_NAME)) {
            error = QStringLiteral("cannot read entry %1: %2")
                        .arg(i)
                        .arg(QString::fromUtf8(zip_strerror(archive)));
            return false;
        }
        Entry entry;
        entry.Index = static_cast<zip_uint64_t>(i);
        entry.Shown = QString::fromUtf8(stat.name);
        zip_uint8_t opsys = 0;
        zip_uint32_t attributes = 0;
        zip_file_get_external_attributes(archive, entry.Index, 0, &opsys, &attributes);
        const unsigned unixMode = opsys == ZIP_OPSYS_UNIX ? attributes >> 16 : 0;
        const unsigned kind = unixMode & S_IFMT;
        if (kind == S_IFLNK) {
            error = QStringLiteral("zip entry \"%1\" is a symbolic link").arg(entry.Shown);
            return false;
        }
        if (kind != 0 && kind != S_IFREG && kind != S_IFDIR) {
            error = QStringLiteral("zip entry \"%1\" is no file").arg(entry.Shown);
            return false;
        }
        if ((stat.valid & ZIP_STAT_ENCRYPTION_METHOD) && stat.encryption_method != ZIP_EM_NONE) {
            error = QStringLiteral("zip entry \"%1\" is encrypted").arg(entry.Shown);
            return false;
        }
        bool isFolder = false;
        if (!ParseName(QByteArray(stat.name), entry, isFolder, error))
            return false;
        isFolder = isFolder || kind == S_IFDIR;
        if (isFolder && !entry.Name.isEmpty()) {
            entry.Folders.append(entry.Name);
            entry.Name.clear();
        }
        QByteArray path;
        for (const QByteArray& part : entry.Folders) {
            path += part;
            folders.insert(path);
            path += '/';
        }
        if (isFolder)
            continue;
        path += entry.Name;
        if (filePaths.contains(path)) {
            error = QStringLiteral("zip entry \"%1\" names a file twice").arg(entry.Shown);
            return false;
        }
        filePaths.insert(path);
        entry.Size = (stat.valid & ZIP_STAT_SIZE) ? static_cast<qint64>(stat.size) : 0;
        if (entry.Size > limits.MaxTotalBytes - total) {
            error = BombMessage(limits.MaxTotalBytes);
            return false;
        }
        total += entry.Size;
        entry.Mode = (unixMode & 0111) ? 0755 : 0644;
        files.push_back(std::move(entry));
    }
    for (const QByteArray& folder : std::as_const(folders)) {
        if (filePaths.contains(folder)) {
            error = QStringLiteral("zip entry \"%1\" is both a file and a folder")
                        .arg(QString::fromUtf8(folder));
            return false;
        }
    }
    return true;
}

// Open descriptors of the folders below the destination, reached part by part
// with O_NOFOLLOW so that no link is ever followed. Closed on destruction.
class FolderWalker {
public:
    explicit FolderWalker(int destination)
        : destination_(destination)
    {
    }
    ~FolderWalker()
    {
        for (const int fd : std::as_const(open_))
            ::close(fd);
    }
    FolderWalker(const FolderWalker&) = delete;
    FolderWalker& operator=(const FolderWalker&) = delete;

    // The folder's descriptor, made when missing; -1 with error set.
    int Reach(const QByteArrayList& parts, QString& error)
    {
        int fd = destination_;
        QByteArray path;
        for (const QByteArray& part : parts) {
            path += (path.isEmpty() ? "" : "/") + part;
            if (const auto known = open_.constFind(path); known != open_.constEnd()) {
                fd = *known;
                continue;
            }
            int next = ::openat(fd, part.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
            if (next < 0 && errno == ENOENT && ::mkdirat(fd, part.constData(), 0755) == 0)
                next = ::openat(fd, part.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
            if (next < 0) {
                // O_DIRECTORY answers ENOTDIR for a link; tell the two apart for the message.
                const int failure = errno;
                struct stat info { };
                const bool link = ::fstatat(fd, part.constData(), &info, AT_SYMLINK_NOFOLLOW) == 0
                    && S_ISLNK(info.st_mode);
                error = QStringLiteral("cannot use folder %1 of the destination: %2")
                            .arg(QString::fromUtf8(path),
                                link ? QStringLiteral("it is a link") : SystemError(failure));
                return -1;
            }
            open_.insert(path, next);
            fd = next;
        }
        return fd;
    }

private:
    int destination_;
    QHash<QByteArray, int> open_;
};

// Unpacks one entry into its staged file, counting every byte against the limits.
bool Unpack(zip_t* archive, const Entry& entry, TWholeFile& out, qint64& total, const TUnzipLimits& limits,
    QString& error)
{
    zip_file_t* file = zip_fopen_index(archive, entry.Index, 0);
    if (!file) {
        error = QStringLiteral("cannot read zip entry \"%1\": %2")
                    .arg(entry.Shown, QString::fromUtf8(zip_strerror(archive)));
        return false;
    }
    bool ok = out.Open(entry.Mode);
    if (!ok)
        error = out.Error();
    char buffer[64 * 1024];
    while (ok) {
        const zip_int64_t got = zip_fread(file, buffer, sizeof buffer);
        if (got == 0)
            break;
        if (got < 0) {
            error = QStringLiteral("cannot read zip entry \"%1\": %2")
                        .arg(entry.Shown, QString::fromUtf8(zip_file_strerror(file)));
            ok = false;
        } else if (out.Size() + got > entry.Size || total + got > limits.MaxTotalBytes) {
            error = BombMessage(limits.MaxTotalBytes);
            ok = false;
        } else if (!out.Write(QByteArrayView(buffer, got))) {
            error = out.Error();
            ok = false;
        } else {
            total += got;
        }
    }
    zip_fclose(file);
    if (ok && !out.Finish()) {
        error = out.Error();
        ok = false;
    }
    return ok;
}

bool Extract(zip_t* archive, const std::vector<Entry>& files, const QSet<QByteArray>& folders,
    int destination, const TUnzipLimits& limits, QString& error)
{
    FolderWalker walker(destination);
    for (const QByteArray& folder : folders) {
        if (walker.Reach(folder.split('/'), error) < 0)
            return false;
    }
    std::vector<std::unique_ptr<TWholeFile>> staged;
    qint64 total = 0;
    for (const Entry& entry : files) {
        const int fd = walker.Reach(entry.Folders, error);
        if (fd < 0)
            return false;
        staged.push_back(std::make_unique<TWholeFile>(fd, entry.Name, entry.Shown));
        if (!Unpack(archive, entry, *staged.back(), total, limits, error))
            return false; // the staged files remove themselves
    }
    // Every file is whole: only now do they take their names.
    for (const auto& file : staged) {
        if (!file->Commit()) {
            error = file->Error();
            return false;
        }
    }
    return true;
}

} // namespace

TUnzipLimits UnzipLimits()
{
    TUnzipLimits limits;
    bool ok = false;
    const qint64 bytes = qEnvironmentVariable("STEWARD_UNZIP_MAX_BYTES").toLongLong(&ok);
    if (ok && bytes > 0)
        limits.MaxTotalBytes = bytes;
    return limits;
}

bool UnzipInto(const QString& zipFile, const QString& destFolder, const TUnzipLimits& limits, QString& error)
{
    int zipError = 0;
    zip_t* archive = zip_open(QFile::encodeName(zipFile).constData(), ZIP_RDONLY | ZIP_CHECKCONS, &zipError);
    if (!archive) {
        zip_error_t details;
        zip_error_init_with_code(&details, zipError);
        error = QStringLiteral("cannot open %1: %2")
                    .arg(zipFile, QString::fromUtf8(zip_error_strerror(&details)));
        zip_error_fini(&details);
        return false;
    }
    std::vector<Entry> files;
    QSet<QByteArray> folders;
    bool ok = true;
    if (StoredNamesHoldNul(zipFile)) {
        error = QStringLiteral("a zip entry has a control character (NUL) in its name");
        ok = false;
    }
    ok = ok && ReadDirectory(archive, limits, files, folders, error);
    if (ok && !QDir().mkpath(destFolder)) {
        error = QStringLiteral("cannot create folder %1").arg(destFolder);
        ok = false;
    }
    const int destination = ok ? OpenFolder(destFolder) : -1;
    if (ok && destination < 0) {
        error = QStringLiteral("cannot open folder %1: %2").arg(destFolder, SystemError(errno));
        ok = false;
    }
    if (ok)
        ok = Extract(archive, files, folders, destination, limits, error);
    if (destination >= 0)
        ::close(destination);
    zip_discard(archive);
    return ok;
}

} // namespace hvdownload
