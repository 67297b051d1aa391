// The named alert logs (WriteAlertLog of LibStrs.h).

#include "common/LibStrs.h"

#include "common/HomeFolder.h"
#include "common/LogWriter.h"
#include "runtime/system/Libraries.h"
#include "runtime/system/NativePath.h"
#include "runtime/system/RegistryFile.h"

namespace {

// Registry ClientPath, else ServerPath, else the folder of the host program.
QString alertHomeFolder()
{
    TRegistry registry;
    registry.RootKey = TRegistry::Root::LocalMachine;
    if (registry.OpenKeyReadOnly(QStringLiteral("Software\\HVN\\Steward"))) {
        const QString client = RegistryHomeFolder(registry, QStringLiteral("ClientPath"));
        if (!client.isEmpty())
            return client;
        const QString server = RegistryHomeFolder(registry, QStringLiteral("ServerPath"));
        if (!server.isEmpty())
            return server;
    }
    return ExtractFilePath(ModuleFileName());
}

QString alertFileName(const QString& name, const QString& period, const QDate& day)
{
    QString stamp;
    if (period == QLatin1String("M"))
        stamp = day.toString(QStringLiteral("yyyyMM"));
    else if (period == QLatin1String("Y"))
        stamp = day.toString(QStringLiteral("yyyy"));
    else
        stamp = day.toString(QStringLiteral("yyyyMMdd"));
    QString file = QStringLiteral("\\Alert_") + name + QLatin1Char('_') + stamp;
    if (!name.contains(QLatin1Char('.')))
        file += QStringLiteral(".log");
    return file;
}

} // namespace

QString AlertLogFileName(const QString& name, const QString& period, const QDateTime& moment)
{
    return alertHomeFolder() + QStringLiteral("\\Log") + alertFileName(name, period, moment.date());
}

bool WriteAlertLog(const QString& name, const QString& message, const QString& period) noexcept
{
    try {
        return WriteAlertLogIn(alertHomeFolder() + QStringLiteral("\\Log"), name, message, period);
    } catch (...) {
        return false;
    }
}

bool WriteAlertLogIn(
    const QString& folder, const QString& name, const QString& message, const QString& period) noexcept
{
    try {
        const QDateTime now = QDateTime::currentDateTime();
        const QString line = QLatin1Char('[') + now.toString(QStringLiteral("yyyy/MM/dd hh:mm:ss:zzz"))
            + QStringLiteral("] ") + message;
        return logwriter::AppendLine(folder, alertFileName(name, period, now.date()), line);
    } catch (...) {
        return false;
    }
}
