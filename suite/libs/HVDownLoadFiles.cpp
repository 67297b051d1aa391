#include "suite/libs/HVDownLoadFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace hvdownload {

QString SystemError(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

QString ResolveNoCase(const QString& nativePath)
{
    const bool absolute = nativePath.startsWith(u'/');
    const QStringList parts = nativePath.split(u'/', Qt::SkipEmptyParts);
    QString resolved = absolute ? QStringLiteral("/") : QString();
    bool lost = false; // once a part matches nothing, the rest stays as given
    for (const QString& part : parts) {
        QString chosen = part;
        const QString folder = resolved.isEmpty() ? QStringLiteral(".") : resolved;
        if (!lost && !QFileInfo::exists(QDir(folder).filePath(part))) {
            chosen.clear();
            const QStringList entries = QDir(folder).entryList(
                QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
            for (const QString& entry : entries) {
                if (entry.compare(part, Qt::CaseInsensitive) == 0) {
                    chosen = entry;
                    break;
                }
            }
            if (chosen.isEmpty()) {
                chosen = part;
                lost = true;
            }
        }
        if (!resolved.isEmpty() && !resolved.endsWith(u'/'))
            resolved += u'/';
        resolved += chosen;
    }
    if (nativePath.endsWith(u'/') && !resolved.endsWith(u'/'))
        resolved += u'/';
    return resolved;
}

int OpenFolder(const QString& nativePath)
{
    return ::open(QFile::encodeName(nativePath).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
}

} // namespace hvdownload
