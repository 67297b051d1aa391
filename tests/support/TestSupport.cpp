#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdlib>

namespace testsupport {

ScopedEnv::ScopedEnv(const char* name, const QByteArray& value)
    : name_(name)
{
    if (qEnvironmentVariableIsSet(name))
        saved_ = qgetenv(name);
    qputenv(name, value);
}

ScopedEnv::ScopedEnv(const char* name, std::nullopt_t)
    : name_(name)
{
    if (qEnvironmentVariableIsSet(name))
        saved_ = qgetenv(name);
    qunsetenv(name);
}

ScopedEnv::~ScopedEnv()
{
    if (saved_)
        qputenv(name_.constData(), *saved_);
    else
        qunsetenv(name_.constData());
}

TempFolder::TempFolder() = default;

QString TempFolder::path() const
{
    return dir_.path();
}

QString TempFolder::file(const QString& relative) const
{
    return dir_.filePath(relative);
}

QString TempFolder::write(const QString& relative, const QByteArray& bytes) const
{
    const QString full = file(relative);
    QDir().mkpath(QFileInfo(full).absolutePath());
    QFile f(full);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(bytes);
    return full;
}

QByteArray TempFolder::read(const QString& relative) const
{
    return readAll(file(relative));
}

bool TempFolder::exists(const QString& relative) const
{
    return QFileInfo::exists(file(relative));
}

QByteArray readAll(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

QString sourcePath(const QString& relative)
{
    const QByteArray root = qgetenv("ZORV_SOURCE_DIR");
    return QDir(QString::fromLocal8Bit(root.isEmpty() ? QByteArray(ZORV_SOURCE_DIR_FALLBACK) : root))
        .filePath(relative);
}

} // namespace testsupport
