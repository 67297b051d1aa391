#include "suite/appserver/ServerConfig.h"

#include "common/StewardINI.h"
#include "runtime/system/IniFile.h"
#include "runtime/system/NativePath.h"

#include <QFileInfo>

#include <algorithm>

namespace {

QString underHome(const QString& home, const QString& name)
{
    return ResolvePath(name, home);
}

void readIni(TServerConfig& config, const QString& iniFile)
{
    const TIniFile ini(iniFile);
    config.DBType = ini.ReadString(
        QStringLiteral("DBE Setting"), QStringLiteral("MainDBType"), QStringLiteral("SQLITE"));
    config.DBName = ini.ReadString(QStringLiteral("DBE Setting"), QStringLiteral("MainDBName"), QString());
    const QString log
        = ini.ReadString(QStringLiteral("AppServer"), QStringLiteral("QueryLog"), QString()).trimmed();
    config.QueryLogFile = log.isEmpty() ? QString() : NativePath(underHome(config.HomePath, log));
    // A day at most: more is no limit worth the name, and the milliseconds stay an int.
    const auto budget = [&](const char* key, int defaultMs) {
        const int seconds
            = ini.ReadInteger(QStringLiteral("AppServer"), QLatin1String(key), defaultMs / 1000);
        return std::clamp(seconds, 0, 86400) * 1000;
    };
    config.FreeSqlBudgetMs = budget("FreeSqlSeconds", config.FreeSqlBudgetMs);
    config.ProviderBudgetMs = budget("ProviderSeconds", config.ProviderBudgetMs);
    QStringList counted;
    ini.ReadSection(QStringLiteral("PrintCount"), counted);
    for (const QString& table : std::as_const(counted)) {
        const QString column
            = ini.ReadString(QStringLiteral("PrintCount"), table, QString()).trimmed().toUpper();
        if (!column.isEmpty())
            config.PrintCountColumns.insert(table.trimmed().toUpper(), column);
    }
    if (config.DBName.isEmpty())
        config.ErrorText = QStringLiteral("StewardS.ini names no main database (MainDBName)");
}

} // namespace

TServerConfig TServerConfig::Load()
{
    TServerConfig config;
    TStewardIniS ini;
    if (!ini.LoadSettings()) {
        config.ErrorText = QStringLiteral("server configuration not found (%1)").arg(ini.ErrorCode);
        return config;
    }
    config.HomePath = ini.HomePath;
    readIni(config, ini.IniFileName);
    return config;
}

TServerConfig TServerConfig::FromHome(const QString& homePath)
{
    TServerConfig config;
    config.HomePath = homePath;
    if (!config.HomePath.endsWith(u'\\') && !config.HomePath.endsWith(u'/'))
        config.HomePath += u'\\';
    readIni(config, config.HomePath + QStringLiteral("StewardS.ini"));
    return config;
}

QString TServerConfig::MainDatabaseFile() const
{
    return DBName.isEmpty() ? QString() : NativePath(underHome(HomePath, DBName));
}

QString TServerConfig::CompanyDatabaseFile(const QString& databaseName) const
{
    const QString main = MainDatabaseFile();
    const QFileInfo info(main);
    const QString name = databaseName.trimmed();
    if (name.isEmpty() || name.compare(info.completeBaseName(), Qt::CaseInsensitive) == 0)
        return main;
    // A database name is a plain name, never a path.
    for (const QChar c : name)
        if (!(c.isLetterOrNumber() || c == u'_' || c == u'-'))
            return QString();
    const QString file = info.absolutePath() + u'/' + name + QStringLiteral(".db");
    return QFileInfo::exists(file) ? file : QString();
}
