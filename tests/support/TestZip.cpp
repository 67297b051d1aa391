#include "support/TestZip.h"

#include <QFile>

#include <sys/stat.h>
#include <zip.h>

namespace testsupport {

TestZip& TestZip::File(const QString& name, const QByteArray& content, unsigned permissions)
{
    items_.push_back({name, content, S_IFREG | permissions, false, stored_});
    return *this;
}

TestZip& TestZip::Folder(const QString& name)
{
    items_.push_back({name, {}, S_IFDIR | 0755, true, stored_});
    return *this;
}

TestZip& TestZip::Link(const QString& name, const QString& target)
{
    items_.push_back({name, target.toUtf8(), S_IFLNK | 0777, false, stored_});
    return *this;
}

TestZip& TestZip::Stored()
{
    stored_ = true;
    return *this;
}

bool TestZip::Write(const QString& path)
{
    int code = 0;
    zip_t* archive = zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &code);
    if (!archive) {
        error_ = QStringLiteral("zip_open failed: %1").arg(code);
        return false;
    }
    for (const Item& item : items_) {
        const QByteArray name = item.Name.toUtf8();
        zip_int64_t index = -1;
        if (item.IsFolder) {
            index = zip_dir_add(archive, name.constData(), ZIP_FL_ENC_GUESS);
        } else {
            // The content stays in items_ until zip_close reads it.
            zip_source_t* source = zip_source_buffer(
                archive, item.Content.constData(), static_cast<zip_uint64_t>(item.Content.size()), 0);
            index = source ? zip_file_add(archive, name.constData(), source, ZIP_FL_ENC_GUESS) : -1;
            if (index < 0 && source)
                zip_source_free(source);
        }
        if (index < 0
            || zip_file_set_external_attributes(archive, static_cast<zip_uint64_t>(index), 0, ZIP_OPSYS_UNIX,
                   static_cast<zip_uint32_t>(item.Mode) << 16)
                != 0
            || (item.Stored
                && zip_set_file_compression(archive, static_cast<zip_uint64_t>(index), ZIP_CM_STORE, 0)
                    != 0)) {
            error_ = QStringLiteral("cannot add %1: %2")
                         .arg(item.Name, QString::fromUtf8(zip_strerror(archive)));
            zip_discard(archive);
            return false;
        }
    }
    if (zip_close(archive) != 0) {
        error_ = QString::fromUtf8(zip_strerror(archive));
        zip_discard(archive);
        return false;
    }
    return true;
}

} // namespace testsupport
