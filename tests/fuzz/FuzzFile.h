#pragma once
// For fuzz targets of readers that take a file name: the input bytes in a
// file of a private temporary folder that lives as long as the process.

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>

namespace fuzzfile {

// Writes the bytes to the file of this name (replacing it) and returns its path.
inline QString Write(const char* name, const uint8_t* data, size_t size)
{
    static QTemporaryDir dir;
    const QString path = dir.filePath(QString::fromLatin1(name));
    QFile file(path);
    const qsizetype length = static_cast<qsizetype>(size);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)
        || file.write(reinterpret_cast<const char*>(data), length) != length)
        std::abort(); // the machine, not the reader: stop rather than test nothing
    return path;
}

} // namespace fuzzfile
