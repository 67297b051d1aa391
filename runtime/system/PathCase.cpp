#include "runtime/system/PathCase.h"

#include "runtime/system/NativePath.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

namespace {

// The entry of folder that equals name ignoring case; empty when none.
QString EntryIgnoringCase(const QString& folder, const QString& name)
{
    const QStringList entries
        = QDir(folder.isEmpty() ? QStringLiteral(".") : folder)
              .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString& entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return entry;
    }
    return {};
}

QString Child(const QString& folder, const QString& name)
{
    if (folder.isEmpty())
        return name;
    return folder.endsWith(QLatin1Char('/')) ? folder + name : folder + QLatin1Char('/') + name;
}

} // namespace

QString NativePathOnDisk(const QString& pathText)
{
    const QString native = NativePath(pathText);
    if (native.isEmpty())
        return native;
    const bool trailing = native.size() > 1 && native.endsWith(QLatin1Char('/'));
    const QStringList names = native.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    QString result = native.startsWith(QLatin1Char('/')) ? QStringLiteral("/") : QString();
    bool onDisk = true;
    for (const QString& name : names) {
        QString spelled = name;
        // Below a name that is not there nothing can be matched.
        if (onDisk && !QFileInfo::exists(Child(result, name))) {
            spelled = EntryIgnoringCase(result, name);
            if (spelled.isEmpty()) {
                spelled = name;
                onDisk = false;
            }
        }
        result = Child(result, spelled);
    }
    if (trailing && !result.endsWith(QLatin1Char('/')))
        result += QLatin1Char('/');
    return result;
}
