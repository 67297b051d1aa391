#include "suite/appserver/DemoHome.h"

#include "common/QNERPGeneratorU.h"
#include "runtime/system/Exceptions.h"
#include "runtime/system/InstallLayout.h"
#include "suite/appserver/DbBackend.h"
#include "suite/appserver/PgConnection.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRandomGenerator>
#include <libpq-fe.h>

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

// The keywords of a libpq connection text. Raises EDatabaseError when it
// cannot be read.
QHash<QString, QString> conninfoKeys(const QString& conninfo)
{
    char* error = nullptr;
    PQconninfoOption* options = PQconninfoParse(conninfo.toUtf8().constData(), &error);
    if (!options) {
        const QString why = QString::fromUtf8(error ? error : "out of memory").trimmed();
        PQfreemem(error);
        throw EDatabaseError(QStringLiteral("bad connection text: %1").arg(why));
    }
    QHash<QString, QString> keys;
    for (const PQconninfoOption* o = options; o->keyword; ++o)
        if (o->val)
            keys.insert(QString::fromUtf8(o->keyword), QString::fromUtf8(o->val));
    PQconninfoFree(options);
    return keys;
}

QString serverIni(const TDemoOptions& options, const QString& storedSecret)
{
    const QString tail = QStringLiteral(
        "[CodePage]\nDBCodePage=936\n\n"
        "[AppServer]\n; file of the query log (under the home folder), empty = off\nQueryLog=\n"
        "; 1: the program running on this machine as the owner of the database file logs in\n"
        "; without a password; 0: every login needs the user's password\nTrustHomeOwner=1\n"
        "; the daemon (steward-appserver --serve): loopback, port 211, this home's secret\n"
        "Listen=127.0.0.1\nPort=211\nSecret=%1\n")
                             .arg(storedSecret);
    if (options.PostgresConnection.isEmpty())
        return QStringLiteral("[DBE Setting]\nMainDBType=SQLITE\nMainDBName=C_DATA\\DEMO.db\n\n") + tail;
    const QHash<QString, QString> keys = conninfoKeys(options.PostgresConnection);
    QString server = keys.value(QStringLiteral("host"));
    if (keys.contains(QStringLiteral("port")))
        server += u':' + keys.value(QStringLiteral("port"));
    return QStringLiteral("[DBE Setting]\nMainDBType=POSTGRESQL\nMainServerName=%1\nMainDBName=%2\n"
                          "MainUserName=%3\nXXXXXX=%4\n\n")
               .arg(server, keys.value(QStringLiteral("dbname")), keys.value(QStringLiteral("user")),
                   EncodePassword(keys.value(QStringLiteral("password"))))
        + tail;
}

// Copies the packages of every language folder of from into the home's
// MultiLanguage folder. Raises when the home's own language has none: a
// home that names a language must be able to show it.
void copyLanguagePackages(const QString& from, const QString& home, const QString& language)
{
    int ownPackages = 0;
    for (const char* code : {"CHS", "CHT", "ENG"}) {
        const QDir source(from + u'/' + QLatin1String(code));
        const QString target = home + QStringLiteral("/MultiLanguage/") + QLatin1String(code) + u'/';
        for (const QString& name : source.entryList({QStringLiteral("*.Lng")}, QDir::Files, QDir::Name)) {
            // QFile::copy keeps an existing file: a forced home gets today's packages.
            QFile::remove(target + name);
            if (!QFile::copy(source.filePath(name), target + name))
                throw EFCreateError(
                    QStringLiteral("cannot copy %1 to %2").arg(source.filePath(name), target));
            if (language == QLatin1String(code))
                ++ownPackages;
        }
    }
    if (ownPackages == 0)
        throw EFCreateError(
            QStringLiteral("%1/%2 holds no language package").arg(QDir::toNativeSeparators(from), language));
}

} // namespace

QString InstalledLanguagePackages()
{
    const QString data = SharedDataFolder();
    if (data.isEmpty())
        return {};
    const QString folder = data + QStringLiteral("/MultiLanguage");
    return QFileInfo(folder).isDir() ? folder : QString();
}

QString DemoLanguage(const QString& uiCodePage)
{
    if (uiCodePage == QLatin1String("936"))
        return QStringLiteral("CHS");
    if (uiCodePage == QLatin1String("950"))
        return QStringLiteral("CHT");
    if (uiCodePage == QLatin1String("437"))
        return QStringLiteral("ENG");
    return {};
}

QString PostgresSchemaConnection(const QString& conninfo, const QString& schema)
{
    return conninfo + QStringLiteral(" options='-c search_path=%1'").arg(schema);
}

TDemoSummary CreateDemoSchema(const TDemoOptions& options)
{
    // The name goes into the connection text's options: a plain name only.
    if (PgIdentifier(options.PostgresSchema) != options.PostgresSchema)
        throw EDatabaseError(QStringLiteral("schema name %1: only lower-case letters, digits and \"_\"")
                                 .arg(options.PostgresSchema));
    {
        TPgConnection admin(options.PostgresConnection);
        admin.Script("DROP SCHEMA IF EXISTS " + PgIdentifier(options.PostgresSchema).toUtf8() + " CASCADE");
    }
    const QString location = PostgresSchemaConnection(options.PostgresConnection, options.PostgresSchema);
    auto db = OpenBackend(QStringLiteral("POSTGRESQL"), location, true);
    TDemoSummary summary = FillDemoDatabase(*db, options);
    summary.DatabaseFile = location;
    return summary;
}

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
    for (const char* name : {"registry.reg", "StewardC.ini", "StewardS.ini", "UserDef.ini", "C_DATA/DEMO.db"})
        if (QFileInfo::exists(dir + u'/' + QLatin1String(name)))
            found << QLatin1String(name);
    return found;
}

TDemoSummary CreateDemoHome(const QString& dir, const TDemoOptions& options)
{
    const QString home = QFileInfo(dir).absoluteFilePath();
    const QString& uiCodePage = options.UICodePage;
    const QString language = DemoLanguage(uiCodePage);
    if (language.isEmpty())
        throw EFCreateError(QStringLiteral("code page %1: a demo home is 936, 950 or 437").arg(uiCodePage));
    if (const QStringList there = ExistingHomeFiles(home); !there.isEmpty() && !options.Force)
        throw EFCreateError(QStringLiteral("%1 holds a client home already (%2); --force replaces it")
                                .arg(QDir::toNativeSeparators(home), there.join(QStringLiteral(", "))));
    QDir root;
    for (const char* folder : {"C_DATA", "C_TEMP", "C_HVBIN", "C_PKG", "Log", "MultiLanguage/CHS",
             "MultiLanguage/CHT", "MultiLanguage/ENG"})
        if (!root.mkpath(home + u'/' + QLatin1String(folder)))
            throw EFCreateError(QStringLiteral("cannot create %1/%2").arg(home, QLatin1String(folder)));
    if (!options.LanguagePackages.isEmpty())
        copyLanguagePackages(options.LanguagePackages, home, language);
    // "." is the registry file's own folder: copied or moved with its
    // registry file, the home is found where it stands.
    writeFile(home + QStringLiteral("/registry.reg"),
        QStringLiteral("Windows Registry Editor Version 5.00\n\n"
                       "[HKEY_LOCAL_MACHINE\\Software\\HVN\\Steward]\n"
                       "\"ClientPath\"=\"%1\"\n\"ServerPath\"=\"%1\"\n\"ProfileType\"=\"0\"\n")
            .arg(regValue(QStringLiteral("."))));
    // Each home its own secret, shared by its client and server settings.
    QByteArray random(16, Qt::Uninitialized);
    QRandomGenerator::system()->generate(random.begin(), random.end());
    const QString secret = EncodePassword(QString::fromLatin1(random.toHex()));
    writeFile(home + QStringLiteral("/StewardC.ini"),
        QStringLiteral("[Server Information]\nComputerName=127.0.0.1\nServerPort=211\nSecret=%1\n\n"
                       "[CodePage]\nUICodePage=%2\nDBCodePage=936\n\n"
                       "[Client Components]\nLangType=%3\n")
            .arg(secret, uiCodePage, language));
    writeFile(home + QStringLiteral("/StewardS.ini"), serverIni(options, secret));
    writeFile(home + QStringLiteral("/UserDef.ini"), QStringLiteral("[VoucherFormatDef]\n"));
    if (!options.PostgresConnection.isEmpty())
        return CreateDemoSchema(options);
    return CreateDemoDatabase(home + QStringLiteral("/C_DATA/DEMO.db"), options);
}
