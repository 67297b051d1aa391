#include "FaxSettings.h"

#include "common/StewardINI.h"
#include "runtime/system/IniFile.h"

#include <QRegularExpression>

namespace {
const QString Section = QStringLiteral("Fax");
}

bool TFaxServer::IsHost(const QString& text)
{
    static const QRegularExpression host(
        QStringLiteral(R"(^(\[[0-9A-Fa-f:.]+\]|[A-Za-z0-9]([A-Za-z0-9.-]*[A-Za-z0-9])?)(:[0-9]{1,5})?$)"));
    return text.size() <= 255 && host.match(text).hasMatch();
}

TFaxSettings TFaxSettings::Read(const TIniFile& ini)
{
    TFaxSettings settings;
    for (int i = 1;; ++i) {
        const QString key = QStringLiteral("Server%1").arg(i);
        if (!ini.ValueExists(Section, key))
            break;
        const QString entry = ini.ReadString(Section, key, QString());
        const qsizetype bar = entry.lastIndexOf(QLatin1Char('|'));
        TFaxServer server;
        server.Host = entry.mid(bar + 1).trimmed();
        server.Name = bar < 0 ? server.Host : entry.left(bar).trimmed();
        if (TFaxServer::IsHost(server.Host))
            settings.Servers << server;
    }
    const QString program = ini.ReadString(Section, QStringLiteral("SendFax"), QString()).trimmed();
    if (!program.isEmpty())
        settings.SendFaxProgram = program;
    settings.TimeoutSeconds = ini.ReadInteger(Section, QStringLiteral("Timeout"), 120);
    if (settings.TimeoutSeconds <= 0)
        settings.TimeoutSeconds = 120;
    return settings;
}

TFaxSettings TFaxSettings::ReadClientIni()
{
    TStewardIniC config;
    return Read(TIniFile(config.IniFileName));
}
