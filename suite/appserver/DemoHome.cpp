#include "suite/appserver/DemoHome.h"

#include "runtime/system/Exceptions.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

void writeFile(const QString& fileName, const QString& text)
{
    QFile file(fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw EFCreateError(QStringLiteral("cannot create %1").arg(fileName));
    // Windows line ends, as the suite's files have them.
    QString crlf = text;
    crlf.replace(QLatin1String("\n"), QLatin1String("\r\n"));
    file.write(crlf.toUtf8());
}

// A value of a registry export file: backslashes and quotes escaped.
QString regValue(QString text)
{
    return text.replace(u'\\', QLatin1String("\\\\")).replace(u'"', QLatin1String("\\\""));
}

} // namespace

// Resources of a static library are registered by hand (outside any namespace).
static void initResources()
{
    Q_INIT_RESOURCE(appserver);
}

QString AppServerResource(const QString& name)
{
    initResources();
    QFile file(QStringLiteral(":/appserver/") + name);
    if (!file.open(QIODevice::ReadOnly))
        throw EFOpenError(QStringLiteral("missing resource %1").arg(name));
    return QString::fromUtf8(file.readAll());
}

QStringList ExistingHomeFiles(const QString& dir)
{
    QStringList found;
    for (const char* name :
        {"registry.reg", "StewardC.ini", "StewardS.ini", "UserDef.ini", "C_DATA/DEMO.db"})
        if (QFileInfo::exists(dir + u'/' + QLatin1String(name)))
            found << QLatin1String(name);
    return found;
}

TDemoSummary CreateDemoHome(const QString& dir, const TDemoOptions& options)
{
    const QString home = QFileInfo(dir).absoluteFilePath();
    if (const QStringList there = ExistingHomeFiles(home); !there.isEmpty() && !options.Force)
        throw EFCreateError(QStringLiteral("%1 holds a client home already (%2); --force replaces it")
                                .arg(QDir::toNativeSeparators(home), there.join(QStringLiteral(", "))));
    QDir root;
    for (const char* folder : {"C_DATA", "C_TEMP", "C_HVBIN", "C_PKG", "Log", "MultiLanguage/CHS",
             "MultiLanguage/CHT", "MultiLanguage/ENG"})
        if (!root.mkpath(home + u'/' + QLatin1String(folder)))
            throw EFCreateError(QStringLiteral("cannot create %1/%2").arg(home, QLatin1String(folder)));
    const QString homeText = home + u'\\';
    writeFile(home + QStringLiteral("/registry.reg"),
        QStringLiteral("Windows Registry Editor Version 5.00\n\n"
                       "[HKEY_LOCAL_MACHINE\\Software\\HVN\\Steward]\n"
                       "\"ClientPath\"=\"%1\"\n\"ServerPath\"=\"%1\"\n\"ProfileType\"=\"0\"\n")
            .arg(regValue(homeText)));
    writeFile(home + QStringLiteral("/StewardC.ini"),
        QStringLiteral("[Server Information]\nComputerName=127.0.0.1\nServerPort=211\n\n"
                       "[CodePage]\nUICodePage=936\nDBCodePage=936\n\n"
                       "[Client Components]\nLangType=CHS\n"));
    writeFile(home + QStringLiteral("/StewardS.ini"),
        QStringLiteral(
            "[DBE Setting]\nMainDBType=SQLITE\nMainDBName=C_DATA\\DEMO.db\n\n"
            "[CodePage]\nDBCodePage=936\n\n"
            "[AppServer]\n; file of the query log (under the home folder), empty = off\nQueryLog=\n"));
    writeFile(home + QStringLiteral("/UserDef.ini"), QStringLiteral("[VoucherFormatDef]\n"));
    return CreateDemoDatabase(home + QStringLiteral("/C_DATA/DEMO.db"), options);
}
