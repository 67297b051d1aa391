#include "suite/appserver/ServerConfig.h"

#include "common/ProgramDescriptor.h"
#include "common/QNERPGeneratorU.h"
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
    config.IniFile = iniFile;
    const TIniFile ini(iniFile);
    config.DBType = ini.ReadString(
        QStringLiteral("DBE Setting"), QStringLiteral("MainDBType"), QStringLiteral("SQLITE"));
    config.DBName = ini.ReadString(QStringLiteral("DBE Setting"), QStringLiteral("MainDBName"), QString());
    config.ServerName
        = ini.ReadString(QStringLiteral("DBE Setting"), QStringLiteral("MainServerName"), QString())
              .trimmed();
    config.UserName
        = ini.ReadString(QStringLiteral("DBE Setting"), QStringLiteral("MainUserName"), QString()).trimmed();
    const QString stored = ini.ReadString(QStringLiteral("DBE Setting"), QStringLiteral("XXXXXX"), QString());
    config.Password = stored.isEmpty() ? QString() : DecodePassword(stored);
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
    config.TrustHomeOwner
        = ini.ReadInteger(QStringLiteral("AppServer"), QStringLiteral("TrustHomeOwner"), 1) != 0;
    QStringList counted;
    ini.ReadSection(QStringLiteral("PrintCount"), counted);
    for (const QString& table : std::as_const(counted)) {
        QStringList columns;
        for (const QString& column :
            ini.ReadString(QStringLiteral("PrintCount"), table, QString()).toUpper().split(u','))
            if (!column.trimmed().isEmpty())
                columns << column.trimmed();
        if (!columns.isEmpty())
            config.PrintCountColumns[table.trimmed().toUpper()] += columns;
    }
    if (config.DBName.isEmpty())
        config.ErrorText = QStringLiteral("StewardS.ini names no main database (MainDBName)");
}

// A database name is a plain name, never a path or a connection setting.
bool plainName(const QString& name)
{
    for (const QChar c : name)
        if (!(c.isLetterOrNumber() || c == u'_' || c == u'-'))
            return false;
    return true;
}

// A value of a libpq connection text, quoted.
QString conninfoValue(QString value)
{
    value.replace(u'\\', QLatin1String("\\\\")).replace(u'\'', QLatin1String("\\'"));
    return u'\'' + value + u'\'';
}

} // namespace

QHash<QString, QStringList> TServerConfig::ProgramCountColumns()
{
    QHash<QString, QStringList> columns;
    for (const TProgramDescriptor& program : KnownPrograms())
        for (const TSlipTable& slip : program.SlipTables)
            for (const QString& column : program.CountColumns(slip.Table))
                if (!columns[slip.Table].contains(column))
                    columns[slip.Table] << column;
    return columns;
}

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

bool TServerConfig::IsPostgres() const
{
    return DBType.compare(QLatin1String("POSTGRESQL"), Qt::CaseInsensitive) == 0;
}

QString TServerConfig::MainDatabaseFile() const
{
    if (IsPostgres())
        return CompanyDatabaseFile(QString());
    return DBName.isEmpty() ? QString() : NativePath(underHome(HomePath, DBName));
}

QString TServerConfig::CompanyDatabaseFile(const QString& databaseName) const
{
    const QString name = databaseName.trimmed();
    if (!plainName(name))
        return QString();
    if (IsPostgres()) {
        QStringList parts;
        if (ServerName.contains(u'=')) {
            parts << ServerName;
        } else if (!ServerName.isEmpty()) {
            parts << QStringLiteral("host=") + conninfoValue(ServerName.section(u':', 0, 0));
            if (ServerName.contains(u':'))
                parts << QStringLiteral("port=") + conninfoValue(ServerName.section(u':', 1));
        }
        parts << QStringLiteral("dbname=") + conninfoValue(DBName);
        if (!UserName.isEmpty())
            parts << QStringLiteral("user=") + conninfoValue(UserName);
        if (!Password.isEmpty())
            parts << QStringLiteral("password=") + conninfoValue(Password);
        const QString schema = name.isEmpty() ? QStringLiteral("public") : name.toLower();
        parts << QStringLiteral("options='-c search_path=%1'").arg(schema);
        return parts.join(u' ');
    }
    const QString main = MainDatabaseFile();
    const QFileInfo info(main);
    if (name.isEmpty() || name.compare(info.completeBaseName(), Qt::CaseInsensitive) == 0)
        return main;
    const QString file = info.absolutePath() + u'/' + name + QStringLiteral(".db");
    return QFileInfo::exists(file) ? file : QString();
}
