#include "MailSettings.h"

#include "common/MailAddress.h"

#include "common/QNERPGeneratorU.h"
#include "common/StewardINI.h"
#include "runtime/system/IniFile.h"

#include <QRegularExpression>
#include <QSysInfo>

namespace {

const QString Section = QStringLiteral("Mail");

TMailSecurity securityOf(const QString& text)
{
    const QString value = text.trimmed().toLower();
    if (value == QLatin1String("none") || value == QLatin1String("0"))
        return TMailSecurity::None;
    if (value == QLatin1String("tls") || value == QLatin1String("ssl") || value == QLatin1String("smtps"))
        return TMailSecurity::Tls;
    return TMailSecurity::StartTls;
}

int defaultPort(TMailSecurity security)
{
    switch (security) {
    case TMailSecurity::None:
        return 25;
    case TMailSecurity::Tls:
        return 465;
    case TMailSecurity::StartTls:
        break;
    }
    return 587;
}

} // namespace

TMailSettings TMailSettings::Read(const TIniFile& ini)
{
    TMailSettings settings;
    settings.Server = ini.ReadString(Section, QStringLiteral("Server"), QString()).trimmed();
    settings.Security
        = securityOf(ini.ReadString(Section, QStringLiteral("Security"), QStringLiteral("STARTTLS")));
    settings.Port = ini.ReadInteger(Section, QStringLiteral("Port"), defaultPort(settings.Security));
    settings.User = ini.ReadString(Section, QStringLiteral("User"), QString()).trimmed();
    const QString stored = ini.ReadString(Section, QStringLiteral("Password"), QString());
    settings.Password = stored.isEmpty() ? QString() : DecodePassword(stored);
    settings.From = ini.ReadString(Section, QStringLiteral("From"), QString()).trimmed();
    if (settings.From.isEmpty())
        settings.From = IsPlainMailAddress(settings.User)
            ? settings.User
            : QStringLiteral("steward@") + QSysInfo::machineHostName();
    settings.TimeoutSeconds = ini.ReadInteger(Section, QStringLiteral("Timeout"), 60);
    if (settings.TimeoutSeconds <= 0)
        settings.TimeoutSeconds = 60;
    return settings;
}

TMailSettings TMailSettings::ReadClientIni()
{
    TStewardIniC config;
    return Read(TIniFile(config.IniFileName));
}

QString TMailSettings::Validate() const
{
    if (Server.isEmpty())
        return QStringLiteral("No mail server in the [Mail] section of StewardC.ini");
    // A host name, an IPv4 address or a bracketed IPv6 address, nothing that
    // could turn the URL into something else.
    static const QRegularExpression host(
        QStringLiteral(R"(^(\[[0-9A-Fa-f:.]+\]|[A-Za-z0-9]([A-Za-z0-9.-]*[A-Za-z0-9])?)$)"));
    if (!host.match(Server).hasMatch())
        return QStringLiteral("The mail server \"%1\" is no host name").arg(Server);
    if (Port < 1 || Port > 65535)
        return QStringLiteral("The mail server port %1 is out of range").arg(Port);
    if (!IsPlainMailAddress(From))
        return QStringLiteral("The sender \"%1\" is no mail address").arg(From);
    return {};
}

QString TMailSettings::Url() const
{
    return QStringLiteral("%1://%2:%3")
        .arg(Security == TMailSecurity::Tls ? QStringLiteral("smtps") : QStringLiteral("smtp"), Server)
        .arg(Port);
}
