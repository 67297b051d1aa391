#include "common/LogWriter.h"

#include "runtime/system/NativePath.h"

#include <QByteArray>
#include <QDir>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace logwriter {

bool AppendLine(const QString& folderText, const QString& fileName, const QString& line) noexcept
{
    try {
        const QString folder = NativePath(folderText);
        if (!QDir(folder).exists() && !QDir().mkpath(folder))
            return false;
        const QByteArray path = NativePath(folderText + fileName).toLocal8Bit();
        const QByteArray bytes = line.toUtf8() + '\n';
        const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
        if (fd < 0)
            return false;
        qsizetype written = 0;
        while (written < bytes.size()) {
            const ssize_t n
                = ::write(fd, bytes.constData() + written, static_cast<size_t>(bytes.size() - written));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                break;
            written += n;
        }
        const bool closed = ::close(fd) == 0;
        return written == bytes.size() && closed;
    } catch (...) {
        return false;
    }
}

} // namespace logwriter
